// Fuzz target over the gauge modules: each input is a session with the
// development host (fuzz/session.h) over the modules of the Gauges folder,
// every one of them, so gauges added later are covered without a change here,
// and the test gauge that uses every part of the frame (fuzz-gauges/).
// The session loads and unloads gauges in any order, with or without the
// owners of their shared variables and the sound library; sets the simulator
// variables the gauges read, and any other, to hostile values; calls any
// service id; clicks, holds and drags anywhere; moves the tick counter back
// and forth; writes odd values to the shared variables; and has the renderer
// draw what the gauges show.
//
// A crash or a sanitizer report is a finding, and so is any fault the host
// catches (a text callback that wrote past its buffer): the target aborts.
//
// With KESTREL_FUZZ_VERBOSE set, the target prints each session as a
// scenario (docs/scenarios.md) as it runs it: a finding replayed that way can
// be read, and mostly run again with "kestrel run".
#include <dirent.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <set>

#include "fuzz/resident.h"
#include "fuzz/session.h"
#include "host/host.h"
#include "host/render/render.h"
#include "host/util.h"

using namespace kestrel;
using namespace kestrel::fuzz;

namespace {

struct Catalogue {
    HostOptions options;
    std::vector<std::string> names;  // every module found, sorted
    std::vector<std::string> paths;  // their files
    std::vector<std::unique_ptr<ResidentModule>> modules;
    std::vector<uint32_t> variables;  // every simulator variable a gauge reads, sorted
    std::unique_ptr<Renderer> renderer;
};

Catalogue* catalogue;
bool verbose;

// One line of the session, as a scenario would say it.
__attribute__((format(printf, 1, 2))) void say(const char* fmt, ...) {
    if (!verbose) return;
    va_list args;
    va_start(args, fmt);
    vfprintf(stderr, fmt, args);
    va_end(args);
    fputc('\n', stderr);
}

[[noreturn]] void finding(const std::string& what) {
    fprintf(stderr, "\nfuzz_modules: %s\n", what.c_str());
    abort();
}

// ---------------------------------------------------------------------------
// Learning which simulator variables the gauges read: the sources of their
// elements, and the records they refresh through the host's table.

HostTable original_table;
HostTable recording_table;
std::set<uint32_t>* recorded;

void KCALL recording_lookup(ModuleVar* var) {
    if (var) recorded->insert(var->id);
    original_table.lookup_var(var);
}

void KCALL recording_initialize(ModuleVar* var) {
    if (var) recorded->insert(var->id);
    original_table.initialize_var(var);
}

void element_sources(const Gauge& g, std::set<uint32_t>* ids) {
    for (size_t i = 0; i < g.size(); ++i) {
        ElementHeader* e = g.element(i);
        switch (e->kind) {
        case KIND_NEEDLE: ids->insert(g.element_as<NeedleElement>(i)->source.id); break;
        case KIND_TEXT:
            for (const ModuleVar& v : g.element_as<TextElement>(i)->source) ids->insert(v.id);
            break;
        case KIND_SLIDER:
            ids->insert(g.element_as<SliderElement>(i)->source_x.id);
            ids->insert(g.element_as<SliderElement>(i)->source_y.id);
            break;
        case KIND_ICON: ids->insert(g.element_as<IconElement>(i)->source.id); break;
        case KIND_MOVING:
            ids->insert(g.element_as<MovingElement>(i)->source_x.id);
            ids->insert(g.element_as<MovingElement>(i)->source_y.id);
            break;
        case KIND_SPRITE:
            ids->insert(g.element_as<SpriteElement>(i)->source_x.id);
            ids->insert(g.element_as<SpriteElement>(i)->source_y.id);
            ids->insert(g.element_as<SpriteElement>(i)->source_rotation.id);
            break;
        default: break;
        }
    }
}

// Loads each module alone, with its lookups recorded, for a few frames.
void learn_variables(Catalogue& c) {
    std::set<uint32_t> ids = {0x1};
    recorded = &ids;
    Host host(c.options);
    for (size_t i = 0; i < c.names.size(); ++i) {
        c.modules[i]->restore();
        std::string error;
        if (!host.load({c.paths[i]}, &error, Host::Steps::None)) finding("cannot load " + error);
        Gauge& g = *host.find(c.names[i]);
        original_table = *g.layout.imports->host.table;
        recording_table = original_table;
        recording_table.lookup_var = recording_lookup;
        recording_table.initialize_var = recording_initialize;
        g.layout.imports->host.table = &recording_table;
        host.service(g, SERVICE_PRE_INSTALL);
        host.service(g, SERVICE_PRE_INITIALIZE);
        host.frames(2);
        element_sources(g, &ids);
        host.unload(c.names[i]);
    }
    recorded = nullptr;
    ids.erase(0);
    c.variables.assign(ids.begin(), ids.end());
}

// Every NAME.gau in the folders (a list separated by ':'), sorted by name;
// of two modules with one name, the first folder's.
void list_modules(const std::string& dirs, Catalogue* c) {
    std::vector<std::pair<std::string, std::string>> found;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        start = end + 1;
        DIR* d = dir.empty() ? nullptr : opendir(dir.c_str());
        if (!d) continue;
        std::vector<std::pair<std::string, std::string>> here;
        while (const dirent* entry = readdir(d)) {
            const std::string file = entry->d_name;
            if (file.size() <= 4 || file.compare(file.size() - 4, 4, ".gau") != 0) continue;
            const std::string name = file.substr(0, file.size() - 4);
            const bool known = std::any_of(found.begin(), found.end(), [&](const auto& f) { return f.first == name; });
            if (!known) here.push_back({name, dir + "/" + file});
        }
        closedir(d);
        found.insert(found.end(), here.begin(), here.end());
    }
    std::sort(found.begin(), found.end());
    for (const auto& [name, path] : found) {
        c->names.push_back(name);
        c->paths.push_back(path);
    }
}

// ---------------------------------------------------------------------------
// A session

class Session {
public:
    Session(Host& host, const uint8_t* data, size_t size) : host_(host), in_(data, size) {}

    void run() {
        say("# a session");
        for (size_t ops = 0; ops < MAX_OPS && !in_.done(); ++ops) {
            step(static_cast<Op>(in_.u8() % OP_SLOTS));
            check_faults();
        }
        release_press();
        check_faults();
        if (verbose) show();
        host_.unload_all();
        if (!host_.registry.entries().empty())
            finding("names stay registered after every module was unloaded: " +
                    host_.registry.entries()[0].name);
    }

private:
    // What every element showed at the end, and the shared variables.
    void show() {
        for (const auto& g : host_.gauges())
            for (size_t i = 0; i < g->size(); ++i) {
                const ElementState& st = g->state[i];
                say("# %s[%zu] %s %s %s flags %s%s", g->name.c_str(), i, number(st.value[0]).c_str(),
                    number(st.value[1]).c_str(), number(st.value[2]).c_str(), hex(st.flags).c_str(),
                    st.text.empty() ? "" : (" " + quote_text(st.text.c_str())).c_str());
            }
        for (const Registry::Entry& e : host_.registry.entries())
            say("# shared %s %d", e.name.c_str(), host_.registry.value(e.name));
    }

    void check_faults() {
        for (const Event& e : host_.events)
            if (e.kind == Event::Kind::Fault)
                finding("the host caught a fault" + (e.gauge.empty() ? "" : " in " + e.gauge) + ": " +
                        e.detail);
        host_.events.clear();
    }

    std::vector<std::string> loaded_names() const {
        std::vector<std::string> names;
        for (const auto& g : host_.gauges()) names.push_back(g->name);
        return names;
    }

    Gauge* loaded_gauge() {
        const int i = pick_gauge(loaded_names(), in_.u16());
        return i < 0 ? nullptr : host_.gauges()[static_cast<size_t>(i)].get();
    }

    Host::Steps steps(uint8_t b) { return static_cast<Host::Steps>(b % 3); }

    // Loads the modules (indexes into the catalogue) that are not loaded yet.
    void load(const std::vector<size_t>& modules, Host::Steps steps) {
        std::vector<size_t> fresh;
        std::vector<std::string> paths;
        for (size_t i : modules) {
            if (host_.find(catalogue->names[i]) || std::find(fresh.begin(), fresh.end(), i) != fresh.end())
                continue;
            catalogue->modules[i]->restore();
            fresh.push_back(i);
            paths.push_back(catalogue->paths[i]);
        }
        if (fresh.empty()) return;
        if (verbose) {
            std::string line = "load";
            for (size_t i : fresh) line += " " + catalogue->names[i];
            static const char* const how[] = {"  # not installed", "  # installed only", ""};
            say("%s%s", line.c_str(), how[static_cast<int>(steps)]);
        }
        std::string error;
        if (!host_.load(paths, &error, steps)) finding("a module of the Gauges folder was refused: " + error);
    }

    void set_variable(uint32_t id) {
        uint8_t kind = in_.u8() % KIND_SLOTS;
        if (kind >= VALUE_KINDS) kind = VALUE_SPECIAL;
        if (kind == VALUE_BCD) {
            const uint32_t bcd = in_.u32();
            say("set %s bcd %s", hex(id).c_str(), hex(bcd).c_str());
            host_.sim.set_bcd(id, bcd);
            return;
        }
        double v;
        switch (kind) {
        case VALUE_DOUBLE: v = in_.f64(); break;
        case VALUE_SPECIAL: v = special_value(in_.u8()); break;
        case VALUE_INT: v = in_.i32(); break;
        default: v = static_cast<int16_t>(in_.u16()) / 100.0; break;
        }
        say("set %s %s", hex(id).c_str(), number(v).c_str());
        host_.sim.set(id, v);
    }

    int32_t shared_value() {
        switch (in_.u8() % KIND_SLOTS) {
        case SHARED_RAW: return in_.i32();
        case SHARED_SMALL: return static_cast<int8_t>(in_.u8());
        default: return special_shared(in_.u8());
        }
    }

    // A point inside one of the gauge's clickable areas, or anywhere.
    void point(Gauge& g, int32_t* x, int32_t* y) {
        const uint8_t mode = in_.u8();
        if (mode >= POINT_RAW) {
            *x = in_.i32();
            *y = in_.i32();
            return;
        }
        const uint8_t dx = in_.u8(), dy = in_.u8();
        std::vector<const MouseRect*> areas;
        for (const MouseRect* r : g.layout.mouse)
            if (r->kind == MOUSE_CHILD) areas.push_back(r);
        *x = dx;
        *y = dy;
        if (areas.empty()) return;
        const PixBox& b = areas[mode % areas.size()]->box;
        *x = static_cast<int32_t>(b.x + (b.width > 0 ? dx % b.width : 0));
        *y = static_cast<int32_t>(b.y + (b.height > 0 ? dy % b.height : 0));
    }

    uint64_t take_frames(uint64_t wanted) {
        const uint64_t cost = std::max<size_t>(1, host_.gauges().size());
        const uint64_t n = std::min(wanted, frames_left_ / cost);
        frames_left_ -= n * cost;
        return n;
    }

    void release_press() {
        if (!pressed_) return;
        say("# release");
        host_.release(press_);
        pressed_ = false;
    }

    void step(Op op) {
        switch (op) {
        case OP_LOAD: {
            const size_t count = 1 + in_.u8() % 4;
            const Host::Steps s = steps(in_.u8());
            std::vector<size_t> modules;
            for (size_t i = 0; i < count; ++i)
                modules.push_back(static_cast<size_t>(pick_gauge(catalogue->names, in_.u16())));
            load(modules, s);
            break;
        }
        case OP_LOAD_ALL: {
            const uint8_t b = in_.u8();
            std::vector<size_t> modules(catalogue->names.size());
            for (size_t i = 0; i < modules.size(); ++i) modules[i] = i;
            if ((b / 3) % 2) std::reverse(modules.begin(), modules.end());
            load(modules, steps(b));
            break;
        }
        case OP_UNLOAD: {
            Gauge* g = loaded_gauge();
            if (!g) break;
            if (pressed_ && press_.gauge == g) pressed_ = false;  // the button goes with it
            say("unload %s", g->name.c_str());
            host_.unload(g->name);
            break;
        }
        case OP_FRAMES: {
            const uint64_t n = take_frames(in_.u8());
            say("frames %llu", static_cast<unsigned long long>(n));
            host_.frames(n);
            break;
        }
        case OP_SET: {
            const uint8_t index = in_.u8();
            set_variable(catalogue->variables[index % catalogue->variables.size()]);
            break;
        }
        case OP_SET_ID: set_variable(in_.u32()); break;
        case OP_SHARED: {
            const char* name = SHARED_NAMES[in_.u8() % SHARED_NAME_COUNT];
            const int32_t v = shared_value();
            say("%sshared %s %d", host_.registry.find(name) ? "" : "# ", name, v);
            host_.registry.set(name, v);
            host_.registry.collect_changes();
            break;
        }
        case OP_TICKS: {
            const double now = host_.sim.get(0x1);
            double ticks;
            switch (in_.u8() % KIND_SLOTS) {
            case TICKS_FORWARD: ticks = now + in_.u8(); break;
            case TICKS_BACK: ticks = now - in_.u8(); break;
            case TICKS_JUMP_FORWARD: ticks = now + in_.u32(); break;
            case TICKS_JUMP_BACK: ticks = now - in_.u32(); break;
            case TICKS_SET: set_variable(0x1); return;
            default: return;
            }
            say("set 0x1 %s", number(ticks).c_str());
            host_.sim.set(0x1, ticks);
            break;
        }
        case OP_FPS:
            host_.sim.set_frame_rate(in_.u8());
            say("fps %u", host_.sim.frame_rate());
            break;
        case OP_SERVICE: {
            Gauge* g = loaded_gauge();
            const uint32_t id = in_.u32();
            if (!g) break;
            say("service %s %u", g->name.c_str(), id);
            host_.service(*g, id);
            break;
        }
        case OP_CLICK: {
            Gauge* g = loaded_gauge();
            if (!g) break;
            int32_t x, y;
            point(*g, &x, &y);
            say("click %s %d %d", g->name.c_str(), x, y);
            host_.click(*g, x, y);
            break;
        }
        case OP_HOLD: {
            Gauge* g = loaded_gauge();
            if (!g) break;
            int32_t x, y;
            point(*g, &x, &y);
            release_press();
            const uint64_t n = take_frames(in_.u8() & MAX_HOLD_FRAMES);
            say("hold %s %d %d %llu", g->name.c_str(), x, y, static_cast<unsigned long long>(n));
            host_.hold(*g, x, y, n);
            break;
        }
        case OP_DRAG: {
            Gauge* g = loaded_gauge();
            if (!g) break;
            int32_t x0, y0, x1, y1;
            point(*g, &x0, &y0);
            point(*g, &x1, &y1);
            const uint64_t n = take_frames(in_.u8() & MAX_HOLD_FRAMES);
            release_press();
            if (!n) break;
            say("drag %s %d %d %d %d %llu", g->name.c_str(), x0, y0, x1, y1, static_cast<unsigned long long>(n));
            host_.drag(*g, x0, y0, x1, y1, n);
            break;
        }
        case OP_PRESS: {
            Gauge* g = loaded_gauge();
            if (!g) break;
            int32_t x, y;
            point(*g, &x, &y);
            release_press();
            say("# press %s %d %d", g->name.c_str(), x, y);
            press_ = host_.press(*g, x, y);
            pressed_ = true;
            break;
        }
        case OP_REPEAT:
            if (!pressed_) break;
            say("# repeat");
            host_.repeat(press_);
            break;
        case OP_MOVE: {
            if (!pressed_) break;
            int32_t x, y;
            point(*press_.gauge, &x, &y);
            say("# move %d %d", x, y);
            host_.move(press_, x, y);
            break;
        }
        case OP_RELEASE: release_press(); break;
        case OP_SOUND_LIBRARY: {
            const bool on = in_.u8() != 0;
            say("sound-library %s", on ? "on" : "off");
            host_.set_sound_library(on);
            break;
        }
        case OP_DRAW: {
            static const rules::Lighting* const lights[] = {&rules::DAY, &rules::DUSK, &rules::NIGHT};
            const rules::Lighting& light = *lights[in_.u8() % 3];
            say("# draw (%s)", light.name);
            catalogue->renderer->set_lighting(light);
            for (const auto& g : host_.gauges()) catalogue->renderer->gauge_picture(*g);
            catalogue->renderer->take_notes();
            break;
        }
        case OP_MODEL: {
            const uint8_t how = in_.u8() % MODEL_HOW_COUNT;
            const uint16_t want = in_.u16();
            const bool on = how == MODEL_ON || how == MODEL_ALL_ON;
            std::string name = "all";
            if (how == MODEL_ON || how == MODEL_OFF) {
                std::vector<std::string> names;
                for (const SimModel* m : sim_models()) names.push_back(m->name);
                const int pick = pick_gauge(names, want);
                if (pick < 0) break;
                name = names[static_cast<size_t>(pick)];
            }
            say("model %s %s", name.c_str(), on ? "on" : "off");
            host_.sim.enable_model(name, on);
            break;
        }
        default: break;
        }
    }

    Host& host_;
    Reader in_;
    Host::Press press_;
    bool pressed_ = false;
    uint64_t frames_left_ = MAX_GAUGE_FRAMES;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    auto* c = new Catalogue;
    // The gauges, and the test gauge (a folder of its own, so that the
    // Gauges folder holds only real ones).
    const char* dirs = getenv("KESTREL_GAUGES");
    const std::string folders = dirs ? dirs : program_directory() + "/Gauges:" + program_directory() + "/fuzz-gauges";
    c->options.gauge_dir = program_directory() + "/Gauges";
    c->options.library_path = program_directory();
    list_modules(folders, c);
    if (c->names.empty()) {
        fprintf(stderr, "fuzz_modules: no modules in %s\n", folders.c_str());
        exit(1);
    }
    for (const std::string& path : c->paths) {
        auto m = std::make_unique<ResidentModule>();
        std::string error;
        if (!m->open(path, &error)) {
            fprintf(stderr, "fuzz_modules: %s\n", error.c_str());
            exit(1);
        }
        c->modules.push_back(std::move(m));
    }
    learn_variables(*c);
    c->renderer = std::make_unique<Renderer>(program_directory() + "/Artwork", rules::DAY);
    std::string list;
    for (const std::string& name : c->names) list += " " + name;
    fprintf(stderr, "fuzz_modules: %zu modules:%s; %zu simulator variables read\n", c->names.size(),
            list.c_str(), c->variables.size());
    catalogue = c;
    verbose = getenv("KESTREL_FUZZ_VERBOSE") != nullptr;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Host host(catalogue->options);
    Session(host, data, size).run();
    return 0;
}
