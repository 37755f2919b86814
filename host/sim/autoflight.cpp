// Key events of the autopilot, flight director and barometric setting.
//
// The selectors step as a flight control unit's do: headings and courses by
// a degree, wrapping within 0..359 (the window shows 0 as 360); airspeed by a
// knot within 100..399; Mach by 0.01 within 0.10..0.99; altitude by 100 feet
// within 100..49,000; vertical speed by 100 feet a minute within
// -6,000..+6,000; the barometric setting by a millibar within 745..1,100,
// kept in millibars (0x4B) and inches of mercury (0x4C) alike. A value off
// the step first moves to the next step in the knob's direction, and a value
// that is not a number starts from the bottom of its range (headings from 0).
//
// Mode buttons toggle their hold. Airspeed and Mach hold exclude each other;
// every other pairing (heading against navigation hold, approach against
// altitude hold ...) is left to the panel, which ends the replaced mode with
// the "off" events.
#include <math.h>

#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

constexpr uint32_t LEVEL = 0x68;
constexpr uint32_t FLIGHT_DIRECTOR = 0x318;
constexpr uint32_t NAV_GPS = 0x350;

constexpr double MILLIBARS_PER_INCH = 33.8639;

// Steps v by one `unit` up (dir +1) or down (dir -1) to the next whole
// multiple of the unit, held within [low, high]. The small tolerance keeps
// values such as 0.29 x 100 (28.999...) on their step.
double step(double v, double unit, int dir, double low, double high) {
    if (isnan(v)) v = low;
    const double n = v / unit;
    double k = dir > 0 ? floor(n + 1e-6) + 1 : ceil(n - 1e-6) - 1;
    k = fmin(fmax(k, round(low / unit)), round(high / unit));
    return k * unit;
}

// A selector in whole units of 1/Scale (Mach in hundredths), so that the
// value set is the nearest double to its decimal.
template <uint32_t Var, int Dir, int Low, int High, int Unit = 1, int Scale = 1>
void select(Sim& sim, uint32_t) {
    sim.set(Var, step(sim.get(Var) * Scale, Unit, Dir, Low, High) / Scale);
}

// Headings and courses wrap around the compass, 0..359.
template <uint32_t Var, int Dir>
void turn(Sim& sim, uint32_t) {
    double v = sim.get(Var);
    if (!isfinite(v) || fabs(v) > 1e9) v = 0;
    double k = Dir > 0 ? floor(v + 1e-6) + 1 : ceil(v - 1e-6) - 1;
    k = fmod(k, 360);
    sim.set(Var, k < 0 ? k + 360 : k);
}

// The barometric setting, from the millibars when they hold one, else from
// the inches, else standard pressure.
template <int Dir>
void baro(Sim& sim, uint32_t) {
    double mb = sim.get(BARO_MILLIBARS);
    if (!(mb > 0 && isfinite(mb))) mb = sim.get(BARO_INCHES) * MILLIBARS_PER_INCH;
    if (!(mb > 0 && isfinite(mb))) mb = 1013.25;
    mb = step(mb, 1, Dir, 745, 1100);
    sim.set(BARO_MILLIBARS, mb);
    sim.set(BARO_INCHES, mb / MILLIBARS_PER_INCH);
}

// Switches of the simulator: 1 from 0, 0 from anything else.
template <uint32_t Var>
void toggle(Sim& sim, uint32_t) {
    sim.set(Var, sim.get(Var) == 0 ? 1 : 0);
}

template <uint32_t Var>
void end(Sim& sim, uint32_t) {
    sim.set(Var, 0);
}

// Airspeed and Mach hold: engaging one releases the other.
template <uint32_t Var, uint32_t Other>
void speed_mode(Sim& sim, uint32_t) {
    const bool on = sim.get(Var) == 0;
    sim.set(Var, on ? 1 : 0);
    if (on) sim.set(Other, 0);
}

}  // namespace

extern const SimArea autoflight_area = {
    "autoflight",
    {
        {0x1002C, "autopilot on/off (0x67)", toggle<AUTOPILOT>},
        {0x10144, "auto-throttle arm on/off (0x7B)", toggle<AUTOTHROTTLE>},
        {0x100BD, "heading hold on/off (0x6A)", toggle<HEADING_HOLD>},
        {0x1023B, "heading hold off (0x6A)", end<HEADING_HOLD>},
        {0x100C1, "navigation hold on/off (0x69)", toggle<NAV_HOLD>},
        {0x1011B, "navigation hold off (0x69)", end<NAV_HOLD>},
        {0x10107, "altitude hold on/off (0x6C)", toggle<ALTITUDE_HOLD>},
        {0x100BC, "approach hold on/off (0x70)", toggle<APPROACH_HOLD>},
        {0x10116, "approach hold off (0x70)", end<APPROACH_HOLD>},
        {0x100BF, "level mode on/off (0x68)", toggle<LEVEL>},
        {0x100C0, "back-course mode on/off (0x71)", toggle<BACK_COURSE>},
        {0x10145, "take-off / go-around mode on/off (0x7C)", toggle<GO_AROUND>},
        {0x10163, "airspeed hold on/off, ends Mach hold (0x73)", speed_mode<SPEED_HOLD, MACH_HOLD>},
        {0x1017B, "Mach hold on/off, ends airspeed hold (0x75)", speed_mode<MACH_HOLD, SPEED_HOLD>},
        {0x102F0, "flight director on/off (0x318)", toggle<FLIGHT_DIRECTOR>},
        {0x10347, "navigation source NAV/GPS (0x350)", toggle<NAV_GPS>},
        {0x10157, "selected heading up one degree, 0..359 (0x6B)", turn<SELECTED_HEADING, +1>},
        {0x10158, "selected heading down one degree, 0..359 (0x6B)", turn<SELECTED_HEADING, -1>},
        {0x1007F, "selected course up one degree, 0..359 (0x356)", turn<SELECTED_COURSE, +1>},
        {0x1007E, "selected course down one degree, 0..359 (0x356)", turn<SELECTED_COURSE, -1>},
        {0x10168, "selected airspeed up one knot, 100..399 (0x74)", select<SELECTED_SPEED, +1, 100, 399>},
        {0x10169, "selected airspeed down one knot, 100..399 (0x74)", select<SELECTED_SPEED, -1, 100, 399>},
        {0x1017C, "selected Mach up 0.01, 0.10..0.99 (0x76)", select<SELECTED_MACH, +1, 10, 99, 1, 100>},
        {0x1017D, "selected Mach down 0.01, 0.10..0.99 (0x76)", select<SELECTED_MACH, -1, 10, 99, 1, 100>},
        {0x10164, "selected altitude up 100 feet, 100..49000 (0x6D)", select<SELECTED_ALTITUDE, +1, 100, 49000, 100>},
        {0x10165, "selected altitude down 100 feet, 100..49000 (0x6D)",
         select<SELECTED_ALTITUDE, -1, 100, 49000, 100>},
        {0x10166, "selected vertical speed up 100 ft/min, -6000..6000 (0x78)",
         select<SELECTED_VERTICAL_SPEED, +1, -6000, 6000, 100>},
        {0x10167, "selected vertical speed down 100 ft/min, -6000..6000 (0x78)",
         select<SELECTED_VERTICAL_SPEED, -1, -6000, 6000, 100>},
        {0x1015B, "barometric setting up one millibar (0x4B, 0x4C)", baro<+1>},
        {0x1015C, "barometric setting down one millibar (0x4B, 0x4C)", baro<-1>},
    },
    {},
};

}  // namespace kestrel
