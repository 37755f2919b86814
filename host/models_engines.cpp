// The simulator's own motion for the engines.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<SimModel> engine_models = {};

}  // namespace kestrel
