// The pedestal's levers and the autobrake panel as the host draws them,
// looked at by pixels: the thrust lever's knob stands where its picture puts
// it, the gear knob slides from UP to DN, the trim wheel turns, and the gear
// indicators show red in transit and green when down.
#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class LeverPictures : public HostTest, protected Picture {
protected:
    Gauge& quadrant = load({"broadcaster", "throttle_quadrant", "gear_handle", "autobrake_panel"});
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void SetUp() override {
        host.frame();
        host.registry.set("power", 1);
    }
    void draw(const char* gauge, std::initializer_list<std::pair<uint32_t, double>> vars) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(*host.find(gauge));
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
    }
    static bool light(uint32_t c) { return (c >> 16 & 0xFF) > 0xB0 && (c >> 8 & 0xFF) > 0xB0 && (c & 0xFF) > 0xB0; }
    static bool red(uint32_t c) { return (c >> 16 & 0xFF) > 0xC0 && (c >> 8 & 0xFF) < 0x60 && (c & 0xFF) < 0x60; }
    static bool green(uint32_t c) { return (c >> 8 & 0xFF) > 0xC0 && (c >> 16 & 0xFF) < 0x80 && (c & 0xFF) < 0x80; }
    // The rows of column x, from y0 to y1, where the pixel passes the test.
    std::vector<int> rows(int x, int y0, int y1, bool (*test)(uint32_t)) const {
        std::vector<int> out;
        for (int y = y0; y <= y1; ++y)
            if (test(px(x, y))) out.push_back(y);
        return out;
    }
};

// The light top of each knob lies within its picture's first rows: full
// forward at y = 15, idle at 164; in reverse the red reverse lever shows.
TEST_F(LeverPictures, ThrustLeverKnobsStandWhereTheirBandPutsThem) {
    const struct {
        double t;
        int top;
    } cases[] = {{16383, 15}, {13000, 34}, {6000, 114}, {0, 164}};
    for (const auto& c : cases) {
        draw("throttle_quadrant", {{0x80, c.t}, {0xA3, c.t}});
        for (int x : {95, 154}) {
            const std::vector<int> knob = rows(x, 0, 300, light);
            ASSERT_FALSE(knob.empty()) << c.t;
            EXPECT_GE(knob.front(), c.top) << c.t;
            EXPECT_LE(knob.back(), c.top + 12) << c.t;
        }
    }
    draw("throttle_quadrant", {{0x80, 0}, {0x281, 1}});
    EXPECT_FALSE(rows(106, 184, 215, red).empty());
    EXPECT_TRUE(rows(165, 184, 215, red).empty());
}

TEST_F(LeverPictures, TrimWheelTurnsWithTheTrim) {
    draw("throttle_quadrant", {{0x30F, 0}});
    const std::vector<int> level = rows(14, 85, 300, light);
    draw("throttle_quadrant", {{0x30F, 0.02}});  // nose up: the strip moves down
    const std::vector<int> nose_up = rows(14, 85, 300, light);
    ASSERT_FALSE(level.empty());
    ASSERT_FALSE(nose_up.empty());
    EXPECT_NEAR(nose_up.front() - level.front(), 0.02 / 0.84 * (1600 - 216), 2);
}

TEST_F(LeverPictures, GearKnobSlidesFromUpToDownAndIndicatorsTurnRedThenGreen) {
    for (auto [handle, top] : {std::pair{0.0, 5}, {16383.0, 54}}) {
        draw("gear_handle", {{0x14B, handle}});
        const std::vector<int> knob = rows(9, 3, 82, light);
        ASSERT_FALSE(knob.empty());
        EXPECT_GE(knob.front(), top);
        EXPECT_LE(knob.back(), top + 23);
    }
    draw("autobrake_panel", {{0x14D, 0}, {0x14C, 8000}, {0x14E, 16383}});
    EXPECT_FALSE(red(px(25, 22)) || green(px(25, 22)));
    EXPECT_TRUE(red(px(49, 22)));
    EXPECT_TRUE(green(px(72, 22)));
}

}  // namespace
}  // namespace kestrel::test
