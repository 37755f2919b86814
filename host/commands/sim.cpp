// kestrel sim: what the simulator stand-in answers, for writing scenarios.
#include "host/commands/commands.h"
#include "host/sim/sim.h"
#include "host/util.h"

namespace kestrel {

int sim_command(FILE* out) {
    for (const KeyEffect* e : key_effects()) fprintf(out, "key %s  %s\n", hex(e->event_id).c_str(), e->meaning);
    for (const SimModel* m : sim_models()) fprintf(out, "model %s  %s\n", m->name, m->meaning);
    return 0;
}

}  // namespace kestrel
