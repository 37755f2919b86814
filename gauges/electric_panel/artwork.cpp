// The electric panel's bitmaps: the panel with the electrical network painted
// as a picture (batteries, AC bus, bus tie, APU generator, external power,
// drive generators, galley, AC essential feed), and the three "ON" legends.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

// A readout window of the battery voltmeters.
void readout_window(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 2, OVERHEAD_SHADE);
    fill_rect(cr, x, y, w, h, 0x141516);
}

void panel(cairo_t* cr) {
    panel_face(cr, 299, 107);

    // The network lines first, so that the buttons sit on them.
    const uint32_t L = OVERHEAD_LINE;
    line(cr, 128, 31, 128, 40, 1, L);  // BAT 1 and BAT 2 to the battery bus
    line(cr, 182, 31, 182, 40, 1, L);
    line(cr, 128, 40.5, 182, 40.5, 1, L);
    line(cr, 155, 40, 155, 48, 1, L);
    line(cr, 37.5, 66, 261.5, 66, 1, L);  // AC BUS 1 | bus tie | AC BUS 2
    line(cr, 37.5, 66, 37.5, 90.5, 1, L);  // GEN 1
    line(cr, 37, 90.5, 41, 90.5, 1, L);
    line(cr, 240.5, 66, 240.5, 90.5, 1, L);  // GEN 2
    line(cr, 240, 90.5, 244, 90.5, 1, L);
    line(cr, 16, 90.5, 37, 90.5, 1, L);  // IDG 1 to GEN 1
    line(cr, 263, 90.5, 273, 90.5, 1, L);  // GEN 2 to IDG 2
    line(cr, 130.5, 66, 130.5, 80, 1, L);  // APU GEN
    line(cr, 180.5, 66, 180.5, 80, 1, L);  // EXT PWR
    line(cr, 22, 34, 22, 66, 1, L);  // AC ESS FEED from AC BUS 1
    line(cr, 22, 66, 37.5, 66, 1, L);
    line(cr, 260, 34, 260, 66, 1, L);  // GALLEY from AC BUS 2

    // Top row: AC ESS FEED, BAT 1 readout and button, BAT 2, GALLEY.
    marking(cr, "AC ESS FEED", 22, 12, 5.5);
    push_button(cr, 12, 15, 20, 19, "FAULT", "ALTN");
    readout_window(cr, 79, 16, 34, 18);
    push_button(cr, 118, 13, 20, 18, "FAULT", "ON");
    push_button(cr, 172, 13, 20, 18, "FAULT", "OFF");
    marking(cr, "2", 182, 10.5, 6);
    marking(cr, "BAT 2", 215, 10.5, 6);
    readout_window(cr, 198, 16, 34, 18);
    marking(cr, "GALLEY", 260, 12, 5.5);
    push_button(cr, 250, 15, 20, 19, "FAULT", "OFF");
    marking(cr, "DC BAT", 155, 53, 5);

    // Middle: the bus tie on the AC bus line.
    marking(cr, "BUS TIE", 155, 61.5, 5.5);
    push_button(cr, 145, 63, 20, 17, "", "OFF");
    marking(cr, "AC BUS 1", 80, 64, 5);
    marking(cr, "AC BUS 2", 212, 64, 5);

    // Bottom row: IDG 1 (guarded), GEN 1, APU GEN, EXT PWR, GEN 2, IDG 2 (guarded).
    push_button(cr, 41, 80, 20, 20, "FAULT", "ON");
    push_button(cr, 244, 81, 19, 18, "FAULT", "ON");
    push_button(cr, 120, 80, 21, 19, "FAULT", "OFF");
    marking(cr, "APU GEN", 130.5, 105.5, 5.5);
    push_button(cr, 170, 80, 21, 19, "AVAIL", "ON");
    marking(cr, "EXT PWR", 180.5, 105.5, 5.5);
    for (double x : {6.0, 273.0}) {
        push_button(cr, x, 81, 20, 18, "FAULT", "");
        set_colour(cr, 0xB02020);
        cairo_set_line_width(cr, 1.4);
        rounded_rect(cr, x - 1.5, 79.5, 23, 21, 2);
        cairo_stroke(cr);
    }
    marking(cr, "IDG 1", 16, 106, 5.5);
    marking(cr, "IDG 2", 283, 106, 5.5);
}

void on_light(cairo_t* cr) { legend(cr, 18, 9, "ON", LEGEND_BLUE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 299, 107, panel, "electric panel with the network picture"},
    {0x1100, 18, 9, on_light, "GEN 1 ON"},
    {0x1200, 18, 9, on_light, "GEN 2 ON"},
    {0x1300, 18, 9, on_light, "BAT 1 ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
