// kestrel record-flight SCENARIO.kes --out FILE.csv --vars LIST [--every N]:
// runs a scenario as `kestrel run` does, without its transcript, and writes
// the variables it names as a table of flight data (host/scenario/
// flight_table.h) that "replay FILE" plays back: one row every N frames
// (every frame by default) and one for the last frame, at the time of the
// frame's start, the first frame at 0.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace kestrel {

struct RecordFlightOptions {
    std::string scenario;
    std::string out;
    std::vector<std::string> vars;  // ids or catalogue names
    uint64_t every = 1;
};

// Returns the exit code: 0 written; 1 written, but the scenario's
// expectations failed or a module faulted; 2 nothing run (a variable not
// known, a table that cannot be written, a scenario that cannot be read or
// run to its end), said in one line on `err`.
int record_flight_command(const RecordFlightOptions& options, const HostOptions& host, FILE* out, FILE* err);

}  // namespace kestrel
