// The panel's frame cost, measured on the development panel with every gauge that is
// built: the modules' work for one frame (whole panel, each gauge, the text
// elements), drawing the panel at 1:1 (whole panel, each gauge) against the
// limit of copying as many pixels with memcpy, and loading the panel.
//
//   kestrel_bench                 one table of medians (the command scripts/bench runs)
//   kestrel_bench --console       Google Benchmark's own report; its --benchmark_* options apply
//   kestrel_bench --callgrind     one frame of module work, for valgrind --tool=callgrind
//                                 (scripts/callgrind runs it and reads the counts)
//
// Gauges are found in the panel configuration, so a gauge that is built is
// measured with no change here.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <string.h>
#include <time.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/panel.h"
#include "bench/table.h"
#include "host/panel/reload.h"
#include "host/files.h"
#include "host/scenario/scenario.h"
#include "viewer/live.h"

namespace kestrel::bench {
namespace {

// ---------------------------------------------------------------------------
// Module work

void module_work_panel(benchmark::State& state) {
    DemoPanel panel;
    for (auto _ : state) {
        for (const auto& g : panel.host.gauges()) module_frame(*g);
        trim_events(panel.host);
    }
    state.counters["gauges"] = double(panel.host.gauges().size());
    state.counters["texts"] = double(panel.text_count());
}

void module_work_gauge(benchmark::State& state, const std::string& name) {
    DemoPanel panel;
    Gauge* g = panel.host.find(name);
    if (!g) {
        state.SkipWithError("gauge not loaded");
        return;
    }
    for (auto _ : state) {
        module_frame(*g);
        trim_events(panel.host);
    }
    state.counters["texts"] = double(DemoPanel::text_count(*g));
}

void module_work_texts(benchmark::State& state) {
    DemoPanel panel;
    const size_t texts = panel.text_count();
    if (texts == 0) {
        state.SkipWithError("no text elements");
        return;
    }
    for (auto _ : state)
        for (const auto& g : panel.host.gauges()) text_callbacks(*g);
    state.counters["texts"] = double(texts);
}

// The development host's whole frame: the module work and the host's own
// bookkeeping (element records refreshed, what each element shows copied,
// shared-variable changes noted).
void host_frame(benchmark::State& state) {
    DemoPanel panel;
    for (auto _ : state) {
        panel.host.frame();
        trim_events(panel.host);
    }
}

// ---------------------------------------------------------------------------
// Drawing

void draw_panel(benchmark::State& state) {
    DemoPanel panel;
    int w, h;
    panel.renderer.window_size(panel.window(), panel.host, &w, &h);
    Surface surface = new_surface(w, h);
    cairo_t* cr = cairo_create(surface.get());
    panel.renderer.draw_window(cr, panel.window(), panel.host);  // bitmaps read once
    Layers layers;
    panel.renderer.count_layers(&layers);
    for (auto _ : state) {
        layers.clear();
        panel.renderer.draw_window(cr, panel.window(), panel.host);
        cairo_surface_flush(surface.get());
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface.get()));
    }
    panel.renderer.count_layers(nullptr);
    cairo_destroy(cr);
    state.counters["layers"] = double(layers.size());
    state.counters["pixels"] = double(pixel_count(layers));
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
}

// The same layers' pixels, copied with memcpy.
void copy_panel_layers(benchmark::State& state) {
    DemoPanel panel;
    int w, h;
    panel.renderer.window_size(panel.window(), panel.host, &w, &h);
    Surface surface = new_surface(w, h);
    cairo_t* cr = cairo_create(surface.get());
    Layers layers;
    panel.renderer.count_layers(&layers);
    panel.renderer.draw_window(cr, panel.window(), panel.host);
    panel.renderer.count_layers(nullptr);
    cairo_destroy(cr);
    LayerCopy copy(layers, w, h);
    for (auto _ : state) {
        copy.run();
        benchmark::ClobberMemory();
    }
    state.counters["layers"] = double(layers.size());
    state.counters["pixels"] = double(pixel_count(layers));
}

void draw_gauge(benchmark::State& state, const std::string& name) {
    DemoPanel panel;
    Gauge* g = panel.host.find(name);
    int w = 0, h = 0;
    if (!g || !panel.renderer.natural_size(*g, &w, &h)) {
        state.SkipWithError("gauge not loaded or without a background");
        return;
    }
    Surface surface = new_surface(w, h);
    cairo_t* cr = cairo_create(surface.get());
    panel.renderer.draw_gauge(cr, *g);
    for (auto _ : state) {
        panel.renderer.draw_gauge(cr, *g);
        cairo_surface_flush(surface.get());
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface.get()));
    }
    cairo_destroy(cr);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
}

// The frames of the demo flight (panels/development/demo.kes), each drawn whole, or
// kept and brought up to date (only the gauges that changed are drawn again,
// as `kestrel demo` does). Only the drawing is timed; the counter "frame"
// is the drawing's CPU time per frame of the flight.
struct Flight {
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DUSK};
    PanelConfig config = read_panel_config(SOURCE_DIR "/panels/development/panel.cfg");
    std::unique_ptr<WindowPicture> kept;
    Surface whole;
    cairo_t* cr = nullptr;
    Host* host = nullptr;
    double seconds = 0;
    int frames = 0, redrawn = 0;
};

double thread_seconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void draw_flight(benchmark::State& state, bool keep) {
    static const std::string text = [] {
        std::string t;
        read_whole_file(SOURCE_DIR "/panels/development/demo.kes", &t);
        return t;
    }();
    Flight flight;
    double total = 0;
    int frames = 0, redrawn = 0;
    for (auto _ : state) {
        Host host(HostOptions{KESTREL_GAUGE_DIR, KESTREL_LIBRARY_DIR});
        flight.host = &host;
        flight.seconds = 0;
        flight.frames = flight.redrawn = 0;
        const PanelWindow& window = flight.config.windows.at(0);
        int w, h;
        flight.renderer.window_size(window, host, &w, &h);
        if (keep) {
            flight.kept = std::make_unique<WindowPicture>(flight.renderer, window, host);
        } else {
            flight.whole = new_surface(w, h);
            flight.cr = cairo_create(flight.whole.get());
        }
        Scenario scenario(host, "demo.kes");
        scenario.after_frame_context = &flight;
        scenario.after_frame = [](void* context, uint64_t) {
            Flight& f = *static_cast<Flight*>(context);
            const double start = thread_seconds();
            if (f.kept) {
                f.redrawn += f.kept->update();
            } else {
                f.renderer.draw_window(f.cr, f.config.windows.at(0), *f.host);
                cairo_surface_flush(f.whole.get());
                ++f.redrawn;
            }
            f.seconds += thread_seconds() - start;
            ++f.frames;
        };
        if (!scenario.run_text(text)) {
            state.SkipWithError(("demo.kes: " + scenario.error()).c_str());
            break;
        }
        if (flight.cr) cairo_destroy(flight.cr);
        flight.cr = nullptr;
        flight.kept.reset();
        state.SetIterationTime(flight.seconds);
        total += flight.seconds;
        frames += flight.frames;
        redrawn += flight.redrawn;
    }
    if (frames > 0) {
        state.counters["frame"] = total / frames;
        state.counters["frames"] = double(frames) / double(state.iterations());
        state.counters["redrawn"] = double(redrawn) / double(state.iterations());
    }
}

// A frame of `kestrel demo`: the host's frame, then a new picture of the panel.
void demo_frame(benchmark::State& state) {
    DemoPanel panel;
    for (auto _ : state) {
        panel.host.frame();
        Surface s = panel.renderer.window_picture(panel.window(), panel.host);
        benchmark::DoNotOptimize(s.get());
        trim_events(panel.host);
    }
}

// The live panel's frame (kestrel serve) through the demo flight: the flight
// played frame by frame, and after each frame the update the browsers are
// sent: the changed gauges drawn again and encoded, the variables and the
// log. Counters: the bytes sent a frame, and the pictures.
void live_flight(benchmark::State& state) {
    LiveOptions o;
    o.host = HostOptions{KESTREL_GAUGE_DIR, KESTREL_LIBRARY_DIR};
    o.artwork_dir = KESTREL_ARTWORK_DIR;
    o.panel = SOURCE_DIR "/panels/development/panel.cfg";
    o.scenarios = {SOURCE_DIR "/panels/development/demo.kes"};
    double total = 0, bytes = 0, pictures = 0;
    int frames = 0;
    for (auto _ : state) {
        LiveSession session(o);
        session.handle("pause");
        session.handle("scenario demo.kes");
        session.update();
        const double start = thread_seconds();
        while (!session.player()->finished()) {
            session.handle("step");
            session.advance(0);
            for (const Outgoing& out : session.update()) bytes += double(out.data.size());
            pictures += double(session.cost().pictures);
            ++frames;
        }
        const double seconds = thread_seconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    if (frames > 0) {
        state.counters["frame"] = total / frames;
        state.counters["frames"] = double(frames) / double(state.iterations());
        state.counters["bytes"] = bytes / frames;
        state.counters["pictures"] = pictures / frames;
    }
}

// ---------------------------------------------------------------------------
// Loading: the modules (opened, checked, installed, initialised, their first
// frame) and their artwork (every bitmap the panel draws, read from its file).

void load_panel_and_artwork(benchmark::State& state) {
    size_t gauges = 0;
    for (auto _ : state) {
        DemoPanel panel;
        Surface s = panel.renderer.window_picture(panel.window(), panel.host);
        benchmark::DoNotOptimize(s.get());
        gauges = panel.host.gauges().size();
    }
    state.counters["gauges"] = double(gauges);
}

// A module loaded again in place, as `serve --watch` does after a rebuild:
// the flap lever alone, and the broadcaster with every gauge that binds
// what it owns. (The watcher adds its wait for the file to settle.)
void reload(benchmark::State& state, const std::string& module) {
    DemoPanel panel;
    size_t gauges = 0;
    for (auto _ : state) {
        const Reloaded r = reload_module(panel.host, panel.config, KESTREL_GAUGE_DIR, module);
        if (!r.problems.empty()) state.SkipWithError(r.problems.front().c_str());
        gauges = r.modules.size();
        panel.host.frame();
        panel.renderer.forget_bitmaps(module);
        Surface s = panel.renderer.window_picture(panel.window(), panel.host);
        benchmark::DoNotOptimize(s.get());
    }
    state.counters["gauges"] = double(gauges);
}

// ---------------------------------------------------------------------------

std::vector<std::string> gauge_names() {
    DemoPanel panel;
    std::vector<std::string> names;
    for (const auto& g : panel.host.gauges()) names.push_back(g->name);
    return names;
}

// Registers every benchmark; returns how many there are.
size_t register_benchmarks() {
    const std::vector<std::string> gauges = gauge_names();
    using benchmark::kMicrosecond;
    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("module_work/panel", module_work_panel)->Unit(kMicrosecond);
    for (const std::string& name : gauges)
        benchmark::RegisterBenchmark(("module_work/" + name).c_str(), module_work_gauge, name)->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("module_work/texts", module_work_texts)->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("host_frame/panel", host_frame)->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("draw/panel", draw_panel)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("memcpy/panel", copy_panel_layers)->Unit(kMillisecond);
    for (const std::string& name : gauges)
        benchmark::RegisterBenchmark(("draw/" + name).c_str(), draw_gauge, name)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("flight/whole", draw_flight, false)->Unit(kMillisecond)->UseManualTime();
    benchmark::RegisterBenchmark("flight/kept", draw_flight, true)->Unit(kMillisecond)->UseManualTime();
    benchmark::RegisterBenchmark("demo_frame/panel", demo_frame)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("live/flight", live_flight)->Unit(kMillisecond)->Iterations(2)->UseManualTime();
    benchmark::RegisterBenchmark("load/panel", load_panel_and_artwork)->Unit(kMillisecond);
    for (const char* module : {"flap_lever", "broadcaster"})
        benchmark::RegisterBenchmark((std::string("reload/") + module).c_str(), reload, std::string(module))
            ->Unit(kMillisecond);
    return 13 + 2 * gauges.size();
}

// ---------------------------------------------------------------------------
// One frame under callgrind (--instr-atstart=no): after a few frames to warm
// up, each gauge's module work is counted and dumped under its name, then
// its text callbacks alone, then a whole-panel frame ("panel"), then one
// drawing of the panel at 1:1 ("draw"), then each gauge drawn alone at 1:1
// ("drawn NAME").

int callgrind_frame() {
    DemoPanel panel;
    for (int i = 0; i < 3; ++i)
        for (const auto& g : panel.host.gauges()) module_frame(*g);
    panel.host.events.clear();
    // The dumps' names, made before counting starts.
    std::vector<std::string> gauge_dumps, text_dumps, drawn_dumps;
    for (const auto& g : panel.host.gauges()) {
        gauge_dumps.push_back("gauge " + g->name);
        text_dumps.push_back("texts " + g->name + " " + std::to_string(DemoPanel::text_count(*g)));
        drawn_dumps.push_back("drawn " + g->name);
    }
    const auto& gauges = panel.host.gauges();
    int w, h;
    panel.renderer.window_size(panel.window(), panel.host, &w, &h);
    Surface surface = new_surface(w, h);
    cairo_t* cr = cairo_create(surface.get());
    panel.renderer.draw_window(cr, panel.window(), panel.host);  // bitmaps and fonts read
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    for (size_t i = 0; i < gauges.size(); ++i) {
        module_frame(*gauges[i]);
        CALLGRIND_DUMP_STATS_AT(gauge_dumps[i].c_str());
    }
    for (size_t i = 0; i < gauges.size(); ++i) {
        text_callbacks(*gauges[i]);
        CALLGRIND_DUMP_STATS_AT(text_dumps[i].c_str());
    }
    for (const auto& g : gauges) module_frame(*g);
    CALLGRIND_DUMP_STATS_AT("panel");
    panel.renderer.draw_window(cr, panel.window(), panel.host);
    cairo_surface_flush(surface.get());
    CALLGRIND_DUMP_STATS_AT("draw");
    for (size_t i = 0; i < gauges.size(); ++i) {
        panel.renderer.draw_gauge(cr, *gauges[i]);
        cairo_surface_flush(surface.get());
        CALLGRIND_DUMP_STATS_AT(drawn_dumps[i].c_str());
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    cairo_destroy(cr);
    return 0;
}

}  // namespace
}  // namespace kestrel::bench

int main(int argc, char** argv) {
    using namespace kestrel::bench;
    bool console = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && strcmp(argv[i], "--callgrind") == 0) return callgrind_frame();
        if (i > 0 && strcmp(argv[i], "--console") == 0) {
            console = true;
            continue;
        }
        args.push_back(argv[i]);
    }
    // The table takes medians over repetitions unless told otherwise.
    static char repetitions[] = "--benchmark_repetitions=5";
    static char min_time[] = "--benchmark_min_time=0.2";
    if (!console) {
        args.insert(args.begin() + 1, min_time);
        args.insert(args.begin() + 1, repetitions);
    }
    int n = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 2;
    const size_t total = register_benchmarks();
    if (console) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        TableReporter table(stdout, total);
        benchmark::RunSpecifiedBenchmarks(&table);
    }
    benchmark::Shutdown();
    return 0;
}
