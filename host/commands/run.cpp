// kestrel run SCENARIO.kes: the transcript as the scenario runs, then the
// count of expectations and failures.
#include "host/commands/commands.h"
#include "host/files.h"
#include "host/panel/panel_config.h"
#include "host/scenario/scenario.h"

namespace kestrel {

int run_command(Host& host, const std::string& path, FILE* out, FILE* err) {
    Scenario scenario(host, file_name(path));
    return run_command(scenario, path, out, err);
}

int run_command(Scenario& scenario, const std::string& path, FILE* out, FILE* err) {
    std::string text;
    if (!read_whole_file(path, &text)) {
        fprintf(err, "kestrel: cannot read the scenario %s\n", path.c_str());
        return 2;
    }
    scenario.folder = folder_of(path);
    bool ok = true;
    for (const std::string& line : scenario_lines(text)) {
        ok = scenario.run_line(line);
        const std::string t = scenario.take_transcript();
        if (out) fwrite(t.data(), 1, t.size(), out);
        if (!ok) break;
    }
    if (ok) ok = scenario.finish();
    if (!ok) {
        if (out) fflush(out);
        fprintf(err, "%s\n", scenario.error().c_str());
        return 2;
    }
    if (out)
        fprintf(out, "end: %d expectations, %d failed or faults\n", scenario.expectations(), scenario.failures());
    return scenario.failures() ? 1 : 0;
}

}  // namespace kestrel
