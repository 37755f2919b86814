// kestrel demo: the demo flight over a panel, as frames, a contact sheet of
// every gauge, and a page that plays them.
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>

#include "host/commands/pictures.h"
#include "host/commands/commands.h"
#include "host/files.h"
#include "host/panel/load.h"
#include "host/render/render.h"
#include "host/render/window_picture.h"
#include "host/util.h"
#include "host/web_files.h"

namespace kestrel {

namespace {

// A JSON string, safe inside a script element: <, > and & are escaped too,
// so no "</script>" can end the element early. Bytes from 0x80 up pass as
// they are (the page is UTF-8).
std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') out += std::string("\\") + static_cast<char>(c);
        else if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == 0x7F) out += format("\\u%04x", c);
        else out += static_cast<char>(c);
    }
    return out + "\"";
}

// Where the development panel and flight are: beside the program (an installed
// copy), else in the source tree the program was built from.
std::string demo_file(const std::string& name) {
    const std::string beside = program_directory() + "/panels/development/" + name;
    if (exists(beside)) return beside;
#ifdef KESTREL_SOURCE_DIR
    return std::string(KESTREL_SOURCE_DIR) + "/panels/development/" + name;
#else
    return beside;
#endif
}

struct Picture {
    std::string file;     // frames/NNNN.png
    uint64_t frame;       // the first frame that showed it
    double seconds;       // and when
    std::string phase;
};

// Every gauge alone, in a grid, each with its name and size beneath.
Surface contact_sheet(Renderer& renderer, Host& host, const PanelConfig& config) {
    std::vector<Gauge*> gauges;
    for (const PanelWindow& w : config.windows)
        for (const PanelGauge& e : w.gauges)
            if (Gauge* g = host.find(e.module); g && std::find(gauges.begin(), gauges.end(), g) == gauges.end())
                gauges.push_back(g);
    for (const auto& g : host.gauges())
        if (std::find(gauges.begin(), gauges.end(), g.get()) == gauges.end()) gauges.push_back(g.get());

    constexpr int PAD = 16, LABEL = 30, MAX_ROW = 1400;
    struct Cell {
        Gauge* gauge;
        int w, h, x, y;
    };
    std::vector<Cell> cells;
    int x = PAD, y = PAD, row_h = 0, sheet_w = 2 * PAD;
    for (Gauge* g : gauges) {
        int w = 60, h = 40;
        renderer.natural_size(*g, &w, &h);
        const int cell_w = std::max(w, 110);
        if (x > PAD && x + cell_w > MAX_ROW) {
            x = PAD;
            y += row_h + LABEL + PAD;
            row_h = 0;
        }
        cells.push_back({g, w, h, x, y});
        x += cell_w + PAD;
        row_h = std::max(row_h, h);
        sheet_w = std::max(sheet_w, x);
    }
    const int sheet_h = y + row_h + LABEL + PAD;
    Surface sheet = new_surface(sheet_w, sheet_h);
    cairo_t* cr = cairo_create(sheet.get());
    cairo_set_source_rgb(cr, 0.10, 0.11, 0.12);
    cairo_paint(cr);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    for (const Cell& c : cells) {
        cairo_set_source_rgb(cr, 0.2, 0.22, 0.24);
        cairo_rectangle(cr, c.x - 2, c.y - 2, c.w + 4, c.h + 4);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, c.x, c.y);
        renderer.draw_gauge(cr, *c.gauge);
        cairo_restore(cr);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        cairo_set_font_size(cr, 12);
        cairo_move_to(cr, c.x, c.y + c.h + 16);
        cairo_show_text(cr, c.gauge->name.c_str());
        cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
        cairo_set_font_size(cr, 10);
        cairo_move_to(cr, c.x, c.y + c.h + 28);
        cairo_show_text(cr, format("%dx%d", c.w, c.h).c_str());
    }
    cairo_destroy(cr);
    return sheet;
}

// index.html: the page, with the flight's pictures listed in it by their
// files beside it (frames/NNNN.png, contact_sheet.png), not their bytes.
bool write_player(const std::string& path, const std::vector<Picture>& pictures, const std::string& sheet_png,
                  const std::string& panel, const std::string& scenario, double seconds, const char* light) {
    std::string data = "{\"panel\": " + json_string(panel) + ", \"scenario\": " + json_string(scenario) +
                       format(", \"seconds\": %.4f, \"light\": ", seconds) + json_string(light) +
                       ", \"sheet\": " + json_string(sheet_png.empty() ? "" : "contact_sheet.png") +
                       ",\n\"pictures\": [\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = pictures[i];
        data += format("{\"frame\": %llu, \"time\": %.4f, \"phase\": ", static_cast<unsigned long long>(p.frame),
                       p.seconds) +
                json_string(p.phase) + ", \"file\": " + json_string(p.file) + "}" +
                (i + 1 < pictures.size() ? ",\n" : "\n");
    }
    data += "]}";
    // The page's element script#demo holds the marker DEMO_DATA.
    const WebFile* file = find_demo_file("/demo.html");
    std::string page(reinterpret_cast<const char*>(file->data), file->size);
    const size_t at = page.find("DEMO_DATA");
    if (at == std::string::npos) {
        fprintf(stderr, "kestrel: the built-in demo page has no place for its pictures\n");
        return false;
    }
    page.replace(at, strlen("DEMO_DATA"), data);
    return write_file(path, page.data(), page.size());
}

}  // namespace

int demo_command(PictureOptions o, const HostOptions& host_options, const std::string& artwork_dir) {
    if (o.panel.empty()) o.panel = demo_file("panel.cfg");
    if (o.scenario.empty()) o.scenario = demo_file("demo.kes");

    PanelConfig config = read_panel_config(o.panel);
    match_module_names(&config, host_options.gauge_dir);
    if (config.windows.empty()) {
        print_all(config.messages());
        return 2;
    }
    std::string text;
    if (!read_whole_file(o.scenario, &text)) {
        fprintf(stderr, "kestrel: cannot read the demo flight %s\n", o.scenario.c_str());
        return 2;
    }
    std::string error;
    if (!make_dirs(o.out + "/frames", &error) || !make_dirs(o.out + "/gauges", &error)) {
        fprintf(stderr, "kestrel: %s\n", error.c_str());
        return 2;
    }
    print_all(config.messages());
    // Modules that are not installed, on one line: their gauges are drawn
    // as placeholders.
    const std::vector<std::string> missing = missing_modules(config, host_options.gauge_dir, true);
    if (!missing.empty()) {
        std::string list;
        for (const std::string& m : missing) list += (list.empty() ? "" : ", ") + m;
        fprintf(stderr, "%s: not in the Gauges folder, drawn as placeholders: %s\n", o.panel.c_str(), list.c_str());
    }

    Host host(host_options);
    Renderer renderer(artwork_dir, o.light);
    renderer.set_colors(config.colors);
    renderer.set_placeholders(true);
    // The main window (the first that starts visible), where the flight shows.
    const PanelWindow& window = main_window(config) ? *main_window(config) : config.windows.front();
    Run run(host, file_stem(o.scenario) + ".kes");
    run.scenario.folder = folder_of(o.scenario);
    std::vector<Picture> pictures;
    std::string phase;
    std::vector<uint8_t> previous;  // the last picture's pixels
    bool write_failed = false;
    const bool tty = isatty(fileno(stderr));
    // Kept from frame to frame: only the gauges that changed are drawn again.
    WindowPicture picture(renderer, window, host, o.scale);

    run.on_frame = [&](uint64_t frame) {
        const bool redrawn = picture.update();
        const bool same_phase = pictures.empty() || pictures.back().phase == phase;
        if (!redrawn && !previous.empty() && same_phase) return;
        cairo_surface_t* s = picture.surface();
        const uint8_t* data = cairo_image_surface_get_data(s);
        const size_t size = size_t(cairo_image_surface_get_stride(s)) * cairo_image_surface_get_height(s);
        if (previous.size() == size && memcmp(previous.data(), data, size) == 0 && same_phase) return;
        previous.assign(data, data + size);
        Picture p;
        p.file = format("frames/%04llu.png", static_cast<unsigned long long>(frame));
        p.frame = frame;
        p.seconds = run.seconds;
        p.phase = phase;
        // Written as it is made: the page refers to the file, so the bytes
        // are not kept.
        const std::string png = png_bytes(s);
        if (!write_file(o.out + "/" + p.file, png.data(), png.size())) write_failed = true;
        pictures.push_back(std::move(p));
    };

    std::string transcript;
    std::string sheet_png;
    bool sheet_written = false;
    // The contact sheet, and each gauge alone in gauges/NAME.png.
    auto write_sheet = [&] {
        sheet_written = true;
        if (const std::vector<std::string> names = unplaced(host, config); !names.empty())
            fprintf(stderr, "%s\n", unplaced_line(config, names).c_str());
        Surface sheet = contact_sheet(renderer, host, config);
        sheet_png = png_bytes(sheet.get());
        if (!write_file(o.out + "/contact_sheet.png", sheet_png.data(), sheet_png.size())) write_failed = true;
        for (const auto& g : host.gauges()) {
            Surface alone = renderer.gauge_picture(*g, 1.0);
            const std::string png = png_bytes(alone.get());
            if (!write_file(o.out + "/gauges/" + g->name + ".png", png.data(), png.size())) write_failed = true;
        }
    };
    auto before = [&](const Command& c) {
        // "## Flaps out" names the phase that follows; the contact sheet
        // shows the gauges before the flight's last lines unload them.
        if (!c.heading.empty()) phase = c.heading;
        if (c.kind == Command::Unload && !sheet_written) write_sheet();
    };
    auto after = [&] {
        transcript += run.scenario.take_transcript();
        if (tty)
            fprintf(stderr, "\rdemo: %3d%%  frame %llu (%.1f s)  %zu pictures  %-28.28s", int(run.done * 100),
                    static_cast<unsigned long long>(host.sim.frame()), run.seconds, pictures.size(), phase.c_str());
    };
    if (!run.play(text, before, after)) {
        if (tty) fputc('\n', stderr);
        fprintf(stderr, "%s\n", run.scenario.error().c_str());
        return 2;
    }
    if (tty) fputc('\n', stderr);
    if (!sheet_written) write_sheet();
    transcript += format("end: %d expectations, %d failed or faults\n", run.scenario.expectations(),
                         run.scenario.failures());
    write_file(o.out + "/transcript.txt", transcript.data(), transcript.size());
    print_all(renderer.take_notes());

    if (!write_player(o.out + "/index.html", pictures, sheet_png, o.panel, o.scenario, run.seconds, o.light.name))
        write_failed = true;
    if (write_failed) {
        fprintf(stderr, "kestrel: some pictures could not be written to %s\n", o.out.c_str());
        return 1;
    }
    printf("demo: %llu frames (%.1f s), %zu distinct pictures in %s/frames, contact sheet %s/contact_sheet.png\n",
           static_cast<unsigned long long>(host.sim.frame()), run.seconds, pictures.size(), o.out.c_str(),
           o.out.c_str());
    const std::string page = o.out + "/index.html";
    char* where = realpath(page.c_str(), nullptr);  // as long as it needs
    printf("demo: open %s in a web browser to watch it\n", where ? where : page.c_str());
    free(where);
    if (run.scenario.failures()) {
        fprintf(stderr, "kestrel: the demo flight had %d failed expectations or faults (see %s/transcript.txt)\n",
                run.scenario.failures(), o.out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace kestrel
