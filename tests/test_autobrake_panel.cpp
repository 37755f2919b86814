// The autobrake panel: its shared variable "ab", the key sequences that set
// the simulator's autobrake, the automatic disarm, and the gear indicators.
#include <math.h>

#include "support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t DOWN = 0x102FB, UP = 0x102FA;
constexpr uint32_t SETTING = 0x8300;  // the stand-in's autobrake setting: 1 off, 2 LO, 3 MED, 4 MAX
enum { GEAR_1 = 1, GEAR_2, GEAR_3, LIGHT_LO, LIGHT_MED, LIGHT_MAX, LABEL_LDG_GEAR };
constexpr int32_t BUTTONS[][2] = {{0, 0}, {27, 66}, {48, 66}, {74, 66}};  // by mode: LO, MED, MAX

std::vector<uint32_t> sequence(uint32_t first, int n, uint32_t second, int m) {
    std::vector<uint32_t> s(n, first);
    s.insert(s.end(), m, second);
    return s;
}
const std::vector<uint32_t> OFF = sequence(DOWN, 5, UP, 1);
const std::vector<uint32_t> SEQUENCES[] = {OFF, sequence(DOWN, 5, UP, 2), sequence(UP, 5, DOWN, 1),
                                           sequence(UP, 5, DOWN, 0)};

class AutobrakePanel : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "autobrake_panel"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void press(int mode) { host.click(g, BUTTONS[mode][0], BUTTONS[mode][1]); }
};

// Pressing a button selects its mode from any other; pressing the selected
// mode's button, or any button while "ab" holds a value outside 0 to 3,
// turns the autobrake off. The simulator's setting ends where "ab" says.
TEST_F(AutobrakePanel, ButtonsSelectOrTurnOffWithTheirSequences) {
    const int32_t befores[] = {0, 1, 2, 3, -1, 4, INT32_MIN};
    for (int mode = 1; mode <= 3; ++mode)
        for (int32_t before : befores) {
            host.registry.set("ab", before);
            host.sim.set(SETTING, before == 0 ? 3 : 0);
            press(mode);
            const int32_t after = (before >= 0 && before <= 3 && before != mode) ? mode : 0;
            EXPECT_EQ(host.registry.value("ab"), after) << mode << " from " << before;
            EXPECT_EQ(host.events.back().detail, "sound\\CLICK.WAV \"\" 0");  // the click comes last
            EXPECT_EQ(keys(), SEQUENCES[after]) << mode << " from " << before;
            EXPECT_EQ(host.sim.get(SETTING), after + 1);
            host.frame();
            for (int light = 1; light <= 3; ++light)
                EXPECT_EQ(hidden(state(g, LIGHT_LO + light - 1)), light != after) << light;
        }
}

// "ab" is written before the sequence on a button, after it on the disarm.
TEST_F(AutobrakePanel, SharedWriteAndKeysComeInTheirOrder) {
    press(2);
    ASSERT_GE(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].kind, Event::Kind::SharedChange);
    host.events.clear();
    host.sim.set(0x3C, 1);
    host.sim.set(0x3D, 55);
    host.frame();
    std::vector<Event::Kind> kinds;
    for (const Event& e : host.events)
        if (e.kind == Event::Kind::SharedChange || e.kind == Event::Kind::KeyEvent) kinds.push_back(e.kind);
    ASSERT_EQ(kinds.size(), 7u);
    EXPECT_EQ(kinds.back(), Event::Kind::SharedChange);
}

TEST_F(AutobrakePanel, DisarmsOnEveryFrameWhileTheRolloutConditionHolds) {
    const struct {
        double flag, speed, level;
        bool disarms;
    } cases[] = {
        {1, 55, 0, true},      {1, 50.001, 0.0999, true}, {1, 59.9, -5, true},
        {1, 50, 0, false},     {1, 60, 0, false},         {1, 55, 0.1, false},
        {0, 55, 0, false},     {0.999, 55, 0, false},     {2, 55, 0, false},
        {NAN, 55, 0, false},   {1, NAN, 0, false},        {1, 55, NAN, false},
    };
    for (const auto& c : cases) {
        host.registry.set("ab", 3);
        host.sim.set(0x3C, c.flag);
        host.sim.set(0x3D, c.speed);
        host.sim.set(0x22E, c.level);
        keys();
        host.frames(3);
        std::vector<uint32_t> expected;
        for (int i = 0; c.disarms && i < 3; ++i) expected.insert(expected.end(), OFF.begin(), OFF.end());
        EXPECT_EQ(keys(), expected) << c.flag << " " << c.speed << " " << c.level;
        EXPECT_EQ(host.registry.value("ab"), c.disarms ? 0 : 3);
    }
}

// At its first draw the panel turns the autobrake off, then clears "power".
TEST(AutobrakePanelFirstDraw, TurnsTheAutobrakeOffBeforeClearingPower) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster"}, nullptr));
    host.frame();
    host.registry.set("power", 1);
    ASSERT_TRUE(host.load({"autobrake_panel"}, nullptr));
    host.registry.set("ab", 2);
    host.registry.collect_changes();
    host.events.clear();
    host.frame();
    std::vector<std::string> order;
    for (const Event& e : host.events) {
        if (e.kind == Event::Kind::SharedChange) order.push_back(e.name);
        if (e.kind == Event::Kind::KeyEvent) order.push_back(std::to_string(e.number == UP));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"ab", "0", "0", "0", "0", "0", "1", "power"}));
    host.events.clear();
    host.registry.set("ab", 2);
    host.frame();  // only once
    EXPECT_TRUE(std::none_of(host.events.begin(), host.events.end(),
                             [](const Event& e) { return e.kind == Event::Kind::KeyEvent; }));
    EXPECT_EQ(host.registry.value("ab"), 2);
}

TEST_F(AutobrakePanel, GearIndicatorsShowUpInTransitAndDown) {
    const struct {
        double v, frame;
    } cases[] = {{0, 0}, {1, 1}, {8000, 1}, {16382, 1}, {16382.5, 1}, {16383, 2}, {20000, 20000}, {-3, -3}};
    for (const auto& c : cases) {
        for (uint32_t id : {0x14D, 0x14C, 0x14E}) host.sim.set(id, c.v);
        host.frame();
        for (size_t i : {GEAR_1, GEAR_2, GEAR_3}) EXPECT_EQ(state(g, i).value[0], c.frame) << c.v;
    }
    host.sim.set(0x14C, NAN);
    host.frame();
    EXPECT_TRUE(isnan(state(g, GEAR_2).value[0]));
}

TEST_F(AutobrakePanel, OnlyPowerExactlyOneLightsIndicatorsLightsAndLabels) {
    for (int32_t power : {1, 0, 2, -1}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i = 1; i < g.size(); ++i) EXPECT_EQ(bright(state(g, i)), power == 1) << i;
        EXPECT_FALSE(bright(state(g, 0)));
    }
    EXPECT_EQ(state(g, LABEL_LDG_GEAR + 3).text, "MED" + std::string(399, ' ') + "0");
}

// "ab" belongs to the autobrake panel alone: it lives from its pre-install to
// its pre-kill, whatever the broadcaster does, and the reverse holds too.
TEST_F(AutobrakePanel, OwnsAbApartFromTheBroadcastersNine) {
    press(1);
    ModuleVar reader{};
    ASSERT_TRUE(host.registry.bind(nullptr, &reader, "ab"));
    EXPECT_EQ(*static_cast<int32_t*>(reader.value_ptr), 1);  // a reader sees what the panel wrote

    host.unload("broadcaster");
    EXPECT_EQ(host.registry.entries().size(), 1u);
    EXPECT_EQ(host.registry.value("ab"), 1);
    ASSERT_TRUE(host.load({"broadcaster"}, nullptr));
    host.unload("autobrake_panel");
    EXPECT_EQ(host.registry.find("ab"), nullptr);
    EXPECT_EQ(host.registry.entries().size(), 9u);
}

}  // namespace
}  // namespace kestrel::test
