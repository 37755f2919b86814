// The broadcaster's one bitmap: a small plain plate.
#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

void plate(cairo_t* cr) {
    fill_rounded(cr, 0, 0, 44, 36, 3, PANEL_DARK);
    stroke_rect(cr, 1.5, 1.5, 41, 33, 1, PANEL_GREY);
    text(cr, "BCST", 22, 22, 9, Face::NarrowBold, 0x9AA2AA, Align::Centre);
}

}  // namespace

const Bitmap artwork[] = {
    {0x100, 44, 36, plate, "plain plate"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
