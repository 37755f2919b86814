// The simulator's own motion for the engines: two engines that start, run
// and stop from their thrust levers, engine master switches and starters,
// and burn the fuel on board.
//
// A start: the starter turns the core (N2) up to about 25 %; with the master
// switch on, fuel lights off at 20 % N2, the exhaust gas temperature rises to
// its start peak while the engine accelerates, the starter drops out at 50 %
// N2, and the engine settles at idle (N2 60 %, N1 20 %). Running, N1 follows
// the thrust lever from 20 % (idle) to 100 % (full) with a lag; fuel flow,
// temperatures and vibration follow the spools. With the master off, or no
// fuel left, the fuel is cut and the engine runs down.
//
// The model steps by the ticks elapsed since its last frame (18 a second),
// so the engines behave alike at any frame rate. It uses only arithmetic, so
// every build computes the same values to the last bit.
#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

struct Engine {
    uint32_t lever;       // thrust lever, 0 idle to 16383 full
    uint32_t master;      // engine master switch, 1 on
    uint32_t starter;     // 1: the starter runs
    uint32_t n1, n2;      // percent
    uint32_t egt;         // exhaust gas temperature, degrees Rankine
    uint32_t fuel_flow;   // pounds per hour
    uint32_t oil;         // oil temperature, degrees Rankine
    uint32_t vibration;   // raw vibration value
};

constexpr Engine ENGINES[] = {
    {0x80, 0x37F, 0x233, 0x270, 0x271, 0x237, 0x27E, 0x231, 0x282},
    {0xA3, 0x380, 0x23D, 0x283, 0x284, 0x241, 0x291, 0x23B, 0x295},
};

// The model's own bookkeeping, in variables of the stand-in's own: the tick
// counter and frame number at its last step.
constexpr uint32_t LAST_TICK = 0x8E00;
constexpr uint32_t LAST_FRAME = 0x8E01;
constexpr double MAX_STEP_TICKS = 18 * 60;  // a longer pause counts as a minute

constexpr double FULL_LEVER = 16383;
constexpr double INITIAL_FUEL = 30000;  // pounds, for a simulator never fuelled
constexpr double AMBIENT = 15;          // degrees Celsius

constexpr double STARTER_N2 = 25;   // what the starter alone turns the core to
constexpr double LIGHT_OFF_N2 = 20; // fuel lights off from here with the master on
constexpr double STARTER_CUT_N2 = 50;
constexpr double IDLE_N2 = 60, IDLE_N1 = 20, FULL_N1 = 100;
constexpr double START_EGT = 680;   // what the exhaust heads for while the engine accelerates
constexpr double IDLE_EGT = 420, FULL_EGT = 780;
constexpr double IDLE_FLOW = 660, FULL_FLOW = 5800;  // pounds per hour
constexpr double RUNNING_OIL = 70, FULL_OIL = 98;
constexpr double N_SETTLE = 0.02;          // percent
constexpr double TEMPERATURE_SETTLE = 0.5;  // degrees

double finite_or(double v, double otherwise) { return v - v == 0 ? v : otherwise; }

double clamp(double v, double low, double high) { return v < low ? low : v > high ? high : v; }

// Moves x toward target: a first-order lag of time constant `tau` seconds,
// no faster than `max_rate` a second, settling on the target once within
// `settle` of it (so that the instruments come to rest).
double approach(double x, double target, double dt, double tau, double max_rate, double settle) {
    double step = (target - x) * (dt < tau ? dt / tau : 1);
    step = clamp(step, -max_rate * dt, max_rate * dt);
    x += step;
    const double left = target - x;
    return left < settle && left > -settle ? target : x;
}

// N1 follows the core: slowly below idle, in step with it above.
double n1_for(double n2) { return n2 < IDLE_N2 ? n2 * n2 / (IDLE_N2 * IDLE_N2 / IDLE_N1) : IDLE_N1 + 2 * (n2 - IDLE_N2); }
double n2_for(double n1) { return IDLE_N2 + (n1 - IDLE_N1) / 2; }

double celsius(double rankine, double zero) { return (rankine - zero) * 5 / 9; }
double rankine(double celsius, double zero) { return celsius * 9 / 5 + zero; }
constexpr double EGT_ZERO = 492, OIL_ZERO = 490;  // Rankine of 0 degrees Celsius, as each display reads it

// Seconds of simulator time since the model's last step: 0 on its first
// step, after it was switched off, or when the tick counter went back.
double elapsed_seconds(Sim& sim) {
    const double tick = sim.get(VAR_TICKS);
    const double frame = static_cast<double>(sim.frame());
    double ticks = 0;
    if (sim.find(LAST_FRAME) && sim.get(LAST_FRAME) == frame - 1) ticks = tick - sim.get(LAST_TICK);
    if (!(ticks > 0)) ticks = 0;
    if (ticks > MAX_STEP_TICKS) ticks = MAX_STEP_TICKS;
    sim.set(LAST_TICK, tick);
    sim.set(LAST_FRAME, frame);
    return ticks / TICKS_PER_SECOND;
}

// One engine over dt seconds; returns its fuel flow in pounds per hour.
double step_engine(Sim& sim, const Engine& e, double dt, bool fuel) {
    // A cold engine stands at the outside air temperature.
    if (!sim.find(e.egt)) sim.set(e.egt, rankine(AMBIENT, EGT_ZERO));
    if (!sim.find(e.oil)) sim.set(e.oil, rankine(AMBIENT, OIL_ZERO));
    const double lever = clamp(finite_or(sim.get(e.lever), 0) / FULL_LEVER, 0, 1);
    const bool master = sim.get(e.master) == 1;
    const bool starter = sim.get(e.starter) == 1;
    double n2 = clamp(finite_or(sim.get(e.n2), 0), 0, 110);
    double egt = clamp(finite_or(celsius(sim.get(e.egt), EGT_ZERO), AMBIENT), -60, 1200);
    double oil = clamp(finite_or(celsius(sim.get(e.oil), OIL_ZERO), AMBIENT), -60, 200);

    const bool burning = master && fuel && n2 >= LIGHT_OFF_N2;
    const bool starting = burning && n2 < IDLE_N2 - 2;
    if (burning) {
        const double n1_demand = IDLE_N1 + (FULL_N1 - IDLE_N1) * lever;
        n2 = starting ? approach(n2, IDLE_N2, dt, 4, 2.5, N_SETTLE) : approach(n2, n2_for(n1_demand), dt, 1.5, 10, N_SETTLE);
    } else if (starter) {
        n2 = approach(n2, STARTER_N2, dt, 5, 4, N_SETTLE);
    } else {
        n2 = approach(n2, 0, dt, 6, 8, N_SETTLE);  // running down
    }
    const double n1 = n1_for(n2);

    double flow = 0;
    if (burning) flow = n2 < IDLE_N2 ? 180 + 8 * n2 : IDLE_FLOW + (FULL_FLOW - IDLE_FLOW) * (n1 - IDLE_N1) / (FULL_N1 - IDLE_N1);
    const double egt_target = !burning ? AMBIENT
                              : starting ? START_EGT
                                         : IDLE_EGT + (FULL_EGT - IDLE_EGT) * (n1 - IDLE_N1) / (FULL_N1 - IDLE_N1);
    egt = approach(egt, egt_target, dt, burning ? 1.5 : 15, 120, TEMPERATURE_SETTLE);
    const double oil_target = burning ? RUNNING_OIL + (FULL_OIL - RUNNING_OIL) * (n1 - IDLE_N1) / (FULL_N1 - IDLE_N1) : AMBIENT;
    oil = approach(oil, oil_target, dt, burning ? 20 : 120, 5, TEMPERATURE_SETTLE);

    sim.set(e.n1, n1);
    sim.set(e.n2, n2);
    sim.set(e.egt, rankine(egt, EGT_ZERO));
    sim.set(e.fuel_flow, flow);
    sim.set(e.oil, rankine(oil, OIL_ZERO));
    sim.set(e.vibration, 0.03 * n2 + 0.01 * n1);
    // The starter drops out once the engine has started.
    if (starter && n2 >= STARTER_CUT_N2) sim.set(e.starter, 0);
    return flow;
}

void step_engines(Sim& sim) {
    const double dt = elapsed_seconds(sim);
    if (!sim.find(FUEL_ON_BOARD)) sim.set(FUEL_ON_BOARD, INITIAL_FUEL);
    double fuel = sim.get(FUEL_ON_BOARD);
    double flow = 0;
    for (const Engine& e : ENGINES) flow += step_engine(sim, e, dt, fuel > 0);
    if (flow > 0) sim.set(FUEL_ON_BOARD, clamp(fuel - flow * dt / 3600, 0, fuel));
}

}  // namespace

extern const SimArea engines_area = {
    "engines",
    {},
    {
        {"engines",
         "two engines start from their starters (0x233, 0x23D) with the masters on (0x37F, 0x380), follow "
         "the thrust levers (0x80, 0xA3) and stop with the masters off: N1, N2, EGT, fuel flow, oil "
         "temperature and vibration, and the fuel on board (0x317, 30000 lb if never set) burning down",
         step_engines},
    },
};

}  // namespace kestrel
