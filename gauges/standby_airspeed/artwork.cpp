// The standby airspeed indicator's bitmaps, 181x181 about the pointer's pivot
// (93, 93).
//
// The pointer turns clockwise from the 60-knot mark at the top by the
// gauge's scale: 1.49 degrees a knot from 60 to 160, 0.78 from 160 to 200,
// 1 from 200 to 250 and 0.53 from 250 to 400, so each mark and figure below
// sits at the angle the pointer shows for it. The pointer bitmap points
// straight up from its centre, which the host puts on the pivot.
#include <math.h>
#include <stdio.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t WHITE = 0xF0F0F0;
constexpr uint32_t DIAL = 0x161819;

constexpr double CX = 93, CY = 93;
constexpr double DIAL_RADIUS = 82;
constexpr double MARK_OUTER = 79;
constexpr double FIGURE_RADIUS = 60;

// The dial angle of an airspeed, on the scale's bands (the marks at 200 and
// 250 knots sit where the pointer shows those speeds).
double angle(double knots) {
    if (knots < 160) return (knots - 60) * 1.49;
    if (knots < 200) return (knots - 160) * 0.78 + 149;
    if (knots < 250) return knots - 20;
    return (knots - 250) * 0.53 + 229;
}

void polar(double degrees, double radius, double* x, double* y) {
    const double t = degrees * M_PI / 180;
    *x = CX + radius * sin(t);
    *y = CY - radius * cos(t);
}

// The square case with its screws and the round bezel.
void face(cairo_t* cr) { instrument_case(cr, {181, 181, 11, 11, 5, CX, CY, 87.5, 88, 84.5}); }

void mark(cairo_t* cr, double knots, double length, double width) {
    double x0, y0, x1, y1;
    polar(angle(knots), MARK_OUTER, &x0, &y0);
    polar(angle(knots), MARK_OUTER - length, &x1, &y1);
    line(cr, x0, y0, x1, y1, width, WHITE);
}

// The dial: marks every 5 knots up to 160, every 10 to 250, every 10 (long
// every 50) to 400; the figures and the caption KNOTS.
void dial(cairo_t* cr) {
    fill_circle(cr, CX, CY, DIAL_RADIUS, DIAL);
    for (int k = 60; k <= 400; k += 5) {
        const bool figure = (k <= 200 && k % 20 == 0) || k % 50 == 0;
        if (k > 160 && k % 10 != 0) continue;
        const bool ten = k % 10 == 0;
        mark(cr, k, figure ? 10 : ten ? 7 : 4.5, figure ? 2.4 : ten ? 1.6 : 1.1);
    }
    // The arc joining the marks, from 60 to 400 knots.
    set_colour(cr, WHITE);
    cairo_set_line_width(cr, 1.2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, CX, CY, MARK_OUTER, -M_PI / 2, (angle(400) - 90) * M_PI / 180);
    cairo_stroke(cr);
    static const int figures[] = {60, 80, 100, 120, 140, 160, 180, 200, 250, 300, 350, 400};
    for (int k : figures) {
        char s[4];
        snprintf(s, sizeof s, "%d", k);
        double x, y;
        polar(angle(k), FIGURE_RADIUS, &x, &y);
        text(cr, s, x, y + 4, k >= 100 ? 11 : 13, Face::NarrowBold, WHITE, Align::Centre);
    }
    text(cr, "KNOTS", CX, CY - 24, 10, Face::SansBold, WHITE, Align::Centre);
}

// The pointer, 157x157 about its centre: a white needle to the marks with a
// short counterweight, on a dark hub.
void pointer(cairo_t* cr) { kestrel::art::pointer(cr, {78.5, 76, 66, 16, 8, 14, 7, 3}, WHITE); }

void pointer_mask(cairo_t* cr) { fill_circle(cr, CX, CY, DIAL_RADIUS, WHITE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 181, 181, face, "the case with its screws and the round bezel"},
    {0x1200, 181, 181, dial, "the dial: marks, figures 60 to 400 knots, KNOTS"},
    {0x1400, 157, 157, pointer, "the pointer, pointing up from its centre"},
    {0x1401, 181, 181, pointer_mask, "the pointer's window: the whole dial"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
