// The spoiler arm switch's bitmaps: the plate with the scale mark from OFF
// (up) to ON (right), and the rotary knob in each position.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

// The knob's centre on the plate.
constexpr double CX = 10 + 14, CY = 20 + 14;

void plate(cairo_t* cr) {
    panel_face(cr, 51, 49, false);
    off_on_scale(cr, CX, CY);
}

}  // namespace

const Bitmap artwork[] = {
    {0x1100, 51, 49, plate, "the switch plate with its scale mark"},
    {0x100, 28, 28, knob_28_off, "knob up: OFF"},
    {0x101, 28, 28, knob_28_on, "knob turned right: ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
