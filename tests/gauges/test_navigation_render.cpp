// The situation indicator as the host draws it, looked at by pixels: the
// card's figures under the lubber line, a bearing pointer on its station,
// the two presentations, and the cover on the panel.
#include <math.h>

#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class HsiPicture : public HostTest, protected Picture {
protected:
    Gauge& hsi = load({"broadcaster", "electric_panel", "display_switch_2", "rose_arc_switch", "hsi"});
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void SetUp() override {
        host.frame();  // the first frame clears the shared variables
        host.registry.set("display", 1);
        host.sim.set(0x16C, 1);
    }
    void draw(std::initializer_list<std::pair<uint32_t, double>> vars = {}) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(hsi);
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
    }
    static bool white(uint32_t c) { return r(c) > 0x60 && g(c) > 0x60 && b(c) > 0x60; }
    static bool cyan(uint32_t c) { return b(c) > 0xA0 && g(c) > 0xA0 && r(c) < 0x80; }
    // Pixels passing `test` in the box reaching `half` either side and `half_y`
    // up and down about the point `radius` from (cx, cy) in the direction
    // `degrees` clockwise from up.
    int count(double cx, double cy, double radius, double degrees, int half = 4, int half_y = 4,
              bool (*test)(uint32_t) = white) const {
        const double a = degrees * M_PI / 180;
        const int x = int(lround(cx + radius * sin(a))), y = int(lround(cy - radius * cos(a)));
        int n = 0;
        for (int dy = -half_y; dy <= half_y; ++dy)
            for (int dx = -half; dx <= half; ++dx) n += test(px(x + dx, y + dy));
        return n;
    }
    int white_near(double cx, double cy, double radius, double degrees, int half = 4) const {
        return count(cx, cy, radius, degrees, half);
    }
    bool cyan_at(double cx, double cy, double radius, double degrees) const {
        return count(cx, cy, radius, degrees, 1, 1, cyan) > 0;
    }
};

// The two presentations: where each card turns, and where its figures stand.
struct Presentation {
    int32_t rose;
    double cx, cy, figures, every, pointer_x, pointer_y, pointer_r;
};
constexpr Presentation ARC = {0, 105, 189, 119, 10, 105, 189, 40};
constexpr Presentation ROSE = {1, 104, 125, 59, 30, 105, 127, 60};

TEST_F(HsiPicture, CardShowsTheHeadingUnderTheLubberLineInBothPresentations) {
    for (const Presentation& p : {ARC, ROSE}) {
        host.registry.set("rose", p.rose);
        // The pointers lie across the card, clear of the figures on top.
        host.sim.set(0x3B, 90);
        for (double heading : {0.0, 60.0, 90.0}) {
            draw({{0x51, heading}, {0x356, heading + 90}, {0x6B, heading + 90}});
            EXPECT_GT(white_near(p.cx, p.cy, p.figures, 0), 6) << p.rose << " " << heading;
            draw({{0x51, heading + p.every / 2}, {0x356, heading + 90}, {0x6B, heading + 90}});  // between figures
            EXPECT_EQ(white_near(p.cx, p.cy, p.figures, 0), 0) << p.rose << " " << heading;
        }
        // The card turns the right way: heading 10 (30) shows the narrow
        // "1" ("3") under the lubber line, heading 350 (330) the wide "35" ("33").
        draw({{0x51, p.every}, {0x356, p.every + 90}, {0x6B, p.every + 90}});
        const int narrow = white_near(p.cx, p.cy, p.figures, 0, 9);
        draw({{0x51, 360 - p.every}, {0x356, 90 - p.every}, {0x6B, 90 - p.every}});
        EXPECT_GT(white_near(p.cx, p.cy, p.figures, 0, 9), narrow + 8) << p.rose;
    }
}

TEST_F(HsiPicture, BearingPointerPointsAtTheTunedStation) {
    // The VOR north-west of the field, 9 miles north and 8 west of the
    // aircraft on the runway, and the beacon 0.2 north and 2.5 east.
    host.sim.enable_model("navigation", true);
    host.sim.set_bcd(0x1B, 0x1680);
    host.sim.set_bcd(0x10, 0x0375);
    const double vor = 360 - atan2(8, 9) * 180 / M_PI, beacon = atan2(2.5, 0.2) * 180 / M_PI;
    for (const Presentation& p : {ARC, ROSE}) {
        host.registry.set("rose", p.rose);
        for (double heading : {0.0, 300.0}) {
            for (int32_t adfvor : {0, 1}) {
                host.registry.set("adfvor", adfvor);
                const double on_card = (adfvor ? beacon : vor) - heading;
                draw({{0x51, heading}});
                EXPECT_TRUE(cyan_at(p.pointer_x, p.pointer_y, p.pointer_r, on_card))
                    << p.rose << " " << heading << " " << adfvor;
                EXPECT_FALSE(cyan_at(p.pointer_x, p.pointer_y, p.pointer_r, on_card + 90));
            }
        }
    }
}

TEST_F(HsiPicture, TheButtonFlipsBetweenArcAndRose) {
    Gauge& button = *host.find("rose_arc_switch");
    // The arc's ring crosses 40 degrees right of the nose high on the face;
    // the rose's ring passes level with its middle, inside the arc.
    for (int k = 0; k < 3; ++k) {
        draw({{0x51, 5}});
        const bool rose = host.registry.value("rose") == 1;
        EXPECT_EQ(white_near(105, 189, 140, 40) > 0, !rose) << k;
        EXPECT_EQ(white_near(104, 125, 76, 92) > 0, rose) << k;
        host.click(button, 28, 35);
    }
}

TEST_F(HsiPicture, BatteryAndDisplaySwitchUncoverTheFace) {
    Gauge& battery = *host.find("electric_panel");
    Gauge& display = *host.find("display_switch_2");
    host.sim.set(0x16C, 0);
    host.registry.set("display", 0);
    draw();
    const uint32_t cover = px(105, 120);
    EXPECT_FALSE(white(px(105, 45)));  // the lubber line is under the cover
    host.click(battery, 127, 21);      // BAT 1
    draw();
    EXPECT_EQ(px(105, 45), cover);
    host.click(display, 20, 35);
    draw();
    EXPECT_TRUE(white(px(105, 45)));
    EXPECT_NE(px(105, 120), cover);
}

}  // namespace
}  // namespace kestrel::test
