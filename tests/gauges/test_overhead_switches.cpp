// The overhead switch panel, driven through the host as the simulator drives
// it: its records, the APU start, the cabin signs and avionics toggles, the
// light switches and their key events, and the lit, unlit and always bright
// elements.
#include <math.h>

#include <string>

#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t TICKS = 0x1;

// Elements
enum {
    ENG1_ON = 1, ENG2_ON = 2, PROBE_ON = 3, APU_MASTER_ON = 4, APU_AVAIL = 5, WING_ON = 6,
    STROBE_SWITCH = 21, LANDING_LEFT = 25, LANDING_RIGHT = 26,
    SEATBELTS_SWITCH = 42, NOSMOKING_SWITCH = 43, APU_START_ON = 44, PANEL_LABEL = 45,
    PANEL_SWITCH = 46, AVNCS_LABEL = 47, AVIONICS_SWITCH = 48,
};

// Points inside the mouse areas
struct At {
    int32_t x, y;
};
constexpr At ENG1_BUTTON = {80, 25}, ENG2_BUTTON = {108, 25}, PROBE_BUTTON = {158, 25};
constexpr At STROBE = {14, 70}, BEACON = {44, 70}, WING_LIGHTS = {76, 70}, NAV_LOGO = {108, 70};
constexpr At LANDING = {60, 110}, TAXI = {106, 110}, SEATBELTS = {195, 105}, NOSMOKING = {224, 105};
constexpr At APU_MASTER = {156, 74}, WING_BUTTON = {20, 26}, APU_START = {156, 108};
constexpr At PANEL = {287, 105}, AVIONICS = {290, 67};

class OverheadSwitches : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "overhead_switches"});
    std::vector<Event> loading;  // what the module did while it was loaded
    void SetUp() override {
        loading = host.events;
        host.frame();  // the first frame clears the shared variables
        host.events.clear();
    }

    void click(At at) { host.click(g, at.x, at.y); }
    int32_t apu() { return host.registry.value("apu"); }
    bool shown(size_t i) { return !hidden(state(g, i)); }
    // Which of the three APU lights show: master "ON", "AVAIL", start "ON".
    std::string apu_lights() {
        return std::string(shown(APU_MASTER_ON) ? "M" : "-") + (shown(APU_AVAIL) ? "A" : "-") +
               (shown(APU_START_ON) ? "S" : "-");
    }
};

TEST_F(OverheadSwitches, BindsItsSharedVariablesInOrder) {
    std::vector<std::string> bound;
    for (const Event& e : loading)
        if (e.kind == Event::Kind::Bind && e.gauge == "overhead_switches") bound.push_back(e.name);
    EXPECT_EQ(bound, (std::vector<std::string>{"nosmoking", "seatbelts", "apu", "power"}));
}

TEST_F(OverheadSwitches, FirstDrawClearsTheSignsTheApuAndThePowerOnce) {
    // Reloaded with everything set before its first frame.
    host.unload("overhead_switches");
    Gauge& again = load({"overhead_switches"});
    for (const char* name : {"nosmoking", "seatbelts", "apu", "power"}) host.registry.set(name, 1);
    host.click(again, WING_BUTTON.x, WING_BUTTON.y);
    host.click(again, APU_START.x, APU_START.y);  // from apu 1: starting
    EXPECT_EQ(apu(), 2);
    host.frame();
    for (const char* name : {"nosmoking", "seatbelts", "apu", "power"})
        EXPECT_EQ(host.registry.value(name), 0) << name;
    host.frame();  // the elements of the first frame ran before its draw
    EXPECT_TRUE(hidden(state(again, WING_ON)));
    EXPECT_TRUE(hidden(state(again, APU_START_ON)));
    // Later frames leave them alone.
    host.registry.set("power", 1);
    host.registry.set("apu", 3);
    host.frames(2);
    EXPECT_EQ(host.registry.value("power"), 1);
    EXPECT_EQ(apu(), 3);
}

// ---------------------------------------------------------------------------
// The APU

TEST_F(OverheadSwitches, ApuMasterAndStartButtonsFromEveryState) {
    const struct {
        int32_t from, after_master, after_start;
    } cases[] = {
        {0, 1, 0},  // off: the master switches it on; start does nothing
        {1, 1, 2},  // master on: the master again changes nothing; start starts
        {2, 0, 2},  // starting: the master shuts it down
        {3, 0, 3},  // available: the master shuts it down
        {7, 7, 7},  // values no writer of the panel uses: left alone
        {-1, -1, -1},
    };
    for (const auto& c : cases) {
        host.registry.set("apu", c.from);
        click(APU_MASTER);
        EXPECT_EQ(apu(), c.after_master) << "master from " << c.from;
        host.registry.set("apu", c.from);
        click(APU_START);
        EXPECT_EQ(apu(), c.after_start) << "start from " << c.from;
        // Every press clicks, whether or not it did anything.
        EXPECT_EQ(sounds(), (std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV",
                                                      "GaugePlaySound sound\\CLICK.WAV"}));
    }
    EXPECT_TRUE(keys().empty());
}

TEST_F(OverheadSwitches, ApuLightsFollowTheState) {
    const struct {
        int32_t apu;
        const char* lights;  // master "ON", "AVAIL", start "ON"
    } cases[] = {{0, "---"}, {1, "M--"}, {2, "M-S"}, {3, "MA-"}, {4, "---"}, {-2, "---"}};
    click(APU_MASTER);
    click(APU_START);  // a start that is not due in the frames below
    for (int32_t power : {0, 1}) {
        host.registry.set("power", power);
        for (const auto& c : cases) {
            host.registry.set("apu", c.apu);
            host.frame();
            EXPECT_EQ(apu_lights(), c.lights) << "apu " << c.apu;
            EXPECT_EQ(bright(state(g, APU_MASTER_ON)), power == 1);
            EXPECT_EQ(bright(state(g, APU_AVAIL)), power == 1);
            EXPECT_TRUE(bright(state(g, APU_START_ON)));
        }
    }
}

TEST_F(OverheadSwitches, ApuStartsOnTheTickItIsDue) {
    host.sim.set(TICKS, 1000);
    host.frame();  // the panel sees tick 1001
    click(APU_MASTER);
    click(APU_START);
    EXPECT_EQ(apu(), 2);
    host.frame();
    EXPECT_EQ(apu_lights(), "M-S");
    host.sim.set(TICKS, 1179);
    host.frame();  // tick 1180: one short
    EXPECT_EQ(apu(), 2);
    host.frame();  // tick 1181 = 1001 + 180
    EXPECT_EQ(apu(), 3);
    EXPECT_EQ(apu_lights(), "MA-");
    host.frames(3);
    EXPECT_EQ(apu(), 3);
    click(APU_MASTER);
    host.frame();
    EXPECT_EQ(apu(), 0);
    EXPECT_EQ(apu_lights(), "---");
}

// A slow simulator moves the counter several ticks a frame; the start still
// completes at the first frame at or past the due tick.
TEST_F(OverheadSwitches, ApuStartCompletesWhenASlowSimulatorSkipsTheDueTick) {
    host.sim.set(TICKS, 99);
    host.frame();  // tick 100
    click(APU_MASTER);
    click(APU_START);  // due at 280
    host.sim.set(TICKS, 277);
    host.sim.set_frame_rate(6);  // three ticks a frame
    host.frame();  // 277 + 3: the exact tick
    EXPECT_EQ(apu(), 3);

    click(APU_MASTER);
    click(APU_MASTER);
    host.sim.set(TICKS, 1000);
    host.frame();  // tick 1003
    click(APU_START);  // due at 1183
    host.sim.set(TICKS, 1178);
    host.frame();  // 1181
    EXPECT_EQ(apu(), 2);
    host.frame();  // 1184: 1183 was never seen
    EXPECT_EQ(apu(), 3);
    EXPECT_EQ(apu_lights(), "MA-");
}

TEST_F(OverheadSwitches, ApuStartFromAFractionalCounterIsDueAtTheWholeTick) {
    host.sim.set(TICKS, 99.5);
    host.frame();  // 100.5: due at 280 (280.5 truncated)
    click(APU_MASTER);
    click(APU_START);
    host.sim.set(TICKS, 278.5);
    host.frame();  // 279.5
    EXPECT_EQ(apu(), 2);
    host.frame();  // 280.5
    EXPECT_EQ(apu(), 3);
}

TEST_F(OverheadSwitches, ApuCompletesOnlyWhileStarting) {
    host.sim.set(TICKS, 0);
    host.frame();  // tick 1
    click(APU_MASTER);
    click(APU_START);
    host.registry.set("apu", 1);  // another writer put it back
    host.sim.set(TICKS, 500);
    host.frames(2);
    EXPECT_EQ(apu(), 1);
    // A master press while starting cancels the start; a new start is timed afresh.
    click(APU_START);
    click(APU_MASTER);
    click(APU_MASTER);
    host.frame();
    EXPECT_EQ(apu(), 1);
    click(APU_START);  // tick 503: due at 683
    host.sim.set(TICKS, 681);
    host.frame();  // 682
    EXPECT_EQ(apu(), 2);
    host.frame();
    EXPECT_EQ(apu(), 3);
}

// The counter is the simulator's: whatever it holds, the start neither
// misbehaves nor stays stuck once the counter is a number again.
TEST_F(OverheadSwitches, ApuStartSurvivesCountersThatAreNotSmallNumbers) {
    const struct {
        double counter_at_start, counter_after;
        int32_t apu_after;
    } cases[] = {
        {NAN, NAN, 2},            // no number, no completion...
        {NAN, 0, 3},              // ...until there is one: due at 0
        {INFINITY, INFINITY, 3},  // due at the largest count
        {1e300, 1e300, 3},
        {3e9, 3e9, 3},
        {-INFINITY, -INFINITY, 2},  // due at the smallest count, never reached...
        {-INFINITY, 0, 3},          // ...until the counter is a number
        {-1e300, -2147483000.0, 3},
        {2147483000.0, 2147483100.0, 2},  // due at the largest count, 2147483647
    };
    for (const auto& c : cases) {
        host.registry.set("apu", 1);
        host.sim.set(TICKS, c.counter_at_start);
        host.sim.set_frame_rate(18);
        host.frame();
        click(APU_START);
        EXPECT_EQ(apu(), 2);
        host.sim.set(TICKS, c.counter_after);
        host.frame();
        EXPECT_EQ(apu(), c.apu_after) << c.counter_at_start << " then " << c.counter_after;
    }
}

// ---------------------------------------------------------------------------
// Signs, avionics and the WING anti-ice button: toggles of the panel's own

TEST_F(OverheadSwitches, SignsAndAvionicsToggleFromZeroOneAndAnyOtherValue) {
    const struct {
        const char* name;
        At at;
        size_t icon;
        const char* sound;
    } switches[] = {
        {"seatbelts", SEATBELTS, SEATBELTS_SWITCH, "GaugePlaySound sound\\CHIME.WAV"},
        {"nosmoking", NOSMOKING, NOSMOKING_SWITCH, "GaugePlaySound sound\\CHIME.WAV"},
        {"power", AVIONICS, AVIONICS_SWITCH, "GaugePlaySound sound\\SWITCH.WAV"},
    };
    for (const auto& s : switches) {
        for (auto [before, after] : {std::pair{0, 1}, {1, 0}, {5, 0}, {3, 0}, {-1, 0}}) {
            host.registry.set(s.name, before);
            host.frame();
            // The switch shows the value as an unsigned frame number.
            EXPECT_EQ(state(g, s.icon).value[0], static_cast<double>(static_cast<uint32_t>(before)));
            click(s.at);
            EXPECT_EQ(host.registry.value(s.name), after) << s.name << " from " << before;
            EXPECT_EQ(sounds(), std::vector<std::string>{s.sound});
            host.frame();
            EXPECT_EQ(state(g, s.icon).value[0], after);
            EXPECT_FALSE(bright(state(g, s.icon)));
        }
    }
    EXPECT_TRUE(keys().empty());
}

TEST_F(OverheadSwitches, WingAntiIceButtonTogglesItsOwnLight) {
    for (bool on : {true, false, true}) {
        click(WING_BUTTON);
        host.frame();
        EXPECT_EQ(hidden(state(g, WING_ON)), !on);
        EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV"});
    }
    EXPECT_TRUE(keys().empty());
}

// ---------------------------------------------------------------------------
// Push buttons and switches of the simulator

TEST_F(OverheadSwitches, ButtonsAndLightSwitchesSendTheirKeyEventThenTheirSound) {
    const struct {
        At at;
        uint32_t event;
        const char* sound;
    } areas[] = {
        {ENG1_BUTTON, 0x103B4, "CLICK"}, {ENG2_BUTTON, 0x103B5, "CLICK"},
        {PROBE_BUTTON, 0x10142, "CLICK"}, {STROBE, 0x10018, "SWITCH"},
        {BEACON, 0x102BF, "SWITCH"},     {WING_LIGHTS, 0x1034A, "SWITCH"},
        {NAV_LOGO, 0x1034B, "SWITCH"},   {LANDING, 0x100D7, "SWITCH"},
        {{40, 118}, 0x100D7, "SWITCH"},  {{82, 100}, 0x100D7, "SWITCH"},  // both landing switches
        {TAXI, 0x102C0, "SWITCH"},       {PANEL, 0x100D6, "SWITCH"},
    };
    for (const auto& a : areas) {
        click(a.at);
        std::vector<Event> done;  // what the gauge did (the simulator's answer left out)
        for (const Event& e : host.events)
            if (e.kind != Event::Kind::SimChange) done.push_back(e);
        host.events.clear();
        ASSERT_EQ(done.size(), 2u) << std::hex << a.event;
        EXPECT_EQ(done[0].kind, Event::Kind::KeyEvent);
        EXPECT_EQ(done[0].number, a.event);
        EXPECT_EQ(done[0].value, 0);
        EXPECT_EQ(done[1].kind, Event::Kind::Sound);
        EXPECT_EQ(done[1].name, "GaugePlaySound");
        EXPECT_EQ(done[1].detail, std::string("sound\\") + a.sound + ".WAV \"\" 0");
    }
    // Nothing between the areas.
    for (At between : {At{0, 0}, At{60, 40}, At{130, 70}, At{260, 20}, At{250, 105}}) click(between);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(OverheadSwitches, LightSwitchesFollowTheSimulatorAndBothLandingSwitchesOneVariable) {
    const struct {
        At at;
        std::vector<size_t> icons;
    } switches[] = {
        {STROBE, {21}}, {BEACON, {22}}, {WING_LIGHTS, {23}}, {NAV_LOGO, {24}},
        {LANDING, {25, 26}}, {TAXI, {27}}, {PANEL, {46}},
    };
    for (const auto& s : switches) {
        click(s.at);  // the simulator turns the light on
        for (size_t i : s.icons) EXPECT_EQ(state(g, i).value[0], 0) << i << ": not before the frame";
        host.frame();
        for (size_t i : s.icons) EXPECT_EQ(state(g, i).value[0], 1) << i;
        click(s.at);
        host.frame();
        for (size_t i : s.icons) EXPECT_EQ(state(g, i).value[0], 0) << i;
    }
}

TEST_F(OverheadSwitches, AntiIceAndProbeHeatLightsShowOnlyForExactlyOne) {
    const struct {
        uint32_t var;
        size_t light;
    } lights[] = {{0x373, ENG1_ON}, {0x374, ENG2_ON}, {0xD, PROBE_ON}};
    for (const auto& l : lights) {
        for (double v : {1.0, 0.0, 0.5, 2.0, -1.0, double(NAN), double(INFINITY), 1.0000001}) {
            host.sim.set(l.var, v);
            host.frame();
            EXPECT_EQ(hidden(state(g, l.light)), v != 1.0) << std::hex << l.var << " " << v;
        }
    }
    // The buttons reach the simulator, and the lights follow it.
    host.sim.set(0x373, 0);
    click(ENG1_BUTTON);
    host.frame();
    EXPECT_FALSE(hidden(state(g, ENG1_ON)));
}

// ---------------------------------------------------------------------------
// Lit, unlit and always bright

TEST_F(OverheadSwitches, LitElementsFollowPowerAndThreeAreAlwaysBright) {
    std::vector<size_t> lit, always = {APU_START_ON, PANEL_LABEL, AVNCS_LABEL}, never = {0};
    for (size_t i = 1; i <= 20; ++i) lit.push_back(i);
    for (size_t i = 28; i <= 41; ++i) lit.push_back(i);
    for (size_t i = 21; i <= 27; ++i) never.push_back(i);
    for (size_t i : {SEATBELTS_SWITCH, NOSMOKING_SWITCH, PANEL_SWITCH, AVIONICS_SWITCH}) never.push_back(i);
    ASSERT_EQ(lit.size() + always.size() + never.size(), g.size());

    for (int32_t power : {0, 1, 2, -1, 1, 0}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i : lit) EXPECT_EQ(bright(state(g, i)), power == 1) << "element " << i << " power " << power;
        for (size_t i : always) EXPECT_TRUE(bright(state(g, i))) << "element " << i << " power " << power;
        for (size_t i : never) EXPECT_FALSE(bright(state(g, i))) << "element " << i << " power " << power;
    }
}

// ---------------------------------------------------------------------------
// Without the broadcaster

class OverheadSwitchesAlone : public HostTest {};

TEST_F(OverheadSwitchesAlone, WithoutItsSharedVariablesClicksChangeNothingAndNothingBreaks) {
    Gauge& g = load({"overhead_switches"});
    host.frame();
    for (At at : {SEATBELTS, NOSMOKING, AVIONICS, APU_MASTER, APU_START, WING_BUTTON, STROBE}) host.click(g, at.x, at.y);
    host.frames(200);
    EXPECT_TRUE(hidden(state(g, APU_MASTER_ON)));
    EXPECT_TRUE(hidden(state(g, APU_START_ON)));
    EXPECT_FALSE(hidden(state(g, WING_ON)));  // its own state still works
    EXPECT_EQ(state(g, AVIONICS_SWITCH).value[0], 0);
    EXPECT_FALSE(bright(state(g, 7)));
    EXPECT_EQ(keys(), std::vector<uint32_t>{0x10018});
}

}  // namespace
}  // namespace kestrel::test
