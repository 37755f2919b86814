// The overspeed warning light's bitmaps, 24x24: the dark lens (the
// background and the light's frame 0) and the lit lens, red with its legend
// OVER SPEED.
#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

void lens(cairo_t* cr, uint32_t top, uint32_t bottom, uint32_t legend) {
    fill_rect(cr, 0, 0, 24, 24, 0x2A2D30);  // the light's housing
    fill_rounded_gradient(cr, 1.5, 1.5, 21, 21, 2, top, bottom);
    text(cr, "OVER", 12, 10.5, 6.5, Face::NarrowBold, legend, Align::Centre);
    text(cr, "SPEED", 12, 18.5, 6.5, Face::NarrowBold, legend, Align::Centre);
}

void dark(cairo_t* cr) { lens(cr, 0x1E1A1A, 0x141212, 0x3C3434); }
void lit(cairo_t* cr) { lens(cr, 0xF03028, 0xB01010, 0xFFF2EE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 24, 24, dark, "the dark light: background and frame 0"},
    {0x101, 24, 24, lit, "the lit light, red with the legend OVER SPEED"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
