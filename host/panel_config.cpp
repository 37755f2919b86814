#include "host/panel_config.h"

#include <ctype.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>

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

// Module names are file names in the gauges folder: no folders, no way out.
bool plain_name(const std::string& s) {
    if (s.empty() || s.size() > 64 || s[0] == '.') return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
}

struct Parser {
    PanelConfig& config;
    std::map<int, PanelWindow> windows;
    std::map<int, std::map<int, PanelGauge>> gauges;  // window -> gauge number -> place
    std::map<int, std::set<int>> numbers;             // window -> every gauge number given
    std::map<int, std::string> titles;
    std::map<int, int> window_lines;  // where each [WindowNN] first appeared
    enum class Section { None, Titles, Window, Other } section = Section::None;
    int window = -1;
    int line = 0;

    void problem(const std::string& message) { config.problems.push_back({line, message}); }

    void header(const std::string& name) {
        const std::string key = lower(trim(name));
        if (key == "window titles") {
            section = Section::Titles;
            return;
        }
        const int n = numbered(key, "window");
        if (n < 0) {
            section = Section::Other;  // views, colours, virtual cockpits: not drawn here
            return;
        }
        section = Section::Window;
        window = n;
        if (window_lines.count(n)) {
            problem(format("[Window%02d] appears again (first at line %d); its entries are added to it", n,
                           window_lines[n]));
        } else {
            window_lines[n] = line;
            windows[n].index = n;
        }
    }

    void gauge_entry(int number, const std::string& value) {
        const std::vector<std::string> f = split(value, ',');
        const size_t bang = f[0].find('!');
        PanelGauge g;
        g.line = line;
        g.module = bang == std::string::npos ? f[0] : trim(f[0].substr(0, bang));
        g.gauge = bang == std::string::npos ? "" : trim(f[0].substr(bang + 1));
        if (!plain_name(g.module)) {
            problem("'" + g.module + "' is not a module name (expected module!gauge, x, y[, w[, h]])");
            return;
        }
        if (f.size() < 3 || f.size() > 6) {
            problem("expected module!gauge, x, y[, w[, h]]");
            return;
        }
        if (!integer(f[1], -MAX_PANEL_SIDE, MAX_PANEL_SIDE, &g.x) ||
            !integer(f[2], -MAX_PANEL_SIDE, MAX_PANEL_SIDE, &g.y)) {
            problem("the position '" + f[1] + ", " + f[2] + "' is not two whole numbers");
            return;
        }
        if ((f.size() > 3 && !integer(f[3], 1, MAX_PANEL_SIDE, &g.width)) ||
            (f.size() > 4 && !integer(f[4], 1, MAX_PANEL_SIDE, &g.height))) {
            problem(format("the size must be whole numbers from 1 to %d", MAX_PANEL_SIDE));
            return;
        }
        // A sixth field is the gauge's parameter string, which these gauges do not read.
        auto& placed = gauges[window];
        if (placed.count(number)) {
            problem(format("gauge%02d is given twice (first at line %d); this one is skipped", number,
                           placed[number].line));
            return;
        }
        placed[number] = g;
    }

    void entry(const std::string& raw_key, const std::string& value) {
        const std::string key = lower(raw_key);
        if (section == Section::Titles) {
            const int n = numbered(key, "window");
            if (n >= 0) titles[n] = value;
            return;
        }
        if (section == Section::Other) return;
        if (section == Section::None) {
            problem("'" + raw_key + "' comes before any [section]");
            return;
        }
        PanelWindow& w = windows[window];
        if (key == "size_mm") {
            const std::vector<std::string> f = split(value, ',');
            if (f.size() != 2 || !integer(f[0], 1, MAX_PANEL_SIDE, &w.width) ||
                !integer(f[1], 1, MAX_PANEL_SIDE, &w.height)) {
                w.width = w.height = 0;
                problem(format("size_mm must be two whole numbers from 1 to %d", MAX_PANEL_SIDE));
            }
        } else if (key == "background_color") {
            const std::vector<std::string> f = split(value, ',');
            int r, g, b;
            if (f.size() != 3 || !integer(f[0], 0, 255, &r) || !integer(f[1], 0, 255, &g) ||
                !integer(f[2], 0, 255, &b)) {
                problem("background_color must be three numbers from 0 to 255");
                return;
            }
            w.background = (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
        } else if (const int n = numbered(key, "gauge"); n >= 0) {
            numbers[window].insert(n);
            gauge_entry(n, value);
        } else if (key.compare(0, 5, "gauge") == 0) {
            problem("'" + raw_key + "' is not a gauge entry (gauge00 to gauge9999)");
        }
        // Other keys of the simulator's windows (position, visible, ident,
        // window_size, file ...) place the window on the screen; they do not
        // change what is drawn inside it.
    }

    void parse(const std::string& text) {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string s = text.substr(start, end - start);
            start = end + 1;
            ++line;
            size_t cut = std::min(s.find("//"), s.find(';'));
            if (cut != std::string::npos) s.resize(cut);
            s = trim(s);
            if (s.empty()) {
                if (end == text.size()) break;
                continue;
            }
            if (s[0] == '[') {
                if (s.back() != ']') problem("a section name must end with ']'");
                else header(s.substr(1, s.size() - 2));
            } else if (const size_t eq = s.find('='); eq != std::string::npos && eq > 0) {
                entry(trim(s.substr(0, eq)), trim(s.substr(eq + 1)));
            } else {
                problem("expected [section] or key=value");
            }
            if (end == text.size()) break;
        }
        for (auto& [n, w] : windows) {
            w.title = titles.count(n) ? titles[n] : format("Window %02d", n);
            // The simulator reads gauge00, gauge01, ... and stops at the first
            // missing number: what follows a gap never reaches the panel.
            int gap = 0;
            while (numbers[n].count(gap)) ++gap;
            for (auto& [number, g] : gauges[n]) {
                if (number > gap) {
                    config.problems.push_back(
                        {g.line, format("gauge%02d comes after a gap (there is no gauge%02d); the "
                                        "simulator stops reading at the gap, so this gauge is skipped",
                                        number, gap)});
                    continue;
                }
                w.gauges.push_back(g);
            }
            config.windows.push_back(w);
        }
        if (config.windows.empty()) config.problems.push_back({0, "no [WindowNN] section"});
    }
};

}  // namespace

std::vector<std::string> PanelConfig::messages() const {
    std::vector<std::string> out;
    for (const PanelProblem& p : problems)
        out.push_back(p.line > 0 ? format("%s:%d: %s", path.c_str(), p.line, p.message.c_str())
                                 : path + ": " + p.message);
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

PanelConfig read_panel_config(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        PanelConfig c;
        c.path = path;
        c.problems.push_back({0, std::string("cannot read: ") + strerror(errno)});
        return c;
    }
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() < (16u << 20)) text.append(chunk, n);
    fclose(f);
    return parse_panel_config(text, path);
}

}  // namespace kestrel
