#include "host/panel/panel_check.h"

#include <math.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "host/files.h"
#include "host/panel/bitmap.h"
#include "host/loader.h"
#include "host/util.h"

namespace kestrel {

const std::vector<KestrelModule>& kestrel_modules() {
    // Which module registers and which binds each shared variable. The two
    // owners register theirs when they are installed; every other gauge
    // binds the names it uses when it is initialised.
    static const std::vector<KestrelModule> modules = {
        {"broadcaster", "KESTREL", "adfvor apu nosmoking seatbelts display eicas rose power sfd", "",
         "the panel never powers up and no switch reaches another gauge"},
        {"pfd", "KESTREL", "", "display", ""},
        {"hsi", "KESTREL", "", "rose adfvor display", ""},
        {"rmi", "KESTREL", "", "power", ""},
        {"rose_arc_switch", "kestrel", "", "rose power sfd", ""},
        {"standby_attitude", "KESTREL", "", "power", ""},
        {"standby_altimeter", "KESTREL", "", "power", ""},
        {"standby_airspeed", "KESTREL", "", "power", ""},
        {"turn_coordinator", "KESTREL", "", "", ""},
        {"overspeed_warning", "KESTREL", "", "", ""},
        {"eicas_upper", "KESTREL", "", "seatbelts nosmoking apu eicas ab", ""},
        {"eicas_lower", "KESTREL", "", "eicas", ""},
        {"overhead_switches", "KESTREL", "", "nosmoking seatbelts apu power", ""},
        {"manual_starters", "KESTREL", "", "power", ""},
        {"electric_panel", "KESTREL", "", "power", ""},
        {"fuel_panel", "KESTREL", "", "power", ""},
        {"display_switch_1", "KESTREL", "", "eicas power", ""},
        {"display_switch_2", "KESTREL", "", "display power", ""},
        {"autopilot_panel_1", "KESTREL", "", "adfvor power", ""},
        {"autopilot_panel_2", "KESTREL", "", "power", ""},
        {"flight_computer", "KESTREL", "", "power", ""},
        {"position_readout", "KESTREL", "", "power", ""},
        {"radio_panel", "KESTREL", "", "power", ""},
        {"transponder", "KESTREL", "", "power", ""},
        {"chronometer", "KESTREL", "", "power", ""},
        {"throttle_quadrant", "KESTREL", "", "apu power", ""},
        {"gear_handle", "KESTREL", "", "power", ""},
        {"flap_lever", "KESTREL", "", "power", ""},
        {"spoiler_lever", "KESTREL", "", "power", ""},
        {"spoiler_arm", "KESTREL", "", "power", ""},
        {"autobrake_panel", "KESTREL", "ab", "power", "the upper engine display never shows the autobrake setting"},
    };
    return modules;
}

const KestrelModule* kestrel_module(const std::string& name) {
    for (const KestrelModule& m : kestrel_modules())
        if (strcasecmp(m.module, name.c_str()) == 0) return &m;
    return nullptr;
}

namespace {

std::vector<std::string> words(const char* list) { return split_words(list); }

bool shares(const char* a, const char* b) {
    for (const std::string& x : words(a))
        for (const std::string& y : words(b))
            if (x == y) return true;
    return false;
}

// A gauge entry in load order: windows in order, then each window's gauges.
struct Placed {
    const PanelWindow* window;
    const PanelGauge* entry;
    const KestrelModule* kestrel;  // null for modules of other sets
};

std::string where(const Placed& p) {
    return format("gauge%02d (%s)", p.entry->number, p.entry->module.c_str());
}

// The names of up to four entries, and how many more.
std::string some(const std::vector<const Placed*>& list) {
    std::string out;
    std::set<std::string> named;
    size_t shown = 0;
    for (const Placed* p : list) {
        if (!named.insert(p->entry->module).second) continue;
        if (shown++ == 4) {
            out += " ...";
            break;
        }
        out += (out.empty() ? "" : ", ") + p->entry->module;
    }
    return out;
}

struct Checker {
    const PanelConfig& config;
    const std::string& gauge_dir;
    const NaturalSize& natural;
    std::vector<Finding> out;
    std::vector<Placed> placed;

    void add(Severity s, int line, const std::string& message) { out.push_back({s, line, message}); }

    void modules_present() {
        std::set<std::string> seen;
        for (const Placed& p : placed) {
            if (!seen.insert(p.entry->module).second) continue;
            const std::string path = gauge_dir + "/" + p.entry->module + ".gau";
            if (file_kind(path) != FileKind::File)
                add(Severity::Error, p.entry->line,
                    format("%s.gau is not in the Gauges folder (%s): its gauges do not show", p.entry->module.c_str(),
                           gauge_dir.c_str()));
        }
    }

    void gauge_names() {
        for (const Placed& p : placed) {
            if (!p.kestrel) continue;
            const std::string& given = p.entry->gauge;
            const char* expected = p.kestrel->gauge;
            if (given == expected) continue;
            const std::string right = std::string(p.kestrel->module) + "!" + expected;
            if (given.empty())
                add(Severity::Warning, p.entry->line, format("%s names no gauge: write %s", where(p).c_str(), right.c_str()));
            else if (strcasecmp(given.c_str(), expected) == 0)
                add(Severity::Warning, p.entry->line,
                    format("%s: the module's gauge is spelt %s, not %s: write %s", where(p).c_str(), expected,
                           given.c_str(), right.c_str()));
            else
                add(Severity::Error, p.entry->line,
                    format("%s: the module has no gauge named %s, so nothing shows there: write %s", where(p).c_str(),
                           given.c_str(), right.c_str()));
        }
    }

    // Every owner of shared variables must be on the panel before the
    // gauges that bind them: they bind the names once, when they start.
    void shared_variables() {
        for (const KestrelModule& owner : kestrel_modules()) {
            if (!*owner.registers) continue;
            std::vector<const Placed*> binders, owners;
            for (const Placed& p : placed) {
                if (p.kestrel == &owner) owners.push_back(&p);
                else if (p.kestrel && shares(p.kestrel->binds, owner.registers)) binders.push_back(&p);
            }
            if (binders.empty()) continue;
            if (owners.empty()) {
                add(Severity::Error, binders.front()->entry->line,
                    format("no %s on the panel: %s bind%s its shared variables and find nothing, so %s; add "
                           "%s!KESTREL before them",
                           owner.module, some(binders).c_str(), binders.size() == 1 ? "s" : "", owner.without,
                           owner.module));
                continue;
            }
            const Placed& first = *owners.front();
            if (binders.front() < &first)
                add(Severity::Warning, first.entry->line,
                    format("%s comes after %s (line %d), which binds its shared variables when it starts: place "
                           "%s first (gauge00 of [Window00])",
                           owner.module, where(*binders.front()).c_str(), binders.front()->entry->line,
                           owner.module));
            if (!first.window->visible)
                add(Severity::Warning, first.entry->line,
                    format("%s is in %s, which starts hidden: keep it in a window that is always there", owner.module,
                           first.window->title.c_str()));
            for (size_t i = 1; i < owners.size(); ++i)
                add(Severity::Warning, owners[i]->entry->line,
                    format("%s is placed again (first at line %d): one on the panel is enough", owner.module,
                           first.entry->line));
        }
    }

    struct Box {
        const Placed* p;
        double x, y, w, h;
    };

    // The entry's box, when its size can be told.
    bool box(const Placed& p, Box* b) {
        const PanelGauge& g = *p.entry;
        double w = g.width, h = g.height;
        if (w <= 0 || h <= 0) {
            int nw, nh;
            if (!natural || !natural(g.module, &nw, &nh) || nw <= 0 || nh <= 0) return false;
            if (w <= 0) w = nw;
            if (h <= 0) h = g.width > 0 ? double(g.width) * nh / nw : nh;
        }
        *b = {&p, double(g.x), double(g.y), w, h};
        return true;
    }

    void places() {
        // Overlaps are looked for among this many entries of a window at most.
        constexpr size_t MAX_COMPARED = 2000;
        std::map<const PanelWindow*, std::vector<Box>> boxes;
        for (const Placed& p : placed) {
            const PanelWindow& w = *p.window;
            const PanelGauge& g = *p.entry;
            Box b;
            const bool sized = box(p, &b);
            if (!sized) b = {&p, double(g.x), double(g.y), 0, 0};
            // A side the window does not give is as far as its gauges reach.
            const double ww = w.width > 0 ? w.width : HUGE_VAL, wh = w.height > 0 ? w.height : HUGE_VAL;
            const bool none_inside = b.x >= ww || b.y >= wh || b.x + b.w <= 0 || b.y + b.h <= 0;
            const bool all_inside = b.x >= 0 && b.y >= 0 && b.x + b.w <= ww && b.y + b.h <= wh;
            const std::string size = w.height > 0 ? format("%dx%d", w.width, w.height) : format("%d wide", w.width);
            if (sized && none_inside)
                add(Severity::Error, g.line,
                    format("%s lies wholly outside %s (%s), so it is never seen", where(p).c_str(), w.title.c_str(),
                           size.c_str()));
            else if (!sized && (b.x < 0 || b.y < 0 || b.x >= ww || b.y >= wh))
                add(Severity::Error, g.line,
                    format("%s starts outside %s (%s)", where(p).c_str(), w.title.c_str(), size.c_str()));
            else if (sized && !all_inside)
                add(Severity::Warning, g.line,
                    format("%s reaches outside %s (%s): what lies beyond is cut off", where(p).c_str(),
                           w.title.c_str(), size.c_str()));
            // The broadcaster is a plain plate meant to sit under other gauges.
            const bool hides = p.kestrel && strcmp(p.kestrel->module, "broadcaster") == 0;
            if (sized && !hides && boxes[&w].size() < MAX_COMPARED) boxes[&w].push_back(b);
        }
        for (auto& [window, list] : boxes)
            for (size_t j = 1; j < list.size(); ++j)
                for (size_t i = 0; i < j; ++i) {
                    const Box &a = list[i], &b = list[j];
                    if (a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h) {
                        add(Severity::Warning, b.p->entry->line,
                            format("%s overlaps %s (line %d) and is drawn over it", where(*b.p).c_str(),
                                   where(*a.p).c_str(), a.p->entry->line));
                        break;  // one overlap told for each gauge
                    }
                }
    }

    void run() {
        for (const PanelProblem& p : config.problems) out.push_back({p.severity, p.line, p.message});
        for (const PanelWindow& w : config.windows) {
            if (!w.visible)
                add(Severity::Note, w.line,
                    format("%s starts hidden (visible=0); its gauges are loaded with the panel", w.title.c_str()));
            for (const PanelGauge& g : w.gauges) placed.push_back({&w, &g, kestrel_module(g.module)});
        }
        modules_present();
        gauge_names();
        shared_variables();
        places();
        std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    }
};

}  // namespace

std::vector<Finding> check_panel(const PanelConfig& config, const std::string& gauge_dir,
                                 const NaturalSize& natural_size) {
    Checker c{config, gauge_dir, natural_size, {}, {}};
    c.run();
    return c.out;
}

const char* severity_name(Severity s) {
    return s == Severity::Error ? "error" : s == Severity::Warning ? "warning" : "note";
}

bool module_size(const std::string& gauge_dir, const std::string& artwork_dir, const std::string& module, int* w,
                 int* h) {
    if (!kestrel_module(module)) return false;  // other sets' modules are not opened
    Library library;
    std::string fault;
    if (!open_library(gauge_dir + "/" + module + ".gau", &library, &fault)) return false;
    GaugeLayout layout;
    bool found = false;
    if (read_module(library_symbol(library, "Linkage"), library_symbol(library, "ImportTable"), library.memory,
                    &layout)
            .empty() &&
        !layout.elements.empty()) {
        const uint32_t id = layout.elements[0]->resource_id;
        found = library_bitmap_size(library, id, w, h);
        Pixels px;
        if (!found && read_bmp(artwork_dir + "/" + module + "/" + format("%04X", id) + ".bmp", &px).empty()) {
            *w = px.width;
            *h = px.height;
            found = true;
        }
    }
    close_library(&library);
    return found;
}

NaturalSize natural_sizes(const std::string& gauge_dir, const std::string& artwork_dir) {
    auto sizes = std::make_shared<std::map<std::string, std::pair<int, int>>>();  // each module opened once
    return [=](const std::string& module, int* w, int* h) {
        auto it = sizes->find(module);
        if (it == sizes->end()) {
            int a = 0, b = 0;
            if (!module_size(gauge_dir, artwork_dir, module, &a, &b)) a = b = 0;
            it = sizes->emplace(module, std::make_pair(a, b)).first;
        }
        *w = it->second.first;
        *h = it->second.second;
        return *w > 0 && *h > 0;
    };
}

}  // namespace kestrel
