// The Kestrel cockpit (panels/cockpit): its layout, its pop-ups' places on
// the screen, a power-up by clicks on the panel itself, and the renderer's
// rules for the outside view and the pop-ups.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/panel/load.h"
#include "host/panel/panel_check.h"
#include "host/panel/placement.h"
#include "host/render/render.h"
#include "host/render/window_picture.h"
#include "tests/support.h"

namespace kestrel {
namespace {

const std::string COCKPIT = std::string(KESTREL_LIBRARY_DIR) + "/panels/cockpit/panel.cfg";

Placement entry_box(const PanelGauge& g) { return place_entry(g, g.width, g.height); }

bool overlaps(const Placement& a, const Placement& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(Cockpit, EveryGaugeHasAPlaceOfItsOwnInsideItsWindow) {
    const PanelConfig c = read_panel_config(COCKPIT);
    ASSERT_EQ(c.windows.size(), 4u);
    size_t gauges = 0;
    for (const PanelWindow& w : c.windows) {
        ASSERT_TRUE(w.picture) << w.title << ": its background bitmap";
        for (size_t i = 0; i < w.gauges.size(); ++i) {
            const Placement a = entry_box(w.gauges[i]);
            EXPECT_TRUE(a.width > 0 && a.x >= 0 && a.y >= 0 && a.x + a.width <= w.width && a.y + a.height <= w.height)
                << w.title << ": " << w.gauges[i].module;
            for (size_t j = i + 1; j < w.gauges.size(); ++j)
                EXPECT_FALSE(overlaps(a, entry_box(w.gauges[j])))
                    << w.title << ": " << w.gauges[i].module << " and " << w.gauges[j].module;
        }
        gauges += w.gauges.size();
    }
    EXPECT_EQ(gauges, 31u);
    EXPECT_EQ(c.modules().size(), 31u);
}

// The main window fills the screen's width at the bitmap's shape, at its
// foot (position=7); each pop-up must lie inside it on screens of 4:3 and
// 5:4, and leave the flight and engine displays in sight.
TEST(Cockpit, PopUpsLieInsideTheMainWindowClearOfTheDisplays) {
    const PanelConfig c = read_panel_config(COCKPIT);
    const PanelWindow* main = main_window(c);
    ASSERT_TRUE(main);
    EXPECT_EQ(main->ident, "MAIN_PANEL");
    const double shape = double(main->height) / main->width;
    for (const double screen : {4.0 / 3, 5.0 / 4}) {
        const double top = 1 - shape * screen;  // of the screen's height
        for (const PanelWindow& w : c.windows) {
            if (&w == main) continue;
            SCOPED_TRACE(w.title + (screen > 1.3 ? " on 4:3" : " on 5:4"));
            EXPECT_FALSE(w.visible);
            EXPECT_FALSE(w.ident.empty());
            ASSERT_GE(w.screen_x, 0);
            ASSERT_GE(w.screen_width, 0);
            EXPECT_LE(w.screen_x + w.screen_width, 1.0);
            EXPECT_GE(w.screen_y, top);
            EXPECT_LE(w.screen_y + w.screen_height, 1.0);
            // The pop-up's box in the main window's pixels, on this screen.
            Placement p;
            p.x = w.screen_x * main->width;
            p.width = w.screen_width * main->width;
            p.y = (w.screen_y - top) / (1 - top) * main->height;
            p.height = w.screen_height / (1 - top) * main->height;
            for (const PanelGauge& g : main->gauges) {
                if (g.module == "pfd" || g.module == "hsi" || g.module.compare(0, 5, "eicas") == 0) {
                    EXPECT_FALSE(overlaps(p, entry_box(g))) << g.module;
                }
            }
        }
    }
}

TEST(Cockpit, CheckFindsNothing) {
    const PanelConfig c = read_panel_config(COCKPIT);
    const auto sized = [](const std::string&, int*, int*) { return false; };  // every entry gives its size
    for (const Finding& f : check_panel(c, KESTREL_GAUGE_DIR, sized))
        EXPECT_EQ(f.severity, Severity::Note) << f.line << ": " << f.message;
}

// The pilot's clicks, each at a point of the panel's own windows: the
// gauge under it must be the one meant (nothing lies over it).
TEST(Cockpit, ClicksOnThePanelPowerEveryDisplayUp) {
    const PanelConfig c = read_panel_config(COCKPIT);
    Host host(test::options());
    for (const std::string& m : load_panel(host, c, KESTREL_GAUGE_DIR))
        ASSERT_NE(m.find(": note: "), std::string::npos) << m;
    Renderer renderer(KESTREL_ARTWORK_DIR, rules::DAY);
    host.frame();
    struct Switch {
        const char* window;
        const char* module;
        int x, y;  // in the gauge's own pixels
    };
    const Switch switches[] = {
        {"Overhead", "electric_panel", 127, 21},    // BAT 1: the battery master
        {"Overhead", "overhead_switches", 290, 67}, // AVNCS
        {"Main Panel", "display_switch_1", 20, 35},
        {"Main Panel", "display_switch_2", 20, 35},
        {"Readout Screens", "flight_computer", 8, 6},
        {"Readout Screens", "position_readout", 7, 5},
    };
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.module);
        const PanelWindow* w = find_window(c, s.window);
        ASSERT_TRUE(w);
        const PanelGauge* entry = nullptr;
        for (const PanelGauge& g : w->gauges)
            if (g.module == s.module) entry = &g;
        ASSERT_TRUE(entry);
        const Placement p = place_entry(*entry, host, renderer.gauge_size());
        Hit hit;
        ASSERT_TRUE(hit_test(*w, host, renderer.gauge_size(), p.x + (s.x + 0.5) * p.scale_x(),
                             p.y + (s.y + 0.5) * p.scale_y(), &hit));
        ASSERT_EQ(hit.gauge, host.find(s.module));
        ASSERT_TRUE(hit.area);
        host.click(*hit.gauge, hit.x, hit.y);
    }
    host.frame();
    struct Element {
        const char* module;
        size_t index;
        bool hidden;  // a cover that must be gone; else lit content
    };
    const Element lit[] = {
        {"pfd", 40, true}, {"hsi", 33, true}, {"eicas_upper", 46, true}, {"eicas_lower", 18, true},
        {"position_readout", 23, true}, {"flight_computer", 1, false}, {"autopilot_panel_2", 21, false},
        {"standby_altimeter", 2, false}, {"standby_airspeed", 1, false},
    };
    for (const Element& e : lit) {
        Gauge* g = host.find(e.module);
        ASSERT_TRUE(g && e.index < g->state.size()) << e.module;
        const uint32_t flags = g->state[e.index].flags;
        if (e.hidden) EXPECT_TRUE(flags & 0x40000000u) << e.module << "[" << e.index << "] still covers";
        else EXPECT_TRUE((flags & 0x4u) && !(flags & 0x40000000u)) << e.module << "[" << e.index << "] dark";
    }
}

TEST(OutsideView, TheWindshieldIsTheBlackThatJoinsTheTop) {
    const uint32_t K = 0xFF000000u, P = 0xFF808080u;
    struct Case {
        std::vector<uint32_t> pixels;  // 3 x 3
        int windshield;                // pixels in it
    } cases[] = {
        {{K, K, K, P, P, P, P, K, P}, 3},  // a cut-out below the paint is not
        {{P, K, P, P, K, P, K, K, P}, 4},  // down and sideways
        {{P, P, P, K, K, K, K, K, K}, 0},  // no black on the top row
        {{P, P, P, P, P, P, P, P, P}, 0},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> in = rules::windshield(c.pixels.data(), 3, 3);
        int n = 0;
        for (uint8_t b : in) n += b;
        EXPECT_EQ(n, c.windshield);
        EXPECT_EQ(in.empty(), c.windshield == 0);
    }
    EXPECT_TRUE(rules::windshield(nullptr, 0, 0).empty());
}

TEST(OutsideView, TheHorizonFollowsPitchAndBank) {
    struct Case {
        double pitch, bank, y, degrees;
    } cases[] = {
        {0, 0, 300, 0}, {9, 0, 210, 0},      // nose down: the horizon rises, 900 / 90 a degree
        {-9, 30, 390, 30},                   // nose up, left wing down
        {NAN, NAN, 300, 0}, {1e300, -1e300, 300 - 900, -180},
    };
    for (const Case& c : cases) {
        const rules::Horizon h = rules::horizon(c.pitch, c.bank, 900, 300);
        EXPECT_DOUBLE_EQ(h.x, 450);
        EXPECT_DOUBLE_EQ(h.y, c.y) << c.pitch;
        EXPECT_NEAR(h.angle * 180 / M_PI, c.degrees, 1e-9);
    }
}

// The picture kept from frame to frame draws the windshield again when the
// attitude moves, as a whole new drawing has it; at a scale that leaves the
// windshield's edge across pixels.
TEST(OutsideView, TheKeptPictureFollowsTheAttitude) {
    const PanelConfig c = read_panel_config(COCKPIT);
    const PanelWindow& main = *main_window(c);
    Host host(test::options());
    load_panel(host, c, KESTREL_GAUGE_DIR);
    Renderer renderer(KESTREL_ARTWORK_DIR, rules::DAY);
    host.frame();
    WindowPicture kept(renderer, main, host, 0.37);
    kept.update();
    const double attitudes[][2] = {{-5, 0}, {-5, 25}, {3, -40}, {3, -40}};
    for (const auto& a : attitudes) {
        host.sim.set(0x4E, a[0]);
        host.sim.set(0x50, a[1]);
        host.frame();
        kept.update();
        Surface fresh = renderer.window_picture(main, host, 0.37);
        cairo_surface_flush(fresh.get());
        const int h = cairo_image_surface_get_height(fresh.get()), stride = cairo_image_surface_get_stride(fresh.get());
        ASSERT_EQ(h, kept.height());
        ASSERT_EQ(stride, cairo_image_surface_get_stride(kept.surface()));
        EXPECT_EQ(memcmp(cairo_image_surface_get_data(fresh.get()), cairo_image_surface_get_data(kept.surface()),
                         size_t(h) * stride),
                  0)
            << "pitch " << a[0] << ", bank " << a[1];
    }
}

TEST(PopUps, PlacedByTheirScreenFractionsOrCentred) {
    struct Case {
        double sx, sy, sw, sh;
        rules::Place place;
    } cases[] = {
        {0.1, 0.2, 0.5, 0.25, {160, 240, 800, 300}},
        {-1, -1, -1, -1, {600, 500, 400, 200}},  // its grid 200 x 100 at x2, centred
        {0.0, 0.0, -1, -1, {0, 0, 400, 200}},
    };
    for (const Case& c : cases) {
        const rules::Place p = rules::popup_place(c.sx, c.sy, c.sw, c.sh, 200, 100, 1600, 1200, 2);
        EXPECT_DOUBLE_EQ(p.x, c.place.x);
        EXPECT_DOUBLE_EQ(p.y, c.place.y);
        EXPECT_DOUBLE_EQ(p.width, c.place.width);
        EXPECT_DOUBLE_EQ(p.height, c.place.height);
    }
}

}  // namespace
}  // namespace kestrel
