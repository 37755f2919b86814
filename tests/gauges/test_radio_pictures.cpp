// The radio panel, transponder and chronometer as the host draws them,
// looked at by pixels: the clock's hands point at the dial figures of their
// values, and the windows and lamps show only while their panel is on.
#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class RadioPictures : public HostTest, protected Picture {
protected:
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void SetUp() override {
        load({"broadcaster", "radio_panel", "transponder", "chronometer"});
        host.frame();
        host.registry.set("power", 1);
        host.sim.set(0x16C, 1);
        host.frame();
    }
    void draw(const char* gauge) {
        host.frame();
        picture = renderer.gauge_picture(*host.find(gauge));
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
    }
    // Colour tests on 0xRRGGBB.
    static bool white(uint32_t c) { return (c >> 16 & 0xFF) > 0xC0 && (c >> 8 & 0xFF) > 0xC0 && (c & 0xFF) > 0xC0; }
    static bool red(uint32_t c) { return (c >> 16 & 0xFF) > 0xB0 && (c >> 8 & 0xFF) < 0x80 && (c & 0xFF) < 0x60; }
    static bool orange(uint32_t c) {
        return (c >> 16 & 0xFF) > 0xC0 && (c >> 8 & 0xFF) > 0x50 && (c >> 8 & 0xFF) < 0xB0 && (c & 0xFF) < 0x40;
    }
    static bool green(uint32_t c) { return (c >> 8 & 0xFF) > 0xB0 && (c >> 16 & 0xFF) < 0x90 && (c & 0xFF) < 0xA0; }
    // Whether any pixel of the 3x3 box around (x, y), or of a rectangle, passes.
    bool near(int x, int y, bool (*test)(uint32_t)) const { return any(x - 1, x + 1, y - 1, y + 1, test); }
    void click(const char* gauge, int x, int y) { host.click(*host.find(gauge), x, y); }
};

// Points along each hand, clear of the dial's figures and windows: 18 pixels
// out from the dial's centre (70, 72) on the hour hand, 30 on the minute
// hand, 42 on the second hand.
TEST_F(RadioPictures, ClockHandsPointAtTheFiguresOfTheirValues) {
    const struct {
        double h, m, s;
        int hour_x, hour_y, minute_x, minute_y, second_x, second_y;
    } times[] = {
        {2, 45, 20, 88, 70, 40, 72, 106, 93},  // hour 82.5, minute 270, second 120 degrees
        {8, 15, 40, 53, 79, 100, 72, 34, 93},  // hour 247.5, minute 90, second 240
    };
    for (const auto& t : times) {
        host.sim.set(0x3, t.h);
        host.sim.set(0x4, t.m);
        host.sim.set(0x5, t.s);
        draw("chronometer");
        EXPECT_TRUE(near(t.hour_x, t.hour_y, white)) << t.h;
        EXPECT_TRUE(near(t.minute_x, t.minute_y, white)) << t.m;
        EXPECT_TRUE(near(t.second_x, t.second_y, red)) << t.s;
        // Where the other time has them, the hands are not.
        const auto& other = &t == &times[0] ? times[1] : times[0];
        EXPECT_FALSE(near(other.second_x, other.second_y, red));
        EXPECT_FALSE(white(px(other.minute_x, other.minute_y)));
    }
}

TEST_F(RadioPictures, WindowsAndLampsShowOnlyWhilePanelsAreOn) {
    host.sim.set_bcd(0x17, 0x1830);
    host.sim.set_bcd(0x26, 0x7000);
    draw("radio_panel");
    EXPECT_FALSE(any(20, 68, 13, 29, orange));  // off
    EXPECT_FALSE(green(px(5, 54)));
    click("radio_panel", 144, 80);
    draw("radio_panel");
    EXPECT_TRUE(any(20, 68, 13, 29, orange));  // COM1 active
    EXPECT_TRUE(green(px(5, 54)));             // COM1 lamp
    EXPECT_FALSE(green(px(5, 37)));            // NAV1 lamp

    draw("transponder");
    EXPECT_FALSE(any(102, 157, 11, 25, orange));
    click("transponder", 10, 22);
    draw("transponder");
    EXPECT_TRUE(any(102, 157, 11, 25, orange));
}

}  // namespace
}  // namespace kestrel::test
