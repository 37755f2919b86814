// The development host: stands in for the simulator's panel system. It loads
// gauge modules, hands them its function table, keeps the registry of named
// variables, plays the simulator (variables, ticks, key events), runs frames
// in the simulator's order and delivers mouse actions.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/records.h"
#include "host/loader.h"
#include "host/platform.h"
#include "host/registry.h"
#include "host/sim/sim.h"

namespace kestrel {

// What one element showed after its callbacks ran.
struct ElementState {
    double value[3] = {0, 0, 0};  // needle, icon: [0]; slider, moving: x, y; sprite: x, y, rotation
    uint32_t flags = 0;           // image flags
    std::string text;             // text elements: the buffer's contents

    bool operator==(const ElementState& o) const;
};

// One loaded module and its gauge.
struct Gauge {
    std::string name;  // the module's name: its file name without ".gau"
    std::string path;
    Library library;
    GaugeLayout layout;
    std::vector<std::vector<char>> text_buffers;  // per element; empty for other kinds
    std::vector<ElementState> state;              // per element, as of the last frame
    bool overflowed = false;                      // a text callback wrote past its buffer

    size_t size() const { return layout.elements.size(); }
    ElementHeader* element(size_t i) const { return layout.elements.at(i); }
    template <class E>
    E* element_as(size_t i) const { return reinterpret_cast<E*>(element(i)); }
};

// Something a module did, in the order it happened.
struct Event {
    enum class Kind {
        KeyEvent,      // number: event id, value: its value
        SimChange,     // detail: "0x148 = 3276.8"
        Sound,         // name: GaugePlaySound, PlaySoundA, ...; detail: path; value: flags
        SharedChange,  // name: variable; number: before, value: after
        Register,      // name: variable; value: 1 if it was added
        Withdraw,      // name: variable; value: 1 if it was registered
        Bind,          // name: variable; value: 1 if it was found
        Library,       // name: LoadLibraryA, ...; detail: library; value: 1 if found
        Fault,         // detail: what went wrong
    };
    Kind kind;
    std::string gauge;  // the module whose call caused it ("" for the host itself)
    std::string name;
    std::string detail;
    int64_t number = 0;
    int64_t value = 0;
};

// A drag moves in equal steps, one a frame: step i of count from `from`
// reaches `to` at the last.
int32_t drag_step(int32_t from, int32_t to, uint64_t i, uint64_t count);

// The name a module goes by: its file name without folder and ".gau".
std::string module_name(const std::string& module);

struct HostOptions {
    std::string gauge_dir;     // where a module name finds "<name>.gau"
    std::string library_path;  // where modules find "GaugeSound" ("" : nowhere)
};

// Where the text buffer's guard begins, and how long it is.
constexpr size_t TEXT_GUARD = 32;
constexpr char TEXT_GUARD_BYTE = static_cast<char>(0xA5);

class Host : private SystemEvents {
public:
    explicit Host(const HostOptions& options);
    ~Host() override;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Loads modules (names, or paths to .gau files), then pre-installs them
    // all and pre-initialises them all, in the order given (or fewer steps,
    // for tests of what a module does before them). A module that cannot be
    // loaded is refused with "<module>: <fault>" in `error`; the others are
    // loaded all the same. Returns false if any was refused.
    enum class Steps { None, Install, InstallAndInitialize };
    bool load(const std::vector<std::string>& modules, std::string* error,
              Steps steps = Steps::InstallAndInitialize);
    // Pre-kill, then release the module. False if no such gauge is loaded.
    bool unload(const std::string& name);
    void unload_all();

    // Puts the gauges named in that order (the others after them, as they
    // were): the order frames call them in.
    void order_gauges(const std::vector<std::string>& names);

    Gauge* find(const std::string& name);
    const std::vector<std::unique_ptr<Gauge>>& gauges() const { return gauges_; }

    // One frame of the panel: the tick counter moves on, then every gauge in
    // load order gets pre-update, its element callbacks and pre-draw.
    void frame();
    void frames(uint64_t count);
    // Calls the gauge callback with any service id.
    void service(Gauge& gauge, uint32_t service_id);
    // Runs the element callbacks of one gauge (part of frame()).
    void update_elements(Gauge& gauge);

    // Mouse actions at a point in the gauge's background pixels. The first
    // child area in list order that holds the point takes the action; an area
    // whose flags do not include the action ignores it. `calls` counts the
    // mouse callback calls made.
    struct Press {
        Gauge* gauge = nullptr;
        MouseRect* area = nullptr;  // null: no area under the point
        int32_t x = 0, y = 0;
        int calls = 0;
    };
    MouseRect* area_at(Gauge& gauge, int32_t x, int32_t y);
    Press press(Gauge& gauge, int32_t x, int32_t y);  // left button down
    void repeat(Press& p);                   // still held: an area that repeats is called again
    void move(Press& p, int32_t x, int32_t y);  // dragged to (x, y)
    void release(Press& p);
    int click(Gauge& gauge, int32_t x, int32_t y);  // press and release
    // Held for `count` frames: the press calls the area, and an area that
    // repeats while held is called again before each further frame.
    int hold(Gauge& gauge, int32_t x, int32_t y, uint64_t count);
    // Press at (x0, y0), move to (x1, y1) over `count` frames, release.
    int drag(Gauge& gauge, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint64_t count);

    // Whether the modules find the GaugeSound library from now on.
    void set_sound_library(bool available);

    Sim sim;
    Registry registry;
    std::vector<Event> events;

    // The host whose function table modules are calling (one at a time).
    static Host* current();

private:
    struct Call;  // marks which gauge is calling the host, and why

    Gauge* open(const std::string& module, std::string* error);
    void call_gauge(Gauge& gauge, uint32_t service_id);
    int mouse_call(Gauge& gauge, MouseRect* area, int32_t x, int32_t y, uint32_t flags);
    void note_shared_changes();
    void record(Event::Kind kind, std::string name, std::string detail, int64_t number,
                int64_t value);

    // SystemEvents
    void library_call(const char* call, const char* name, bool found) override;
    void play_sound(const char* path, uint32_t flags) override;
    void gauge_sound(const char* function, const char* path, const char* arg,
                     int32_t flags) override;

    // The host function table's operations.
    static int32_t KCALL trigger_key_event(uint32_t event_id, uint32_t value);
    static int32_t KCALL register_var_by_name(void* storage, uint32_t type, const char* name);
    static void KCALL initialize_var(ModuleVar* var);
    static void KCALL initialize_var_by_name(ModuleVar* var, const char* name);
    static void KCALL lookup_var(ModuleVar* var);
    static void KCALL unregister_var_by_name(const char* name);
    static void KCALL unregister_all_named_vars();

    HostOptions options_;
    HostTable table_{};
    std::vector<std::unique_ptr<Gauge>> gauges_;
    Gauge* calling_ = nullptr;  // the gauge whose callback is running
};

}  // namespace kestrel
