// Where a panel entry puts its gauge on its window, and what lies under a
// point of a window: one answer for the renderer, the live panel and the
// page.
//
// An entry "gaugeNN=module!name, x, y, w, h" places the module's gauge with
// its top left corner at (x, y), stretched to w x h. Without a height the
// gauge keeps its shape at width w; without either it has its own size (its
// background bitmap's). A gauge that is not there (its module missing,
// refused, or carrying another gauge name) has the box its placeholder
// shows: the size given, else 64 pixels a side.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>

#include "host/host.h"
#include "host/panel/panel_config.h"

namespace kestrel {

// The side of a placeholder whose entry gives no size.
constexpr int PLACEHOLDER_SIDE = 64;

struct Placement {
    double x = 0, y = 0;           // the box's corner on the window
    double width = 0, height = 0;  // its size in window pixels
    int natural_width = 0;         // the gauge's own size; 0 when it is not there
    int natural_height = 0;

    bool has_gauge() const { return natural_width > 0 && natural_height > 0; }
    // Window pixels per gauge pixel, each way (1 without a gauge).
    double scale_x() const { return has_gauge() ? width / natural_width : 1; }
    double scale_y() const { return has_gauge() ? height / natural_height : 1; }
    bool contains(double px, double py) const { return px >= x && py >= y && px < x + width && py < y + height; }
    // A point of the window in the gauge's own pixels.
    void to_gauge(double px, double py, int32_t* gx, int32_t* gy) const;
};

// The box of an entry whose gauge has that own size (0 x 0: not there).
Placement place_entry(const PanelGauge& entry, int natural_width, int natural_height);

// The gauge an entry places: loaded in the host and carrying the entry's
// gauge name (any letter case). Null otherwise; `why` then says so when the
// module is loaded but carries another gauge.
Gauge* placed_gauge(Host& host, const PanelGauge& entry, std::string* why = nullptr);

// A gauge's own size; false when it cannot be told (its bitmap missing).
using GaugeSize = std::function<bool(const Gauge& gauge, int* width, int* height)>;

// An entry's place with its gauge as the host has it now.
Placement place_entry(const PanelGauge& entry, Host& host, const GaugeSize& size);

// What lies under a point of a window: the topmost entry that holds it (the
// last drawn) whose gauge is there, the point in the gauge's pixels, and the
// mouse area there, if any (the first child area in list order).
struct Hit {
    size_t entry = 0;  // index into the window's gauges
    Gauge* gauge = nullptr;
    int32_t x = 0, y = 0;
    MouseRect* area = nullptr;
};
bool hit_test(const PanelWindow& window, Host& host, const GaugeSize& size, double x, double y, Hit* hit);

}  // namespace kestrel
