// A module loaded again in place, as the simulator loads a panel again,
// while the panel runs: the gauge of a rebuilt module file.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"
#include "host/panel/panel_config.h"

namespace kestrel {

struct Reloaded {
    std::vector<std::string> modules;   // loaded again, in the panel's order
    std::vector<std::string> problems;  // "panel.cfg:LINE: ...": a module refused, drawn as a placeholder
    double seconds = 0;                 // what it took
    // "reloaded flap_lever in 12 ms" or "reloaded broadcaster, and its readers pfd hsi, in 30 ms"
    std::string summary(const std::string& module) const;
};

// Loads module `module` of the panel again from the gauges folder: pre-kill
// and unload its gauge and the gauges that bind a name it owns (their
// pointers go with the owner), then load them from their files, pre-install
// them all and pre-initialize them all, in the panel's order, so that the
// owner registers its names before its readers bind them. A module that was
// not loaded (it had failed) takes every gauge of the panel with it, since
// any of them may bind what it owns. The simulator's variables keep their
// values; the first frame is the caller's to run. Gauges keep the panel's
// order in frames.
Reloaded reload_module(Host& host, const PanelConfig& config, const std::string& gauge_dir, const std::string& module);

// Every gauge of the panel unloaded and loaded again (a panel configuration
// read anew): the simulator's variables keep their values.
Reloaded reload_panel(Host& host, const PanelConfig& config, const std::string& gauge_dir);

}  // namespace kestrel
