// Autopilot panel 1's bitmaps: the glareshield panel with the barometric
// window, the knob well, the FD and mode push buttons with their dark lamp
// slots; the green lamp bar; the NAV/GPS selector pointing up to NAV or right
// to GPS; the barometric knob (a needle, drawn pointing along +x from its
// pivot); the ADF/VOR selector leaning right to VOR or left to ADF.
//
// The window's figures, the captions and the lights are the gauge's own
// elements, drawn over this face.
#include <math.h>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t WINDOW_GLASS = 0x121511;
constexpr uint32_t WINDOW_RIM = 0x2B3036;
constexpr uint32_t BUTTON_FACE = 0x3A4047;
constexpr uint32_t BUTTON_EDGE = 0x5E6A74;
constexpr uint32_t SLOT_DARK = 0x1A1D1A;

constexpr double BARO_X = 53, BARO_Y = 72;  // the barometric knob's pivot
constexpr double NAV_GPS_X = 117 + 16, NAV_GPS_Y = 52 + 16;
constexpr double ADF_VOR_X = 123 + 11, ADF_VOR_Y = 90 + 10;

void mode_button(cairo_t* cr, double x, double y, double w, double h, double lamp_x, double lamp_y) {
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 2.5, OVERHEAD_SHADE);
    fill_rounded_gradient(cr, x, y, w, h, 2, BUTTON_EDGE, BUTTON_FACE);
    fill_rounded(cr, x + 1.5, y + 1.5, w - 3, h - 3, 1.5, BUTTON_FACE);
    fill_rect(cr, lamp_x, lamp_y, 17, 7, SLOT_DARK);
}

void panel(cairo_t* cr) {
    panel_face(cr, 266, 122);

    // The barometric window and the knob below it.
    fill_rounded(cr, 32, 20, 66, 29, 3, WINDOW_RIM);
    fill_rect(cr, 35, 22, 60, 25, WINDOW_GLASS);
    set_colour(cr, 0xFFFFFF, 0.05);
    cairo_rectangle(cr, 35, 22, 60, 3);
    cairo_fill(cr);
    fill_circle(cr, BARO_X, BARO_Y, 17, OVERHEAD_SHADE);
    stroke_circle(cr, BARO_X, BARO_Y, 17, 0.8, OVERHEAD_LIGHT);
    marking(cr, "PUSH", BARO_X, 93, 5);
    // Arrows on either side: left lowers, right raises.
    marking(cr, "-", 27, 74, 9);
    marking(cr, "+", 79, 76, 8);

    // FD and the mode buttons.
    mode_button(cr, 25, 93, 23, 17, 29, 95);     // FD
    mode_button(cr, 102, 16, 25, 18, 108, 19);   // LVL
    mode_button(cr, 135, 17, 24, 17, 139, 19);   // TO/GA
    mode_button(cr, 166, 18, 26, 17, 170, 19);   // BC
    mode_button(cr, 196, 17, 24, 17, 201, 19);   // IAS
    mode_button(cr, 227, 17, 25, 17, 231, 19);   // MACH

    // The selectors' wells and their position marks.
    fill_circle(cr, NAV_GPS_X, NAV_GPS_Y, 15.5, OVERHEAD_SHADE);
    line(cr, NAV_GPS_X, NAV_GPS_Y - 18, NAV_GPS_X, NAV_GPS_Y - 16, 1.2, OVERHEAD_LINE);
    line(cr, NAV_GPS_X + 16, NAV_GPS_Y, NAV_GPS_X + 18, NAV_GPS_Y, 1.2, OVERHEAD_LINE);
    fill_circle(cr, ADF_VOR_X, ADF_VOR_Y, 10, OVERHEAD_SHADE);

    screw(cr, 8, 112, 2.6);
    screw(cr, 258, 112, 2.6);
}

// The NAV/GPS selector: up to NAV (frame 0), right to GPS (frame 1).
void selector_nav(cairo_t* cr) { rotary_knob(cr, 16, 16, 13, 0); }
void selector_gps(cairo_t* cr) { rotary_knob(cr, 16, 16, 13, 90); }

// The barometric knob, its index along +x from the pivot (14, 14).
void baro_knob(cairo_t* cr) {
    const double c = 14, r = 13.5;
    fill_circle(cr, c, c, r, 0x202428);
    set_colour(cr, 0x4A5057);
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 30; ++i) {
        const double a = i * M_PI / 15;
        cairo_move_to(cr, c + (r - 2.5) * cos(a), c + (r - 2.5) * sin(a));
        cairo_line_to(cr, c + (r - 0.5) * cos(a), c + (r - 0.5) * sin(a));
    }
    cairo_stroke(cr);
    fill_circle(cr, c, c, r - 2.5, 0x2A2F34);
    fill_circle(cr, c, c, 6.5, 0x5A626A);  // the push centre
    line(cr, c + 7, c, c + r - 1, c, 2, MARKING_WHITE);
}

// The ADF/VOR selector: leaning right to VOR (frame 0), left to ADF (frame 1).
void selector_vor(cairo_t* cr) { rotary_knob(cr, 11, 10, 8, 60); }
void selector_adf(cairo_t* cr) { rotary_knob(cr, 11, 10, 8, -60); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 266, 122, panel, "autopilot panel 1: barometric window, knob well, push buttons"},
    {0x1100, 17, 7, mode_lamp, "green lamp bar of a push button"},
    {0x1200, 32, 32, selector_nav, "NAV/GPS selector at NAV"},
    {0x1201, 32, 32, selector_gps, "NAV/GPS selector at GPS"},
    {0x1300, 29, 29, baro_knob, "barometric knob, index along +x"},
    {0x1400, 22, 20, selector_vor, "ADF/VOR selector at VOR"},
    {0x1401, 22, 20, selector_adf, "ADF/VOR selector at ADF"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
