// Key events of the navigation displays.
#include "host/sim/sim.h"

namespace kestrel {

extern const std::vector<KeyEffect> navigation_effects = {};

}  // namespace kestrel
