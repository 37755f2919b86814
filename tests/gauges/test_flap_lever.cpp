// The flap lever, driven through the host as the simulator drives it.
#include <math.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t FLAP_HANDLE = 0x148;
enum { SLOT, MARKS, KNOB, LABEL };

class FlapLever : public HostTest {
protected:
    Gauge& lever = load({"broadcaster", "flap_lever"});
    void SetUp() override { host.frame(); }  // the first frame clears the shared variables

    double knob_frame(double handle) {
        host.sim.set(FLAP_HANDLE, handle);
        host.frame();
        return state(lever, KNOB).value[0];
    }
};

TEST_F(FlapLever, KnobFrameFollowsTheFlapHandle) {
    const struct {
        double handle, frame;
    } cases[] = {
        {0, 0},        {1, 1},        {3276.8, 1},  {3276.81, 2},  {6553.6, 2},
        {6553.61, 3},  {9830.4, 3},   {9830.41, 4}, {13107.2, 4},  {13107.21, 5},
        {16383, 5},    {16384, 5},    {1e9, 5},     {-1, -1},      {-5000, -5000},
    };
    for (const auto& c : cases) EXPECT_EQ(knob_frame(c.handle), c.frame) << "handle " << c.handle;
}

TEST_F(FlapLever, OnlyPowerExactlyOneLightsTheMarksKnobAndLabel) {
    for (int32_t power : {0, 1, 2, -1}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i : {MARKS, KNOB, LABEL}) EXPECT_EQ(bright(state(lever, i)), power == 1) << power << " " << i;
        EXPECT_FALSE(bright(state(lever, SLOT)));
    }
}

TEST_F(FlapLever, ClicksSendOneFlapEventEachAndTheKnobFollowsTheSimulator) {
    keys();
    host.click(lever, 20, 90);  // lower half
    EXPECT_EQ(keys(), std::vector<uint32_t>{0x100DE});
    host.frame();
    EXPECT_EQ(state(lever, KNOB).value[0], 1);

    host.click(lever, 20, 10);  // upper half
    EXPECT_EQ(keys(), std::vector<uint32_t>{0x100DF});
    host.frame();
    EXPECT_EQ(state(lever, KNOB).value[0], 0);

    // The gap between the areas, and the edges just outside them.
    for (int32_t y = 54; y <= 61; ++y) host.click(lever, 20, y);
    host.click(lever, 1, 10);
    host.click(lever, 40, 10);
    host.click(lever, 0, 90);
    host.click(lever, 20, 118);
    EXPECT_TRUE(keys().empty());
    // The edges just inside.
    host.click(lever, 2, 0);
    host.click(lever, 39, 53);
    host.click(lever, 1, 62);
    host.click(lever, 40, 117);
    EXPECT_EQ(keys(), (std::vector<uint32_t>{0x100DF, 0x100DF, 0x100DE, 0x100DE}));
}

TEST_F(FlapLever, LabelShowsFlapsWithTheNumberFarOutsideItsBox) {
    const std::string& text = state(lever, LABEL).text;
    ASSERT_EQ(text.size(), 405u);
    EXPECT_EQ(text.substr(0, 5), "FLAPS");
    EXPECT_EQ(text.find_first_not_of(' ', 5), 404u);
    EXPECT_EQ(text.back(), '0');
    EXPECT_FALSE(lever.overflowed);
}

TEST_F(FlapLever, PlaysNoSound) {
    host.click(lever, 20, 90);
    host.click(lever, 20, 10);
    host.frames(3);
    host.unload("flap_lever");
    EXPECT_EQ(sounds(), std::vector<std::string>{"TerminateSounds"});
}

class FlapLeverWithoutSoundLibrary : public HostTest {
protected:
    FlapLeverWithoutSoundLibrary() : HostTest(false) {}
};

TEST_F(FlapLeverWithoutSoundLibrary, WorksAllTheSame) {
    Gauge& lever = load({"broadcaster", "flap_lever"});
    host.frame();
    host.click(lever, 20, 90);
    host.frame();
    EXPECT_EQ(keys(), std::vector<uint32_t>{0x100DE});
    EXPECT_EQ(state(lever, KNOB).value[0], 1);
    host.unload("flap_lever");
    EXPECT_TRUE(sounds().empty());
}

}  // namespace
}  // namespace kestrel::test
