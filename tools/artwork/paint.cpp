#include <math.h>

#include <initializer_list>

#include "tools/artwork/artwork.h"

namespace kestrel::art {

void set_colour(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                          (rgb & 0xFF) / 255.0, alpha);
}

void fill_rect(cairo_t* cr, double x, double y, double w, double h, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void fill_polygon(cairo_t* cr, const double (*p)[2], int n, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_move_to(cr, p[0][0], p[0][1]);
    for (int i = 1; i < n; ++i) cairo_line_to(cr, p[i][0], p[i][1]);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void stroke_rect(cairo_t* cr, double x, double y, double w, double h, double width, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_set_line_width(cr, width);
    cairo_rectangle(cr, x, y, w, h);
    cairo_stroke(cr);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = fmin(r, fmin(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fill_rounded(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t rgb) {
    set_colour(cr, rgb);
    rounded_rect(cr, x, y, w, h, r);
    cairo_fill(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

void fill_circle(cairo_t* cr, double cx, double cy, double r, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
}

void stroke_circle(cairo_t* cr, double cx, double cy, double r, double width, uint32_t rgb) {
    set_colour(cr, rgb);
    cairo_set_line_width(cr, width);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_stroke(cr);
}

void fill_gradient(cairo_t* cr, double x, double y, double w, double h, uint32_t top, uint32_t bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, ((top >> 16) & 0xFF) / 255.0, ((top >> 8) & 0xFF) / 255.0,
                                     (top & 0xFF) / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, ((bottom >> 16) & 0xFF) / 255.0,
                                     ((bottom >> 8) & 0xFF) / 255.0, (bottom & 0xFF) / 255.0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void text(cairo_t* cr, const char* s, double x, double y, double size, Face face, uint32_t rgb,
          Align align) {
    const char* family = "Liberation Sans";
    cairo_font_weight_t weight = CAIRO_FONT_WEIGHT_NORMAL;
    switch (face) {
    case Face::Sans: break;
    case Face::SansBold: weight = CAIRO_FONT_WEIGHT_BOLD; break;
    case Face::Narrow: family = "Liberation Sans Narrow"; break;
    case Face::NarrowBold: family = "Liberation Sans Narrow"; weight = CAIRO_FONT_WEIGHT_BOLD; break;
    case Face::Segments: family = "DSEG7 Classic"; break;
    }
    cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL, weight);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s, &ext);
    double left = x;
    if (align == Align::Centre) left = x - ext.x_advance / 2;
    if (align == Align::Right) left = x - ext.x_advance;
    set_colour(cr, rgb);
    cairo_move_to(cr, left, y);
    cairo_show_text(cr, s);
}

}  // namespace kestrel::art

namespace kestrel::art {

void fill_rounded_gradient(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t top,
                           uint32_t bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, ((top >> 16) & 0xFF) / 255.0, ((top >> 8) & 0xFF) / 255.0,
                                     (top & 0xFF) / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, ((bottom >> 16) & 0xFF) / 255.0,
                                     ((bottom >> 8) & 0xFF) / 255.0, (bottom & 0xFF) / 255.0);
    cairo_set_source(cr, p);
    rounded_rect(cr, x, y, w, h, r);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void screw(cairo_t* cr, double cx, double cy, double r) {
    fill_circle(cr, cx, cy, r, 0x23262A);
    fill_circle(cr, cx - r * 0.12, cy - r * 0.12, r * 0.8, 0x8A9096);
    fill_circle(cr, cx, cy, r * 0.62, 0x6A7076);
    line(cr, cx - r * 0.55, cy + r * 0.2, cx + r * 0.55, cy - r * 0.2, fmax(1.0, r * 0.25), 0x2A2E33);
}

void instrument_case(cairo_t* cr, const InstrumentCase& c) {
    fill_rounded(cr, 0, 0, c.width, c.height, c.corner, 0x1C1E21);
    for (double x : {c.screw_inset, c.width - c.screw_inset})
        for (double y : {c.screw_inset, c.height - c.screw_inset}) screw(cr, x, y, c.screw_radius);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, c.cy - c.shading, 0, c.cy + c.shading);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.36, 0.38, 0.40);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.11, 0.12);
    cairo_set_source(cr, p);
    cairo_arc(cr, c.cx, c.cy, c.bezel, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    fill_circle(cr, c.cx, c.cy, c.opening, NEAR_BLACK);
}

void pointer(cairo_t* cr, const Pointer& p, uint32_t white) {
    const double c = p.c;
    set_colour(cr, white);
    cairo_move_to(cr, c, c - p.tip);
    cairo_line_to(cr, c + 2.5, c - p.shoulder);
    cairo_line_to(cr, c + 2.5, c + p.tail);
    cairo_line_to(cr, c - 2.5, c + p.tail);
    cairo_line_to(cr, c - 2.5, c - p.shoulder);
    cairo_close_path(cr);
    cairo_fill(cr);
    fill_rect(cr, c - 4, c + p.block_top, 8, p.block_length, 0x9A9EA2);
    fill_circle(cr, c, c, p.hub, 0x3A3E42);
    fill_circle(cr, c, c, p.cap, 0x8A8E92);
}

}  // namespace kestrel::art
