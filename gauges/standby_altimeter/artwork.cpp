// The standby altimeter's bitmaps, 147x149 about the dial's centre (75, 73).
//
// The pointer turns clockwise 0.36 degree per foot from the 0 at the top, so
// the figure k (hundreds of feet) lies 36 k degrees clockwise from the top.
// The pointer bitmap points straight up from its centre, which the host puts
// on the dial's centre. The counter's digits are the text element in the
// window at (50, 42), 24 pixels high, drawn over the dial.
#include <math.h>
#include <stdio.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t WHITE = 0xF0F0F0;
constexpr uint32_t DIAL = 0x161819;
constexpr uint32_t CASE = 0x1C1E21;

constexpr double CX = 75, CY = 73;  // the pointer's pivot
constexpr double DIAL_RADIUS = 65;
constexpr double FIGURE_RADIUS = 49;
// The counter window round the text box: five digits of a 24-pixel face.
constexpr double WINDOW_X = 46, WINDOW_Y = 41, WINDOW_W = 66, WINDOW_H = 27;

void polar(double cx, double cy, double degrees, double radius, double* x, double* y) {
    const double t = degrees * M_PI / 180;
    *x = cx + radius * sin(t);
    *y = cy - radius * cos(t);
}

// The square case with its screws and the round bezel.
void face(cairo_t* cr) {
    fill_rounded(cr, 0, 0, 147, 149, 10, CASE);
    for (double x : {10.0, 137.0})
        for (double y : {10.0, 139.0}) screw(cr, x, y, 4.5);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, CY - 72, 0, CY + 72);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.36, 0.38, 0.40);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.11, 0.12);
    cairo_set_source(cr, p);
    cairo_arc(cr, CX, CY, 71, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    fill_circle(cr, CX, CY, 68, NEAR_BLACK);
}

// The dial: a mark every 20 feet, longer every 100, the figures 0 to 9, the
// caption ALT and the counter window.
void dial(cairo_t* cr) {
    fill_circle(cr, CX, CY, DIAL_RADIUS, DIAL);
    for (int k = 0; k < 50; ++k) {
        const bool hundred = k % 5 == 0;
        double x0, y0, x1, y1;
        polar(CX, CY, k * 7.2, DIAL_RADIUS - 2, &x0, &y0);
        polar(CX, CY, k * 7.2, DIAL_RADIUS - (hundred ? 11 : 6), &x1, &y1);
        line(cr, x0, y0, x1, y1, hundred ? 2.2 : 1.2, WHITE);
    }
    for (int k = 0; k < 10; ++k) {
        char s[2] = {char('0' + k), 0};
        double x, y;
        polar(CX, CY, k * 36, FIGURE_RADIUS, &x, &y);
        text(cr, s, x, y + 5.5, 15, Face::SansBold, WHITE, Align::Centre);
    }
    text(cr, "ALT", CX, CY + 31, 11, Face::SansBold, WHITE, Align::Centre);
    text(cr, "FEET", CX, CY + 40, 7, Face::Sans, WHITE, Align::Centre);
    // The counter window: a black recess with a light frame.
    fill_rect(cr, WINDOW_X - 2, WINDOW_Y - 2, WINDOW_W + 4, WINDOW_H + 4, 0x5A5F64);
    fill_rect(cr, WINDOW_X, WINDOW_Y, WINDOW_W, WINDOW_H, SCREEN_BLACK);
    line(cr, WINDOW_X, WINDOW_Y + 0.5, WINDOW_X + WINDOW_W, WINDOW_Y + 0.5, 1, 0x202224);
}

// The pointer, 119x119 about its centre: a white needle from a short
// counterweight to a point at the marks, on a dark hub.
void pointer(cairo_t* cr) {
    const double c = 59.5;
    set_colour(cr, WHITE);
    cairo_move_to(cr, c, c - 57);
    cairo_line_to(cr, c + 2.5, c - 49);
    cairo_line_to(cr, c + 2.5, c + 14);
    cairo_line_to(cr, c - 2.5, c + 14);
    cairo_line_to(cr, c - 2.5, c - 49);
    cairo_close_path(cr);
    cairo_fill(cr);
    fill_rect(cr, c - 4, c + 6, 8, 12, 0x9A9EA2);
    fill_circle(cr, c, c, 6, 0x3A3E42);
    fill_circle(cr, c, c, 2.5, 0x8A8E92);
}

// The pointer shows over the whole dial.
void pointer_mask(cairo_t* cr) { fill_circle(cr, CX, CY, DIAL_RADIUS, WHITE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 147, 149, face, "the case with its screws and the round bezel"},
    {0x1200, 147, 149, dial, "the dial: marks, figures 0 to 9, ALT, the counter window"},
    {0x1400, 119, 119, pointer, "the pointer, pointing up from its centre"},
    {0x1401, 147, 149, pointer_mask, "the pointer's window: the whole dial"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
