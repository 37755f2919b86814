// What drawing the panel costs: the demo panel (panels/a320/panel.cfg) with
// every gauge built so far, powered and lit, drawn 1:1 at dusk.
#include <benchmark/benchmark.h>

#include <stdio.h>

#include "host/panel_config.h"
#include "host/render.h"

namespace kestrel {
namespace {

struct DemoPanel {
    Host host{HostOptions{KESTREL_GAUGE_DIR, KESTREL_LIBRARY_DIR}};
    PanelConfig config = read_panel_config(SOURCE_DIR "/panels/a320/panel.cfg");
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DUSK};

    DemoPanel() {
        load_panel(host, config, KESTREL_GAUGE_DIR);
        host.frame();  // the first-draw resets
        host.registry.set("power", 1);
        host.sim.set(0x148, 2 * 16384.0 / 5);
        host.frame();
    }
};

// Drawing one frame of the panel into a surface kept from frame to frame.
void BM_DrawDemoPanel(benchmark::State& state) {
    DemoPanel panel;
    const PanelWindow& window = panel.config.windows.at(0);
    Surface surface = panel.renderer.window_picture(window, panel.host);  // bitmaps read once
    cairo_t* cr = cairo_create(surface.get());
    for (auto _ : state) {
        panel.renderer.draw_window(cr, window, panel.host);
        cairo_surface_flush(surface.get());
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface.get()));
    }
    cairo_destroy(cr);
    state.counters["gauges"] = double(panel.host.gauges().size());
    state.SetLabel(std::to_string(cairo_image_surface_get_width(surface.get())) + "x" +
                   std::to_string(cairo_image_surface_get_height(surface.get())) + " at 1:1");
}
BENCHMARK(BM_DrawDemoPanel)->Unit(benchmark::kMillisecond);

// A whole frame as `kestrel demo` makes it: the gauges' callbacks, then a
// new picture of the panel.
void BM_FrameAndPicture(benchmark::State& state) {
    DemoPanel panel;
    const PanelWindow& window = panel.config.windows.at(0);
    for (auto _ : state) {
        panel.host.frame();
        Surface s = panel.renderer.window_picture(window, panel.host);
        benchmark::DoNotOptimize(s.get());
    }
}
BENCHMARK(BM_FrameAndPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel
