#include "host/panel/panel_edit.h"

#include <ctype.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "host/files.h"
#include "host/util.h"

namespace kestrel {

namespace {

// Why `text` could not stand in a line of the file as written: a comment
// mark would cut the line there; a comma would split a gauge's fields.
std::string unsafe_text(const std::string& text, const char* what, bool commas) {
    if (text.find("//") != std::string::npos || text.find(';') != std::string::npos)
        return std::string(what) + " may not hold \"//\" or ';' (they start a comment in panel.cfg)";
    if (commas && text.find(',') != std::string::npos) return std::string(what) + " may not hold a comma";
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return std::string(what) + " may not hold control characters";
    return "";
}

struct Words {
    const std::vector<std::string>& words;
    std::string error;

    // words[i] as a whole decimal number from lo to hi.
    bool number(size_t i, const char* what, int lo, int hi, int* out) {
        if (!error.empty()) return false;
        const std::string& w = words[i];
        const size_t digits = w.size() - (w[0] == '-' ? 1 : 0);
        bool ok = digits > 0 && digits <= 6 && w.find_first_not_of("0123456789", w[0] == '-' ? 1 : 0) == std::string::npos;
        const long v = ok ? strtol(w.c_str(), nullptr, 10) : 0;
        ok = ok && v >= lo && v <= hi;
        if (!ok) {
            error = format("%s '%s' is not a whole number from %d to %d", what, w.c_str(), lo, hi);
            return false;
        }
        *out = int(v);
        return true;
    }
};

std::string parse_place(Words& w, size_t first, PanelEdit* e) {
    const size_t n = w.words.size();
    if (n < first + 2 || n > first + 4) return "";
    w.number(first, "x", -MAX_PANEL_SIDE, MAX_PANEL_SIDE, &e->x);
    w.number(first + 1, "y", -MAX_PANEL_SIDE, MAX_PANEL_SIDE, &e->y);
    if (n > first + 2) w.number(first + 2, "the width", 0, MAX_PANEL_SIDE, &e->width);
    if (n > first + 3) w.number(first + 3, "the height", 0, MAX_PANEL_SIDE, &e->height);
    if (w.error.empty() && e->width == 0 && e->height != 0)
        w.error = "a height needs a width (a width alone keeps the gauge's shape)";
    return w.error;
}

std::string parse_window(Words& w, const PanelConfig& panel, PanelEdit* e) {
    const std::vector<std::string>& words = w.words;
    e->key = lower_case(words[2]);
    const size_t values = words.size() - 3;
    const PanelWindow* window = find_window(panel, e->window);
    if (!window) {
        int next = 0;
        while (find_window(panel, next)) ++next;
        if (e->key != "title" || e->window != next)
            return format("there is no Window%02d; 'window %d title TEXT' adds the next window", e->window, next);
        e->new_window = true;
    }
    auto count = [&](size_t lo, size_t hi, const char* form) {
        if (values < lo || values > hi) w.error = "expected window " + words[1] + " " + e->key + " " + form;
        return w.error.empty();
    };
    auto numbers = [&](const char* what, int lo, int hi) {
        for (size_t i = 3; i < words.size(); ++i) {
            int v = 0;
            if (w.number(i, what, lo, hi, &v)) e->numbers.push_back(v);
        }
        return w.error;
    };
    if (e->key == "size_mm") return count(1, 2, "W [H]") ? numbers("a size", 0, MAX_PANEL_SIDE) : w.error;
    if (e->key == "position") return count(1, 1, "0-8") ? numbers("a position", 0, 8) : w.error;
    if (e->key == "visible") return count(1, 1, "0|1") ? numbers("visible", 0, 1) : w.error;
    if (e->key == "background_color") return count(3, 3, "R G B") ? numbers("a colour", 0, 255) : w.error;
    if (e->key == "ident") {
        if (!count(1, 1, "NAME")) return w.error;
        e->text = words[3];
        for (unsigned char c : e->text)
            if (!isalnum(c) && c != '_') return "an ident is letters, digits and '_': " + e->text;
        return e->text.size() > 64 ? "an ident is at most 64 characters" : "";
    }
    if (e->key == "file") {
        if (!count(1, 1, "NAME.bmp")) return w.error;
        e->text = words[3];
        if (!plain_file_name(e->text)) return "'" + e->text + "' is not a file beside panel.cfg (no folders)";
        return unsafe_text(e->text, "a file name", false);
    }
    if (e->key == "title") {
        if (!count(1, SIZE_MAX, "TEXT")) return w.error;
        for (size_t i = 3; i < words.size(); ++i) e->text += (i > 3 ? " " : "") + words[i];
        if (e->text.size() > 128) return "a title is at most 128 characters";
        return unsafe_text(e->text, "a title", false);
    }
    return "'" + words[2] +
           "' is not a window key that can be edited (size_mm, position, visible, ident, background_color, file, "
           "title)";
}

}  // namespace

const PanelWindow* find_window(const PanelConfig& panel, int number) {
    for (const PanelWindow& w : panel.windows)
        if (w.kind == PanelWindow::Kind::Window && w.index == number) return &w;
    return nullptr;
}

const PanelGauge* find_gauge(const PanelWindow& window, int number) {
    for (const PanelGauge& g : window.gauges)
        if (g.number == number) return &g;
    return nullptr;
}

std::string parse_panel_edit(const std::vector<std::string>& words, const PanelConfig& panel, PanelEdit* out) {
    if (words.empty()) return "expected an edit";
    PanelEdit e;
    Words w{words, ""};
    const std::string& verb = words[0];
    if (verb == "undo" || verb == "redo") {
        if (words.size() != 1) return verb + " takes no words after it";
        e.kind = verb == "undo" ? PanelEdit::Kind::Undo : PanelEdit::Kind::Redo;
        *out = e;
        return "";
    }
    static const char* const forms[][2] = {{"place", "place WINDOW ENTRY X Y [W [H]]"},
                                           {"add", "add WINDOW MODULE!GAUGE X Y [W [H]]"},
                                           {"remove", "remove WINDOW ENTRY"},
                                           {"window", "window WINDOW KEY VALUE"}};
    const char* form = nullptr;
    for (const auto& f : forms)
        if (verb == f[0]) form = f[1];
    if (!form) return "'" + verb + "' is not a panel edit (place, add, remove, window, undo, redo)";
    const std::string expected = std::string("expected ") + form;
    if (words.size() < 3) return expected;
    if (!w.number(1, "the window", 0, MAX_WINDOWS - 1, &e.window)) return w.error;
    if (verb == "window") {
        e.kind = PanelEdit::Kind::Window;
        if (words.size() < 4) return expected;
        const std::string why = parse_window(w, panel, &e);
        if (why.empty()) *out = e;
        return why;
    }
    const PanelWindow* window = find_window(panel, e.window);
    if (!window) return format("there is no Window%02d in this panel", e.window);
    if (verb == "add") {
        e.kind = PanelEdit::Kind::Add;
        e.gauge = words[2];
        const size_t bang = e.gauge.find('!');
        const std::string module = e.gauge.substr(0, bang);
        if (!plain_file_name(module)) return "'" + module + "' is not a module name (a file of the Gauges folder)";
        if (std::string why = unsafe_text(e.gauge, "MODULE!GAUGE", true); !why.empty()) return why;
        const std::string why = parse_place(w, 3, &e);
        if (!why.empty() || words.size() < 5) return why.empty() ? expected : why;
        *out = e;
        return "";
    }
    if (!w.number(2, "the entry", 0, 9999, &e.entry)) return w.error;
    if (!find_gauge(*window, e.entry)) {
        std::string has = window->gauges.empty() ? "no gauges"
                                                 : format("gauge%02d to gauge%02d", window->gauges.front().number,
                                                          window->gauges.back().number);
        return format("Window%02d has no gauge%02d that the simulator reads (it reads %s)", e.window, e.entry,
                      has.c_str());
    }
    if (verb == "remove") {
        e.kind = PanelEdit::Kind::Remove;
        if (words.size() != 3) return expected;
    } else {
        e.kind = PanelEdit::Kind::Place;
        const std::string why = parse_place(w, 3, &e);
        if (!why.empty() || words.size() < 5) return why.empty() ? expected : why;
    }
    *out = e;
    return "";
}

}  // namespace kestrel
