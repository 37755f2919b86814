// The two autopilot panels driven through the host as the simulator drives
// them: windows, lights, knobs and buttons, and the order of key events and
// sounds of each action. What the simulator does with the events, and what
// crosses to other gauges, is in test_autoflight.cpp.
#include <math.h>

#include <algorithm>

#include "tests/support.h"

namespace kestrel::test {
namespace {

// Flight control unit: elements, and points inside its areas.
enum {
    HDG_LIGHT = 2, AP_LIGHT, NAV_LIGHT, ATH_LIGHT, HLD_LIGHT, APPR_LIGHT, HEADING_KNOB, ALTITUDE_KNOB,
    MACH_LABEL, IAS_LABEL, MACH_DIGITS, SPEED_DIGITS, SPEED_KNOB, CRS_LABEL, HDG_LABEL, FT_LABEL = 18,
    M_LABEL, HEADING_DIGITS = 21, ALTITUDE_DIGITS, VS_DIGITS, VS_KNOB = 37
};
constexpr PixPoint SPD_MACH = {20, 50}, SPEED_LEFT = {50, 60}, SPEED_RIGHT = {85, 60}, ATH = {224, 103},
                   HDG_CRS = {139, 63}, HEADING_LEFT = {115, 60}, HEADING_RIGHT = {160, 60},
                   HDG_BUTTON = {138, 104}, AP_BUTTON = {204, 76}, NAV_BUTTON = {243, 76},
                   HLD_BUTTON = {303, 103}, APPR_BUTTON = {386, 103}, METRIC = {344, 52},
                   ALT_LEFT = {280, 66}, ALT_RIGHT = {316, 66}, VS_DOWN = {369, 65}, VS_UP = {400, 65};

// Autopilot panel 1.
enum { FD_LIGHT = 1, NAV_GPS = 7, BARO_KNOB, ADF_VOR = 11, MILLIBARS = 17, INCHES };
constexpr PixPoint BARO_PUSH = {53, 72}, BARO_LEFT = {28, 70}, BARO_RIGHT = {70, 70}, FD_BUTTON = {36, 101},
                   ADF_VOR_SELECTOR = {134, 99}, NAV_GPS_SELECTOR = {133, 66}, LVL = {114, 25},
                   TOGA = {147, 25}, BC = {179, 26}, IAS = {208, 25}, MACH = {239, 25};

const std::string CLICK = "sound\\CLICK.WAV", SWITCH = "sound\\SWITCH.WAV";
std::string key(uint32_t id) {
    char s[16];
    snprintf(s, sizeof s, "0x%X", id);
    return s;
}

class AutopilotPanels : public HostTest {
protected:
    Gauge& fcu = load({"broadcaster", "autopilot_panel_1", "autopilot_panel_2"});
    Gauge& one = *host.find("autopilot_panel_1");
    std::vector<Event> loading = host.events;
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void click(Gauge& g, PixPoint p) { host.click(g, p.x, p.y); }
    const ElementState& after_frame(Gauge& g, size_t i) {
        host.frame();
        return state(g, i);
    }
    // Key events (with a nonzero value marked "!"), sounds and shared
    // variable changes, in the order they came.
    std::vector<std::string> actions() {
        std::vector<std::string> out;
        for (const Event& e : host.events) {
            if (e.kind == Event::Kind::KeyEvent) out.push_back(key(uint32_t(e.number)) + (e.value ? "!" : ""));
            if (e.kind == Event::Kind::Sound) out.push_back(e.detail.substr(0, e.detail.find(' ')));
            if (e.kind == Event::Kind::SharedChange) out.push_back(e.name + " " + std::to_string(e.value));
        }
        host.events.clear();
        return out;
    }
};

TEST_F(AutopilotPanels, BindAndRefreshInTheirOrder) {
    std::vector<std::string> bound;
    for (const Event& e : loading)
        if (e.kind == Event::Kind::Bind) bound.push_back(e.gauge + " " + e.name);
    EXPECT_EQ(bound, (std::vector<std::string>{"autopilot_panel_1 adfvor", "autopilot_panel_1 power",
                                               "autopilot_panel_2 power"}));
    EXPECT_EQ(lookups(host, fcu), (std::vector<uint32_t>{0x6B, 0x67, 0x69, 0x7B, 0x6C, 0x70, 0x76, 0x74, 0x356, 0x6D,
                                                   0x78, 0x6A}));
    EXPECT_EQ(lookups(host, one), (std::vector<uint32_t>{0x318, 0x68, 0x71, 0x73, 0x75, 0x7C}));
    EXPECT_EQ(fcu.size() * 100 + fcu.layout.mouse.size(), 3819u);  // 38 elements; 17 areas
    EXPECT_EQ(one.size() * 100 + one.layout.mouse.size(), 2413u);  // 24 elements; 11 areas
}

// A selected heading of 0 reads 360; metres are feet / 3.28; numbers are
// rounded to single precision first.
TEST_F(AutopilotPanels, WindowsShowTheSelectedValuesInTheirModes) {
    const struct {
        PixPoint toggle;  // a mode button of the same panel pressed first, or {0, 0}
        uint32_t var;
        double value;
        size_t element;
        const char* text;
    } cases[] = {
        {HDG_CRS, 0x6B, 0, HEADING_DIGITS, "360"},      {{}, 0x6B, 359.6, HEADING_DIGITS, "360"},
        {{}, 0x6B, 0.4, HEADING_DIGITS, "000"},         {{}, 0x6B, 5, HEADING_DIGITS, "005"},
        {{}, 0x6B, -0.0, HEADING_DIGITS, "360"},        {{}, 0x6B, NAN, HEADING_DIGITS, "nan"},
        {HDG_CRS, 0x356, 95, HEADING_DIGITS, "095"},    {{}, 0x6D, 10000, ALTITUDE_DIGITS, "10000"},
        {{}, 0x6D, 1e300, ALTITUDE_DIGITS, "  inf"},    {{}, 0x78, -800, VS_DIGITS, "-800"},
        {{}, 0x78, 300, VS_DIGITS, "0300"},             {METRIC, 0x6D, 10000, ALTITUDE_DIGITS, "03049"},
        {{}, 0x78, 300, VS_DIGITS, "0091"},             {{}, 0x78, -800, VS_DIGITS, "-244"},
        {{}, 0x76, 0.785, MACH_DIGITS, "0.79"},         {SPD_MACH, 0x74, 99.5, SPEED_DIGITS, "100"},
        {{}, 0x74, -INFINITY, SPEED_DIGITS, "-inf"},     {{}, 0x4B, 1013.5, MILLIBARS, "1014"},
        {{}, 0x4B, NAN, MILLIBARS, "nan"},              {{}, 0x4C, 29.926, INCHES, "29.93"},
        {{}, 0x4C, 1e300, INCHES, "inf"},
    };
    for (const auto& c : cases) {
        Gauge& g = c.element == MILLIBARS || c.element == INCHES ? one : fcu;
        if (c.toggle.x) click(g, c.toggle);
        host.sim.set(c.var, c.value);
        EXPECT_EQ(after_frame(g, c.element).text, c.text) << c.var << " " << c.value;
    }
    EXPECT_FALSE(fcu.overflowed || one.overflowed);
}

// The toggle buttons swap what the windows show, with a click and no key
// event; the knobs follow the modes, the altitude and barometric pointers
// keep to feet and millibars.
TEST_F(AutopilotPanels, ToggleButtonsSwapWindowsLabelsAndKnobs) {
    for (auto [id, v] : {std::pair{0x6B, 30.0}, {0x356, 10.0}, {0x74, 250.0}, {0x76, 0.78}, {0x6D, 10000.0},
                         {0x4B, 1013.0}})
        host.sim.set(id, v);
    const struct {
        Gauge* g;
        PixPoint button;
        std::vector<size_t> shown_at_0, shown_at_1;
        size_t knob;
        int axis;
        double at_0, at_1;
    } toggles[] = {
        {&fcu, SPD_MACH, {MACH_LABEL, MACH_DIGITS}, {IAS_LABEL, SPEED_DIGITS}, SPEED_KNOB, 2, 400 * 0.78, 250},
        {&fcu, HDG_CRS, {CRS_LABEL}, {HDG_LABEL}, HEADING_KNOB, 0, 10, 30},
        {&fcu, METRIC, {FT_LABEL}, {M_LABEL}, ALTITUDE_KNOB, 0, 10000, 10000},
        {&one, BARO_PUSH, {MILLIBARS}, {INCHES}, BARO_KNOB, 0, 1013, 1013},
    };
    for (const auto& t : toggles)
        for (int on : {0, 1, 0}) {
            host.frame();
            for (size_t i : t.shown_at_0) EXPECT_EQ(hidden(state(*t.g, i)), on == 1) << i;
            for (size_t i : t.shown_at_1) EXPECT_EQ(hidden(state(*t.g, i)), on == 0) << i;
            EXPECT_DOUBLE_EQ(state(*t.g, t.knob).value[t.axis], on ? t.at_1 : t.at_0);
            click(*t.g, t.button);
            EXPECT_EQ(actions(), std::vector<std::string>{CLICK});
        }
}

TEST_F(AutopilotPanels, KnobsSendTheEventOfTheirModeAndRepeatWhileHeld) {
    const struct {
        Gauge* g;
        PixPoint toggle, knob;
        uint32_t event;
    } knobs[] = {
        {&fcu, {}, SPEED_LEFT, 0x1017D},        {&fcu, {}, SPEED_RIGHT, 0x1017C},
        {&fcu, SPD_MACH, SPEED_LEFT, 0x10169},  {&fcu, {}, SPEED_RIGHT, 0x10168},
        {&fcu, {}, HEADING_LEFT, 0x1007E},      {&fcu, {}, HEADING_RIGHT, 0x1007F},
        {&fcu, HDG_CRS, HEADING_LEFT, 0x10158}, {&fcu, {}, HEADING_RIGHT, 0x10157},
        {&fcu, {}, ALT_LEFT, 0x10165},          {&fcu, {}, ALT_RIGHT, 0x10164},
        {&fcu, {}, VS_DOWN, 0x10167},           {&fcu, {}, VS_UP, 0x10166},
        {&one, {}, BARO_LEFT, 0x1015C},         {&one, {}, BARO_RIGHT, 0x1015B},
    };
    for (const auto& k : knobs) {
        if (k.toggle.x) click(*k.g, k.toggle);
        actions();
        EXPECT_EQ(host.hold(*k.g, k.knob.x, k.knob.y, 3), 3) << k.knob.x;
        EXPECT_EQ(actions(), (std::vector<std::string>{key(k.event), CLICK, key(k.event), CLICK, key(k.event),
                                                       CLICK}));
    }
}

// Each button: its event, then its sound; the follow-ups of HDG, NAV, HLD and
// APPR end the mode the new one replaces, testing the modes as the last
// pre-update read them (changes since do not count).
TEST_F(AutopilotPanels, ButtonsSendTheirEventsAndEndTheModesTheyReplace) {
    const struct {
        Gauge* g;
        PixPoint at;
        double nav, hdg, appr;
        std::vector<std::string> done;
    } cases[] = {
        {&fcu, HDG_BUTTON, 1, 0, 0, {"0x100BD", CLICK, "0x1011B"}},
        {&fcu, HDG_BUTTON, 0.5, 1, 1, {"0x100BD", CLICK}},
        {&fcu, NAV_BUTTON, 0, 1, 0, {"0x100C1", CLICK, "0x1023B"}},
        {&fcu, NAV_BUTTON, 1, 2, 1, {"0x100C1", CLICK}},
        {&fcu, HLD_BUTTON, 1, 1, 1, {"0x10107", CLICK, "0x10116"}},
        {&fcu, HLD_BUTTON, 0, 0, NAN, {"0x10107", CLICK}},
        {&fcu, APPR_BUTTON, 1, 1, 0, {"0x100BC", CLICK, "0x1011B", "0x1023B"}},
        {&fcu, APPR_BUTTON, 0, 1, 1, {"0x100BC", CLICK, "0x1023B"}},
        {&fcu, APPR_BUTTON, 1, 0, 0, {"0x100BC", CLICK, "0x1011B"}},
        {&fcu, AP_BUTTON, 1, 1, 1, {"0x1002C", CLICK}},
        {&fcu, ATH, 1, 1, 1, {"0x10144", CLICK}},
        {&one, FD_BUTTON, 0, 0, 0, {"0x102F0", CLICK}},
        {&one, LVL, 0, 0, 0, {"0x100BF", CLICK}},
        {&one, TOGA, 0, 0, 0, {"0x10145", CLICK}},
        {&one, BC, 0, 0, 0, {"0x100C0", CLICK}},
        {&one, IAS, 0, 0, 0, {"0x10163", CLICK}},
        {&one, MACH, 0, 0, 0, {"0x1017B", CLICK}},
        {&one, NAV_GPS_SELECTOR, 0, 0, 0, {"0x10347", SWITCH}},
        {&one, ADF_VOR_SELECTOR, 0, 0, 0, {SWITCH, "adfvor 1"}},  // the clack, then the move
        {&one, BARO_PUSH, 0, 0, 0, {CLICK}},
    };
    for (const auto& c : cases) {
        for (auto [id, v] : {std::pair{0x69u, c.nav}, {0x6Au, c.hdg}, {0x70u, c.appr}}) host.sim.set(id, v);
        host.frame();
        for (auto [id, v] : {std::pair{0x69u, c.nav}, {0x6Au, c.hdg}, {0x70u, c.appr}}) host.sim.set(id, 1 - v);
        actions();
        click(*c.g, c.at);
        EXPECT_EQ(actions(), c.done) << c.at.x << "," << c.at.y << " nav " << c.nav << " hdg " << c.hdg;
    }
}

// Lamps show for exactly 1.0; everything but the knobs and selectors lights
// with the panel; a click never changes a lamp by itself.
TEST_F(AutopilotPanels, LampsFollowTheirModesAndTheFacesLightWithThePanel) {
    const struct {
        Gauge* g;
        size_t lamp;
        uint32_t var;
    } lamps[] = {{&fcu, HDG_LIGHT, 0x6A}, {&fcu, AP_LIGHT, 0x67},  {&fcu, NAV_LIGHT, 0x69}, {&fcu, ATH_LIGHT, 0x7B},
                 {&fcu, HLD_LIGHT, 0x6C}, {&fcu, APPR_LIGHT, 0x70}, {&one, 1, 0x318},       {&one, 2, 0x68},
                 {&one, 3, 0x7C},         {&one, 4, 0x71},          {&one, 5, 0x73},        {&one, 6, 0x75}};
    for (const auto& l : lamps)
        for (double v : {1.0, 0.0, 0.5, 2.0, double(NAN), 1.0}) {
            host.sim.set(l.var, v);
            EXPECT_EQ(hidden(after_frame(*l.g, l.lamp)), v != 1.0) << l.lamp << " " << v;
        }
    click(fcu, AP_BUTTON);
    EXPECT_FALSE(hidden(state(fcu, AP_LIGHT)));
    for (int32_t power : {1, 0, 2, 1}) {
        host.registry.set("power", power);
        host.frame();
        for (auto [g, never] : {std::pair{&fcu, std::vector<size_t>{0, HEADING_KNOB, ALTITUDE_KNOB, SPEED_KNOB, VS_KNOB}},
                                {&one, std::vector<size_t>{0, NAV_GPS, BARO_KNOB, ADF_VOR}}})
            for (size_t i = 0; i < g->size(); ++i) {
                const bool lit = power == 1 && std::find(never.begin(), never.end(), i) == never.end();
                EXPECT_EQ(bright(state(*g, i)), lit) << g->name << "[" << i << "] power " << power;
            }
    }
    EXPECT_EQ(state(fcu, 24).text, "SPD" + std::string(799, ' ') + "0");
}

}  // namespace
}  // namespace kestrel::test
