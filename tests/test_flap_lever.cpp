// The flap lever, driven through the host as the simulator drives it.
#include <math.h>

#include "support.h"

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

TEST_F(FlapLever, PresentsItsRecordsAsTheSimulatorReadsThem) {
    const GaugeHeader* h = lever.layout.header;
    EXPECT_STREQ(h->name, "KESTREL");
    EXPECT_EQ(h->version, 800u);
    EXPECT_EQ(h->size_x_mm, 100u);
    EXPECT_EQ(lever.layout.linkage->version, 0x800u);

    ASSERT_EQ(lever.size(), 4u);
    const uint32_t kinds[] = {KIND_STATIC, KIND_ICON, KIND_ICON, KIND_TEXT};
    const uint32_t resources[] = {0x100, 0x1200, 0x1100, 0xFFFFFFFF};
    const PixPoint positions[] = {{0, 0}, {0, 0}, {-6, -15}, {56, 58}};
    for (size_t i = 0; i < 4; ++i) {
        const ElementHeader* e = lever.element(i);
        EXPECT_EQ(e->kind, kinds[i]) << i;
        EXPECT_EQ(e->resource_id, resources[i]) << i;
        EXPECT_EQ(e->position.x, positions[i].x) << i;
        EXPECT_EQ(e->position.y, positions[i].y) << i;
    }
    EXPECT_EQ(lever.element_as<IconElement>(MARKS)->frame_count, 2u);
    const IconElement* knob = lever.element_as<IconElement>(KNOB);
    EXPECT_EQ(knob->frame_count, 6u);
    EXPECT_EQ(knob->mode, 3u);
    EXPECT_EQ(knob->source.id, FLAP_HANDLE);
    const TextElement* label = lever.element_as<TextElement>(LABEL);
    EXPECT_EQ(label->box_width, 39);
    EXPECT_EQ(label->box_height, 14);
    EXPECT_STREQ(label->font, "Arial");
    EXPECT_EQ(label->font_weight, 500);
    EXPECT_EQ(label->charset, 1);
    EXPECT_EQ(label->text_color, 0xFFFFFFu);
    EXPECT_EQ(label->background_color, 0x80FFFFu);
    EXPECT_EQ(label->capacity, 0x4240);

    // start, upper, lower, end of area (the end-of-list entry closes it)
    ASSERT_EQ(lever.layout.mouse.size(), 4u);
    EXPECT_EQ(lever.layout.mouse[0]->kind, MOUSE_START);
    const MouseRect* upper = lever.layout.mouse[1];
    const MouseRect* lower = lever.layout.mouse[2];
    EXPECT_EQ(upper->box.x, 2);
    EXPECT_EQ(upper->box.y, 0);
    EXPECT_EQ(upper->box.width, 38);
    EXPECT_EQ(upper->box.height, 54);
    EXPECT_EQ(upper->cursor, CURSOR_DOWN);
    EXPECT_EQ(lower->box.x, 1);
    EXPECT_EQ(lower->box.y, 62);
    EXPECT_EQ(lower->box.width, 40);
    EXPECT_EQ(lower->box.height, 56);
    EXPECT_EQ(lower->cursor, CURSOR_UP);
    EXPECT_EQ(upper->flags, MOUSE_LEFT_SINGLE);
    EXPECT_EQ(lower->flags, MOUSE_LEFT_SINGLE);
    EXPECT_EQ(lever.layout.mouse[3]->kind, MOUSE_END_AREA);
}

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
