// The kestrel commands, one file each. Their inputs are checked by the
// command line first (host/main.cpp); each returns the process exit code:
// 0 it did what was asked, 1 it ran and found problems, 2 it could not.
//
//   kestrel run SCENARIO.kes
//   kestrel record-flight SCENARIO.kes --out FILE.csv --vars LIST [--every N]
//   kestrel info [--records] MODULE...
//   kestrel sim
//   kestrel check PANEL.cfg
//   kestrel render PANEL.cfg|MODULE [--scenario S] [--at TIMES] [--out DIR]
//                                   [--scale X] [--light day|dusk|night]
//   kestrel demo [--panel CFG] [--scenario S] [--out DIR] [--scale X]
//                [--light day|dusk|night]
// (and kestrel serve: viewer/server.h)
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace kestrel {

// Reads and runs a scenario file, printing the transcript to `out` as it
// goes: 1 on failed expectations or faults, 2 when the file cannot be read
// or understood (the reason on `err`).
int run_command(Host& host, const std::string& path, FILE* out, FILE* err);
// The same with a scenario made by the caller (its hooks set); `out` null
// for no transcript.
class Scenario;
int run_command(Scenario& scenario, const std::string& path, FILE* out, FILE* err);

// Runs a scenario as `run` does, without its transcript, and writes the
// variables it names as a table of flight data (host/scenario/flight_table.h)
// that "replay FILE" plays back: one row every `every` frames (every frame by
// default) and one for the last frame, at the time of the frame's start, the
// first frame at 0. 1 when the table was written but the scenario's
// expectations failed or a module faulted; 2 when nothing was run (a variable
// not known, a table that cannot be written, a scenario that cannot be read
// or run to its end), said in one line on `err`.
struct RecordFlightOptions {
    std::string scenario;
    std::string out;
    std::vector<std::string> vars;  // ids or catalogue names
    uint64_t every = 1;
};
int record_flight_command(const RecordFlightOptions& options, const HostOptions& host, FILE* out, FILE* err);

// Loads the modules and describes each gauge: its elements and every mouse
// entry with the name of its callback, so that a scenario's clicks can be
// written from it; with `records`, every field the module fills in and what
// each element shows after the first frame. 2 when the loader refused a
// module (the reason on stderr).
int info_command(Host& host, const std::vector<std::string>& modules, bool records, FILE* out);

// The key events the simulator stand-in answers, and its models.
int sim_command(FILE* out);

// The findings of the panel check (host/panel/panel_check.h): 1 when any is
// an error.
int check_command(const std::string& panel, const HostOptions& host, const std::string& artwork_dir, FILE* out);

#if defined(KESTREL_RENDER)
struct PictureOptions;

// `artwork_dir` is where the modules' bitmaps are.
int render_command(const PictureOptions& options, const HostOptions& host, const std::string& artwork_dir);
int demo_command(PictureOptions options, const HostOptions& host, const std::string& artwork_dir);
#endif

}  // namespace kestrel
