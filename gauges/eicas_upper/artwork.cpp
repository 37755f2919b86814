// The upper engine and warning display's bitmaps: the dark screen, the dials
// with their boxes and lines, the four needles, the nine slat and flap
// pictures and the cover.
//
// The host turns a needle to the direction of each table point about the
// pivot and interpolates that direction linearly in value between two
// points, the short way round. The dials below are drawn by the same law
// from the same points, so the needle for a value covers the mark for it.
#include <math.h>
#include <stdio.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t WHITE = 0xF0F0F0;
constexpr uint32_t GREY = 0x8C9096;
constexpr uint32_t GREEN = 0x10E020;
constexpr uint32_t DARK_GREEN = 0x0A7A14;
constexpr uint32_t RED = 0xF02818;
constexpr uint32_t COVER_GREY = 0x151719;

struct Point {
    double x, y, value;
};

struct Dial {
    double cx, cy;  // the needle's pivot
    const Point* points;
    int count;
    double mark_step, figure_step;  // a mark every mark_step, a figure at multiples of figure_step
    double red_from;                // the red line from here to the last point
    double figure_scale;            // figures show value / figure_scale
};

// The needles' tables: N1 0 to 114 percent, EGT 0 to 1000 degrees Celsius.
constexpr Point N1_1[] = {{8, 45, 0}, {11, 13, 50}, {51, 18, 100}, {52, 32, 114}};
constexpr Point N1_2[] = {{79, 42, 0}, {83, 12, 50}, {122, 18, 100}, {124, 32, 114}};
constexpr Point EGT_1[] = {{8, 95, 0}, {12, 62, 500}, {52, 68, 1000}};
constexpr Point EGT_2[] = {{80, 96, 0}, {84, 62, 500}, {123, 68, 1000}};

constexpr Dial DIALS[] = {
    {28, 30, N1_1, 4, 10, 50, 104, 10},
    {99, 29, N1_2, 4, 10, 50, 104, 10},
    {28, 79, EGT_1, 3, 100, 500, 950, 100},
    {98, 79, EGT_2, 3, 100, 500, 950, 100},
};

constexpr double ARC_RADIUS = 24.5;
constexpr double MARK_INNER = 20.5, LONG_MARK_INNER = 18.5;
constexpr double FIGURE_RADIUS = 13;

// The needle's direction for a value, in radians, y pointing down.
double direction(const Dial& d, double value) {
    auto angle = [&](int i) { return atan2(d.points[i].y - d.cy, d.points[i].x - d.cx); };
    if (value <= d.points[0].value) return angle(0);
    for (int i = 0; i + 1 < d.count; ++i) {
        const Point &a = d.points[i], &b = d.points[i + 1];
        if (value > b.value) continue;
        double turn = angle(i + 1) - angle(i);
        if (turn > M_PI) turn -= 2 * M_PI;
        if (turn < -M_PI) turn += 2 * M_PI;
        return angle(i) + (value - a.value) / (b.value - a.value) * turn;
    }
    return angle(d.count - 1);
}

void radial(cairo_t* cr, const Dial& d, double value, double r0, double r1, double width, uint32_t rgb) {
    const double a = direction(d, value);
    line(cr, d.cx + r0 * cos(a), d.cy + r0 * sin(a), d.cx + r1 * cos(a), d.cy + r1 * sin(a), width, rgb);
}

// The arc between two values, in short steps (the law is linear in angle
// only between table points, so the arc is drawn as a polyline).
void arc(cairo_t* cr, const Dial& d, double from, double to, double r, double width, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const double a = direction(d, from + (to - from) * i / steps);
        if (i == 0)
            cairo_move_to(cr, d.cx + r * cos(a), d.cy + r * sin(a));
        else
            cairo_line_to(cr, d.cx + r * cos(a), d.cy + r * sin(a));
    }
    cairo_stroke(cr);
}

void dial(cairo_t* cr, const Dial& d) {
    const double last = d.points[d.count - 1].value;
    arc(cr, d, d.points[0].value, d.red_from, ARC_RADIUS, 1.2, WHITE);
    arc(cr, d, d.red_from, last, ARC_RADIUS - 0.5, 2.6, RED);
    radial(cr, d, d.red_from, MARK_INNER - 2, ARC_RADIUS + 1.5, 1.6, RED);
    for (double v = d.points[0].value; v <= d.red_from; v += d.mark_step) {
        const bool major = fmod(v, d.figure_step) == 0 && v > 0;
        radial(cr, d, v, major ? LONG_MARK_INNER : MARK_INNER, ARC_RADIUS, major ? 1.6 : 1.2, WHITE);
        if (!major) continue;
        char figure[8];
        snprintf(figure, sizeof figure, "%.0f", v / d.figure_scale);
        const double a = direction(d, v);
        text(cr, figure, d.cx + FIGURE_RADIUS * cos(a), d.cy + FIGURE_RADIUS * sin(a) + 3.2, 9, Face::Sans,
             WHITE, Align::Centre);
    }
}

// A readout box, open at the top like the engine display's.
void box(cairo_t* cr, double x0, double y0, double x1, double y1) {
    set_colour(cr, GREY);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr, x0 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x1 + 0.5, y0 + 0.5);
    cairo_stroke(cr);
}

void screen(cairo_t* cr) { fill_rect(cr, 0, 0, 205, 217, SCREEN_BLACK); }

void scales(cairo_t* cr) {
    for (const Dial& d : DIALS) dial(cr, d);
    // N1 readout boxes below the pivots, EGT boxes likewise.
    box(cr, 18, 33, 50, 49);
    box(cr, 86, 32, 120, 48);
    box(cr, 19, 82, 47, 98);
    box(cr, 89, 82, 117, 98);
    // Lines: under the engines, between memo columns, beside the labels.
    line(cr, 4, 142.5, 201, 142.5, 1, GREY);
    line(cr, 127.5, 146, 127.5, 208, 1, GREY);
    line(cr, 129, 85.5, 131, 85.5, 1, GREY);
    for (double y : {104.5, 125.5}) {
        line(cr, 46, y, 51, y, 1, GREY);
        line(cr, 76, y, 81, y, 1, GREY);
    }
}

// A needle: a green pointer along +x from its pivot at (1, 1), 27x3.
void needle(cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    fill_rect(cr, 0, 0, 25, 3, DARK_GREEN);
    fill_rect(cr, 0, 1, 27, 1, GREEN);
    fill_rect(cr, 2, 0, 20, 3, GREEN);
}

// The slat and flap picture, 75x62, placed at (128, 79): the labels S, FLAPS
// and F lie along its top and the flap setting below the wing.
constexpr double WING_LEFT = 29, WING_RIGHT = 47, WING_Y = 21;
constexpr int SLAT_STOPS = 3, FLAP_STOPS = 4;

// Where a slat (k stops out, going down to the left) and a flap (down to the
// right) sit on their tracks.
void slat_at(double k, double* x, double* y) {
    *x = WING_LEFT - 6 * k;
    *y = WING_Y + 3.5 * k;
}
void flap_at(double k, double* x, double* y) {
    *x = WING_RIGHT + 4 * k;
    *y = WING_Y + 3.2 * k;
}

void quad(cairo_t* cr, double x, double y, double dx0, double dy0, double dx1, double dy1, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + dx0, y + dy0);
    cairo_line_to(cr, x + dx0 + dx1, y + dy0 + dy1);
    cairo_line_to(cr, x + dx1, y + dy1);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void flaps(cairo_t* cr, int frame) {
    // The wing section, fixed.
    quad(cr, WING_LEFT + 1, WING_Y - 3, WING_RIGHT - WING_LEFT - 1, 0, -1.5, 5, WHITE);
    // The stops along each track.
    for (int k = 1; k <= SLAT_STOPS; ++k) {
        double x, y;
        slat_at(k, &x, &y);
        fill_rect(cr, x - 4, y + 3, 2, 2, WHITE);
    }
    for (int k = 1; k <= FLAP_STOPS; ++k) {
        double x, y;
        flap_at(k, &x, &y);
        fill_rect(cr, x + 3, y + 3, 2, 2, WHITE);
    }
    // Slats and flaps, further out at every frame.
    double x, y;
    slat_at(SLAT_STOPS * frame / 8.0, &x, &y);
    quad(cr, x - 1, y - 3, -8, 4.5, 1.5, 3.5, GREEN);
    flap_at(FLAP_STOPS * frame / 8.0, &x, &y);
    quad(cr, x + 1, y - 3, 9, 4.5, -1.5, 3.5, GREEN);
}

void flaps_0(cairo_t* cr) { flaps(cr, 0); }
void flaps_1(cairo_t* cr) { flaps(cr, 1); }
void flaps_2(cairo_t* cr) { flaps(cr, 2); }
void flaps_3(cairo_t* cr) { flaps(cr, 3); }
void flaps_4(cairo_t* cr) { flaps(cr, 4); }
void flaps_5(cairo_t* cr) { flaps(cr, 5); }
void flaps_6(cairo_t* cr) { flaps(cr, 6); }
void flaps_7(cairo_t* cr) { flaps(cr, 7); }
void flaps_8(cairo_t* cr) { flaps(cr, 8); }

// The screen switched off: dark glass with a faint sheen at the top.
void cover(cairo_t* cr) {
    fill_gradient(cr, 0, 0, 205, 217, 0x1C1F22, COVER_GREY);
}

}  // namespace

const Bitmap artwork[] = {
    {0x1100, 205, 217, screen, "the dark screen"},
    {0x1200, 205, 217, scales, "the N1 and EGT dials, the readout boxes and the separating lines"},
    {0x1300, 27, 3, needle, "engine 1 N1 needle"},
    {0x1400, 27, 3, needle, "engine 2 N1 needle"},
    {0x1500, 27, 3, needle, "engine 1 EGT needle"},
    {0x1600, 27, 3, needle, "engine 2 EGT needle"},
    {0x1700, 75, 62, flaps_0, "slats and flaps retracted"},
    {0x1701, 75, 62, flaps_1, "slats and flaps, handle step 1"},
    {0x1702, 75, 62, flaps_2, "slats and flaps, handle step 2"},
    {0x1703, 75, 62, flaps_3, "slats and flaps, handle step 3"},
    {0x1704, 75, 62, flaps_4, "slats and flaps, handle step 4"},
    {0x1705, 75, 62, flaps_5, "slats and flaps, handle step 5"},
    {0x1706, 75, 62, flaps_6, "slats and flaps, handle step 6"},
    {0x1707, 75, 62, flaps_7, "slats and flaps, handle step 7"},
    {0x1708, 75, 62, flaps_8, "slats and flaps fully extended"},
    {0x1900, 205, 217, cover, "the cover: the screen switched off"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
