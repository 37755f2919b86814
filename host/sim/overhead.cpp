// Key events of the overhead panels: lights, anti-ice and probe heat, the
// battery and generators, the manual starters and the fuel feed.
#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

// Switches of the simulator: 1 from 0, 0 from anything else.
template <uint32_t Var>
void toggle(Sim& sim, uint32_t) {
    sim.set(Var, sim.get(Var) == 0 ? 1 : 0);
}

// A starter runs while its button is held: the button repeats the event, and
// the starter stops at the first frame without it.
template <uint32_t Var>
void run_starter(Sim& sim, uint32_t) {
    sim.hold(Var, 1, 0);
}

// The simulator stand-in keeps the fuel feed selection in a variable of its
// own (0 all, 1 left, 2 right), so that scenarios can see what was chosen.
constexpr uint32_t FUEL_FEED = 0x8001;

template <int Selection>
void feed(Sim& sim, uint32_t) {
    sim.set(FUEL_FEED, Selection);
}

}  // namespace

extern const SimArea overhead_area = {
    "overhead",
    {
        {0x10018, "strobe lights on/off (0xB)", toggle<STROBE_LIGHTS>},
        {0x102BF, "beacon light on/off (0x170)", toggle<BEACON_LIGHT>},
        {0x1034A, "wing lights on/off (0x26D)", toggle<WING_LIGHTS>},
        {0x1034B, "navigation and logo lights on/off (0x26B)", toggle<NAV_LOGO_LIGHTS>},
        {0x100D7, "landing lights on/off (0xE)", toggle<LANDING_LIGHTS>},
        {0x102C0, "taxi light on/off (0x171)", toggle<TAXI_LIGHT>},
        {0x100D6, "panel lights on/off (0xA)", toggle<PANEL_LIGHTS>},
        {0x103B4, "engine 1 anti-ice on/off (0x373)", toggle<ENG1_ANTI_ICE>},
        {0x103B5, "engine 2 anti-ice on/off (0x374)", toggle<ENG2_ANTI_ICE>},
        {0x10142, "probe and window heat on/off (0xD)", toggle<PROBE_HEAT>},
        {0x102C1, "battery master on/off (0x16C)", toggle<BATTERY_MASTER>},
        {0x1033B, "engine 1 generator on/off (0x236)", toggle<GENERATOR_1>},
        {0x1033C, "engine 2 generator on/off (0x240)", toggle<GENERATOR_2>},
        {0x102FC, "engine 1 starter runs while held (0x233)", run_starter<STARTER_1>},
        {0x102FD, "engine 2 starter runs while held (0x23D)", run_starter<STARTER_2>},
        {0x101A4, "fuel feed from all tanks (0x8001 = 0)", feed<0>},
        {0x101A5, "fuel feed from the left tanks (0x8001 = 1)", feed<1>},
        {0x101A6, "fuel feed from the right tanks (0x8001 = 2)", feed<2>},
    },
    {},
};

}  // namespace kestrel
