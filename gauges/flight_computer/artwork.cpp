// The flight computer's bitmaps: the unit's housing with its dark screen, the
// two small push buttons at the screen's left edge (screen on/off above,
// chronometer below) and a row of inoperative keys under the screen; and the
// lamp bar that lights in each button.
#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t HOUSING_TOP = 0x3A3F45, HOUSING_BOTTOM = 0x2B2F34;
constexpr uint32_t EDGE_LIGHT = 0x5A6068, EDGE_DARK = 0x181A1D;
constexpr uint32_t KEY_TOP = 0x5C636B, KEY_BOTTOM = 0x3C4248;

// A small square-cornered key with a lighter top edge.
void key(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 2, EDGE_DARK);
    fill_rounded_gradient(cr, x, y, w, h, 1.5, KEY_TOP, KEY_BOTTOM);
    line(cr, x + 1.5, y + 0.5, x + w - 1.5, y + 0.5, 1, 0x7A828A);
}

void housing(cairo_t* cr) {
    fill_gradient(cr, 0, 0, 178, 160, HOUSING_TOP, HOUSING_BOTTOM);
    stroke_rect(cr, 0.5, 0.5, 177, 159, 1, EDGE_DARK);
    line(cr, 1, 1.5, 177, 1.5, 1, EDGE_LIGHT);

    // The screen, sunk in a bezel: the lines run from x 30, y 7 to y 106.
    fill_rounded(cr, 22, 2, 155, 111, 4, EDGE_DARK);
    fill_rounded(cr, 24, 4, 151, 107, 3, SCREEN_BLACK);
    line(cr, 25, 110.5, 174, 110.5, 1, 0x4A5056);

    // Screen button (top) and chronometer button (below), the lamp bar at the
    // foot of each; their names beside them on the bezel's edge.
    key(cr, 1, 2, 15, 10);
    key(cr, 2, 21, 12, 9);
    text(cr, "SCRN", 9, 19, 6, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    text(cr, "CHR", 8, 38, 6, Face::NarrowBold, MARKING_WHITE, Align::Centre);

    // Under the screen: the unit's name and a row of keys that do nothing here.
    text(cr, "FLIGHT COMPUTER", 99, 124, 8, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    static const char* const names[] = {"POS", "NAV", "WPT", "CLR"};
    for (int i = 0; i < 4; ++i) {
        const double x = 31 + i * 36;
        key(cr, x, 131, 28, 14);
        text(cr, names[i], x + 14, 141.5, 7, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    }
    for (double x : {8.0, 170.0}) screw(cr, x, 152, 3);
}

// The lamp bar of a button: white light behind a slit.
void lamp(cairo_t* cr) {
    fill_rect(cr, 0, 0, 11, 3, 0xE8F4FF);
    line(cr, 0, 0.5, 11, 0.5, 1, 0xFFFFFF);
}

}  // namespace

const Bitmap artwork[] = {
    {0x100, 178, 160, housing, "housing, dark screen, screen and chronometer buttons"},
    {0x1100, 11, 3, lamp, "button lamp"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
