// The kestrel commands, one file each. Their inputs are checked by the
// command line first (host/main.cpp); each returns the process exit code:
// 0 it did what was asked, 1 it ran and found problems, 2 it could not.
//
//   kestrel run SCENARIO.kes
//   kestrel info [--records] MODULE...
//   kestrel sim
//   kestrel check PANEL.cfg
//   kestrel render PANEL.cfg|MODULE [--scenario S] [--at TIMES] [--out DIR]
//                                   [--scale X] [--light day|dusk|night]
//   kestrel demo [--panel CFG] [--scenario S] [--out DIR] [--scale X]
//                [--light day|dusk|night]
// (and kestrel serve: viewer/server.h)
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace kestrel {

// Reads and runs a scenario file, printing the transcript to `out` as it
// goes: 1 on failed expectations or faults, 2 when the file cannot be read
// or understood (the reason on `err`).
int run_command(Host& host, const std::string& path, FILE* out, FILE* err);

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
