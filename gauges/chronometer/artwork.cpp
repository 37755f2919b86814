// The chronometer's bitmaps: the square plate with the round clock (bezel,
// black dial, the elapsed-time window and the lower two-digit window), the
// dial's markings as the overlay that lights with the panel, the CHR button
// released and running, the down and up buttons painted on the plate, and
// the three hands with the dial-sized masks they turn in.
//
// Each hand is drawn pointing at 12 from its bitmap's centre, which the host
// places on the dial's centre (70, 72) and turns clockwise by its value in
// degrees of the dial.
#include <math.h>

#include <initializer_list>
#include <utility>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr double CX = 70, CY = 72;  // the dial's centre
constexpr double BEZEL = 58, DIAL = 53;
constexpr uint32_t PLATE = 0x3A3F45;
constexpr uint32_t PLATE_SHADE = 0x24282C;
constexpr uint32_t DIAL_BLACK = 0x141414;
constexpr uint32_t HAND_WHITE = 0xF2F2F2;
constexpr uint32_t HAND_EDGE = 0x202020;
constexpr uint32_t SECOND_RED = 0xE8401C;

// A point at `radius` from the dial's centre, `degrees` clockwise from 12.
double dial_x(double degrees, double radius) { return CX + radius * sin(degrees * M_PI / 180); }
double dial_y(double degrees, double radius) { return CY - radius * cos(degrees * M_PI / 180); }

// A readout window sunk into the dial.
void window(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x - 1.5, y - 1.5, w + 3, h + 3, 2.5, 0x2E3237);
    fill_rect(cr, x, y, w, h, 0x0A0A0A);
}

void face(cairo_t* cr) {
    fill_rect(cr, 0, 0, 142, 141, PLATE);
    line(cr, 0, 0.5, 142, 0.5, 1, 0x5A6169);
    line(cr, 0.5, 0, 0.5, 141, 1, 0x5A6169);
    line(cr, 0, 140.5, 142, 140.5, 1, PLATE_SHADE);
    line(cr, 141.5, 0, 141.5, 141, 1, PLATE_SHADE);
    for (const double x : {7.0, 135.0}) screw(cr, x, 7, 2.6);

    // Bezel with a lit upper rim, then the dial.
    fill_circle(cr, CX + 1, CY + 1.5, BEZEL, 0x1A1D20);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, CY - BEZEL, 0, CY + BEZEL);
    cairo_pattern_add_color_stop_rgb(rim, 0, 0.42, 0.45, 0.48);
    cairo_pattern_add_color_stop_rgb(rim, 1, 0.16, 0.17, 0.19);
    cairo_set_source(cr, rim);
    cairo_arc(cr, CX, CY, BEZEL, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
    fill_circle(cr, CX, CY, DIAL + 1, 0x0E0E0E);
    fill_circle(cr, CX, CY, DIAL, DIAL_BLACK);

    // The elapsed-time window (minutes, then ": seconds") and the lower window.
    window(cr, 46, 41, 60, 22);
    text(cr, "ET", 40, 56, 7, Face::NarrowBold, 0x9AA0A6, Align::Right);
    window(cr, 60, 85, 30, 22);

    // The down and up buttons at the lower right.
    for (const auto& [x, up] : {std::pair{106.0, false}, {125.5, true}}) {
        fill_rounded(cr, x - 1, 116, 15, 20, 2.5, PLATE_SHADE);
        fill_rounded_gradient(cr, x, 117, 13, 18, 2, 0x50565D, 0x2C3035);
        triangle(cr, x + 6.5, 126, 3.4, up);
    }
    marking(cr, "SET", 122.5, 113, 5.5);
    // The CHR button's recess, under the button itself.
    fill_circle(cr, 15, 125, 12.5, PLATE_SHADE);
}

// The dial's markings: a tick for every minute, a bar for every hour, and
// the figures 12, 3, 6 and 9. Lit with the panel.
void markings(cairo_t* cr) {
    for (int m = 0; m < 60; ++m) {
        const double a = m * 6;
        const bool hour = m % 5 == 0;
        const double inner = hour ? DIAL - 8 : DIAL - 4;
        line(cr, dial_x(a, inner), dial_y(a, inner), dial_x(a, DIAL - 1), dial_y(a, DIAL - 1), hour ? 2.2 : 1,
             MARKING_WHITE);
    }
    const struct {
        const char* figure;
        double degrees;
    } figures[] = {{"12", 0}, {"3", 90}, {"6", 180}, {"9", 270}};
    for (const auto& f : figures)
        text(cr, f.figure, dial_x(f.degrees, DIAL - 15), dial_y(f.degrees, DIAL - 15) + 3.8, 10.5, Face::SansBold,
             MARKING_WHITE, Align::Centre);
}

// The CHR button, 28x26: released, or pressed in with its legend lit while the
// elapsed time runs.
void chr_button(cairo_t* cr, bool running) {
    const double cx = 14, cy = 13, r = 11;
    fill_circle(cr, cx + 0.6, cy + 0.9, r, 0x16181A);
    cairo_pattern_t* body = cairo_pattern_create_radial(cx - 3, cy - 4, 1, cx, cy, r);
    const double top = running ? 0.30 : 0.46;
    cairo_pattern_add_color_stop_rgb(body, 0, top, top + 0.02, top + 0.04);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.17, 0.18, 0.20);
    cairo_set_source(cr, body);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    stroke_circle(cr, cx, cy, r - 0.5, 1, running ? 0x2A2D30 : 0x6A7178);
    text(cr, "CHR", cx, cy + 3, 8, Face::NarrowBold, running ? 0x60F080 : 0xE4E7EA, Align::Centre);
}
void chr_released(cairo_t* cr) { chr_button(cr, false); }
void chr_running(cairo_t* cr) { chr_button(cr, true); }

// A hand pointing up from the bitmap's centre: a tapered blade with a dark
// edge, `length` long, a short tail, `width` wide at the hub.
void hand(cairo_t* cr, int size, double length, double width, double tail, uint32_t rgb) {
    const double c = size / 2.0;
    cairo_move_to(cr, c - width / 2, c + tail);
    cairo_line_to(cr, c - width * 0.35, c - length + width);
    cairo_line_to(cr, c, c - length);
    cairo_line_to(cr, c + width * 0.35, c - length + width);
    cairo_line_to(cr, c + width / 2, c + tail);
    cairo_close_path(cr);
    set_colour(cr, HAND_EDGE);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    set_colour(cr, rgb);
    cairo_fill(cr);
    fill_circle(cr, c, c, width * 0.75, HAND_EDGE);
    fill_circle(cr, c, c, width * 0.6, rgb);
}

void hour_hand(cairo_t* cr) { hand(cr, 67, 30, 5, 6, HAND_WHITE); }
void minute_hand(cairo_t* cr) { hand(cr, 117, 46, 4, 8, HAND_WHITE); }

void second_hand(cairo_t* cr) {
    const double c = 117 / 2.0;
    line(cr, c, c + 12, c, c - 50, 1.3, SECOND_RED);
    fill_circle(cr, c, c, 3.2, SECOND_RED);
    fill_circle(cr, c, c, 1.2, 0x303030);
}

// Where the hands show: the dial.
void dial_mask(cairo_t* cr) { fill_circle(cr, CX, CY, DIAL, 0xFFFFFF); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 142, 141, face, "clock plate: bezel, dial, elapsed-time and lower windows, down and up buttons"},
    {0x1200, 142, 141, markings, "dial markings: minute ticks, hour bars, 12 3 6 9"},
    {0x1201, 142, 141, markings, "dial markings (second frame, never shown)"},
    {0x1400, 67, 67, hour_hand, "hour hand, pointing at 12"},
    {0x1401, 142, 141, dial_mask, "where the hour hand shows: the dial"},
    {0x1600, 28, 26, chr_released, "CHR button released"},
    {0x1601, 28, 26, chr_running, "CHR button pressed in, legend lit: elapsed time running"},
    {0x1800, 117, 117, second_hand, "second hand, pointing at 12"},
    {0x1801, 142, 141, dial_mask, "where the second hand shows: the dial"},
    {0x2000, 117, 117, minute_hand, "minute hand, pointing at 12"},
    {0x2001, 142, 141, dial_mask, "where the minute hand shows: the dial"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
