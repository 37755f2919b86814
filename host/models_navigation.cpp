// The simulator's own motion for the navigation radios.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<SimModel> navigation_models = {};

}  // namespace kestrel
