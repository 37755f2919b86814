#include "viewer/live.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "host/files.h"
#include "host/panel/placement.h"
#include "host/utf8.h"
#include "host/util.h"
#include "host/sim/catalogue.h"
#include "viewer/png.h"

namespace kestrel {

namespace {

constexpr size_t LOG_LINES = 200;      // kept for newcomers, and sent at most per update
constexpr size_t MESSAGE_LIMIT = 1024;  // the longest message a browser may send
constexpr uint64_t SEEK_FRAMES = 200000;  // a seek stops after this many frames (three hours at 18 a second)

const char* cursor_name(int32_t cursor) {
    switch (cursor) {
    case CURSOR_NONE: return "none";
    case CURSOR_UP: return "n-resize";
    case CURSOR_DOWN: return "s-resize";
    case CURSOR_LEFT: return "w-resize";
    case CURSOR_RIGHT: return "e-resize";
    case CURSOR_HAND: return "pointer";
    case CURSOR_CROSSHAIR: return "crosshair";
    case CURSOR_GRAB: return "grab";
    default: return "default";
    }
}

void put16(std::string& out, int v) {
    const uint16_t u = static_cast<uint16_t>(std::clamp(v, 0, 65535));
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

void put32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
}

}  // namespace

LiveSession::LiveSession(LiveOptions options)
    : options_(std::move(options)), renderer_(options_.artwork_dir, options_.light) {
    open_document();
    config_ = document_panel();
    renderer_.set_colors(config_.colors);
    renderer_.set_placeholders(true);
    restart_host(true);
    if (options_.watch) {
        watch_ = std::make_unique<FileWatch>();
        watch_->watch(watched_files());
    }
    update();  // the pictures drawn, so that a snapshot finds them
}

LiveSession::~LiveSession() {
    player_.reset();
    windows_.clear();
    host_.reset();  // every gauge gets its pre-kill
}

void LiveSession::load_panel() {
    std::vector<std::string> messages = kestrel::load_panel(*host_, config_, options_.host.gauge_dir);
    if (problems_.empty()) problems_ = messages;
}

// A new host: the old one unloads every module (each gets its pre-kill),
// the new one starts at frame 0 with no variable set.
void LiveSession::restart_host(bool with_panel) {
    std::vector<std::string> models;
    if (host_)
        for (const SimModel* m : sim_models())
            if (host_->sim.model_enabled(m->name)) models.push_back(m->name);
    const bool first = !host_;
    if (history_ && history_->recording()) page_log("recording dropped: the panel was loaded again");
    history_.reset();
    player_.reset();
    pressed_ = false;
    windows_.clear();
    host_.reset();
    host_ = std::make_unique<Host>(options_.host);
    events_seen_ = 0;
    reads_.clear();
    frames_since_reads_ = TICKS_PER_SECOND;  // the next frame notes what is read
    due_ = 0;
    if (with_panel) {
        load_panel();
        if (first) {
            host_->sim.enable_model("all", options_.models);
        } else {
            for (const std::string& m : models) host_->sim.enable_model(m, true);
        }
        history_ = std::make_unique<SessionRecorder>(*host_);
        collect_events();
        run_frame();  // the panel as it comes up: callbacks run, first-draw resets done
    }
    for (const PanelWindow& w : config_.windows)
        windows_.push_back(std::make_unique<WindowPicture>(renderer_, w, *host_, 1.0));
    ++layout_version_;
}

std::string LiveSession::scenario_path(const std::string& name) const {
    for (const std::string& path : options_.scenarios)
        if (file_name(path) == name) return path;
    return "";
}

void LiveSession::start_scenario(const std::string& name, size_t up_to_line) {
    std::string text;
    read_whole_file(scenario_path(name), &text);
    const bool was_running = running_;
    restart_host(false);
    player_ = std::make_unique<ScenarioPlayer>(*host_, name, text, folder_of(scenario_path(name)));
    page_log("scenario " + name + (up_to_line > 1 ? format(" from line %zu", up_to_line) : ""));
    // A seek plays the lines before at once, without pictures.
    uint64_t frames = 0;
    while (!player_->finished() && player_->line() + 1 < up_to_line && frames < SEEK_FRAMES) {
        if (player_->step()) ++frames;
        collect_events();
    }
    running_ = was_running;
}

void LiveSession::page_log(const std::string& text) {
    Log l{"", "page", text, ""};
    pending_.push_back(l);
    recent_.push_back(std::move(l));
    if (recent_.size() > LOG_LINES) recent_.pop_front();
    if (pending_.size() > LOG_LINES) pending_.erase(pending_.begin());
}

void LiveSession::collect_events() {
    std::vector<Event>& events = host_->events;
    for (; events_seen_ < events.size(); ++events_seen_) {
        const Event& e = events[events_seen_];
        if (history_) history_->event(e);
        Log l{e.gauge, "", "", ""};
        switch (e.kind) {
        case Event::Kind::KeyEvent: {
            const KeyEffect* effect = find_key_effect(static_cast<uint32_t>(e.number));
            l.kind = "key";
            l.text = format("key %s %lld", hex(static_cast<uint32_t>(e.number)).c_str(), static_cast<long long>(e.value)) +
                     (effect ? std::string(": ") + effect->meaning : std::string(": not known to the simulator"));
            break;
        }
        case Event::Kind::SimChange:
            l.kind = "sim";
            l.text = "sim " + e.detail;
            break;
        case Event::Kind::SharedChange:
            l.kind = "shared";
            l.text = format("shared %s %lld -> %lld", e.name.c_str(), static_cast<long long>(e.number),
                            static_cast<long long>(e.value));
            break;
        case Event::Kind::Sound:
            l.kind = "sound";
            l.text = "sound " + e.name + (e.detail.empty() ? "" : " " + e.detail);
            if (e.name == "GaugePlaySound" || e.name == "PlaySoundA")
                l.sound = file_name(e.detail.substr(0, e.detail.find(' ')));
            break;
        case Event::Kind::Register:
        case Event::Kind::Withdraw:
        case Event::Kind::Bind: {
            const char* what = e.kind == Event::Kind::Register ? "register" : e.kind == Event::Kind::Withdraw ? "withdraw" : "bind";
            l.kind = "registry";
            l.text = std::string(what) + " " + e.name + (e.value ? "" : " (refused)");
            break;
        }
        case Event::Kind::Fault:
            l.kind = "fault";
            l.text = "FAULT " + e.detail;
            break;
        case Event::Kind::Library:
            continue;
        }
        pending_.push_back(l);
        recent_.push_back(std::move(l));
    }
    while (recent_.size() > LOG_LINES) recent_.pop_front();
    if (pending_.size() > LOG_LINES) pending_.erase(pending_.begin(), pending_.end() - LOG_LINES);
    // The host keeps every event for scenarios; a live panel runs for hours.
    // A scenario being played counts events from its start: keep them then.
    if (!player_) {
        events.clear();
        events_seen_ = 0;
    }
}

void LiveSession::run_frame() {
    // A held button repeats before each frame after its press, as "hold" does.
    if (pressed_ && !press_fresh_) host_->repeat(press_);
    press_fresh_ = false;
    const bool watch = ++frames_since_reads_ >= TICKS_PER_SECOND;
    if (watch) {
        frames_since_reads_ = 0;
        host_->sim.watch_reads(&reads_);
    }
    bool ran = false;
    if (player_ && !player_->finished()) {
        ran = player_->step();
        // The scenario's last lines take this frame's place, so the panel
        // stands as the scenario left it until the next frame.
        if (player_->finished()) ran = true;
        if (player_->finished())
            page_log(player_->error().empty()
                         ? format("scenario %s ended: %d expectations, %d failed or faults", player_->name().c_str(),
                                  player_->expectations(), player_->failures())
                         : "scenario stopped: " + player_->error());
    }
    if (!ran) host_->frame();
    if (history_ && !player_) history_->frame();
    host_->sim.watch_reads(nullptr);
    ++cost_.frames;
    collect_events();
    // A module the scenario unloaded takes the held button's area with it.
    std::vector<std::pair<std::string, const Gauge*>> now;
    for (const auto& g : host_->gauges()) now.emplace_back(g->name, g.get());
    if (now != loaded_) {
        loaded_ = now;
        ++layout_version_;
        pressed_ = false;
    }
}

void LiveSession::advance(double seconds) {
    if (!(seconds >= 0)) seconds = 0;
    if (watch_) check_files(seconds);
    const double fps = host_->sim.frame_rate();
    if (running_) due_ = std::min(due_ + seconds * fps * speed_, std::max(fps * speed_ / 5, 1.0));
    int frames = static_cast<int>(due_);
    due_ -= frames;
    frames += steps_;
    steps_ = 0;
    for (int i = 0; i < frames; ++i) run_frame();
    for (; slow_frames_ > 0; --slow_frames_) {
        // The simulator was busy: a third as many frames, each three ticks on.
        const uint32_t rate = host_->sim.frame_rate();
        host_->sim.set_frame_rate(std::max(rate / 3, 1u));
        run_frame();
        host_->sim.set_frame_rate(rate);
    }
}

Gauge* LiveSession::gauge_at(size_t window, int x, int y, size_t* entry, int32_t* gx, int32_t* gy) {
    Hit hit;
    if (!hit_test(config_.windows[window], *host_, renderer_.gauge_size(), x, y, &hit)) return nullptr;
    *entry = hit.entry;
    *gx = hit.x;
    *gy = hit.y;
    return hit.gauge;
}

std::string LiveSession::handle(const std::string& message) {
    if (message.size() > MESSAGE_LIMIT) return format("a message is at most %zu bytes", MESSAGE_LIMIT);
    if (message.find('\0') != std::string::npos) return "a message is text";
    const std::vector<std::string> w = split_words(message);
    if (w.empty()) return "an empty message";
    const std::string& cmd = w[0];
    auto point = [&](int64_t* window, int64_t* x, int64_t* y) {
        return w.size() == 4 && parse_int(w[1], window) && parse_int(w[2], x) && parse_int(w[3], y) && *window >= 0 &&
               *window < static_cast<int64_t>(windows_.size()) && *x >= -MAX_PANEL_SIDE && *x <= 2 * MAX_PANEL_SIDE &&
               *y >= -MAX_PANEL_SIDE && *y <= 2 * MAX_PANEL_SIDE;
    };
    if (cmd == "press") {
        int64_t window, x, y;
        if (!point(&window, &x, &y)) return "usage: press WINDOW X Y";
        if (pressed_) {
            host_->release(press_);
            if (history_) history_->release();
        }
        pressed_ = false;
        int32_t gx, gy;
        Gauge* g = gauge_at(static_cast<size_t>(window), int(x), int(y), &press_entry_, &gx, &gy);
        if (!g) return "";
        if (history_) history_->press(*g, gx, gy);
        press_ = host_->press(*g, gx, gy);
        pressed_ = true;
        press_fresh_ = true;
        press_window_ = static_cast<size_t>(window);
        if (press_.area) page_log(format("press %s %d %d", g->name.c_str(), gx, gy));
    } else if (cmd == "move") {
        int64_t window, x, y;
        if (!point(&window, &x, &y)) return "usage: move WINDOW X Y";
        if (pressed_ && static_cast<size_t>(window) == press_window_) {
            // Dragged beyond the gauge's place, still in the gauge's pixels.
            const Placement p = place_entry(config_.windows[press_window_].gauges.at(press_entry_), *host_,
                                            renderer_.gauge_size());
            int32_t gx, gy;
            p.to_gauge(x, y, &gx, &gy);
            if (history_) history_->move(gx, gy);
            host_->move(press_, gx, gy);
        }
    } else if (cmd == "release") {
        if (w.size() != 1) return "usage: release";
        if (pressed_ && history_) history_->release();
        if (pressed_) host_->release(press_);
        pressed_ = false;
    } else if (cmd == "set" || cmd == "shared" || cmd == "model") {
        // As a scenario says them, read by the scenario engine.
        Command c;
        std::string why;
        if (!parse_command(message, &c, &why)) return why;
        if (!apply_setting(*host_, c, &why)) return why;
        if (c.kind == Command::Set || c.kind == Command::SetBcd) reads_.insert(c.id);
        if (history_) history_->line(message);
        page_log(message);
    } else if (cmd == "watch") {
        uint32_t id;
        if (w.size() != 2 || !parse_uint32(w[1], &id)) return "usage: watch ID";
        reads_.insert(id);
    } else if (cmd == "pause" || cmd == "run") {
        if (w.size() != 1) return "usage: " + cmd;
        running_ = cmd == "run";
        due_ = 0;
    } else if (cmd == "step" || cmd == "slow") {
        if (w.size() != 1) return "usage: " + cmd;
        if (cmd == "step") steps_ = std::min(steps_ + 1, 100);
        else slow_frames_ = std::min(slow_frames_ + 1, 100);
    } else if (cmd == "speed") {
        int64_t s;
        if (w.size() != 2 || !parse_int(w[1], &s) || (s != 1 && s != 2 && s != 4)) return "usage: speed 1|2|4";
        speed_ = static_cast<int>(s);
    } else if (cmd == "light") {
        const rules::Lighting* l = w.size() == 2 ? rules::lighting_named(w[1].c_str()) : nullptr;
        if (!l) return "usage: light day|dusk|night";
        renderer_.set_lighting(*l);
        options_.light = *l;
        ++layout_version_;
    } else if (cmd == "reset") {
        if (w.size() != 1) return "usage: reset";
        restart_host(true);
        page_log("reset: the panel loaded again");
    } else if (cmd == "scenario" || cmd == "seek") {
        if (w.size() != 2) return cmd == "seek" ? "usage: seek LINE" : "usage: scenario NAME";
        std::string name = w[1];
        size_t line = 1;
        if (cmd == "seek") {
            int64_t n;
            if (!player_) return "no scenario is playing";
            if (!parse_int(w[1], &n) || n < 1 || n > 10000000) return "usage: seek LINE";
            name = player_->name();
            line = static_cast<size_t>(n);
        }
        if (scenario_path(name).empty()) return "no scenario '" + name + "' is offered";
        start_scenario(name, line);
    } else if (cmd == "record") {
        if (std::string why = record(w); !why.empty()) return why;
    } else if (cmd == "stop") {
        if (w.size() != 1) return "usage: stop";
        if (player_) page_log("scenario " + player_->name() + " stopped");
        player_.reset();
        collect_events();  // now that no scenario counts them, the host's events are let go
    } else if (is_edit(cmd)) {
        if (std::string why = edit(w); !why.empty()) return why;
    } else {
        return "unknown command '" + cmd + "'";
    }
    collect_events();
    return "";
}

// ---------------------------------------------------------------------------
// What the browsers are sent

// Keys in the order they are written, as the page and the tests read them.
using json = nlohmann::ordered_json;

namespace {

// Every string as valid UTF-8 (a module's texts need not be).
void make_valid(json& j) {
    if (j.is_string()) {
        std::string& s = j.get_ref<std::string&>();
        s = valid_utf8(s);
    } else if (j.is_structured()) {
        for (json& v : j) make_valid(v);
    }
}

// Compact JSON, for comparing with what was sent.
std::string compact(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

std::string json_message(json j) {
    make_valid(j);
    return compact(j);
}

std::string LiveSession::layout_json() {
    json j = {{"t", "layout"}, {"panel", options_.panel}, {"light", options_.light.name}};
    json& windows = j["windows"] = json::array();
    for (size_t i = 0; i < windows_.size(); ++i) {
        const PanelWindow& w = config_.windows[i];
        windows.push_back({{"title", w.title},
                           {"width", windows_[i]->width()},
                           {"height", windows_[i]->height()},
                           {"number", w.index},
                           {"kind", w.kind == PanelWindow::Kind::Window ? "window" : "vcockpit"},
                           {"visible", w.visible},
                           {"background", format("#%06x", w.background & 0xFFFFFF)},
                           {"line", w.line}});
    }
    json& entries = j["entries"] = json::array();
    for (size_t wi = 0; wi < config_.windows.size(); ++wi) {
        for (const PanelGauge& e : config_.windows[wi].gauges) {
            const Gauge* g = placed_gauge(*host_, e);
            const Placement p = place_entry(e, *host_, renderer_.gauge_size());
            json entry = {{"window", wi},       {"module", e.module},  {"x", e.x},
                          {"y", e.y},           {"width", p.width},    {"height", p.height},
                          {"loaded", g != nullptr}, {"number", e.number}, {"gauge", e.gauge},
                          {"line", e.line},     {"given", {e.width, e.height}},
                          {"natural", {p.natural_width, p.natural_height}}};
            if (g) {
                entry["sx"] = p.scale_x();
                entry["sy"] = p.scale_y();
                // Child areas in list order; a tooltip belongs to the area
                // before it, or to the whole gauge when it comes first.
                std::string tooltip;
                json areas = json::array();
                for (const MouseRect* r : g->layout.mouse) {
                    if (r->kind == MOUSE_CHILD) {
                        areas.push_back({{"x", r->box.x},
                                         {"y", r->box.y},
                                         {"width", r->box.width},
                                         {"height", r->box.height},
                                         {"cursor", cursor_name(r->cursor)},
                                         {"flags", r->flags}});
                    } else if (r->kind == MOUSE_TOOLTIP && r->tooltip) {
                        if (areas.empty()) tooltip = r->tooltip;
                        else areas.back()["tooltip"] = r->tooltip;
                    }
                }
                entry["tooltip"] = tooltip;
                entry["areas"] = std::move(areas);
            }
            entries.push_back(std::move(entry));
        }
    }
    json& scenarios = j["scenarios"] = json::array();
    for (const std::string& s : options_.scenarios) scenarios.push_back(file_name(s));
    json& models = j["models"] = json::array();
    for (const SimModel* m : sim_models()) models.push_back({{"name", m->name}, {"meaning", m->meaning}});
    j["sounds"] = !options_.sound_dir.empty();
    j["problems"] = problems_;
    j["scenario"] = nullptr;
    if (player_) {
        json phases = json::array();
        for (const auto& phase : player_->phases()) phases.push_back(json::array({phase.line, phase.title}));
        j["scenario"] = {{"name", player_->name()}, {"lines", player_->lines()}, {"phases", std::move(phases)}};
    }
    edit_layout(j);
    return json_message(std::move(j));
}

std::string LiveSession::state_json(bool everything) {
    json j = {{"t", "state"}};
    // Time: every frame.
    const json time = {{"frame", host_->sim.frame()},
                       {"tick", number(host_->sim.get(VAR_TICKS))},
                       {"fps", host_->sim.frame_rate()},
                       {"running", running_},
                       {"speed", speed_}};
    const std::string time_text = compact(time);
    if (everything || time_text != time_sent_) j.update(time);
    if (!everything) time_sent_ = time_text;

    // Simulator variables the panel reads, and those the page set.
    json vars = json::array();
    for (uint32_t id : reads_) {
        const Sim::Var* v = host_->sim.find(id);
        const std::string value = !v ? "0" : v->is_bcd ? "bcd " + hex(v->bcd) : number(v->value);
        auto sent = vars_sent_.find(id);
        const bool known = sent != vars_sent_.end();
        if (!everything && known && sent->second == value) continue;
        json one = {{"id", hex(id)}, {"v", value}};
        if (everything || !known) {
            one["name"] = sim_var_name(id);
            if (const SimVarName* n = find_sim_var_name(id); n && n->min < n->max) {
                one["min"] = n->min;
                one["max"] = n->max;
            }
            if (const SimVarName* n = find_sim_var_name(id); n && n->bcd) one["bcd"] = true;
        }
        vars.push_back(std::move(one));
        if (!everything) vars_sent_[id] = value;
    }
    if (!vars.empty()) j["vars"] = std::move(vars);

    // Shared variables: value, owner, who binds them.
    json shared = json::array();
    for (const Registry::Entry& e : host_->registry.entries()) {
        json binders = json::array();
        for (const Gauge* g : host_->registry.binders(e.name)) binders.push_back(g ? g->name : "");
        json one = {{"name", e.name},
                    {"v", host_->registry.value(e.name)},
                    {"owner", e.owner ? e.owner->name : ""},
                    {"binders", std::move(binders)}};
        const std::string text = compact(one);
        auto sent = shared_sent_.find(e.name);
        if (!everything && sent != shared_sent_.end() && sent->second == text) continue;
        shared.push_back(std::move(one));
        if (!everything) shared_sent_[e.name] = text;
    }
    if (!shared.empty()) j["shared"] = std::move(shared);

    // The log: its new lines, or all that is kept.
    json log = json::array();
    auto add = [&](const Log& l) {
        json line = {{"g", l.gauge}, {"k", l.kind}, {"text", l.text}};
        if (!l.sound.empty()) line["sound"] = l.sound;
        log.push_back(std::move(line));
    };
    if (everything) {
        for (const Log& l : recent_) add(l);
    } else {
        for (const Log& l : pending_) add(l);
        pending_.clear();
    }
    if (!log.empty()) j["log"] = std::move(log);

    // Models and the scenario's progress.
    json models = json::array();
    for (const SimModel* m : sim_models()) models.push_back(json::array({m->name, host_->sim.model_enabled(m->name)}));
    const std::string models_text = compact(models);
    if (everything || models_text != models_sent_) j["models"] = std::move(models);
    if (!everything) models_sent_ = models_text;
    json scenario = nullptr;
    if (player_)
        scenario = {{"line", player_->line()},
                    {"frames", player_->frames()},
                    {"expectations", player_->expectations()},
                    {"failures", player_->failures()},
                    {"finished", player_->finished()},
                    {"error", player_->error()}};
    const std::string scenario_text = compact(scenario);
    if (everything || scenario_text != scenario_sent_) j["scenario"] = std::move(scenario);
    if (!everything) scenario_sent_ = scenario_text;
    const std::string recording = history_ && history_->recording() ? "on" : history_ ? "off" : "none";
    if (everything || recording != recording_sent_) j["recording"] = recording;
    if (everything) j["watch"] = watch_ != nullptr;
    if (!everything) recording_sent_ = recording;
    edit_state(j, everything);

    if (j.size() == 1) return "";
    return json_message(std::move(j));
}

void LiveSession::pictures(bool everything, std::vector<Outgoing>* out) {
    Outgoing o;
    o.binary = true;
    for (size_t i = 0; i < windows_.size(); ++i) {
        WindowPicture& picture = *windows_[i];
        // A snapshot sends the pictures as the last update left them: what
        // changed since is the next update's, for every browser alike.
        std::vector<Renderer::Box> boxes;
        if (everything) boxes.push_back({0, 0, picture.width(), picture.height()});
        else if (picture.update()) boxes = picture.last_drawn();
        std::vector<Renderer::Box> sent;
        for (Renderer::Box b : boxes) {
            // Within the picture, and each box once (an entry that stayed in
            // its place gives the same box twice).
            const int x0 = std::clamp(b.x, 0, picture.width()), y0 = std::clamp(b.y, 0, picture.height());
            const int x1 = std::clamp(b.x + b.width, x0, picture.width());
            const int y1 = std::clamp(b.y + b.height, y0, picture.height());
            b = {x0, y0, x1 - x0, y1 - y0};
            if (b.width == 0 || b.height == 0) continue;
            if (std::any_of(sent.begin(), sent.end(), [&](const Renderer::Box& s) {
                    return s.x <= b.x && s.y <= b.y && s.x + s.width >= b.x + b.width && s.y + s.height >= b.y + b.height;
                }))
                continue;
            sent.push_back(b);
            const std::string png = encode_png(picture.surface(), b.x, b.y, b.width, b.height);
            put16(o.data, static_cast<int>(i));
            put16(o.data, b.x);
            put16(o.data, b.y);
            put16(o.data, b.width);
            put16(o.data, b.height);
            put16(o.data, 0);
            put32(o.data, static_cast<uint32_t>(png.size()));
            o.data += png;
            ++cost_.pictures;
            cost_.bytes += PICTURE_HEADER + png.size();
        }
    }
    if (!o.data.empty()) out->push_back(std::move(o));
}

std::vector<Outgoing> LiveSession::update() {
    cost_ = Cost{};
    std::vector<Outgoing> out;
    const bool relayout = layout_sent_ != layout_version_;
    if (relayout) {
        layout_sent_ = layout_version_;
        out.push_back({false, layout_json()});
        vars_sent_.clear();
        shared_sent_.clear();
        time_sent_.clear();
        models_sent_.clear();
        scenario_sent_.clear();
        edit_sent_.clear();
    }
    pictures(false, &out);
    const std::string state = state_json(false);
    if (!state.empty()) out.push_back({false, state});
    for (std::string& notice : notices_) out.push_back({false, std::move(notice)});
    notices_.clear();
    return out;
}

std::vector<Outgoing> LiveSession::snapshot() {
    std::vector<Outgoing> out;
    out.push_back({false, layout_json()});
    pictures(true, &out);
    out.push_back({false, state_json(true)});
    return out;
}

}  // namespace kestrel
