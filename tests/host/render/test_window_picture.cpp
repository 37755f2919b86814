// A window's picture kept from frame to frame redraws only the gauges that
// changed; it must stay, byte for byte, the picture that drawing the whole
// window anew gives, through a flight, with gauges overlapping, loaded and
// unloaded, and when the lighting changes.
#include <string.h>

#include <string>

#include "host/panel/panel_config.h"
#include "host/panel/load.h"
#include "host/render/render.h"
#include "host/render/window_picture.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

// The first pixel where the kept picture and a whole new one differ, or "".
std::string difference(WindowPicture& kept, Renderer& renderer, const PanelWindow& window, Host& host,
                       double scale) {
    Surface fresh = renderer.window_picture(window, host, scale);
    cairo_surface_flush(fresh.get());
    cairo_surface_t* k = kept.surface();
    const int w = cairo_image_surface_get_width(fresh.get()), h = cairo_image_surface_get_height(fresh.get());
    if (w != cairo_image_surface_get_width(k) || h != cairo_image_surface_get_height(k)) return "sizes differ";
    for (int y = 0; y < h; ++y) {
        const auto* a = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(k) +
                                                          size_t(y) * cairo_image_surface_get_stride(k));
        const auto* b = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(fresh.get()) +
                                                          size_t(y) * cairo_image_surface_get_stride(fresh.get()));
        for (int x = 0; x < w; ++x)
            if (a[x] != b[x])
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(a[x]) +
                       " kept, " + std::to_string(b[x]) + " new";
    }
    return "";
}

struct Checked {
    WindowPicture* kept;
    Renderer* renderer;
    const PanelWindow* window;
    Host* host;
    double scale;
    int frames = 0, redrawn = 0;
    size_t entries_redrawn = 0;
    std::string first_difference;
};

TEST(WindowPicture, StaysTheWholePictureThroughTheDemoFlight) {
    Host host(options());
    const PanelConfig config = read_panel_config(SOURCE_DIR "/panels/development/panel.cfg");
    Renderer renderer(KESTREL_ARTWORK_DIR, rules::DUSK);
    renderer.set_placeholders(true);
    WindowPicture kept(renderer, config.windows.at(0), host, 1.0);
    Checked c{&kept, &renderer, &config.windows.at(0), &host, 1.0};
    Scenario scenario(host, "demo.kes");
    scenario.after_frame_context = &c;
    scenario.after_frame = [](void* context, uint64_t) {
        Checked& c = *static_cast<Checked*>(context);
        ++c.frames;
        c.redrawn += c.kept->update();
        c.entries_redrawn += c.kept->changed_entries();
        // Every frame where something changed, and one in ten of the others.
        if (c.first_difference.empty() && (c.redrawn == 1 || c.frames % 10 == 0))
            c.first_difference = difference(*c.kept, *c.renderer, *c.window, *c.host, c.scale);
    };
    FILE* f = fopen(SOURCE_DIR "/panels/development/demo.kes", "rb");
    ASSERT_NE(f, nullptr);
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    fclose(f);
    ASSERT_TRUE(scenario.run_text(text)) << scenario.error();
    EXPECT_EQ(c.first_difference, "");
    EXPECT_GT(c.frames, 100);
    // Something moves in most frames, but only a few of the panel's gauges
    // at a time: the kept picture draws a small share of what whole
    // drawings would.
    EXPECT_GT(c.redrawn, 2);
    EXPECT_LT(c.entries_redrawn, c.frames * config.windows.at(0).gauges.size() / 5);
}

// Frames that run after some of the development panel's gauges were unloaded, while
// the others go on changing (the clocks run): the places left empty, their
// placeholders and their neighbours stay as a whole new drawing has them;
// so does the whole picture drawn again for other lighting, at a scale that
// leaves the window's edge across pixels.
TEST(WindowPicture, StaysTheWholePictureWhileGaugesAreUnloadedBetweenFrames) {
    const PanelConfig config = read_panel_config(SOURCE_DIR "/panels/development/panel.cfg");
    const PanelWindow& window = config.windows.at(0);
    const char* const unloads[] = {
        "unload eicas_lower\nunload eicas_upper\nunload overspeed_warning\nunload turn_coordinator\n"
        "unload standby_altimeter\nunload standby_attitude\nunload standby_airspeed\n"
        "unload position_readout\nunload flight_computer\n",
        "unload rmi\nunload hsi\nunload autopilot_panel_2\nunload pfd\nunload chronometer\n",
    };
    for (const double scale : {1.0, 0.33}) {  // 1290 x 0.33 = 425.7 pixels wide
        for (const char* unload : unloads) {
            Host host(options());
            Renderer renderer(KESTREL_ARTWORK_DIR, rules::DUSK);
            renderer.set_placeholders(true);
            WindowPicture kept(renderer, window, host, scale);
            Checked c{&kept, &renderer, &window, &host, scale};
            Scenario scenario(host, "unloads.kes");
            scenario.after_frame_context = &c;
            scenario.after_frame = [](void* context, uint64_t) {
                Checked& c = *static_cast<Checked*>(context);
                c.kept->update();
                // Checked once the gauges are unloaded (the flight's own test
                // checks the frames before).
                if (c.first_difference.empty() && c.frames > 0 && c.kept->changed_entries() > 0)
                    c.first_difference = difference(*c.kept, *c.renderer, *c.window, *c.host, c.scale);
            };
            std::string text;
            for (const PanelGauge& entry : window.gauges) text += "load " + entry.module + "\n";
            text += "model clock on\nclick electric_panel 127 21\nclick overhead_switches 290 67\n"
                    "click chronometer 15 124\nseconds 1\n";
            ASSERT_TRUE(scenario.run_text(text)) << scenario.error();
            c.frames = 1;
            ASSERT_TRUE(scenario.run_text(std::string(unload) + "frames 2\nseconds 2\n")) << scenario.error();
            EXPECT_EQ(c.first_difference, "") << "scale " << scale << ", after\n" << unload;
            renderer.set_lighting(rules::NIGHT);
            EXPECT_TRUE(kept.update());
            EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << "night, scale " << scale;
        }
    }
}

class KeptPicture : public HostTest {
protected:
    // The flap lever three times, overlapping one another and the
    // broadcaster, over a window that is half covered.
    const PanelConfig config = parse_panel_config(
        "[Window00]\n"
        "size_mm=300,200\n"
        "background_color=10,80,20\n"
        "gauge00=flap_lever!KESTREL, 10, 10\n"
        "gauge01=broadcaster!KESTREL, 60, 40\n"
        "gauge02=flap_lever!KESTREL, 70, 30, 60, 61\n"
        "gauge03=flap_lever!KESTREL, 91, 35, 140\n"
        "gauge04=missing_module!KESTREL, 200, 20, 50, 50\n",
        "overlap.cfg");
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DUSK};

    void flight(double scale) {
        load({"broadcaster", "flap_lever"});
        host.frame();
        renderer.set_placeholders(true);
        WindowPicture kept(renderer, config.windows.at(0), host, scale);
        const PanelWindow& window = config.windows.at(0);
        EXPECT_TRUE(kept.update());
        EXPECT_EQ(difference(kept, renderer, window, host, scale), "");
        EXPECT_FALSE(kept.update()) << "nothing changed";
        for (double handle : {0.0, 5000.0, 16384.0, 3276.8, -1.0}) {
            host.sim.set(0x148, handle);
            host.frame();
            kept.update();
            EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << handle;
        }
        host.registry.set("power", 1);
        host.frame();
        EXPECT_TRUE(kept.update());
        EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << "powered";
        renderer.set_lighting(rules::NIGHT);
        EXPECT_TRUE(kept.update());
        EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << "night";
        renderer.set_placeholders(false);
        EXPECT_TRUE(kept.update());
        EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << "no placeholders";
        host.unload("flap_lever");
        EXPECT_TRUE(kept.update());
        EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << "unloaded";
        load({"flap_lever"});
        host.frame();
        EXPECT_TRUE(kept.update());
        EXPECT_EQ(difference(kept, renderer, window, host, scale), "") << "loaded again";
    }
};

TEST_F(KeptPicture, OverlappingGaugesLoadedAndUnloadedAt1To1) { flight(1.0); }
TEST_F(KeptPicture, OverlappingGaugesLoadedAndUnloadedScaled) { flight(0.37); }

}  // namespace
}  // namespace kestrel::test
