// What the benchmarks measure: the development panel (panels/development/panel.cfg) with
// every gauge that is built, powered and lit, and the work of one frame done
// the way the simulator does it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "host/panel/panel_config.h"
#include "host/panel/load.h"
#include "host/render/render.h"
#include "host/render/window_picture.h"

namespace kestrel::bench {

// The development panel, loaded, past its first frame, with "power" 1 and the flaps
// at position 2, so that every lit element is lit and every text is written.
struct DemoPanel {
    Host host;
    PanelConfig config;
    Renderer renderer;

    DemoPanel();
    const PanelWindow& window() const { return config.windows.at(0); }
    // Text elements of one gauge, or of all gauges.
    static size_t text_count(const Gauge& gauge);
    size_t text_count() const;
};

// The module work of one frame for one gauge, as the simulator calls it:
// pre-update, each element's callbacks in chain order, pre-draw. The host's
// own share of a frame (refreshing the element records, copying what the
// elements show) is left out.
void module_frame(Gauge& gauge);
// Only the text elements' callbacks of the gauge.
void text_callbacks(Gauge& gauge);

// The modules report every binding of the sound library to the host, which
// keeps a log of them; a long run clears it now and then.
void trim_events(Host& host);

// The size of what each layer of a drawing painted, in source pixels.
using Layers = std::vector<Renderer::Layer>;
uint64_t pixel_count(const Layers& layers);

// The memory-copy limit for a drawing: each layer's pixels copied with
// memcpy, a row at a time, into a destination the size of the panel.
class LayerCopy {
public:
    LayerCopy(const Layers& layers, int panel_width, int panel_height);
    void run();

private:
    Layers layers_;
    std::vector<uint32_t> source_, target_;
};

}  // namespace kestrel::bench
