// The electric panel: three push buttons whose lights follow the simulator,
// the battery's always bright light and readout, the generators' lit labels.
#include <math.h>

#include "support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t GENERATOR_1 = 0x236, GENERATOR_2 = 0x240, BATTERY_MASTER = 0x16C, BATTERY_VALUE = 0x2F0;

enum { PANEL, GEN_1_ON, GEN_2_ON, BAT_1_ON, BAT_1, ONE_BAT, GEN_1, GEN_2, READOUT };

struct Button {
    int32_t x, y;
    uint32_t event, var;
    size_t light;
};
constexpr Button GEN_1_BUTTON = {50, 90, 0x1033B, GENERATOR_1, GEN_1_ON};
constexpr Button GEN_2_BUTTON = {253, 90, 0x1033C, GENERATOR_2, GEN_2_ON};
constexpr Button BAT_1_BUTTON = {127, 21, 0x102C1, BATTERY_MASTER, BAT_1_ON};
constexpr Button BUTTONS[] = {GEN_1_BUTTON, GEN_2_BUTTON, BAT_1_BUTTON};

class ElectricPanel : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "electric_panel"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    std::string readout(double v) {
        host.sim.set(BATTERY_VALUE, v);
        host.frame();
        return state(g, READOUT).text;
    }
};

TEST_F(ElectricPanel, PresentsItsRecordsAsTheSimulatorReadsThem) {
    ASSERT_EQ(g.size(), 9u);
    EXPECT_EQ(g.element(PANEL)->resource_id, 0x100u);
    const struct {
        size_t i;
        uint32_t resource;
        int32_t x, y;
    } lights[] = {{GEN_1_ON, 0x1100, 42, 89}, {GEN_2_ON, 0x1200, 245, 90}, {BAT_1_ON, 0x1300, 119, 22}};
    for (const auto& c : lights) {
        const IconElement* e = g.element_as<IconElement>(c.i);
        ASSERT_EQ(e->header.kind, KIND_ICON);
        EXPECT_EQ(e->header.resource_id, c.resource);
        EXPECT_EQ(e->header.position.x, c.x);
        EXPECT_EQ(e->header.position.y, c.y);
        EXPECT_EQ(e->frame_count, 2u);
    }
    const struct {
        size_t i;
        int32_t x, y, w, h;
        uint32_t background, var;
        std::string text;
    } texts[] = {
        {BAT_1, 80, 4, 221, 11, 0x80FFFF, 0, "BAT 1" + std::string(399, ' ') + "0"},
        {ONE_BAT, 126, 4, 175, 11, 0x4080FF, 0, "1    BAT" + std::string(399, ' ') + "0"},
        {GEN_1, 44, 71, 257, 11, 0x80FFFF, 0, "GEN 1" + std::string(399, ' ') + "0"},
        {GEN_2, 246, 72, 55, 11, 0x80FFFF, 0, "GEN 2" + std::string(399, ' ') + "0"},
        {READOUT, 81, 17, 220, 16, 0x80FFFF, BATTERY_VALUE, "0.0"},
    };
    for (const auto& c : texts) {
        const TextElement* e = g.element_as<TextElement>(c.i);
        ASSERT_EQ(e->header.kind, KIND_TEXT) << c.i;
        EXPECT_EQ(e->header.position.x, c.x) << c.i;
        EXPECT_EQ(e->header.position.y, c.y) << c.i;
        EXPECT_EQ(e->box_width, c.w) << c.i;
        EXPECT_EQ(e->box_height, c.h) << c.i;
        EXPECT_STREQ(e->font, "Arial") << c.i;
        EXPECT_EQ(e->font_weight, 500) << c.i;
        EXPECT_EQ(e->text_color, 0xFFFFFFu) << c.i;
        EXPECT_EQ(e->background_color, c.background) << c.i;
        EXPECT_EQ(e->source[0].id, c.var) << c.i;
        EXPECT_EQ(state(g, c.i).text, c.text) << c.i;
    }
    const std::vector<MouseRect*>& m = g.layout.mouse;
    ASSERT_EQ(m.size(), 6u);
    EXPECT_STREQ(m[1]->tooltip, "ELECTRIC PANEL");
    const PixBox boxes[] = {{41, 80, 20, 20}, {244, 81, 19, 18}, {118, 13, 20, 17}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m[2 + i]->box.x, boxes[i].x);
        EXPECT_EQ(m[2 + i]->box.y, boxes[i].y);
        EXPECT_EQ(m[2 + i]->box.width, boxes[i].width);
        EXPECT_EQ(m[2 + i]->box.height, boxes[i].height);
        EXPECT_EQ(m[2 + i]->flags, MOUSE_LEFT_SINGLE);
        EXPECT_EQ(m[2 + i]->cursor, CURSOR_HAND);
    }
}

// A press sends the key event and clicks; the light waits for the simulator.
TEST_F(ElectricPanel, ALightChangesOnlyWhenTheSimulatorReportsTheNewValue) {
    for (const Button& b : BUTTONS) {
        host.click(g, b.x, b.y);
        EXPECT_EQ(keys(), std::vector<uint32_t>{b.event});
        host.click(g, b.x, b.y);
        EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV"});
        EXPECT_TRUE(hidden(state(g, b.light)));
        host.sim.set(b.var, 1);  // the simulator takes its time
        EXPECT_TRUE(hidden(state(g, b.light)));
        host.frame();
        EXPECT_FALSE(hidden(state(g, b.light)));
        host.sim.set(b.var, 0);
        host.frame();
    }
}

TEST_F(ElectricPanel, TheSimulatorStandInSwitchesBatteryAndGenerators) {
    for (const Button& b : BUTTONS) {
        host.click(g, b.x, b.y);
        host.frame();
        EXPECT_EQ(host.sim.get(b.var), 1);
        EXPECT_FALSE(hidden(state(g, b.light)));
        host.click(g, b.x, b.y);
        host.frame();
        EXPECT_EQ(host.sim.get(b.var), 0);
        EXPECT_TRUE(hidden(state(g, b.light)));
    }
}

TEST_F(ElectricPanel, LightsShowForExactlyOne) {
    for (const Button& b : BUTTONS)
        for (double v : {1.0, 0.5, 0.0, 2.0, double(NAN), -1.0, double(INFINITY)}) {
            host.sim.set(b.var, v);
            host.frame();
            EXPECT_EQ(hidden(state(g, b.light)), v != 1.0) << b.var << " " << v;
        }
}

// The battery works without the avionics: its light, labels and readout are
// bright whatever "power" holds; the generators' are lit with the panel.
TEST_F(ElectricPanel, BatteryElementsAreAlwaysBrightGeneratorsLitWithThePanel) {
    host.sim.set(BATTERY_MASTER, 1);
    for (int32_t power : {0, 1, 2, -1}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i : {BAT_1_ON, BAT_1, ONE_BAT, READOUT}) EXPECT_TRUE(bright(state(g, i))) << i;
        for (size_t i : {GEN_1_ON, GEN_2_ON, GEN_1, GEN_2}) EXPECT_EQ(bright(state(g, i)), power == 1) << i;
        EXPECT_FALSE(bright(state(g, PANEL)));
        EXPECT_FALSE(hidden(state(g, BAT_1_ON)));
    }
}

TEST_F(ElectricPanel, ReadoutShowsOneDecimalOfTheSinglePrecisionValue) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {28, "28.0"},       {27.96, "28.0"},     {24.04, "24.0"},      {0.05, "0.1"},
        {-0.04, "-0.0"},    {-3.25, "-3.2"},     {NAN, "nan"},         {INFINITY, "inf"},
        {-INFINITY, "-inf"}, {1e300, "inf"},     {16777217, "16777216.0"},
        {3.4028235e38, "340282346638528859811704183484516925440.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(readout(c.value), c.text) << c.value;
    EXPECT_FALSE(g.overflowed);
}

}  // namespace
}  // namespace kestrel::test
