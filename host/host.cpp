#include "host/host.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "host/util.h"

namespace kestrel {

namespace {
Host* active_host;
}

bool ElementState::operator==(const ElementState& o) const {
    for (int i = 0; i < 3; ++i) {
        const bool same = value[i] == o.value[i] || (isnan(value[i]) && isnan(o.value[i]));
        if (!same || signbit(value[i]) != signbit(o.value[i])) return false;
    }
    return flags == o.flags && text == o.text;
}

Host* Host::current() { return active_host; }

// While a module runs, the host knows which gauge called it.
struct Host::Call {
    Host& host;
    Gauge* saved;
    Call(Host& h, Gauge* g) : host(h), saved(h.calling_) { h.calling_ = g; }
    ~Call() { host.calling_ = saved; }
};

Host::Host(const HostOptions& options) : options_(options) {
    table_.trigger_key_event = trigger_key_event;
    table_.register_var_by_name = register_var_by_name;
    table_.initialize_var = initialize_var;
    table_.initialize_var_by_name = initialize_var_by_name;
    table_.lookup_var = lookup_var;
    table_.unregister_var_by_name = unregister_var_by_name;
    table_.unregister_all_named_vars = unregister_all_named_vars;
    // The modules' calls carry no context: there is one host per process.
    if (active_host) {
        fprintf(stderr, "kestrel: a second host was started while one is running\n");
        abort();
    }
    active_host = this;
    watch_system(this);
    set_library_path(options_.library_path);
}

Host::~Host() {
    unload_all();
    watch_system(nullptr);
    if (active_host == this) active_host = nullptr;
}

void Host::record(Event::Kind kind, std::string name, std::string detail, int64_t number,
                  int64_t value) {
    events.push_back({kind, calling_ ? calling_->name : std::string(), std::move(name),
                      std::move(detail), number, value});
}

// ---------------------------------------------------------------------------
// Loading

std::string module_name(const std::string& module) {
    std::string name = module;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".gau") == 0)
        name.resize(name.size() - 4);
    return name;
}

Gauge* Host::open(const std::string& module, std::string* error) {
    const std::string name = module_name(module);
    const bool is_path = module.find_first_of("/\\") != std::string::npos ||
                         (module.size() > 4 && module.compare(module.size() - 4, 4, ".gau") == 0);
    const std::string path = is_path ? module : options_.gauge_dir + "/" + name + ".gau";
    if (find(name)) {
        *error = name + ": already loaded";
        return nullptr;
    }
    auto gauge = std::make_unique<Gauge>();
    gauge->name = name;
    gauge->path = path;
    std::string fault;
    if (!open_library(path, &gauge->library, &fault)) {
        *error = name + ": " + fault + " (" + path + ")";
        return nullptr;
    }
    fault = read_module(library_symbol(gauge->library, "Linkage"),
                        library_symbol(gauge->library, "ImportTable"), gauge->library.memory,
                        &gauge->layout);
    if (!fault.empty()) {
        close_library(&gauge->library);
        *error = name + ": " + fault;
        return nullptr;
    }
    gauge->layout.imports->host.table = &table_;
    const size_t n = gauge->size();
    gauge->text_buffers.resize(n);
    gauge->state.resize(n);
    for (size_t i = 0; i < n; ++i) {
        ElementHeader* e = gauge->element(i);
        if (e->kind != KIND_TEXT) continue;
        auto* t = reinterpret_cast<TextElement*>(e);
        std::vector<char>& buffer = gauge->text_buffers[i];
        buffer.assign(static_cast<size_t>(t->capacity) + 1 + TEXT_GUARD, TEXT_GUARD_BYTE);
        buffer[0] = '\0';
        t->text = buffer.data();
    }
    gauges_.push_back(std::move(gauge));
    return gauges_.back().get();
}

bool Host::load(const std::vector<std::string>& modules, std::string* error, Steps steps) {
    std::vector<Gauge*> opened;
    std::string faults;
    for (const std::string& module : modules) {
        std::string fault;
        if (Gauge* g = open(module, &fault)) {
            opened.push_back(g);
        } else {
            faults += (faults.empty() ? "" : "\n") + fault;
            events.push_back({Event::Kind::Fault, "", "load", fault, 0, 0});
        }
    }
    if (steps != Steps::None)
        for (Gauge* g : opened) call_gauge(*g, SERVICE_PRE_INSTALL);
    if (steps == Steps::InstallAndInitialize)
        for (Gauge* g : opened) call_gauge(*g, SERVICE_PRE_INITIALIZE);
    if (error) *error = faults;
    return faults.empty();
}

bool Host::unload(const std::string& name) {
    auto it = std::find_if(gauges_.begin(), gauges_.end(),
                           [&](const std::unique_ptr<Gauge>& g) { return g->name == name; });
    if (it == gauges_.end()) return false;
    Gauge& g = **it;
    call_gauge(g, SERVICE_PRE_KILL);
    registry.forget(&g);
    note_shared_changes();
    close_library(&g.library);
    gauges_.erase(it);
    return true;
}

void Host::unload_all() {
    while (!gauges_.empty()) unload(gauges_.back()->name);
}

void Host::order_gauges(const std::vector<std::string>& names) {
    auto rank = [&](const std::unique_ptr<Gauge>& g) {
        return static_cast<size_t>(std::find(names.begin(), names.end(), g->name) - names.begin());
    };
    std::stable_sort(gauges_.begin(), gauges_.end(),
                     [&](const std::unique_ptr<Gauge>& a, const std::unique_ptr<Gauge>& b) { return rank(a) < rank(b); });
}

Gauge* Host::find(const std::string& name) {
    for (auto& g : gauges_)
        if (g->name == name) return g.get();
    return nullptr;
}

// ---------------------------------------------------------------------------
// Frames

void Host::call_gauge(Gauge& gauge, uint32_t service_id) {
    Call call(*this, &gauge);
    gauge.layout.header->callback(gauge.layout.header, service_id, nullptr);
    note_shared_changes();
}

void Host::service(Gauge& gauge, uint32_t service_id) { call_gauge(gauge, service_id); }

void Host::frame() {
    sim.advance_frame();
    for (size_t i = 0; i < gauges_.size(); ++i) {
        Gauge& g = *gauges_[i];
        call_gauge(g, SERVICE_PRE_UPDATE);
        update_elements(g);
        call_gauge(g, SERVICE_PRE_DRAW);
    }
}

void Host::frames(uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) frame();
}

namespace {

template <class E, class F>
double run(F callback, E* element, double fallback) {
    return callback ? callback(element) : fallback;
}

}  // namespace

void Host::update_elements(Gauge& gauge) {
    Call call(*this, &gauge);
    for (size_t i = 0; i < gauge.size(); ++i) {
        ElementHeader* e = gauge.element(i);
        ElementState& s = gauge.state[i];
        switch (e->kind) {
        case KIND_NEEDLE: {
            auto* n = reinterpret_cast<NeedleElement*>(e);
            sim.lookup(&n->source);
            s.value[0] = run(n->callback, n, n->source.value.d);
            break;
        }
        case KIND_TEXT: {
            auto* t = reinterpret_cast<TextElement*>(e);
            for (ModuleVar& v : t->source) sim.lookup(&v);
            std::vector<char>& buffer = gauge.text_buffers[i];
            t->text = buffer.data();
            if (t->callback) t->callback(t);
            const size_t used = static_cast<size_t>(t->capacity) + 1;
            const bool intact =
                std::all_of(buffer.begin() + used, buffer.end(), [](char c) { return c == TEXT_GUARD_BYTE; });
            if (!intact || memchr(buffer.data(), '\0', used) == nullptr) {
                gauge.overflowed = true;
                record(Event::Kind::Fault, "text", format("element %zu wrote past its text buffer", i), 0, 0);
                std::fill(buffer.begin() + used, buffer.end(), TEXT_GUARD_BYTE);
                buffer[used - 1] = '\0';
            }
            s.text = buffer.data();
            break;
        }
        case KIND_SLIDER: {
            auto* sl = reinterpret_cast<SliderElement*>(e);
            sim.lookup(&sl->source_x);
            sim.lookup(&sl->source_y);
            s.value[0] = run(sl->callback_x, sl, sl->source_x.value.d);
            s.value[1] = run(sl->callback_y, sl, sl->source_y.value.d);
            break;
        }
        case KIND_ICON: {
            auto* ic = reinterpret_cast<IconElement*>(e);
            sim.lookup(&ic->source);
            s.value[0] = run(ic->callback, ic, ic->source.value.d);
            break;
        }
        case KIND_MOVING: {
            auto* m = reinterpret_cast<MovingElement*>(e);
            sim.lookup(&m->source_x);
            sim.lookup(&m->source_y);
            s.value[0] = run(m->callback_x, m, m->source_x.value.d);
            s.value[1] = run(m->callback_y, m, m->source_y.value.d);
            break;
        }
        case KIND_SPRITE: {
            auto* sp = reinterpret_cast<SpriteElement*>(e);
            sim.lookup(&sp->source_x);
            sim.lookup(&sp->source_y);
            sim.lookup(&sp->source_rotation);
            s.value[0] = run(sp->callback_x, sp, sp->source_x.value.d);
            s.value[1] = run(sp->callback_y, sp, sp->source_y.value.d);
            s.value[2] = run(sp->callback_rotation, sp, sp->source_rotation.value.d);
            break;
        }
        default:
            break;
        }
        s.flags = e->image_flags;
    }
    note_shared_changes();
}

void Host::note_shared_changes() {
    for (const Registry::Change& c : registry.collect_changes())
        record(Event::Kind::SharedChange, c.name, "", c.before, c.after);
}

// ---------------------------------------------------------------------------
// Mouse

MouseRect* Host::area_at(Gauge& gauge, int32_t x, int32_t y) {
    for (MouseRect* r : gauge.layout.mouse) {
        if (r->kind != MOUSE_CHILD) continue;
        const PixBox& b = r->box;
        if (x >= b.x && y >= b.y && int64_t(x) < int64_t(b.x) + b.width &&
            int64_t(y) < int64_t(b.y) + b.height)
            return r;
    }
    return nullptr;
}

int Host::mouse_call(Gauge& gauge, MouseRect* area, int32_t x, int32_t y, uint32_t flags) {
    if (!area || !area->callback || !(area->flags & flags)) return 0;
    MouseArgs args{};
    args.relative = {x, y};
    args.user_data = gauge.layout.header;
    args.rect = area;
    args.screen = {x, y};
    Call call(*this, &gauge);
    area->callback(&args, flags);
    note_shared_changes();
    return 1;
}

Host::Press Host::press(Gauge& gauge, int32_t x, int32_t y) {
    Press p;
    p.gauge = &gauge;
    p.area = area_at(gauge, x, y);
    p.x = x;
    p.y = y;
    p.calls += mouse_call(gauge, p.area, x, y, MOUSE_LEFT_SINGLE);
    return p;
}

void Host::repeat(Press& p) {
    if (p.area && (p.area->flags & MOUSE_REPEAT))
        p.calls += mouse_call(*p.gauge, p.area, p.x, p.y, MOUSE_LEFT_SINGLE);
}

void Host::move(Press& p, int32_t x, int32_t y) {
    p.x = x;
    p.y = y;
    p.calls += mouse_call(*p.gauge, p.area, x, y, MOUSE_LEFT_DRAG);
}

void Host::release(Press& p) { p.calls += mouse_call(*p.gauge, p.area, p.x, p.y, MOUSE_LEFT_RELEASE); }

int Host::click(Gauge& gauge, int32_t x, int32_t y) {
    Press p = press(gauge, x, y);
    release(p);
    return p.calls;
}

int Host::hold(Gauge& gauge, int32_t x, int32_t y, uint64_t count) {
    Press p = press(gauge, x, y);
    for (uint64_t i = 0; i < count; ++i) {
        if (i > 0) repeat(p);
        frame();
    }
    release(p);
    return p.calls;
}

int32_t drag_step(int32_t from, int32_t to, uint64_t i, uint64_t count) {
    return static_cast<int32_t>(from + (int64_t(to) - from) * int64_t(i) / int64_t(count));
}

int Host::drag(Gauge& gauge, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint64_t count) {
    Press p = press(gauge, x0, y0);
    for (uint64_t i = 1; i <= count; ++i) {
        move(p, drag_step(x0, x1, i, count), drag_step(y0, y1, i, count));
        frame();
    }
    release(p);
    return p.calls;
}

void Host::set_sound_library(bool available) {
    set_library_path(available ? options_.library_path : std::string());
}

// ---------------------------------------------------------------------------
// What modules do through the system. Shared variables that a module changed
// before a sound or a key event are noted first, so that the events keep the
// order in which the module did them.

void Host::library_call(const char* call, const char* name, bool found) {
    record(Event::Kind::Library, call, name ? name : "", 0, found);
}

void Host::play_sound(const char* path, uint32_t flags) {
    note_shared_changes();
    record(Event::Kind::Sound, "PlaySoundA", path ? path : "(null)", 0, flags);
}

void Host::gauge_sound(const char* function, const char* path, const char* arg, int32_t flags) {
    std::string detail = path ? path : "";
    if (arg) detail += std::string(" \"") + arg + "\" " + std::to_string(flags);
    note_shared_changes();
    record(Event::Kind::Sound, function, detail, 0, flags);
}

// ---------------------------------------------------------------------------
// The host function table

int32_t KCALL Host::trigger_key_event(uint32_t event_id, uint32_t value) {
    Host* h = active_host;
    if (!h) return 0;
    h->note_shared_changes();
    h->record(Event::Kind::KeyEvent, "", "", event_id, value);
    for (std::string& change : h->sim.key_event(event_id, value))
        h->record(Event::Kind::SimChange, "", std::move(change), event_id, 0);
    return 1;
}

int32_t KCALL Host::register_var_by_name(void* storage, uint32_t type, const char* name) {
    Host* h = active_host;
    if (!h || !name) return 0;
    const bool added = h->registry.add(h->calling_, storage, type, name);
    h->record(Event::Kind::Register, name, "", type, added);
    return added;
}

void KCALL Host::initialize_var(ModuleVar* var) {
    if (active_host && var) active_host->sim.lookup(var);
}

void KCALL Host::initialize_var_by_name(ModuleVar* var, const char* name) {
    Host* h = active_host;
    if (!h || !var || !name) return;
    const bool found = h->registry.bind(h->calling_, var, name);
    h->record(Event::Kind::Bind, name, "", 0, found);
}

void KCALL Host::lookup_var(ModuleVar* var) {
    if (active_host && var) active_host->sim.lookup(var);
}

void KCALL Host::unregister_var_by_name(const char* name) {
    Host* h = active_host;
    if (!h || !name) return;
    const bool removed = h->registry.remove(name);
    h->record(Event::Kind::Withdraw, name, "", 0, removed);
}

void KCALL Host::unregister_all_named_vars() {
    Host* h = active_host;
    if (!h || !h->calling_) return;
    std::vector<std::string> owned;
    for (const Registry::Entry& e : h->registry.entries())
        if (e.owner == h->calling_) owned.push_back(e.name);
    for (const std::string& name : owned) unregister_var_by_name(name.c_str());
}

}  // namespace kestrel
