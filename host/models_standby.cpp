// The simulator's own motion for the standby instruments.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<SimModel> standby_models = {};

}  // namespace kestrel
