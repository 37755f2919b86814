// The simulator stand-in's engines: a start from the starter and the master
// switch, thrust following the lever, the run-down, fuel burning, and inputs
// no engine could give.
#include <math.h>

#include "host/sim/sim.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t FUEL = 0x317;
double celsius(const Sim& sim, uint32_t egt) { return (sim.get(egt) - 492) * 5 / 9; }

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
};

TEST(EngineModel, StartsToIdleAlikeAtAnyFrameRate) {
    double fuel_left[2];
    for (uint32_t fps : {18u, 2u}) {
        Engines m(fps);
        m.sim.set(0x37F, 1);  // master on, and the starter as the start event leaves it
        m.sim.set(0x233, 1);
        double peak = 0;
        for (uint32_t s = 0; s < 60 * fps; ++s) {
            m.sim.advance_frame();
            if (m.sim.get(0x27E) == 0) {
                EXPECT_LT(m.sim.get(0x271), 21) << fps;  // lights off at 20 % N2
            }
            peak = fmax(peak, celsius(m.sim, 0x237));
        }
        // Idle: N2 60 %, N1 20 %; the start's EGT peak above idle's; the
        // starter dropped out. Engine 2 stands cold and still.
        const std::pair<uint32_t, double> idle[] = {{0x271, 60}, {0x270, 20}, {0x27E, 660}, {0x233, 0},
                                                    {0x284, 0},  {0x291, 0},  {0x241, 519}};
        for (const auto& [id, v] : idle) EXPECT_EQ(m.sim.get(id), v) << fps << " " << std::hex << id;
        EXPECT_EQ(celsius(m.sim, 0x237), 420) << fps;
        EXPECT_GT(peak, 600) << fps;
        EXPECT_GT(m.sim.get(0x231), 490 + 30 * 9 / 5) << fps;  // the oil warms
        fuel_left[fps == 18 ? 0 : 1] = m.sim.get(FUEL);
    }
    EXPECT_LT(fuel_left[0], 20000 - 8);  // 40 s and more at 660 lb/h
    EXPECT_NEAR(fuel_left[0], fuel_left[1], 2);
}

TEST(EngineModel, ThrustFollowsTheLeverAndTheEngineStopsWithTheMasterOrTheFuel) {
    Engines m;
    m.sim.set(0x380, 1);
    m.sim.set(0x23D, 1);
    m.seconds(60);
    const struct {
        double lever, seconds, n1_low, n1_high;  // N1 after that long
    } steps[] = {
        {16383, 1, 21, 60}, {16383, 15, 100, 100}, {8191.5, 15, 60, 60}, {0, 1, 21, 59}, {0, 15, 20, 20},
        {NAN, 5, 20, 20},  {1e300, 15, 100, 100},  {-5, 15, 20, 20},     {16383, 15, 100, 100},
    };
    for (const auto& s : steps) {
        m.sim.set(0xA3, s.lever);
        m.seconds(s.seconds);
        EXPECT_GE(m.sim.get(0x283), s.n1_low) << s.lever << " " << s.seconds;
        EXPECT_LE(m.sim.get(0x283), s.n1_high) << s.lever << " " << s.seconds;
    }
    EXPECT_EQ(m.sim.get(0x291), 5800);
    EXPECT_EQ(celsius(m.sim, 0x241), 780);
    // Master off: the fuel is cut at once and the engine runs down.
    m.sim.set(0x380, 0);
    m.seconds(1.0 / 18);
    EXPECT_EQ(m.sim.get(0x291), 0);
    const double fuel = m.sim.get(FUEL);
    m.seconds(60);
    EXPECT_EQ(m.sim.get(0x284), 0);
    EXPECT_LT(celsius(m.sim, 0x241), 100);
    EXPECT_EQ(m.sim.get(FUEL), fuel);
    // Without the master a held starter turns the core to 25 % and no fuel
    // lights; with the master, the engine runs until the tanks are dry.
    for (int i = 0; i < 18 * 30; ++i) {
        m.sim.hold(0x23D, 1, 0);
        m.sim.advance_frame();
    }
    EXPECT_NEAR(m.sim.get(0x284), 25, 0.1);
    EXPECT_EQ(m.sim.get(0x291), 0);
    m.sim.set(0x380, 1);
    m.sim.set(FUEL, 3);
    m.seconds(60);
    EXPECT_EQ(m.sim.get(FUEL), 0);
    EXPECT_EQ(m.sim.get(0x291), 0);
}

TEST(EngineModel, HostileInputsAndTickJumpsKeepEveryValueInRange) {
    Engines m;
    for (uint32_t id : {0x37F, 0x380, 0x233, 0x23D}) m.sim.set(id, 1);
    const std::pair<uint32_t, double> inputs[] = {
        {0x1, NAN},    {0x1, 1e300},  {0x1, -1e9},      {0x1, 100},   {0x80, INFINITY},   {0xA3, NAN},
        {FUEL, NAN},   {FUEL, -50},   {FUEL, INFINITY}, {0x271, NAN}, {0x237, -INFINITY}, {0x231, 1e300},
        {0x284, 1e9},  {0x37F, NAN},  {0x1, 4e9},       {FUEL, 20000},
    };
    for (const auto& [input, value] : inputs) {
        m.sim.set(input, value);
        m.seconds(2);
        for (uint32_t id : {0x270, 0x271, 0x237, 0x27E, 0x231, 0x282, 0x283, 0x284, 0x241, 0x291, 0x23B, 0x295})
            EXPECT_TRUE(isfinite(m.sim.get(id))) << std::hex << input << " " << value << " " << id;
        for (uint32_t n2 : {0x271, 0x284}) EXPECT_TRUE(m.sim.get(n2) >= 0 && m.sim.get(n2) <= 110);
    }
    // Switched off for ten minutes and on again: the engines go on from
    // where they were, without the pause.
    const double n2 = m.sim.get(0x271);
    m.sim.enable_model("engines", false);
    for (int i = 0; i < 18 * 600; ++i) m.sim.advance_frame();
    m.sim.enable_model("engines", true);
    m.sim.advance_frame();
    EXPECT_EQ(m.sim.get(0x271), n2);
}

}  // namespace
}  // namespace kestrel::test
