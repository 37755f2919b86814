// The overhead panels together with the broadcaster and other gauges: what
// crosses modules (power, the displays, the battery master), and what the
// simulator stand-in does with the overhead key events.
#include <math.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr int32_t AVIONICS[] = {290, 67};

// Elements of a gauge that follow the power rule.
const std::vector<size_t> OVERHEAD_LIT = [] {
    std::vector<size_t> v;
    for (size_t i = 1; i <= 20; ++i) v.push_back(i);
    for (size_t i = 28; i <= 41; ++i) v.push_back(i);
    return v;
}();
const std::vector<size_t> FLAP_LEVER_LIT = {1, 2, 3};

class OverheadPanel : public HostTest {};

TEST_F(OverheadPanel, OneClickOnTheAvionicsSwitchLightsBothGaugesAtTheNextFrame) {
    load({"broadcaster", "overhead_switches", "flap_lever"});
    Gauge& overhead = *host.find("overhead_switches");
    Gauge& lever = *host.find("flap_lever");
    host.frames(2);
    auto all_lit = [&](bool on) {
        for (size_t i : OVERHEAD_LIT) EXPECT_EQ(bright(state(overhead, i)), on) << "overhead " << i;
        for (size_t i : FLAP_LEVER_LIT) EXPECT_EQ(bright(state(lever, i)), on) << "flap lever " << i;
    };
    all_lit(false);

    host.click(overhead, AVIONICS[0], AVIONICS[1]);
    EXPECT_EQ(host.registry.value("power"), 1);
    all_lit(false);  // drawn as they were until the next frame
    host.frame();
    all_lit(true);
    EXPECT_EQ(state(overhead, 48).value[0], 1);  // the switch is up

    host.click(overhead, AVIONICS[0], AVIONICS[1]);
    host.frame();
    all_lit(false);
}

TEST_F(OverheadPanel, AfterTheFirstFrameEverySharedVariableReadsZeroWhateverTheLoadOrder) {
    const std::vector<std::vector<std::string>> orders = {
        {"broadcaster", "overhead_switches", "display_switch_1", "display_switch_2", "flap_lever"},
        {"display_switch_2", "flap_lever", "overhead_switches", "display_switch_1", "broadcaster"},
    };
    for (const auto& order : orders) {
        load(order);
        for (const Registry::Entry& e : host.registry.entries()) host.registry.set(e.name, 1);
        host.frame();
        for (const Registry::Entry& e : host.registry.entries())
            EXPECT_EQ(host.registry.value(e.name), 0) << e.name << " after loading " << order.front() << " first";
        host.unload_all();
    }
}

TEST_F(OverheadPanel, EicasAndDisplayFollowTheirKnobs) {
    load({"broadcaster", "display_switch_1", "display_switch_2"});
    Gauge& one = *host.find("display_switch_1");
    Gauge& two = *host.find("display_switch_2");
    host.frame();
    const struct {
        Gauge* knob;
        int32_t eicas, display;
    } steps[] = {{&one, 1, 0}, {&two, 1, 1}, {&one, 0, 1}, {&two, 0, 0}, {&two, 0, 1}};
    for (const auto& s : steps) {
        host.click(*s.knob, 20, 35);
        EXPECT_EQ(host.registry.value("eicas"), s.eicas);
        EXPECT_EQ(host.registry.value("display"), s.display);
        host.frame();
        EXPECT_EQ(state(one, 1).value[0], s.eicas);
        EXPECT_EQ(state(two, 1).value[0], s.display);
    }
}

// The battery push button of the electric panel gates the manual starters.
TEST_F(OverheadPanel, StartersWorkOnceTheBatteryIsSwitchedOn) {
    load({"broadcaster", "electric_panel", "manual_starters"});
    Gauge& electric = *host.find("electric_panel");
    Gauge& starters = *host.find("manual_starters");
    host.frame();
    host.click(starters, 15, 9);  // ENG 1 cover open
    host.frame();
    keys();
    host.hold(starters, 16, 25, 3);
    EXPECT_TRUE(keys().empty());

    host.click(electric, 127, 21);  // BAT 1
    host.frame();
    EXPECT_FALSE(hidden(state(electric, 3)));
    keys();
    Host::Press p = host.press(starters, 16, 25);
    host.frame();
    EXPECT_FALSE(hidden(state(starters, 3)));  // the starter runs
    host.repeat(p);
    host.release(p);
    EXPECT_EQ(keys(), (std::vector<uint32_t>{0x102FC, 0x102FC}));
    host.frames(2);
    EXPECT_TRUE(hidden(state(starters, 3)));
}

// ---------------------------------------------------------------------------
// The simulator stand-in

class OverheadKeyEffects : public ::testing::Test {
protected:
    Sim sim;
    void send(uint32_t event) { sim.key_event(event, 0); }
};

TEST_F(OverheadKeyEffects, SwitchesToggleTheirVariableFromZeroOneAndAnyOtherValue) {
    const struct {
        uint32_t event, var;
    } switches[] = {
        {0x10018, 0xB},   {0x102BF, 0x170}, {0x1034A, 0x26D}, {0x1034B, 0x26B}, {0x100D7, 0xE},
        {0x102C0, 0x171}, {0x100D6, 0xA},   {0x103B4, 0x373}, {0x103B5, 0x374}, {0x10142, 0xD},
        {0x102C1, 0x16C}, {0x1033B, 0x236}, {0x1033C, 0x240},
    };
    for (const auto& s : switches) {
        ASSERT_NE(find_key_effect(s.event), nullptr) << std::hex << s.event;
        for (auto [before, after] : {std::pair{0.0, 1.0}, {1.0, 0.0}, {0.5, 0.0}, {-3.0, 0.0}, {double(NAN), 0.0}}) {
            sim.set(s.var, before);
            send(s.event);
            EXPECT_EQ(sim.get(s.var), after) << std::hex << s.event << " from " << before;
        }
    }
}

TEST_F(OverheadKeyEffects, AStarterRunsWhileItsEventKeepsComing) {
    for (auto [event, var] : {std::pair{0x102FCu, 0x233u}, {0x102FDu, 0x23Du}}) {
        send(event);
        EXPECT_EQ(sim.get(var), 1);
        sim.advance_frame();
        EXPECT_EQ(sim.get(var), 1);
        send(event);  // a repeat
        sim.advance_frame();
        EXPECT_EQ(sim.get(var), 1);
        sim.advance_frame();  // no repeat before this frame
        EXPECT_EQ(sim.get(var), 0);
        sim.advance_frame();
        EXPECT_EQ(sim.get(var), 0);
    }
    // The two starters run independently.
    send(0x102FC);
    sim.advance_frame();
    send(0x102FD);
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x233), 0);
    EXPECT_EQ(sim.get(0x23D), 1);
    // A value set from outside (a scenario, a recorded flight) stays.
    send(0x102FC);
    sim.set(0x233, 0.5);
    sim.advance_frame();
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x233), 0.5);
}

TEST_F(OverheadKeyEffects, FuelFeedEventsRecordTheSelection) {
    const struct {
        uint32_t event;
        double selection;
    } feeds[] = {{0x101A5, 1}, {0x101A6, 2}, {0x101A4, 0}, {0x101A6, 2}};
    for (const auto& f : feeds) {
        send(f.event);
        EXPECT_EQ(sim.get(0x8001), f.selection);
    }
}

}  // namespace
}  // namespace kestrel::test
