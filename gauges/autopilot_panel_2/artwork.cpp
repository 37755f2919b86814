// The flight control unit's bitmaps: the glareshield panel with its three
// display windows (speed, heading, altitude and vertical speed), the knob
// wells, the push buttons with their dark light slots; the green lamp bar;
// the dashes of the altitude window; the four knobs, two of them needles
// (drawn pointing along +x from their pivot) and two sprites with the discs
// through which they are seen.
//
// The windows' figures, the window and button captions and the lights are
// the gauge's own elements, drawn over this face.
#include <math.h>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t WINDOW_GLASS = 0x121511;   // the display windows, unlit
constexpr uint32_t WINDOW_RIM = 0x2B3036;
constexpr uint32_t BUTTON_FACE = 0x3A4047;
constexpr uint32_t BUTTON_EDGE = 0x5E6A74;
constexpr uint32_t SLOT_DARK = 0x1A1D1A;      // a lamp's slot while it is dark
constexpr uint32_t WINDOW_AMBER = 0xFF8040;   // the windows' lit captions

// The knobs' centres on the panel, and their radius.
constexpr double SPEED_X = 70, SPEED_Y = 64;
constexpr double HEADING_X = 139, HEADING_Y = 64;
constexpr double ALTITUDE_X = 302, ALTITUDE_Y = 68;
constexpr double VS_X = 387, VS_Y = 64;
constexpr double KNOB_R = 17;

void display_window(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x - 2, y - 2, w + 4, h + 4, 3, WINDOW_RIM);
    fill_rect(cr, x, y, w, h, WINDOW_GLASS);
    // A faint reflection along the top of the glass.
    set_colour(cr, 0xFFFFFF, 0.05);
    cairo_rectangle(cr, x, y, w, 3);
    cairo_fill(cr);
}

// A square push button with the slot of its lamp bar near the top; the
// caption is the gauge's own text.
void mode_button(cairo_t* cr, double x, double y, double w, double h, double lamp_x, double lamp_y) {
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 2.5, OVERHEAD_SHADE);
    fill_rounded_gradient(cr, x, y, w, h, 2, BUTTON_EDGE, BUTTON_FACE);
    fill_rounded(cr, x + 1.5, y + 1.5, w - 3, h - 3, 1.5, BUTTON_FACE);
    fill_rect(cr, lamp_x, lamp_y, 17, 7, SLOT_DARK);
}

// A plain push button with no lamp.
void plain_button(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x - 1, y - 1, w + 2, h + 2, 2.5, OVERHEAD_SHADE);
    fill_rounded_gradient(cr, x, y, w, h, 2, BUTTON_EDGE, BUTTON_FACE);
    fill_circle(cr, x + w / 2, y + h / 2, fmin(w, h) / 2 - 3, BUTTON_FACE);
}

// The well a knob turns in, with marks around it.
void knob_well(cairo_t* cr, double cx, double cy) {
    fill_circle(cr, cx, cy, KNOB_R + 3.5, OVERHEAD_SHADE);
    stroke_circle(cr, cx, cy, KNOB_R + 3.5, 0.8, OVERHEAD_LIGHT);
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const double r0 = KNOB_R + 5, r1 = KNOB_R + 7;
        line(cr, cx + r0 * sin(a), cy - r0 * cos(a), cx + r1 * sin(a), cy - r1 * cos(a), 0.8, OVERHEAD_LINE);
    }
}

void panel(cairo_t* cr) {
    panel_face(cr, 422, 122);

    // The display strip: speed, heading, altitude with vertical speed.
    fill_rounded(cr, 48, 2, 373, 44, 3, PANEL_DARK);
    display_window(cr, 53, 6, 62, 36);
    display_window(cr, 125, 6, 88, 36);
    display_window(cr, 284, 6, 134, 36);

    for (auto [x, y] : {std::pair{SPEED_X, SPEED_Y}, {HEADING_X, HEADING_Y}, {ALTITUDE_X, ALTITUDE_Y},
                        {VS_X, VS_Y}})
        knob_well(cr, x, y);

    // Push buttons: SPD/MACH and METRIC ALT without lamps; the six mode
    // buttons with theirs.
    plain_button(cr, 11, 42, 22, 21);
    plain_button(cr, 334, 42, 20, 20);
    mode_button(cr, 125, 94, 27, 20, 131, 95);   // HDG
    mode_button(cr, 190, 67, 28, 19, 196, 68);   // AP 1
    mode_button(cr, 230, 67, 26, 18, 235, 68);   // NAV
    mode_button(cr, 210, 93, 29, 21, 216, 96);   // A/TH
    mode_button(cr, 289, 93, 28, 21, 294, 96);   // HLD
    mode_button(cr, 373, 94, 27, 19, 378, 95);   // APPR

    screw(cr, 8, 112, 2.6);
    screw(cr, 414, 112, 2.6);
}

// The dashes between the altitude and vertical speed captions, open in the
// middle where FT or M shows.
void dashes(cairo_t* cr) {
    for (double x : {1.0, 8.0, 37.0, 43.0}) line(cr, x, 6.5, x + 4, 6.5, 1.4, WINDOW_AMBER);
}

// A knob seen from above: a knurled skirt and a darker top with a white
// index at `index` degrees clockwise from up. The knob turns about (cx, cy).
void knob(cairo_t* cr, double cx, double cy, double index, bool push_cap) {
    fill_circle(cr, cx, cy, KNOB_R, 0x202428);
    set_colour(cr, 0x4A5057);
    cairo_set_line_width(cr, 1.1);
    for (int i = 0; i < 36; ++i) {
        const double a = i * M_PI / 18;
        cairo_move_to(cr, cx + (KNOB_R - 3) * sin(a), cy - (KNOB_R - 3) * cos(a));
        cairo_line_to(cr, cx + (KNOB_R - 0.5) * sin(a), cy - (KNOB_R - 0.5) * cos(a));
    }
    cairo_stroke(cr);
    cairo_pattern_t* top = cairo_pattern_create_radial(cx - 4, cy - 4, 1, cx, cy, KNOB_R - 3);
    cairo_pattern_add_color_stop_rgb(top, 0, 0.30, 0.32, 0.35);
    cairo_pattern_add_color_stop_rgb(top, 1, 0.11, 0.12, 0.14);
    cairo_set_source(cr, top);
    cairo_arc(cr, cx, cy, KNOB_R - 3, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(top);
    const double a = index * M_PI / 180;
    const double from = push_cap ? 8.5 : 4;
    // Three pixels wide, so that it stays white when the sprites' centres
    // fall between pixels.
    line(cr, cx + from * sin(a), cy - from * cos(a), cx + (KNOB_R - 1) * sin(a), cy - (KNOB_R - 1) * cos(a),
         3, MARKING_WHITE);
    if (push_cap) {
        fill_circle(cr, cx, cy, 7, 0x5A626A);
        stroke_circle(cr, cx, cy, 7, 0.8, 0x868F97);
    }
}

// Needles point along +x from their pivot (18, 18).
void heading_knob(cairo_t* cr) { knob(cr, 18, 18, 90, true); }
void altitude_knob(cairo_t* cr) { knob(cr, 18, 18, 90, false); }
// Sprites turn about the image's centre.
void speed_knob(cairo_t* cr) { knob(cr, 18.5, 18.5, 0, false); }
void vs_knob(cairo_t* cr) { knob(cr, 18.5, 18.5, 0, false); }

// The discs through which the turning knobs are seen.
void speed_mask(cairo_t* cr) { fill_circle(cr, SPEED_X, SPEED_Y, KNOB_R + 0.5, 0xFFFFFF); }
void vs_mask(cairo_t* cr) { fill_circle(cr, VS_X, VS_Y, KNOB_R + 0.5, 0xFFFFFF); }

}  // namespace

const Bitmap artwork[] = {
    {0x100, 422, 122, panel, "flight control unit: display strip, knob wells and push buttons"},
    {0x1100, 17, 7, mode_lamp, "green lamp bar of a mode button"},
    {0x1300, 37, 37, heading_knob, "heading knob with the HDG/CRS push cap, index along +x"},
    {0x1400, 37, 37, altitude_knob, "altitude knob, index along +x"},
    {0x1500, 37, 37, speed_knob, "speed knob"},
    {0x1501, 108, 96, speed_mask, "disc through which the speed knob is seen"},
    {0x1700, 47, 13, dashes, "dashes between the altitude and vertical speed captions"},
    {0x1800, 37, 37, vs_knob, "vertical speed knob"},
    {0x1801, 410, 88, vs_mask, "disc through which the vertical speed knob is seen"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
