// The display switches' bitmaps: the grey panel with the curved scale mark
// from OFF to ON, and the rotary knob pointing up to OFF and right to ON.
// Built once for each switch with its number as DISPLAY_SWITCH: the two
// differ in where the knob sits and in which ids the panel and knob take.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

static_assert(DISPLAY_SWITCH == 1 || DISPLAY_SWITCH == 2);
constexpr bool FIRST = DISPLAY_SWITCH == 1;

// The knob's centre on the panel.
constexpr double CX = 24, CY = (FIRST ? 20 : 21) + 14;
constexpr uint32_t PANEL = FIRST ? 0x1100 : 0x100;
constexpr uint32_t KNOB = FIRST ? 0x100 : 0x1100;

void panel(cairo_t* cr) {
    fill_rect(cr, 0, 0, 51, 49, OVERHEAD_FACE);
    stroke_rect(cr, 0.5, 0.5, 50, 48, 1, OVERHEAD_SHADE);
    off_on_scale(cr, CX, CY);
}

}  // namespace

const Bitmap artwork[] = {
    {PANEL, 51, 49, panel, "grey panel with the scale mark"},
    {KNOB, 28, 28, knob_28_off, "knob pointing up to OFF"},
    {KNOB + 1, 28, 28, knob_28_on, "knob pointing right to ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
