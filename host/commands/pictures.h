// What the picture commands (render, demo) share: their options, the panel
// or module they draw, and a scenario run line by line with a call after
// every frame.
#pragma once

#include <cairo.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/panel/panel_config.h"
#include "host/render/rules.h"
#include "host/scenario/scenario.h"

namespace kestrel {

// The picture as PNG bytes.
std::string png_bytes(cairo_surface_t* s);
// Each message on a line of its own, on stderr.
void print_all(const std::vector<std::string>& messages);

// Read by the command line (host/main.cpp).
struct PictureOptions {
    std::string target;  // render: panel.cfg or module
    std::string panel;   // demo
    std::string scenario;
    std::string out;
    std::vector<std::string> at;
    std::vector<std::string> open;  // render: pop-ups drawn over the main window
    double scale = 1;
    rules::Lighting light = rules::DUSK;
};

// A panel configuration for one module alone: its gauge at its own size.
PanelConfig single_module(const std::string& module);
// The panel's modules that have no file in the gauges folder, each with
// the line that names it: a whole message, or `brief`ly "name (line N)".
std::vector<std::string> missing_modules(const PanelConfig& config, const std::string& gauge_dir, bool brief = false);
// The pictures' names: the panel's own for a panel of one window, else the
// panel's followed by each window's title, made safe as a file name and
// different from the others'.
std::vector<std::string> picture_names(const PanelConfig& config, const std::string& stem);
// Notes on what a picture shows that the simulator would not show at once.
std::vector<std::string> window_notes(const PanelConfig& config);
// The loaded gauges that the panel gives no place (loaded by a scenario), and
// the line that names them.
std::vector<std::string> unplaced(Host& host, const PanelConfig& config);
std::string unplaced_line(const PanelConfig& config, const std::vector<std::string>& names);

// A scenario run line by line, with pictures after frames.
struct Run {
    Host& host;
    Scenario scenario;
    double seconds = 0;  // simulated time since the scenario started
    std::function<void(uint64_t frame)> on_frame;

    double done = 0;     // the share of the scenario's lines run

    Run(Host& h, const std::string& name);
    // Runs the scenario's text, calling `before` with each command before it
    // runs and `after` once it has run. False when a line cannot be
    // understood or run (see scenario.error()).
    bool play(const std::string& text, const std::function<void(const Command&)>& before,
              const std::function<void()>& after = nullptr);
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
};

}  // namespace kestrel
