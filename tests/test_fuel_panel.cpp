// The fuel panel: a one-of-three fuel feed selector kept by the gauge, which
// tells the simulator only when the selection changes.
#include "support.h"

namespace kestrel::test {
namespace {

enum { PANEL, LEFT_ON, ALL_ON, RIGHT_ON, RIGHT_LABEL, LEFT_LABEL, ALL_LABEL };
enum Feed { ALL = 0, LEFT = 1, RIGHT = 2 };
constexpr uint32_t EVENT_ALL = 0x101A4, EVENT_LEFT = 0x101A5, EVENT_RIGHT = 0x101A6;
constexpr uint32_t FUEL_FEED = 0x8001;  // where the simulator stand-in keeps the selection

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

TEST_F(FuelPanel, PresentsItsRecordsAsTheSimulatorReadsThem) {
    ASSERT_EQ(g.size(), 7u);
    EXPECT_EQ(g.element(PANEL)->resource_id, 0x100u);
    const struct {
        size_t i;
        uint32_t resource;
        int32_t x, y;
    } lights[] = {{LEFT_ON, 0x1100, 106, 65}, {ALL_ON, 0x1200, 138, 65}, {RIGHT_ON, 0x1300, 169, 65}};
    for (const auto& c : lights) {
        const IconElement* e = g.element_as<IconElement>(c.i);
        ASSERT_EQ(e->header.kind, KIND_ICON);
        EXPECT_EQ(e->header.resource_id, c.resource);
        EXPECT_EQ(e->header.position.x, c.x);
        EXPECT_EQ(e->header.position.y, c.y);
        EXPECT_EQ(e->frame_count, 2u);
        EXPECT_EQ(e->source.id, 0u);
    }
    const struct {
        size_t i;
        int32_t x, y, w, h;
        uint32_t background;
        std::string caption;
    } texts[] = {
        {RIGHT_LABEL, 167, 36, 125, 11, 0x80FFFF, "RIGHT"},
        {LEFT_LABEL, 105, 36, 187, 11, 0x4080FF, "LEFT"},
        {ALL_LABEL, 142, 46, 150, 11, 0x80FFFF, "ALL"},
    };
    for (const auto& c : texts) {
        const TextElement* e = g.element_as<TextElement>(c.i);
        EXPECT_EQ(e->header.position.x, c.x);
        EXPECT_EQ(e->header.position.y, c.y);
        EXPECT_EQ(e->box_width, c.w);
        EXPECT_EQ(e->box_height, c.h);
        EXPECT_STREQ(e->font, "Arial Narrow");
        EXPECT_EQ(e->text_color, 0xFFFFFFu);
        EXPECT_EQ(e->background_color, c.background);
        EXPECT_EQ(state(g, c.i).text, c.caption + std::string(399, ' ') + "0");
    }
    const std::vector<MouseRect*>& m = g.layout.mouse;
    ASSERT_EQ(m.size(), 6u);
    EXPECT_STREQ(m[1]->tooltip, "FUEL PANEL");
    const PixBox boxes[] = {{105, 56, 18, 17}, {137, 56, 19, 17}, {168, 56, 19, 17}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m[2 + i]->box.x, boxes[i].x);
        EXPECT_EQ(m[2 + i]->box.y, boxes[i].y);
        EXPECT_EQ(m[2 + i]->box.width, boxes[i].width);
        EXPECT_EQ(m[2 + i]->box.height, boxes[i].height);
        EXPECT_EQ(m[2 + i]->flags, MOUSE_LEFT_SINGLE);
        EXPECT_EQ(m[2 + i]->cursor, CURSOR_HAND);
    }
}

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

TEST_F(FuelPanel, SimulatorStandInRecordsTheSelection) {
    press(LEFT);
    EXPECT_EQ(host.sim.get(FUEL_FEED), LEFT);
    press(RIGHT);
    EXPECT_EQ(host.sim.get(FUEL_FEED), RIGHT);
    press(ALL);
    EXPECT_EQ(host.sim.get(FUEL_FEED), ALL);
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
