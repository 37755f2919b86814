// Key events of the pedestal: flaps, thrust and reverse levers, pitch trim,
// engine switches and start, gear, spoilers and the autobrake setting.
//
// The simulator's own motion for the pedestal: the gear travelling to where
// its handle points.
#include <math.h>

#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

double finite_or_zero(double v) { return isfinite(v) ? v : 0; }
double clamp(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }

// The flap handle 0x148 runs from 0 to 16384 in five equal steps.

void move_flaps(Sim& sim, int steps) {
    double position = sim.get(FLAP_HANDLE);
    if (!isfinite(position)) position = 0;
    double notch = round(position / (16384.0 / 5)) + steps;
    notch = notch < 0 ? 0 : notch > 5 ? 5 : notch;
    sim.set(FLAP_HANDLE, notch * 16384.0 / 5);
}

void flaps_up(Sim& sim, uint32_t) { move_flaps(sim, -1); }
void flaps_down(Sim& sim, uint32_t) { move_flaps(sim, +1); }

// Thrust levers 0 (idle) to 16383 (full) in sixteen steps. Below idle the
// lever goes on into reverse: the reverse lever rises from 0 to 1 in tenths,
// and comes back down before the thrust lever moves forward again.
constexpr uint32_t THRUST[] = {0x80, 0xA3};
constexpr uint32_t REVERSE[] = {0x281, 0x294};
constexpr double THRUST_FULL = 16383;
constexpr double THRUST_STEP = 1024;

void thrust_step(Sim& sim, int direction) {
    for (int engine = 0; engine < 2; ++engine) {
        const double thrust = clamp(finite_or_zero(sim.get(THRUST[engine])), 0, THRUST_FULL);
        // The reverse lever in whole tenths, so that steps add up exactly.
        const double tenths = clamp(round(finite_or_zero(sim.get(REVERSE[engine])) * 10), 0, 10);
        double next_thrust = thrust, next_tenths = tenths;
        if (direction > 0 && tenths > 0)
            next_tenths = tenths - 1;
        else if (direction < 0 && thrust <= 0)
            next_tenths = tenths < 10 ? tenths + 1 : 10;
        else
            next_thrust = clamp(thrust + direction * THRUST_STEP, 0, THRUST_FULL);
        sim.set(THRUST[engine], next_thrust);
        sim.set(REVERSE[engine], next_tenths / 10);
    }
}

void thrust_up(Sim& sim, uint32_t) { thrust_step(sim, +1); }
void thrust_down(Sim& sim, uint32_t) { thrust_step(sim, -1); }

// Pitch trim 0x30F in radians, nose up positive, in steps of 1/200 held
// within 0.42 either way. Counting whole steps keeps the values exact.
constexpr double TRIM_STEPS_PER_RADIAN = 200;
constexpr double TRIM_LIMIT_STEPS = 84;

void trim(Sim& sim, double steps) {
    const double now = round(clamp(finite_or_zero(sim.get(PITCH_TRIM)), -1, 1) * TRIM_STEPS_PER_RADIAN);
    sim.set(PITCH_TRIM, clamp(now + steps, -TRIM_LIMIT_STEPS, TRIM_LIMIT_STEPS) / TRIM_STEPS_PER_RADIAN);
}

void trim_nose_up(Sim& sim, uint32_t) { trim(sim, +1); }
void trim_nose_down(Sim& sim, uint32_t) { trim(sim, -1); }

// Switches of the simulator: 1 from 0, 0 from anything else.
template <uint32_t Var>
void toggle(Sim& sim, uint32_t) {
    sim.set(Var, sim.get(Var) == 0 ? 1 : 0);
}

// The engine start engages both starters; the engines stop them once they run.
void engine_start(Sim& sim, uint32_t) {
    sim.set(STARTER_1, 1);
    sim.set(STARTER_2, 1);
}

// The gear handle 0x14B: 0 up, 16383 down. The gear follows it by itself
// (the "gear" model).

void gear_toggle(Sim& sim, uint32_t) { sim.set(GEAR_HANDLE, sim.get(GEAR_HANDLE) > 8191.5 ? 0 : 16383); }

// The spoiler handle 0x145 goes to the position the event carries.
void spoilers_set(Sim& sim, uint32_t value) { sim.set(SPOILER_HANDLE, value > 16384 ? 16384 : value); }

// The simulator's autobrake setting (kept in a variable of the stand-in's
// own): 0 rejected take-off, 1 off, 2 LO, 3 MED, 4 MAX, one step per event.
constexpr uint32_t AUTOBRAKE_SETTING = 0x8300;

void autobrake_step(Sim& sim, int direction) {
    const double setting = clamp(round(finite_or_zero(sim.get(AUTOBRAKE_SETTING))), 0, 4);
    sim.set(AUTOBRAKE_SETTING, clamp(setting + direction, 0, 4));
}

void autobrake_down(Sim& sim, uint32_t) { autobrake_step(sim, -1); }
void autobrake_up(Sim& sim, uint32_t) { autobrake_step(sim, +1); }

}  // namespace

namespace {

constexpr double GEAR_DOWN = 16383;

// Each leg's position and how long it takes from up to down (or back): the
// nose gear is quicker than the mains, so the indicators change one by one.
struct Leg {
    uint32_t position;
    double seconds;
};
constexpr Leg LEGS[] = {{0x14C, 5}, {0x14D, 6}, {0x14E, 6.5}};

void gear(Sim& sim) {
    const double target = sim.get(GEAR_HANDLE) > GEAR_DOWN / 2 ? GEAR_DOWN : 0;
    for (const Leg& leg : LEGS) {
        double p = sim.get(leg.position);
        if (p == target) continue;
        if (!isfinite(p)) p = target;
        const double step = GEAR_DOWN / (leg.seconds * sim.frame_rate());
        // The last step lands on the end exactly, whatever the rounding of the steps.
        p = fabs(target - p) <= step * 1.000001 ? target : p < target ? p + step : p - step;
        sim.set(leg.position, p);
    }
}

}  // namespace

extern const SimArea pedestal_area = {
    "pedestal",
    {
        {0x100DF, "flaps up one position (0x148)", flaps_up},
        {0x100DE, "flaps down one position (0x148)", flaps_down},
        {0x1003E, "both thrust levers forward one step (0x80, 0xA3), out of reverse first (0x281, 0x294)", thrust_up},
        {0x10042, "both thrust levers back one step (0x80, 0xA3), from idle into reverse (0x281, 0x294)", thrust_down},
        {0x1004F, "pitch trim nose up one step (0x30F)", trim_nose_up},
        {0x10047, "pitch trim nose down one step (0x30F)", trim_nose_down},
        {0x103BE, "engine 1 master switch on/off (0x37F)", toggle<ENGINE_MASTER_1>},
        {0x103BF, "engine 2 master switch on/off (0x380)", toggle<ENGINE_MASTER_2>},
        {0x102B0, "engine start: both starters on (0x233, 0x23D)", engine_start},
        {0x10022, "gear handle up/down (0x14B)", gear_toggle},
        {0x100FA, "spoiler handle to the event's value (0x145)", spoilers_set},
        {0x1013D, "spoilers armed on/off (0x144)", toggle<SPOILERS_ARMED>},
        {0x102FB, "autobrake setting down one step (0x8300: 0 RTO, 1 off, 2 LO, 3 MED, 4 MAX)", autobrake_down},
        {0x102FA, "autobrake setting up one step (0x8300)", autobrake_up},
    },
    {
        {"gear", "the gear legs (0x14C nose, 0x14D left, 0x14E right) travel to the handle (0x14B) in 5 to 6.5 s", gear},
    },
};

}  // namespace kestrel
