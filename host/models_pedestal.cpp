// The simulator's own motion for the pedestal (the gear's travel).
#include "host/sim.h"

namespace kestrel {

extern const std::vector<SimModel> pedestal_models = {};

}  // namespace kestrel
