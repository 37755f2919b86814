// The pedestal gauges through the host: the throttle quadrant's lever
// pictures, drag areas and start selector, the autobrake panel's sequences,
// disarm and ownership of "ab", the spoiler lever's knob and its silence; and
// what the simulator stand-in does with the pedestal's events and the gear.
#include <math.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr int32_t START_SELECTOR[] = {130, 360};
enum { SELECTOR = 23 };  // the throttle quadrant's start selector element

class Pedestal : public HostTest {
protected:
    Gauge& lever = load({"broadcaster", "throttle_quadrant", "autobrake_panel", "spoiler_lever"});
    Gauge& quadrant = *host.find("throttle_quadrant");
    Gauge& autobrake = *host.find("autobrake_panel");
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    // The pictures of one lever shown, full forward to reverse, as 0/1.
    std::string shown(size_t first) {
        std::string s;
        for (size_t i = first; i < first + 8; ++i) s += hidden(state(quadrant, i)) ? '0' : '1';
        return s;
    }
    bool start_light() { return state(quadrant, SELECTOR).value[0] == 1; }
};

TEST_F(Pedestal, EachLeverShowsThePicturesOfItsBandAndReverse) {
    const struct {
        double t, r;
        const char* pictures;  // full, bands 6 to 2, idle, reverse
    } cases[] = {
        {0, 0, "00000010"},       {3136, 0, "00000010"},   {3137, 0, "00000100"},
        {5329, 0, "00001000"},    {7521, 0, "00010000"},   {9713, 0, "00100000"},
        {14096, 0, "01000000"},   {14097, 0, "10000000"},  {0, 0.26, "00000010"},
        {0, 0.265, "00000011"},   {0, 0.27, "00000001"},   {9000, 0.5, "00010001"},
        {14096.5, 0, "11000000"}, {NAN, NAN, "00000000"},  {1e300, -1e300, "10000000"},
    };
    for (const auto& c : cases) {
        // The right lever mirrors the left one's case, so each reads its own variables.
        host.sim.set(0x80, c.t);
        host.sim.set(0x281, c.r);
        host.sim.set(0xA3, 16383 - (isnan(c.t) ? 0 : c.t));
        host.sim.set(0x294, 0);
        host.frame();
        EXPECT_EQ(shown(1), c.pictures) << "t " << c.t << " r " << c.r;
        host.sim.set(0x80, 0);
        host.sim.set(0x281, 0);
        host.sim.set(0xA3, c.t);
        host.sim.set(0x294, c.r);
        host.frame();
        EXPECT_EQ(shown(9), c.pictures) << "t " << c.t << " r " << c.r;
    }
}

// The event belongs to the area where the drag started: once per call,
// whichever way the mouse moves and even once it has left the area.
TEST_F(Pedestal, EachDragAreaSendsItsOwnEventOncePerCall) {
    const struct {
        int32_t x, y;
        uint32_t event;
    } areas[] = {{140, 60, 0x1003E}, {140, 150, 0x10042}, {10, 250, 0x1004F},
                 {250, 250, 0x1004F}, {10, 150, 0x10047}, {250, 150, 0x10047}};
    for (const auto& a : areas)
        for (int32_t dy : {-40, 40, 300}) {
            EXPECT_EQ(host.drag(quadrant, a.x, a.y, a.x, a.y + dy, 5), 5);
            EXPECT_EQ(keys(), std::vector<uint32_t>(5, a.event)) << a.x << "," << a.y << " dy " << dy;
        }
    host.click(quadrant, 140, 60);  // a click on a drag area does nothing
    EXPECT_TRUE(keys().empty());
}

TEST_F(Pedestal, StartSelectorNeedsTheApuAvailableAndTheBatteryExactlyOn) {
    const struct {
        int32_t apu;
        double battery;
        bool engages;
    } cases[] = {{3, 1, true}, {2, 1, false}, {1, 1, false}, {-3, 1, false},
                 {3, 0, false}, {3, 0.5, false}, {3, NAN, false}, {3, 2, false}};
    for (const auto& c : cases) {
        host.registry.set("apu", c.apu);
        host.sim.set(0x16C, c.battery);
        host.frame();
        host.click(quadrant, START_SELECTOR[0], START_SELECTOR[1]);
        EXPECT_EQ(keys(), c.engages ? std::vector<uint32_t>{0x102B0} : std::vector<uint32_t>{});
        host.frame();
        EXPECT_EQ(start_light(), c.engages) << c.apu << " " << c.battery;
        host.click(quadrant, START_SELECTOR[0], START_SELECTOR[1]);  // disengages, silently
        host.frame();
        EXPECT_FALSE(start_light());
        EXPECT_TRUE(keys().empty());
    }
}

// The overhead panel's APU sequence and the electric panel's battery make the
// start possible; the simulator then runs both starters and the lights show.
TEST(PedestalOnThePanel, StartSelectorFollowsTheOverheadApuSequence) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "overhead_switches", "electric_panel", "throttle_quadrant"}, nullptr));
    Gauge& overhead = *host.find("overhead_switches");
    Gauge& quadrant = *host.find("throttle_quadrant");
    host.frame();
    auto starts = [&] {
        host.click(quadrant, START_SELECTOR[0], START_SELECTOR[1]);
        host.frame();
        const bool lit = quadrant.state[SELECTOR].value[0] == 1;
        if (lit) host.click(quadrant, START_SELECTOR[0], START_SELECTOR[1]);
        return lit;
    };
    host.click(*host.find("electric_panel"), 127, 21);  // BAT 1
    EXPECT_FALSE(starts());
    host.click(overhead, 156, 74);  // APU master
    EXPECT_FALSE(starts());
    host.click(overhead, 156, 108);  // APU start: available ten seconds later
    host.frames(9 * 18);
    EXPECT_FALSE(starts());
    host.frames(2 * 18);
    EXPECT_TRUE(starts());
    EXPECT_EQ(host.sim.get(0x233), 1);
    EXPECT_EQ(host.sim.get(0x23D), 1);
    EXPECT_EQ(quadrant.state[21].flags & IMAGE_HIDDEN, 0u);
}

// ---------------------------------------------------------------------------
// The autobrake panel

constexpr uint32_t DOWN = 0x102FB, UP = 0x102FA;
constexpr int32_t BUTTONS[][2] = {{0, 0}, {27, 66}, {48, 66}, {74, 66}};  // LO, MED, MAX

std::vector<uint32_t> sequence(int32_t mode) {
    const int to_end = 5, back[] = {1, 2, 1, 0};
    std::vector<uint32_t> s(to_end, mode < 2 ? DOWN : UP);
    s.insert(s.end(), back[mode], mode < 2 ? UP : DOWN);
    return s;
}

// A button selects its mode from any other; its own mode, or a value of "ab"
// outside 0 to 3, turns the autobrake off. The stand-in's setting (0x8300:
// 1 off, 2 LO, 3 MED, 4 MAX) ends where "ab" says, from wherever it was.
TEST_F(Pedestal, AutobrakeButtonsSelectOrTurnOffWithTheirSequences) {
    for (int mode = 1; mode <= 3; ++mode)
        for (int32_t before : {0, 1, 2, 3, -1, 4, INT32_MIN}) {
            host.registry.set("ab", before);
            host.sim.set(0x8300, before == 0 ? 3 : 0);
            host.click(autobrake, BUTTONS[mode][0], BUTTONS[mode][1]);
            const int32_t after = (before >= 0 && before <= 3 && before != mode) ? mode : 0;
            EXPECT_EQ(host.registry.value("ab"), after) << mode << " from " << before;
            EXPECT_EQ(host.events.back().detail, "sound\\CLICK.WAV \"\" 0");  // the click comes last
            EXPECT_EQ(keys(), sequence(after)) << mode << " from " << before;
            EXPECT_EQ(host.sim.get(0x8300), after + 1);
            host.frame();
            for (int light = 1; light <= 3; ++light)
                EXPECT_EQ(hidden(state(autobrake, 3 + light)), light != after) << light;
        }
}

TEST_F(Pedestal, AutobrakeDisarmsOnEveryFrameWhileTheRolloutConditionHolds) {
    const struct {
        double flag, speed, level;
        bool disarms;
    } cases[] = {
        {1, 55, 0, true},    {1, 50.001, 0.0999, true}, {1, 50, 0, false}, {1, 60, 0, false},
        {1, 55, 0.1, false}, {0.999, 55, 0, false},     {2, 55, 0, false}, {NAN, 55, 0, false},
        {1, NAN, 0, false},  {1, 55, NAN, false},
    };
    for (const auto& c : cases) {
        host.registry.set("ab", 3);
        host.sim.set(0x3C, c.flag);
        host.sim.set(0x3D, c.speed);
        host.sim.set(0x22E, c.level);
        keys();
        host.frames(3);
        std::vector<uint32_t> expected;
        for (int i = 0; c.disarms && i < 3; ++i) expected.insert(expected.end(), {DOWN, DOWN, DOWN, DOWN, DOWN, UP});
        EXPECT_EQ(keys(), expected) << c.flag << " " << c.speed << " " << c.level;
        EXPECT_EQ(host.registry.value("ab"), c.disarms ? 0 : 3);
    }
}

// At its first draw the panel turns the autobrake off, then clears "power";
// a second draw does nothing.
TEST(AutobrakeFirstDraw, TurnsTheAutobrakeOffBeforeClearingPower) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster"}, nullptr));
    host.frame();
    host.registry.set("power", 1);
    ASSERT_TRUE(host.load({"autobrake_panel"}, nullptr));
    host.registry.set("ab", 2);
    host.registry.collect_changes();
    host.events.clear();
    for (int frame = 0; frame < 2; ++frame) host.frame();
    std::vector<std::string> order;
    for (const Event& e : host.events) {
        if (e.kind == Event::Kind::SharedChange) order.push_back(e.name);
        if (e.kind == Event::Kind::KeyEvent) order.push_back(e.number == UP ? "up" : "down");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"ab", "down", "down", "down", "down", "down", "up", "power"}));
}

// "ab" belongs to the autobrake panel alone, and the gauge that binds it, the
// upper engine display, shows what the panel wrote: AUTO BRK and the mode.
TEST_F(Pedestal, AbLivesWithItsOwnerApartFromTheBroadcastersNine) {
    Gauge& display = load({"eicas_upper"});
    for (int32_t mode : {1, 3, 0}) {
        host.click(autobrake, BUTTONS[mode ? mode : 3][0], BUTTONS[mode ? mode : 3][1]);
        host.frame();
        EXPECT_EQ(hidden(state(display, 42)), mode == 0);  // AUTO BRK
        for (int32_t m = 1; m <= 3; ++m) EXPECT_EQ(hidden(state(display, 42 + m)), m != mode) << m;
    }
    host.click(autobrake, BUTTONS[1][0], BUTTONS[1][1]);
    host.unload("broadcaster");
    EXPECT_EQ(host.registry.entries().size(), 1u);
    EXPECT_EQ(host.registry.value("ab"), 1);
    ASSERT_TRUE(host.load({"broadcaster"}, nullptr));
    host.unload("autobrake_panel");
    EXPECT_EQ(host.registry.find("ab"), nullptr);
    EXPECT_EQ(host.registry.entries().size(), 9u);
}

// ---------------------------------------------------------------------------
// The spoiler lever

TEST_F(Pedestal, SpoilerKnobFrameFollowsTheHandleInFivePositions) {
    const struct {
        double v, frame;
    } cases[] = {{0, 0}, {1, 1}, {4096, 1}, {4096.5, 1}, {4097, 2}, {8192, 2}, {8193, 3},
                 {12288, 3}, {12289, 4}, {16384, 4}, {1e300, 4}, {-1, -1}};
    for (const auto& c : cases) {
        host.sim.set(0x145, c.v);
        host.frame();
        EXPECT_EQ(state(lever, 2).value[0], c.frame) << c.v;
    }
}

// The lever never touches the sound library, on any service, yet binds,
// clears and follows "power".
TEST_F(Pedestal, SpoilerLeverNeverLoadsTheSoundLibrary) {
    host.registry.set("power", 1);
    host.frame();
    EXPECT_TRUE(bright(state(lever, 1)));
    host.unload("spoiler_lever");
    ASSERT_TRUE(host.load({"spoiler_lever"}, nullptr));
    host.frames(2);
    host.unload("spoiler_lever");
    for (const Event& e : host.events) {
        EXPECT_FALSE(e.gauge == "spoiler_lever" && e.kind == Event::Kind::Library) << e.name;
        EXPECT_FALSE(e.gauge == "spoiler_lever" && e.kind == Event::Kind::Sound) << e.name;
    }
}

// ---------------------------------------------------------------------------
// The simulator stand-in

TEST(PedestalStandIn, ThrustLeversStepBetweenIdleAndFullAndIntoReverse) {
    const struct {
        double thrust, reverse;
        uint32_t event;
        int times;
        double thrust_after, reverse_after;
    } cases[] = {
        {0, 0, 0x1003E, 1, 1024, 0},     {0, 0, 0x1003E, 17, 16383, 0},  {3000, 0, 0x10042, 1, 1976, 0},
        {1000, 0, 0x10042, 2, 0, 0.1},   {0, 0.9, 0x10042, 5, 0, 1},     {0, 0.3, 0x1003E, 4, 1024, 0},
        {NAN, NAN, 0x1003E, 1, 1024, 0}, {-500, -2, 0x10042, 1, 0, 0.1}, {1e300, 0, 0x10042, 1, 15359, 0},
    };
    Sim sim;
    for (const auto& c : cases) {
        for (uint32_t id : {0x80u, 0xA3u}) sim.set(id, c.thrust);
        for (uint32_t id : {0x281u, 0x294u}) sim.set(id, c.reverse);
        for (int i = 0; i < c.times; ++i) sim.key_event(c.event, 0);
        for (uint32_t id : {0x80u, 0xA3u}) EXPECT_EQ(sim.get(id), c.thrust_after) << c.thrust << " " << c.times;
        for (uint32_t id : {0x281u, 0x294u}) EXPECT_EQ(sim.get(id), c.reverse_after) << c.reverse;
    }
}

// The gear follows its handle over a few seconds at any frame rate, the nose
// first; a position the simulator cannot use goes straight to the handle's.
TEST(PedestalStandIn, GearTravelsToItsHandleOverSeconds) {
    Sim sim;
    ASSERT_TRUE(sim.enable_model("gear", true));
    for (uint32_t fps : {18u, 2u}) {
        sim.set_frame_rate(fps);
        for (double handle : {16383.0, 0.0}) {
            sim.set(0x14B, handle);
            for (uint32_t frame = 1; frame <= 7 * fps; ++frame) {
                sim.advance_frame();
                EXPECT_EQ(sim.get(0x14C) == handle, frame >= 5 * fps) << fps << " " << frame;  // the nose
                EXPECT_EQ(sim.get(0x14E) == handle, frame >= 6.5 * fps) << fps << " " << frame;
            }
        }
    }
    sim.set(0x14D, NAN);
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x14D), 0);
}

}  // namespace
}  // namespace kestrel::test
