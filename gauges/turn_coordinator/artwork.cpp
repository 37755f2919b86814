// The turn coordinator's bitmaps: the grey face with the curved tube and its
// two reference marks, and the red ball.
//
// The ball (13x11) rests at (41, 10), its centre at (47.5, 15.5), between the
// two white marks, and slides along the tube's bottom 13 pixels either way
// at full deflection. The tube is lowest at the centre and rises gently
// towards its ends.
#include <math.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t FACE_GREY = 0x5C6268;
constexpr uint32_t TUBE = 0x121416;
constexpr uint32_t WHITE = 0xF0F0F0;

constexpr double CX = 47.5, CY = 15.5;  // the ball's centre at rest
constexpr double HALF_LENGTH = 42, HALF_HEIGHT = 6.5;
constexpr double RISE = 4;  // how far the tube's ends lie above its middle

// The tube's centre line at x.
double centre_y(double x) {
    const double u = (x - CX) / HALF_LENGTH;
    return CY - RISE * u * u;
}

void tube_path(cairo_t* cr, double grow) {
    const double h = HALF_HEIGHT + grow;
    cairo_new_path(cr);
    for (double x = CX - HALF_LENGTH; x <= CX + HALF_LENGTH; x += 1) cairo_line_to(cr, x, centre_y(x) - h);
    cairo_arc(cr, CX + HALF_LENGTH, centre_y(CX + HALF_LENGTH), h, -M_PI / 2, M_PI / 2);
    for (double x = CX + HALF_LENGTH; x >= CX - HALF_LENGTH; x -= 1) cairo_line_to(cr, x, centre_y(x) + h);
    cairo_arc(cr, CX - HALF_LENGTH, centre_y(CX - HALF_LENGTH), h, M_PI / 2, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void face(cairo_t* cr) {
    fill_gradient(cr, 0, 0, 96, 28, 0x666C72, 0x50565C);
    stroke_rect(cr, 0.5, 0.5, 95, 27, 1, 0x3A3F44);
    // The tube: a dark rim, the black glass, a faint highlight along its top.
    tube_path(cr, 1.2);
    set_colour(cr, 0x2A2E32);
    cairo_fill(cr);
    tube_path(cr, 0);
    set_colour(cr, TUBE);
    cairo_fill(cr);
    set_colour(cr, 0x3A4046);
    cairo_set_line_width(cr, 1);
    for (double x = CX - HALF_LENGTH + 3; x <= CX + HALF_LENGTH - 3; x += 1) {
        const double y = centre_y(x) - HALF_HEIGHT + 1.5;
        x == CX - HALF_LENGTH + 3 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
    // The reference marks just clear of the ball at rest.
    for (double x : {39.0, 56.0}) fill_rect(cr, x, 7, 1.5, 17, WHITE);
}

// The ball, red with a highlight; its corners stay black, so transparent.
void ball(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 6.5, 5.5);
    cairo_scale(cr, 6.5, 5.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(4.5, 3.5, 0.5, 6.5, 5.5, 6.5);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.55, 0.50);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.86, 0.10, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.50, 0.03, 0.03);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

const Bitmap artwork[] = {
    {0x1200, 96, 28, face, "the grey face with the curved tube and two reference marks"},
    {0x1300, 13, 11, ball, "the red ball"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
