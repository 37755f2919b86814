#pragma once

#include <string>
#include <vector>

#include "host/host.h"
#include "host/panel/panel_config.h"

namespace kestrel {

// Loads the modules of a panel configuration into the host, each once, in
// the order first named, from the gauges folder only. A module with no file
// there, or one the host refuses, is reported once as "panel.cfg:LINE: ..."
// and its gauges are skipped. Returns the messages (the configuration's own
// problems first).
std::vector<std::string> load_panel(Host& host, const PanelConfig& config, const std::string& gauge_dir);

// What the commands refuse before they run, each as one line "PATH: WHY",
// or "" when the input will do.
// A panel configuration: a text file with at least one window.
std::string panel_file_problem(const std::string& path);
// A module: a name without folder or extension, found as
// `gauge_dir`/NAME.gau, or the path of a .gau file.
std::string module_problem(const std::string& module, const std::string& gauge_dir);
// What `render` draws: a panel configuration (a name ending in .cfg) or a
// module.
std::string target_problem(const std::string& target, const std::string& gauge_dir);

}  // namespace kestrel
