#include "tools/artwork/panel_parts.h"

#include <math.h>

namespace kestrel::art {

void panel_face(cairo_t* cr, int width, int height, bool fasteners) {
    fill_rect(cr, 0, 0, width, height, OVERHEAD_FACE);
    // Bevel: light along the top and left, shade along the bottom and right.
    line(cr, 0, 0.5, width, 0.5, 1, OVERHEAD_LIGHT);
    line(cr, 0.5, 0, 0.5, height, 1, OVERHEAD_LIGHT);
    line(cr, 0, height - 0.5, width, height - 0.5, 1, OVERHEAD_SHADE);
    line(cr, width - 0.5, 0, width - 0.5, height, 1, OVERHEAD_SHADE);
    if (!fasteners) return;
    // Dzus fasteners in the corners.
    const double r = 2.2;
    for (double x : {r + 1.5, width - r - 1.5})
        for (double y : {r + 1.5, height - r - 1.5}) {
            fill_circle(cr, x, y, r, 0x8A949C);
            line(cr, x - r + 0.6, y, x + r - 0.6, y, 0.8, OVERHEAD_SHADE);
        }
}

void group_frame(cairo_t* cr, double x, double y, double w, double h, double gap_from, double gap_to) {
    set_colour(cr, OVERHEAD_LINE, 0.85);
    cairo_set_line_width(cr, 1);
    if (gap_to <= gap_from) {
        cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
        cairo_stroke(cr);
        return;
    }
    cairo_move_to(cr, gap_from, y + 0.5);
    cairo_line_to(cr, x + 0.5, y + 0.5);
    cairo_line_to(cr, x + 0.5, y + h - 0.5);
    cairo_line_to(cr, x + w - 0.5, y + h - 0.5);
    cairo_line_to(cr, x + w - 0.5, y + 0.5);
    cairo_line_to(cr, gap_to, y + 0.5);
    cairo_stroke(cr);
}

void push_button(cairo_t* cr, double x, double y, double w, double h, const char* upper,
                 const char* lower) {
    // Recess, body, glass.
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 2, OVERHEAD_SHADE);
    fill_rounded(cr, x, y, w, h, 1.5, 0x2A2D30);
    fill_rect(cr, x + 1, y + 1, w - 2, h - 2, LENS_DARK);
    line(cr, x + 1, y + h / 2, x + w - 1, y + h / 2, 0.6, 0x2E3236);
    const double size = fmin(6.5, (h - 2) / 2 - 1);
    if (*upper) text(cr, upper, x + w / 2, y + h / 2 - 1.2, size, Face::NarrowBold, LEGEND_UNLIT, Align::Centre);
    if (*lower) text(cr, lower, x + w / 2, y + h - 2.2, size, Face::NarrowBold, LEGEND_UNLIT, Align::Centre);
    // A glint on the glass.
    set_colour(cr, 0xFFFFFF, 0.10);
    cairo_rectangle(cr, x + 1, y + 1, w - 2, 1.2);
    cairo_fill(cr);
}

void legend(cairo_t* cr, int width, int height, const char* s, uint32_t rgb) {
    fill_rect(cr, 0, 0, width, height, LENS_DARK);
    // A soft glow behind the letters, then the letters.
    cairo_pattern_t* glow = cairo_pattern_create_radial(width / 2.0, height / 2.0, 0, width / 2.0,
                                                        height / 2.0, width / 2.0);
    cairo_pattern_add_color_stop_rgba(glow, 0, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                                      (rgb & 0xFF) / 255.0, 0.28);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0, 0, 0, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    const double size = height - 1.5;
    text(cr, s, width / 2.0, height - 1.6, size, Face::NarrowBold, rgb, Align::Centre);
}

void toggle_switch(cairo_t* cr, double cx, double cy, double length, bool up) {
    // The nut: a hexagon with a round collar.
    set_colour(cr, 0x9BA3AA);
    cairo_new_path(cr);
    for (int i = 0; i < 6; ++i) {
        const double a = M_PI / 6 + i * M_PI / 3;
        cairo_line_to(cr, cx + 5.2 * cos(a), cy + 5.2 * sin(a));
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    fill_circle(cr, cx, cy, 3.6, 0x5E666D);
    // The lever, seen at an angle: thin at the pivot, a rounded bat at the tip.
    const double dir = up ? -1 : 1;
    const double tip = cy + dir * length;
    cairo_pattern_t* metal = cairo_pattern_create_linear(cx - 3, 0, cx + 3, 0);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.55, 0.58, 0.61);
    cairo_pattern_add_color_stop_rgb(metal, 0.45, 0.95, 0.96, 0.97);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.45, 0.48, 0.51);
    cairo_set_source(cr, metal);
    cairo_move_to(cr, cx - 1.4, cy);
    cairo_line_to(cr, cx - 2.6, tip - dir * 2.6);
    if (up)
        cairo_arc(cr, cx, tip - dir * 2.6, 2.6, M_PI, 2 * M_PI);
    else
        cairo_arc_negative(cr, cx, tip - dir * 2.6, 2.6, M_PI, 0);
    cairo_line_to(cr, cx + 1.4, cy);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(metal);
    fill_circle(cr, cx, cy, 1.6, 0x3A4046);
}

static void guard_shape(cairo_t* cr, double x, double y, double w, double h, bool open);

void guard(cairo_t* cr, double x, double y, double w, double h, bool open) {
    // Sharp edges: blended edge pixels against the transparent black would
    // show as dark dots around the cover.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    guard_shape(cr, x, y, w, h, open);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

static void guard_shape(cairo_t* cr, double x, double y, double w, double h, bool open) {
    if (!open) {
        // A clear cover: its rim and the hinge show; the button shows through.
        cairo_set_line_width(cr, 2);
        set_colour(cr, 0x8E99A2);
        rounded_rect(cr, x + 1, y + 1, w - 2, h - 2, 3);
        cairo_stroke(cr);
        fill_rect(cr, x, y, w, 4, 0x7C8790);
        line(cr, x + 1, y + 4.5, x + w - 1, y + 4.5, 1, 0x3E464D);
        // Reflections on the plastic.
        line(cr, x + 4, y + h - 5, x + w - 8, y + 8, 1, 0xB4C2CC);
        line(cr, x + 8, y + h - 4, x + w - 5, y + 12, 0.7, 0x8FA0AC);
        return;
    }
    // Lifted: the cover stands on its hinge and is seen edge-on, a bar
    // along the top of the box with its lip catching the light.
    fill_rounded(cr, x, y, w, 6, 1.5, 0x6C7780);
    fill_rect(cr, x + 1, y + 0.5, w - 2, 2, 0xB4BEC6);
    line(cr, x + 1, y + 6.5, x + w - 1, y + 6.5, 1, 0x2C3237);
}

void rotary_knob(cairo_t* cr, double cx, double cy, double r, double degrees) {
    // Shadow and skirt with a lit rim at the top left.
    fill_circle(cr, cx + 0.8, cy + 1.2, r, 0x25292D);
    fill_circle(cr, cx, cy, r, 0x1C1F22);
    set_colour(cr, 0x6A7178);
    cairo_set_line_width(cr, 1);
    cairo_arc(cr, cx, cy, r - 0.5, M_PI * 0.9, M_PI * 1.6);
    cairo_stroke(cr);
    // The bar grip along the index, lighter than the skirt, pointer end tapered.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, degrees * M_PI / 180);
    const double bar = r * 0.36;
    cairo_pattern_t* grip = cairo_pattern_create_linear(-bar, 0, bar, 0);
    cairo_pattern_add_color_stop_rgb(grip, 0, 0.20, 0.22, 0.24);
    cairo_pattern_add_color_stop_rgb(grip, 0.4, 0.45, 0.48, 0.51);
    cairo_pattern_add_color_stop_rgb(grip, 1, 0.16, 0.17, 0.19);
    cairo_set_source(cr, grip);
    cairo_move_to(cr, -bar * 0.55, -r + 0.3);
    cairo_line_to(cr, bar * 0.55, -r + 0.3);
    cairo_line_to(cr, bar, -r * 0.55);
    cairo_line_to(cr, bar, r - bar);
    cairo_arc(cr, 0, r - bar, bar, 0, M_PI);
    cairo_line_to(cr, -bar, -r * 0.55);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(grip);
    line(cr, 0, -r + 1, 0, -r * 0.2, 1.6, 0xF2F2F2);
    cairo_restore(cr);
}

void off_on_scale(cairo_t* cr, double cx, double cy) {
    set_colour(cr, OVERHEAD_LINE);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, cx, cy, 15.5, -M_PI / 2, 0);
    cairo_stroke(cr);
    line(cr, cx, cy - 17.5, cx, cy - 13.5, 1.5, OVERHEAD_LINE);
    line(cr, cx + 13.5, cy, cx + 17.5, cy, 1.5, OVERHEAD_LINE);
    fill_circle(cr, cx, cy, 13, OVERHEAD_SHADE);
}

void knob_28_off(cairo_t* cr) { rotary_knob(cr, 14, 14, 12, 0); }
void knob_28_on(cairo_t* cr) { rotary_knob(cr, 14, 14, 12, 90); }

void triangle(cairo_t* cr, double cx, double cy, double half, bool up, uint32_t rgb) {
    const double dir = up ? -1 : 1;
    set_colour(cr, rgb);
    cairo_move_to(cr, cx, cy + dir * half);
    cairo_line_to(cr, cx - half, cy - dir * half * 0.7);
    cairo_line_to(cr, cx + half, cy - dir * half * 0.7);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void mode_lamp(cairo_t* cr) {
    fill_rect(cr, 0, 0, 17, 7, 0x1E8A2A);
    fill_rect(cr, 1, 1, 15, 5, 0x3CF04C);
    set_colour(cr, 0xFFFFFF, 0.35);
    cairo_rectangle(cr, 2, 2, 13, 1.5);
    cairo_fill(cr);
}

void marking(cairo_t* cr, const char* s, double x, double y, double size, Align align) {
    text(cr, s, x, y, size, Face::Narrow, 0xE4E7EA, align);
}

}  // namespace kestrel::art
