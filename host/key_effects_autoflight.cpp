// Key events of the autopilot, flight director and barometric setting.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<KeyEffect> autoflight_effects = {};

}  // namespace kestrel
