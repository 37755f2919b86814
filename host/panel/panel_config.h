// The simulator's panel configuration (panel.cfg): windows, each with its
// size, background and the gauges placed on it, as aircraft ship them.
//
//   [Window Titles]
//   Window00=Main panel
//
//   [Window00]
//   file=panel_background.bmp  // beside panel.cfg; pure black shows the background colour
//   size_mm=1024               // the window's own grid; the height follows the bitmap's shape
//   background_color=40,44,50
//   visible=1
//   gauge00=flap_lever!KESTREL, 10, 20          // natural size
//   gauge01=broadcaster!KESTREL, 200, 20, 88     // width 88, height to match
//   gauge02=pfd!KESTREL, 300, 20, 320, 360       // stretched to 320x360
//
//   [Vcockpit01]               // a texture of the 3D cockpit, drawn at pixel_size
//   size_mm=512,512
//   pixel_size=256,256
//
//   [Color]                    // tints of the panel by day and night
//   Day=255,255,255
//   Night=223,223,100
//   Luminous=200,40,40
//
// Keys and section names are not case sensitive; blanks and tabs may stand
// around '=' and the numbers; "//" and ";" start comments. Windows are
// created from Window00 on, up to the first number missing (or Window63), as
// the simulator creates them; the gauges of a window likewise from gauge00
// to the first gap. Keys that only place a window on the screen (position,
// zorder ...) are accepted and have no effect on the picture; ident,
// window_pos and window_size are kept, for showing a pop-up over its panel.
// Newer generations' web gauges (htmlgaugeNN) and sections ([VPainting],
// [VIEWS]) are passed over with one note each. Any line that cannot be read
// is reported with its line and taken no part of.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "host/panel/bitmap.h"

namespace kestrel {

struct PanelGauge {
    std::string module;  // the module's file name without ".gau": "flap_lever"
    std::string gauge;   // the gauge's name inside it: "KESTREL" ("" when none is given)
    int number = 0;      // NN of gaugeNN
    int x = 0, y = 0;
    int width = 0, height = 0;  // 0: taken from the gauge's background (keeping its shape)
    int line = 0;               // where it was given
};

struct PanelWindow {
    enum class Kind { Window, VirtualCockpit };
    Kind kind = Kind::Window;
    int index = 0;      // NN of [WindowNN] or [VcockpitNN]
    int line = 0;       // where its section starts
    std::string title;  // from [Window Titles], or "Window NN" / "Vcockpit NN"
    // size_mm: the grid the gauges are placed in. A height of 0 with a width
    // is taken from the background bitmap's shape; both 0 from the bitmap's
    // size, or else the gauges' extent.
    int width = 0, height = 0;
    int pixel_width = 0, pixel_height = 0;  // a virtual cockpit's texture size (pixel_size); 0: its size
    uint32_t background = 0x2A2E33;        // 0xRRGGBB
    bool visible = true;                    // visible=0: the window starts hidden
    std::string ident;                      // ident=: MAIN_PANEL, OVERHEAD_PANEL, 10003 ...
    // window_pos= and window_size=: the window's place on the screen, as
    // fractions of the screen's width and height from its top left; -1 when
    // not given (or not two numbers from 0 to 1).
    double screen_x = -1, screen_y = -1, screen_width = -1, screen_height = -1;
    std::string bitmap;                     // file=, or file_1024= when only that is given
    int bitmap_line = 0;
    std::shared_ptr<const Pixels> picture;  // the bitmap, once read (read_panel_config)
    std::vector<PanelGauge> gauges;         // in the order of their gaugeNN numbers
};

// The tints of the [Color] section, 0xRRGGBB each.
struct PanelColors {
    bool given = false;
    uint32_t day = 0xFFFFFF, night = 0xFFFFFF, luminous = 0xFFFFFF;
    int line = 0;
};

enum class Severity { Note, Warning, Error };

struct PanelProblem {
    int line;
    std::string message;
    Severity severity = Severity::Error;
};

struct PanelConfig {
    std::string path;
    std::vector<PanelWindow> windows;  // the windows in number order, then the virtual cockpits
    PanelColors colors;
    std::vector<PanelProblem> problems;  // in the order found

    // "panel.cfg:12: message" for each problem ("panel.cfg:12: warning: ..."
    // and "note: ..." for those that are not errors).
    std::vector<std::string> messages() const;
    // Every module named, once each, in the order first named.
    std::vector<std::string> modules() const;
};

// Largest window and gauge place accepted, each way, in pixels.
constexpr int MAX_PANEL_SIDE = 16384;
// The simulator creates windows Window00 to Window63 at most.
constexpr int MAX_WINDOWS = 64;

PanelConfig parse_panel_config(const std::string& text, const std::string& path);
// Reads the file and the windows' background bitmaps beside it; a file that
// cannot be read gives one problem at line 0.
PanelConfig read_panel_config(const std::string& path);
// A name that ends in ".cfg", in any case.
bool is_panel_file(const std::string& path);
// Reads each window's background bitmap from `folder`, and completes the
// window sizes that follow from it. A bitmap that cannot be read is one
// warning at its line; the window is drawn without it.
void read_backgrounds(PanelConfig* config, const std::string& folder);

// Whether `name` can stand for a file in a folder: no folders, no way out
// (no '/', '\', ':', "." or ".."), no characters Windows refuses in names.
bool plain_file_name(const std::string& name);
// The folder that holds `path` ("." for a bare file name).
std::string folder_of(const std::string& path);
// The path of file `name` in `folder` as the simulator finds it on Windows,
// where names are compared without regard to case; "" when there is none.
std::string find_file(const std::string& folder, const std::string& name);
// Gives each gauge's module the spelling of its file in `gauge_dir` when the
// panel writes it in other letter case ("Flap_Lever" for flap_lever.gau):
// Windows, where panels are written, compares file names without regard to
// case. Names that are not plain file names, or have no file, stay as given.
void match_module_names(PanelConfig* config, const std::string& gauge_dir);
// The window whose title or ident is `name` (compared without regard to
// case), or null.
const PanelWindow* find_window(const PanelConfig& config, const std::string& name);
// The main window: the first window that starts visible (else the first
// window), or null when there is none.
const PanelWindow* main_window(const PanelConfig& config);

// A window title made into a file name: letters, digits, '-' and '_' kept,
// every other run of characters one '_'; at most 60 characters; "window" when
// nothing is left.
std::string safe_file_name(const std::string& title);

}  // namespace kestrel
