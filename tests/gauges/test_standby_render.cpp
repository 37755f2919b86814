// The standby instruments as the host draws them, looked at by pixels: the
// pointers at their dial figures, the horizon's tilt and height, the ball's
// travel and the overspeed light.
#include <math.h>

#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class StandbyPicture : public HostTest, protected Picture {
protected:
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    Gauge& draw(const char* name, std::initializer_list<std::pair<uint32_t, double>> vars) {
        Gauge* g = host.find(name);
        if (!g) {
            g = &load({"broadcaster", name});
            host.frame();
            host.registry.set("power", 1);
        }
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(*g);
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
        return *g;
    }
    // The pixel at `radius` from (cx, cy), `degrees` clockwise from straight up.
    uint32_t at(double cx, double cy, double degrees, double radius) const {
        const double t = degrees * M_PI / 180;
        return px(int(floor(cx + radius * sin(t))), int(floor(cy - radius * cos(t))));
    }
    static bool white(uint32_t c) { return r(c) > 0xC0 && g(c) > 0xC0 && b(c) > 0xC0; }
    static bool sky(uint32_t c) { return b(c) > r(c) + 60; }
    static bool ground(uint32_t c) { return r(c) > b(c) + 40 && g(c) < 0xA0; }
    static bool red(uint32_t c) { return r(c) > 0xA0 && g(c) < 0x70 && b(c) < 0x70; }
    // Whether the pointer lies along `degrees` between the two radii, and
    // nowhere along the directions 20 degrees either side.
    bool pointer_along(double cx, double cy, double degrees, double r0, double r1) const {
        for (double rad = r0; rad <= r1; rad += 2) {
            if (!white(at(cx, cy, degrees, rad))) return false;
            if (white(at(cx, cy, degrees - 20, rad)) || white(at(cx, cy, degrees + 20, rad))) return false;
        }
        return true;
    }
    // Whether white marking lies within `d` pixels of the point at the radius.
    bool figure_near(double cx, double cy, double degrees, double radius, int d) const {
        const double t = degrees * M_PI / 180;
        const int x = int(cx + radius * sin(t)), y = int(cy - radius * cos(t));
        for (int j = y - d; j <= y + d; ++j)
            for (int i = x - d; i <= x + d; ++i)
                if (white(px(i, j))) return true;
        return false;
    }
    // The leftmost column holding a red pixel, or -1.
    int leftmost_red() const {
        for (int x = 0; x < cairo_image_surface_get_width(picture.get()); ++x)
            for (int y = 0; y < cairo_image_surface_get_height(picture.get()); ++y)
                if (red(px(x, y))) return x;
        return -1;
    }
};

TEST_F(StandbyPicture, AirspeedPointerPointsAtTheFigureForItsSpeed) {
    // The dial's angle of 100, 200 and 300 knots, clockwise from the top.
    for (const auto& [knots, degrees] : {std::pair{100.0, 59.6}, {200.0, 180.0}, {300.0, 255.5}}) {
        draw("standby_airspeed", {{0x3D, knots}});
        EXPECT_TRUE(pointer_along(93, 93, degrees, 40, 50)) << knots;
        EXPECT_TRUE(figure_near(93, 93, degrees, 59, 3)) << knots;  // the figure, under the pointer
    }
}

TEST_F(StandbyPicture, AltimeterPointerAt345FeetPointsAt345OnTheDial) {
    Gauge& g = draw("standby_altimeter", {{0x4A, 345}});
    EXPECT_EQ(g.state.at(2).text, "00345");
    // Between the 3 (108 degrees) and the 4 (144), 45 hundredths of the way.
    EXPECT_TRUE(pointer_along(75, 73, 108 + 0.45 * 36, 25, 45));
    EXPECT_TRUE(figure_near(75, 73, 108, 49, 2));
    EXPECT_TRUE(figure_near(75, 73, 144, 49, 2));
    // The counter's digits stand inside their window, none beyond it.
    bool digits = false;
    for (int y = 45; y <= 64; ++y)
        for (int x = 50; x <= 110; ++x) digits = digits || white(px(x, y));
    EXPECT_TRUE(digits);
    for (int y = 45; y <= 64; ++y)
        for (int x = 113; x <= 118; ++x) EXPECT_FALSE(white(px(x, y))) << x << "," << y;
}

TEST_F(StandbyPicture, HorizonTiltsWithTheBankAndMovesWithThePitchAndTheIndexFollows) {
    draw("standby_attitude", {{0x50, 0}, {0x4E, 0}});
    EXPECT_TRUE(sky(px(90, 53)) && sky(px(30, 53)));
    EXPECT_TRUE(ground(px(90, 67)) && ground(px(30, 67)));
    // 20 degrees left wing down: the horizon drops on the right, rises on the left.
    draw("standby_attitude", {{0x50, 20}});
    EXPECT_TRUE(sky(px(90, 67)));
    EXPECT_TRUE(ground(px(30, 53)));
    // Right wing down: the other way.
    draw("standby_attitude", {{0x50, -20}});
    EXPECT_TRUE(ground(px(90, 53)));
    EXPECT_TRUE(sky(px(30, 67)));
    // 10 degrees nose up: the horizon lies 13 pixels below the symbol; nose down, above.
    draw("standby_attitude", {{0x50, 0}, {0x4E, -10}});
    EXPECT_TRUE(sky(px(90, 70)));
    EXPECT_TRUE(ground(px(90, 76)));
    draw("standby_attitude", {{0x4E, 10}});
    EXPECT_TRUE(ground(px(90, 50)));
    EXPECT_TRUE(sky(px(90, 44)));
    // The bank index leans to the sky side, at the bank on the scale.
    for (double bank : {30.0, -30.0}) {
        draw("standby_attitude", {{0x50, bank}, {0x4E, 0}});
        EXPECT_TRUE(white(at(60, 60, bank, 40)) && !white(at(60, 60, -bank, 40)) && !white(at(60, 60, 0, 40)))
            << bank;
    }
}

TEST_F(StandbyPicture, BallTravelsThirteenPixelsAtFullDeflectionAndFurtherBeyond) {
    draw("turn_coordinator", {{0x45, 0}});
    const int rest = leftmost_red();
    ASSERT_GE(rest, 40);
    for (const auto& [slip, pixels] : {std::pair{127.0, 13}, {-127.0, -13}, {254.0, 26}, {-381.0, -39}}) {
        draw("turn_coordinator", {{0x45, slip}});
        EXPECT_EQ(leftmost_red(), rest + pixels) << slip;
    }
}

TEST_F(StandbyPicture, OverspeedLightIsRedOnlyWhileTheWarningIsOn) {
    draw("overspeed_warning", {{0x44, 1}});
    EXPECT_TRUE(red(px(3, 12)) && red(px(20, 3)));
    draw("overspeed_warning", {{0x44, 0}});
    EXPECT_EQ(leftmost_red(), -1);
}

}  // namespace
}  // namespace kestrel::test
