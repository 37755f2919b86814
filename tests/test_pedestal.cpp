// The gear handle, the spoiler lever and arm switch, and what the simulator
// stand-in does with the pedestal's key events and the gear's travel.
#include <math.h>

#include "support.h"

namespace kestrel::test {
namespace {

class GearHandle : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "gear_handle"});
    void SetUp() override { host.frame(); }
};

TEST_F(GearHandle, KnobSlidesWithTheHandleAndEveryElementFollowsPower) {
    const SliderElement* knob = g.element_as<SliderElement>(2);
    EXPECT_EQ(knob->source_y.id, 0x14Bu);
    const double scale_x = knob->scale_x, scale_y = knob->scale_y;  // (the record is packed)
    EXPECT_DOUBLE_EQ(scale_y * 16383, 49);  // y = 5 up to y = 54 down
    EXPECT_EQ(scale_x, 0);
    for (int32_t power : {1, 0, 2}) {
        host.registry.set("power", power);
        for (double v : {0.0, 16383.0, 8000.5}) {
            host.sim.set(0x14B, v);
            host.frame();
            EXPECT_EQ(state(g, 2).value[1], v);
            EXPECT_EQ(state(g, 2).value[0], 0);
            for (size_t i = 1; i < 5; ++i) EXPECT_EQ(bright(state(g, i)), power == 1) << i;
        }
    }
    EXPECT_EQ(state(g, 3).text, "UP" + std::string(399, ' ') + "0");
    EXPECT_EQ(state(g, 4).text, "DN" + std::string(399, ' ') + "0");
}

TEST_F(GearHandle, EachClickOnTheSlotTogglesTheGearOnceSilently) {
    host.events.clear();
    host.click(g, 10, 40);
    host.click(g, 2, 4);
    host.click(g, 20, 77);
    host.click(g, 21, 40);  // outside the slot's area
    host.click(g, 10, 78);
    EXPECT_EQ(keys(), (std::vector<uint32_t>(3, 0x10022)));
    EXPECT_EQ(host.sim.get(0x14B), 16383);  // down, up, down
    host.unload("gear_handle");
    EXPECT_EQ(sounds(), std::vector<std::string>{"TerminateSounds"});
}

class SpoilerLever : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "spoiler_lever"});
};

TEST_F(SpoilerLever, KnobFrameFollowsTheHandleInFivePositions) {
    host.frame();
    const struct {
        double v, frame;
    } cases[] = {{0, 0}, {1, 1}, {4096, 1}, {4096.5, 1}, {4097, 2}, {8192, 2}, {8193, 3},
                 {12288, 3}, {12289, 4}, {16384, 4}, {1e300, 4}, {-1, -1}, {-1e300, -1e300}};
    for (const auto& c : cases) {
        host.sim.set(0x145, c.v);
        host.frame();
        EXPECT_EQ(state(g, 2).value[0], c.frame) << c.v;
    }
}

TEST_F(SpoilerLever, EachAreaSetsItsPositionOnceAndTheKnobFollows) {
    host.frame();
    const struct {
        int32_t x, y;
        uint32_t value;
        double frame;
    } areas[] = {{40, 5, 0, 0}, {40, 15, 0, 0}, {40, 20, 4096, 1}, {40, 40, 8192, 2},
                 {40, 55, 12288, 3}, {40, 75, 16384, 4}, {28, 75, 16384, 4}};
    for (const auto& a : areas) {
        host.events.clear();
        host.click(g, a.x, a.y);
        ASSERT_FALSE(host.events.empty());
        EXPECT_EQ(host.events[0].kind, Event::Kind::KeyEvent);
        EXPECT_EQ(host.events[0].number, 0x100FAu);
        EXPECT_EQ(host.events[0].value, a.value);
        EXPECT_EQ(keys().size(), 1u);
        host.frame();
        EXPECT_EQ(state(g, 2).value[0], a.frame);
    }
    host.click(g, 40, 63);  // between areas 4 and 5
    host.click(g, 20, 40);
    EXPECT_TRUE(keys().empty());
}

// The lever never touches the sound library and does nothing on pre-update
// or pre-kill; it still binds and clears "power" and lights with it.
TEST_F(SpoilerLever, NeverLoadsTheSoundLibrary) {
    host.registry.set("power", 1);
    host.frames(2);
    EXPECT_EQ(host.registry.value("power"), 0);
    host.registry.set("power", 1);
    host.frame();
    for (size_t i = 1; i < 5; ++i) EXPECT_TRUE(bright(state(g, i))) << i;
    host.click(g, 40, 40);
    host.unload("spoiler_lever");
    for (const Event& e : host.events)
        EXPECT_FALSE(e.gauge == "spoiler_lever" && e.kind == Event::Kind::Library) << e.name;
    EXPECT_TRUE(sounds().empty());
}

TEST(SpoilerArm, ClickTogglesTheArmingWithTheSwitchSoundAndOnlyLabelsLight) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "spoiler_arm"}, nullptr));
    Gauge& g = *host.find("spoiler_arm");
    host.frame();
    host.registry.set("power", 1);
    host.registry.collect_changes();
    for (double armed : {1.0, 0.0, 1.0}) {
        host.events.clear();
        host.click(g, 20, 30);
        ASSERT_EQ(host.events.size(), 3u);
        EXPECT_EQ(host.events[0].number, 0x1013Du);
        EXPECT_EQ(host.events[2].name, "PlaySoundA");
        EXPECT_EQ(host.events[2].detail, "sound\\SWITCH.WAV");
        host.frame();
        EXPECT_EQ(g.state[1].value[0], armed);
        EXPECT_FALSE(g.state[1].flags & IMAGE_BRIGHT);
        for (size_t i = 2; i < 5; ++i) EXPECT_TRUE(g.state[i].flags & IMAGE_BRIGHT);
    }
    const char* const texts[] = {"SPOIL ARM", "OFF", "ON"};
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(g.state[2 + i].text, texts[i] + std::string(399, ' ') + "0");
}

// ---------------------------------------------------------------------------
// The simulator stand-in

class PedestalStandIn : public ::testing::Test {
protected:
    Sim sim;
    void send(uint32_t event, uint32_t value = 0) { sim.key_event(event, value); }
    void send(uint32_t event, int times) {
        for (int i = 0; i < times; ++i) send(event);
    }
};

TEST_F(PedestalStandIn, ThrustLeversStepBetweenIdleAndFullAndIntoReverse) {
    const struct {
        double thrust, reverse;
        uint32_t event;
        int times;
        double thrust_after, reverse_after;
    } cases[] = {
        {0, 0, 0x1003E, 1, 1024, 0},        {0, 0, 0x1003E, 16, 16383, 0},
        {16000, 0, 0x1003E, 1, 16383, 0},   {3000, 0, 0x10042, 1, 1976, 0},
        {1000, 0, 0x10042, 1, 0, 0},        {0, 0, 0x10042, 3, 0, 0.3},
        {0, 0.9, 0x10042, 5, 0, 1},         {0, 0.3, 0x1003E, 3, 0, 0},
        {0, 0.3, 0x1003E, 4, 1024, 0},      {NAN, NAN, 0x1003E, 1, 1024, 0},
        {-500, -2, 0x10042, 1, 0, 0.1},     {1e300, 0, 0x10042, 1, 16383 - 1024, 0},
    };
    for (const auto& c : cases) {
        for (uint32_t id : {0x80u, 0xA3u}) sim.set(id, c.thrust);
        for (uint32_t id : {0x281u, 0x294u}) sim.set(id, c.reverse);
        send(c.event, c.times);
        for (uint32_t id : {0x80u, 0xA3u}) EXPECT_EQ(sim.get(id), c.thrust_after) << c.thrust << " " << c.times;
        for (uint32_t id : {0x281u, 0x294u}) EXPECT_DOUBLE_EQ(sim.get(id), c.reverse_after) << c.reverse;
    }
}

TEST_F(PedestalStandIn, SwitchesTrimSpoilersAndGearHandle) {
    send(0x1004F, 3);
    EXPECT_EQ(sim.get(0x30F), 0.015);
    send(0x10047, 200);
    EXPECT_EQ(sim.get(0x30F), -0.42);
    for (auto [event, var] : {std::pair{0x103BEu, 0x37Fu}, {0x103BFu, 0x380u}, {0x1013Du, 0x144u}}) {
        send(event);
        EXPECT_EQ(sim.get(var), 1);
        send(event);
        EXPECT_EQ(sim.get(var), 0);
    }
    send(0x102B0);
    EXPECT_EQ(sim.get(0x233), 1);
    EXPECT_EQ(sim.get(0x23D), 1);
    for (uint32_t value : {8192u, 0u, 16384u, 0xFFFFFFFFu}) {
        send(0x100FA, value);
        EXPECT_EQ(sim.get(0x145), value > 16384 ? 16384 : value);
    }
    for (auto [before, after] : {std::pair{0.0, 16383.0}, {16383.0, 0.0}, {double(NAN), 16383.0}, {9000.0, 0.0}}) {
        sim.set(0x14B, before);
        send(0x10022);
        EXPECT_EQ(sim.get(0x14B), after);
    }
}

// Whatever the simulator's setting was, the panel's sequences leave it at
// 1 off, 2 LO, 3 MED or 4 MAX.
TEST_F(PedestalStandIn, AutobrakeSequencesReachTheirSettingFromAnywhere) {
    const struct {
        uint32_t first;
        int n;
        uint32_t second;
        int m;
        double setting;
    } sequences[] = {{0x102FB, 5, 0x102FA, 1, 1}, {0x102FB, 5, 0x102FA, 2, 2},
                     {0x102FA, 5, 0x102FB, 1, 3}, {0x102FA, 5, 0x102FB, 0, 4}};
    for (const auto& s : sequences)
        for (double start : {0.0, 1.0, 2.0, 4.0, -7.0, 99.0, double(NAN)}) {
            sim.set(0x8300, start);
            send(s.first, s.n);
            send(s.second, s.m);
            EXPECT_EQ(sim.get(0x8300), s.setting) << start;
        }
}

// The gear follows its handle over a few seconds at any frame rate, the nose
// first; a position the simulator cannot use goes straight to the handle's.
TEST_F(PedestalStandIn, GearTravelsToItsHandleOverSeconds) {
    ASSERT_TRUE(sim.enable_model("gear", true));
    for (uint32_t fps : {18u, 2u}) {
        sim.set_frame_rate(fps);
        for (double handle : {16383.0, 0.0}) {
            sim.set(0x14B, handle);
            const double start = sim.get(0x14C);
            sim.advance_frame();
            EXPECT_GT(fabs(sim.get(0x14C) - start), 0);
            EXPECT_NE(sim.get(0x14C), handle);
            for (uint32_t i = 1; i < 5 * fps - 1; ++i) sim.advance_frame();
            EXPECT_NE(sim.get(0x14C), handle) << fps;
            sim.advance_frame();
            EXPECT_EQ(sim.get(0x14C), handle) << fps;  // the nose in 5 s
            EXPECT_NE(sim.get(0x14E), handle);
            for (uint32_t i = 0; i < 2 * fps; ++i) sim.advance_frame();
            EXPECT_EQ(sim.get(0x14D), handle);
            EXPECT_EQ(sim.get(0x14E), handle);
        }
    }
    sim.set(0x14D, NAN);
    sim.set(0x14E, INFINITY);
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x14D), 0);
    EXPECT_EQ(sim.get(0x14E), 0);
}

}  // namespace
}  // namespace kestrel::test
