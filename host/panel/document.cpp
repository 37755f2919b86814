#include "host/panel/document.h"

#include <ctype.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>

#include "host/files.h"
#include "host/save_file.h"
#include "host/util.h"

namespace kestrel {

namespace {

using Lines = std::vector<PanelDocument::Line>;

// Files larger than this are not panels; the reader stops there too.
constexpr size_t MAX_PANEL_FILE = 16u << 20;
// Edits kept for undo.
constexpr size_t MAX_UNDO = 500;

// Only a plain file is read: opening a pipe would wait for a writer.
bool plain_file(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool blank(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }

// Where the parts of one line lie, cut as the reader cuts it: a comment from
// the first "//" or ';', then "[name]" or "key = value", blanks around each.
// What the line means is the reader's to say; this only finds the bytes.
struct Parts {
    enum Kind { Other, Header, Entry } kind = Other;
    std::string name;  // the section's name or the key, lower case, trimmed
    size_t key_begin = 0, key_end = 0, value_begin = 0, value_end = 0;
};

Parts parts(const std::string& s) {
    Parts p;
    size_t b = 0, e = std::min({s.find("//"), s.find(';'), s.size()});
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    if (b == e) return p;
    if (s[b] == '[') {
        if (s[e - 1] != ']' || e - b < 2) return p;
        size_t nb = b + 1, ne = e - 1;
        while (nb < ne && blank(s[nb])) ++nb;
        while (ne > nb && blank(s[ne - 1])) --ne;
        p.kind = Parts::Header;
        p.name = lower_case(s.substr(nb, ne - nb));
        p.key_begin = nb;
        p.key_end = ne;
        return p;
    }
    const size_t eq = s.find('=', b);
    if (eq == std::string::npos || eq >= e || eq == b) return p;
    p.kind = Parts::Entry;
    p.key_begin = b;
    p.key_end = eq;
    while (p.key_end > b && blank(s[p.key_end - 1])) --p.key_end;
    p.name = lower_case(s.substr(b, p.key_end - b));
    p.value_begin = eq + 1;
    while (p.value_begin < e && blank(s[p.value_begin])) ++p.value_begin;
    p.value_end = std::max(e, p.value_begin);
    return p;
}

// "window07" -> 7; -1 unless `s` is `prefix` and 1 to 4 digits, as the reader numbers.
int numbered(const std::string& s, const char* prefix) {
    const size_t n = strlen(prefix);
    if (s.size() <= n || s.size() > n + 4 || s.compare(0, n, prefix) != 0) return -1;
    if (s.find_first_not_of("0123456789", n) != std::string::npos) return -1;
    return atoi(s.c_str() + n);
}

// A section's lines: [begin, end) after its header at `header`.
struct Section {
    size_t header, begin, end;
};

// The sections named `name` ("window titles"), or `name` and `number` ([Window03]).
std::vector<Section> sections(const Lines& lines, const char* name, int number = -1) {
    std::vector<Section> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Parts p = parts(lines[i].text);
        if (p.kind != Parts::Header) continue;
        if (!out.empty() && out.back().end == lines.size()) out.back().end = i;
        if (number < 0 ? p.name == name : numbered(p.name, name) == number) out.push_back({i, i + 1, lines.size()});
    }
    return out;
}

// The entry lines of `sections` whose key passes `match`, in file order.
template <class Match>
std::vector<size_t> entries(const Lines& lines, const std::vector<Section>& sections, Match match) {
    std::vector<size_t> out;
    for (const Section& s : sections)
        for (size_t i = s.begin; i < s.end; ++i)
            if (const Parts p = parts(lines[i].text); p.kind == Parts::Entry && match(p.name)) out.push_back(i);
    return out;
}

// The blanks after the first comma of an entry's value, into *out; false
// when the value has no comma.
bool comma_blanks(const std::string& text, const Parts& p, std::string* out) {
    const size_t c = text.find(',', p.value_begin);
    if (c >= p.value_end) return false;
    size_t b = c + 1;
    while (b < p.value_end && blank(text[b])) ++b;
    *out = text.substr(c + 1, b - c - 1);
    return true;
}

// How the file writes what a new line needs, from its own lines.
struct Habits {
    std::string end = "\r\n";  // the ending of most of its lines (panels are Windows files)
    std::string gauge_key = "gauge", gauge_eq = "=", comma = " ";  // comma: the blanks after one
};

Habits habits(const Lines& lines) {
    Habits h;
    size_t crlf = 0, lf = 0;
    bool gauge_seen = false;
    for (const auto& line : lines) {
        crlf += line.end == "\r\n";
        lf += line.end == "\n";
        const Parts p = parts(line.text);
        if (gauge_seen || p.kind != Parts::Entry || numbered(p.name, "gauge") < 0) continue;
        gauge_seen = true;
        h.gauge_key = line.text.substr(p.key_begin, 5);
        h.gauge_eq = line.text.substr(p.key_end, p.value_begin - p.key_end);
        comma_blanks(line.text, p, &h.comma);
    }
    if (crlf + lf > 0) h.end = crlf >= lf ? "\r\n" : "\n";
    return h;
}

std::vector<std::string> fields(const std::string& value) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t comma; (comma = value.find(',', start)) != std::string::npos; start = comma + 1)
        out.push_back(value.substr(start, comma - start));
    out.push_back(value.substr(start));
    return out;
}

// `field` with its number replaced by `v`, the blanks around it kept.
std::string renumbered(const std::string& field, int v) {
    size_t b = 0, e = field.size();
    while (b < e && blank(field[b])) ++b;
    while (e > b && blank(field[e - 1])) --e;
    return field.substr(0, b) + std::to_string(v) + field.substr(e);
}

// A gauge line with its numbers (x, y[, w[, h]]) replaced: its key, its
// module!gauge text, its parameters and comment stay as written.
std::string with_numbers(const std::string& line, const std::vector<int>& numbers, std::string* error) {
    const Parts p = parts(line);
    const std::vector<std::string> f = fields(line.substr(p.value_begin, p.value_end - p.value_begin));
    if (f.size() > 5 && numbers.size() < 4) {
        *error = "this gauge line has parameters after its size, so its width and height must be given";
        return line;
    }
    // New numbers are spaced as this line spaces its last one.
    const std::string& last = f.back();
    const std::string comma =
        last.substr(0, size_t(std::find_if(last.begin(), last.end(), [](char c) { return !blank(c); }) - last.begin()));
    std::string value = f[0];
    for (size_t i = 0; i < numbers.size(); ++i)
        value += "," + (i + 1 < f.size() ? renumbered(f[i + 1], numbers[i]) : comma + std::to_string(numbers[i]));
    for (size_t i = 5; i < f.size(); ++i) value += "," + f[i];
    return line.substr(0, p.value_begin) + value + line.substr(p.value_end);
}

std::string joined(const std::vector<int>& numbers, const std::string& comma) {
    std::string out;
    for (size_t i = 0; i < numbers.size(); ++i) out += (i ? "," + comma : "") + std::to_string(numbers[i]);
    return out;
}

bool same(const PanelGauge& a, const PanelGauge& b) {
    return a.module == b.module && a.gauge == b.gauge && a.x == b.x && a.y == b.y && a.width == b.width &&
           a.height == b.height;
}

}  // namespace

bool PanelDocument::load(const std::string& path, std::string* error) {
    std::string bytes;
    if (!plain_file(path) || !read_whole_file(path, &bytes)) {
        *error = "cannot read " + path;
        return false;
    }
    if (bytes.size() > MAX_PANEL_FILE) {
        *error = path + " is too large to be a panel file";
        return false;
    }
    open(bytes, path);
    return true;
}

void PanelDocument::open(const std::string& bytes, const std::string& path) {
    path_ = path;
    on_disk_ = bytes;
    backup_.clear();
    undo_.clear();
    redo_.clear();
    lines_.clear();
    // Split where the reader splits, at '\n', so that line N here is its line N.
    const size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    bom_ = bytes.substr(0, skip);
    for (size_t start = skip;;) {
        const size_t nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            lines_.push_back({bytes.substr(start), ""});
            break;
        }
        Line line{bytes.substr(start, nl - start), "\n"};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end = "\r\n";
        }
        lines_.push_back(std::move(line));
        start = nl + 1;
    }
    reread();
}

std::string PanelDocument::text() const {
    std::string out = bom_;
    for (const Line& line : lines_) out += line.text + line.end;
    return out;
}

void PanelDocument::reread() { panel_ = parse_panel_config(text(), path_); }

std::string PanelDocument::apply(const std::vector<std::string>& words) {
    PanelEdit e;
    const std::string why = parse_panel_edit(words, panel_, &e);
    return why.empty() ? apply(e) : why;
}

std::string PanelDocument::apply(const PanelEdit& e) {
    if (e.kind == PanelEdit::Kind::Undo || e.kind == PanelEdit::Kind::Redo) {
        const bool undo = e.kind == PanelEdit::Kind::Undo;
        auto& from = undo ? undo_ : redo_;
        if (from.empty()) return undo ? "nothing to undo" : "nothing to redo";
        (undo ? redo_ : undo_).push_back(std::move(lines_));
        lines_ = std::move(from.back());
        from.pop_back();
        reread();
        return "";
    }
    Lines before = lines_;
    const PanelConfig before_panel = panel_;
    std::string why = edit(e);
    if (why.empty()) {
        reread();
        why = check(e, before_panel);
    }
    if (!why.empty()) {
        lines_ = std::move(before);
        panel_ = before_panel;
        return why;
    }
    undo_.push_back(std::move(before));
    if (undo_.size() > MAX_UNDO) undo_.erase(undo_.begin());
    redo_.clear();
    return "";
}

std::string PanelDocument::edit(const PanelEdit& e) {
    switch (e.kind) {
    case PanelEdit::Kind::Place: return place(e);
    case PanelEdit::Kind::Add: return add(e);
    case PanelEdit::Kind::Remove: return remove(e);
    case PanelEdit::Kind::Window: return window(e);
    default: return "not an edit of the file";
    }
}

// A new line before line `at`, with the file's line ending; at the end of a
// file whose last line has no ending, that line is given one instead.
void PanelDocument::insert(size_t at, const std::string& text) {
    const std::string end = habits(lines_).end;
    if (at >= lines_.size()) {
        at = lines_.size();
        if (lines_.back().text.empty() && lines_.back().end.empty()) --at;  // after the last line ending
    }
    if (at == lines_.size()) {
        lines_.back().end = end;
        lines_.push_back({text, ""});
    } else {
        lines_.insert(lines_.begin() + long(at), Line{text, end});
    }
}

std::string PanelDocument::place(const PanelEdit& e) {
    const PanelGauge* g = find_gauge(*find_window(panel_, e.window), e.entry);
    if (!g) return "no such gauge";
    std::vector<int> numbers{e.x, e.y};
    if (e.width) numbers.push_back(e.width);
    if (e.height) numbers.push_back(e.height);
    std::string error;
    Line& line = lines_[size_t(g->line - 1)];
    line.text = with_numbers(line.text, numbers, &error);
    return error;
}

std::string PanelDocument::add(const PanelEdit& e) {
    const std::vector<Section> s = sections(lines_, "window", e.window);
    if (s.empty()) return format("Window%02d has no section to add to", e.window);
    const auto gauge = [](const std::string& key) { return numbered(key, "gauge") >= 0; };
    const std::vector<size_t> gauges = entries(lines_, s, gauge);
    // The reader stops at the first missing number: the new entry takes it.
    int number = 0;
    while (std::any_of(gauges.begin(), gauges.end(),
                       [&](size_t i) { return numbered(parts(lines_[i].text).name, "gauge") == number; }))
        ++number;
    const std::vector<size_t> any = entries(lines_, {s.back()}, [](const std::string&) { return true; });
    const size_t at = !gauges.empty() ? gauges.back() + 1 : !any.empty() ? any.back() + 1 : s.back().begin;
    const Habits h = habits(lines_);
    std::vector<int> numbers{e.x, e.y};
    if (e.width) numbers.push_back(e.width);
    if (e.height) numbers.push_back(e.height);
    insert(at, h.gauge_key + format("%02d", number) + h.gauge_eq + e.gauge + "," + h.comma + joined(numbers, h.comma));
    return "";
}

std::string PanelDocument::remove(const PanelEdit& e) {
    const PanelGauge* g = find_gauge(*find_window(panel_, e.window), e.entry);
    if (!g) return "no such gauge";
    const size_t gone = size_t(g->line - 1);
    // Those after it move down one number, only the digits of their keys
    // changing, or the reader would stop at the gap and lose them.
    const auto after = [&](const std::string& key) { return numbered(key, "gauge") > e.entry; };
    for (size_t i : entries(lines_, sections(lines_, "window", e.window), after)) {
        if (i == gone) continue;
        const Parts p = parts(lines_[i].text);
        const size_t digits = p.key_end - p.key_begin - 5;
        lines_[i].text.replace(p.key_begin + 5, digits,
                               format("%0*d", int(digits), numbered(p.name, "gauge") - 1));
    }
    if (lines_[gone].end.empty() && gone > 0) lines_[gone - 1].end.clear();  // the file ended without one
    lines_.erase(lines_.begin() + long(gone));
    if (lines_.empty()) lines_.push_back({"", ""});
    return "";
}

std::string PanelDocument::window(const PanelEdit& e) {
    // A key written as the file writes it elsewhere ("Background_color").
    const auto spelled = [&](const std::string& key, std::string* eq, std::string* comma) {
        std::string out = key;
        for (const Line& line : lines_) {
            const Parts p = parts(line.text);
            if (p.kind != Parts::Entry || p.name != key) continue;
            out = line.text.substr(p.key_begin, p.key_end - p.key_begin);
            *eq = line.text.substr(p.key_end, p.value_begin - p.key_end);
            if (comma_blanks(line.text, p, comma)) break;
        }
        return out;
    };
    if (e.key == "title") {
        if (sections(lines_, "window titles").empty())
            return "this panel has no [Window Titles] section to name its windows in";
        if (e.new_window && sections(lines_, "window", e.window).empty()) {
            // The section goes after the last window section's last entry.
            std::string header = "Window";
            size_t at = lines_.size(), last = 0;
            for (int n = 0; n < MAX_WINDOWS; ++n)
                for (const Section& s : sections(lines_, "window", n)) {
                    header = lines_[s.header].text.substr(parts(lines_[s.header].text).key_begin, 6);
                    if (s.header + 1 < last) continue;
                    last = s.header + 1;
                    const std::vector<size_t> any = entries(lines_, {s}, [](const std::string&) { return true; });
                    at = any.empty() ? s.begin : any.back() + 1;
                }
            insert(at, format("[%s%02d]", header.c_str(), e.window));
            insert(at, "");
        }
        const std::vector<Section> titles = sections(lines_, "window titles");
        const auto mine = [&](const std::string& key) { return numbered(key, "window") == e.window; };
        if (const std::vector<size_t> at = entries(lines_, titles, mine); !at.empty()) {
            Line& line = lines_[at.back()];
            const Parts p = parts(line.text);
            line.text.replace(p.value_begin, p.value_end - p.value_begin, e.text);
            return "";
        }
        const auto titled = [](const std::string& key) { return numbered(key, "window") >= 0; };
        const std::vector<size_t> named = entries(lines_, titles, titled);
        std::string key = "Window", eq = "=";
        if (!named.empty()) {
            const Line& line = lines_[named.front()];
            const Parts p = parts(line.text);
            key = line.text.substr(p.key_begin, 6);
            eq = line.text.substr(p.key_end, p.value_begin - p.key_end);
        }
        const size_t at = named.empty() ? titles.back().begin : named.back() + 1;
        insert(at, key + format("%02d", e.window) + eq + e.text);
        return "";
    }
    const std::vector<Section> s = sections(lines_, "window", e.window);
    if (s.empty()) return format("Window%02d has no section", e.window);
    std::string eq = "=", comma;
    const std::string key = spelled(e.key, &eq, &comma);
    const auto mine = [&](const std::string& k) { return k == e.key; };
    const std::vector<size_t> at = entries(lines_, s, mine);
    if (!at.empty()) comma_blanks(lines_[at.back()].text, parts(lines_[at.back()].text), &comma);  // its own
    const std::string value = e.numbers.empty() ? e.text : joined(e.numbers, comma);
    if (!at.empty()) {
        Line& line = lines_[at.back()];
        const Parts p = parts(line.text);
        line.text.replace(p.value_begin, p.value_end - p.value_begin, value);
        return "";
    }
    // A new key goes with the window's other keys, before its gauges.
    size_t where = s.front().begin;
    for (size_t i = s.front().begin; i < s.front().end; ++i) {
        const Parts p = parts(lines_[i].text);
        if (p.kind != Parts::Entry) continue;
        if (numbered(p.name, "gauge") >= 0) break;
        where = i + 1;
    }
    insert(where, key + eq + value);
    return "";
}

// Whether the reader now sees what the edit meant; "" or what differs.
std::string PanelDocument::check(const PanelEdit& e, const PanelConfig& before) const {
    const PanelWindow* w = find_window(panel_, e.window);
    const PanelWindow* was = find_window(before, e.window);
    std::string wrong;
    if (!w) {
        wrong = format("Window%02d is gone", e.window);
    } else if (e.kind == PanelEdit::Kind::Place) {
        const PanelGauge* g = find_gauge(*w, e.entry);
        if (!g || g->x != e.x || g->y != e.y || g->width != e.width || g->height != e.height)
            wrong = format("gauge%02d is not at the place given", e.entry);
    } else if (e.kind == PanelEdit::Kind::Add) {
        const size_t bang = e.gauge.find('!');
        PanelGauge want;
        want.module = e.gauge.substr(0, bang);
        want.gauge = bang == std::string::npos ? "" : e.gauge.substr(bang + 1);
        want.x = e.x, want.y = e.y, want.width = e.width, want.height = e.height;
        if (w->gauges.size() != was->gauges.size() + 1 ||
            std::none_of(w->gauges.begin(), w->gauges.end(), [&](const PanelGauge& g) { return same(g, want); }))
            wrong = "the new gauge is not read";
    } else if (e.kind == PanelEdit::Kind::Remove) {
        std::vector<PanelGauge> want;
        for (PanelGauge g : was->gauges)
            if (g.number != e.entry) want.push_back(g);
        bool ok = want.size() == w->gauges.size();
        for (size_t i = 0; ok && i < want.size(); ++i) ok = same(want[i], w->gauges[i]);
        if (!ok) wrong = "the gauges after it are not read as before";
    } else if (e.key == "size_mm") {
        if (w->width != e.numbers[0] || w->height != (e.numbers.size() > 1 ? e.numbers[1] : 0)) wrong = "size_mm";
    } else if (e.key == "background_color") {
        if (w->background != ((uint32_t(e.numbers[0]) << 16) | (uint32_t(e.numbers[1]) << 8) | uint32_t(e.numbers[2])))
            wrong = "background_color";
    } else if (e.key == "visible") {
        if (w->visible != (e.numbers[0] != 0)) wrong = "visible";
    } else if (e.key == "file") {
        if (w->bitmap != e.text) wrong = "file";
    } else if (e.key == "title") {
        if (w->title != e.text) wrong = "title";
    }
    return wrong.empty() ? "" : "refused: the edited file would not read as intended (" + wrong + ")";
}

bool PanelDocument::changed_on_disk() const {
    std::string now;
    return !plain_file(path_) || !read_whole_file(path_, &now) || now != on_disk_;
}

std::string PanelDocument::window_value(int window, const std::string& key) const {
    const std::string k = lower_case(key);
    const std::vector<size_t> at =
        entries(lines_, sections(lines_, "window", window), [&](const std::string& name) { return name == k; });
    if (at.empty()) return "";
    const Parts p = parts(lines_[at.back()].text);
    return lines_[at.back()].text.substr(p.value_begin, p.value_end - p.value_begin);
}

std::string PanelDocument::save() {
    std::string now;
    if (!plain_file(path_) || !read_whole_file(path_, &now) || now != on_disk_)
        return path_ + " has changed on disk since it was read; not saved, nothing written (load it again)";
    if (backup_.empty()) {
        std::string error;
        if (!write_backup(path_, now, &backup_, &error)) return error + "; not saved";
    }
    const std::string bytes = text();
    std::string error;
    if (!replace_file(path_, bytes, &error)) return error;
    on_disk_ = bytes;
    return "";
}

}  // namespace kestrel
