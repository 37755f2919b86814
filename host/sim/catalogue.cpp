#include "host/sim/catalogue.h"

#include <string.h>

#include "host/sim/sim.h"
#include "host/util.h"

namespace kestrel {

namespace {

constexpr double DEG = 360;
// Switches read 1 for on; the slider runs from 0 to 1.
#define SWITCH 0, 1, false
#define NONE 0, 0, false

const SimVarName names[] = {
    {0x1, "tick counter, 18 a second", NONE},
    {0x2, "ground elevation, 1/256 metre", 0, 256 * 3000, false},
    {0x3, "clock hours", 0, 23, false},
    {0x4, "clock minutes", 0, 59, false},
    {0x5, "clock seconds", 0, 59, false},
    {0xA, "panel lights", SWITCH},
    {0xB, "strobe lights", SWITCH},
    {0xD, "probe and window heat", SWITCH},
    {0xE, "landing lights", SWITCH},
    {0x10, "direction finder frequency (BCD)", 0, 0x9999, true},
    {0x12, "direction finder frequency extension", NONE},
    {0x17, "COM1 active frequency (BCD)", 0, 0x9999, true},
    {0x18, "NAV1 active frequency (BCD)", 0, 0x9999, true},
    {0x1B, "NAV2 active frequency (BCD)", 0, 0x9999, true},
    {0x1F, "distance to NAV1's station, nautical miles", 0, 300, false},
    {0x23, "distance to NAV2's station, nautical miles", 0, 300, false},
    {0x26, "transponder code (BCD)", 0, 0x7777, true},
    {0x27, "direction finder bearing, degrees relative", 0, DEG, false},
    {0x28, "localizer deviation", -127, 127, false},
    {0x29, "glideslope deviation", -127, 127, false},
    {0x2C, "deviation scales shown", SWITCH},
    {0x3B, "bearing to NAV2's station, degrees relative", 0, DEG, false},
    {0x3C, "attitude freeze, second term", SWITCH},
    {0x3D, "indicated airspeed, knots", 0, 400, false},
    {0x40, "Mach number, raw (x 3.2 / 65536)", 0, 20480, false},
    {0x47, "latitude, metres along the meridian", -10001750, 10001750, false},
    {0x48, "longitude, 2^-48 of a turn", NONE},
    {0x4A, "altitude, feet", -1000, 45000, false},
    {0x4C, "barometric setting, inches of mercury", 28, 31, false},
    {0x4E, "pitch, degrees (positive nose down)", -90, 90, false},
    {0x50, "bank, degrees (positive left wing down)", -180, 180, false},
    {0x51, "heading, degrees", 0, DEG, false},
    {0x67, "autopilot engaged", SWITCH},
    {0x68, "level mode", SWITCH},
    {0x69, "navigation hold", SWITCH},
    {0x6A, "heading hold", SWITCH},
    {0x6B, "selected heading, degrees", 0, DEG, false},
    {0x6C, "altitude hold", SWITCH},
    {0x6D, "selected altitude, feet", 0, 45000, false},
    {0x70, "approach hold (LOC)", SWITCH},
    {0x71, "back-course mode", SWITCH},
    {0x73, "airspeed hold", SWITCH},
    {0x74, "selected airspeed, knots", 0, 400, false},
    {0x75, "Mach hold", SWITCH},
    {0x76, "selected Mach", 0, 1, false},
    {0x78, "selected vertical speed, feet per minute", -6000, 6000, false},
    {0x7B, "auto-throttle armed", SWITCH},
    {0x80, "left thrust lever", 0, 16383, false},
    {0xA3, "right thrust lever", 0, 16383, false},
    {0x143, "parking brake", SWITCH},
    {0x144, "ground spoilers armed", 0, 16383, false},
    {0x148, "flap handle, 0 up to 16384 full", 0, 16384, false},
    {0x150, "two-digit readout", 0, 99, false},
    {0x155, "outside air temperature, Celsius", -60, 50, false},
    {0x157, "wind speed, knots", 0, 100, false},
    {0x158, "wind direction, degrees", 0, DEG, false},
    {0x16C, "battery master", SWITCH},
    {0x170, "beacon light", SWITCH},
    {0x171, "taxi light", SWITCH},
    {0x226, "bearing to NAV1's station, degrees", 0, DEG, false},
    {0x22C, "vertical speed, feet per second", -100, 100, false},
    {0x231, "engine 1 oil temperature, Rankine", 400, 800, false},
    {0x233, "engine 1 starter", SWITCH},
    {0x236, "engine 1 generator", SWITCH},
    {0x237, "engine 1 EGT, Rankine", 400, 2000, false},
    {0x23D, "engine 2 starter", SWITCH},
    {0x240, "engine 2 generator", SWITCH},
    {0x241, "engine 2 EGT, Rankine", 400, 2000, false},
    {0x269, "COM1 standby frequency (BCD)", 0, 0x9999, true},
    {0x26B, "navigation and logo lights", SWITCH},
    {0x26D, "wing lights", SWITCH},
    {0x270, "engine 1 N1, percent", 0, 110, false},
    {0x271, "engine 1 N2, percent", 0, 110, false},
    {0x281, "left reverse lever", 0, 1, false},
    {0x282, "engine 1 vibration", NONE},
    {0x283, "engine 2 N1, percent", 0, 110, false},
    {0x284, "engine 2 N2, percent", 0, 110, false},
    {0x291, "engine 2 fuel flow, pounds per hour", 0, 10000, false},
    {0x294, "right reverse lever", 0, 1, false},
    {0x295, "engine 2 vibration", NONE},
    {0x2F0, "battery charge, volts", 0, 30, false},
    {0x317, "fuel on board, pounds", 0, 50000, false},
    {0x318, "flight director on", SWITCH},
    {0x319, "flight director pitch command, degrees", -30, 30, false},
    {0x31A, "flight director bank command, degrees", -45, 45, false},
    {0x33D, "altitude, metres", -300, 14000, false},
    {0x348, "next waypoint latitude, metres", -10001750, 10001750, false},
    {0x349, "next waypoint longitude, 1/11930464 degree", NONE},
    {0x350, "navigation source: 1 GPS", SWITCH},
    {0x356, "selected course, degrees", 0, DEG, false},
    {0x358, "bearing to the next waypoint, degrees", 0, DEG, false},
    {0x35B, "ground speed, knots", 0, 600, false},
    {0x35C, "distance to the next waypoint, nautical miles", 0, 1000, false},
    {0x366, "COM2 active frequency (BCD)", 0, 0x9999, true},
    {0x367, "COM2 standby frequency (BCD)", 0, 0x9999, true},
    {0x368, "NAV1 standby frequency (BCD)", 0, 0x9999, true},
    {0x369, "NAV2 standby frequency (BCD)", 0, 0x9999, true},
    {0x373, "engine 1 anti-ice", SWITCH},
    {0x374, "engine 2 anti-ice", SWITCH},
    {0x8001, "fuel feed: 0 all, 1 left, 2 right", 0, 2, false},
};

#undef SWITCH
#undef NONE

}  // namespace

const SimVarName* find_sim_var_name(uint32_t id) {
    for (const SimVarName& n : names)
        if (n.id == id) return &n;
    return nullptr;
}

std::vector<const SimVarName*> sim_var_names() {
    std::vector<const SimVarName*> all;
    for (const SimVarName& n : names) all.push_back(&n);
    return all;
}

std::string sim_var_name(uint32_t id) {
    if (const SimVarName* n = find_sim_var_name(id)) return n->name;
    // "(0x16C)" or "(0x8001 = 0)" in a key event's meaning.
    const std::string tag = "(" + hex(id);
    for (const KeyEffect* e : key_effects()) {
        const char* at = strstr(e->meaning, tag.c_str());
        if (!at) continue;
        const char next = at[tag.size()];
        if (next == ')' || next == ' ') return std::string("key event: ") + e->meaning;
    }
    return "";
}

}  // namespace kestrel
