// The flap lever's bitmaps: the pedestal plate with its dark slot, the
// position marks 0 1 2 3 4 F, and the knob at each of its six positions.
//
// The knob frames are drawn at (-6, -15) on the gauge, so a point (x, y) of
// the gauge is (x + 6, y + 15) in a knob bitmap. The slot runs down the left
// part of the plate under the two clickable halves; position k sits at
// gauge height 11 + 20 k, level with its mark.
#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr double SLOT_X = 21;          // the slot's centre line, gauge pixels
constexpr double SLOT_TOP = 3, SLOT_BOTTOM = 119;
constexpr double KNOB_DX = 6, KNOB_DY = 15;  // gauge to knob bitmap

constexpr double position_y(int k) { return 11 + 20 * k; }

void slot_plate(cairo_t* cr) {
    // Pedestal plate, slightly lighter towards the top.
    fill_gradient(cr, 0, 0, 93, 122, 0x3C4147, 0x2E3237);
    stroke_rect(cr, 0.5, 0.5, 92, 121, 1, 0x1A1D20);
    line(cr, 1, 1.5, 92, 1.5, 1, 0x555B62);
    // The gate: a recessed channel with a bevel, then the dark slot itself.
    fill_rounded(cr, SLOT_X - 9, SLOT_TOP - 2, 18, SLOT_BOTTOM - SLOT_TOP + 4, 4, 0x24272B);
    fill_rounded(cr, SLOT_X - 4.5, SLOT_TOP, 9, SLOT_BOTTOM - SLOT_TOP, 3, NEAR_BLACK);
    line(cr, SLOT_X - 4, SLOT_TOP + 2, SLOT_X - 4, SLOT_BOTTOM - 2, 1, 0x1C1E21);
    line(cr, SLOT_X + 4.5, SLOT_TOP + 2, SLOT_X + 4.5, SLOT_BOTTOM - 2, 1, 0x4C5258);
    // Detent notches on the gate's right side, one per position.
    for (int k = 0; k < 6; ++k) fill_rect(cr, SLOT_X + 4.5, position_y(k) - 1.5, 3, 3, 0x1A1C1F);
    screw(cr, 86, 7, 3.2);
    screw(cr, 86, 115, 3.2);
}

// Engraved white marks: a tick level with each position and its figure.
void marks(cairo_t* cr) {
    static const char* const figures[] = {"0", "1", "2", "3", "4", "F"};
    for (int k = 0; k < 6; ++k) {
        const double y = position_y(k);
        line(cr, 37, y, 42, y, 1.6, MARKING_WHITE);
        text(cr, figures[k], 47.5, y + 4, 10.5, Face::SansBold, MARKING_WHITE, Align::Centre);
    }
}

// The knob seen from above: a broad grip across the slot with a white index
// line, its shadow on the plate, and the stem going down into the slot.
void knob_at(cairo_t* cr, int k) {
    const double cx = SLOT_X + KNOB_DX, cy = position_y(k) + KNOB_DY;
    // Stem (visible above and below the grip, inside the slot).
    fill_rect(cr, cx - 2.5, cy - 12, 5, 24, 0x5A6066);
    // Shadow.
    fill_rounded(cr, cx - 13, cy - 5, 28, 14, 5, 0x16181A);
    // Grip: light grey, rounded, with a lighter top edge.
    fill_rounded_gradient(cr, cx - 14, cy - 7, 28, 14, 5, 0xD4D8DC, 0x80868C);
    cairo_set_line_width(cr, 1);
    set_colour(cr, 0x3A3F44);
    rounded_rect(cr, cx - 13.5, cy - 6.5, 27, 13, 4.5);
    cairo_stroke(cr);
    // Ridges for the fingers, then the index line that reads against the marks.
    for (int i = -1; i <= 1; i += 2) line(cr, cx - 10, cy + i * 3.5, cx + 10, cy + i * 3.5, 1, 0xA4AAB0);
    line(cr, cx - 12, cy, cx + 12, cy, 1.6, 0xFFFFFF);
}

void knob_0(cairo_t* cr) { knob_at(cr, 0); }
void knob_1(cairo_t* cr) { knob_at(cr, 1); }
void knob_2(cairo_t* cr) { knob_at(cr, 2); }
void knob_3(cairo_t* cr) { knob_at(cr, 3); }
void knob_4(cairo_t* cr) { knob_at(cr, 4); }
void knob_5(cairo_t* cr) { knob_at(cr, 5); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 93, 122, slot_plate, "the pedestal plate with the dark lever slot"},
    {0x1200, 93, 122, marks, "the position marks 0 1 2 3 4 F"},
    {0x1100, 55, 149, knob_0, "the knob at position 0"},
    {0x1101, 55, 150, knob_1, "the knob at position 1"},
    {0x1102, 55, 150, knob_2, "the knob at position 2"},
    {0x1103, 55, 150, knob_3, "the knob at position 3"},
    {0x1104, 55, 150, knob_4, "the knob at position 4"},
    {0x1105, 55, 150, knob_5, "the knob at position F"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
