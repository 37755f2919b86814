// The standby attitude indicator's bitmaps, 120x120 about the centre (60, 60).
//
// Drawn for the host's conventions:
// - the sphere turns clockwise on the screen by the bank (positive left wing
//   down) and moves by 4/3 pixel per degree of pitch (positive nose down,
//   bringing the ground up), so nose-up pitch lines lie above the horizon;
// - a sprite is seen through its mask (resource id + 1) where the mask is
//   not black. The aircraft symbol stands in front of the sphere, so it is a
//   hole in the sphere's mask, drawn on the disc below, which shows through
//   it; both are drawn without antialiasing so they agree pixel for pixel;
// - the bank index turns with the sphere, so its triangle at the top points
//   at the bank on the fixed scale round the disc.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

// Colours (0xRRGGBB).
constexpr uint32_t SKY = 0x2E8BD6;
constexpr uint32_t GROUND = 0x8B5A2B;
constexpr uint32_t WHITE = 0xF2F2F2;
constexpr uint32_t SYMBOL = 0xF5C400;  // the fixed aircraft, yellow
constexpr uint32_t DISC_GREY = 0x3A3E42;

constexpr double C = 60;               // centre of the gauge
constexpr double SPHERE_RADIUS = 45;   // the sphere shows inside this circle
constexpr double SCALE_INNER = 47, SCALE_OUTER = 53;
constexpr double DISC_RADIUS = 55;
constexpr double PX_PER_DEGREE = 4.0 / 3.0;

// A point at `radius` from the centre, `degrees` clockwise from straight up.
void polar(double degrees, double radius, double* x, double* y) {
    const double t = degrees * M_PI / 180;
    *x = C + radius * sin(t);
    *y = C - radius * cos(t);
}

// The square case with its fixing screws and the round bezel.
void face(cairo_t* cr) { instrument_case(cr, {120, 120, 9, 9, 4, C, C, 59, 60, 56.5}); }

// The fixed aircraft: a wing bar each side and a centre square, yellow with a
// dark outline so it reads against sky and ground. `hole` draws it black, for
// the mask.
void aircraft_symbol(cairo_t* cr, bool hole) {
    const uint32_t outline = hole ? 0 : NEAR_BLACK, fill = hole ? 0 : SYMBOL;
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (double x : {28.0, 70.0}) {
        fill_rect(cr, x - 1, 58, 24, 5, outline);
        fill_rect(cr, x, 59, 22, 3, fill);
    }
    // The inner ends drop a little, as the wings of the symbol do.
    fill_rect(cr, 47, 58, 5, 8, outline);
    fill_rect(cr, 48, 59, 3, 6, fill);
    fill_rect(cr, 68, 58, 5, 8, outline);
    fill_rect(cr, 69, 59, 3, 6, fill);
    fill_rect(cr, 57, 57, 6, 6, outline);
    fill_rect(cr, 58, 58, 4, 4, fill);
    cairo_restore(cr);
}

// The dark grey disc round the sphere with the bank scale (marks at 10, 20,
// 30, 45 and 60 degrees each way, a triangle at wings level) and the aircraft
// symbol, which shows through its hole in the sphere's mask.
void disc(cairo_t* cr) {
    fill_circle(cr, C, C, DISC_RADIUS, DISC_GREY);
    fill_circle(cr, C, C, SPHERE_RADIUS + 1, NEAR_BLACK);
    for (double a : {-60.0, -45.0, -30.0, -20.0, -10.0, 10.0, 20.0, 30.0, 45.0, 60.0}) {
        const bool major = fabs(a) == 30 || fabs(a) == 60;
        double x0, y0, x1, y1;
        polar(a, SCALE_INNER, &x0, &y0);
        polar(a, major ? SCALE_OUTER + 1 : SCALE_OUTER - 2, &x1, &y1);
        line(cr, x0, y0, x1, y1, major ? 2 : 1.4, WHITE);
    }
    const double zero[][2] = {{C, C - SCALE_INNER}, {C - 4, C - SCALE_OUTER - 1}, {C + 4, C - SCALE_OUTER - 1}};
    fill_polygon(cr, zero, 3, WHITE);
    aircraft_symbol(cr, false);
}

// The sphere, 200x200: sky above, ground below, the white horizon, and the
// pitch ladder every 5 degrees (figures every 10) up to 60 degrees each way.
void sphere(cairo_t* cr) {
    const double c = 100;
    fill_rect(cr, 0, 0, 200, c, SKY);
    fill_rect(cr, 0, c, 200, c, GROUND);
    fill_rect(cr, 0, c - 1, 200, 2, WHITE);
    for (int step = -12; step <= 12; ++step) {
        if (step == 0) continue;
        const double y = round(c + step * 5 * PX_PER_DEGREE);  // positive: nose down, below
        const bool ten = step % 2 == 0;
        const double half = ten ? 12 : 6;
        fill_rect(cr, c - half, y - 0.5, 2 * half, 1, WHITE);
        if (ten) {
            char s[4];
            snprintf(s, sizeof s, "%d", abs(step) * 5);
            text(cr, s, c - half - 2, y + 2.5, 7, Face::SansBold, WHITE, Align::Right);
            text(cr, s, c + half + 2, y + 2.5, 7, Face::SansBold, WHITE, Align::Left);
        }
    }
}

// The sphere shows through a circle, less the aircraft symbol.
void sphere_mask(cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    fill_circle(cr, C, C, SPHERE_RADIUS, WHITE);
    aircraft_symbol(cr, true);
}

// The bank index: a white triangle on the sphere's rim, pointing up at the
// scale when the wings are level.
void bank_index(cairo_t* cr) {
    const double p[][2] = {{C, C - SPHERE_RADIUS - 1}, {C - 5, C - SPHERE_RADIUS + 8},
                           {C + 5, C - SPHERE_RADIUS + 8}};
    fill_polygon(cr, p, 3, NEAR_BLACK);
    const double q[][2] = {{C, C - SPHERE_RADIUS + 1}, {C - 3.5, C - SPHERE_RADIUS + 7},
                           {C + 3.5, C - SPHERE_RADIUS + 7}};
    fill_polygon(cr, q, 3, WHITE);
}

void index_mask(cairo_t* cr) { fill_circle(cr, C, C, DISC_RADIUS, WHITE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 120, 120, face, "the case with its screws and the round bezel"},
    {0x1300, 120, 120, disc, "the dark grey disc with the bank scale and the aircraft symbol"},
    {0x1200, 200, 200, sphere, "the attitude sphere: sky, ground, pitch ladder every 5 degrees"},
    {0x1201, 120, 120, sphere_mask, "the sphere's window, less the aircraft symbol"},
    {0x1400, 120, 120, bank_index, "the bank index triangle"},
    {0x1401, 120, 120, index_mask, "the bank index's window"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
