// The primary flight display's bitmaps.
//
// Drawn for the host's conventions:
// - a moving image or sprite is seen through its mask (resource id + 1): the
//   picture shows where the mask is not black, and the mask itself is never
//   drawn. Marks that stand in front of a moving picture (the aircraft
//   symbol and bank scale, the reference lines, the altitude readout box)
//   are therefore holes in the mask, drawn on the face below, which shows
//   through them; both are drawn without antialiasing so the two agree
//   pixel for pixel;
// - a moving image's range puts the strip's top (left) edge on the window's
//   at the first value and its bottom (right) edge on the window's at the
//   second, so each tape below is drawn with the value it shows at the middle
//   of its window (the reference line) as a linear function of that value;
// - a needle's bitmap points along +x from its pivot;
// - the sphere turns about its centre by the bank (positive left wing down,
//   turning the picture clockwise) and moves by 3.75 pixels per degree of
//   pitch (positive nose down, bringing the ground up), so nose-up pitch
//   lines are drawn above the horizon.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

// Colours (0xRRGGBB).
constexpr uint32_t SKY = 0x2A8AD8;
constexpr uint32_t GROUND = 0x8A5526;
constexpr uint32_t WHITE = 0xF2F2F2;
constexpr uint32_t YELLOW = 0xF2E600;
constexpr uint32_t GREEN = 0x22E022;
constexpr uint32_t CYAN = 0x22D8F0;
constexpr uint32_t MAGENTA = 0xE040E0;
constexpr uint32_t TAPE_GREY = 0x4C535A;
constexpr uint32_t FRAME_GREY = 0x8A8F94;
constexpr uint32_t DIGIT_GREEN = 0x678C2C;  // as the altitude hundreds readout
constexpr uint32_t COVER_GREY = 0x24272A;

// Where things sit on the 320x360 face.
constexpr double SYMBOL_X = 135, SYMBOL_Y = 204;  // aircraft symbol, the sphere's offset
constexpr double BANK_X = 132, BANK_Y = 201;      // bank pointer pivot
constexpr double ANNUNCIATOR_HEIGHT = 47;
constexpr double COLUMN_LINES[] = {68, 136, 265};  // between the four annunciator columns

// The tapes: the value each shows on the middle line of its window.
constexpr double SPEED_WINDOW = 245, SPEED_STRIP = 1335, SPEED_TOP = 365, SPEED_BOTTOM = 0;
constexpr double ALT_WINDOW = 245, ALT_STRIP = 10800, ALT_TOP = 42600, ALT_BOTTOM = -1450;
constexpr double HDG_WINDOW = 159, HDG_STRIP = 1131, HDG_LEFT = 0, HDG_RIGHT = 359;
constexpr double DRUM_WINDOW = 40, DRUM_STRIP = 97, DRUM_TOP = 99, DRUM_BOTTOM = 0;

// The row (or column) of a strip that shows on the window's middle line at
// `value`, for a range (first, second).
double strip_at(double value, double window, double strip, double first, double second) {
    return window / 2 + (value - first) / (second - first) * (strip - window);
}
double speed_row(double knots) { return strip_at(knots, SPEED_WINDOW, SPEED_STRIP, SPEED_TOP, SPEED_BOTTOM); }
double altitude_row(double feet) { return strip_at(feet, ALT_WINDOW, ALT_STRIP, ALT_TOP, ALT_BOTTOM); }
double heading_column(double degrees) { return strip_at(degrees, HDG_WINDOW, HDG_STRIP, HDG_LEFT, HDG_RIGHT); }
double drum_row(double feet) { return strip_at(feet, DRUM_WINDOW, DRUM_STRIP, DRUM_TOP, DRUM_BOTTOM); }

// Text centred on (x, y) vertically by its digits' height.
void label(cairo_t* cr, const char* s, double x, double y, double size, Face face, uint32_t rgb,
           Align align) {
    text(cr, s, x, y + size * 0.36, size, face, rgb, align);
}

// ---------------------------------------------------------------------------
// Face, annunciator row, cover, borders

void annunciator_lines(cairo_t* cr, double width) {
    for (double x : COLUMN_LINES)
        if (x < width) line(cr, x + 0.5, 3, x + 0.5, ANNUNCIATOR_HEIGHT - 3, 1, FRAME_GREY);
}

void marks_in_front(cairo_t* cr, bool hole);  // below

// The face carries the marks that stand in front of the moving pictures; the
// pictures' masks have holes where they are.
void face(cairo_t* cr) {
    fill_rect(cr, 0, 0, 320, 360, SCREEN_BLACK);
    annunciator_lines(cr, 320);
    marks_in_front(cr, false);
}

void annunciator_frame(cairo_t* cr) { annunciator_lines(cr, 320); }

void cover(cairo_t* cr) {
    fill_rect(cr, 0, 0, 320, 360, COVER_GREY);
    stroke_rect(cr, 1.5, 1.5, 317, 357, 1, 0x33373B);
}

void dark(cairo_t* cr, double w, double h) { fill_rect(cr, 0, 0, w, h, SCREEN_BLACK); }
void strip_left_of_altitude(cairo_t* cr) { dark(cr, 19, 285); }
void altitude_box(cairo_t* cr, bool hole);  // below
void strip_right_of_altitude(cairo_t* cr) {
    dark(cr, 21, 285);
    cairo_translate(cr, -268, -63);  // the readout box's right part lies on this strip
    altitude_box(cr, false);
}
void right_border(cairo_t* cr) { dark(cr, 13, 285); }

// ---------------------------------------------------------------------------
// Vertical speed: the scale at (288, 98), its caps, the needle and its pivot
// at (317, 209). The needle is long; the borders drawn after it leave only
// the part over the scale in sight.

// Rows of the scale for thousands of feet per minute, from the needle table.
constexpr double VS_MARKS[][2] = {{-4, 312}, {-3, 302}, {-2, 292}, {-1, 255}, {0, 209},
                                  {1, 163},  {2, 126},  {3, 115},  {4, 106}};

void vs_scale(cairo_t* cr) {
    const double top = 98;
    fill_rounded(cr, 0, 0, 19, 223, 3, 0x3A4046);
    for (const auto& m : VS_MARKS) {
        const double y = m[1] - top;
        const double len = m[0] == 0 ? 8 : 5;
        line(cr, 19 - len, y, 19, y, m[0] == 0 ? 2 : 1.5, m[0] == 0 ? YELLOW : WHITE);
        char s[4];
        const int k = static_cast<int>(fabs(m[0]));
        if (k == 1 || k == 2 || k == 4) {
            snprintf(s, sizeof s, "%d", k);
            label(cr, s, 6, y, 9, Face::SansBold, WHITE, Align::Centre);
        }
    }
    // Half marks at 500 and 1500 feet per minute.
    for (double y : {(209 + 163) / 2.0, (163 + 126) / 2.0, (209 + 255) / 2.0, (255 + 292) / 2.0})
        line(cr, 16, y - top, 19, y - top, 1, WHITE);
}

void vs_top(cairo_t* cr) {
    dark(cr, 25, 35);
    const double p[][2] = {{1, 35}, {20, 35}, {20, 28}, {4, 31}};
    fill_polygon(cr, p, 4, 0x2A2F34);
}

void vs_bottom(cairo_t* cr) {
    dark(cr, 25, 35);
    const double p[][2] = {{1, 0}, {20, 0}, {20, 7}, {4, 4}};
    fill_polygon(cr, p, 4, 0x2A2F34);
}

void vs_needle(cairo_t* cr) { fill_rect(cr, 2, 2, 120, 2, GREEN); }

// ---------------------------------------------------------------------------
// The attitude sphere and its mask

constexpr double PX_PER_DEGREE = 3.75;

void sphere(cairo_t* cr) {
    const double c = 399 / 2.0;
    fill_rect(cr, 0, 0, 399, c, SKY);
    fill_rect(cr, 0, c, 399, 399 - c, GROUND);
    fill_rect(cr, 0, 199, 399, 2, WHITE);
    // Pitch lines every 2.5 degrees, nose up above the horizon, each two
    // pixel rows thick about the nearest row boundary, so they stay crisp.
    for (int step = -20; step <= 20; ++step) {
        if (step == 0) continue;
        const double degrees = step * 2.5;
        const double y = c + degrees * PX_PER_DEGREE;  // positive: nose down, below
        const bool ten = step % 4 == 0, five = step % 2 == 0;
        const double half = ten ? 26 : five ? 14 : 6;
        fill_rect(cr, c - half, round(y) - 1, 2 * half, ten || five ? 2 : 1, WHITE);
        if (ten) {
            char s[4];
            snprintf(s, sizeof s, "%d", abs(step) / 4 * 10);
            label(cr, s, c - half - 4, y, 9, Face::SansBold, WHITE, Align::Right);
            label(cr, s, c + half + 4, y, 9, Face::SansBold, WHITE, Align::Left);
        }
    }
}

// A mark's colour on the face, or black for its hole in a mask.
uint32_t mark(uint32_t rgb, bool hole) { return hole ? 0x000000 : rgb; }

void aircraft_symbol(cairo_t* cr, bool hole) {
    const double x = SYMBOL_X, y = SYMBOL_Y;
    // Wings: a bar each side with a short drop at the inner end, black outlined.
    for (int side : {-1, 1}) {
        const double outer = x + side * 52, inner = x + side * 22;
        const double left = fmin(outer, inner), right = fmax(outer, inner);
        fill_rect(cr, left - 1, y - 3, right - left + 2, 7, mark(NEAR_BLACK, hole));
        fill_rect(cr, (side < 0 ? inner - 5 : inner - 1), y - 3, 7, 13, mark(NEAR_BLACK, hole));
        fill_rect(cr, left, y - 2, right - left, 5, mark(YELLOW, hole));
        fill_rect(cr, (side < 0 ? inner - 4 : inner), y - 2, 5, 11, mark(YELLOW, hole));
    }
    // The centre square.
    fill_rect(cr, x - 4, y - 4, 8, 8, mark(YELLOW, hole));
    fill_rect(cr, x - 2, y - 2, 4, 4, mark(NEAR_BLACK, hole));
}

void bank_scale(cairo_t* cr, bool hole) {
    const double r = 90;
    set_colour(cr, mark(WHITE, hole));
    cairo_set_line_width(cr, 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, BANK_X, BANK_Y, r, (-90 - 45) * M_PI / 180, (-90 + 45) * M_PI / 180);
    cairo_stroke(cr);
    for (double a : {-45.0, -30.0, -20.0, -10.0, 10.0, 20.0, 30.0, 45.0}) {
        const double len = (fabs(a) == 30 || fabs(a) == 45) ? 10 : 6;
        const double t = (a - 90) * M_PI / 180;
        line(cr, BANK_X + r * cos(t), BANK_Y + r * sin(t), BANK_X + (r + len) * cos(t),
             BANK_Y + (r + len) * sin(t), 2, mark(WHITE, hole));
    }
    // The fixed index at wings level, pointing down at the bank pointer.
    const double p[][2] = {{BANK_X, BANK_Y - r - 1}, {BANK_X - 6, BANK_Y - r - 10}, {BANK_X + 6, BANK_Y - r - 10}};
    fill_polygon(cr, p, 3, mark(YELLOW, hole));
}

// The speed reference: a yellow line across the airspeed tape's middle row
// (207.5 on the face) and a triangle pointing at it from the right.
void speed_reference(cairo_t* cr, bool hole) {
    fill_rect(cr, 0, 206, 39, 3, mark(YELLOW, hole));
    const double p[][2] = {{39, 207.5}, {49, 202.5}, {49, 212.5}};
    fill_polygon(cr, p, 3, mark(YELLOW, hole));
}

// The altitude readout box, black with a yellow edge, over the middle of the
// altitude tape and around the digit drum: rows 191 to 230 of the face.
void altitude_box(cairo_t* cr, bool hole) {
    fill_rect(cr, 234, 191, 55, 40, mark(NEAR_BLACK, hole));
    fill_rect(cr, 234, 191, 55, 2, mark(YELLOW, hole));
    fill_rect(cr, 234, 229, 55, 2, mark(YELLOW, hole));
    fill_rect(cr, 234, 191, 2, 40, mark(YELLOW, hole));
    fill_rect(cr, 287, 191, 2, 40, mark(YELLOW, hole));
}

// The heading reference: a yellow line down the middle of the heading tape.
void heading_reference(cairo_t* cr, bool hole) { fill_rect(cr, 135, 323, 2, 14, mark(YELLOW, hole)); }

void marks_in_front(cairo_t* cr, bool hole) {
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    bank_scale(cr, hole);
    aircraft_symbol(cr, hole);
    speed_reference(cr, hole);
    altitude_box(cr, hole);
    heading_reference(cr, hole);
    cairo_restore(cr);
}

// A window or mask at `x, y` on the face: open (any colour but black) over
// its whole size, with holes where the marks in front of it are.
void window_with_holes(cairo_t* cr, double x, double y, double w, double h) {
    fill_rect(cr, 0, 0, w, h, WHITE);
    cairo_translate(cr, -x, -y);
    marks_in_front(cr, true);
}

// The sphere shows through a rectangle with its corners rounded off by a
// circle about the aircraft symbol, less the symbol and the bank scale.
void sphere_mask(cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, 57, 78, 156, 222);
    cairo_clip(cr);
    fill_circle(cr, SYMBOL_X, SYMBOL_Y, 128, WHITE);
    cairo_reset_clip(cr);
    marks_in_front(cr, true);
}

// The bank pointer: a yellow triangle near the end of a needle pivoting on
// the aircraft symbol (pivot at (3, 4) of the bitmap), pointing at the bank
// scale, with the sideslip bar under it.
void bank_pointer(cairo_t* cr) {
    const double axis = 4;
    const double tip[][2] = {{88, axis}, {79, axis - 4}, {79, axis + 4}};
    fill_polygon(cr, tip, 3, YELLOW);
    fill_rect(cr, 73, axis - 4, 4, 8, YELLOW);
}

// ---------------------------------------------------------------------------
// Flight director bars and their windows (90x90 about the aircraft symbol)

void fd_pitch_bar(cairo_t* cr) { fill_rect(cr, 0, 0, 90, 3, GREEN); }
void fd_roll_bar(cairo_t* cr) { fill_rect(cr, 0, 0, 3, 91, GREEN); }
void open_window(cairo_t* cr) {  // the picture shows everywhere in it
    set_colour(cr, WHITE);
    cairo_paint(cr);
}

// ---------------------------------------------------------------------------
// Deviation scales and pointers

void localizer_scale(cairo_t* cr) {
    const double c = 62.5, y = 8;
    for (double dx : {-59.0, -29.5, 29.5, 59.0}) stroke_circle(cr, c + dx, y, 3, 1.5, WHITE);
    line(cr, c, 1, c, 15, 2, YELLOW);
}

void glideslope_scale(cairo_t* cr) {
    const double c = 64, x = 7;
    for (double dy : {-57.0, -28.5, 28.5, 57.0}) stroke_circle(cr, x, c + dy, 3, 1.5, WHITE);
    line(cr, 1, c, 13, c, 2, YELLOW);
}

void localizer_pointer(cairo_t* cr) {
    const double p[][2] = {{0.5, 5.5}, {8.5, 0.5}, {16.5, 5.5}, {8.5, 10.5}};
    fill_polygon(cr, p, 4, MAGENTA);
}

void glideslope_pointer(cairo_t* cr) {
    const double p[][2] = {{5, 0.5}, {9.5, 9}, {5, 17.5}, {0.5, 9}};
    fill_polygon(cr, p, 4, MAGENTA);
}

// ---------------------------------------------------------------------------
// Airspeed tape (39x1335) and its window (50x245) at (0, 85)

void speed_tape(cairo_t* cr) {
    fill_rect(cr, 0, 0, 39, SPEED_STRIP, TAPE_GREY);
    for (int knots = -40; knots <= 410; knots += 10) {
        const double y = speed_row(knots);
        line(cr, 32, y, 39, y, 1.5, WHITE);
        if (knots % 20 == 0 && knots >= 0) {
            char s[8];
            snprintf(s, sizeof s, "%d", knots);
            label(cr, s, 30, y, 11, Face::SansBold, WHITE, Align::Right);
        }
    }
}

void speed_window(cairo_t* cr) { window_with_holes(cr, 0, 85, 50, 245); }

// The selected speed marker (13x20) beside the tape: a cyan triangle pointing
// at the tape, its tip on the tape's middle line when selected and indicated
// airspeed agree.
void speed_marker(cairo_t* cr) {
    const double y = 122.5 - (60 - 0) / 118.0 * (246 - 20);
    const double p[][2] = {{1, y}, {12, y - 6}, {12, y + 6}};
    fill_polygon(cr, p, 3, CYAN);
}

// ---------------------------------------------------------------------------
// Altitude tape (35x10800) and its window (38x245) at (234, 85), the digit
// drum (19x97) in its window (21x40) at (269, 191).

void altitude_tape(cairo_t* cr) {
    fill_rect(cr, 0, 0, 35, ALT_STRIP, TAPE_GREY);
    for (int feet = -2000; feet <= 43200; feet += 100) {
        const double y = altitude_row(feet);
        if (y < -20 || y > ALT_STRIP + 20) continue;
        line(cr, 0, y, feet % 500 == 0 ? 7 : 4, y, 1.5, WHITE);
        if (feet % 500 == 0) {
            char s[8];
            const int hundreds = feet / 100;
            snprintf(s, sizeof s, hundreds < 0 ? "-%03d" : "%03d", abs(hundreds));
            label(cr, s, 9, y, 11, Face::NarrowBold, WHITE, Align::Left);
        }
    }
}

void altitude_window(cairo_t* cr) { window_with_holes(cr, 234, 85, 38, 245); }

void drum(cairo_t* cr) {
    fill_rect(cr, 0, 0, 19, DRUM_STRIP, NEAR_BLACK);
    for (int feet = -40; feet <= 140; feet += 20) {
        const double y = drum_row(feet);
        char s[4];
        snprintf(s, sizeof s, "%02d", ((feet % 100) + 100) % 100);
        label(cr, s, 9.5, y, 13, Face::NarrowBold, DIGIT_GREEN, Align::Centre);
    }
}

// Open but for the box's top and bottom edges, which lie on the strip
// beside it.
void drum_window(cairo_t* cr) { fill_rect(cr, 0, 2, 18, DRUM_WINDOW - 4, WHITE); }

// The selected altitude marker (13x20) on the tape's left edge: a cyan
// bracket centred on the tape's middle line when selected and current
// altitude agree.
void altitude_marker(cairo_t* cr) {
    const double y = 122.5 - 520 / 1020.0 * (245 - 20);
    set_colour(cr, CYAN);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 2, y - 7);
    cairo_line_to(cr, 11, y - 7);
    cairo_line_to(cr, 11, y + 7);
    cairo_line_to(cr, 2, y + 7);
    cairo_stroke(cr);
    const double p[][2] = {{11, y}, {5, y - 4}, {5, y + 4}};
    fill_polygon(cr, p, 3, CYAN);
}

// ---------------------------------------------------------------------------
// Heading tape (1131x30) and its window (159x30) at (56, 323)

void heading_tape(cairo_t* cr) {
    fill_rect(cr, 0, 0, HDG_STRIP, 30, TAPE_GREY);
    for (int degrees = -35; degrees <= 395; degrees += 5) {
        const double x = heading_column(degrees);
        const bool ten = degrees % 10 == 0;
        line(cr, x, 0, x, ten ? 8 : 4, 1.5, WHITE);
        if (ten) {
            char s[4];
            snprintf(s, sizeof s, "%d", (((degrees % 360) + 360) % 360) / 10);
            label(cr, s, x, 17, (degrees / 10) % 3 == 0 ? 11 : 9, Face::SansBold, WHITE, Align::Centre);
        }
    }
}

void heading_window(cairo_t* cr) { window_with_holes(cr, 56, 323, HDG_WINDOW, 30); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 320, 360, face, "black face: annunciator lines, and the marks seen through the masks"},
    {0x3200, 320, 47, annunciator_frame, "annunciator row frame"},
    {0x3400, 19, 223, vs_scale, "vertical speed scale"},
    {0x1200, 122, 5, vs_needle, "vertical speed needle, pivot (2, 3)"},
    {0x1300, 399, 399, sphere, "attitude sphere with the pitch ladder"},
    {0x1301, 221, 300, sphere_mask, "attitude window, less the aircraft symbol and bank scale"},
    {0x3800, 19, 285, strip_left_of_altitude, "strip left of the altitude tape"},
    {0x1800, 21, 285, strip_right_of_altitude, "strip right of the altitude tape"},
    {0x1900, 13, 285, right_border, "right border"},
    {0x4200, 25, 35, vs_top, "top cap of the vertical speed scale"},
    {0x4300, 25, 35, vs_bottom, "bottom cap of the vertical speed scale"},
    {0x1400, 39, 1335, speed_tape, "airspeed tape"},
    {0x1401, 50, 245, speed_window, "airspeed window, less the reference line"},
    {0x1600, 35, 10800, altitude_tape, "altitude tape"},
    {0x1601, 38, 245, altitude_window, "altitude window, less the readout box"},
    {0x2000, 91, 13, bank_pointer, "bank pointer, pivot (3, 4)"},
    {0x2500, 125, 16, localizer_scale, "localizer deviation scale"},
    {0x2600, 14, 128, glideslope_scale, "glideslope deviation scale"},
    {0x2700, 17, 11, localizer_pointer, "localizer deviation pointer"},
    {0x2800, 10, 18, glideslope_pointer, "glideslope deviation pointer"},
    {0x3600, 13, 20, speed_marker, "selected speed marker"},
    {0x3601, 13, 246, open_window, "selected speed marker window"},
    {0x2200, 13, 20, altitude_marker, "selected altitude marker"},
    {0x2201, 13, 245, open_window, "selected altitude marker window"},
    {0x2400, 90, 3, fd_pitch_bar, "flight director pitch bar"},
    {0x2401, 90, 90, open_window, "flight director pitch bar window"},
    {0x3000, 3, 91, fd_roll_bar, "flight director roll bar"},
    {0x3001, 90, 90, open_window, "flight director roll bar window"},
    {0x3900, 19, 97, drum, "altitude digit drum, 20-foot steps"},
    {0x3901, 21, 40, drum_window, "altitude drum window"},
    {0x4400, 1131, 30, heading_tape, "heading tape"},
    {0x4401, 159, 30, heading_window, "heading window, less the reference line"},
    {0x3300, 320, 360, cover, "dark grey cover"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
