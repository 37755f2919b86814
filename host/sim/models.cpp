// The simulator's own motion: each area's models are a table of their own
// (models_*.cpp), stepped in this order once a frame while switched on.
#include "host/sim/sim.h"

namespace kestrel {

extern const std::vector<SimModel> pedestal_models;
extern const std::vector<SimModel> engine_models;
extern const std::vector<SimModel> navigation_models;
extern const std::vector<SimModel> radio_models;
extern const std::vector<SimModel> autoflight_models;
extern const std::vector<SimModel> standby_models;
extern const std::vector<SimModel> readout_models;

namespace {

const std::vector<const std::vector<SimModel>*> tables = {
    &pedestal_models,  &engine_models,     &navigation_models,
    &radio_models,     &autoflight_models, &standby_models,
    &readout_models,
};

}  // namespace

std::vector<const SimModel*> sim_models() {
    std::vector<const SimModel*> all;
    for (const std::vector<SimModel>* table : tables)
        for (const SimModel& m : *table) all.push_back(&m);
    return all;
}

const SimModel* find_sim_model(const std::string& name) {
    for (const SimModel* m : sim_models())
        if (name == m->name) return m;
    return nullptr;
}

}  // namespace kestrel
