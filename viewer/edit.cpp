// The live panel's edits of its panel file: the session lines place, add,
// remove, window, undo, redo, save and reload (docs/live.md, "Editing the
// panel file"), and what each does to the running panel.
//
// The file is a PanelDocument (host/panel/document.h), which keeps every
// byte and changes only the lines an edit is about; the running panel is
// made the document's after every edit: gauges that only moved keep running
// (the same modules, a new place), a module newly named is loaded as the
// panel loads modules (pre-install, pre-initialize), and one no entry names
// any more gets its pre-kill and goes. Only `save` writes, and only the file
// the session was started with.
#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <set>

#include <nlohmann/json.hpp>

#include "host/files.h"
#include "host/panel/load.h"
#include "host/panel/panel_check.h"
#include "host/panel/placement.h"
#include "host/scenario/recorder.h"
#include "host/utf8.h"
#include "host/util.h"
#include "viewer/live.h"

namespace kestrel {

using json = nlohmann::ordered_json;

namespace {

const char* const EDIT_VERBS[] = {"place", "add", "remove", "window", "undo", "redo", "save", "reload"};

bool same_pixels(const Pixels* a, const Pixels* b) {
    return a == b || (a && b && a->width == b->width && a->height == b->height && a->argb == b->argb);
}

// Whether a window's picture must be drawn anew: anything it shows differs.
bool same_picture(const PanelWindow& a, const PanelWindow& b) {
    if (a.kind != b.kind || a.index != b.index || a.width != b.width || a.height != b.height ||
        a.pixel_width != b.pixel_width || a.pixel_height != b.pixel_height || a.background != b.background ||
        a.bitmap != b.bitmap || !same_pixels(a.picture.get(), b.picture.get()) || a.gauges.size() != b.gauges.size())
        return false;
    for (size_t i = 0; i < a.gauges.size(); ++i) {
        const PanelGauge &g = a.gauges[i], &h = b.gauges[i];
        if (g.module != h.module || g.gauge != h.gauge || g.x != h.x || g.y != h.y || g.width != h.width ||
            g.height != h.height)
            return false;
    }
    return true;
}

// The characters of Windows code page 1252 from 0x80 to 0x9F (0: none).
constexpr char16_t CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

// Text from the page (UTF-8) as the file writes text: UTF-8 in a file that
// is UTF-8 already (valid, and not only ASCII); otherwise in the Windows
// code page the simulator reads panel files in (1252). A character read
// from a byte the page showed as Latin-1 goes back to that byte. Why not,
// when a character has no byte there.
std::string file_text(const std::string& file, const std::string& text, std::string* out) {
    const bool ascii = std::all_of(file.begin(), file.end(), [](char c) { return (unsigned char)c < 0x80; });
    if (!ascii && valid_utf8(file) == file) {
        *out = text;
        return "";
    }
    out->clear();
    for (char16_t c : utf16(text)) {
        if (c < 0x100) {
            *out += char(c);
            continue;
        }
        const char16_t* at = std::find(std::begin(CP1252_HIGH), std::end(CP1252_HIGH), c);
        if (at == std::end(CP1252_HIGH))
            return "this panel file is written in the Windows code page 1252, which has no character U+" +
                   format("%04X", unsigned(c)) + " (the simulator reads it so)";
        *out += char(0x80 + (at - CP1252_HIGH));
    }
    return "";
}

const char* severity_word(Severity s) {
    return s == Severity::Error ? "error" : s == Severity::Warning ? "warning" : "note";
}

}  // namespace

bool LiveSession::is_edit(const std::string& verb) {
    return std::any_of(std::begin(EDIT_VERBS), std::end(EDIT_VERBS), [&](const char* v) { return verb == v; });
}

void LiveSession::open_document() {
    std::string error;
    document_error_.clear();
    if (!document_.load(options_.panel, &error)) document_error_ = error;
}

// The panel as the simulator reads the document now, with its bitmaps.
PanelConfig LiveSession::document_panel() const {
    PanelConfig config =
        document_error_.empty() ? document_.panel() : read_panel_config(options_.panel);  // says why it cannot
    if (document_error_.empty()) read_backgrounds(&config, folder_of(options_.panel));
    match_module_names(&config, options_.host.gauge_dir);
    return config;
}

std::string LiveSession::edit(const std::vector<std::string>& words) {
    const std::string& verb = words[0];
    if (!document_error_.empty()) return "the panel file cannot be edited: " + document_error_;
    if (verb == "save") {
        if (words.size() != 1) return "usage: save";
        const bool first = document_.backup().empty();
        const std::string why = document_.save();
        conflict_ = !why.empty() && document_.changed_on_disk();
        if (!why.empty()) {
            page_log("save refused: " + why);
            return why;
        }
        page_log("saved " + options_.panel +
                 (first && !document_.backup().empty() ? " (the file as it was is kept as " + document_.backup() + ")"
                                                       : ""));
        return "";
    }
    if (verb == "reload") {
        if (words.size() != 1) return "usage: reload";
        PanelDocument fresh;
        std::string error;
        if (!fresh.load(options_.panel, &error)) return error;
        document_ = std::move(fresh);
        conflict_ = false;
        modules_listed_ = false;  // the Gauges folder looked at again too
        modules_.clear();
        take_panel();
        page_log("reload: " + options_.panel + " read again; edits not saved are gone");
        return "";
    }
    std::vector<std::string> edit = words;
    if (verb == "window" && words.size() > 3 && lower_case(words[2]) == "title") {
        // A title is text of the file's own encoding.
        const std::string text = document_.text();
        for (size_t i = 3; i < edit.size(); ++i)
            if (std::string why = file_text(text, words[i], &edit[i]); !why.empty()) return why;
    }
    if (std::string why = document_.apply(edit); !why.empty()) return why;
    take_panel();
    std::string line;
    for (const std::string& w : words) line += (line.empty() ? "" : " ") + w;
    page_log(line);
    // A recording says what was edited; its modules' calls do not change
    // with a gauge's place, and the scenario has no panel to edit.
    if (history_) history_->note("panel edit: " + line);
    return "";
}

void LiveSession::take_panel() {
    PanelConfig next = document_panel();
    if (pressed_) host_->release(press_);
    pressed_ = false;

    // Modules that no entry names any more: their pre-kill, and gone. (A
    // scenario being played loads its own modules: they are its to load.)
    const std::vector<std::string> named = next.modules();
    const std::set<std::string> wanted(named.begin(), named.end());
    std::vector<std::string> gone;
    for (const auto& g : host_->gauges())
        if (!player_ && !wanted.count(g->name)) gone.push_back(g->name);
    for (const std::string& name : gone) host_->unload(name);

    // The windows: each kept picture refers to its window, so the windows are
    // replaced in place; a window whose picture would differ is drawn anew.
    const PanelColors colors = config_.colors;
    std::vector<bool> redraw(next.windows.size(), true);
    if (next.windows.size() == config_.windows.size()) {
        for (size_t i = 0; i < next.windows.size(); ++i) {
            redraw[i] = !same_picture(config_.windows[i], next.windows[i]);
            config_.windows[i] = std::move(next.windows[i]);
        }
        config_.path = next.path;
        config_.colors = next.colors;
        config_.problems = std::move(next.problems);
    } else {
        windows_.clear();
        config_ = std::move(next);
    }
    if (colors.given != config_.colors.given || colors.day != config_.colors.day ||
        colors.night != config_.colors.night || colors.luminous != config_.colors.luminous)
        renderer_.set_colors(config_.colors);

    // Modules newly named: loaded as the panel loads them.
    if (!player_) problems_ = kestrel::load_panel(*host_, config_, options_.host.gauge_dir);
    windows_.resize(config_.windows.size());
    for (size_t i = 0; i < config_.windows.size(); ++i)
        if (redraw[i] || !windows_[i])
            windows_[i] = std::make_unique<WindowPicture>(renderer_, config_.windows[i], *host_, 1.0);
    collect_events();
    ++layout_version_;
}

// What the layout tells of the file: each window's keys as written, the
// findings of `kestrel check`, and the modules that can be added.
void LiveSession::edit_layout(json& j) {
    const bool editable = document_error_.empty();
    j["editable"] = editable;
    if (!editable) j["not_editable"] = document_error_;
    for (json& w : j["windows"]) {
        if (w["kind"] != "window" || !editable) continue;
        const int n = w["number"].get<int>();
        json keys = json::object();
        for (const char* key : {"size_mm", "position", "visible", "ident", "background_color", "file"})
            keys[key] = document_.window_value(n, key);
        w["keys"] = std::move(keys);
    }

    // The findings, each with the gauge or window its line is about.
    const NaturalSize natural = [&](const std::string& module, int* w, int* h) {
        Gauge* g = host_->find(module);
        return g && renderer_.natural_size(*g, w, h);
    };
    json& checks = j["checks"] = json::array();
    for (const Finding& f : check_panel(config_, options_.host.gauge_dir, natural)) {
        json one = {{"severity", severity_word(f.severity)}, {"line", f.line}, {"message", f.message}};
        for (size_t wi = 0; wi < config_.windows.size(); ++wi) {
            const PanelWindow& w = config_.windows[wi];
            if (f.line > 0 && (f.line == w.line || f.line == w.bitmap_line)) one["window"] = wi;
            for (const PanelGauge& g : w.gauges)
                if (f.line > 0 && f.line == g.line) {
                    one["window"] = wi;
                    one["entry"] = g.number;
                }
        }
        checks.push_back(std::move(one));
    }

    // The modules of the Gauges folder with their own sizes, listed once.
    if (!modules_listed_) {
        modules_listed_ = true;
        const std::string& dir = options_.host.gauge_dir;
        if (DIR* d = opendir(dir.c_str())) {
            while (const dirent* e = readdir(d)) {
                const std::string file = e->d_name;
                if (file.size() <= 4 || strcasecmp(file.c_str() + file.size() - 4, ".gau") != 0) continue;
                Module m;
                m.name = file.substr(0, file.size() - 4);
                if (!plain_file_name(m.name) || file_kind(dir + "/" + file) != FileKind::File) continue;
                const Gauge* g = host_->find(m.name);
                if (const KestrelModule* k = kestrel_module(m.name)) m.gauge = k->gauge;
                else if (g && g->layout.header && g->layout.header->name) m.gauge = g->layout.header->name;
                if (!(g && renderer_.natural_size(*g, &m.width, &m.height)) &&
                    !module_size(dir, options_.artwork_dir, m.name, &m.width, &m.height))
                    m.width = m.height = 0;
                modules_.push_back(std::move(m));
            }
            closedir(d);
        }
        std::sort(modules_.begin(), modules_.end(),
                  [](const Module& a, const Module& b) { return strcasecmp(a.name.c_str(), b.name.c_str()) < 0; });
    }
    json& modules = j["modules"] = json::array();
    for (const Module& m : modules_)
        modules.push_back({{"module", m.name}, {"gauge", m.gauge}, {"width", m.width}, {"height", m.height}});
}

// Where the file stands: edited since read or saved, undo and redo, and a
// save refused because another program changed the file.
void LiveSession::edit_state(json& j, bool everything) {
    if (!document_error_.empty()) return;
    json file = {{"modified", document_.modified()},
                 {"undo", document_.can_undo()},
                 {"redo", document_.can_redo()},
                 {"conflict", conflict_},
                 {"backup", document_.backup()}};
    const std::string text = file.dump();
    if (!everything && text == edit_sent_) return;
    if (!everything) edit_sent_ = text;
    j["file"] = std::move(file);
}

}  // namespace kestrel
