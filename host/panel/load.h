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

}  // namespace kestrel
