// The spoiler arm switch's bitmaps: the plate with the scale mark from OFF
// (up) to ON (right), and the rotary knob in each position.
#include <math.h>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

// The knob's centre on the plate.
constexpr double CX = 10 + 14, CY = 20 + 14;

void plate(cairo_t* cr) {
    panel_face(cr, 51, 49, false);
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
    {0x1100, 51, 49, plate, "the switch plate with its scale mark"},
    {0x100, 28, 28, knob_off, "knob up: OFF"},
    {0x101, 28, 28, knob_on, "knob turned right: ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
