#include "host/scenario/recorder.h"

#include <math.h>
#include <time.h>

#include "host/panel/panel_config.h"
#include "host/util.h"

namespace kestrel {

namespace {

bool same_var(const Sim::Var& a, const Sim::Var& b) {
    const bool same_value = a.value == b.value || (isnan(a.value) && isnan(b.value));
    return same_value && a.bcd == b.bcd && a.is_bcd == b.is_bcd && signbit(a.value) == signbit(b.value);
}

// The "expect" lines of an element whose state changed: what its kind
// shows, and its lighting and visibility where they changed.
void expect_element(const Gauge& g, size_t i, const ElementState& was, std::vector<std::string>* out) {
    const ElementState& s = g.state[i];
    if (s == was) return;
    const std::string target = format("expect %s[%zu] ", g.name.c_str(), i);
    switch (g.element(i)->kind) {
    case KIND_NEEDLE: out->push_back(target + "value " + number(s.value[0])); break;
    case KIND_ICON: out->push_back(target + "frame " + number(s.value[0])); break;
    case KIND_TEXT: out->push_back(target + "text " + quote_text(s.text.c_str())); break;
    case KIND_SPRITE: out->push_back(target + "rotation " + number(s.value[2])); [[fallthrough]];
    case KIND_SLIDER:
    case KIND_MOVING:
        out->push_back(target + "x " + number(s.value[0]));
        out->push_back(target + "y " + number(s.value[1]));
        break;
    default: break;
    }
    if ((s.flags ^ was.flags) & IMAGE_BRIGHT) out->push_back(target + (s.flags & IMAGE_BRIGHT ? "bright" : "unlit"));
    if ((s.flags ^ was.flags) & IMAGE_HIDDEN) out->push_back(target + (s.flags & IMAGE_HIDDEN ? "hidden" : "shown"));
}

std::string keys_line(const std::vector<uint32_t>& keys, size_t from, size_t to) {
    std::string line = "expect keys";
    for (size_t i = from; i < to; ++i) line += " " + hex(keys[i]);
    return line;
}

}  // namespace

SessionRecorder::SessionRecorder(Host& host) : host_(host), fps_(host.sim.frame_rate()) {
    std::string load;
    for (const auto& g : host_.gauges()) load += " " + g->name;
    if (!load.empty()) lines_.push_back("load" + load);
    std::vector<std::string> models;
    for (const SimModel* m : sim_models())
        if (host_.sim.model_enabled(m->name)) models.push_back(std::string("model ") + m->name + " on");
    if (!models.empty() && models.size() == sim_models().size()) models = {"model all on"};
    lines_.insert(lines_.end(), models.begin(), models.end());
}

void SessionRecorder::flush_frames() {
    if (frames_ == 0) return;
    lines_.push_back(format("frames %llu", static_cast<unsigned long long>(frames_)));
    frames_ = 0;
}

void SessionRecorder::line(const std::string& text) {
    flush_frames();
    std::string words;
    for (const std::string& w : split_words(text)) words += (words.empty() ? "" : " ") + w;
    lines_.push_back(words);
}

void SessionRecorder::press(const Gauge& gauge, int32_t x, int32_t y) {
    flush_frames();
    lines_.push_back(format("press %s %d %d", gauge.name.c_str(), x, y));
}

void SessionRecorder::move(int32_t x, int32_t y) {
    flush_frames();
    lines_.push_back(format("move %d %d", x, y));
}

void SessionRecorder::release() {
    flush_frames();
    lines_.push_back("release");
}

void SessionRecorder::note(const std::string& text) {
    flush_frames();
    std::string line = "# ";
    for (char c : text) line += c == '\n' || c == '\r' ? ' ' : c;
    lines_.push_back(line);
}

void SessionRecorder::frame() {
    const uint32_t fps = host_.sim.frame_rate();
    if (fps != fps_) {
        flush_frames();
        lines_.push_back(format("fps %u", fps));
        fps_ = fps;
    }
    ++frames_;
}

void SessionRecorder::event(const Event& e) {
    if (e.kind == Event::Kind::KeyEvent) keys_.push_back(static_cast<uint32_t>(e.number));
}

void SessionRecorder::start() {
    flush_frames();
    Mark m;
    m.line = lines_.size();
    m.keys = keys_.size();
    m.vars = host_.sim.vars();
    for (const auto& g : host_.gauges()) m.elements[g->name] = g->state;
    mark_ = std::move(m);
}

void SessionRecorder::expectations(std::vector<std::string>* out) const {
    for (const Registry::Entry& e : host_.registry.entries())
        out->push_back(format("expect shared %s %d", e.name.c_str(), host_.registry.value(e.name)));
    for (const auto& [id, v] : host_.sim.vars()) {
        const auto was = mark_->vars.find(id);
        if (was != mark_->vars.end() && same_var(was->second, v)) continue;
        out->push_back("expect var " + hex(id) + " " + (v.is_bcd ? hex(v.bcd) : number(v.value)));
    }
    out->push_back(keys_line(keys_, mark_->keys, keys_.size()));
    for (const auto& g : host_.gauges()) {
        const auto was = mark_->elements.find(g->name);
        if (was == mark_->elements.end() || was->second.size() != g->state.size()) continue;
        for (size_t i = 0; i < g->state.size(); ++i) expect_element(*g, i, was->second[i], out);
    }
}

std::string SessionRecorder::stop(const std::string& title) {
    if (!mark_) return "";
    flush_frames();
    std::string text = "# " + title + ": recorded on the live panel (kestrel serve).\n";
    text += "# The panel as it came up, and what was done to it before the recording:\n";
    for (size_t i = 0; i < mark_->line; ++i) text += lines_[i] + "\n";
    if (mark_->keys > 0) text += keys_line(keys_, 0, mark_->keys) + "\n";
    text += "\n## Recorded\n";
    for (size_t i = mark_->line; i < lines_.size(); ++i) text += lines_[i] + "\n";
    text += "\n# What changed while it was recorded.\n";
    std::vector<std::string> expects;
    expectations(&expects);
    for (const std::string& e : expects) text += e + "\n";
    mark_.reset();
    return text;
}

bool recording_name_ok(const std::string& name) { return plain_file_name(name) && name.size() <= 100; }

std::string recording_name_now() {
    const time_t now = time(nullptr);
    struct tm t {};
#if defined(_WIN32)
    gmtime_s(&t, &now);
#else
    gmtime_r(&now, &t);
#endif
    return format("recording-%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                  t.tm_sec);
}

}  // namespace kestrel
