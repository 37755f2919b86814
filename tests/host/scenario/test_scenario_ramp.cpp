// Scenarios: "ramp" moves simulator variables smoothly over the next frames.
#include "tests/support.h"

namespace kestrel::test {
namespace {

class Ramps : public HostTest {
protected:
    Scenario scenario{host, "ramp.kes"};
    Gauge& pfd = load({"broadcaster", "pfd"});

    void run(const std::string& text) { EXPECT_TRUE(scenario.run_text(text)) << scenario.error(); }

public:
    double speed_tape() { return pfd.state.at(10).value[1]; }  // follows 0x3D
};

TEST_F(Ramps, VariablesMoveInEqualStepsAndArriveAtTheLastFrame) {
    run("set 0x3D 100\nset 0x4A 0\nramp 0x3D 140\nramp 0x4A -1000\n");
    EXPECT_EQ(host.sim.get(0x3D), 100);  // nothing moves before the frames
    run("frames 4\n");
    EXPECT_EQ(speed_tape(), 140);
    EXPECT_EQ(host.sim.get(0x4A), -1000);

    // Each frame sees the next step: record the tape's value after each one.
    struct Seen {
        Ramps* self;
        std::vector<double> values;
    } seen{this, {}};
    scenario.after_frame_context = &seen;
    scenario.after_frame = [](void* context, uint64_t) {
        auto* s = static_cast<Seen*>(context);
        s->values.push_back(s->self->speed_tape());
    };
    run("ramp 0x3D 100\nframes 4\nframes 2\n");
    EXPECT_EQ(seen.values, (std::vector<double>{130, 120, 110, 100, 100, 100}));
    seen.values.clear();
    run("ramp 0x3D 280\nseconds 1\n");  // 18 frames of 10 knots
    ASSERT_EQ(seen.values.size(), 18u);
    for (size_t i = 0; i < 18; ++i) EXPECT_DOUBLE_EQ(seen.values[i], 110 + 10.0 * i) << i;
}

TEST_F(Ramps, HalfwayIsHalfwayAndSetCancelsARamp) {
    run("set 0x3D 100\nramp 0x3D 200\nframes 2\n");
    EXPECT_EQ(host.sim.get(0x3D), 200);
    run("ramp 0x3D 0\nframes 1\n");
    EXPECT_EQ(host.sim.get(0x3D), 0);
    run("ramp 0x3D 100\nset 0x3D 42\nframes 3\n");
    EXPECT_EQ(host.sim.get(0x3D), 42);
    run("ramp 0x3D 84\nframes 0\n");  // no frame: there at once
    EXPECT_EQ(host.sim.get(0x3D), 84);
    EXPECT_FALSE(scenario.run_line("ramp 0x3D"));
    EXPECT_FALSE(scenario.run_line("ramp x 1"));
}

}  // namespace
}  // namespace kestrel::test
