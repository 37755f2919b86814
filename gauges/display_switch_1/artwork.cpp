// Display switch 1's bitmaps: the grey panel with the curved scale mark from
// OFF to ON, and the rotary knob pointing up to OFF and right to ON.
#include <math.h>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

// The knob's centre on the panel.
constexpr double CX = 24, CY = 20 + 14;

void panel(cairo_t* cr) {
    fill_rect(cr, 0, 0, 51, 49, OVERHEAD_FACE);
    stroke_rect(cr, 0.5, 0.5, 50, 48, 1, OVERHEAD_SHADE);
    // The scale mark: a quarter circle around the knob, up (OFF) to right (ON).
    set_colour(cr, OVERHEAD_LINE);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, CX, CY, 15.5, -M_PI / 2, 0);
    cairo_stroke(cr);
    line(cr, CX, CY - 17.5, CX, CY - 13.5, 1.5, OVERHEAD_LINE);
    line(cr, CX + 13.5, CY, CX + 17.5, CY, 1.5, OVERHEAD_LINE);
    fill_circle(cr, CX, CY, 13, OVERHEAD_SHADE);
}

void knob_off(cairo_t* cr) { rotary_knob(cr, 14, 14, 12, 0); }
void knob_on(cairo_t* cr) { rotary_knob(cr, 14, 14, 12, 90); }

}  // namespace

const Bitmap artwork[] = {
    {0x1100, 51, 49, panel, "grey panel with the scale mark"},
    {0x100, 28, 28, knob_off, "knob pointing up to OFF"},
    {0x100 + 1, 28, 28, knob_on, "knob pointing right to ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
