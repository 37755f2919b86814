#include "host/scenario/scenario.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

#include "host/files.h"
#include "host/panel/panel_config.h"
#include "host/util.h"

namespace kestrel {

Scenario::Scenario(Host& host, std::string name) : host_(host), name_(std::move(name)) {
    events_seen_ = host_.events.size();
}

std::string Scenario::take_transcript() {
    std::string t;
    t.swap(out_);
    return t;
}

bool Scenario::fail(const std::string& why) {
    error_ = format("%s:%d: %s", name_.c_str(), line_number_, why.c_str());
    return false;
}

void Scenario::emit(const std::string& line) {
    if (in_frame_ && !frame_header_printed_) {
        frame_header_printed_ = true;
        out_ += format("  frame %llu (tick %s)\n", static_cast<unsigned long long>(host_.sim.frame()),
                       number(host_.sim.get(VAR_TICKS)).c_str());
    }
    out_ += in_frame_ ? "    " : "  ";
    out_ += line;
    out_ += '\n';
}

static std::string by(const Event& e) { return e.gauge.empty() ? "" : " (" + e.gauge + ")"; }

void Scenario::flush_events() {
    const std::vector<Event>& events = host_.events;
    for (; events_seen_ < events.size(); ++events_seen_) {
        const Event& e = events[events_seen_];
        switch (e.kind) {
        case Event::Kind::KeyEvent:
            keys_.push_back(static_cast<uint32_t>(e.number));
            emit(format("key %s %lld", hex(static_cast<uint32_t>(e.number)).c_str(),
                        static_cast<long long>(e.value)) + by(e));
            break;
        case Event::Kind::SimChange:
            emit("sim " + e.detail);
            break;
        case Event::Kind::Sound:
            // What was played, for "expect sounds" (TerminateSounds plays nothing).
            if (e.name == "GaugePlaySound" || e.name == "PlaySoundA")
                sounds_.push_back(e.detail.substr(0, e.detail.find(' ')));
            if (e.name == "PlaySoundA")
                emit("sound PlaySoundA " + e.detail + " " + hex(static_cast<uint32_t>(e.value)) + by(e));
            else
                emit("sound " + e.name + (e.detail.empty() ? "" : " " + e.detail) + by(e));
            break;
        case Event::Kind::SharedChange:
            emit(format("shared %s %lld -> %lld", e.name.c_str(), static_cast<long long>(e.number),
                        static_cast<long long>(e.value)) + by(e));
            break;
        case Event::Kind::Register:
            emit("register " + e.name + (e.value ? "" : " refused: already registered") + by(e));
            break;
        case Event::Kind::Withdraw:
            emit("withdraw " + e.name + (e.value ? "" : " refused: not registered") + by(e));
            break;
        case Event::Kind::Bind:
            emit("bind " + e.name + (e.value ? "" : " failed: not registered") + by(e));
            break;
        case Event::Kind::Library:
            // The system's business, not the panel's: shown only on request.
            if (library_calls_)
                emit("library " + e.name + " " + e.detail + (e.value ? " found" : " missing") + by(e));
            break;
        case Event::Kind::Fault:
            ++failures_;
            emit("FAULT " + e.detail + by(e));
            break;
        }
    }
}

std::string Scenario::describe(const Gauge& gauge, size_t index) const {
    const ElementHeader* e = gauge.element(index);
    const ElementState& s = gauge.state[index];
    std::string line = format("%s[%zu] %s", gauge.name.c_str(), index, kind_name(e->kind));
    switch (e->kind) {
    case KIND_NEEDLE: line += " " + number(s.value[0]); break;
    case KIND_ICON: line += " frame " + number(s.value[0]); break;
    case KIND_TEXT: line += " " + quote_text(s.text.c_str()); break;
    case KIND_SLIDER:
    case KIND_MOVING: line += " x " + number(s.value[0]) + " y " + number(s.value[1]); break;
    case KIND_SPRITE:
        line += " x " + number(s.value[0]) + " y " + number(s.value[1]) + " rotation " +
                number(s.value[2]);
        break;
    default: break;
    }
    if (s.flags & IMAGE_BRIGHT) line += " bright";
    if (s.flags & IMAGE_HIDDEN) line += " hidden";
    return line;
}

void Scenario::show(Gauge& gauge) {
    for (size_t i = 0; i < gauge.size(); ++i) emit(describe(gauge, i));
}

void Scenario::element_changes() {
    for (const auto& g : host_.gauges()) {
        auto& shown = shown_[g->name];
        shown.resize(g->size());
        for (size_t i = 0; i < g->size(); ++i) {
            if (shown[i] && *shown[i] == g->state[i]) continue;
            shown[i] = g->state[i];
            emit(describe(*g, i));
        }
    }
}

void Scenario::run_frame() {
    in_frame_ = true;
    frame_header_printed_ = false;
    // A held button repeats before each frame after the first, as in "hold".
    if (held_ && !held_fresh_) host_.repeat(*held_);
    held_fresh_ = false;
    const bool replayed = replay_ && replay_->frame(host_.sim);
    host_.frame();
    flush_events();
    if (replayed) {
        emit("replay " + replay_->file() + " ended at " + number(replay_->time()) + "s");
        replay_.reset();
    }
    element_changes();
    in_frame_ = false;
    if (after_frame) after_frame(after_frame_context, host_.sim.frame());
}

Gauge* Scenario::gauge_arg(const std::string& word) {
    Gauge* g = host_.find(word);
    if (!g) fail("no gauge '" + word + "' is loaded");
    return g;
}

void Scenario::check(bool ok, const std::string& what) {
    ++expectations_;
    if (ok) return;
    ++failures_;
    emit("EXPECTATION FAILED: " + what);
}

static bool same(double got, double want) { return got == want || (isnan(got) && isnan(want)); }

bool Scenario::expect(const Expectation& e) {
    switch (e.kind) {
    case Expectation::Shared:
    case Expectation::Var: {
        const bool shared = e.kind == Expectation::Shared;
        double got;
        if (shared) {
            if (!host_.registry.find(e.target)) return fail("no shared variable '" + e.target + "' is registered");
            got = host_.registry.value(e.target);
        } else {
            const Sim::Var* v = host_.sim.find(e.id);
            got = v ? (v->is_bcd ? v->bcd : v->value) : 0;
        }
        check(same(got, e.number), format("%s %s is %s, expected %s", shared ? "shared" : "var", e.target.c_str(),
                                          number(got).c_str(), number(e.number).c_str()));
        return true;
    }
    case Expectation::Keys:
    case Expectation::Sounds: {
        const bool keys = e.kind == Expectation::Keys;
        std::vector<std::string> got;
        if (keys) {
            for (size_t i = keys_checked_; i < keys_.size(); ++i) got.push_back(hex(keys_[i]));
            keys_checked_ = keys_.size();
        } else {
            for (size_t i = sounds_checked_; i < sounds_.size(); ++i) got.push_back(sounds_[i]);
            sounds_checked_ = sounds_.size();
        }
        auto join = [](const std::vector<std::string>& v) {
            std::string s;
            for (const std::string& x : v) s += (s.empty() ? "" : " ") + x;
            return s.empty() ? std::string("none") : s;
        };
        check(got == e.list, std::string(keys ? "keys" : "sounds") + " were " + join(got) + ", expected " + join(e.list));
        return true;
    }
    case Expectation::Element: return expect_element(e);
    }
    return true;
}

// What an element of each kind shows (describe() prints the same):
// a needle its value, an icon its frame, a text its text, a slider and a
// moving image x and y, a sprite x, y and rotation; any element its bits.
bool Scenario::expect_element(const Expectation& e) {
    Gauge* g = gauge_arg(e.gauge);
    if (!g) return false;
    if (e.index >= g->size()) return fail("no element " + e.target);
    const uint32_t kind = g->element(e.index)->kind;
    const ElementState& s = g->state[e.index];
    const std::string& p = e.property;
    if (p == "bright" || p == "unlit") {
        check(((s.flags & IMAGE_BRIGHT) != 0) == (p == "bright"), e.target + " is not " + p);
        return true;
    }
    if (p == "hidden" || p == "shown") {
        check(((s.flags & IMAGE_HIDDEN) != 0) == (p == "hidden"), e.target + " is not " + p);
        return true;
    }
    const bool xy = kind == KIND_SLIDER || kind == KIND_MOVING || kind == KIND_SPRITE;
    const bool fits = p == "text"       ? kind == KIND_TEXT
                      : p == "frame"    ? kind == KIND_ICON
                      : p == "value"    ? kind == KIND_NEEDLE
                      : p == "rotation" ? kind == KIND_SPRITE
                                        : xy;
    if (!fits) {
        const std::string k = kind_name(kind);
        return fail(e.target + (k.find_first_of("aeiou") == 0 ? " is an " : " is a ") + k + " element, which has no " + p);
    }
    if (p == "text") {
        const std::string got = quote_text(s.text.c_str());
        check(got == e.text, e.target + " text is " + got + ", expected " + e.text);
        return true;
    }
    const double got = s.value[p == "y" ? 1 : p == "rotation" ? 2 : 0];
    check(same(got, e.number), format("%s %s is %s, expected %s", e.target.c_str(), p.c_str(), number(got).c_str(),
                                      number(e.number).c_str()));
    return true;
}

bool Scenario::read(const std::string& raw, Command* c) {
    ++line_number_;
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    std::string why;
    const bool ok = parse_command(line, c, &why);
    // The command is echoed without its comment; expectations are not.
    const std::vector<std::string> w = ok ? c->words : split_words(line);
    if (!w.empty() && w[0] != "expect") {
        std::string echo;
        for (const std::string& word : w) echo += (echo.empty() ? "" : " ") + word;
        out_ += "> " + echo + "\n";
    }
    return ok || fail(why);
}

bool apply_setting(Host& host, const Command& c, std::string* error) {
    switch (c.kind) {
    case Command::Set: host.sim.set(c.id, c.value); return true;
    case Command::SetBcd: host.sim.set_bcd(c.id, c.bcd); return true;
    case Command::Shared:
        if (!host.registry.set(c.name(), c.shared)) {
            *error = "no shared variable '" + c.name() + "' is registered";
            return false;
        }
        host.registry.collect_changes();  // the scenario's or the page's change, not a module's
        return true;
    case Command::Model:
        if (!host.sim.enable_model(c.name(), c.on)) {
            std::string known;
            for (const SimModel* m : sim_models()) known += std::string(" ") + m->name;
            *error = "no model '" + c.name() + "' (models:" + (known.empty() ? " none" : known) + ")";
            return false;
        }
        return true;
    default: *error = "not a setting: " + (c.words.empty() ? std::string() : c.words[0]); return false;
    }
}

bool Scenario::start(const Command& c) {
    if (c.kind != Command::None) ++commands_;
    switch (c.kind) {
    case Command::None: break;
    case Command::Load:
        host_.load(c.names, nullptr);
        flush_events();
        for (const std::string& m : c.names) shown_.erase(m);
        break;
    case Command::Unload:
        if (held_ && held_->gauge == host_.find(c.name())) held_.reset();  // gone with its module
        if (!host_.unload(c.name())) return fail("no gauge '" + c.name() + "' is loaded");
        flush_events();
        shown_.erase(c.name());
        break;
    case Command::Set:
    case Command::SetBcd:
    case Command::Shared:
    case Command::Model: {
        std::string why;
        if (!apply_setting(host_, c, &why)) return fail(why);
        if (c.kind == Command::Set || c.kind == Command::SetBcd) {
            std::erase_if(ramps_, [&](const Ramp& r) { return r.id == c.id; });
            if (replay_) replay_->release(c.id);
        }
        break;
    }
    case Command::Ramp:
        std::erase_if(ramps_, [&](const Ramp& r) { return r.id == c.id; });
        if (replay_) replay_->release(c.id);
        ramps_.push_back({c.id, c.value});
        break;
    case Command::Frames: {
        // Pending ramps move before each frame and arrive at the last one
        // (at once for no frame).
        Job job;
        job.count = c.duration.frames(host_.sim.frame_rate());
        job.ramps.swap(ramps_);
        for (Ramp& r : job.ramps) {
            r.from = host_.sim.get(r.id);
            if (job.count == 0) host_.sim.set(r.id, r.to);
        }
        if (job.count > 0) job_ = std::move(job);
        break;
    }
    case Command::Fps: host_.sim.set_frame_rate(c.fps); break;
    case Command::Press:
    case Command::Move:
    case Command::Release: return start_mouse(c);
    case Command::Click: {
        let_go();
        Gauge* g = gauge_arg(c.name());
        if (!g) return false;
        if (!host_.area_at(*g, c.x0, c.y0)) emit("no area there");
        host_.click(*g, c.x0, c.y0);
        flush_events();
        break;
    }
    case Command::Hold:
    case Command::Drag: {
        let_go();
        Gauge* g = gauge_arg(c.name());
        if (!g) return false;
        Job job{c.kind, c.duration.frames(host_.sim.frame_rate()), 0, {}, host_.press(*g, c.x0, c.y0),
                c.x0, c.y0, c.x1, c.y1};
        if (!job.press.area) emit("no area there");
        flush_events();
        job_ = std::move(job);
        if (job_->count == 0) step();  // released at once
        break;
    }
    case Command::Service: {
        Gauge* g = gauge_arg(c.name());
        if (!g) return false;
        host_.service(*g, c.id);
        flush_events();
        break;
    }
    case Command::Show:
        if (!c.names.empty()) {
            Gauge* g = gauge_arg(c.name());
            if (!g) return false;
            show(*g);
        } else {
            for (const auto& g : host_.gauges()) show(*g);
        }
        break;
    case Command::SoundLibrary: host_.set_sound_library(c.on); break;
    case Command::LibraryCalls: library_calls_ = c.on; break;
    case Command::Expect: return expect(c.expect);
    case Command::Replay: return start_replay(c);
    }
    return true;
}

// A button held by "press" is let go before another is pressed.
void Scenario::let_go() {
    if (!held_) return;
    host_.release(*held_);
    held_.reset();
    flush_events();
}

bool Scenario::start_mouse(const Command& c) {
    if (c.kind == Command::Press) {
        let_go();
        Gauge* g = gauge_arg(c.name());
        if (!g) return false;
        held_ = host_.press(*g, c.x0, c.y0);
        held_fresh_ = true;
        if (!held_->area) emit("no area there");
        flush_events();
        return true;
    }
    if (!held_) return fail("no button is held (press GAUGE X Y first)");
    if (c.kind == Command::Move) {
        host_.move(*held_, c.x0, c.y0);
        flush_events();
    } else {
        let_go();
    }
    return true;
}

// The table is read whole when the line runs; a new replay takes the place
// of the one running.
bool Scenario::start_replay(const Command& c) {
    replay_.reset();
    if (c.names.empty()) return true;  // replay stop
    const std::string& file = c.name();
    const bool whole = file[0] == '/' || file[0] == '\\' || (file.size() > 1 && file[1] == ':');
    const std::string path = whole || folder.empty() ? file : folder + "/" + file;
    if (std::string why = text_file_problem(path, "a flight table (.csv)"); !why.empty()) return fail(why);
    std::string text, why;
    FlightTable table;
    if (!read_whole_file(path, &text)) return fail("cannot read the flight table " + path);
    if (!parse_flight_table(text, file, &table, &why)) return fail(why);
    const double from = c.has_from ? c.value : table.first;
    replay_.emplace(file, std::move(table), from, c.speed);
    return true;
}

// One frame of the pending command; a hold or drag is released after its
// last frame.
void Scenario::step() {
    if (!job_) return;
    Job& j = *job_;
    if (j.done < j.count) {
        const uint64_t i = ++j.done;
        if (j.kind == Command::Frames) {
            const double t = static_cast<double>(i) / static_cast<double>(j.count);
            for (const Ramp& r : j.ramps) host_.sim.set(r.id, i == j.count ? r.to : r.from + (r.to - r.from) * t);
        } else {
            if (j.kind == Command::Drag)
                host_.move(j.press, drag_step(j.x0, j.x1, i, j.count), drag_step(j.y0, j.y1, i, j.count));
            else if (i > 1)
                host_.repeat(j.press);
            flush_events();
        }
        run_frame();
    }
    if (j.done < j.count) return;
    if (j.kind != Command::Frames) {
        host_.release(j.press);
        flush_events();
    }
    job_.reset();
}

bool Scenario::run(const Command& c) {
    if (!start(c)) return false;
    while (job_) step();
    return true;
}

bool Scenario::run_line(const std::string& line) {
    Command c;
    return read(line, &c) && run(c);
}

bool Scenario::run_text(const std::string& text) {
    for (const std::string& line : scenario_lines(text))
        if (!run_line(line)) return false;
    return finish();
}

bool Scenario::finish() {
    if (commands_ > 0) return true;
    line_number_ = std::max(line_number_, 1);
    return fail("no command in the scenario (only blanks and comments)");
}

}  // namespace kestrel
