#include "host/panel/load.h"

#include <map>

#include "host/files.h"
#include "host/util.h"

namespace kestrel {

std::vector<std::string> load_panel(Host& host, const PanelConfig& config, const std::string& gauge_dir) {
    std::vector<std::string> messages = config.messages();
    std::vector<std::string> present;
    std::map<std::string, int> first_line;
    for (const PanelWindow& w : config.windows)
        for (const PanelGauge& g : w.gauges)
            if (!first_line.count(g.module)) first_line[g.module] = g.line;
    for (const std::string& module : config.modules()) {
        const std::string path = gauge_dir + "/" + module + ".gau";
        if (!exists(path)) {
            messages.push_back(format("%s:%d: no module %s (%s); its gauge is skipped", config.path.c_str(),
                                      first_line[module], module.c_str(), path.c_str()));
            continue;
        }
        if (host.find(module)) continue;
        // The path itself, so that no name is ever looked up anywhere else.
        present.push_back(path);
    }
    std::string error;
    if (!host.load(present, &error)) {
        // One line per refused module, "<module>: <fault>".
        size_t start = 0;
        while (start < error.size()) {
            size_t end = error.find('\n', start);
            if (end == std::string::npos) end = error.size();
            const std::string line = error.substr(start, end - start);
            const std::string module = line.substr(0, line.find(':'));
            messages.push_back(format("%s:%d: %s; its gauge is skipped", config.path.c_str(),
                                      first_line.count(module) ? first_line[module] : 0, line.c_str()));
            start = end + 1;
        }
    }
    return messages;
}

}  // namespace kestrel
