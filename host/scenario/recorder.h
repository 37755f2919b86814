// A live session written down as a scenario: what the user did to the panel
// (presses, moves and releases of the button, variables set, shared
// variables, models switched) with the frames that ran between, so that
// `kestrel run` does to the modules exactly what the session did.
//
// The recorder follows the session from the moment its panel is loaded,
// since the modules' own state at any later moment comes from everything
// done before it. A recording (start, then stop) is that whole history,
// the part before the start first, and at its end "expect" lines for what
// changed from the start to the stop: every shared variable, the simulator
// variables that changed, the key events sent, and each element whose state
// changed (its frame, value, position, text or lighting, as its kind has).
#pragma once

#include <stdint.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace kestrel {

class SessionRecorder {
public:
    // Made right after the panel's modules are loaded and its models
    // switched on: the history starts with them.
    explicit SessionRecorder(Host& host);

    // What the session did, in the scenario language.
    void line(const std::string& line);  // a scenario line carried out as it is (set, shared, model)
    void press(const Gauge& gauge, int32_t x, int32_t y);
    void move(int32_t x, int32_t y);
    void release();
    void note(const std::string& text);  // a comment: what a scenario cannot say (a panel edit)
    void frame();                        // a frame ran, at the host's frame rate of the moment
    void event(const Event& e);          // the host's events, for the key events sent

    bool recording() const { return mark_.has_value(); }
    // Notes the state that the recording's expectations compare with.
    void start();
    // The recording as a scenario; `title` names it in its first line.
    std::string stop(const std::string& title);

private:
    void flush_frames();
    void expectations(std::vector<std::string>* out) const;

    Host& host_;
    std::vector<std::string> lines_;  // the history, the load first
    uint64_t frames_ = 0;             // frames run since the last line
    uint32_t fps_;
    std::vector<uint32_t> keys_;      // every key event sent, in order
    struct Mark {
        size_t line = 0, keys = 0;
        std::map<uint32_t, Sim::Var> vars;
        std::map<std::string, std::vector<ElementState>> elements;
    };
    std::optional<Mark> mark_;
};

// Whether `name` will do as the name of a recording saved in a folder
// ("NAME.kes"): a plain file name, without folders.
bool recording_name_ok(const std::string& name);
// "recording-20261208-153000": a name from the date and time (UTC).
std::string recording_name_now();

}  // namespace kestrel
