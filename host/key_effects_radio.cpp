// Key events of the radio tuning, transfer and the transponder.
#include "host/sim.h"

namespace kestrel {

extern const std::vector<KeyEffect> radio_effects = {};

}  // namespace kestrel
