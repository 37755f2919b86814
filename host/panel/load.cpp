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
            messages.push_back(format("%s:%d: no module %s (%s); its gauge is drawn as a placeholder", config.path.c_str(),
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
            messages.push_back(format("%s:%d: %s; its gauge is drawn as a placeholder", config.path.c_str(),
                                      first_line.count(module) ? first_line[module] : 0, line.c_str()));
            start = end + 1;
        }
    }
    return messages;
}

std::string panel_file_problem(const std::string& path) {
    std::string why = text_file_problem(path, "a panel configuration (.cfg)");
    if (!why.empty()) return why;
    if (read_panel_config(path).windows.empty())
        return path + ": no [WindowNN] section with a gauge or a size, not a panel configuration";
    return "";
}

std::string module_problem(const std::string& module, const std::string& gauge_dir) {
    const size_t slash = module.find_last_of("/\\");
    const bool has_folder = slash != std::string::npos;
    const std::string name = has_folder ? module.substr(slash + 1) : module;
    const bool has_extension = name.find('.') != std::string::npos;
    if (name.size() > 4 && lower_case(name.substr(name.size() - 4)) == ".gau")
        return binary_file_problem(module, "a module (.gau)");
    if (has_folder || has_extension || name.empty()) {
        const std::string why = binary_file_problem(module, "a panel file (.cfg) or a module name");
        if (why.find(": a folder") != std::string::npos) return why;
        return module + ": not a panel file (.cfg) or a module name";
    }
    const std::string path = gauge_dir + "/" + name + ".gau";
    if (!exists(path)) return module + ": no module of that name in " + gauge_dir + " (no " + path + ")";
    return binary_file_problem(path, "a module (.gau)");
}

std::string target_problem(const std::string& target, const std::string& gauge_dir) {
    return is_panel_file(target) ? panel_file_problem(target) : module_problem(target, gauge_dir);
}

}  // namespace kestrel
