// The fuel panel: a one-of-three fuel feed selector kept by the gauge, which
// tells the simulator only when the selection changes.
#include "tests/support.h"

namespace kestrel::test {
namespace {

enum { PANEL, LEFT_ON, ALL_ON, RIGHT_ON, RIGHT_LABEL, LEFT_LABEL, ALL_LABEL };
enum Feed { ALL = 0, LEFT = 1, RIGHT = 2 };
constexpr uint32_t EVENT_ALL = 0x101A4, EVENT_LEFT = 0x101A5, EVENT_RIGHT = 0x101A6;

struct Button {
    int32_t x, y;
};
constexpr Button BUTTONS[] = {{140, 64}, {113, 64}, {177, 64}};  // by Feed: ALL, LEFT, RIGHT

class FuelPanel : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "fuel_panel"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void press(Feed f) { host.click(g, BUTTONS[f].x, BUTTONS[f].y); }
    // Which lights show, as "L", "A", "R" or a mix.
    std::string lights() {
        return std::string(hidden(state(g, LEFT_ON)) ? "" : "L") + (hidden(state(g, ALL_ON)) ? "" : "A") +
               (hidden(state(g, RIGHT_ON)) ? "" : "R");
    }
};

TEST_F(FuelPanel, StartsAtAllWithoutTellingTheSimulator) {
    EXPECT_EQ(lights(), "A");
    EXPECT_TRUE(keys().empty());
}

// Every button from every selection: the key event only when the selection
// changes, the click always, and exactly one light.
TEST_F(FuelPanel, OneOfThreeSelection) {
    const uint32_t events[] = {EVENT_ALL, EVENT_LEFT, EVENT_RIGHT};
    const char* shown[] = {"A", "L", "R"};
    for (Feed from : {ALL, LEFT, RIGHT}) {
        for (Feed to : {ALL, LEFT, RIGHT}) {
            if (from != ALL) press(from);
            host.frame();
            host.events.clear();
            press(to);
            EXPECT_EQ(keys(), from == to ? std::vector<uint32_t>{} : std::vector<uint32_t>{events[to]})
                << from << " -> " << to;
            host.frame();
            EXPECT_EQ(lights(), shown[to]);
            press(ALL);
            host.frame();
            host.events.clear();
        }
    }
}

TEST_F(FuelPanel, KeyEventFollowsTheChangeAndEveryPressClicks) {
    press(LEFT);
    press(LEFT);
    press(RIGHT);
    press(ALL);
    press(ALL);
    std::vector<std::string> done;
    for (const Event& e : host.events)
        if (e.kind == Event::Kind::KeyEvent || e.kind == Event::Kind::Sound)
            done.push_back(e.kind == Event::Kind::Sound ? "click" : std::to_string(e.number - 0x101A0));
    EXPECT_EQ(done, (std::vector<std::string>{"5", "click", "click", "6", "click", "4", "click", "click"}));
}

TEST_F(FuelPanel, EveryElementIsLitWithThePanelAndLightsStillFollowTheSelection) {
    press(RIGHT);
    for (int32_t power : {0, 1, 2, 1, 0}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i = 1; i < g.size(); ++i) EXPECT_EQ(bright(state(g, i)), power == 1) << i;
        EXPECT_FALSE(bright(state(g, PANEL)));
        EXPECT_EQ(lights(), "R");
    }
}

TEST_F(FuelPanel, FirstDrawSelectsAllAgainWithoutAKeyEvent) {
    host.unload("fuel_panel");
    Gauge& again = load({"fuel_panel"});
    host.click(again, BUTTONS[LEFT].x, BUTTONS[LEFT].y);
    EXPECT_EQ(keys(), std::vector<uint32_t>{EVENT_LEFT});
    host.frames(2);
    EXPECT_TRUE(keys().empty());
    EXPECT_TRUE(hidden(state(again, LEFT_ON)));
    EXPECT_FALSE(hidden(state(again, ALL_ON)));
}

}  // namespace
}  // namespace kestrel::test
