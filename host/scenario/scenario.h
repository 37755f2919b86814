// Scenarios: a small text format that drives the host as a simulator and a
// pilot would (load modules, set variables, run frames, click), and the
// transcript of what the modules did in return. The format is described in
// docs/scenarios.md.
#pragma once

#include <stdint.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/scenario/flight_table.h"
#include "host/scenario/parse.h"

namespace kestrel {

class Scenario {
public:
    // `name` names the scenario in messages (usually its file name).
    Scenario(Host& host, std::string name);

    // Reads the scenario's next line into a command and echoes it to the
    // transcript. False on a line that cannot be understood (see error()).
    bool read(const std::string& line, Command* command);
    // Runs a command whole. False when it cannot run (see error()).
    bool run(const Command& command);
    // Starts a command: one that runs frames is left pending, to be run a
    // frame at a time by step(), with exactly the calls run() makes.
    bool start(const Command& command);
    bool pending() const { return job_.has_value(); }
    void step();
    // Reads and runs one line; runs a whole text, stopping at the first line
    // that cannot be understood or run, then finish().
    bool run_line(const std::string& line);
    bool run_text(const std::string& text);
    // The scenario is over: one that had no command at all is refused.
    bool finish();

    const std::string& transcript() const { return out_; }
    std::string take_transcript();
    const std::string& error() const { return error_; }
    int failures() const { return failures_; }  // failed expectations and faults
    int expectations() const { return expectations_; }
    int line_number() const { return line_number_; }

    // Where the files a scenario names ("replay FILE") are looked up when
    // their paths are not whole: the scenario file's folder ("" the
    // current one).
    std::string folder;

    // Appends every element's state of the gauge to the transcript.
    void show(Gauge& gauge);

    // Hook for a caller that wants to see each frame (rendering, a demo):
    // called after every frame with the frame number.
    void (*after_frame)(void* context, uint64_t frame) = nullptr;
    void* after_frame_context = nullptr;

private:
    bool fail(const std::string& why);
    void emit(const std::string& line);
    void flush_events();
    void element_changes();
    std::string describe(const Gauge& gauge, size_t index) const;
    void run_frame();
    Gauge* gauge_arg(const std::string& word);
    bool expect(const Expectation& e);
    bool start_replay(const Command& c);
    bool start_mouse(const Command& c);
    bool expect_element(const Expectation& e);
    void check(bool ok, const std::string& what);

    Host& host_;
    std::string name_;
    std::string out_;
    std::string error_;
    int line_number_ = 0;
    int commands_ = 0;
    int failures_ = 0;
    int expectations_ = 0;
    size_t events_seen_ = 0;
    size_t keys_checked_ = 0;   // key events already matched by "expect keys"
    size_t sounds_checked_ = 0;
    std::vector<uint32_t> keys_;       // every key event id, in order
    std::vector<std::string> sounds_;  // every sound path, in order
    bool library_calls_ = false;  // "library-calls on": print the modules' library binding
    bool in_frame_ = false;
    bool frame_header_printed_ = false;
    std::map<std::string, std::vector<std::optional<ElementState>>> shown_;
    // "ramp ID VALUE": variables that move in equal steps over the next
    // "frames" or "seconds", reaching their value at its last frame.
    struct Ramp {
        uint32_t id;
        double to;
        double from = 0;
    };
    std::vector<Ramp> ramps_;
    // The command that runs frames, frame by frame.
    struct Job {
        Command::Kind kind = Command::Frames;
        uint64_t count = 0, done = 0;
        std::vector<Ramp> ramps;  // frames: the ramps it carries out
        Host::Press press;        // hold, drag
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    std::optional<Job> job_;
    std::optional<FlightReplay> replay_;
    // "press GAUGE X Y": the button held across the commands that follow,
    // until "release"; fresh until the first frame after the press.
    std::optional<Host::Press> held_;
    bool held_fresh_ = false;
    void let_go();  // "replay FILE": runs beside the commands
};

// Carries out a command that sets the simulator or the panel (set, shared,
// model) as a scenario and the live panel do. False with a message when it
// names nothing known.
bool apply_setting(Host& host, const Command& command, std::string* error);

}  // namespace kestrel
