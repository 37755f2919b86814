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
void face(cairo_t* cr) { instrument_case(cr, {147, 149, 10, 10, 4.5, CX, CY, 71, 72, 68}); }

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
void pointer(cairo_t* cr) { kestrel::art::pointer(cr, {59.5, 57, 49, 14, 6, 12, 6, 2.5}, WHITE); }

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
