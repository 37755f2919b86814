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

namespace kestrel {

class Scenario {
public:
    // `name` names the scenario in messages (usually its file name).
    Scenario(Host& host, std::string name);

    // Runs one line; what it produced is appended to the transcript. Returns
    // false on a line that cannot be understood (see error()).
    bool run_line(const std::string& line);
    // Runs a whole text, stopping at the first line that cannot be understood.
    bool run_text(const std::string& text);

    const std::string& transcript() const { return out_; }
    std::string take_transcript();
    const std::string& error() const { return error_; }
    int failures() const { return failures_; }  // failed expectations and faults
    int expectations() const { return expectations_; }

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
    void note_frame();
    void element_changes();
    std::string describe(const Gauge& gauge, size_t index) const;
    bool run_frames(uint64_t count);
    bool parse_duration(const std::string& word, uint64_t* frames);
    Gauge* gauge_arg(const std::string& word);
    bool expect(const std::vector<std::string>& words, const std::string& line);
    void check(bool ok, const std::string& what);

    Host& host_;
    std::string name_;
    std::string out_;
    std::string error_;
    int line_number_ = 0;
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
    };
    std::vector<Ramp> ramps_;
    bool run_ramps(uint64_t count);
};

// Reads and runs a scenario file; prints the transcript to `out` as it goes.
// Returns the process exit code: 0 all well, 1 failed expectations or
// faults, 2 the file cannot be read or understood.
int run_scenario_file(Host& host, const std::string& path, FILE* out, FILE* err);

}  // namespace kestrel
