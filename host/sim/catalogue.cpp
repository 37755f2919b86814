#include "host/sim/catalogue.h"
#include "frame/variables.h"

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
    {TICKS, "tick counter, 18 a second", NONE},
    {GROUND_ELEVATION, "ground elevation, 1/256 metre", 0, 256 * 3000, false},
    {CLOCK_HOURS, "clock hours", 0, 23, false},
    {CLOCK_MINUTES, "clock minutes", 0, 59, false},
    {CLOCK_SECONDS, "clock seconds", 0, 59, false},
    {PANEL_LIGHTS, "panel lights", SWITCH},
    {STROBE_LIGHTS, "strobe lights", SWITCH},
    {PROBE_HEAT, "probe and window heat", SWITCH},
    {LANDING_LIGHTS, "landing lights", SWITCH},
    {ADF_FREQUENCY, "direction finder frequency (BCD)", 0, 0x9999, true},
    {ADF_EXTENSION, "direction finder frequency extension", NONE},
    {COM1_ACTIVE, "COM1 active frequency (BCD)", 0, 0x9999, true},
    {NAV1_ACTIVE, "NAV1 active frequency (BCD)", 0, 0x9999, true},
    {NAV2_ACTIVE, "NAV2 active frequency (BCD)", 0, 0x9999, true},
    {NAV1_DISTANCE, "distance to NAV1's station, nautical miles", 0, 300, false},
    {NAV2_DISTANCE, "distance to NAV2's station, nautical miles", 0, 300, false},
    {TRANSPONDER_CODE, "transponder code (BCD)", 0, 0x7777, true},
    {ADF_BEARING, "direction finder bearing, degrees relative", 0, DEG, false},
    {LOCALIZER, "localizer deviation", -127, 127, false},
    {GLIDESLOPE, "glideslope deviation", -127, 127, false},
    {DEVIATION_ENABLE, "deviation scales shown", SWITCH},
    {NAV2_BEARING, "bearing to NAV2's station, degrees relative", 0, DEG, false},
    {ROLLOUT_FLAG, "attitude freeze, second term", SWITCH},
    {AIRSPEED, "indicated airspeed, knots", 0, 400, false},
    {MACH_RAW, "Mach number, raw (x 3.2 / 65536)", 0, 20480, false},
    {LATITUDE, "latitude, metres along the meridian", -10001750, 10001750, false},
    {LONGITUDE, "longitude, 2^-48 of a turn", NONE},
    {ALTITUDE, "altitude, feet", -1000, 45000, false},
    {BARO_INCHES, "barometric setting, inches of mercury", 28, 31, false},
    {PITCH, "pitch, degrees (positive nose down)", -90, 90, false},
    {BANK, "bank, degrees (positive left wing down)", -180, 180, false},
    {HEADING, "heading, degrees", 0, DEG, false},
    {AUTOPILOT, "autopilot engaged", SWITCH},
    {LEVEL_MODE, "level mode", SWITCH},
    {NAV_HOLD, "navigation hold", SWITCH},
    {HEADING_HOLD, "heading hold", SWITCH},
    {SELECTED_HEADING, "selected heading, degrees", 0, DEG, false},
    {ALTITUDE_HOLD, "altitude hold", SWITCH},
    {SELECTED_ALTITUDE, "selected altitude, feet", 0, 45000, false},
    {APPROACH_HOLD, "approach hold (LOC)", SWITCH},
    {BACK_COURSE, "back-course mode", SWITCH},
    {SPEED_HOLD, "airspeed hold", SWITCH},
    {SELECTED_SPEED, "selected airspeed, knots", 0, 400, false},
    {MACH_HOLD, "Mach hold", SWITCH},
    {SELECTED_MACH, "selected Mach", 0, 1, false},
    {SELECTED_VERTICAL_SPEED, "selected vertical speed, feet per minute", -6000, 6000, false},
    {AUTOTHROTTLE, "auto-throttle armed", SWITCH},
    {THRUST_1, "left thrust lever", 0, 16383, false},
    {THRUST_2, "right thrust lever", 0, 16383, false},
    {PARKING_BRAKE, "parking brake", SWITCH},
    {SPOILERS_ARMED, "ground spoilers armed", 0, 16383, false},
    {FLAP_HANDLE, "flap handle, 0 up to 16384 full", 0, 16384, false},
    {CHRONO_WINDOW, "two-digit readout", 0, 99, false},
    {OUTSIDE_AIR, "outside air temperature, Celsius", -60, 50, false},
    {WIND_SPEED, "wind speed, knots", 0, 100, false},
    {WIND_DIRECTION, "wind direction, degrees", 0, DEG, false},
    {BATTERY_MASTER, "battery master", SWITCH},
    {BEACON_LIGHT, "beacon light", SWITCH},
    {TAXI_LIGHT, "taxi light", SWITCH},
    {NAV1_BEARING, "bearing to NAV1's station, degrees", 0, DEG, false},
    {VERTICAL_SPEED, "vertical speed, feet per second", -100, 100, false},
    {OIL_TEMPERATURE_1, "engine 1 oil temperature, Rankine", 400, 800, false},
    {STARTER_1, "engine 1 starter", SWITCH},
    {GENERATOR_1, "engine 1 generator", SWITCH},
    {EGT_1, "engine 1 EGT, Rankine", 400, 2000, false},
    {STARTER_2, "engine 2 starter", SWITCH},
    {GENERATOR_2, "engine 2 generator", SWITCH},
    {EGT_2, "engine 2 EGT, Rankine", 400, 2000, false},
    {COM1_STANDBY, "COM1 standby frequency (BCD)", 0, 0x9999, true},
    {NAV_LOGO_LIGHTS, "navigation and logo lights", SWITCH},
    {WING_LIGHTS, "wing lights", SWITCH},
    {N1_1, "engine 1 N1, percent", 0, 110, false},
    {N2_1, "engine 1 N2, percent", 0, 110, false},
    {REVERSE_1, "left reverse lever", 0, 1, false},
    {VIBRATION_1, "engine 1 vibration", NONE},
    {N1_2, "engine 2 N1, percent", 0, 110, false},
    {N2_2, "engine 2 N2, percent", 0, 110, false},
    {FUEL_FLOW_2, "engine 2 fuel flow, pounds per hour", 0, 10000, false},
    {REVERSE_2, "right reverse lever", 0, 1, false},
    {VIBRATION_2, "engine 2 vibration", NONE},
    {BATTERY_VALUE, "battery charge, volts", 0, 30, false},
    {FUEL_ON_BOARD, "fuel on board, pounds", 0, 50000, false},
    {DIRECTOR, "flight director on", SWITCH},
    {DIRECTOR_PITCH, "flight director pitch command, degrees", -30, 30, false},
    {DIRECTOR_BANK, "flight director bank command, degrees", -45, 45, false},
    {ALTITUDE_METRES, "altitude, metres", -300, 14000, false},
    {WAYPOINT_LATITUDE, "next waypoint latitude, metres", -10001750, 10001750, false},
    {WAYPOINT_LONGITUDE, "next waypoint longitude, 1/11930464 degree", NONE},
    {NAV_SOURCE, "navigation source: 1 GPS", SWITCH},
    {SELECTED_COURSE, "selected course, degrees", 0, DEG, false},
    {WAYPOINT_BEARING, "bearing to the next waypoint, degrees", 0, DEG, false},
    {GROUND_SPEED, "ground speed, knots", 0, 600, false},
    {WAYPOINT_DISTANCE, "distance to the next waypoint, nautical miles", 0, 1000, false},
    {COM2_ACTIVE, "COM2 active frequency (BCD)", 0, 0x9999, true},
    {COM2_STANDBY, "COM2 standby frequency (BCD)", 0, 0x9999, true},
    {NAV1_STANDBY, "NAV1 standby frequency (BCD)", 0, 0x9999, true},
    {NAV2_STANDBY, "NAV2 standby frequency (BCD)", 0, 0x9999, true},
    {ENG1_ANTI_ICE, "engine 1 anti-ice", SWITCH},
    {ENG2_ANTI_ICE, "engine 2 anti-ice", SWITCH},
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
