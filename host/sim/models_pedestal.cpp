// The simulator's own motion for the pedestal: the gear travelling to where
// its handle points.
#include <math.h>

#include "host/sim/sim.h"

namespace kestrel {

namespace {

constexpr uint32_t GEAR_HANDLE = 0x14B;  // 0 up, 16383 down
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

extern const std::vector<SimModel> pedestal_models = {
    {"gear", "the gear legs (0x14C nose, 0x14D left, 0x14E right) travel to the handle (0x14B) in 5 to 6.5 s", gear},
};

}  // namespace kestrel
