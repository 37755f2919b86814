// The gear handle's bitmaps: the panel with the dark slot, the white markings
// that lead from the slot's ends to the UP and DN captions, and the knob,
// shaped like a small wheel as on the real handle.
//
// The knob (13x24) is drawn at (3, 5) and slides 49 pixels down the slot, so
// its centre stands at y = 17 when up and y = 66 when down.
#include <utility>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr double SLOT_X = 9.5;  // the slot's centre line
constexpr double UP_Y = 17, DOWN_Y = 66;

void slot(cairo_t* cr) {
    panel_face(cr, 40, 92, false);
    fill_rounded(cr, SLOT_X - 6, 3, 12, 79, 4, OVERHEAD_SHADE);
    fill_rounded(cr, SLOT_X - 3, 5, 6, 75, 3, NEAR_BLACK);
    line(cr, SLOT_X + 3.5, 8, SLOT_X + 3.5, 77, 1, OVERHEAD_LIGHT);
}

// A frame round the slot, and an arrow from each end position to its caption.
void markings(cairo_t* cr) {
    cairo_set_line_width(cr, 1.2);
    set_colour(cr, MARKING_WHITE);
    rounded_rect(cr, SLOT_X - 7.5, 1.5, 15, 82, 4);
    cairo_stroke(cr);
    for (const auto& [y, tip] : {std::pair{UP_Y, 12.0}, {DOWN_Y, 82.0}}) {
        line(cr, SLOT_X + 8, y, 23, y, 1.4, MARKING_WHITE);
        line(cr, 23, y, 23, tip, 1.4, MARKING_WHITE);
        const double dir = tip < y ? -1 : 1;
        set_colour(cr, MARKING_WHITE);
        cairo_move_to(cr, 20, tip - dir * 3);
        cairo_line_to(cr, 26, tip - dir * 3);
        cairo_line_to(cr, 23, tip + dir * 1);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

// The wheel seen tread-on: a rounded tyre, light at the top, with tread lines.
void knob(cairo_t* cr) {
    fill_rounded_gradient(cr, 0, 0, 13, 24, 4.5, 0xE6E8EA, 0x8A9096);
    cairo_set_line_width(cr, 1);
    set_colour(cr, 0x3A3F44);
    rounded_rect(cr, 0.5, 0.5, 12, 23, 4);
    cairo_stroke(cr);
    for (double y = 5; y < 21; y += 3.5) line(cr, 2.5, y, 10.5, y, 1, 0x9AA0A6);
    line(cr, 1, 12, 12, 12, 1.4, 0x505860);
}

}  // namespace

const Bitmap artwork[] = {
    {0x1300, 40, 92, slot, "the panel with the gear handle slot"},
    {0x1500, 40, 92, markings, "the slot's markings"},
    {0x1100, 13, 24, knob, "the gear handle knob"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
