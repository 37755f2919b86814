#include "host/scenario/scenario.h"

#include <math.h>
#include <stdio.h>

#include "host/files.h"
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

bool Scenario::run_frames(uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) {
        in_frame_ = true;
        frame_header_printed_ = false;
        host_.frame();
        flush_events();
        element_changes();
        in_frame_ = false;
        if (after_frame) after_frame(after_frame_context, host_.sim.frame());
    }
    return true;
}

// Runs the frames, moving the variables of pending ramps before each one;
// they reach their values at the last frame (at once for no frame).
bool Scenario::run_ramps(uint64_t count) {
    std::vector<Ramp> ramps;
    ramps.swap(ramps_);
    if (ramps.empty()) return run_frames(count);
    std::vector<double> from;
    for (const Ramp& r : ramps) from.push_back(host_.sim.get(r.id));
    if (count == 0)
        for (const Ramp& r : ramps) host_.sim.set(r.id, r.to);
    for (uint64_t i = 1; i <= count; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(count);
        for (size_t k = 0; k < ramps.size(); ++k)
            host_.sim.set(ramps[k].id, i == count ? ramps[k].to : from[k] + (ramps[k].to - from[k]) * t);
        run_frames(1);
    }
    return true;
}

// "12" is 12 frames, "2s" or "2.5s" seconds at the current frame rate.
bool Scenario::parse_duration(const std::string& word, uint64_t* frames) {
    if (!word.empty() && word.back() == 's') {
        double seconds;
        if (!parse_double(word.substr(0, word.size() - 1), &seconds) || !(seconds >= 0) ||
            seconds > 1e7)
            return false;
        *frames = static_cast<uint64_t>(llround(seconds * host_.sim.frame_rate()));
        return true;
    }
    int64_t n;
    if (!parse_int(word, &n) || n < 0 || n > 100000000) return false;
    *frames = static_cast<uint64_t>(n);
    return true;
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

// expect GAUGE[I] frame|value|x|y|rotation N
// expect GAUGE[I] text "..."          (as the transcript quotes it)
// expect GAUGE[I] bright|unlit|hidden|shown
// expect shared NAME N     expect var ID N
// expect keys ID...        expect sounds PATH...   (since the last such line)
bool Scenario::expect(const std::vector<std::string>& w, const std::string& line) {
    if (w.size() < 2) return fail("expect what?");
    const std::string& what = w[1];
    if (what == "shared" || what == "var") {
        if (w.size() != 4) return fail("expect " + what + " NAME VALUE");
        double want;
        if (!parse_double(w[3], &want)) return fail("not a number: " + w[3]);
        double got;
        if (what == "shared") {
            got = host_.registry.value(w[2]);
        } else {
            uint32_t id;
            if (!parse_uint32(w[2], &id)) return fail("not a variable id: " + w[2]);
            const Sim::Var* v = host_.sim.find(id);
            got = v ? (v->is_bcd ? v->bcd : v->value) : 0;
        }
        check(got == want || (isnan(got) && isnan(want)),
              format("%s %s is %s, expected %s", what.c_str(), w[2].c_str(), number(got).c_str(),
                     number(want).c_str()));
        return true;
    }
    if (what == "keys" || what == "sounds") {
        const bool keys = what == "keys";
        std::vector<std::string> got;
        if (keys) {
            for (size_t i = keys_checked_; i < keys_.size(); ++i) got.push_back(hex(keys_[i]));
            keys_checked_ = keys_.size();
        } else {
            for (size_t i = sounds_checked_; i < sounds_.size(); ++i) got.push_back(sounds_[i]);
            sounds_checked_ = sounds_.size();
        }
        std::vector<std::string> want;
        for (size_t i = 2; i < w.size(); ++i) {
            uint32_t id;
            if (keys && !parse_uint32(w[i], &id)) return fail("not a key event id: " + w[i]);
            want.push_back(keys ? hex(id) : w[i]);
        }
        auto join = [](const std::vector<std::string>& v) {
            std::string s;
            for (const std::string& x : v) s += (s.empty() ? "" : " ") + x;
            return s.empty() ? std::string("none") : s;
        };
        check(got == want, what + " were " + join(got) + ", expected " + join(want));
        return true;
    }
    // GAUGE[I] ...
    const size_t open = what.find('['), close = what.find(']');
    if (open == std::string::npos || close != what.size() - 1 || w.size() < 3)
        return fail("expect GAUGE[INDEX] PROPERTY ...");
    Gauge* g = gauge_arg(what.substr(0, open));
    if (!g) return false;
    int64_t index;
    if (!parse_int(what.substr(open + 1, close - open - 1), &index) || index < 0 ||
        static_cast<size_t>(index) >= g->size())
        return fail("no element " + what);
    const ElementState& s = g->state[static_cast<size_t>(index)];
    const std::string& property = w[2];
    if (property == "bright" || property == "unlit") {
        check(((s.flags & IMAGE_BRIGHT) != 0) == (property == "bright"), what + " is not " + property);
        return true;
    }
    if (property == "hidden" || property == "shown") {
        check(((s.flags & IMAGE_HIDDEN) != 0) == (property == "hidden"), what + " is not " + property);
        return true;
    }
    if (property == "text") {
        const size_t at = line.find("text");
        std::string want = line.substr(line.find_first_not_of(' ', at + 4));
        while (!want.empty() && (want.back() == ' ' || want.back() == '\r')) want.pop_back();
        // After the closing quote (a quote inside is written \"), a '#'
        // starts a comment as on any other line.
        if (!want.empty() && want[0] == '"') {
            size_t end = 1;
            while (end < want.size() && want[end] != '"') end += want[end] == '\\' ? 2 : 1;
            const size_t rest = want.find_first_not_of(" \t", end + 1);
            if (end < want.size() && rest != std::string::npos && want[rest] == '#') want.resize(end + 1);
        }
        const std::string got = quote_text(s.text.c_str());
        check(got == want, what + " text is " + got + ", expected " + want);
        return true;
    }
    static const char* const names[] = {"frame", "value", "x", "y", "rotation"};
    static const int slots[] = {0, 0, 0, 1, 2};
    for (int i = 0; i < 5; ++i) {
        if (property != names[i]) continue;
        double want;
        if (w.size() != 4 || !parse_double(w[3], &want)) return fail("expect " + what + " " + property + " NUMBER");
        const double got = s.value[slots[i]];
        check(got == want || (isnan(got) && isnan(want)),
              format("%s %s is %s, expected %s", what.c_str(), property.c_str(), number(got).c_str(),
                     number(want).c_str()));
        return true;
    }
    return fail("unknown property '" + property + "'");
}

bool Scenario::run_line(const std::string& raw) {
    ++line_number_;
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    const std::vector<std::string> w = split_words(line);
    if (w.empty()) return true;
    const std::string& cmd = w[0];
    // Echo the command, without its comment.
    {
        std::string echo;
        for (const std::string& word : w) echo += (echo.empty() ? "" : " ") + word;
        if (cmd != "expect") out_ += "> " + echo + "\n";
    }
    auto need = [&](size_t n, const char* usage) {
        if (w.size() == n) return true;
        fail(std::string("usage: ") + usage);
        return false;
    };
    auto point = [&](size_t at, int32_t* x, int32_t* y) {
        int64_t a, b;
        if (!parse_int(w[at], &a) || !parse_int(w[at + 1], &b) || a < INT32_MIN || a > INT32_MAX ||
            b < INT32_MIN || b > INT32_MAX) {
            fail("not a point: " + w[at] + " " + w[at + 1]);
            return false;
        }
        *x = static_cast<int32_t>(a);
        *y = static_cast<int32_t>(b);
        return true;
    };

    if (cmd == "load") {
        if (w.size() < 2) return fail("usage: load MODULE...");
        host_.load(std::vector<std::string>(w.begin() + 1, w.end()), nullptr);
        flush_events();
        for (size_t i = 1; i < w.size(); ++i) shown_.erase(w[i]);
    } else if (cmd == "unload") {
        if (!need(2, "unload MODULE")) return false;
        if (!host_.unload(w[1])) return fail("no gauge '" + w[1] + "' is loaded");
        flush_events();
        shown_.erase(w[1]);
    } else if (cmd == "set") {
        uint32_t id;
        if (w.size() == 4 && w[2] == "bcd") {
            uint32_t bcd;
            if (!parse_uint32(w[1], &id) || !parse_uint32(w[3], &bcd))
                return fail("usage: set ID bcd VALUE");
            host_.sim.set_bcd(id, bcd);
        } else {
            double v;
            if (w.size() != 3 || !parse_uint32(w[1], &id) || !parse_double(w[2], &v))
                return fail("usage: set ID VALUE");
            host_.sim.set(id, v);
        }
        std::erase_if(ramps_, [&](const Ramp& r) { return r.id == id; });
    } else if (cmd == "ramp") {
        uint32_t id;
        double v;
        if (w.size() != 3 || !parse_uint32(w[1], &id) || !parse_double(w[2], &v))
            return fail("usage: ramp ID VALUE");
        std::erase_if(ramps_, [&](const Ramp& r) { return r.id == id; });
        ramps_.push_back({id, v});
    } else if (cmd == "shared") {
        int64_t v;
        if (!need(3, "shared NAME VALUE")) return false;
        if (!parse_int(w[2], &v) || v < INT32_MIN || v > 0xFFFFFFFFll) return fail("not a 32-bit value: " + w[2]);
        if (!host_.registry.set(w[1], static_cast<int32_t>(static_cast<uint32_t>(v))))
            return fail("no shared variable '" + w[1] + "' is registered");
        host_.registry.collect_changes();
    } else if (cmd == "frames" || cmd == "seconds") {
        if (!need(2, "frames N | seconds S")) return false;
        uint64_t n;
        if (!parse_duration(cmd == "seconds" ? w[1] + "s" : w[1], &n)) return fail("not a duration: " + w[1]);
        run_ramps(n);
    } else if (cmd == "fps") {
        int64_t fps;
        if (!need(2, "fps N") || !parse_int(w[1], &fps) || fps < 1 || fps > 1000)
            return fail("usage: fps N (1 to 1000)");
        host_.sim.set_frame_rate(static_cast<uint32_t>(fps));
    } else if (cmd == "click") {
        int32_t x, y;
        if (!need(4, "click GAUGE X Y") || !point(2, &x, &y)) return false;
        Gauge* g = gauge_arg(w[1]);
        if (!g) return false;
        if (!host_.area_at(*g, x, y)) emit("no area there");
        host_.click(*g, x, y);
        flush_events();
    } else if (cmd == "hold" || cmd == "drag") {
        const bool drag = cmd == "drag";
        int32_t x, y, x1 = 0, y1 = 0;
        uint64_t n;
        if (!need(drag ? 7 : 5, drag ? "drag GAUGE X0 Y0 X1 Y1 FRAMES|Ns" : "hold GAUGE X Y FRAMES|Ns") ||
            !point(2, &x, &y) || (drag && !point(4, &x1, &y1)))
            return false;
        if (!parse_duration(w.back(), &n)) return fail("not a duration: " + w.back());
        Gauge* g = gauge_arg(w[1]);
        if (!g) return false;
        Host::Press p = host_.press(*g, x, y);
        if (!p.area) emit("no area there");
        flush_events();
        for (uint64_t i = 1; i <= n; ++i) {
            if (drag) {
                host_.move(p, drag_step(x, x1, i, n), drag_step(y, y1, i, n));
            } else if (i > 1) {
                host_.repeat(p);
            }
            flush_events();
            run_frames(1);
        }
        host_.release(p);
        flush_events();
    } else if (cmd == "service") {
        uint32_t id;
        if (!need(3, "service GAUGE ID") || !parse_uint32(w[2], &id)) return fail("usage: service GAUGE ID");
        Gauge* g = gauge_arg(w[1]);
        if (!g) return false;
        host_.service(*g, id);
        flush_events();
    } else if (cmd == "show") {
        if (w.size() > 2) return fail("usage: show [GAUGE]");
        if (w.size() == 2) {
            Gauge* g = gauge_arg(w[1]);
            if (!g) return false;
            show(*g);
        } else {
            for (const auto& g : host_.gauges()) show(*g);
        }
    } else if (cmd == "model") {
        if (!need(3, "model NAME|all on|off") || (w[2] != "on" && w[2] != "off"))
            return fail("usage: model NAME|all on|off");
        if (!host_.sim.enable_model(w[1], w[2] == "on")) {
            std::string known;
            for (const SimModel* m : sim_models()) known += std::string(" ") + m->name;
            return fail("no model '" + w[1] + "' (models:" + (known.empty() ? " none" : known) + ")");
        }
    } else if (cmd == "sound-library") {
        if (!need(2, "sound-library on|off") || (w[1] != "on" && w[1] != "off"))
            return fail("usage: sound-library on|off");
        host_.set_sound_library(w[1] == "on");
    } else if (cmd == "library-calls") {
        if (!need(2, "library-calls on|off") || (w[1] != "on" && w[1] != "off"))
            return fail("usage: library-calls on|off");
        library_calls_ = w[1] == "on";
    } else if (cmd == "expect") {
        if (!expect(w, line)) return false;
    } else {
        return fail("unknown command '" + cmd + "'");
    }
    return true;
}

bool Scenario::run_text(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (!run_line(text.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

}  // namespace kestrel

namespace kestrel {

int run_scenario_file(Host& host, const std::string& path, FILE* out, FILE* err) {
    FILE* f = open_file(path, "rb");
    if (!f) {
        fprintf(err, "kestrel: cannot read the scenario %s\n", path.c_str());
        return 2;
    }
    std::string name = path;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    Scenario scenario(host, name);
    std::string line;
    bool ok = true;
    int c;
    while (ok && (c = fgetc(f)) != EOF) {
        if (c != '\n') {
            line += static_cast<char>(c);
            if (line.size() < 65536) continue;
        }
        ok = scenario.run_line(line);
        line.clear();
        const std::string t = scenario.take_transcript();
        fwrite(t.data(), 1, t.size(), out);
    }
    if (ok && !line.empty()) {
        ok = scenario.run_line(line);
        const std::string t = scenario.take_transcript();
        fwrite(t.data(), 1, t.size(), out);
    }
    fclose(f);
    if (!ok) {
        fflush(out);
        fprintf(err, "%s\n", scenario.error().c_str());
        return 2;
    }
    fprintf(out, "end: %d expectations, %d failed or faults\n", scenario.expectations(),
            scenario.failures());
    return scenario.failures() ? 1 : 0;
}

}  // namespace kestrel
