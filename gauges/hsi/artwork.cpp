// The horizontal situation indicator's bitmaps.
//
// Drawn for the host's conventions: a sprite turns counter-clockwise by its
// angle and is seen only through its mask (resource id + 1, as large as the
// face), and its image's centre sits on the element's offset. The cards turn
// counter-clockwise by the heading, so they are drawn with north up and
// degrees increasing clockwise; the pointers turn clockwise by their angle
// relative to the nose, so they are drawn pointing up.
//
// Both cards' rings reach up to row 49, just under the fixed lubber line on
// the face. The face carries the aircraft symbol of each presentation; each
// card is opaque inside its ring except a hole over its own symbol, so the
// other presentation's symbol never shows.
#include <math.h>
#include <stdio.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

// Colours (0xRRGGBB).
constexpr uint32_t WHITE = 0xF2F2F2;
constexpr uint32_t MAGENTA = 0xF040E8;
constexpr uint32_t CYAN = 0x30D8F0;
constexpr uint32_t COVER_GREY = 0x2A2D31;

constexpr int FACE_W = 210, FACE_H = 230;

// Where the cards turn on the face, and their rings' radii.
constexpr double ARC_X = 105, ARC_Y = 189, ARC_R = 140;
constexpr double ROSE_X = 104, ROSE_Y = 125, ROSE_R = 76;
constexpr double ROSE_POINTER_X = 105, ROSE_POINTER_Y = 127;
constexpr double SYMBOL_HOLE = 14;  // the clear middle of a card, over its aircraft symbol

// Deviation: full scale (the second dot) is 40 pixels on the arc, 30 on the rose.
constexpr double ARC_DOT = 20, ROSE_DOT = 15;

// A point at `r` from (cx, cy) in the direction `degrees` clockwise from up.
void polar(double cx, double cy, double r, double degrees, double* x, double* y) {
    const double a = degrees * M_PI / 180;
    *x = cx + r * sin(a);
    *y = cy - r * cos(a);
}

void radial(cairo_t* cr, double cx, double cy, double r0, double r1, double degrees, double width,
            uint32_t rgb) {
    double x0, y0, x1, y1;
    polar(cx, cy, r0, degrees, &x0, &y0);
    polar(cx, cy, r1, degrees, &x1, &y1);
    line(cr, x0, y0, x1, y1, width, rgb);
}

// ---------------------------------------------------------------------------
// Face and cover

// The aircraft symbol: a white triangle pointing up, its middle at (x, y).
void aircraft(cairo_t* cr, double x, double y) {
    const double p[][2] = {{x, y - 8}, {x - 6, y + 8}, {x + 6, y + 8}};
    set_colour(cr, WHITE);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, p[0][0], p[0][1]);
    for (int i = 1; i < 3; ++i) cairo_line_to(cr, p[i][0], p[i][1]);
    cairo_close_path(cr);
    cairo_stroke(cr);
    line(cr, x, y + 8, x, y + 11, 1.5, WHITE);
}

void face(cairo_t* cr) {
    fill_rect(cr, 0, 0, FACE_W, FACE_H, SCREEN_BLACK);
    // The lubber line: a white triangle pointing down at the top of the ring.
    const double lubber[][2] = {{ARC_X - 5, 42}, {ARC_X + 5, 42}, {ARC_X, 49}};
    fill_polygon(cr, lubber, 3, WHITE);
    aircraft(cr, ARC_X, ARC_Y);
    aircraft(cr, ROSE_POINTER_X, ROSE_POINTER_Y);
}

void cover(cairo_t* cr) {
    fill_rect(cr, 0, 0, FACE_W, FACE_H, COVER_GREY);
    stroke_rect(cr, 1.5, 1.5, FACE_W - 3, FACE_H - 3, 1, 0x3A3E42);
}

// ---------------------------------------------------------------------------
// Compass cards

// A figure standing on the card at `r` from its centre, upright when its
// direction is up.
void figure(cairo_t* cr, double cx, double cy, double r, double degrees, const char* s, double size) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, degrees * M_PI / 180);
    text(cr, s, 0, -r + size * 0.36, size, Face::SansBold, WHITE, Align::Centre);
    cairo_restore(cr);
}

// A card: opaque inside the ring but for its middle, the ring, ticks every 5
// degrees (longer every 10), and figures in tens of degrees every `every`
// degrees, the ones on the thirties larger.
void card(cairo_t* cr, double c, double r, double tick, double figure_r, int every, double size) {
    fill_circle(cr, c, c, r, SCREEN_BLACK);
    fill_circle(cr, c, c, SYMBOL_HOLE, 0x000000);
    stroke_circle(cr, c, c, r, 1.5, WHITE);
    for (int d = 0; d < 360; d += 5)
        radial(cr, c, c, r, r - (d % 10 == 0 ? 2 * tick : tick), d, d % 10 == 0 ? 2 : 1.5, WHITE);
    for (int d = 0; d < 360; d += every) {
        char s[12];
        snprintf(s, sizeof s, "%d", d / 10);
        figure(cr, c, c, figure_r, d, s, d % 30 == 0 ? size : size * 0.8);
    }
}

void arc_card(cairo_t* cr) {
    const double c = 299 / 2.0;
    card(cr, c, ARC_R, 5, ARC_R - 21, 10, 13);
    // The half-range ring, dashed.
    set_colour(cr, WHITE);
    cairo_set_line_width(cr, 1);
    const double dash[] = {4, 5};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, c, c, ARC_R / 2, 0, 2 * M_PI);
    cairo_stroke(cr);
}

void rose_card(cairo_t* cr) { card(cr, 90, ROSE_R, 4, ROSE_R - 17, 30, 12); }

// ---------------------------------------------------------------------------
// Pointers, drawn pointing up about the image's centre c

// The course pointer: an arrow head inside the ring, a shaft and a tail, cut
// away around the deviation bar's travel; deviation dots across the middle.
void course_pointer(cairo_t* cr, double c, double r, double dot) {
    const double gap = 2 * dot + 8;
    const double head[][2] = {{c, c - r + 2}, {c - 6, c - r + 16}, {c + 6, c - r + 16}};
    fill_polygon(cr, head, 3, WHITE);
    fill_rect(cr, c - 1.5, c - r + 16, 3, r - 16 - gap, WHITE);
    fill_rect(cr, c - 1.5, c + gap, 3, r - 4 - gap, WHITE);
    for (int k : {-2, -1, 1, 2}) stroke_circle(cr, c + k * dot, c, 3, 1.5, WHITE);
}

void deviation_bar(cairo_t* cr, double c, double dot) {
    const double half = 2 * dot + 6;
    fill_rect(cr, c - 1.5, c - half, 3, 2 * half, MAGENTA);
}

// The selected heading marker: a notched box on the ring.
void heading_marker(cairo_t* cr, double c, double r) {
    const double p[][2] = {{c - 8, c - r + 1}, {c - 8, c - r - 6}, {c - 3, c - r - 6}, {c, c - r},
                           {c + 3, c - r - 6},  {c + 8, c - r - 6}, {c + 8, c - r + 1}};
    fill_polygon(cr, p, 7, MAGENTA);
}

// The bearing pointer: a narrow arrow through the card, its tail ending in a
// crossbar.
void bearing_pointer(cairo_t* cr, double c, double r) {
    const double head[][2] = {{c, c - r + 1}, {c - 5, c - r + 12}, {c + 5, c - r + 12}};
    fill_polygon(cr, head, 3, CYAN);
    fill_rect(cr, c - 1, c - r + 12, 2, 2 * r - 14, CYAN);
    fill_rect(cr, c - 6, c + r - 4, 12, 2, CYAN);
}

void arc_course(cairo_t* cr) { course_pointer(cr, 299 / 2.0, ARC_R - 4, ARC_DOT); }
void arc_deviation(cairo_t* cr) { deviation_bar(cr, 299 / 2.0, ARC_DOT); }
void rose_course(cairo_t* cr) { course_pointer(cr, 90, ROSE_R - 4, ROSE_DOT); }
void rose_deviation(cairo_t* cr) { deviation_bar(cr, 90, ROSE_DOT); }

// On the arc the selected heading also has a dashed line from the aircraft.
void arc_heading_line(cairo_t* cr) {
    const double c = 299 / 2.0;
    heading_marker(cr, c, ARC_R);
    set_colour(cr, MAGENTA);
    cairo_set_line_width(cr, 1.5);
    const double dash[] = {6, 5};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, c, c - SYMBOL_HOLE);
    cairo_line_to(cr, c, c - ARC_R + 8);
    cairo_stroke(cr);
}
void rose_heading_marker(cairo_t* cr) { heading_marker(cr, 90, ROSE_R); }

void arc_bearing(cairo_t* cr) { bearing_pointer(cr, 299 / 2.0, ARC_R - 2); }
void rose_bearing(cairo_t* cr) { bearing_pointer(cr, 90, ROSE_R - 2); }

// Masks: each set is seen within its ring (and the markers just outside it).
void arc_mask(cairo_t* cr) { fill_circle(cr, ARC_X, ARC_Y, ARC_R + 7, WHITE); }
void rose_card_mask(cairo_t* cr) { fill_circle(cr, ROSE_X, ROSE_Y, ROSE_R + 7, WHITE); }
void rose_mask(cairo_t* cr) { fill_circle(cr, ROSE_POINTER_X, ROSE_POINTER_Y, ROSE_R + 7, WHITE); }

// The wind arrow points the way the wind blows: down, for a wind on the nose.
void wind_arrow(cairo_t* cr) {
    line(cr, 11, 1, 11, 16, 2, WHITE);
    const double head[][2] = {{11, 21}, {6, 13}, {16, 13}};
    fill_polygon(cr, head, 3, WHITE);
}
void wind_mask(cairo_t* cr) { fill_rect(cr, 0, 0, 37, 46, WHITE); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, FACE_W, FACE_H, face, "black face: lubber line and both aircraft symbols"},
    {0x2400, 299, 299, arc_card, "compass card, arc"},
    {0x2401, FACE_W, FACE_H, arc_mask, "arc card's mask"},
    {0x1200, 299, 299, arc_course, "course pointer with deviation dots, arc"},
    {0x1201, FACE_W, FACE_H, arc_mask, "arc course pointer's mask"},
    {0x1600, 299, 299, arc_deviation, "course deviation bar, arc"},
    {0x1601, FACE_W, FACE_H, arc_mask, "arc deviation bar's mask"},
    {0x2800, 299, 299, arc_heading_line, "selected heading line, arc"},
    {0x2801, FACE_W, FACE_H, arc_mask, "arc heading line's mask"},
    {0x1400, 180, 180, rose_card, "compass rose card"},
    {0x1401, FACE_W, FACE_H, rose_card_mask, "rose card's mask"},
    {0x3000, 180, 180, rose_course, "course pointer with deviation dots, rose"},
    {0x3001, FACE_W, FACE_H, rose_mask, "rose course pointer's mask"},
    {0x2000, 180, 180, rose_deviation, "course deviation bar, rose"},
    {0x2001, FACE_W, FACE_H, rose_mask, "rose deviation bar's mask"},
    {0x2600, 180, 180, rose_heading_marker, "selected heading marker, rose"},
    {0x2601, FACE_W, FACE_H, rose_mask, "rose heading marker's mask"},
    {0x2200, 180, 180, rose_bearing, "bearing pointer, rose"},
    {0x2201, FACE_W, FACE_H, rose_mask, "rose bearing pointer's mask"},
    {0x1800, 22, 22, wind_arrow, "wind arrow"},
    {0x1801, 37, 46, wind_mask, "wind arrow's mask"},
    {0x3200, 299, 299, arc_bearing, "bearing pointer, arc"},
    {0x3201, FACE_W, FACE_H, arc_mask, "arc bearing pointer's mask"},
    {0x3400, FACE_W, FACE_H, cover, "dark grey cover"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
