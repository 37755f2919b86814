// A scenario played a frame at a time, so that the live panel can show every
// frame of it, pause it, and let the user click in between. The runner steps
// a command that runs frames ("frames", "seconds" with the ramps before it,
// "hold", "drag") one frame a step with exactly the calls it makes for the
// whole command, so the modules see the same panel as under `kestrel run`.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "host/scenario/scenario.h"

namespace kestrel {

class ScenarioPlayer {
public:
    // `folder`: where the files the scenario names are looked up (Scenario::folder).
    ScenarioPlayer(Host& host, std::string name, const std::string& text, const std::string& folder = "");

    // Runs lines until one frame has run, the scenario ends, or a line
    // cannot be understood or run (then the scenario stops; see error()).
    // Returns whether a frame ran.
    bool step();
    bool finished() const { return finished_; }

    const std::string& name() const { return name_; }
    const std::string& error() const { return error_; }
    int failures() const { return scenario_.failures(); }
    int expectations() const { return scenario_.expectations(); }
    // The line being played (1-based; the next to run when between lines).
    size_t line() const { return line_; }
    size_t lines() const { return lines_.size(); }
    // The frames the scenario has run.
    uint64_t frames() const { return frames_; }
    std::string take_transcript() { return scenario_.take_transcript(); }

    // "## Title" lines: where each phase starts.
    struct Phase {
        size_t line;
        std::string title;
    };
    const std::vector<Phase>& phases() const { return phases_; }

private:
    std::string name_;
    Scenario scenario_;
    std::vector<std::string> lines_;
    std::vector<Phase> phases_;
    size_t line_ = 0;  // lines started
    uint64_t frames_ = 0;
    bool finished_ = false;
    std::string error_;
};

}  // namespace kestrel
