// The autobrake panel's bitmaps: the panel with the LDG GEAR and AUTO BRK
// groups and the three push buttons, the gear indicators (blank, a red
// triangle in transit, a green triangle down and locked) and the green ON
// lights of the buttons.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t GEAR_RED = 0xF03020;
constexpr uint32_t GEAR_GREEN = 0x30E050;

void panel(cairo_t* cr) {
    panel_face(cr, 111, 83);
    // LDG GEAR: the three indicators in a row, in recesses.
    group_frame(cr, 9, 8, 80, 33, 31, 87);
    for (double x : {14.0, 38.0, 61.0}) fill_rounded(cr, x - 1.5, 12.5, 26, 25, 2, OVERHEAD_SHADE);
    // AUTO BRK: the three push buttons under their legends.
    group_frame(cr, 9, 47, 92, 34, 28, 84);
    push_button(cr, 19, 59, 19, 19, "", "");
    push_button(cr, 40, 59, 19, 19, "", "");
    push_button(cr, 65, 59, 19, 19, "", "");
}

// A gear indicator: dark glass, and a down-pointing triangle when lit.
void indicator(cairo_t* cr, uint32_t triangle) {
    fill_rounded(cr, 0, 0, 23, 22, 2, LENS_DARK);
    stroke_rect(cr, 0.5, 0.5, 22, 21, 1, 0x2E3236);
    if (!triangle) return;
    set_colour(cr, triangle);
    cairo_move_to(cr, 4, 5);
    cairo_line_to(cr, 19, 5);
    cairo_line_to(cr, 11.5, 18);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void blank(cairo_t* cr) { indicator(cr, 0); }
void in_transit(cairo_t* cr) { indicator(cr, GEAR_RED); }
void down_locked(cairo_t* cr) { indicator(cr, GEAR_GREEN); }

void on_light(cairo_t* cr) { legend(cr, 17, 10, "ON", LEGEND_GREEN); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 111, 83, panel, "the autobrake and gear indicator panel"},
    {0x1100, 23, 22, blank, "left gear: up"},
    {0x1101, 23, 22, in_transit, "left gear: in transit"},
    {0x1102, 23, 22, down_locked, "left gear: down and locked"},
    {0x1200, 23, 22, blank, "nose gear: up"},
    {0x1201, 23, 22, in_transit, "nose gear: in transit"},
    {0x1202, 23, 22, down_locked, "nose gear: down and locked"},
    {0x1300, 23, 22, blank, "right gear: up"},
    {0x1301, 23, 22, in_transit, "right gear: in transit"},
    {0x1302, 23, 22, down_locked, "right gear: down and locked"},
    {0x1400, 17, 10, on_light, "LO ON"},
    {0x1500, 17, 10, on_light, "MED ON"},
    {0x1600, 17, 10, on_light, "MAX ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
