// The scenario language read into commands: the one place that knows its
// words, durations, points, numbers, quoted texts and their limits
// (docs/scenarios.md). Running them is the runner's business (scenario.h).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

// Limits of the language, said in its messages.
constexpr uint64_t MAX_FRAMES = 100000000;  // "frames N", a hold's or drag's "N"
constexpr double MAX_SECONDS = 1e7;         // "seconds S", "Ns"
constexpr int64_t MAX_FPS = 1000;
constexpr double MAX_REPLAY_SPEED = 1000;  // "replay FILE speed X"

// A number of frames, or of seconds counted at the frame rate of the moment
// the command runs.
struct Duration {
    bool seconds = false;
    double amount = 0;
    uint64_t frames(uint32_t frame_rate) const;
};

// "expect ..." (docs/scenarios.md, Expectations).
struct Expectation {
    enum Kind { Element, Shared, Var, Keys, Sounds } kind = Element;
    std::string target;    // GAUGE[I] as written, the shared name, or the variable id as written
    std::string gauge;     // Element: the gauge and its element
    size_t index = 0;
    std::string property;  // frame value x y rotation text bright unlit hidden shown
    uint32_t id = 0;       // Var
    double number = 0;     // the value expected
    std::string text;      // text: the quoted text as written, quotes and all
    std::vector<std::string> list;  // Keys: ids as hex; Sounds: paths
};

struct Command {
    enum Kind {
        None,  // a blank or comment line
        Load, Unload, Set, SetBcd, Ramp, Shared, Frames, Fps, Click, Hold, Drag, Service, Show, Model,
        SoundLibrary, LibraryCalls, Expect, Replay, Press, Move, Release
    } kind = None;
    std::vector<std::string> words;  // the line's words, without its comment
    std::string heading;             // None: the title of a "## Title" line
    std::vector<std::string> names;  // Load: modules; Replay: the file (none: "replay stop");
                                     // else the gauge, module, shared name or model
    uint32_t id = 0;                 // Set, SetBcd, Ramp: variable; Service: service id
    double value = 0;                // Set, Ramp
    uint32_t bcd = 0;                // SetBcd
    int32_t shared = 0;              // Shared
    uint32_t fps = 0;                // Fps
    bool on = false;                 // Model, SoundLibrary, LibraryCalls
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // Click, Hold, Drag, Press, Move
    Duration duration;               // Frames, Hold, Drag
    bool has_from = false;           // Replay: "from T" given, T in `value`
    double speed = 1;                // Replay: "speed X"
    Expectation expect;

    const std::string& name() const { return names.at(0); }
    // Whether running it runs frames (and so can be stepped a frame at a time).
    bool runs_frames() const { return kind == Frames || kind == Hold || kind == Drag; }
};

// Reads one line (without its line end). False with a message (no file or
// line number) when the line cannot be understood.
bool parse_command(const std::string& line, Command* out, std::string* error);

// A scenario's text as lines: a byte-order mark at its start read past, a
// line's "\r" before its "\n" taken away.
std::vector<std::string> scenario_lines(const std::string& text);

}  // namespace kestrel
