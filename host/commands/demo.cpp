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

namespace kestrel {

namespace {

std::string base64(const std::string& in) {
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((in.size() + 2) / 3 * 4);
    for (size_t i = 0; i < in.size(); i += 3) {
        const uint32_t n = (uint8_t(in[i]) << 16) | (i + 1 < in.size() ? uint8_t(in[i + 1]) << 8 : 0) |
                           (i + 2 < in.size() ? uint8_t(in[i + 2]) : 0);
        out += table[(n >> 18) & 63];
        out += table[(n >> 12) & 63];
        out += i + 1 < in.size() ? table[(n >> 6) & 63] : '=';
        out += i + 2 < in.size() ? table[n & 63] : '=';
    }
    return out;
}

std::string html_escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Text for a single-quoted string inside a script element.
std::string js_string(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '\\' || c == '\'' || c == '<' || c == '>' || c == '&' || c < 0x20) out += format("\\x%02x", c);
        else out += static_cast<char>(c);
    }
    return out;
}

// Where the demo panel and flight are: beside the program (an installed
// copy), else in the source tree the program was built from.
std::string demo_file(const std::string& name) {
    const std::string beside = program_directory() + "/panels/a320/" + name;
    if (exists(beside)) return beside;
#ifdef KESTREL_SOURCE_DIR
    return std::string(KESTREL_SOURCE_DIR) + "/panels/a320/" + name;
#else
    return beside;
#endif
}

struct Picture {
    std::string file;     // frames/NNNN.png
    std::string png;      // its bytes
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

const char PLAYER_HEAD[] = R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Kestrel demo</title>
<style>
body{background:#15171a;color:#ddd;font:14px sans-serif;margin:20px}
h1{font-size:20px;margin:0 0 4px}h2{font-size:16px;margin:28px 0 8px}
#bar{display:flex;gap:10px;align-items:center;margin:10px 0}
button{background:#333a42;color:#eee;border:1px solid #556;border-radius:4px;padding:4px 12px;font-size:14px}
#seek{flex:1}#phase{color:#fc6;min-width:16em}
img{image-rendering:auto;max-width:100%;border:1px solid #333}
.mono{font-family:monospace;color:#aaa}
</style></head><body>
)";

const char PLAYER_SCRIPT[] = R"(<script>
const img=document.getElementById('frame'),seek=document.getElementById('seek'),
 phase=document.getElementById('phase'),clock=document.getElementById('clock'),
 play=document.getElementById('play'),speed=document.getElementById('speed');
const end=pictures.length?pictures[pictures.length-1].t+1:0;
let t=0,playing=true,last=null,shown=-1;
seek.max=end;
function at(time){let i=0;while(i+1<pictures.length&&pictures[i+1].t<=time)i++;return i;}
function show(){const i=at(t);if(i!==shown&&pictures.length){shown=i;img.src=pictures[i].src;phase.textContent=pictures[i].p;}
 clock.textContent='frame '+(pictures.length?pictures[i].f:0)+'  '+t.toFixed(1)+' s / '+end.toFixed(1)+' s';seek.value=t;}
function step(now){if(last!==null&&playing){t+=(now-last)/1000*parseFloat(speed.value);if(t>=end){t=end;playing=false;play.textContent='Play';}}
 last=now;show();requestAnimationFrame(step);}
play.onclick=()=>{if(t>=end)t=0;playing=!playing;play.textContent=playing?'Pause':'Play';};
seek.oninput=()=>{t=parseFloat(seek.value);show();};
document.getElementById('prev').onclick=()=>{playing=false;play.textContent='Play';const i=at(t);t=pictures[Math.max(i-1,0)].t;show();};
document.getElementById('next').onclick=()=>{playing=false;play.textContent='Play';const i=at(t);t=pictures[Math.min(i+1,pictures.length-1)].t;show();};
requestAnimationFrame(step);
</script></body></html>
)";

void write_player(const std::string& path, const std::vector<Picture>& pictures, const std::string& sheet_png,
                  const std::string& panel, const std::string& scenario, double seconds, const char* light) {
    std::string h = PLAYER_HEAD;
    h += "<h1>Kestrel demo flight</h1>\n<div class=mono>" + html_escape(panel) + " &middot; " +
         html_escape(scenario) + " &middot; " + format("%.1f s simulated, %zu pictures, %s lighting", seconds,
                                                       pictures.size(), light) +
         "</div>\n";
    h += "<div id=bar><button id=play>Pause</button><button id=prev>&#9664;</button>"
         "<button id=next>&#9654;</button><input id=seek type=range min=0 step=0.01>"
         "<select id=speed><option value=0.5>0.5&times;</option><option value=1 selected>1&times;</option>"
         "<option value=2>2&times;</option><option value=4>4&times;</option></select>"
         "<span id=phase></span><span id=clock class=mono></span></div>\n";
    h += "<img id=frame alt=\"the panel\">\n";
    h += "<h2>Every gauge alone, at the end of the flight</h2>\n<img alt=\"contact sheet\" src=\"data:image/png;base64," +
         base64(sheet_png) + "\">\n";
    h += "<script>const pictures=[\n";
    for (const Picture& p : pictures) {
        h += format("{f:%llu,t:%.4f,p:'", static_cast<unsigned long long>(p.frame), p.seconds) + js_string(p.phase) +
             "',src:'data:image/png;base64," + base64(p.png) + "'},\n";
    }
    h += "];</script>\n";
    h += PLAYER_SCRIPT;
    write_file(path, h.data(), h.size());
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
    const PanelWindow& window = config.windows.front();
    Run run(host, file_stem(o.scenario) + ".kes");
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
        p.png = png_bytes(s);
        p.frame = frame;
        p.seconds = run.seconds;
        p.phase = phase;
        if (!write_file(o.out + "/" + p.file, p.png.data(), p.png.size())) write_failed = true;
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

    write_player(o.out + "/index.html", pictures, sheet_png, o.panel, o.scenario, run.seconds, o.light.name);
    if (write_failed) {
        fprintf(stderr, "kestrel: some pictures could not be written to %s\n", o.out.c_str());
        return 1;
    }
    printf("demo: %llu frames (%.1f s), %zu distinct pictures in %s/frames, contact sheet %s/contact_sheet.png\n",
           static_cast<unsigned long long>(host.sim.frame()), run.seconds, pictures.size(), o.out.c_str(),
           o.out.c_str());
    char where[PATH_MAX];
    const std::string page = o.out + "/index.html";
    printf("demo: open %s in a web browser to watch it\n", realpath(page.c_str(), where) ? where : page.c_str());
    if (run.scenario.failures()) {
        fprintf(stderr, "kestrel: the demo flight had %d failed expectations or faults (see %s/transcript.txt)\n",
                run.scenario.failures(), o.out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace kestrel
