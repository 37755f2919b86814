// The radio panel, transponder and chronometer as the host draws them,
// looked at by pixels: the clock's hands point at the dial figures of their
// values, and the windows and lamps show only while their panel is on.
#include "host/render.h"
#include "support.h"

namespace kestrel::test {
namespace {

class RadioPictures : public HostTest {
protected:
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};
    Surface picture;

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
    uint32_t px(int x, int y) const {
        const uint8_t* data = cairo_image_surface_get_data(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        return *reinterpret_cast<const uint32_t*>(data + size_t(y) * stride + size_t(x) * 4) & 0xFFFFFF;
    }
    static int r(uint32_t c) { return c >> 16 & 0xFF; }
    static int g(uint32_t c) { return c >> 8 & 0xFF; }
    static int b(uint32_t c) { return c & 0xFF; }
    static bool white(uint32_t c) { return r(c) > 0xC0 && g(c) > 0xC0 && b(c) > 0xC0; }
    static bool red(uint32_t c) { return r(c) > 0xB0 && g(c) < 0x80 && b(c) < 0x60; }
    static bool orange(uint32_t c) { return r(c) > 0xC0 && g(c) > 0x50 && g(c) < 0xB0 && b(c) < 0x40; }
    static bool green(uint32_t c) { return g(c) > 0xB0 && r(c) < 0x90 && b(c) < 0xA0; }
    bool any(int x0, int x1, int y0, int y1, bool (*test)(uint32_t)) const {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (test(px(x, y))) return true;
        return false;
    }
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
        EXPECT_TRUE(any(t.hour_x - 1, t.hour_x + 1, t.hour_y - 1, t.hour_y + 1, white)) << t.h;
        EXPECT_TRUE(any(t.minute_x - 1, t.minute_x + 1, t.minute_y - 1, t.minute_y + 1, white)) << t.m;
        EXPECT_TRUE(any(t.second_x - 1, t.second_x + 1, t.second_y - 1, t.second_y + 1, red)) << t.s;
        // The second hand is nowhere else: not where the other time has it.
        const auto& other = &t == &times[0] ? times[1] : times[0];
        EXPECT_FALSE(any(other.second_x - 1, other.second_x + 1, other.second_y - 1, other.second_y + 1, red));
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
