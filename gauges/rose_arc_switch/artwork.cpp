// The rose/arc switch's bitmaps: the grey panel with the button's white
// frame, and the button itself, marked with an arc (arc presentation) or a
// full circle (rose presentation).
#include <math.h>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t FRAME_WHITE = 0xE8E8E8;
constexpr uint32_t CAP = 0x30343A;
constexpr uint32_t CAP_LIGHT = 0x4A5058;
constexpr uint32_t SYMBOL = 0xC8CCD0;

void panel(cairo_t* cr) {
    fill_rect(cr, 0, 0, 59, 65, PANEL_GREY);
    stroke_rect(cr, 0.5, 0.5, 58, 64, 1, PANEL_DARK);
    // The white frame around the button (18, 25, 21 x 22).
    stroke_rect(cr, 15.5, 22.5, 27, 28, 1.5, FRAME_WHITE);
    fill_rect(cr, 17, 24, 23, 24, PANEL_DARK);
}

void cap(cairo_t* cr) { fill_rounded_gradient(cr, 0.5, 0.5, 20, 21, 3, CAP_LIGHT, CAP); }

void button_arc(cairo_t* cr) {
    cap(cr);
    set_colour(cr, SYMBOL);
    cairo_set_line_width(cr, 1.5);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 10.5, 17, 10, -M_PI * 0.8, -M_PI * 0.2);
    cairo_stroke(cr);
    line(cr, 10.5, 8, 10.5, 17, 1.2, SYMBOL);
}

void button_rose(cairo_t* cr) {
    cap(cr);
    stroke_circle(cr, 10.5, 11, 6.5, 1.5, SYMBOL);
    line(cr, 10.5, 3, 10.5, 7, 1.2, SYMBOL);
}

}  // namespace

const Bitmap artwork[] = {
    {0x1400, 59, 65, panel, "grey panel with the white button frame"},
    {0x1600, 21, 22, button_arc, "push button, arc presentation"},
    {0x1601, 21, 22, button_rose, "push button, rose presentation"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
