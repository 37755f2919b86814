// The radio management panel's bitmaps: the dark pedestal panel with the
// ACTIVE and STBY/CRS windows and the transfer button between them, the
// selector buttons (their legends are the gauge's own lit captions), the
// tuning rockers, a row of the panel's other, inoperative buttons, the ON
// switch in both positions and the selector lamp.
#include <math.h>

#include <initializer_list>
#include <utility>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t RMP_FACE = 0x3A3F45;
constexpr uint32_t RMP_SHADE = 0x24282C;
constexpr uint32_t RMP_LIGHT = 0x5A6169;
constexpr uint32_t WINDOW_BLACK = 0x0C0C0C;
constexpr uint32_t BUTTON_BODY = 0x2C3035;
constexpr uint32_t LAMP_GREEN = 0x58F078;

// A horizontal arrow from x0 to x1, its head at x1 (right) or x0 (left).
void arrow(cairo_t* cr, double x0, double x1, double y, bool right) {
    line(cr, x0, y, x1, y, 1, MARKING_WHITE);
    const double tip = right ? x1 + 1.5 : x0 - 1.5, back = right ? x1 - 1.5 : x0 + 1.5;
    set_colour(cr, MARKING_WHITE);
    cairo_move_to(cr, tip, y);
    cairo_line_to(cr, back, y - 2.2);
    cairo_line_to(cr, back, y + 2.2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A display window: a recess and the black glass where the digits appear.
void window(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x - 1.5, y - 1.5, w + 3, h + 3, 2, RMP_SHADE);
    fill_rect(cr, x, y, w, h, WINDOW_BLACK);
    line(cr, x, y + h + 1, x + w, y + h + 1, 1, RMP_LIGHT);
}

// A square push button whose legend is drawn by the gauge (or painted here
// for the inoperative ones).
void button(cairo_t* cr, double x, double y, double w, double h, const char* legend = nullptr) {
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 1.5, RMP_SHADE);
    fill_rounded_gradient(cr, x, y, w, h, 1.5, 0x3C4147, BUTTON_BODY);
    line(cr, x + 1, y + 0.5, x + w - 1, y + 0.5, 1, RMP_LIGHT);
    if (legend) marking(cr, legend, x + w / 2, y + h - 2.5, 6);
}

// A rocker of the tuning group: up in its upper half, down in its lower.
void rocker(cairo_t* cr, double x, double w) {
    fill_rounded(cr, x - 1, 29, w + 2, 38, 3, RMP_SHADE);
    fill_rounded_gradient(cr, x, 30, w, 17, 2.5, 0x50565D, 0x33383D);
    fill_rounded_gradient(cr, x, 49, w, 17, 2.5, 0x3A3F45, 0x282C30);
    line(cr, x + 1, 48, x + w - 1, 48, 1, 0x15171A);
    triangle(cr, x + w / 2, 38.5, 3.4, true);
    triangle(cr, x + w / 2, 57.5, 3.4, false);
}

void panel(cairo_t* cr) {
    fill_rect(cr, 0, 0, 161, 95, RMP_FACE);
    line(cr, 0, 0.5, 161, 0.5, 1, RMP_LIGHT);
    line(cr, 0.5, 0, 0.5, 95, 1, RMP_LIGHT);
    line(cr, 0, 94.5, 161, 94.5, 1, RMP_SHADE);
    line(cr, 160.5, 0, 160.5, 95, 1, RMP_SHADE);

    // The two windows and the transfer button with its double arrow.
    window(cr, 19, 12, 51, 18);
    window(cr, 93, 12, 55, 18);
    button(cr, 72, 15, 15, 11);
    arrow(cr, 75, 84, 18.5, true);
    arrow(cr, 75, 84, 22.5, false);

    // Selector buttons: NAV1, NAV2, ADF on the upper row, COM1, COM2 below.
    button(cr, 2, 32, 23, 11);
    button(cr, 25, 32, 24, 11);
    button(cr, 48, 32, 26, 11);
    button(cr, 2, 49, 25, 11);
    button(cr, 45, 49, 26, 11);
    // The lamps' dark lenses, where the lit lamps appear.
    for (const auto& [x, y] : {std::pair{4, 35}, {27, 35}, {50, 35}, {4, 52}, {47, 52}})
        fill_rect(cr, x, y, 4, 5, 0x1A1C1E);

    // The tuning group: hundreds and tenths of the ADF at the outer columns.
    fill_rounded(cr, 80, 27, 64, 42, 4, RMP_SHADE);
    rocker(cr, 82, 14);
    rocker(cr, 97, 14);
    rocker(cr, 112, 14);
    rocker(cr, 127, 14);

    // The panel's other buttons, which this panel does not use.
    const char* const others[] = {"VHF3", "HF1", "HF2", "AM", "BFO"};
    for (int i = 0; i < 5; ++i) button(cr, 3 + i * 26, 66, 22, 11, others[i]);
    marking(cr, "SEL", 14, 90, 6);
    fill_circle(cr, 24, 87.5, 2, 0x1A1C1E);
    screw(cr, 153, 6, 2.4);
    screw(cr, 6, 89, 2.4);

    // The ON switch's plate under the switch.
    fill_rounded(cr, 137, 77, 15, 17, 2, RMP_SHADE);
}

// The ON switch: a toggle lever down (off) or up (on), 11x27.
void switch_off(cairo_t* cr) { toggle_switch(cr, 5.5, 18.5, 7, false); }
void switch_on(cairo_t* cr) { toggle_switch(cr, 5.5, 18.5, 12, true); }

// A selector lamp: a small lit green bar.
void lamp(cairo_t* cr) {
    fill_rect(cr, 0, 0, 4, 5, 0x20A040);
    fill_rect(cr, 1, 1, 2, 3, LAMP_GREEN);
}

}  // namespace

const Bitmap artwork[] = {
    {0x100, 161, 95, panel, "radio management panel: windows, transfer button, selectors, tuning rockers"},
    {0x1101, 4, 5, lamp, "the lamp of the selected radio"},
    {0x1300, 11, 27, switch_off, "ON switch down: off"},
    {0x1301, 11, 27, switch_on, "ON switch up: on"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
