// What the simulator does on each key event the panel sends. Each panel's
// events are a table of their own (key_effects_*.cpp); a key event found in
// none of them is logged and does nothing.
#include "host/sim/sim.h"

namespace kestrel {

extern const std::vector<KeyEffect> pedestal_effects;
extern const std::vector<KeyEffect> overhead_effects;
extern const std::vector<KeyEffect> autoflight_effects;
extern const std::vector<KeyEffect> radio_effects;
extern const std::vector<KeyEffect> navigation_effects;
extern const std::vector<KeyEffect> readout_effects;

namespace {

const std::vector<const std::vector<KeyEffect>*> tables = {
    &pedestal_effects,   &overhead_effects,   &autoflight_effects,
    &radio_effects,      &navigation_effects, &readout_effects,
};

}  // namespace

const KeyEffect* find_key_effect(uint32_t event_id) {
    for (const std::vector<KeyEffect>* table : tables)
        for (const KeyEffect& e : *table)
            if (e.event_id == event_id) return &e;
    return nullptr;
}

std::vector<const KeyEffect*> key_effects() {
    std::vector<const KeyEffect*> all;
    for (const std::vector<KeyEffect>* table : tables)
        for (const KeyEffect& e : *table) all.push_back(&e);
    return all;
}

}  // namespace kestrel
