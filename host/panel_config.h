// The simulator's panel configuration (panel.cfg): windows, each with its
// size and the gauges placed on it.
//
//   [Window Titles]
//   Window00=Main panel
//
//   [Window00]
//   size_mm=1024,768          // the window's own pixel grid: gauge places are in it
//   background_color=40,44,50
//   gauge00=flap_lever!KESTREL, 10, 20          // natural size
//   gauge01=broadcaster!KESTREL, 200, 20, 88     // width 88, height to match
//   gauge02=pfd!KESTREL, 300, 20, 320, 360       // stretched to 320x360
//
// Comments start with "//" or ";". Keys and section names are not case
// sensitive. Keys that the development host does not use (position,
// visible, ident, window_size ...) are accepted and ignored; anything it
// cannot read is reported with the file and line, and the line is skipped.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

struct PanelGauge {
    std::string module;  // the module's file name without ".gau": "flap_lever"
    std::string gauge;   // the gauge's name inside it: "KESTREL"
    int x = 0, y = 0;
    int width = 0, height = 0;  // 0: taken from the gauge's background (keeping its shape)
    int line = 0;               // where it was given
};

struct PanelWindow {
    int index = 0;      // NN of [WindowNN]
    std::string title;  // from [Window Titles], or "Window NN"
    int width = 0, height = 0;  // size_mm; 0 when not given (then the gauges' extent)
    uint32_t background = 0x2A2E33;  // 0xRRGGBB
    std::vector<PanelGauge> gauges;  // in the order of their gaugeNN numbers
};

struct PanelProblem {
    int line;
    std::string message;
};

struct PanelConfig {
    std::string path;
    std::vector<PanelWindow> windows;  // in the order of their numbers
    std::vector<PanelProblem> problems;

    // "panel.cfg:12: message" for each problem.
    std::vector<std::string> messages() const;
    // Every module named, once each, in the order first named.
    std::vector<std::string> modules() const;
};

// Largest window and gauge place accepted, each way, in pixels.
constexpr int MAX_PANEL_SIDE = 16384;

PanelConfig parse_panel_config(const std::string& text, const std::string& path);
// Reads the file; a file that cannot be read gives one problem at line 0.
PanelConfig read_panel_config(const std::string& path);

}  // namespace kestrel
