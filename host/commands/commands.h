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

// `args` are the words after the command name; `artwork_dir` is where the
// modules' bitmaps are. Both return the process exit code.
int render_command(const std::vector<std::string>& args, const HostOptions& host, const std::string& artwork_dir);
int demo_command(const std::vector<std::string>& args, const HostOptions& host, const std::string& artwork_dir);

// The options these two commands take, for the usage text.
extern const char RENDER_USAGE[];

}  // namespace kestrel
