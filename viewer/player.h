// A scenario played frame by frame, so that the live panel can show every
// frame of it, pause it, and let the user click in between. Lines that run
// no frame go to the scenario runner as they are; lines that run frames
// ("frames", "seconds", "hold", "drag", and the "ramp" lines before them)
// are played one frame per step, with exactly the calls the scenario runner
// makes for them, so the modules see the same panel as under `kestrel run`.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/scenario/scenario.h"

namespace kestrel {

class ScenarioPlayer {
public:
    ScenarioPlayer(Host& host, std::string name, const std::string& text);

    // Runs lines until one frame has run, the scenario ends, or a line
    // cannot be understood (then the scenario stops; see error()). Returns
    // whether a frame ran.
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
    // A line that runs frames, played one frame a step.
    struct Job {
        enum Kind { Frames, Hold, Drag } kind = Frames;
        uint64_t count = 0, done = 0;
        std::vector<uint32_t> ramp_ids;
        std::vector<double> ramp_from, ramp_to;
        Host::Press press;
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    bool start_line(const std::string& text);  // false: stop (error or end)
    bool fail(const std::string& why);
    void frame();

    Host& host_;
    std::string name_;
    Scenario scenario_;
    std::vector<std::string> lines_;
    std::vector<Phase> phases_;
    size_t line_ = 0;  // lines started
    uint64_t frames_ = 0;
    std::unique_ptr<Job> job_;
    struct Ramp {
        uint32_t id;
        double to;
    };
    std::vector<Ramp> ramps_;
    bool finished_ = false;
    std::string error_;
};

}  // namespace kestrel
