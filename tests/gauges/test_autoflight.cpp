// The autopilot panels with the simulator stand-in and the gauges that show
// what they select: the autopilot key events, clicks on the flight control
// unit reaching the primary flight display, and "adfvor" reaching its
// readers.
#include <math.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

// What one key event does to one variable, from a value set before it.
TEST(AutoflightEffects, SelectorsStepWrapAndHoldTheirRangesAsAnAutopilotDoes) {
    const struct {
        uint32_t event, var;
        double before, after;
    } cases[] = {
        // Heading and course: a degree, round the compass.
        {0x10157, 0x6B, 359, 0},        {0x10158, 0x6B, 0, 359},       {0x10157, 0x6B, 10.5, 11},
        {0x10158, 0x6B, 10.5, 10},      {0x10157, 0x6B, NAN, 1},       {0x10158, 0x6B, -1e300, 359},
        {0x1007F, 0x356, 359, 0},       {0x1007E, 0x356, 0, 359},      {0x1007E, 0x356, 720, 359},
        // Airspeed 100..399, Mach 0.10..0.99, altitude 100..49000, V/S -6000..6000.
        {0x10168, 0x74, 250, 251},      {0x10169, 0x74, 250.4, 250},   {0x10168, 0x74, 0, 100},
        {0x10168, 0x74, 399, 399},      {0x10169, 0x74, INFINITY, 399}, {0x10168, 0x74, -INFINITY, 100}, {0x10169, 0x74, NAN, 100},
        {0x1017C, 0x76, 0.78, 0.79},    {0x1017C, 0x76, 0.29, 0.30},   {0x1017D, 0x76, 0.30, 0.29},
        {0x1017C, 0x76, 0.99, 0.99},    {0x1017D, 0x76, 0, 0.10},      {0x10164, 0x6D, 4950, 5000},
        {0x10165, 0x6D, 4950, 4900},    {0x10164, 0x6D, 0, 100},       {0x10164, 0x6D, 49000, 49000},
        {0x10166, 0x78, 0, 100},        {0x10167, 0x78, 0, -100},      {0x10167, 0x78, -6000, -6000},
        {0x10166, 0x78, 1e300, 6000},
        // Modes: 1 from 0, 0 from anything else; the "off" events end them.
        {0x1002C, 0x67, 0, 1},          {0x1002C, 0x67, 0.5, 0},       {0x10144, 0x7B, 0, 1},
        {0x100BD, 0x6A, 1, 0},          {0x1023B, 0x6A, 1, 0},         {0x1023B, 0x6A, 0, 0},
        {0x100C1, 0x69, 0, 1},          {0x1011B, 0x69, 1, 0},         {0x10107, 0x6C, 0, 1},
        {0x100BC, 0x70, 0, 1},          {0x10116, 0x70, 1, 0},         {0x100BF, 0x68, 0, 1},
        {0x100C0, 0x71, 0, 1},          {0x10145, 0x7C, 0, 1},         {0x10163, 0x73, 0, 1},
        {0x1017B, 0x75, 1, 0},          {0x102F0, 0x318, 0, 1},        {0x10347, 0x350, 1, 0},
    };
    for (const auto& c : cases) {
        Sim sim;
        sim.set(c.var, c.before);
        sim.key_event(c.event, 0);
        EXPECT_EQ(sim.get(c.var), c.after) << std::hex << c.event << std::dec << " from " << c.before;
    }
}

// Airspeed and Mach hold exclude each other; the barometric setting steps
// from the millibars, else from the inches, else standard, and keeps both.
TEST(AutoflightEffects, SpeedHoldsExcludeEachOtherAndBaroKeepsBothUnits) {
    const struct {
        uint32_t event;
        std::vector<std::pair<uint32_t, double>> before, after;
    } cases[] = {
        {0x10163, {{0x75, 1}}, {{0x73, 1}, {0x75, 0}}},
        {0x1017B, {{0x73, 1}}, {{0x73, 0}, {0x75, 1}}},
        {0x1017B, {{0x75, 1}}, {{0x73, 0}, {0x75, 0}}},
        {0x1015B, {{0x4B, 1013.25}, {0x4C, 29.92}}, {{0x4B, 1014}, {0x4C, 1014 / 33.8639}}},
        {0x1015C, {{0x4C, 29.92}}, {{0x4B, 1013}, {0x4C, 1013 / 33.8639}}},
        {0x1015B, {{0x4B, NAN}}, {{0x4B, 1014}}},
        {0x1015B, {{0x4B, 1100}}, {{0x4B, 1100}}},
        {0x1015C, {{0x4B, 1e300}, {0x4C, -1}}, {{0x4B, 1100}}},
    };
    for (const auto& c : cases) {
        Sim sim;
        for (const auto& [id, v] : c.before) sim.set(id, v);
        sim.key_event(c.event, 0);
        for (const auto& [id, v] : c.after) EXPECT_EQ(sim.get(id), v) << std::hex << c.event << " " << id;
    }
}

// ---------------------------------------------------------------------------
// Across gauges

constexpr PixPoint AP_BUTTON = {204, 76}, HDG_BUTTON = {138, 104}, NAV_BUTTON = {243, 76},
                   HLD_BUTTON = {303, 103}, APPR_BUTTON = {386, 103}, ATH_BUTTON = {224, 103},
                   SPD_MACH = {20, 50}, SPEED_RIGHT = {85, 60}, ALT_RIGHT = {316, 66};
constexpr PixPoint FD_BUTTON = {36, 101}, LVL = {114, 25}, BC = {179, 26}, IAS = {208, 25}, MACH = {239, 25},
                   ADF_VOR = {134, 99};

// The primary flight display's annunciations and markers.
enum { PFD_SELECTED_SPEED = 19, PFD_SELECTED_ALTITUDE = 21, PFD_SPEED_MARKER = 22, PFD_ALTITUDE_MARKER = 23,
       PFD_AP1 = 24, PFD_NAV = 25, PFD_HDG = 26, PFD_LOC = 27, PFD_DIRECTOR = 29, PFD_SPEED = 34, PFD_ATHR = 35,
       PFD_MACH = 36, PFD_LVL = 38, PFD_BC = 39 };

class Autoflight : public HostTest {
protected:
    Gauge& fcu = load({"broadcaster", "pfd", "autopilot_panel_1", "autopilot_panel_2"});
    Gauge& pfd = *host.find("pfd");
    Gauge& panel_1 = *host.find("autopilot_panel_1");
    void SetUp() override {
        host.frame();
        host.registry.set("display", 1);
        host.registry.set("power", 1);
        host.sim.set(0x16C, 1);
        host.sim.set(0x3D, 200);
        host.sim.set(0x4A, 3000);
        host.frame();
    }
    // Clicks, then one frame for the modules to read what the simulator did.
    void press(Gauge& g, PixPoint p) {
        host.click(g, p.x, p.y);
        host.frame();
    }
    bool shown(size_t i) { return !hidden(state(pfd, i)); }
};

// Each click changes the display at the next frame; the follow-up events of
// NAV and APPR leave one lateral annunciation.
TEST_F(Autoflight, ClicksOnTheAutopilotPanelsChangeTheFlightDisplaysAnnunciations) {
    enum { ONE, FCU };
    const struct {
        int panel;
        PixPoint at;
        std::vector<size_t> shown, hidden;
    } steps[] = {
        {FCU, AP_BUTTON, {PFD_AP1}, {PFD_HDG, PFD_NAV, PFD_LOC}},
        {FCU, ATH_BUTTON, {PFD_ATHR}, {}},
        {ONE, FD_BUTTON, {PFD_DIRECTOR}, {}},
        {FCU, HDG_BUTTON, {PFD_HDG}, {PFD_NAV}},
        {FCU, NAV_BUTTON, {PFD_NAV}, {PFD_HDG}},    // ends heading hold
        {FCU, HDG_BUTTON, {PFD_HDG}, {PFD_NAV}},    // ends navigation hold
        {FCU, APPR_BUTTON, {PFD_LOC}, {PFD_HDG, PFD_NAV}},
        {FCU, NAV_BUTTON, {PFD_NAV, PFD_LOC}, {PFD_HDG}},
        {ONE, LVL, {PFD_LVL}, {}},
        {ONE, BC, {PFD_BC}, {}},
        {ONE, IAS, {PFD_SPEED, PFD_SELECTED_SPEED, PFD_SPEED_MARKER}, {PFD_MACH}},
        {ONE, MACH, {PFD_MACH}, {PFD_SPEED, PFD_SELECTED_SPEED, PFD_SPEED_MARKER}},
        {FCU, HLD_BUTTON, {PFD_SELECTED_ALTITUDE, PFD_ALTITUDE_MARKER}, {PFD_LOC}},  // ends approach hold
        {FCU, AP_BUTTON, {}, {PFD_AP1}},
    };
    for (const auto& s : steps) {
        press(s.panel == FCU ? fcu : panel_1, s.at);
        for (size_t i : s.shown) EXPECT_TRUE(shown(i)) << i << " after a click at " << s.at.x << "," << s.at.y;
        for (size_t i : s.hidden) EXPECT_FALSE(shown(i)) << i << " after a click at " << s.at.x << "," << s.at.y;
    }
}

// Held knobs repeat: the simulator steps once a frame, and the windows and the
// display's markers follow.
TEST_F(Autoflight, HeldKnobsMoveTheSelectedValuesAndTheDisplaysMarkers) {
    press(panel_1, IAS);
    press(fcu, HLD_BUTTON);
    press(fcu, SPD_MACH);
    host.sim.set(0x74, 190);
    host.sim.set(0x6D, 2500);
    host.frame();
    const double speed_marker = state(pfd, PFD_SPEED_MARKER).value[1];
    const double altitude_marker = state(pfd, PFD_ALTITUDE_MARKER).value[1];
    EXPECT_EQ(host.hold(fcu, SPEED_RIGHT.x, SPEED_RIGHT.y, 20), 20);
    EXPECT_EQ(host.hold(fcu, ALT_RIGHT.x, ALT_RIGHT.y, 5), 5);
    host.frame();
    EXPECT_EQ(host.sim.get(0x74), 210);
    EXPECT_EQ(host.sim.get(0x6D), 3000);
    EXPECT_EQ(state(fcu, 13).text, "210");
    EXPECT_EQ(state(fcu, 22).text, "03000");
    EXPECT_EQ(state(pfd, PFD_SELECTED_SPEED).text, "210");
    EXPECT_EQ(state(pfd, PFD_SELECTED_ALTITUDE).text, "03000");
    EXPECT_EQ(state(pfd, PFD_SPEED_MARKER).value[1], speed_marker + 20);
    EXPECT_EQ(state(pfd, PFD_ALTITUDE_MARKER).value[1], altitude_marker + 500);
}

// "adfvor" is written by autopilot panel 1 alone; the navigation display
// shows the direction finder's label at 1 and the second radio's at 0.
TEST_F(Autoflight, AdfVorReachesItsReaders) {
    Gauge& hsi = load({"hsi"});
    host.frame();  // its first draw clears "adfvor", "rose" and "display"
    host.registry.set("display", 1);
    // From 0 to 1 and back; any other value becomes 0. The selector's frame
    // is the value read as unsigned.
    for (auto [before, want] : {std::pair{0, 1}, {1, 0}, {-1, 0}, {0, 1}}) {
        host.registry.set("adfvor", before);
        host.frame();
        EXPECT_EQ(state(panel_1, 11).value[0], double(uint32_t(before)));
        press(panel_1, ADF_VOR);
        EXPECT_EQ(host.registry.value("adfvor"), want);
        EXPECT_EQ(state(panel_1, 11).value[0], want);
        EXPECT_EQ(hidden(state(hsi, 29)), want == 0) << "the HSI's ADF label";
        EXPECT_EQ(hidden(state(hsi, 19)), want == 1) << "the HSI's VOR 2 label";
    }
}

}  // namespace
}  // namespace kestrel::test
