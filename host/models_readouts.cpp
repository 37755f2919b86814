// The simulator's own motion for the flight computer and position readouts.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<SimModel> readout_models = {};

}  // namespace kestrel
