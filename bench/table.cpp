#include "bench/table.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>

namespace kestrel::bench {

bool TableReporter::ReportContext(const Context& context) {
    cpus_ = context.cpu_info.num_cpus;
    return true;
}

void TableReporter::ReportRuns(const std::vector<Run>& runs) {
    if (runs.empty()) return;
    const std::string name = runs.front().run_name.function_name;
    // The median over the repetitions; a single repetition is its own.
    const Run* chosen = nullptr;
    int repetitions = 0;
    for (const Run& r : runs) {
        if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") chosen = &r;
        if (r.run_type == Run::RT_Iteration) ++repetitions;
    }
    if (!chosen) chosen = &runs.back();
    if (chosen->run_type == Run::RT_Aggregate) repetitions = static_cast<int>(chosen->repetitions);
    Result result;
    result.seconds = chosen->GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(chosen->time_unit);
    result.repetitions = std::max(repetitions, 1);
    for (const auto& [key, counter] : chosen->counters) result.counters[key] = counter.value;
    result.label = chosen->report_label;
    if (chosen->error_occurred) result.error = chosen->error_message;
    const bool first = !results_.count(name);
    results_[name] = result;
    if (!first) return;
    order_.push_back(name);
    ++done_;
    // Progress: one line rewritten on a terminal, a line each elsewhere.
    if (isatty(fileno(stderr)))
        fprintf(stderr, "\rkestrel_bench: %zu of %zu (%s)\033[K", done_, total_, name.c_str());
    else
        fprintf(stderr, "kestrel_bench: %zu of %zu (%s)\n", done_, total_, name.c_str());
    fflush(stderr);
}

const TableReporter::Result* TableReporter::find(const std::string& name) const {
    auto it = results_.find(name);
    return it == results_.end() || !it->second.error.empty() ? nullptr : &it->second;
}

namespace {

double counter(const TableReporter::Result* r, const char* key) {
    if (!r) return 0;
    auto it = r->counters.find(key);
    return it == r->counters.end() ? 0 : it->second;
}

}  // namespace

void TableReporter::Finalize() {
    if (isatty(fileno(stderr))) fprintf(stderr, "\r\033[K");
    FILE* f = out_;
    char date[32];
    const time_t now = time(nullptr);
    strftime(date, sizeof date, "%Y-%m-%d", localtime(&now));
    int repetitions = 0;
    for (const auto& [name, r] : results_) repetitions = std::max(repetitions, r.repetitions);

    auto line = [&](const std::string& what, const std::string& value, const std::string& note = "") {
        fprintf(f, "| %-62s | %12s | %-26s |\n", what.c_str(), value.c_str(), note.c_str());
    };
    auto time_text = [](double seconds, bool micro) {
        char s[32];
        if (micro)
            snprintf(s, sizeof s, "%.2f us", seconds * 1e6);
        else
            snprintf(s, sizeof s, "%.3f ms", seconds * 1e3);
        return std::string(s);
    };
    auto measured = [&](const std::string& name, const std::string& what, bool micro, const std::string& note = "") {
        auto it = results_.find(name);
        if (it == results_.end()) return;
        if (!it->second.error.empty())
            line(what, "-", it->second.error);
        else
            line(what, time_text(it->second.seconds, micro), note);
    };
    auto gauges_of = [&](const std::string& prefix) {
        std::vector<std::string> out;
        for (const std::string& name : order_)
            if (name.rfind(prefix, 0) == 0 && name != prefix + "panel" && name != prefix + "texts")
                out.push_back(name.substr(prefix.size()));
        return out;
    };

    fprintf(f, "Kestrel benchmarks, %s: median CPU time of %d runs each, %d CPUs\n\n", date, repetitions, cpus_);
    fprintf(f, "| %-62s | %12s | %-26s |\n", "What", "Median", "Note");
    fprintf(f, "|%s|%s|%s|\n", std::string(64, '-').c_str(), std::string(14, '-').c_str(),
            std::string(28, '-').c_str());

    // Module work
    const Result* panel = find("module_work/panel");
    const Result* texts = find("module_work/texts");
    const int gauges = static_cast<int>(counter(panel, "gauges"));
    const int text_count = static_cast<int>(counter(panel, "texts"));
    char what[160];
    snprintf(what, sizeof what, "Module work, one frame: panel of %d gauges, %d texts", gauges, text_count);
    measured("module_work/panel", what, true, "goal 30 us for 31 gauges");
    for (const std::string& g : gauges_of("module_work/")) {
        const Result* r = find("module_work/" + g);
        const int n = static_cast<int>(counter(r, "texts"));
        snprintf(what, sizeof what, "  %s%s", g.c_str(),
                 n ? (" (" + std::to_string(n) + (n == 1 ? " text)" : " texts)")).c_str() : "");
        measured("module_work/" + g, what, true);
    }
    double per_text = 0;
    if (texts && text_count > 0) {
        per_text = texts->seconds / text_count;
        snprintf(what, sizeof what, "  text elements alone, each (of %d)", text_count);
        line(what, time_text(per_text, true));
    }
    if (panel && gauges > 0) {
        const double per_gauge = std::max(panel->seconds - per_text * text_count, 0.0) / gauges;
        const double estimate = FULL_PANEL_GAUGES * per_gauge + FULL_PANEL_TEXTS * per_text;
        snprintf(what, sizeof what, "  estimate: %d gauges at %.2f us, %d texts at %.3f us", FULL_PANEL_GAUGES,
                 per_gauge * 1e6, FULL_PANEL_TEXTS, per_text * 1e6);
        line(what, time_text(estimate, true), estimate <= MODULE_WORK_GOAL ? "within the goal" : "over the goal");
    }
    measured("host_frame/panel", "The development host's frame (module work and bookkeeping)", true);

    // Drawing
    const Result* draw = find("draw/panel");
    const Result* copy = find("memcpy/panel");
    snprintf(what, sizeof what, "Drawing the panel at 1:1, %s: %d layers, %.2f Mpixels",
             draw ? draw->label.c_str() : "?", static_cast<int>(counter(draw, "layers")),
             counter(draw, "pixels") / 1e6);
    measured("draw/panel", what, false, "goal 2 ms");
    measured("memcpy/panel", "  memcpy of the same layers' pixels", false);
    if (draw && copy && copy->seconds > 0) {
        char ratio[32];
        snprintf(ratio, sizeof ratio, "%.1f", draw->seconds / copy->seconds);
        line("  drawing / memcpy", ratio);
    }
    for (const std::string& g : gauges_of("draw/")) {
        const Result* r = find("draw/" + g);
        snprintf(what, sizeof what, "  %s%s", g.c_str(), r && !r->label.empty() ? (" " + r->label).c_str() : "");
        measured("draw/" + g, what, false);
    }
    for (const char* which : {"whole", "kept"}) {
        const Result* r = find(std::string("flight/") + which);
        if (!r) continue;
        const bool whole = which[0] == 'w';
        snprintf(what, sizeof what, "Drawing the demo flight: %d frames, %s", static_cast<int>(counter(r, "frames")),
                 whole ? "each drawn whole" : "changed gauges redrawn");
        char note[64];
        snprintf(note, sizeof note, "%d frames drawn", static_cast<int>(counter(r, "redrawn")));
        line(what, time_text(counter(r, "frame"), false), whole ? "per frame" : std::string("per frame; ") + note);
    }
    measured("demo_frame/panel", "A demo frame: the host's frame and a new picture", false);
    if (const Result* r = find("live/flight")) {
        const double frame = counter(r, "frame");
        snprintf(what, sizeof what, "Live panel, the demo flight: %d frames, changed gauges sent",
                 static_cast<int>(counter(r, "frames")));
        char note[96];
        snprintf(note, sizeof note, "per frame; %.0f%% of a core, %.0f kB/s", frame * 18 * 100,
                 counter(r, "bytes") * 18 / 1000);
        line(what, time_text(frame, false), note);
    }
    snprintf(what, sizeof what, "Loading the panel: %d modules and their artwork",
             static_cast<int>(counter(find("load/panel"), "gauges")));
    measured("load/panel", what, false);
    for (const std::string& m : gauges_of("reload/")) {
        const int n = static_cast<int>(counter(find("reload/" + m), "gauges"));
        snprintf(what, sizeof what, "Reloading %s (%d gauge%s) and drawing", m.c_str(), n,
                 n == 1 ? "" : "s");
        measured("reload/" + m, what, false, "the watcher adds 0.5 to 0.75 s");
    }
    fflush(f);
}

}  // namespace kestrel::bench
