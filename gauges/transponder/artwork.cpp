// The transponder's bitmaps: the dark pedestal panel with the code window,
// a rocker for each of the four digits, the painted positions of the mode
// knob, and the knob itself at STBY (off) and ON.
#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t XPDR_FACE = 0x3A3F45;
constexpr uint32_t XPDR_SHADE = 0x24282C;
constexpr uint32_t XPDR_LIGHT = 0x5A6169;

// A digit's rocker: up in its upper part, down below the parting line. The
// IDENT legend stands over the upper ends of the two right-hand rockers.
void rocker(cairo_t* cr, double x) {
    const double w = 14;
    fill_rounded(cr, x - 1, 31, w + 2, 27, 3, XPDR_SHADE);
    fill_rounded_gradient(cr, x, 32, w, 7.5, 2, 0x50565D, 0x3A3F45);
    fill_rounded_gradient(cr, x, 40, w, 17, 2, 0x3A3F45, 0x282C30);
    line(cr, x + 1, 39.5, x + w - 1, 39.5, 1, 0x15171A);
    triangle(cr, x + w / 2, 35.8, 2.6, true);
    triangle(cr, x + w / 2, 48, 3.2, false);
}

void panel(cairo_t* cr) {
    fill_rect(cr, 0, 0, 159, 58, XPDR_FACE);
    line(cr, 0, 0.5, 159, 0.5, 1, XPDR_LIGHT);
    line(cr, 0.5, 0, 0.5, 58, 1, XPDR_LIGHT);
    line(cr, 0, 57.5, 159, 57.5, 1, XPDR_SHADE);
    line(cr, 158.5, 0, 158.5, 58, 1, XPDR_SHADE);

    // The code window under the ATC legend.
    fill_rounded(cr, 100, 9.5, 59, 17, 2, XPDR_SHADE);
    fill_rect(cr, 101.5, 11, 57, 14, 0x0C0C0C);

    // The four digit rockers, leftmost digit first.
    for (double x : {71.0, 92.0, 122.0, 142.0}) rocker(cr, x);

    // The mode knob's positions around it, and the system selector it sits beside.
    marking(cr, "STBY", 8.5, 13, 5);
    marking(cr, "ON", 19.5, 13, 5);
    marking(cr, "XPDR", 10.5, 43, 6);
    marking(cr, "SYS 1", 40, 20, 5.5);
    marking(cr, "2", 58, 20, 5.5);
    fill_circle(cr, 49, 30, 5, XPDR_SHADE);
    fill_circle(cr, 49, 30, 4, 0x1C1F22);
    line(cr, 49, 30, 45.5, 26.5, 1.2, MARKING_WHITE);
    screw(cr, 6, 52, 2.4);
    screw(cr, 62, 52, 2.4);
}

// The mode knob, 17x16: turned left to STBY, or right to ON.
void knob_stby(cairo_t* cr) { rotary_knob(cr, 8.5, 8, 6.5, -40); }
void knob_on(cairo_t* cr) { rotary_knob(cr, 8.5, 8, 6.5, 40); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 159, 58, panel, "transponder panel: code window and the four digit rockers"},
    {0x1100, 17, 16, knob_stby, "mode knob at STBY: off"},
    {0x1101, 17, 16, knob_on, "mode knob at ON"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
