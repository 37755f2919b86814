// Key events of the flight computer and position readouts.
#include "host/sim/sim.h"

namespace kestrel {

extern const std::vector<KeyEffect> readout_effects = {};

}  // namespace kestrel
