// The simulator's areas, in one table. Key events are looked up in this
// order, and the models step in it once a frame while switched on; a key
// event found in no area is logged and does nothing.
#include "host/sim/sim.h"

namespace kestrel {

extern const SimArea pedestal_area, overhead_area, engines_area, autoflight_area, navigation_area, radio_area,
    standby_area, readouts_area;

namespace {

const SimArea* const areas[] = {
    &pedestal_area,   &overhead_area, &engines_area,  &autoflight_area,
    &navigation_area, &radio_area,    &standby_area,  &readouts_area,
};

}  // namespace

const KeyEffect* find_key_effect(uint32_t event_id) {
    for (const SimArea* area : areas)
        for (const KeyEffect& e : area->keys)
            if (e.event_id == event_id) return &e;
    return nullptr;
}

std::vector<const KeyEffect*> key_effects() {
    std::vector<const KeyEffect*> all;
    for (const SimArea* area : areas)
        for (const KeyEffect& e : area->keys) all.push_back(&e);
    return all;
}

std::vector<const SimModel*> sim_models() {
    std::vector<const SimModel*> all;
    for (const SimArea* area : areas)
        for (const SimModel& m : area->models) all.push_back(&m);
    return all;
}

const SimModel* find_sim_model(const std::string& name) {
    for (const SimModel* m : sim_models())
        if (name == m->name) return m;
    return nullptr;
}

}  // namespace kestrel
