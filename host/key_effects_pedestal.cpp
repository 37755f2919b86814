// Key events of the pedestal: flaps.
#include <math.h>

#include "host/sim.h"

namespace kestrel {

namespace {

// The flap handle 0x148 runs from 0 to 16384 in five equal steps.
constexpr uint32_t FLAP_HANDLE = 0x148;

void move_flaps(Sim& sim, int steps) {
    double position = sim.get(FLAP_HANDLE);
    if (!isfinite(position)) position = 0;
    double notch = round(position / (16384.0 / 5)) + steps;
    notch = notch < 0 ? 0 : notch > 5 ? 5 : notch;
    sim.set(FLAP_HANDLE, notch * 16384.0 / 5);
}

void flaps_up(Sim& sim, uint32_t) { move_flaps(sim, -1); }
void flaps_down(Sim& sim, uint32_t) { move_flaps(sim, +1); }

}  // namespace

extern const std::vector<KeyEffect> pedestal_effects = {
    {0x100DF, "flaps up one position (0x148)", flaps_up},
    {0x100DE, "flaps down one position (0x148)", flaps_down},
};

}  // namespace kestrel
