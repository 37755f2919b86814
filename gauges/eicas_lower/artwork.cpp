// The lower engine display's bitmaps: the dark screen, its markings and the
// cover.
//
// Engine 1's readouts stand at the left, engine 2's right of the middle, and
// the labels F. USED and OIL between them; the vibration readouts sit right
// of a divider, engine 1 then engine 2 under each VIB label.
#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t GREY = 0x8C9096;
constexpr uint32_t COVER_GREY = 0x151719;

void screen(cairo_t* cr) { fill_rect(cr, 0, 0, 208, 78, SCREEN_BLACK); }

// A short mark pointing from a label out to a readout: a line with a small
// arrow head at its outer end.
void arrow(cairo_t* cr, double x_from, double x_to, double y) {
    line(cr, x_from, y, x_to, y, 1, GREY);
    const double head = x_to > x_from ? -2.5 : 2.5;
    line(cr, x_to, y, x_to + head, y - 2, 1, GREY);
    line(cr, x_to, y, x_to + head, y + 2, 1, GREY);
}

void markings(cairo_t* cr) {
    // Beside F. USED and OIL, out to each engine's readout.
    arrow(cr, 44, 37, 26.5);
    arrow(cr, 82, 89, 26.5);
    arrow(cr, 50, 43, 52.5);
    arrow(cr, 74, 81, 52.5);
    // The divider between the engines' columns and the vibration readouts.
    line(cr, 144.5, 6, 144.5, 72, 1, GREY);
    // Small marks beside the vibration readouts: between engine 1's and
    // engine 2's value of each pair.
    for (double y : {32.0, 60.0}) line(cr, 178.5, y, 178.5, y + 11, 1, GREY);
    // A rule under the ENGINE heading.
    line(cr, 8, 17.5, 48, 17.5, 1, GREY);
}

void cover(cairo_t* cr) { fill_gradient(cr, 0, 0, 208, 78, 0x1C1F22, COVER_GREY); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 208, 78, screen, "the dark screen"},
    {0x1200, 208, 78, markings, "marks beside the labels, the divider, marks beside the vibration readouts"},
    {0x1300, 208, 78, cover, "the cover: the screen switched off"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
