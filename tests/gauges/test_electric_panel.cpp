// The electric panel: three push buttons whose lights follow the simulator,
// the battery's always bright light and readout, the generators' lit labels.
#include <math.h>

#include "tests/support.h"

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
