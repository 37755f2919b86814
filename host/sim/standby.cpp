// The simulator's own motion for the standby instruments: the overspeed
// warning and the sideslip ball, which follow the flight that a scenario
// flies (airspeed, Mach and bank) without writing any of it.
#include <math.h>

#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

constexpr uint32_t MACH = 0x40;       // Mach x 65536 / 3.2
constexpr uint32_t BALL = 0x45;       // sideslip, 127 full deflection to the right

// The airliner's limits: 350 knots indicated, Mach 0.82.
constexpr double MAX_AIRSPEED = 350;
constexpr double MAX_MACH = 0.82 * 65536 / 3.2;

void overspeed(Sim& sim) {
    const double on = sim.get(AIRSPEED) > MAX_AIRSPEED || sim.get(MACH) > MAX_MACH ? 1 : 0;
    if (sim.get(OVERSPEED) != on) sim.set(OVERSPEED, on);
}

// Rolling into a turn, the aircraft yaws against the roll for a moment
// before the turn is coordinated, so the ball swings towards the lower wing
// (to the left while the bank grows to the left) and settles back to the
// middle once the bank holds steady. The ball follows 8 units per degree a
// second of roll rate with a lag of one second, and the simulator stops it
// at the tube's ends (full deflection).
constexpr double UNITS_PER_ROLL_RATE = 8;  // ball units per degree a second
constexpr double LAG_SECONDS = 1;
constexpr double FULL_DEFLECTION = 127;
constexpr double SETTLED = 2;  // a fifth of a pixel from the middle: at rest

// The bank at the frame before, to measure the roll rate. It belongs to one
// simulator and one run of frames: another simulator, or a gap in the frames
// (the model switched off and on), starts afresh with no roll.
struct LastBank {
    const Sim* sim = nullptr;
    uint64_t frame = 0;
    double bank = 0;
};
LastBank last;

void slip(Sim& sim) {
    const double bank = sim.get(BANK);
    const bool continues = last.sim == &sim && last.frame + 1 == sim.frame();
    const double dt = 1.0 / sim.frame_rate();
    double rate = continues ? (bank - last.bank) / dt : 0;
    last = {&sim, sim.frame(), bank};
    if (!isfinite(rate)) rate = 0;

    double target = -UNITS_PER_ROLL_RATE * rate;
    target = fmax(-FULL_DEFLECTION, fmin(FULL_DEFLECTION, target));
    double ball = sim.get(BALL);
    if (!isfinite(ball)) ball = 0;
    // One step of the lag, stable at any frame rate: the ball moves the
    // share dt / (lag + dt) of the way to its target.
    ball += (target - ball) * dt / (LAG_SECONDS + dt);
    ball = fmax(-FULL_DEFLECTION, fmin(FULL_DEFLECTION, ball));
    if (fabs(ball) < SETTLED) ball = 0;  // at rest in the middle
    if (sim.get(BALL) != ball) sim.set(BALL, ball);
}

}  // namespace

extern const SimArea standby_area = {
    "standby",
    {},
    {
        {"overspeed", "overspeed warning 0x44 on above 350 knots (0x3D) or Mach 0.82 (0x40)", overspeed},
        {"slip", "sideslip ball 0x45 swings to the lower wing while the bank (0x50) changes, then centres",
         slip},
    },
};

}  // namespace kestrel
