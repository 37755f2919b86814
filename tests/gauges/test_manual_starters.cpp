// The engine manual start panel: the covers, the held starter buttons that
// work only with the cover open and the battery master exactly on, and the
// starter lights.
#include <math.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t STARTER_1 = 0x233, STARTER_2 = 0x23D, BATTERY_MASTER = 0x16C;
constexpr uint32_t EVENT_STARTER_1 = 0x102FC, EVENT_STARTER_2 = 0x102FD;

enum { COVER_1_CLOSED = 1, COVER_1_OPEN, LIGHT_1, COVER_2_CLOSED, COVER_2_OPEN, LIGHT_2, ENG, MAN_START,
       PICTURE_1, PICTURE_2 };

struct Engine {
    int32_t cover_x, cover_y, button_x, button_y;
    size_t closed, open, light;
    uint32_t starter, event;
};
constexpr Engine ENGINES[] = {
    {15, 9, 16, 25, COVER_1_CLOSED, COVER_1_OPEN, LIGHT_1, STARTER_1, EVENT_STARTER_1},
    {50, 9, 50, 25, COVER_2_CLOSED, COVER_2_OPEN, LIGHT_2, STARTER_2, EVENT_STARTER_2},
};

class ManualStarters : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "manual_starters"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void cover(const Engine& e) { host.click(g, e.cover_x, e.cover_y); }
    int hold(const Engine& e, uint64_t frames) { return host.hold(g, e.button_x, e.button_y, frames); }
};

TEST_F(ManualStarters, EachCoverOpensAndClosesWithTheSwitchSound) {
    for (const Engine& e : ENGINES) {
        for (bool open : {true, false, true, false}) {
            cover(e);
            EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\SWITCH.WAV"});
            host.frame();
            EXPECT_EQ(hidden(state(g, e.open)), !open);
            EXPECT_EQ(hidden(state(g, e.closed)), open);
        }
    }
    EXPECT_TRUE(keys().empty());
}

TEST_F(ManualStarters, ButtonsRunTheStarterOnlyWithTheCoverOpenAndTheBatteryMasterExactlyOn) {
    const struct {
        bool open;
        double battery;
        bool runs;
    } cases[] = {
        {false, 0, false}, {false, 1, false}, {true, 0, false}, {true, 1, true},
        {true, 0.5, false}, {true, 2, false}, {true, -1, false}, {true, NAN, false},
        {true, INFINITY, false}, {true, 0.9999999, false},
    };
    for (const Engine& e : ENGINES) {
        for (const auto& c : cases) {
            if (c.open) cover(e);
            host.sim.set(BATTERY_MASTER, c.battery);
            host.frame();
            sounds();
            EXPECT_EQ(hold(e, 4), 4);  // the press and three repeats reach the button
            std::vector<uint32_t> sent;
            for (const Event& ev : host.events) {
                EXPECT_NE(ev.kind, Event::Kind::Sound);  // the buttons are silent
                if (ev.kind == Event::Kind::KeyEvent) sent.push_back(static_cast<uint32_t>(ev.number));
            }
            host.events.clear();
            EXPECT_EQ(sent, std::vector<uint32_t>(c.runs ? 4 : 0, e.event)) << "open " << c.open << " battery " << c.battery;
            if (c.open) cover(e);
        }
    }
}

TEST_F(ManualStarters, AHeldButtonStopsAsSoonAsTheCoverClosesOrTheBatteryGoesOff) {
    const Engine& e = ENGINES[1];
    host.sim.set(BATTERY_MASTER, 1);
    cover(e);
    host.frame();
    keys();
    Host::Press p = host.press(g, e.button_x, e.button_y);
    host.frame();
    host.repeat(p);
    host.frame();
    host.sim.set(BATTERY_MASTER, 0);
    host.frame();  // the gauge sees the battery off
    host.repeat(p);
    host.sim.set(BATTERY_MASTER, 1);
    host.frame();
    host.repeat(p);
    host.release(p);
    EXPECT_EQ(keys(), (std::vector<uint32_t>{e.event, e.event, e.event}));

    p = host.press(g, e.button_x, e.button_y);
    cover(e);  // closed
    host.repeat(p);
    host.release(p);
    EXPECT_EQ(keys(), std::vector<uint32_t>{e.event});
}

TEST_F(ManualStarters, StarterLightsShowForExactlyOneAndLightWithThePanel) {
    for (const Engine& e : ENGINES) {
        for (int32_t power : {0, 1, 2}) {
            host.registry.set("power", power);
            for (double v : {1.0, 0.0, 0.5, double(NAN), -1.0}) {
                host.sim.set(e.starter, v);
                host.frame();
                EXPECT_EQ(hidden(state(g, e.light)), v != 1.0) << v;
                EXPECT_EQ(bright(state(g, e.light)), power == 1) << power;
            }
        }
    }
}

TEST_F(ManualStarters, LabelsAreLitButCoversAndPicturesNever) {
    cover(ENGINES[0]);
    for (int32_t power : {0, 1, -1, 1}) {
        host.registry.set("power", power);
        host.frame();
        EXPECT_EQ(bright(state(g, ENG)), power == 1);
        EXPECT_EQ(bright(state(g, MAN_START)), power == 1);
        for (size_t i : {0, 1, 2, 4, 5, 9, 10}) EXPECT_FALSE(bright(state(g, i))) << i;
        for (size_t i : {PICTURE_1, PICTURE_2}) {
            EXPECT_FALSE(hidden(state(g, i)));
            EXPECT_EQ(state(g, i).value[0], 0);
        }
    }
}

TEST_F(ManualStarters, CoversCloseAtTheFirstDrawAndStayAsLastSet) {
    host.unload("manual_starters");
    Gauge& again = load({"manual_starters"});
    host.click(again, ENGINES[0].cover_x, ENGINES[0].cover_y);
    host.frames(2);  // the first draw closed it
    EXPECT_FALSE(hidden(state(again, COVER_1_CLOSED)));
    EXPECT_TRUE(hidden(state(again, COVER_1_OPEN)));
    host.click(again, ENGINES[0].cover_x, ENGINES[0].cover_y);
    host.sim.set(STARTER_1, 1);
    host.frames(100);  // the cover does not close by itself after a start
    EXPECT_FALSE(hidden(state(again, COVER_1_OPEN)));
}

// With the simulator's answer: the starter runs while the button is held, so
// the light shows in every frame of the hold and goes out at the first frame
// after the release.
TEST_F(ManualStarters, AHeldButtonRunsTheStarterAndItsLight) {
    const Engine& e = ENGINES[0];
    host.sim.set(BATTERY_MASTER, 1);
    cover(e);
    host.frame();
    Host::Press p = host.press(g, e.button_x, e.button_y);
    for (int i = 0; i < 5; ++i) {
        host.frame();
        EXPECT_FALSE(hidden(state(g, e.light))) << i;
        EXPECT_EQ(host.sim.get(e.starter), 1);
        host.repeat(p);
    }
    host.release(p);
    host.frame();  // the repeat just before the release still counts
    EXPECT_EQ(host.sim.get(e.starter), 1);
    host.frame();
    EXPECT_EQ(host.sim.get(e.starter), 0);
    EXPECT_TRUE(hidden(state(g, e.light)));
}

}  // namespace
}  // namespace kestrel::test
