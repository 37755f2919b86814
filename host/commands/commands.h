// The host's picture commands:
//
//   kestrel render PANEL.cfg|MODULE [--scenario S] [--at TIMES] [--out DIR]
//                                   [--scale X] [--light day|dusk|night]
//   kestrel demo [--panel CFG] [--scenario S] [--out DIR] [--scale X]
//                [--light day|dusk|night]
#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace kestrel {

struct PictureOptions;

// The options as the command line read them (their inputs checked there);
// `artwork_dir` is where the modules' bitmaps are. Both return the process
// exit code.
int render_command(const PictureOptions& options, const HostOptions& host, const std::string& artwork_dir);
int demo_command(PictureOptions options, const HostOptions& host, const std::string& artwork_dir);

}  // namespace kestrel
