// The background bitmaps of the Kestrel cockpit, drawn at build time from
// its panel.cfg: for each window that names a bitmap, the panel surfaces,
// the frames and screws, and a cut-out under each gauge at the place the
// panel.cfg gives it, so that the places are written once.
//
//   cockpit_background PANEL.cfg OUTPUT_FOLDER
//
// The main window (ident MAIN_PANEL) is the captain's view: the windshield
// above, pure black, which the simulator shows as the outside world; the
// glareshield over the autopilot panels; the instrument panel in an
// airliner's grey beneath. The pop-up windows are console panels. A window
// wider than 1024 of its own pixels gets a bitmap 1024 wide (the simulator
// stretches it over the window); a smaller one a bitmap of its own size.
// Every bitmap is 24-bit.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "host/files.h"
#include "host/panel/panel_config.h"
#include "tools/artwork/artwork.h"
#include "tools/artwork/bmp_file.h"
#include "tools/artwork/panel_parts.h"

namespace {

using namespace kestrel;
using namespace kestrel::art;

constexpr int WIDEST_BITMAP = 1024;

constexpr uint32_t PANEL_TOP = 0x66717C, PANEL_BOTTOM = 0x56606A;  // the instrument panel's grey
constexpr uint32_t PANEL_SEAM = 0x434B53, PANEL_EDGE = 0x7D8893;
constexpr uint32_t GLARE_TOP = 0x34383D, GLARE_BOTTOM = 0x1E2125;  // the glareshield's black paint
constexpr uint32_t FRAME_POST = 0x3A4047;                          // windshield frame
constexpr uint32_t KNEE_TOP = 0x4A535C, KNEE_BOTTOM = 0x3E464E;

// The gauges that stand on the glareshield.
bool on_glareshield(const PanelGauge& g) { return g.module.compare(0, 14, "autopilot_pane") == 0; }

struct Box {
    double x0, y0, x1, y1;
};

Box box_of(const PanelGauge& g) { return {double(g.x), double(g.y), double(g.x + g.width), double(g.y + g.height)}; }

// A raised bezel round a gauge's place: a shadow below and right, a lit edge
// above and left, and a screw in each corner when there is room.
void bezel(cairo_t* cr, const Box& b, double margin) {
    const double x = b.x0 - margin, y = b.y0 - margin, w = b.x1 - b.x0 + 2 * margin, h = b.y1 - b.y0 + 2 * margin;
    fill_rect(cr, x + 2, y + 2, w, h, PANEL_SEAM);
    fill_rounded_gradient(cr, x, y, w, h, 3, 0x505962, 0x3F474F);
    line(cr, x + 1, y + 0.5, x + w - 1, y + 0.5, 1, PANEL_EDGE);
    line(cr, x + 0.5, y + 1, x + 0.5, y + h - 1, 1, PANEL_EDGE);
    if (w < 60 || h < 60) return;
    const double r = std::min(3.2, margin * 0.45);
    for (double sx : {x + margin * 0.5 + 0.5, x + w - margin * 0.5 - 0.5})
        for (double sy : {y + margin * 0.5 + 0.5, y + h - margin * 0.5 - 0.5}) screw(cr, sx, sy, r);
}

// The cut-out: pure black, not smoothed, over the whole place, so that no
// panel paint shows through a gauge's own see-through pixels.
void cut_out(cairo_t* cr, const Box& b) {
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, floor(b.x0) - 1, floor(b.y0) - 1, ceil(b.x1) - floor(b.x0) + 2, ceil(b.y1) - floor(b.y0) + 2);
    cairo_fill(cr);
    cairo_restore(cr);
}

void draw_main(cairo_t* cr, const PanelWindow& w, double sx, double sy) {
    const double width = w.width, height = w.height;
    // The glareshield spans the glareshield gauges with a margin; the
    // windshield is everything above it.
    double glare_top = height * 0.33, glare_bottom = height * 0.45;
    bool any = false;
    for (const PanelGauge& g : w.gauges) {
        if (!on_glareshield(g)) continue;
        glare_top = any ? std::min(glare_top, g.y - 15.0) : g.y - 15.0;
        glare_bottom = any ? std::max(glare_bottom, g.y + g.height + 13.0) : g.y + g.height + 13.0;
        any = true;
    }
    double panel_bottom = 0;
    for (const PanelGauge& g : w.gauges)
        if (!on_glareshield(g) && g.module != "broadcaster") panel_bottom = std::max(panel_bottom, g.y + g.height + 6.0);

    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    // Windshield frame: the posts between the panes, seen from the left seat.
    set_colour(cr, FRAME_POST);
    cairo_move_to(cr, width * 0.56, 0);
    cairo_line_to(cr, width * 0.60, 0);
    cairo_line_to(cr, width * 0.585, glare_top);
    cairo_line_to(cr, width * 0.555, glare_top);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, width * 0.035, 0);
    cairo_line_to(cr, width * 0.075, glare_top);
    cairo_line_to(cr, 0, glare_top);
    cairo_close_path(cr);
    cairo_fill(cr);

    // The instrument panel and the knee panel below it.
    fill_gradient(cr, 0, glare_bottom, width, panel_bottom - glare_bottom, PANEL_TOP, PANEL_BOTTOM);
    fill_gradient(cr, 0, panel_bottom, width, height - panel_bottom, KNEE_TOP, KNEE_BOTTOM);
    line(cr, 0, panel_bottom + 0.5, width, panel_bottom + 0.5, 2, PANEL_SEAM);
    for (double x : {width * 0.25, width * 0.5, width * 0.75})
        for (double y : {panel_bottom + 14, height - 14}) screw(cr, x, y, 4);
    // The glareshield: its black paint, its rounded lip, its shadow on the panel.
    fill_gradient(cr, 0, glare_bottom, width, 18, 0x2A2E33, PANEL_TOP);
    fill_gradient(cr, 0, glare_top, width, glare_bottom - glare_top, GLARE_TOP, GLARE_BOTTOM);
    line(cr, 0, glare_top + 1, width, glare_top + 1, 2, 0x4A5058);
    line(cr, 0, glare_bottom - 1, width, glare_bottom - 1, 2, 0x121416);

    for (const PanelGauge& g : w.gauges) {
        if (g.module == "broadcaster") continue;  // a plain plate on the knee panel
        bezel(cr, box_of(g), on_glareshield(g) ? 6 : 9);
    }
    for (const PanelGauge& g : w.gauges) cut_out(cr, box_of(g));
    cairo_restore(cr);
}

void draw_console(cairo_t* cr, const PanelWindow& w, double sx, double sy) {
    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    panel_face(cr, w.width, w.height, true);
    for (const PanelGauge& g : w.gauges) {
        const Box b = box_of(g);
        fill_rect(cr, b.x0 - 3, b.y0 - 3, b.x1 - b.x0 + 6, b.y1 - b.y0 + 6, OVERHEAD_SHADE);
        line(cr, b.x0 - 3, b.y1 + 3.5, b.x1 + 3, b.y1 + 3.5, 1, OVERHEAD_LIGHT);
    }
    for (const PanelGauge& g : w.gauges) cut_out(cr, box_of(g));
    cairo_restore(cr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s PANEL.cfg OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const PanelConfig config = read_panel_config(argv[1]);
    for (const PanelProblem& p : config.problems)
        if (p.severity == Severity::Error) {
            for (const std::string& m : config.messages()) fprintf(stderr, "%s\n", m.c_str());
            return 1;
        }
    std::string error;
    if (!make_dirs(argv[2], &error)) {
        fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    for (const PanelWindow& w : config.windows) {
        if (w.bitmap.empty() || w.width <= 0 || w.height <= 0) continue;
        if (!plain_file_name(w.bitmap)) {
            fprintf(stderr, "%s: %s: not a file name\n", argv[0], w.bitmap.c_str());
            return 1;
        }
        const int bw = std::min(w.width, WIDEST_BITMAP);
        const int bh = static_cast<int>(lround(double(w.height) * bw / w.width));
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, bw, bh);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        const double sx = double(bw) / w.width, sy = double(bh) / w.height;
        if (w.ident == "MAIN_PANEL") draw_main(cr, w, sx, sy);
        else draw_console(cr, w, sx, sy);
        cairo_destroy(cr);
        const std::string path = std::string(argv[2]) + "/" + w.bitmap;
        const bool written = write_bmp(s, path);
        cairo_surface_destroy(s);
        if (!written) {
            fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
