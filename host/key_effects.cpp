// What the simulator does on each key event the panel sends. A key event not
// listed here is logged and does nothing.
#include <math.h>

#include "host/sim.h"

namespace kestrel {

namespace {

// The flap handle 0x148 runs from 0 to 16384 in five equal steps.
constexpr uint32_t FLAP_HANDLE = 0x148;
constexpr double FLAP_STEP = 16384.0 / 5;

void move_flaps(Sim& sim, int steps) {
    double position = sim.get(FLAP_HANDLE);
    if (!isfinite(position)) position = 0;
    double notch = round(position / FLAP_STEP) + steps;
    notch = notch < 0 ? 0 : notch > 5 ? 5 : notch;
    sim.set(FLAP_HANDLE, notch * 16384.0 / 5);
}

void flaps_up(Sim& sim, uint32_t) { move_flaps(sim, -1); }
void flaps_down(Sim& sim, uint32_t) { move_flaps(sim, +1); }

const std::vector<KeyEffect> effects = {
    {0x100DF, "flaps up one position (0x148)", flaps_up},
    {0x100DE, "flaps down one position (0x148)", flaps_down},
};

}  // namespace

const std::vector<KeyEffect>& key_effects() { return effects; }

const KeyEffect* find_key_effect(uint32_t event_id) {
    for (const KeyEffect& e : effects)
        if (e.event_id == event_id) return &e;
    return nullptr;
}

}  // namespace kestrel
