// The manual start panel's bitmaps: the panel with the two ENG push buttons
// under their covers, the covers closed and open, the "ON" legends, and the
// two guarded N1 MODE buttons, which are pictures only.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

void panel(cairo_t* cr) {
    panel_face(cr, 143, 41, false);
    // ENG MAN START: the buttons under the covers (captions are the gauge's texts).
    group_frame(cr, 2, 8, 65, 32, 18, 66);
    push_button(cr, 8, 16, 20, 19, "", "ON");
    push_button(cr, 41, 16, 20, 19, "", "ON");
    marking(cr, "1", 33.5, 38.5, 5.5);
    marking(cr, "2", 66.5, 38.5, 5.5);
    // N1 MODE: its buttons are the two pictures drawn over the panel.
    group_frame(cr, 74, 8, 66, 32, 90, 124);
    marking(cr, "N1  MODE", 107, 10.5, 7);
}

void cover_closed(cairo_t* cr) { guard(cr, 0, 0, 27, 30, false); }
void cover_open(cairo_t* cr) { guard(cr, 0, 0, 27, 30, true); }
void on_light(cairo_t* cr) { legend(cr, 18, 9, "ON", LEGEND_BLUE); }

// A guarded button as one picture: the button and its closed cover.
void guarded_button(cairo_t* cr) {
    push_button(cr, 4, 7, 20, 19, "", "ON");
    guard(cr, 0, 0, 27, 30, false);
}

}  // namespace

const Bitmap artwork[] = {
    {0x100, 143, 41, panel, "manual start panel"},
    {0x1100, 27, 30, cover_closed, "ENG 1 cover closed"},
    {0x1200, 27, 30, cover_open, "ENG 1 cover open"},
    {0x1300, 18, 9, on_light, "ENG 1 starter ON"},
    {0x1400, 27, 30, cover_closed, "ENG 2 cover closed"},
    {0x1500, 27, 30, cover_open, "ENG 2 cover open"},
    {0x1600, 18, 9, on_light, "ENG 2 starter ON"},
    {0x1700, 27, 30, guarded_button, "N1 MODE 1 guarded button"},
    {0x1800, 27, 30, guarded_button, "N1 MODE 2 guarded button"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
