// `kestrel check PANEL.cfg`: a panel builder's check before flying. It reads
// the panel as the simulator reads it and says, one line per finding with
// the file and line, what would keep a gauge from showing or working:
//
//   errors    a line the simulator cannot read; a module missing from the
//             Gauges folder; a gauge name the module does not carry; a gauge
//             of this set whose shared variables have no owner on the panel;
//             a gauge or window after a gap in the numbers; a gauge wholly
//             outside its window
//   warnings  an owner of shared variables later in the load order than a
//             gauge that binds them, or in a window that starts hidden; a
//             gauge partly outside its window, or over another; a background
//             bitmap that cannot be read
//   notes     windows that start hidden; what newer simulators' lines do not
//             change here
//
// It needs no renderer, so the Windows host has it too.
#pragma once

#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/panel/panel_config.h"

namespace kestrel {

// One of this set's modules: the gauge it carries, and the shared variables
// it registers and binds (blank-separated names).
struct KestrelModule {
    const char* module;
    const char* gauge;
    const char* registers;
    const char* binds;
    const char* without;  // for an owner: what the gauges that bind its variables miss without it
};
const std::vector<KestrelModule>& kestrel_modules();
// The module of this set with that file name (compared as Windows compares
// file names, without regard to case), or null.
const KestrelModule* kestrel_module(const std::string& name);

struct Finding {
    Severity severity;
    int line;  // 0: the file as a whole
    std::string message;
};

// A gauge's own size, for entries that give none; false when it cannot be
// told.
using NaturalSize = std::function<bool(const std::string& module, int* width, int* height)>;

// Every finding on the panel, ordered by line. Modules are looked for as
// `gauge_dir`/NAME.gau.
std::vector<Finding> check_panel(const PanelConfig& config, const std::string& gauge_dir,
                                 const NaturalSize& natural_size);

const char* severity_name(Severity s);

// The own size of this set's module `module` (its first element's bitmap,
// from the module's resources or the artwork folder), read without starting
// it; false for other sets' modules and when it cannot be told.
bool module_size(const std::string& gauge_dir, const std::string& artwork_dir, const std::string& module, int* w,
                 int* h);
// module_size as the check takes it, each module opened once.
NaturalSize natural_sizes(const std::string& gauge_dir, const std::string& artwork_dir);

}  // namespace kestrel
