// The simulator stand-in's engines: a start from the starter and the master
// switch, thrust following the lever, the run-down, fuel burning, and inputs
// no engine could give.
#include <math.h>

#include "host/sim.h"
#include "support.h"

namespace kestrel::test {
namespace {

struct Ids {
    uint32_t lever, master, starter, n1, n2, egt, flow, oil, vibration;
};
constexpr Ids ENGINE[2] = {
    {0x80, 0x37F, 0x233, 0x270, 0x271, 0x237, 0x27E, 0x231, 0x282},
    {0xA3, 0x380, 0x23D, 0x283, 0x284, 0x241, 0x291, 0x23B, 0x295},
};
constexpr uint32_t FUEL = 0x317;

double egt_celsius(const Sim& sim, int e) { return (sim.get(ENGINE[e].egt) - 492) * 5 / 9; }

struct Engines {
    Sim sim;
    explicit Engines(uint32_t fps = 18) {
        sim.set_frame_rate(fps);
        sim.set(FUEL, 20000);
        EXPECT_TRUE(sim.enable_model("engines", true));
    }
    void seconds(double s) {
        for (uint32_t i = 0; i < s * sim.frame_rate(); ++i) sim.advance_frame();
    }
    void start(int e) {
        sim.set(ENGINE[e].master, 1);
        sim.set(ENGINE[e].starter, 1);  // as the start event leaves it
    }
};

TEST(EngineModel, StartsToIdleAlikeAtAnyFrameRate) {
    double fuel_left[2];
    for (uint32_t fps : {18u, 2u}) {
        Engines m(fps);
        m.start(0);
        double peak = 0, light_off = -1;
        for (int s = 0; s < 60 * int(fps); ++s) {
            m.sim.advance_frame();
            if (light_off < 0 && m.sim.get(0x27E) > 0) {
                light_off = double(s) / fps;
                EXPECT_GE(m.sim.get(0x271), 20) << fps;  // lights off at 20 % N2
            }
            peak = fmax(peak, egt_celsius(m.sim, 0));
        }
        EXPECT_GT(light_off, 3) << fps;
        EXPECT_LT(light_off, 10) << fps;
        EXPECT_EQ(m.sim.get(0x271), 60) << fps;  // settled at idle
        EXPECT_EQ(m.sim.get(0x270), 20) << fps;
        EXPECT_EQ(m.sim.get(0x27E), 660) << fps;
        EXPECT_EQ(egt_celsius(m.sim, 0), 420) << fps;
        EXPECT_GT(peak, 600) << fps;  // the start peak lies above idle
        EXPECT_EQ(m.sim.get(0x233), 0) << fps;  // the starter dropped out
        EXPECT_GT((m.sim.get(0x231) - 490) * 5 / 9, 30) << fps;  // the oil warms
        EXPECT_GT(m.sim.get(0x282), 0) << fps;
        // Engine 2 was never started: cold and still, and no fuel burned for it.
        EXPECT_EQ(m.sim.get(0x284), 0) << fps;
        EXPECT_EQ(m.sim.get(0x291), 0) << fps;
        EXPECT_EQ(egt_celsius(m.sim, 1), 15) << fps;
        fuel_left[fps == 18 ? 0 : 1] = m.sim.get(FUEL);
    }
    EXPECT_LT(fuel_left[0], 20000 - 8);  // over 40 s at 660 lb/h and more
    EXPECT_NEAR(fuel_left[0], fuel_left[1], 2);
}

TEST(EngineModel, ThrustFollowsTheLeverWithALagAndStopsWithTheMaster) {
    Engines m;
    m.start(1);
    m.seconds(60);
    const struct {
        double lever;
        double seconds;
        double n1_low, n1_high;  // after that long
    } steps[] = {
        {16383, 1, 21, 60}, {16383, 15, 100, 100}, {8191.5, 15, 60, 60}, {0, 1, 21, 59}, {0, 15, 20, 20},
        {NAN, 5, 20, 20},  {1e300, 15, 100, 100},  {-5, 15, 20, 20},
    };
    for (const auto& s : steps) {
        m.sim.set(0xA3, s.lever);
        m.seconds(s.seconds);
        EXPECT_GE(m.sim.get(0x283), s.n1_low) << s.lever << " " << s.seconds;
        EXPECT_LE(m.sim.get(0x283), s.n1_high) << s.lever << " " << s.seconds;
    }
    m.sim.set(0xA3, 16383);
    m.seconds(15);
    EXPECT_EQ(m.sim.get(0x291), 5800);
    EXPECT_NEAR(egt_celsius(m.sim, 1), 780, 5);
    // Master off: fuel cut at once, the engine runs down and cools.
    m.sim.set(0x380, 0);
    m.seconds(1.0 / 18);
    EXPECT_EQ(m.sim.get(0x291), 0);
    const double fuel = m.sim.get(FUEL);
    double n2 = m.sim.get(0x284);
    for (int s = 0; s < 60; ++s) {
        m.seconds(1);
        EXPECT_LE(m.sim.get(0x284), n2);
        n2 = m.sim.get(0x284);
    }
    EXPECT_EQ(n2, 0);
    EXPECT_LT(egt_celsius(m.sim, 1), 100);
    EXPECT_EQ(m.sim.get(FUEL), fuel);
}

TEST(EngineModel, NoLightOffWithoutMasterOrFuel) {
    // The starter alone turns the core to 25 % and no further, with no fuel.
    Engines m;
    for (int i = 0; i < 18 * 30; ++i) {
        m.sim.hold(0x233, 1, 0);  // a starter button held
        m.sim.advance_frame();
    }
    EXPECT_NEAR(m.sim.get(0x271), 25, 0.1);
    EXPECT_LE(m.sim.get(0x271), 25);
    EXPECT_EQ(m.sim.get(0x27E), 0);
    m.seconds(30);  // released: it runs down
    EXPECT_LT(m.sim.get(0x271), 1);
    // With the master on but the tanks empty, nothing lights either.
    m.sim.set(FUEL, 0);
    m.start(0);
    m.seconds(30);
    EXPECT_EQ(m.sim.get(0x27E), 0);
    // A running engine stops when the fuel is gone.
    m.sim.set(FUEL, 2);
    m.seconds(40);
    EXPECT_EQ(m.sim.get(FUEL), 0);
    EXPECT_EQ(m.sim.get(0x27E), 0);
}

TEST(EngineModel, HostileInputsAndTickJumpsKeepEveryValueInRange) {
    Engines m;
    m.start(0);
    m.start(1);
    const struct {
        uint32_t id;
        double value;
    } inputs[] = {
        {0x1, NAN},     {0x1, 1e300},  {0x1, -1e9},   {0x1, 100},      {0x80, INFINITY}, {0xA3, NAN},
        {FUEL, NAN},    {FUEL, -50},   {FUEL, INFINITY}, {0x271, NAN}, {0x237, -INFINITY}, {0x231, 1e300},
        {0x284, 1e9},   {0x37F, NAN},  {0x1, 4e9},    {FUEL, 20000},
    };
    for (const auto& in : inputs) {
        m.sim.set(in.id, in.value);
        m.seconds(2);
        for (const Ids& e : ENGINE) {
            for (uint32_t id : {e.n1, e.n2, e.egt, e.flow, e.oil, e.vibration})
                EXPECT_TRUE(isfinite(m.sim.get(id))) << std::hex << in.id << " " << in.value << " " << id;
            EXPECT_GE(m.sim.get(e.n2), 0);
            EXPECT_LE(m.sim.get(e.n2), 110);
            EXPECT_LE(m.sim.get(e.flow), 5800);
        }
    }
    // Switched off for a while and on again: the engines pick up where they
    // were, without the pause.
    const double n2 = m.sim.get(0x271);
    m.sim.enable_model("engines", false);
    for (int i = 0; i < 18 * 600; ++i) m.sim.advance_frame();
    m.sim.enable_model("engines", true);
    m.sim.advance_frame();
    EXPECT_EQ(m.sim.get(0x271), n2);
}

}  // namespace
}  // namespace kestrel::test
