#include "host/panel/panel_config.h"

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <map>
#include <set>

#include "host/files.h"
#include "host/util.h"

namespace kestrel {

namespace {

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// "window07" -> 7; -1 if `s` is not `prefix` followed by 1 to 4 digits.
int numbered(const std::string& s, const char* prefix) {
    const size_t n = strlen(prefix);
    if (s.size() <= n || s.size() > n + 4 || s.compare(0, n, prefix) != 0) return -1;
    int v = 0;
    for (size_t i = n; i < s.size(); ++i) {
        if (!isdigit(static_cast<unsigned char>(s[i]))) return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t at = s.find(sep, start);
        out.push_back(trim(s.substr(start, at == std::string::npos ? std::string::npos : at - start)));
        if (at == std::string::npos) return out;
        start = at + 1;
    }
}

bool integer(const std::string& word, int lo, int hi, int* out) {
    int64_t v;
    if (!parse_int(word, &v) || v < lo || v > hi) return false;
    *out = static_cast<int>(v);
    return true;
}

// "r, g, b" with each from 0 to 255.
bool rgb(const std::string& value, uint32_t* out) {
    const std::vector<std::string> f = split(value, ',');
    int r, g, b;
    if (f.size() != 3 || !integer(f[0], 0, 255, &r) || !integer(f[1], 0, 255, &g) || !integer(f[2], 0, 255, &b))
        return false;
    *out = (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
    return true;
}

// "w" or "w, h", each from 0 (not given) to the largest side.
bool size_pair(const std::string& value, int* w, int* h) {
    const std::vector<std::string> f = split(value, ',');
    int a = 0, b = 0;
    if (f.empty() || f.size() > 2 || !integer(f[0], 0, MAX_PANEL_SIDE, &a) ||
        (f.size() == 2 && !integer(f[1], 0, MAX_PANEL_SIDE, &b)))
        return false;
    *w = a;
    *h = b;
    return true;
}

// A kind of line or section passed over, told once with the first place.
struct PassedOver {
    int line = 0;
    int count = 0;
    std::string first;
};

struct Parser {
    PanelConfig& config;
    using Key = std::pair<PanelWindow::Kind, int>;
    std::map<Key, PanelWindow> windows;
    std::map<Key, std::map<int, PanelGauge>> gauges;  // window -> gauge number -> place
    std::map<Key, std::set<int>> numbers;             // window -> every gauge number given
    std::map<int, std::string> titles;
    std::map<int, int> title_lines;
    enum class Section { None, Titles, Window, Colors, Other } section = Section::None;
    Key window{};
    int line = 0;
    PassedOver web_gauges, paintings, views;

    void problem(const std::string& message, Severity severity = Severity::Error) {
        config.problems.push_back({line, message, severity});
    }

    static void passed(PassedOver& p, int line, const std::string& what) {
        if (p.count++ == 0) {
            p.line = line;
            p.first = what;
        }
    }

    void header(const std::string& raw) {
        const std::string name = trim(raw);
        const std::string key = lower(name);
        section = Section::Other;  // views, default view, fonts ...: nothing to draw
        if (key == "window titles") {
            section = Section::Titles;
            return;
        }
        if (key == "color") {
            section = Section::Colors;
            return;
        }
        if (key == "views") {
            passed(views, line, "[" + name + "]");
            return;
        }
        if (numbered(key, "vpainting") >= 0) {
            passed(paintings, line, "[" + name + "]");
            return;
        }
        int n = numbered(key, "window");
        PanelWindow::Kind kind = PanelWindow::Kind::Window;
        if (n < 0) {
            n = numbered(key, "vcockpit");
            kind = PanelWindow::Kind::VirtualCockpit;
        }
        if (n < 0) {
            for (const char* prefix : {"window", "vcockpit"}) {
                const size_t k = strlen(prefix);
                if (key.size() > k && key.compare(0, k, prefix) == 0 &&
                    key.find_first_not_of("0123456789", k) == std::string::npos)
                    problem("[" + name + "] is not a window that can be numbered; its lines are skipped");
            }
            return;
        }
        section = Section::Window;
        window = {kind, n};
        auto [it, added] = windows.try_emplace(window);
        if (added) {
            it->second.kind = kind;
            it->second.index = n;
            it->second.line = line;
        } else {
            problem(format("[%s] appears again (first at line %d); its entries are added to it", name.c_str(),
                           it->second.line),
                    Severity::Warning);
        }
    }

    void gauge_entry(int number, const std::string& value) {
        const std::vector<std::string> f = split(value, ',');
        const size_t bang = f[0].find('!');
        PanelGauge g;
        g.line = line;
        g.number = number;
        g.module = bang == std::string::npos ? f[0] : trim(f[0].substr(0, bang));
        g.gauge = bang == std::string::npos ? "" : trim(f[0].substr(bang + 1));
        if (!plain_file_name(g.module)) {
            problem("'" + g.module +
                    "' is not a module name: a module is a file of the Gauges folder, named without folders "
                    "(expected module!gauge, x, y[, w[, h]])");
            return;
        }
        if (f.size() < 3) {
            problem("expected module!gauge, x, y[, w[, h]]");
            return;
        }
        if (!integer(f[1], -MAX_PANEL_SIDE, MAX_PANEL_SIDE, &g.x) ||
            !integer(f[2], -MAX_PANEL_SIDE, MAX_PANEL_SIDE, &g.y)) {
            problem(format("the position '%s, %s' is not two whole numbers from %d to %d", f[1].c_str(), f[2].c_str(),
                           -MAX_PANEL_SIDE, MAX_PANEL_SIDE));
            return;
        }
        if ((f.size() > 3 && !integer(f[3], 1, MAX_PANEL_SIDE, &g.width)) ||
            (f.size() > 4 && !integer(f[4], 1, MAX_PANEL_SIDE, &g.height))) {
            problem(format("the size must be whole numbers from 1 to %d", MAX_PANEL_SIDE));
            return;
        }
        // What follows the height is the gauge's parameter string, which
        // these gauges do not read.
        auto& placed = gauges[window];
        if (placed.count(number)) {
            problem(format("gauge%02d is given twice (first at line %d); this one is skipped", number,
                           placed[number].line));
            return;
        }
        placed[number] = g;
    }

    void window_entry(const std::string& raw_key, const std::string& key, const std::string& value) {
        PanelWindow& w = windows[window];
        if (key == "size_mm" || key == "pixel_size") {
            int a, b;
            if (!size_pair(value, &a, &b)) {
                problem(format("%s must be one or two whole numbers from 0 to %d", key.c_str(), MAX_PANEL_SIDE));
            } else if (key == "size_mm") {
                w.width = a;
                w.height = b;
            } else {
                w.pixel_width = a;
                w.pixel_height = b;
            }
        } else if (key == "background_color") {
            if (!rgb(value, &w.background)) problem("background_color must be three numbers from 0 to 255");
        } else if (key == "visible") {
            int v;
            if (!integer(value, INT32_MIN, INT32_MAX, &v)) problem("visible must be 0 or 1");
            else w.visible = v != 0;
        } else if (key == "ident") {
            w.ident = value;
        } else if (key == "window_pos" || key == "window_size") {
            const std::vector<std::string> f = split(value, ',');
            double a, b;
            if (f.size() == 2 && parse_double(f[0], &a) && parse_double(f[1], &b) && a >= 0 && a <= 1 && b >= 0 &&
                b <= 1) {
                (key == "window_pos" ? w.screen_x : w.screen_width) = a;
                (key == "window_pos" ? w.screen_y : w.screen_height) = b;
            }
        } else if (key == "file" || (key == "file_1024" && (w.bitmap.empty() || w.bitmap_line < 0))) {
            // file= is the bitmap; file_1024= stands in when it is the only one
            // (a negative line marks a bitmap taken from file_1024=).
            if (value.empty()) {
                problem(key + "= names no file");
                return;
            }
            w.bitmap = value;
            w.bitmap_line = key == "file" ? line : -line;
        } else if (const int n = numbered(key, "gauge"); n >= 0) {
            numbers[window].insert(n);
            gauge_entry(n, value);
        } else if (numbered(key, "htmlgauge") >= 0) {
            passed(web_gauges, line, raw_key);
        } else if (key.compare(0, 5, "gauge") == 0) {
            problem("'" + raw_key + "' is not a gauge entry (gauge00 to gauge9999)");
        }
        // Other keys of the simulator's windows (position, zorder, texture
        // ...) place the window on the screen or in the 3D
        // cockpit; they do not change what is drawn inside it.
    }

    void entry(const std::string& raw_key, const std::string& value) {
        const std::string key = lower(raw_key);
        switch (section) {
        case Section::None:
            problem("'" + raw_key + "' comes before any [section]");
            return;
        case Section::Titles:
            if (const int n = numbered(key, "window"); n >= 0) {
                titles[n] = value;
                title_lines[n] = line;
            }
            return;
        case Section::Colors: {
            uint32_t* slot = key == "day"        ? &config.colors.day
                             : key == "night"    ? &config.colors.night
                             : key == "luminous" ? &config.colors.luminous
                                                 : nullptr;
            if (!slot) return;
            if (!rgb(value, slot)) {
                problem(raw_key + " must be three numbers from 0 to 255");
                return;
            }
            if (!config.colors.given) config.colors.line = line;
            config.colors.given = true;
            return;
        }
        case Section::Window:
            window_entry(raw_key, key, value);
            return;
        case Section::Other:
            return;
        }
    }

    void parse(const std::string& text) {
        size_t start = 0;
        // A byte-order mark, as some editors write, is not part of the first line.
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string s = text.substr(start, end - start);
            start = end + 1;
            ++line;
            size_t cut = std::min(s.find("//"), s.find(';'));
            if (cut != std::string::npos) s.resize(cut);
            s = trim(s);
            if (!s.empty()) {
                if (s[0] == '[') {
                    if (s.back() != ']') problem("a section name must end with ']'");
                    else header(s.substr(1, s.size() - 2));
                } else if (const size_t eq = s.find('='); eq != std::string::npos && eq > 0) {
                    entry(trim(s.substr(0, eq)), trim(s.substr(eq + 1)));
                } else {
                    problem("expected [section] or key=value");
                }
            }
            if (end == text.size()) break;
        }
        finish();
    }

    // Which windows the simulator creates: Window00 on, up to the first
    // missing number, named by [Window Titles] when it has any entries
    // (else by the [WindowNN] sections themselves).
    std::set<int> created_windows() {
        std::set<int> named;
        if (!titles.empty()) {
            for (const auto& [n, title] : titles) named.insert(n);
        } else {
            for (const auto& [key, w] : windows)
                if (key.first == PanelWindow::Kind::Window) named.insert(key.second);
        }
        std::set<int> created;
        for (int n = 0; n < MAX_WINDOWS && named.count(n); ++n) created.insert(n);
        auto why = [&](int n) {
            if (!named.count(n))
                return format("Window%02d has no title in [Window Titles], so the simulator does not create it", n);
            if (n >= MAX_WINDOWS) return format("the simulator creates Window00 to Window%02d only", MAX_WINDOWS - 1);
            int gap = 0;
            while (named.count(gap)) ++gap;
            return format("Window%02d comes after a gap (there is no Window%02d); the simulator stops creating "
                          "windows at the gap",
                          n, gap);
        };
        for (const auto& [key, w] : windows)
            if (key.first == PanelWindow::Kind::Window && !created.count(key.second))
                config.problems.push_back({w.line, why(key.second) + ", so its gauges are skipped"});
        for (const auto& [n, title] : titles) {
            if (!created.count(n) && !windows.count({PanelWindow::Kind::Window, n}))
                config.problems.push_back({title_lines[n], why(n)});
            else if (created.count(n) && !windows.count({PanelWindow::Kind::Window, n}))
                config.problems.push_back(
                    {title_lines[n], format("Window%02d has no [Window%02d] section: it is empty", n, n),
                     Severity::Warning});
        }
        return created;
    }

    void note(const PassedOver& p, const std::string& what) {
        if (p.count == 0) return;
        std::string m = p.first + ": " + what + "; passed over";
        if (p.count > 1) m += format(" (%d such)", p.count);
        config.problems.push_back({p.line, m, Severity::Note});
    }

    void finish() {
        const std::set<int> created = created_windows();
        for (auto& [key, w] : windows) {
            const bool cockpit = key.first == PanelWindow::Kind::VirtualCockpit;
            if (!cockpit && !created.count(key.second)) continue;
            if (!cockpit && titles.count(key.second)) w.title = titles[key.second];
            if (w.title.empty()) w.title = format(cockpit ? "Vcockpit %02d" : "Window %02d", key.second);
            if (w.bitmap_line < 0) w.bitmap_line = -w.bitmap_line;
            // The simulator reads gauge00, gauge01, ... and stops at the first
            // missing number: what follows a gap never reaches the panel.
            int gap = 0;
            while (numbers[key].count(gap)) ++gap;
            for (auto& [number, g] : gauges[key]) {
                if (number > gap) {
                    config.problems.push_back(
                        {g.line, format("gauge%02d comes after a gap (there is no gauge%02d); the simulator stops "
                                        "reading at the gap, so this gauge is skipped",
                                        number, gap)});
                    continue;
                }
                w.gauges.push_back(g);
            }
            config.windows.push_back(std::move(w));
        }
        note(web_gauges, "web gauges of newer simulators are not drawn here");
        note(paintings, "painted textures of newer simulators are not drawn here");
        note(views, "the simulator's views (the outside seen through the panel) do not change the panel's pictures");
        std::stable_sort(config.problems.begin(), config.problems.end(),
                         [](const PanelProblem& a, const PanelProblem& b) { return a.line < b.line; });
        if (config.windows.empty()) config.problems.push_back({0, "no window to draw (no [WindowNN] section)"});
    }
};

}  // namespace

bool plain_file_name(const std::string& s) {
    if (s.empty() || s.size() > 128 || s[0] == '.') return false;
    return std::none_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || strchr("/\\:*?\"<>|", c) != nullptr;
    });
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string find_file(const std::string& folder, const std::string& name) {
    if (!plain_file_name(name)) return "";
    const std::string exact = folder + "/" + name;
    if (exists(exact)) return exact;
#if !defined(_WIN32)
    // Panels are written for Windows, where "Panel.BMP" is "panel.bmp".
    if (DIR* d = opendir(folder.c_str())) {
        std::string found;
        while (const dirent* e = readdir(d))
            if (strcasecmp(e->d_name, name.c_str()) == 0) {
                found = folder + "/" + e->d_name;
                break;
            }
        closedir(d);
        return found;
    }
#endif
    return "";
}

void match_module_names(PanelConfig* config, const std::string& gauge_dir) {
    for (PanelWindow& w : config->windows)
        for (PanelGauge& g : w.gauges) {
            const std::string name = g.module + ".gau";
            const std::string path = find_file(gauge_dir, name);
            if (path.empty()) continue;
            const std::string found = path.substr(path.find_last_of('/') + 1);
            if (found != name && found.size() > 4) g.module = found.substr(0, found.size() - 4);
        }
}

std::string safe_file_name(const std::string& title) {
    std::string out;
    for (unsigned char c : title) {
        if (isalnum(c) || c == '-' || c == '_') out += static_cast<char>(c);
        else if (!out.empty() && out.back() != '_') out += '_';
        if (out.size() >= 60) break;
    }
    while (!out.empty() && out.back() == '_') out.pop_back();
    return out.empty() ? "window" : out;
}

std::vector<std::string> PanelConfig::messages() const {
    std::vector<std::string> out;
    for (const PanelProblem& p : problems) {
        const std::string message = (p.severity == Severity::Note      ? "note: "
                                     : p.severity == Severity::Warning ? "warning: "
                                                                       : "") +
                                    p.message;
        out.push_back(p.line > 0 ? format("%s:%d: %s", path.c_str(), p.line, message.c_str())
                                 : path + ": " + message);
    }
    return out;
}

std::vector<std::string> PanelConfig::modules() const {
    std::vector<std::string> out;
    for (const PanelWindow& w : windows)
        for (const PanelGauge& g : w.gauges)
            if (std::find(out.begin(), out.end(), g.module) == out.end()) out.push_back(g.module);
    return out;
}

PanelConfig parse_panel_config(const std::string& text, const std::string& path) {
    PanelConfig config;
    config.path = path;
    Parser{config}.parse(text);
    return config;
}

bool is_panel_file(const std::string& path) {
    return path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".cfg") == 0;
}

PanelConfig read_panel_config(const std::string& path) {
    PanelConfig config;
    config.path = path;
    // Looked at before opening: opening a pipe would wait for a writer.
    const FileKind kind = file_kind(path);
    if (kind != FileKind::File) {
        config.problems.push_back({0, std::string("cannot read: ") + (kind == FileKind::Missing ? strerror(errno) : "not a file")});
        return config;
    }
    FILE* f = open_file(path, "rb");
    if (!f) {
        config.problems.push_back({0, std::string("cannot read: ") + strerror(errno)});
        return config;
    }
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() < (16u << 20)) text.append(chunk, n);
    fclose(f);
    config = parse_panel_config(text, path);
    read_backgrounds(&config, folder_of(path));
    return config;
}

void read_backgrounds(PanelConfig* config, const std::string& folder) {
    std::map<std::string, std::shared_ptr<const Pixels>> read;  // each file once
    for (PanelWindow& w : config->windows) {
        if (w.bitmap.empty()) continue;
        auto fault = [&](const std::string& why) {
            config->problems.push_back({w.bitmap_line,
                                        "background bitmap " + w.bitmap + " not drawn: " + why +
                                            "; the window is drawn without it",
                                        Severity::Warning});
        };
        if (!plain_file_name(w.bitmap)) {
            fault("only a file beside panel.cfg is read, named without folders");
            continue;
        }
        const std::string path = find_file(folder, w.bitmap);
        if (path.empty()) {
            fault("there is no such file in " + folder);
            continue;
        }
        auto& pixels = read[path];
        if (!pixels) {
            auto p = std::make_shared<Pixels>();
            const std::string why = read_bmp(path, p.get());
            if (!why.empty()) {
                fault(path + ": " + why);
                continue;
            }
            pixels = std::move(p);
        }
        w.picture = pixels;
        // One number in size_mm: the height keeps the bitmap's shape; none:
        // the bitmap's own size.
        if (w.width > 0 && w.height == 0)
            w.height = static_cast<int>(std::clamp<double>(
                lround(double(w.width) * pixels->height / pixels->width), 1.0, MAX_PANEL_SIDE));
        if (w.width == 0 && w.height == 0) {
            w.width = std::min(pixels->width, MAX_PANEL_SIDE);
            w.height = std::min(pixels->height, MAX_PANEL_SIDE);
        }
    }
}

const PanelWindow* find_window(const PanelConfig& config, const std::string& name) {
    for (const PanelWindow& w : config.windows)
        if (lower(w.title) == lower(name) || (!w.ident.empty() && lower(w.ident) == lower(name))) return &w;
    return nullptr;
}

const PanelWindow* main_window(const PanelConfig& config) {
    const PanelWindow* first = nullptr;
    for (const PanelWindow& w : config.windows) {
        if (w.kind != PanelWindow::Kind::Window) continue;
        if (w.visible) return &w;
        if (!first) first = &w;
    }
    return first;
}

}  // namespace kestrel
