// The autopilot panels as the host draws them, looked at by pixels: knob
// indexes point where their values say, lamps light green, and the windows'
// figures stay inside their windows.
#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class AutopilotPicture : public HostTest, protected Picture {
protected:
    Gauge& fcu = load({"broadcaster", "autopilot_panel_1", "autopilot_panel_2"});
    Gauge& panel_1 = *host.find("autopilot_panel_1");
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void SetUp() override {
        host.frame();
        host.registry.set("power", 1);
    }
    void draw(Gauge& g, std::initializer_list<std::pair<uint32_t, double>> vars = {}) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(g);
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
    }
    static bool white(uint32_t c) { return (c >> 16 & 0xFF) > 0xC0 && (c >> 8 & 0xFF) > 0xC0 && (c & 0xFF) > 0xC0; }
    static bool green(uint32_t c) { return (c >> 8 & 0xFF) > 0xC0 && (c >> 16 & 0xFF) < 0x90 && (c & 0xFF) < 0x90; }
    static bool amber(uint32_t c) {
        return (c >> 16 & 0xFF) > 0xC0 && (c >> 8 & 0xFF) > 0x50 && (c >> 8 & 0xFF) < 0xB0 && (c & 0xFF) < 0x70;
    }
    // The white index of a knob lies `distance` pixels from its centre in
    // the direction (dx, dy), and not in the opposite one.
    void expect_index(int cx, int cy, int dx, int dy, const char* what) {
        const int d = 12;
        EXPECT_TRUE(any(cx + dx * d - 2, cx + dx * d + 2, cy + dy * d - 2, cy + dy * d + 2, white)) << what;
        EXPECT_FALSE(any(cx - dx * d - 2, cx - dx * d + 2, cy - dy * d - 2, cy - dy * d + 2, white)) << what;
    }
};

// Needles and the turning knobs point where their values say; icons show the
// frame's picture; lamps light green.
TEST_F(AutopilotPicture, KnobsSelectorsAndLampsShowTheirValues) {
    const struct {
        bool on_panel_1;
        std::vector<std::pair<uint32_t, double>> vars;
        int cx, cy, dx, dy;  // the index lies from (cx, cy) towards (dx, dy)
        const char* what;
    } knobs[] = {
        {false, {{0x356, 0}}, 139, 64, 0, -1, "heading knob at 0"},
        {false, {{0x356, 45}}, 139, 64, 1, 0, "heading knob at 45"},
        {false, {{0x6D, 5000}}, 302, 68, 1, 0, "altitude knob at 5000"},
        {false, {{0x76, 0.225}}, 70, 64, 1, 0, "speed knob at Mach 0.225, 90 degrees clockwise"},
        {false, {{0x78, -90}}, 387, 64, -1, 0, "vertical speed knob at -90"},
        {true, {{0x350, 0}}, 133, 68, 0, -1, "NAV/GPS selector at NAV"},
        {true, {{0x350, 1}}, 133, 68, 1, 0, "NAV/GPS selector at GPS"},
    };
    for (const auto& k : knobs) {
        for (const auto& [id, v] : k.vars) host.sim.set(id, v);
        draw(k.on_panel_1 ? panel_1 : fcu);
        expect_index(k.cx, k.cy, k.dx, k.dy, k.what);
    }
    for (double on : {1.0, 0.0}) {
        draw(fcu, {{0x67, on}, {0x70, on}});
        EXPECT_EQ(green(px(204, 71)), on == 1) << "AP 1";
        EXPECT_EQ(green(px(386, 98)), on == 1) << "APPR";
        draw(panel_1, {{0x318, on}});
        EXPECT_EQ(green(px(37, 98)), on == 1) << "FD";
    }
}

// The windows' figures are drawn within their windows: the altitude's five
// figures end before the vertical speed's four begin, and those end inside
// the panel; the barometric figures end before the LVL button.
TEST_F(AutopilotPicture, WindowFiguresStayInsideTheirWindows) {
    draw(fcu, {{0x6D, 38000}, {0x78, -800}});
    EXPECT_TRUE(any(288, 300, 22, 40, amber));
    EXPECT_FALSE(any(352, 368, 22, 40, amber)) << "between the altitude and vertical speed figures";
    EXPECT_TRUE(any(410, 421, 22, 40, amber)) << "the last vertical speed figure";
    draw(panel_1, {{0x4B, 1013}});
    EXPECT_TRUE(any(40, 90, 26, 44, amber));
    EXPECT_FALSE(any(96, 101, 26, 44, amber)) << "the millibars run into the LVL button";
}

}  // namespace
}  // namespace kestrel::test
