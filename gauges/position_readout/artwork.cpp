// The position readout's bitmaps: the black screen in its bezel with the
// small switch button in the top-left corner, the corner mark that lights in
// that button, and the blank overlay that covers the screen while it is off.
// The overlay covers the screen only: the rest of it is pure black, which is
// transparent, so the bezel and the corner button stay in sight.
#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t BEZEL_TOP = 0x34383D, BEZEL_BOTTOM = 0x25282C;
constexpr uint32_t EDGE_LIGHT = 0x545A61, EDGE_DARK = 0x15171A;
// The screen's glass; the readout runs from x 26, y 19 to the right edge,
// down to y 106.
constexpr double SCREEN_X = 19, SCREEN_Y = 13, SCREEN_W = 157, SCREEN_H = 99;

void screen(cairo_t* cr) {
    fill_gradient(cr, 0, 0, 178, 160, BEZEL_TOP, BEZEL_BOTTOM);
    stroke_rect(cr, 0.5, 0.5, 177, 159, 1, EDGE_DARK);
    line(cr, 1, 1.5, 177, 1.5, 1, EDGE_LIGHT);
    fill_rounded(cr, SCREEN_X - 2, SCREEN_Y - 2, SCREEN_W + 3, SCREEN_H + 4, 4, EDGE_DARK);
    fill_rect(cr, SCREEN_X, SCREEN_Y, SCREEN_W, SCREEN_H, SCREEN_BLACK);

    // The corner button, with its mark's slit across the middle.
    fill_rounded(cr, 0, 0, 15, 11, 2, EDGE_DARK);
    fill_rounded_gradient(cr, 1, 1, 13, 9, 1.5, 0x5C636B, 0x3C4248);
    fill_rect(cr, 1, 5, 11, 3, NEAR_BLACK);

    text(cr, "POSITION", 97, 128, 9, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    line(cr, 40, 134.5, 154, 134.5, 1, 0x6A7078);
    for (double x : {9.0, 169.0}) {
        screw(cr, x, 150, 3);
    }
}

void corner_mark(cairo_t* cr) { fill_rect(cr, 0, 0, 11, 3, 0xF0F0E8); }

// The screen switched off: dark glass with a faint sheen towards the top.
void blank(cairo_t* cr) {
    fill_gradient(cr, SCREEN_X, SCREEN_Y, SCREEN_W, SCREEN_H, 0x1C2024, 0x0C0E10);
    line(cr, SCREEN_X + 4, SCREEN_Y + 3.5, SCREEN_X + SCREEN_W - 30, SCREEN_Y + 3.5, 1, 0x2A2F34);
}

}  // namespace

const Bitmap artwork[] = {
    {0x1600, 178, 160, screen, "black screen in its bezel, corner button"},
    {0x1800, 11, 3, corner_mark, "corner mark of the switch button"},
    {0x1900, 178, 160, blank, "blank overlay over the screen"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
