#include "host/commands/pictures.h"

#include <stdio.h>
#include <strings.h>

#include <algorithm>
#include <set>

#include "host/files.h"
#include "host/util.h"

namespace kestrel {

namespace {

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string png_bytes(cairo_surface_t* s) {
    std::string out;
    cairo_surface_write_to_png_stream(s, append_bytes, &out);
    return out;
}

void print_all(const std::vector<std::string>& messages) {
    for (const std::string& m : messages) fprintf(stderr, "%s\n", m.c_str());
}

// A panel configuration for one module alone: its gauge at its own size.
PanelConfig single_module(const std::string& module) {
    PanelConfig c;
    c.path = module;
    PanelWindow w;
    w.title = module;
    PanelGauge g;
    g.module = module_name(module);
    w.gauges.push_back(g);
    c.windows.push_back(w);
    return c;
}

// The panel's modules that have no file in the gauges folder, each with
// the line that names it: a whole message, or `brief`ly "name (line N)".
std::vector<std::string> missing_modules(const PanelConfig& config, const std::string& gauge_dir, bool brief) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (const PanelWindow& w : config.windows)
        for (const PanelGauge& g : w.gauges) {
            if (!seen.insert(g.module).second) continue;
            const std::string path = gauge_dir + "/" + g.module + ".gau";
            if (exists(path)) continue;
            if (brief)
                out.push_back(format("%s (line %d)", g.module.c_str(), g.line));
            else
                out.push_back(format("%s:%d: no module %s (%s); its gauge is drawn as a placeholder", config.path.c_str(), g.line,
                                     g.module.c_str(), path.c_str()));
        }
    return out;
}

// The pictures' names: the panel's own for a panel of one window, else the
// panel's followed by each window's title, made safe as a file name and
// different from the others'.
std::vector<std::string> picture_names(const PanelConfig& config, const std::string& stem) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const PanelWindow& w : config.windows) {
        if (config.windows.size() == 1) {
            names.push_back(stem);
            break;
        }
        const std::string base = stem + "_" + safe_file_name(w.title);
        std::string name = base;
        for (int k = 2; !taken.insert(lower_case(name)).second; ++k) name = base + format("_%d", k);
        names.push_back(name);
    }
    return names;
}

// Notes on what a picture shows that the simulator would not show at once.
std::vector<std::string> window_notes(const PanelConfig& config) {
    std::vector<std::string> out;
    for (const PanelWindow& w : config.windows)
        if (!w.visible)
            out.push_back(format("%s:%d: note: %s starts hidden (visible=0); it is drawn all the same",
                                 config.path.c_str(), w.line, w.title.c_str()));
    return out;
}

// Loaded gauges that the panel gives no place.
std::vector<std::string> unplaced(Host& host, const PanelConfig& config) {
    std::vector<std::string> out;
    for (const auto& g : host.gauges()) {
        bool placed = false;
        for (const PanelWindow& w : config.windows)
            for (const PanelGauge& e : w.gauges) placed = placed || e.module == g->name;
        if (!placed) out.push_back(g->name);
    }
    return out;
}

std::string unplaced_line(const PanelConfig& config, const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
    return config.path + ": not drawn, as the panel has no place for them: " + list;
}
Run::Run(Host& h, const std::string& name) : host(h), scenario(h, name) {
    scenario.after_frame = [](void* self, uint64_t frame) {
        Run& r = *static_cast<Run*>(self);
        r.seconds += 1.0 / std::max<uint32_t>(r.host.sim.frame_rate(), 1);
        if (r.on_frame) r.on_frame(frame);
    };
    scenario.after_frame_context = this;
}

bool Run::play(const std::string& text, const std::function<void(const Command&)>& before,
               const std::function<void()>& after) {
    const std::vector<std::string> lines = scenario_lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        Command c;
        if (!scenario.read(lines[i], &c)) return false;
        if (before) before(c);
        if (!scenario.run(c)) return false;
        done = static_cast<double>(i + 1) / static_cast<double>(lines.size());
        if (after) after();
    }
    return scenario.finish();
}

}  // namespace kestrel
