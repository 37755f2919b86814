// The fuel panel's bitmaps: the panel with the fuel system painted as a
// picture (tank pumps, engine and APU feeds, the crossfeed valve) and the
// three "ON" legends of the feed selector.
#include <math.h>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

// A valve in a feed line: a circle with its bar along the line when open.
void valve(cairo_t* cr, double cx, double cy) {
    fill_circle(cr, cx, cy, 4.5, OVERHEAD_FACE);
    stroke_circle(cr, cx, cy, 4.5, 1, OVERHEAD_LINE);
    line(cr, cx - 4.5, cy, cx + 4.5, cy, 1, OVERHEAD_LINE);
}

void arrow_up(cairo_t* cr, double x, double y) {
    set_colour(cr, OVERHEAD_LINE);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x - 2.5, y + 4);
    cairo_line_to(cr, x + 2.5, y + 4);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void panel(cairo_t* cr) {
    panel_face(cr, 290, 76);
    const uint32_t L = OVERHEAD_LINE;

    // The engine feed line across the top, the engines and the APU above it.
    line(cr, 22, 24.5, 268, 24.5, 1, L);
    for (double x : {45.5, 244.5}) {
        line(cr, x, 24, x, 15, 1, L);
        arrow_up(cr, x, 11);
    }
    marking(cr, "ENG 1", 45.5, 9, 6);
    marking(cr, "ENG 2", 244.5, 9, 6);
    line(cr, 200.5, 24, 200.5, 15, 1, L);
    arrow_up(cr, 200.5, 11);
    marking(cr, "APU", 200.5, 9, 6);
    valve(cr, 145.5, 24.5);
    marking(cr, "X FEED", 145.5, 16, 5.5);
    marking(cr, "FUEL", 100, 11, 7.5);

    // Tank pumps: lines up into the feed.
    for (double x : {22.0, 50.0, 240.0, 268.0}) line(cr, x + 0.5, 24, x + 0.5, 44, 1, L);
    marking(cr, "L TK PUMPS", 36, 40, 5.5);
    marking(cr, "R TK PUMPS", 254, 40, 5.5);
    push_button(cr, 12, 45, 20, 19, "FAULT", "OFF");
    push_button(cr, 40, 45, 20, 19, "FAULT", "OFF");
    push_button(cr, 230, 45, 20, 19, "FAULT", "OFF");
    push_button(cr, 258, 45, 20, 19, "FAULT", "OFF");
    for (double x : {22.0, 50.0, 240.0, 268.0}) marking(cr, x == 22.0 || x == 240.0 ? "1" : "2", x, 71.5, 5.5);

    // The feed selector: lines down to LEFT, ALL and RIGHT (their captions
    // and legends are the gauge's own).
    line(cr, 114.5, 24, 114.5, 35, 1, L);
    line(cr, 177.5, 24, 177.5, 35, 1, L);
    line(cr, 147.5, 29, 147.5, 45, 1, L);
    push_button(cr, 105, 56, 20, 18, "", "ON");
    push_button(cr, 137, 56, 20, 18, "", "ON");
    push_button(cr, 168, 56, 20, 18, "", "ON");
    group_frame(cr, 99, 31, 95, 44, 0, 0);
}

void on_light(cairo_t* cr) { legend(cr, 18, 9, "ON", LEGEND_BLUE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 290, 76, panel, "fuel panel with the fuel system picture"},
    {0x1100, 18, 9, on_light, "LEFT ON"},
    {0x1200, 18, 9, on_light, "ALL ON"},
    {0x1300, 18, 9, on_light, "RIGHT ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
