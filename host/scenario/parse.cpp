#include "host/scenario/parse.h"

#include <math.h>
#include <stdint.h>

#include "host/util.h"

namespace kestrel {

uint64_t Duration::frames(uint32_t frame_rate) const {
    return seconds ? static_cast<uint64_t>(llround(amount * frame_rate)) : static_cast<uint64_t>(amount);
}

namespace {

const char DURATION_LIMITS[] = " (0 to 100000000 frames, or 0s to 10000000s)";

// "12" is 12 frames, "2s" or "2.5s" seconds.
bool parse_duration(const std::string& word, Duration* out) {
    if (!word.empty() && word.back() == 's') {
        double seconds;
        if (!parse_double(word.substr(0, word.size() - 1), &seconds) || !(seconds >= 0) || seconds > MAX_SECONDS)
            return false;
        *out = {true, seconds};
        return true;
    }
    int64_t n;
    if (!parse_int(word, &n) || n < 0 || static_cast<uint64_t>(n) > MAX_FRAMES) return false;
    *out = {false, static_cast<double>(n)};
    return true;
}

bool parse_point(const std::string& a, const std::string& b, int32_t* x, int32_t* y) {
    int64_t u, v;
    if (!parse_int(a, &u) || !parse_int(b, &v) || u < INT32_MIN || u > INT32_MAX || v < INT32_MIN || v > INT32_MAX)
        return false;
    *x = static_cast<int32_t>(u);
    *y = static_cast<int32_t>(v);
    return true;
}

bool on_off(const std::string& word, bool* on) {
    if (word != "on" && word != "off") return false;
    *on = word == "on";
    return true;
}

// Where the line's word number `n` starts (words as split_words finds them).
size_t word_start(const std::string& line, size_t n) {
    size_t i = 0;
    for (size_t k = 0;; ++k) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (k == n || i >= line.size()) return i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    }
}

class Parser {
public:
    Parser(const std::string& line, Command* c, std::string* error) : line_(line), c_(*c), w_(c->words), error_(*error) {}

    bool fail(const std::string& why) {
        error_ = why;
        return false;
    }
    bool need(size_t n, const char* usage) { return w_.size() == n || fail(std::string("usage: ") + usage); }
    bool point(size_t at, int32_t* x, int32_t* y) {
        return parse_point(w_[at], w_[at + 1], x, y) ||
               fail("not a point: " + w_[at] + " " + w_[at + 1] + " (whole numbers of 32 bits)");
    }
    bool duration(const std::string& word) {
        return parse_duration(word, &c_.duration) || fail("not a duration: " + word + DURATION_LIMITS);
    }
    bool number(const std::string& word, double* v) { return parse_double(word, v) || fail("not a number: " + word); }

    bool command();
    bool replay();
    bool expect();
    bool expect_text();

private:
    const std::string& line_;
    Command& c_;
    const std::vector<std::string>& w_;
    std::string& error_;
};

bool Parser::command() {
    const std::string& cmd = w_[0];
    if (cmd == "load") {
        if (w_.size() < 2) return fail("usage: load MODULE...");
        c_.kind = Command::Load;
        c_.names.assign(w_.begin() + 1, w_.end());
    } else if (cmd == "unload") {
        if (!need(2, "unload MODULE")) return false;
        c_.kind = Command::Unload;
        c_.names = {w_[1]};
    } else if (cmd == "set" && w_.size() == 4 && w_[2] == "bcd") {
        if (!parse_uint32(w_[1], &c_.id) || !parse_uint32(w_[3], &c_.bcd)) return fail("usage: set ID bcd VALUE");
        c_.kind = Command::SetBcd;
    } else if (cmd == "set" || cmd == "ramp") {
        if (w_.size() != 3 || !parse_uint32(w_[1], &c_.id) || !parse_double(w_[2], &c_.value))
            return fail("usage: " + cmd + " ID VALUE");
        c_.kind = cmd == "set" ? Command::Set : Command::Ramp;
    } else if (cmd == "shared") {
        int64_t v;
        if (!need(3, "shared NAME VALUE")) return false;
        if (!parse_int(w_[2], &v)) return fail("usage: shared NAME VALUE (not a whole number: " + w_[2] + ")");
        if (v < INT32_MIN || v > 0xFFFFFFFFll)
            return fail("not a 32-bit value: " + w_[2] + " (-2147483648 to 4294967295)");
        c_.kind = Command::Shared;
        c_.names = {w_[1]};
        c_.shared = static_cast<int32_t>(static_cast<uint32_t>(v));
    } else if (cmd == "frames" || cmd == "seconds") {
        if (!need(2, "frames N | seconds S") || !duration(cmd == "seconds" ? w_[1] + "s" : w_[1])) return false;
        c_.kind = Command::Frames;
    } else if (cmd == "fps") {
        int64_t fps;
        if (!need(2, "fps N (1 to 1000)") || !parse_int(w_[1], &fps) || fps < 1 || fps > MAX_FPS)
            return fail("usage: fps N (1 to 1000)");
        c_.kind = Command::Fps;
        c_.fps = static_cast<uint32_t>(fps);
    } else if (cmd == "click") {
        if (!need(4, "click GAUGE X Y") || !point(2, &c_.x0, &c_.y0)) return false;
        c_.kind = Command::Click;
        c_.names = {w_[1]};
    } else if (cmd == "hold" || cmd == "drag") {
        const bool drag = cmd == "drag";
        if (!need(drag ? 7 : 5, drag ? "drag GAUGE X0 Y0 X1 Y1 FRAMES|Ns" : "hold GAUGE X Y FRAMES|Ns") ||
            !point(2, &c_.x0, &c_.y0) || (drag && !point(4, &c_.x1, &c_.y1)) || !duration(w_.back()))
            return false;
        c_.kind = drag ? Command::Drag : Command::Hold;
        c_.names = {w_[1]};
    } else if (cmd == "press") {
        if (!need(4, "press GAUGE X Y") || !point(2, &c_.x0, &c_.y0)) return false;
        c_.kind = Command::Press;
        c_.names = {w_[1]};
    } else if (cmd == "move") {
        if (!need(3, "move X Y") || !point(1, &c_.x0, &c_.y0)) return false;
        c_.kind = Command::Move;
    } else if (cmd == "release") {
        if (!need(1, "release")) return false;
        c_.kind = Command::Release;
    } else if (cmd == "service") {
        if (!need(3, "service GAUGE ID") || !parse_uint32(w_[2], &c_.id)) return fail("usage: service GAUGE ID");
        c_.kind = Command::Service;
        c_.names = {w_[1]};
    } else if (cmd == "show") {
        if (w_.size() > 2) return fail("usage: show [GAUGE]");
        c_.kind = Command::Show;
        c_.names.assign(w_.begin() + 1, w_.end());
    } else if (cmd == "model") {
        if (!need(3, "model NAME|all on|off") || !on_off(w_[2], &c_.on)) return fail("usage: model NAME|all on|off");
        c_.kind = Command::Model;
        c_.names = {w_[1]};
    } else if (cmd == "sound-library" || cmd == "library-calls") {
        if (!need(2, (cmd + " on|off").c_str()) || !on_off(w_[1], &c_.on)) return fail("usage: " + cmd + " on|off");
        c_.kind = cmd == "sound-library" ? Command::SoundLibrary : Command::LibraryCalls;
    } else if (cmd == "replay") {
        if (!replay()) return false;
        c_.kind = Command::Replay;
    } else if (cmd == "expect") {
        if (!expect()) return false;
        c_.kind = Command::Expect;
    } else {
        return fail("unknown command '" + cmd + "'");
    }
    return true;
}

// replay FILE [from T] [speed X]      replay stop
bool Parser::replay() {
    const char usage[] = "usage: replay FILE.csv [from SECONDS] [speed X] | replay stop";
    if (w_.size() == 2 && w_[1] == "stop") return true;
    if (w_.size() < 2 || w_.size() % 2 != 0) return fail(usage);
    c_.names = {w_[1]};
    bool speed = false;
    for (size_t i = 2; i < w_.size(); i += 2) {
        double v;
        if (w_[i] == "from" && !c_.has_from) {
            if (!parse_double(w_[i + 1], &v) || !(fabs(v) <= 1e9))
                return fail("not a time in seconds: " + w_[i + 1] + " (at most 1e9 either way)");
            c_.has_from = true;
            c_.value = v;
        } else if (w_[i] == "speed" && !speed) {
            if (!parse_double(w_[i + 1], &v) || !(v > 0) || v > MAX_REPLAY_SPEED)
                return fail("not a speed: " + w_[i + 1] + " (above 0, at most 1000)");
            speed = true;
            c_.speed = v;
        } else {
            return fail(usage);
        }
    }
    return true;
}

// expect GAUGE[I] frame|value|x|y|rotation N
// expect GAUGE[I] text "..."          (as the transcript quotes it)
// expect GAUGE[I] bright|unlit|hidden|shown
// expect shared NAME N     expect var ID N
// expect keys ID...        expect sounds PATH...
bool Parser::expect() {
    if (w_.size() < 2) return fail("expect what?");
    Expectation& e = c_.expect;
    const std::string& what = w_[1];
    if (what == "shared" || what == "var") {
        if (w_.size() != 4) return fail("expect " + what + " NAME VALUE");
        if (!number(w_[3], &e.number)) return false;
        e.kind = what == "shared" ? Expectation::Shared : Expectation::Var;
        e.target = w_[2];
        if (e.kind == Expectation::Var && !parse_uint32(w_[2], &e.id)) return fail("not a variable id: " + w_[2]);
        return true;
    }
    if (what == "keys" || what == "sounds") {
        e.kind = what == "keys" ? Expectation::Keys : Expectation::Sounds;
        for (size_t i = 2; i < w_.size(); ++i) {
            uint32_t id;
            if (e.kind == Expectation::Keys && !parse_uint32(w_[i], &id)) return fail("not a key event id: " + w_[i]);
            e.list.push_back(e.kind == Expectation::Keys ? hex(id) : w_[i]);
        }
        return true;
    }
    // GAUGE[I] ...
    const size_t open = what.find('['), close = what.find(']');
    if (open == std::string::npos || close != what.size() - 1 || w_.size() < 3)
        return fail("expect GAUGE[INDEX] PROPERTY ...");
    int64_t index;
    if (!parse_int(what.substr(open + 1, close - open - 1), &index) || index < 0 || index > INT32_MAX)
        return fail("no element " + what);
    e.kind = Expectation::Element;
    e.target = what;
    e.gauge = what.substr(0, open);
    e.index = static_cast<size_t>(index);
    e.property = w_[2];
    const std::string& p = e.property;
    if (p == "bright" || p == "unlit" || p == "hidden" || p == "shown")
        return w_.size() == 3 || fail("words after '" + p + "': " + w_[3]);
    if (p == "text") return expect_text();
    if (p == "frame" || p == "value" || p == "x" || p == "y" || p == "rotation") {
        if (w_.size() != 4 || !parse_double(w_[3], &e.number)) return fail("expect " + what + " " + p + " NUMBER");
        return true;
    }
    return fail("unknown property '" + p + "'");
}

// The text is quoted as the transcript quotes it (a quote inside written
// \"); after the closing quote only a comment may follow, since the text
// itself may hold '#' or blanks.
bool Parser::expect_text() {
    const std::string rest = line_.substr(word_start(line_, 3));
    if (rest.empty() || rest[0] != '"') return fail("expect " + c_.expect.target + " text \"...\" (the text in quotes)");
    size_t end = 1;
    while (end < rest.size() && rest[end] != '"') end += rest[end] == '\\' ? 2 : 1;
    if (end >= rest.size()) return fail("a text without its closing quote: " + rest);
    const size_t after = rest.find_first_not_of(" \t\r", end + 1);
    if (after != std::string::npos && rest[after] != '#')
        return fail("words after the closing quote: " + rest.substr(after));
    c_.expect.text = rest.substr(0, end + 1);
    return true;
}

}  // namespace

bool parse_command(const std::string& line, Command* out, std::string* error) {
    *out = Command{};
    out->words = split_words(line);
    if (out->words.empty()) {
        // "## Title" names the phase that follows (the demo's pictures, the live panel's seek).
        const size_t i = line.find_first_not_of(" \t");
        if (i != std::string::npos && line.compare(i, 3, "## ") == 0) {
            out->heading = line.substr(i + 3);
            while (!out->heading.empty() && (out->heading.back() == '\r' || out->heading.back() == ' '))
                out->heading.pop_back();
        }
        return true;
    }
    return Parser(line, out, error).command();
}

std::vector<std::string> scenario_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace kestrel
