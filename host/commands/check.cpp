// kestrel check PANEL.cfg: the findings, one line each as compilers write
// them ("panel.cfg:LINE: error: ..."), then a summary line.
#include "host/commands/commands.h"
#include "host/panel/panel_check.h"

namespace kestrel {

int check_command(const std::string& panel, const HostOptions& host, const std::string& artwork_dir, FILE* out) {
    PanelConfig config = read_panel_config(panel);
    match_module_names(&config, host.gauge_dir);
    int counts[3] = {0, 0, 0};
    for (const Finding& f : check_panel(config, host.gauge_dir, natural_sizes(host.gauge_dir, artwork_dir))) {
        ++counts[static_cast<int>(f.severity)];
        if (f.line > 0)
            fprintf(out, "%s:%d: %s: %s\n", config.path.c_str(), f.line, severity_name(f.severity), f.message.c_str());
        else
            fprintf(out, "%s: %s: %s\n", config.path.c_str(), severity_name(f.severity), f.message.c_str());
    }
    const int errors = counts[int(Severity::Error)], warnings = counts[int(Severity::Warning)];
    if (errors + warnings == 0)
        fprintf(out, "%s: no problems found\n", config.path.c_str());
    else
        fprintf(out, "%s: %d error%s, %d warning%s\n", config.path.c_str(), errors, errors == 1 ? "" : "s", warnings,
                warnings == 1 ? "" : "s");
    return errors > 0 ? 1 : 0;
}

}  // namespace kestrel
