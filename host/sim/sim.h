// The simulator stand-in: simulator variables by id, the tick counter, the
// frame clock, and what key events do to the variables.
#pragma once

#include <stdint.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "frame/records.h"

namespace kestrel {

constexpr uint32_t VAR_TICKS = 0x1;  // the simulator's tick counter, 18 ticks a second
constexpr uint32_t TICKS_PER_SECOND = 18;

class Sim {
public:
    // A simulator variable holds a FLOAT64, or a 32-bit binary-coded-decimal
    // integer that lookups place in the first four bytes of the value.
    struct Var {
        double value = 0;
        uint32_t bcd = 0;
        bool is_bcd = false;
    };

    void set(uint32_t id, double value);
    void set_bcd(uint32_t id, uint32_t bcd);
    double get(uint32_t id) const;      // 0 for a variable never set
    const Var* find(uint32_t id) const;  // null for a variable never set
    const std::map<uint32_t, Var>& vars() const { return vars_; }

    // Fills a module variable record with its variable's current value; the
    // old value moves to `previous`. Id 0 (no variable) reads 0.
    void lookup(ModuleVar* record) const;
    // While `ids` is set, every lookup adds its variable's id to it: which
    // variables the panel reads (the live panel's inspector lists them).
    void watch_reads(std::set<uint32_t>* ids) { reads_ = ids; }

    // Frames per second of the panel (18 by default, one tick a frame). At a
    // lower rate the tick counter skips values, as in a slow simulator.
    void set_frame_rate(uint32_t fps);
    uint32_t frame_rate() const { return fps_; }
    void advance_frame();  // one frame of time: the tick counter moves on
    uint64_t frame() const { return frame_; }

    // A key event: logged by the host, performed here. Returns what it did to
    // the simulator's variables, one line per change.
    std::vector<std::string> key_event(uint32_t event_id, uint32_t value);

    // The simulator's own motion between key events (engines spooling, the
    // gear travelling, radios following the stations, the clock): models
    // that step once a frame, after the tick counter. They start switched
    // off, so that a scenario sets every variable it reads itself; a
    // scenario switches them on by name ("model gear on", "model all on").
    bool enable_model(const std::string& name, bool on);  // false: no such model
    bool model_enabled(const std::string& name) const;

    // A variable that a held button keeps at `value`: each call (each repeat
    // of the button's key event) sets it and holds it through the next frame;
    // the first frame that begins without a fresh call sets it to `released`.
    // Setting the variable by other means ends the hold.
    void hold(uint32_t id, double value, double released);

private:
    // The variable, made if new, about to be written.
    Var& written(uint32_t id);

    struct Held {
        uint32_t id;
        double released;
        int frames;  // frames left before it is released
    };
    std::map<uint32_t, Var> vars_;
    std::map<uint32_t, std::optional<Var>>* before_ = nullptr;  // during a key event
    std::set<uint32_t>* reads_ = nullptr;
    std::vector<Held> held_;
    std::vector<const struct SimModel*> models_;  // switched on, in table order
    uint32_t fps_ = TICKS_PER_SECOND;
    uint32_t tick_remainder_ = 0;
    uint64_t frame_ = 0;
};

// What a key event does to the simulator, as a readable table.
struct KeyEffect {
    uint32_t event_id;
    const char* meaning;
    void (*apply)(Sim& sim, uint32_t value);
};

const KeyEffect* find_key_effect(uint32_t event_id);
// Every key event the stand-in knows, area by area.
std::vector<const KeyEffect*> key_effects();

// A model of the simulator's own motion, stepped once a frame while it is
// switched on.
struct SimModel {
    const char* name;     // one word, as scenarios name it: "gear", "engines"
    const char* meaning;  // what it moves, for `kestrel sim` and the docs
    void (*step)(Sim& sim);
};

const SimModel* find_sim_model(const std::string& name);
std::vector<const SimModel*> sim_models();  // in the order they step

// One area of the simulator (the pedestal, the radios ...): what its key
// events do and its models, in one file each (host/sim/<area>.cpp).
struct SimArea {
    const char* name;
    std::vector<KeyEffect> keys;
    std::vector<SimModel> models;
};

}  // namespace kestrel
