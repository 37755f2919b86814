// The overhead switch panel's bitmaps: the panel with its push buttons, group
// frames and the inoperative cabin pressure, interior lights and ditching
// panels; the lit legends; the toggle switches up and down.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

// The round plate under a toggle switch.
void recess(cairo_t* cr, double cx, double cy) {
    fill_circle(cr, cx, cy, 5.5, 0x505C66);
    stroke_circle(cr, cx, cy, 5.5, 0.8, OVERHEAD_SHADE);
}

void panel(cairo_t* cr) {
    panel_face(cr, 306, 122);

    // ANTI ICE: WING, ENG 1, ENG 2 (captions are the gauge's own texts).
    group_frame(cr, 3, 5, 131, 37, 31, 82);
    push_button(cr, 10, 17, 20, 19, "FAULT", "ON");
    push_button(cr, 71, 17, 20, 19, "FAULT", "ON");
    push_button(cr, 98, 17, 20, 19, "FAULT", "ON");
    line(cr, 62, 12, 62, 38, 0.8, OVERHEAD_SHADE);  // WING | ENG

    // PROBE/WINDOW HEAT
    group_frame(cr, 137, 5, 42, 37, 0, 0);
    marking(cr, "PROBE/WINDOW", 158, 10.5, 5.2);
    marking(cr, "HEAT", 158, 15.5, 5.2);
    push_button(cr, 148, 17, 20, 19, "", "ON");
    marking(cr, "AUTO", 158, 40, 5);

    // EXT LT
    group_frame(cr, 3, 49, 131, 72, 37, 80);
    line(cr, 4, 92, 133, 92, 0.6, OVERHEAD_SHADE);  // the landing and taxi row
    for (double x : {14.5, 45.5, 76.5, 109.5}) recess(cr, x, 74);
    for (double x : {45, 78}) recess(cr, x, 108);
    recess(cr, 107.5, 113);
    marking(cr, "L", 38, 119, 5);
    marking(cr, "R", 85, 119, 5);

    // APU: MASTER SW and START
    group_frame(cr, 137, 50, 42, 71, 148, 170);
    push_button(cr, 146, 64, 20, 20, "FAULT", "ON");
    push_button(cr, 146, 99, 20, 19, "AVAIL", "ON");

    // CABIN PRESS (inoperative): manual vertical speed, mode selector, landing elevation.
    group_frame(cr, 182, 5, 92, 40, 206, 250);
    marking(cr, "CABIN  PRESS", 228, 8, 6.5);
    marking(cr, "MAN V/S CTL", 196, 16, 5);
    recess(cr, 196, 29);
    toggle_switch(cr, 196, 29, 8, true);
    marking(cr, "UP", 204, 23, 4.5, Align::Left);
    marking(cr, "DN", 204, 38, 4.5, Align::Left);
    marking(cr, "MODE SEL", 226, 16, 5);
    push_button(cr, 217, 19, 18, 18, "FAULT", "MAN");
    marking(cr, "LDG ELEV", 257, 16, 5);
    rotary_knob(cr, 257, 29, 6.5, -120);
    marking(cr, "AUTO", 247, 41, 4.5);
    marking(cr, "-2", 250, 24, 4.5, Align::Right);
    marking(cr, "14", 265, 24, 4.5, Align::Left);

    // INT LT (inoperative): integral lighting, dome, annunciator lights.
    group_frame(cr, 182, 49, 92, 35, 213, 243);
    marking(cr, "INT  LT", 228, 52, 6.5);
    marking(cr, "INTEG LT", 197, 60, 5);
    rotary_knob(cr, 197, 71, 6.5, -100);
    marking(cr, "OFF", 189, 82, 4.5);
    marking(cr, "BRT", 206, 82, 4.5);
    marking(cr, "DOME", 229, 60, 5);
    recess(cr, 229, 72);
    toggle_switch(cr, 229, 72, 8, false);
    marking(cr, "BRT", 236, 66, 4.5, Align::Left);
    marking(cr, "DIM", 236, 74, 4.5, Align::Left);
    marking(cr, "OFF", 236, 82, 4.5, Align::Left);
    marking(cr, "ANN LT", 259, 60, 5);
    recess(cr, 259, 72);
    toggle_switch(cr, 259, 72, 8, false);
    marking(cr, "TEST", 266, 66, 4.5, Align::Left);
    marking(cr, "BRT", 266, 82, 4.5, Align::Left);

    // SIGNS: seat belts and no smoking (the gauge's own texts and switches).
    group_frame(cr, 182, 88, 58, 33, 198, 225);
    marking(cr, "SIGNS", 211.5, 91.5, 6.5);
    recess(cr, 195.5, 112);
    recess(cr, 225.5, 112);

    // DITCHING (inoperative): a guarded push button.
    group_frame(cr, 243, 88, 32, 33, 0, 0);
    marking(cr, "DITCHING", 259, 95, 5.5);
    push_button(cr, 250, 100, 18, 17, "", "ON");
    fill_rect(cr, 248, 98, 22, 3, 0xB02020);
    set_colour(cr, 0xD03030);
    cairo_set_line_width(cr, 1.5);
    rounded_rect(cr, 248.5, 98.5, 21, 20, 2);
    cairo_stroke(cr);

    // AVNCS and PANEL switches (their captions are the gauge's own texts).
    group_frame(cr, 277, 49, 27, 38, 0, 0);
    recess(cr, 289.5, 74);
    group_frame(cr, 277, 89, 27, 32, 0, 0);
    recess(cr, 287.5, 112);
    marking(cr, "ON", 298, 104, 4.5);
    marking(cr, "OFF", 298, 119, 4.5);
    marking(cr, "ON", 300, 69, 4.5);
    marking(cr, "OFF", 300, 84, 4.5);
}

void on_light(cairo_t* cr) { legend(cr, 18, 9, "ON", LEGEND_BLUE); }
void avail_light(cairo_t* cr) { legend(cr, 18, 9, "AVAIL", LEGEND_GREEN); }

// Light switches of the EXT LT group, 15x41 and 11x40: the nut at y 24.
void wide_down(cairo_t* cr) { toggle_switch(cr, 7.5, 24, 13, false); }
void wide_up(cairo_t* cr) { toggle_switch(cr, 7.5, 24, 13, true); }
void narrow_down(cairo_t* cr) { toggle_switch(cr, 5.5, 24, 13, false); }
void narrow_up(cairo_t* cr) { toggle_switch(cr, 5.5, 24, 13, true); }
// Landing lights, 18x47 at y 87: the panel ends 35 pixels down.
void landing_in(cairo_t* cr) { toggle_switch(cr, 9, 21, 12, false); }
void landing_out(cairo_t* cr) { toggle_switch(cr, 9, 21, 12, true); }
// Switches of the lower row (taxi, signs, panel lights), 11x40 at y 90 or 91.
void low_down(cairo_t* cr) { toggle_switch(cr, 5.5, 22, 10, false); }
void low_up(cairo_t* cr) { toggle_switch(cr, 5.5, 22, 10, true); }
// Avionics, 11x40 at y 51.
void avionics_down(cairo_t* cr) { toggle_switch(cr, 5.5, 23, 11, false); }
void avionics_up(cairo_t* cr) { toggle_switch(cr, 5.5, 23, 11, true); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 306, 122, panel, "overhead switch panel"},
    {0x1100, 15, 41, wide_down, "beacon switch down"},
    {0x1101, 15, 41, wide_up, "beacon switch up"},
    {0x1200, 15, 41, wide_down, "strobe switch down"},
    {0x1201, 15, 41, wide_up, "strobe switch up"},
    {0x1300, 11, 40, narrow_down, "wing lights switch down"},
    {0x1301, 11, 40, narrow_up, "wing lights switch up"},
    {0x1400, 15, 41, wide_down, "nav and logo switch down"},
    {0x1401, 15, 41, wide_up, "nav and logo switch up"},
    {0x1500, 18, 47, landing_in, "left landing light lever in"},
    {0x1501, 18, 47, landing_out, "left landing light lever out"},
    {0x1600, 18, 47, landing_in, "right landing light lever in"},
    {0x1601, 18, 47, landing_out, "right landing light lever out"},
    {0x1700, 11, 40, low_down, "taxi switch down"},
    {0x1701, 11, 40, low_up, "taxi switch up"},
    {0x1800, 11, 40, low_down, "no smoking switch down"},
    {0x1801, 11, 40, low_up, "no smoking switch up"},
    {0x1900, 11, 40, low_down, "seat belts switch down"},
    {0x1901, 11, 40, low_up, "seat belts switch up"},
    {0x2000, 18, 9, on_light, "ENG 1 anti-ice ON"},
    {0x2100, 18, 9, on_light, "ENG 2 anti-ice ON"},
    {0x2200, 18, 9, on_light, "probe and window heat ON"},
    {0x2300, 18, 9, on_light, "APU master ON"},
    {0x2400, 18, 9, avail_light, "APU AVAIL"},
    {0x2500, 18, 9, on_light, "WING anti-ice ON"},
    {0x2600, 18, 9, on_light, "APU start ON"},
    {0x2700, 11, 40, low_down, "panel lights switch down"},
    {0x2701, 11, 40, low_up, "panel lights switch up"},
    {0x2800, 11, 40, avionics_down, "avionics switch down"},
    {0x2801, 11, 40, avionics_up, "avionics switch up"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
