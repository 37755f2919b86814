// The spoiler lever's bitmaps: the plate with the slot, the scale marks RET,
// 1/2 and FULL, and the knob at each of its five positions.
//
// The knob frames are drawn at (33, 0), so a point (x, y) of the gauge is
// (x - 33, y) in a knob bitmap; the slot runs down at gauge x = 44.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr double SLOT_X = 44;
constexpr double POSITIONS[] = {8, 23, 39, 55, 69};  // knob centres, gauge y

void plate(cairo_t* cr) {
    panel_face(cr, 61, 89, false);
    fill_rounded(cr, SLOT_X - 7, 2, 14, 80, 4, OVERHEAD_SHADE);
    fill_rounded(cr, SLOT_X - 3, 4, 6, 76, 3, NEAR_BLACK);
    line(cr, SLOT_X + 3.5, 6, SLOT_X + 3.5, 78, 1, OVERHEAD_LIGHT);
    screw(cr, 6, 6, 2.4);
    screw(cr, 6, 83, 2.4);
}

// A tick beside each position, longer at the ends and at half; RET, 1/2 and
// FULL beside them (SPEED BRK is the gauge's own caption).
void marks(cairo_t* cr) {
    for (int k = 0; k < 5; ++k) {
        const double y = POSITIONS[k];
        const double w = (k == 0 || k == 2 || k == 4) ? 6 : 3.5;
        line(cr, SLOT_X - 8 - w, y, SLOT_X - 8, y, 1.4, MARKING_WHITE);
    }
    text(cr, "RET", SLOT_X - 16, POSITIONS[0] + 3, 8, Face::NarrowBold, MARKING_WHITE, Align::Right);
    text(cr, "1/2", SLOT_X - 16, POSITIONS[2] - 6, 7, Face::NarrowBold, MARKING_WHITE, Align::Right);
    text(cr, "FULL", SLOT_X - 16, POSITIONS[4] + 4, 8, Face::NarrowBold, MARKING_WHITE, Align::Right);
}

// The knob: a grey grip across the slot with a white index line.
void knob_at(cairo_t* cr, int k) {
    const double cx = SLOT_X - 33, cy = POSITIONS[k];
    fill_rect(cr, cx - 2, cy - 8, 4, 16, 0x5A6066);
    fill_rounded_gradient(cr, cx - 10, cy - 5.5, 20, 11, 4, 0xD4D8DC, 0x80868C);
    cairo_set_line_width(cr, 1);
    set_colour(cr, 0x3A3F44);
    rounded_rect(cr, cx - 9.5, cy - 5, 19, 10, 3.5);
    cairo_stroke(cr);
    line(cr, cx - 9, cy, cx + 9, cy, 1.4, 0xFFFFFF);
}

void knob_0(cairo_t* cr) { knob_at(cr, 0); }
void knob_1(cairo_t* cr) { knob_at(cr, 1); }
void knob_2(cairo_t* cr) { knob_at(cr, 2); }
void knob_3(cairo_t* cr) { knob_at(cr, 3); }
void knob_4(cairo_t* cr) { knob_at(cr, 4); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 61, 89, plate, "the plate with the spoiler lever slot"},
    {0x1200, 61, 89, marks, "the scale marks RET 1/2 FULL"},
    {0x1100, 22, 77, knob_0, "the knob retracted"},
    {0x1101, 22, 77, knob_1, "the knob at position 1"},
    {0x1102, 22, 77, knob_2, "the knob at position 2"},
    {0x1103, 22, 77, knob_3, "the knob at position 3"},
    {0x1104, 22, 77, knob_4, "the knob at full"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
