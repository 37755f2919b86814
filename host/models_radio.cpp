// The simulator's own motion for the radios and the clock.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<SimModel> radio_models = {};

}  // namespace kestrel
