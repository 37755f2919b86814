// The live panel's session: one development host with the panel's modules,
// its renderer and the kept pictures of its windows, driven by the words a
// browser sends. It is the whole of `kestrel serve` but the network: the
// server hands it each message and the passing time, and carries out what it
// returns. Everything here runs on one thread, the modules' own.
//
// The browser drives the host only through the calls scenarios use, with
// words in the scenario language where there is one:
//
//   press W X Y       left button down at (X, Y) in window W's pixels
//   move W X Y        the held button dragged there
//   release           the button let go
//   set ID VALUE      a simulator variable (set ID bcd VALUE for BCD)
//   shared NAME VALUE a shared variable, as another module would write it
//   watch ID          list a simulator variable the panel does not read
//   model NAME|all on|off
//   pause | run | step | slow | speed 1|2|4 | reset | light day|dusk|night
//   scenario NAME     play one of the offered scenarios from its start
//   seek LINE         play the scenario again, at once up to that line
//   stop              stop playing the scenario; the panel stays as it is
//   record            record what is done from now on as a scenario
//   record stop [NAME] the recording, offered to the page as NAME.kes (and
//                     saved in the recording folder when there is one)
//
// and the edits of the panel file (viewer/edit.cpp, docs/live.md), which
// change the running panel at once and are written back only by `save`:
//
//   place WINDOW ENTRY X Y [W [H]]        add WINDOW MODULE!GAUGE X Y [W [H]]
//   remove WINDOW ENTRY                   window WINDOW KEY VALUE...
//   undo | redo | save | reload
//
// What goes back: text messages in JSON (the panel's layout, the state of
// time, variables and the log) and, for each update, one binary message
// with pictures of the parts of the windows that changed (see below).
#pragma once

#include <stdint.h>

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "host/host.h"
#include "host/panel/document.h"
#include "host/panel/panel_config.h"
#include "host/panel/load.h"
#include "host/render/render.h"
#include "host/render/window_picture.h"
#include "host/render/rules.h"
#include "host/scenario/player.h"
#include "host/scenario/recorder.h"
#include "viewer/watch.h"

namespace kestrel {

struct LiveOptions {
    HostOptions host;
    std::string artwork_dir;
    std::string panel;                   // the panel configuration
    std::vector<std::string> scenarios;  // scenario files the page may play, by file name
    std::string sound_dir;               // the wave files the page may play ("" none)
    rules::Lighting light = rules::DUSK;
    bool models = true;                  // the simulator's own motion, switched on at the start
    std::string record_dir;              // where "record stop NAME" saves NAME.kes ("" nowhere)
    bool watch = false;                  // a module, the panel or a bitmap loaded again when its file changes
};

// A message for the browsers.
struct Outgoing {
    bool binary = false;
    std::string data;
};

// A binary message: the pictures of one update, one after another, each a
// box of one window: 16 bytes of header, little-endian: 16-bit words window,
// x, y, width, height, 0, and the 32-bit length of the PNG that follows.
// One message for them all, so that a browser takes them in at once rather
// than one event each, and shows a click sooner.
constexpr size_t PICTURE_HEADER = 16;

// A message for the browsers: compact JSON, every string in it valid UTF-8.
// Bytes of a string that are not valid UTF-8 (a module's texts need not be)
// are read as the Latin-1 characters they would be.
std::string json_message(nlohmann::ordered_json j);

class LiveSession {
public:
    explicit LiveSession(LiveOptions options);
    ~LiveSession();
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    // Problems found loading the panel, one line each.
    const std::vector<std::string>& problems() const { return problems_; }

    // One message from a browser. Returns "" when it was carried out, else
    // why it was refused (the session is unchanged then).
    std::string handle(const std::string& message);

    // Wall-clock time passed: runs the frames due at the panel's frame rate
    // and speed (none while paused; at most a fifth of a second's worth at
    // once, so that a stalled machine does not run the panel in a burst).
    void advance(double seconds);

    // What changed since the last update, for every browser: the layout when
    // gauges came or went, the pictures of what was drawn anew, variables
    // that changed, the log's new lines. Empty when nothing changed.
    std::vector<Outgoing> update();
    // Everything, for a browser that has just come: the layout, whole
    // pictures of every window, every variable and the log, as they stood
    // at the last update (the next update's changes then follow on).
    std::vector<Outgoing> snapshot();

    Host& host() { return *host_; }
    const PanelConfig& config() const { return config_; }
    // The panel file as edited (what `save` would write).
    const PanelDocument& document() const { return document_; }
    bool running() const { return running_; }
    const ScenarioPlayer* player() const { return player_.get(); }
    // Where the page's wave files come from ("" when none may be played).
    const std::string& sound_dir() const { return options_.sound_dir; }

    // What the last update cost: frames run, pictures encoded, their bytes.
    struct Cost {
        uint64_t frames = 0;
        uint64_t pictures = 0;
        uint64_t bytes = 0;
    };
    const Cost& cost() const { return cost_; }

private:
    struct Log {
        std::string gauge;  // "" for the page itself
        std::string kind;   // key, shared, sound, fault, page
        std::string text;
        std::string sound;  // for sounds: the wave file's name
    };

    // Recording (viewer/record.cpp).
    std::string record(const std::vector<std::string>& words);
    // Reloading (viewer/watch.cpp).
    std::vector<std::string> watched_files() const;
    void check_files(double seconds);
    void load_panel();
    void restart_host(bool with_panel);
    void run_frame();
    void start_scenario(const std::string& name, size_t up_to_line);
    std::string scenario_path(const std::string& name) const;
    void page_log(const std::string& text);
    void collect_events();
    void collect_reads();
    std::string layout_json();
    std::string state_json(bool everything);
    void pictures(bool everything, std::vector<Outgoing>* out);
    // The gauge placed at a point of a window, its entry, and the point in
    // its own pixels.
    Gauge* gauge_at(size_t window, int x, int y, size_t* entry, int32_t* gx, int32_t* gy);

    // Editing the panel file (viewer/edit.cpp).
    static bool is_edit(const std::string& verb);
    std::string edit(const std::vector<std::string>& words);
    void open_document();
    PanelConfig document_panel() const;
    void take_panel();  // the running panel made the document's
    void edit_layout(nlohmann::ordered_json& j);
    void edit_state(nlohmann::ordered_json& j, bool everything);

    LiveOptions options_;
    PanelConfig config_;
    PanelDocument document_;
    std::string document_error_;  // why the file cannot be edited ("" when it can)
    bool conflict_ = false;       // the last save was refused: the file changed on disk
    struct Module {
        std::string name, gauge;
        int width = 0, height = 0;
    };
    std::vector<Module> modules_;  // of the Gauges folder, listed once
    bool modules_listed_ = false;
    std::string edit_sent_;
    std::vector<std::string> problems_;
    std::unique_ptr<Host> host_;
    Renderer renderer_;
    std::vector<std::unique_ptr<WindowPicture>> windows_;
    std::unique_ptr<ScenarioPlayer> player_;

    // Time
    bool running_ = true;
    int speed_ = 1;
    double due_ = 0;        // frames due, in part
    int steps_ = 0;         // single frames asked for
    int slow_frames_ = 0;   // frames asked for in which ticks are skipped

    // The held mouse button
    bool pressed_ = false;
    bool press_fresh_ = false;  // pressed since the last frame: no repeat before it
    size_t press_window_ = 0;
    size_t press_entry_ = 0;
    Host::Press press_;
    std::string press_gauge_;

    // What the browsers know
    uint64_t layout_version_ = 1, layout_sent_ = 0;
    std::vector<std::pair<std::string, const Gauge*>> loaded_;  // as of the last update
    std::set<uint32_t> reads_;                // simulator variables the panel reads
    std::map<uint32_t, std::string> vars_sent_;
    std::map<std::string, std::string> shared_sent_;
    std::string time_sent_, scenario_sent_, models_sent_;
    std::deque<Log> recent_;     // the log's last lines, for newcomers
    std::vector<Log> pending_;   // lines not sent yet
    size_t events_seen_ = 0;     // of host().events
    uint64_t frames_since_reads_ = 0;
    Cost cost_;

    // The session since its panel was loaded, as a scenario (none while a
    // scenario plays: what it does is not the user's), and what the next
    // update sends besides (a recording offered to the page).
    std::unique_ptr<SessionRecorder> history_;
    std::unique_ptr<FileWatch> watch_;  // --watch
    std::vector<std::string> notices_;
    std::string recording_sent_;
};

}  // namespace kestrel
