// The twin display switches: each knob toggles its display variable ("eicas"
// or "display"), shows it as its frame, and plays the switch sound, one
// before and one after the toggle.
#include "tests/support.h"

namespace kestrel::test {
namespace {

enum { PANEL, KNOB, OFF_LABEL, ON_LABEL, TITLE };

struct Twin {
    const char* module;
    const char* variable;
    bool sound_first;
    uint32_t panel, knob;
    PixPoint knob_at, off_at, title_at;
    std::string off, on, title;
    PixBox box;
};

const Twin TWINS[] = {
    {"display_switch_1", "eicas", true, 0x1100, 0x100, {10, 20}, {21, 14}, {13, 7},
     "OFF" + std::string(399, ' ') + "0", "ON" + std::string(399, ' ') + "0",
     "DISPLAY 1" + std::string(399, ' ') + "0", {10, 21, 27, 26}},
    {"display_switch_2", "display", false, 0x100, 0x1100, {10, 21}, {21, 15}, {13, 6},
     "OFF" + std::string(799, ' ') + "0", "ON" + std::string(599, ' ') + "0",
     "DISPLAY 2" + std::string(599, ' ') + "0", {10, 21, 27, 28}},
};

class DisplaySwitch : public HostTest, public ::testing::WithParamInterface<Twin> {
protected:
    const Twin& t = GetParam();
    Gauge& g = load({"broadcaster", t.module});
    std::vector<Event> loading;
    void SetUp() override {
        loading = host.events;
        host.frame();
        host.events.clear();
    }
    void click() { host.click(g, 20, 35); }
    int32_t value() { return host.registry.value(t.variable); }
};

TEST_P(DisplaySwitch, BindsItsDisplayThenPower) {
    std::vector<std::string> bound;
    for (const Event& e : loading)
        if (e.kind == Event::Kind::Bind && e.gauge == t.module) bound.push_back(e.name);
    EXPECT_EQ(bound, (std::vector<std::string>{t.variable, "power"}));
}

TEST_P(DisplaySwitch, SoundAndToggleComeInTheTwinsOrder) {
    click();
    std::vector<std::string> done;
    for (const Event& e : host.events) {
        if (e.kind == Event::Kind::Sound) done.push_back(e.name + " " + e.detail + " " + std::to_string(e.value));
        if (e.kind == Event::Kind::SharedChange) done.push_back(e.name + " " + std::to_string(e.value));
    }
    const std::string sound = "PlaySoundA sound\\SWITCH.WAV 131073", toggle = std::string(t.variable) + " 1";
    const std::vector<std::string> want =
        t.sound_first ? std::vector<std::string>{sound, toggle} : std::vector<std::string>{toggle, sound};
    EXPECT_EQ(done, want);
    EXPECT_TRUE(keys().empty());
}

TEST_P(DisplaySwitch, KnobTogglesFromZeroOneAndAnyOtherValueAndShowsItUnsigned) {
    for (auto [before, after] : {std::pair{0, 1}, {1, 0}, {2, 0}, {-1, 0}, {7, 0}}) {
        host.registry.set(t.variable, before);
        host.frame();
        EXPECT_EQ(state(g, KNOB).value[0], static_cast<double>(static_cast<uint32_t>(before)));
        click();
        EXPECT_EQ(value(), after) << before;
        host.frame();
        EXPECT_EQ(state(g, KNOB).value[0], after);
    }
}

TEST_P(DisplaySwitch, LabelsLightWithThePanelTheKnobTurnsUnlit) {
    for (int32_t power : {0, 1, 2, 1, 0}) {
        host.registry.set("power", power);
        click();
        host.frame();
        for (size_t i : {OFF_LABEL, ON_LABEL, TITLE}) EXPECT_EQ(bright(state(g, i)), power == 1) << i;
        EXPECT_FALSE(bright(state(g, KNOB)));
        EXPECT_FALSE(bright(state(g, PANEL)));
        EXPECT_EQ(state(g, KNOB).value[0], value());
    }
}

TEST_P(DisplaySwitch, FirstDrawTurnsTheDisplayOff) {
    host.unload(t.module);
    Gauge& again = load({t.module});
    host.registry.set(t.variable, 1);
    host.registry.set("power", 1);
    host.frame();
    EXPECT_EQ(value(), 0);
    EXPECT_EQ(host.registry.value("power"), 0);
    host.frame();
    EXPECT_EQ(state(again, KNOB).value[0], 0);
    // One click turns it on, the next off.
    host.click(again, 20, 35);
    EXPECT_EQ(value(), 1);
    host.click(again, 20, 35);
    EXPECT_EQ(value(), 0);
}

INSTANTIATE_TEST_SUITE_P(Twins, DisplaySwitch, ::testing::ValuesIn(TWINS),
                         [](const ::testing::TestParamInfo<Twin>& info) { return std::string(info.param.module); });

class DisplaySwitchAlone : public HostTest {};

TEST_F(DisplaySwitchAlone, WithoutTheBroadcasterTheKnobStaysOffAndStillClicks) {
    Gauge& g = load({"display_switch_1", "display_switch_2"});
    host.frame();
    host.click(*host.find("display_switch_1"), 20, 35);
    host.click(g, 20, 35);
    host.frame();
    EXPECT_EQ(state(g, KNOB).value[0], 0);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"PlaySoundA sound\\SWITCH.WAV", "PlaySoundA sound\\SWITCH.WAV"}));
}

}  // namespace
}  // namespace kestrel::test
