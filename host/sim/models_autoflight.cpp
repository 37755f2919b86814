// The simulator's own motion for the autopilot.
#include "host/sim/sim.h"

namespace kestrel {

extern const std::vector<SimModel> autoflight_models = {};

}  // namespace kestrel
