// The radio magnetic indicator's bitmaps: the face with its dark disc, the
// lubber mark and the knobs' legends; the compass card; the two pointers; the
// two selector knobs.
//
// The card turns counter-clockwise by the heading, so it is drawn with north
// up and degrees increasing clockwise; the pointers turn clockwise by their
// bearing, so they are drawn pointing up. Each is seen through a mask as
// large as the face, open over the disc.
#include <math.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t WHITE = 0xF2F2F2;
constexpr uint32_t DISC_GREY = 0x34383D;
constexpr uint32_t BEZEL = 0x1C1E21;
constexpr uint32_t POINTER_1 = 0x40E060;  // green
constexpr uint32_t POINTER_2 = 0xF0C030;  // amber

constexpr int FACE_W = 242, FACE_H = 277;
constexpr double CX = 120, CY = 153;  // where the card and pointers turn
constexpr double CARD_R = 86;         // the card's outer ring
constexpr double KNOB_R = 19;

// Small lettering turned by `degrees` about its centre.
void legend(cairo_t* cr, const char* s, double x, double y, double degrees) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, degrees * M_PI / 180);
    text(cr, s, 0, 3, 9, Face::SansBold, MARKING_WHITE, Align::Centre);
    cairo_restore(cr);
}

void face(cairo_t* cr) {
    fill_rect(cr, 0, 0, FACE_W, FACE_H, NEAR_BLACK);
    fill_circle(cr, CX, CY, 104, BEZEL);
    fill_circle(cr, CX, CY, 96, DISC_GREY);
    // Index marks every 45 degrees around the card, the lubber mark on top.
    for (int d = 45; d < 360; d += 45) {
        const double a = d * M_PI / 180;
        line(cr, CX + 90 * sin(a), CY - 90 * cos(a), CX + 96 * sin(a), CY - 96 * cos(a), 2, WHITE);
    }
    const double lubber[][2] = {{CX - 5, CY - 97}, {CX + 5, CY - 97}, {CX, CY - 88}};
    fill_polygon(cr, lubber, 3, WHITE);
    // A small aircraft in the middle.
    line(cr, CX, CY - 10, CX, CY + 10, 2, WHITE);
    line(cr, CX - 9, CY - 2, CX + 9, CY - 2, 2, WHITE);
    line(cr, CX - 4, CY + 8, CX + 4, CY + 8, 2, WHITE);
    // The knobs' seats and what each position selects.
    const double k1x = 11 + 24, k2x = 184 + 24, ky = 227 + 24;
    fill_circle(cr, k1x, ky, KNOB_R + 3, BEZEL);
    fill_circle(cr, k2x, ky, KNOB_R + 3, BEZEL);
    legend(cr, "VOR 1", k1x, ky - KNOB_R - 8, 0);
    legend(cr, "VOR 2", k1x - KNOB_R - 9, ky + 4, -90);
    legend(cr, "ADF", k2x, ky - KNOB_R - 8, 0);
    legend(cr, "OFF", k2x + KNOB_R + 9, ky + 4, 90);
}

void card(cairo_t* cr) {
    const double c = 181 / 2.0;
    stroke_circle(cr, c, c, CARD_R, 1.5, WHITE);
    for (int d = 0; d < 360; d += 5) {
        const double a = d * M_PI / 180;
        const double len = d % 10 == 0 ? 9 : 5;
        line(cr, c + CARD_R * sin(a), c - CARD_R * cos(a), c + (CARD_R - len) * sin(a),
             c - (CARD_R - len) * cos(a), d % 10 == 0 ? 2 : 1.2, WHITE);
    }
    const char* figures[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    for (int k = 0; k < 12; ++k) {
        cairo_save(cr);
        cairo_translate(cr, c, c);
        cairo_rotate(cr, k * 30 * M_PI / 180);
        const double size = k % 3 == 0 ? 15 : 12;
        text(cr, figures[k], 0, -CARD_R + 14 + size * 0.72, size, Face::SansBold, WHITE, Align::Centre);
        cairo_restore(cr);
    }
}

void disc_mask(cairo_t* cr) { fill_circle(cr, CX, CY, CARD_R + 2, WHITE); }

// Pointer 1: a hollow arrow from tail to head.
void pointer_1(cairo_t* cr) {
    const double c = 163 / 2.0, r = 80;
    const double p[][2] = {{c, c - r},         {c - 8, c - r + 16}, {c - 3, c - r + 16}, {c - 3, c + r - 2},
                           {c + 3, c + r - 2}, {c + 3, c - r + 16}, {c + 8, c - r + 16}};
    set_colour(cr, POINTER_1);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, p[0][0], p[0][1]);
    for (const auto& q : p) cairo_line_to(cr, q[0], q[1]);
    cairo_close_path(cr);
    cairo_stroke(cr);
}

// Pointer 2: a dashed double-line arrow.
void pointer_2(cairo_t* cr) {
    const double c = 163 / 2.0, r = 80;
    const double head[][2] = {{c, c - r}, {c - 9, c - r + 16}, {c + 9, c - r + 16}};
    fill_polygon(cr, head, 3, POINTER_2);
    set_colour(cr, POINTER_2);
    cairo_set_line_width(cr, 2.5);
    const double dash[] = {9, 5};
    cairo_set_dash(cr, dash, 2, 0);
    for (double dx : {-4.0, 4.0}) {
        cairo_move_to(cr, c + dx, c - r + 16);
        cairo_line_to(cr, c + dx, c + r - 2);
    }
    cairo_stroke(cr);
}

// A knob with an arrow on its face pointing `degrees` clockwise from up:
// solid, hollow or dashed.
enum class Arrow { Solid, Hollow, Dashed };
void knob(cairo_t* cr, double degrees, Arrow arrow) {
    const double c = 24;
    fill_circle(cr, c, c, KNOB_R, 0x2A2D31);
    stroke_circle(cr, c, c, KNOB_R - 0.5, 1, 0x5A6066);
    fill_circle(cr, c - 2, c - 2, KNOB_R - 6, 0x3A3E43);
    cairo_save(cr);
    cairo_translate(cr, c, c);
    cairo_rotate(cr, degrees * M_PI / 180);
    const double head[][2] = {{0, -16}, {-6, -6}, {6, -6}};
    set_colour(cr, WHITE);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, head[0][0], head[0][1]);
    for (const auto& q : head) cairo_line_to(cr, q[0], q[1]);
    cairo_close_path(cr);
    if (arrow == Arrow::Hollow)
        cairo_stroke(cr);
    else
        cairo_fill(cr);
    if (arrow == Arrow::Dashed) {
        const double dash[] = {4, 3};
        cairo_set_dash(cr, dash, 2, 0);
    }
    if (arrow == Arrow::Hollow) {
        cairo_move_to(cr, -2, -6);
        cairo_line_to(cr, -2, 14);
        cairo_line_to(cr, 2, 14);
        cairo_line_to(cr, 2, -6);
        cairo_stroke(cr);
    } else {
        cairo_move_to(cr, 0, -6);
        cairo_line_to(cr, 0, 14);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void knob_1_left(cairo_t* cr) { knob(cr, -90, Arrow::Solid); }
void knob_1_up(cairo_t* cr) { knob(cr, 0, Arrow::Hollow); }
void knob_2_right(cairo_t* cr) { knob(cr, 90, Arrow::Dashed); }
void knob_2_up(cairo_t* cr) { knob(cr, 0, Arrow::Dashed); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, FACE_W, FACE_H, face, "black face with the dark disc, lubber mark and knob legends"},
    {0x1500, 181, 181, card, "compass card with N, E, S, W and 3 to 33"},
    {0x1501, FACE_W, FACE_H, disc_mask, "compass card's mask"},
    {0x1900, 48, 48, knob_1_left, "selector 1 knob pointing left, solid arrow"},
    {0x1901, 48, 48, knob_1_up, "selector 1 knob pointing up, hollow arrow"},
    {0x2000, 48, 48, knob_2_right, "selector 2 knob pointing right, dashed arrow"},
    {0x2001, 48, 48, knob_2_up, "selector 2 knob pointing up, dashed arrow"},
    {0x1200, 163, 163, pointer_1, "pointer 1, hollow arrow"},
    {0x1201, FACE_W, FACE_H, disc_mask, "pointer 1's mask"},
    {0x1400, 163, 163, pointer_2, "pointer 2, dashed arrow"},
    {0x1401, FACE_W, FACE_H, disc_mask, "pointer 2's mask"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
