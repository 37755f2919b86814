// The throttle quadrant's bitmaps: the pedestal with the two lever slots, the
// thrust marks, the trim wheel wells and scales, and the switch panel; the
// eight pictures of each thrust lever; the trim wheel strips and their
// windows; the engine switches, their lights and the start selector.
//
// A lever picture has its knob at the top and its shaft running down into the
// slot, which the background draws under both levers from y = 12 to 282; the
// further back the lever, the lower its knob and the shorter the shaft.
#include <math.h>

#include "tools/artwork/panel_parts.h"

using namespace kestrel::art;

namespace {

constexpr uint32_t PEDESTAL = 0x34383D;
constexpr uint32_t PEDESTAL_LIGHT = 0x454A50;
constexpr uint32_t SLOT = 0x141618;
constexpr double LEFT_SLOT = 106, RIGHT_SLOT = 165;  // the slots' centre lines
constexpr double SLOT_TOP = 12, SLOT_BOTTOM = 282;

// Where each picture's knob sits on the gauge (its top), as the pictures are
// placed: full forward at 15 down to idle at 164 and reverse at 184.
constexpr double KNOB_TOPS[] = {15, 34, 59, 89, 114, 140, 164, 184};

void trim_well(cairo_t* cr, double x) {
    fill_rounded(cr, x - 3, 80, 24, 226, 5, 0x202326);
    fill_rounded(cr, x - 1, 83, 20, 220, 3, NEAR_BLACK);
    line(cr, x - 2, 306.5, x + 20, 306.5, 1, PEDESTAL_LIGHT);
}

// A trim scale beside a wheel: ticks, a green take-off band, NOSE DN at the
// top and NOSE UP at the bottom.
void trim_scale(cairo_t* cr, double x, bool ticks_right) {
    fill_rect(cr, x - 1, 96, 10, 190, 0x22262A);
    fill_rect(cr, x, 176, 8, 40, 0x2E9E4A);
    for (int i = 0; i <= 15; ++i) {
        const double y = 100 + i * 12;
        const double w = i % 5 == 0 ? 8 : 4;
        line(cr, ticks_right ? x + 8 - w : x, y, ticks_right ? x + 8 : x + w, y, 1, MARKING_WHITE);
    }
    text(cr, "NOSE", x + 4, 90, 6, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    text(cr, "DN", x + 4, 96, 6, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    text(cr, "NOSE", x + 4, 293, 6, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    text(cr, "UP", x + 4, 299, 6, Face::NarrowBold, MARKING_WHITE, Align::Centre);
}

void lever_slot(cairo_t* cr, double cx) {
    fill_rounded(cr, cx - 9, SLOT_TOP - 3, 18, SLOT_BOTTOM - SLOT_TOP + 6, 5, 0x23272B);
    fill_rounded(cr, cx - 5, SLOT_TOP, 10, SLOT_BOTTOM - SLOT_TOP, 4, SLOT);
    line(cr, cx + 5.5, SLOT_TOP + 3, cx + 5.5, SLOT_BOTTOM - 3, 1, 0x50565C);
}

void quadrant(cairo_t* cr) {
    fill_gradient(cr, 0, 0, 267, 386, PEDESTAL_LIGHT, PEDESTAL);
    stroke_rect(cr, 0.5, 0.5, 266, 385, 1, 0x1C1F22);
    trim_well(cr, 5);
    trim_well(cr, 246);
    trim_scale(cr, 33, false);
    trim_scale(cr, 226, true);

    // The console between the wheels, with the two slots.
    fill_rounded(cr, 60, 4, 147, 284, 6, 0x3C4147);
    line(cr, 61, 4.5, 206, 4.5, 1, 0x5A6066);
    lever_slot(cr, LEFT_SLOT);
    lever_slot(cr, RIGHT_SLOT);
    // Thrust marks between the slots: FWD at the top, the idle stop, REV below.
    for (int i = 0; i < 7; ++i) {
        const double y = KNOB_TOPS[i] + 7;
        line(cr, 129, y, 142, y, i == 6 ? 2 : 1, i == 6 ? 0xE8C040 : MARKING_WHITE);
    }
    text(cr, "FWD", 135.5, 11, 6.5, Face::NarrowBold, MARKING_WHITE, Align::Centre);
    text(cr, "IDLE", 135.5, 166, 6, Face::NarrowBold, 0xE8C040, Align::Centre);
    text(cr, "REV", 135.5, 212, 6.5, Face::NarrowBold, MARKING_WHITE, Align::Centre);

    // The switch panel under the levers.
    fill_rounded(cr, 62, 290, 146, 94, 4, 0x25282C);
    stroke_rect(cr, 63.5, 291.5, 143, 91, 1, 0x50565C);
    for (double cx : {95.0, 168.0}) fill_rounded(cr, cx - 7, 302, 14, 42, 3, 0x141618);
    fill_circle(cr, 134, 363, 19, 0x1A1D20);
    screw(cr, 68, 296, 2.6);
    screw(cr, 202, 296, 2.6);
    screw(cr, 68, 378, 2.6);
    screw(cr, 202, 378, 2.6);
}

// A thrust lever picture of height h: the knob across the top, the shaft
// running down to the bottom edge; `reverse` adds the reverse lever pulled up.
void lever(cairo_t* cr, double h, const char* number, bool reverse) {
    const double cx = 26;
    // Shaft: dark metal with a highlight, fading into the slot at the bottom.
    cairo_pattern_t* shaft = cairo_pattern_create_linear(cx - 5, 0, cx + 5, 0);
    cairo_pattern_add_color_stop_rgb(shaft, 0, 0.18, 0.19, 0.21);
    cairo_pattern_add_color_stop_rgb(shaft, 0.45, 0.52, 0.55, 0.58);
    cairo_pattern_add_color_stop_rgb(shaft, 1, 0.14, 0.15, 0.16);
    cairo_set_source(cr, shaft);
    cairo_rectangle(cr, cx - 4.5, 12, 9, h - 14);
    cairo_fill(cr);
    cairo_pattern_destroy(shaft);
    fill_rect(cr, cx - 4.5, h - 4, 9, 4, 0x1C1E20);
    // The reverse lever on the front of the shaft: folded down, or pulled up.
    if (reverse) {
        fill_rounded(cr, cx - 11, 18, 22, 9, 3, 0x2A2D30);
        fill_rounded_gradient(cr, cx - 10, 17, 20, 8, 3, 0xD84030, 0x8A2018);
        line(cr, cx - 3, 25, cx - 3, 40, 2.5, 0x5A5F64);
        line(cr, cx + 3, 25, cx + 3, 40, 2.5, 0x5A5F64);
    } else {
        fill_rounded(cr, cx - 6, 19, 12, 10, 2, 0x2A2D30);
        line(cr, cx - 5, 21, cx + 5, 21, 1, 0x6A7076);
    }
    // The knob: a broad grip across the lever, light on top, with its number.
    fill_rounded(cr, 1.5, 1.5, 49, 14, 5, 0x17191B);
    fill_rounded_gradient(cr, 1, 0, 49, 13, 5, 0xE2E5E8, 0x7C8288);
    cairo_set_line_width(cr, 1);
    set_colour(cr, 0x3A3F44);
    rounded_rect(cr, 1.5, 0.5, 48, 12, 4.5);
    cairo_stroke(cr);
    text(cr, number, cx, 10.5, 9, Face::SansBold, 0x202224, Align::Centre);
}

template <int Picture, bool Right>
void lever_picture(cairo_t* cr) {
    static const double heights[] = {150, 142, 130, 113, 94, 83, 68, 84};
    lever(cr, heights[Picture], Right ? "2" : "1", Picture == 7);
}

// A trim wheel seen edge-on: ridges across a rounded rim, shaded as a
// cylinder, with a white stripe every 100 pixels so that its turning shows.
void trim_strip(cairo_t* cr) {
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, 18, 0);
    cairo_pattern_add_color_stop_rgb(rim, 0, 0.10, 0.10, 0.11);
    cairo_pattern_add_color_stop_rgb(rim, 0.5, 0.38, 0.40, 0.42);
    cairo_pattern_add_color_stop_rgb(rim, 1, 0.09, 0.09, 0.10);
    cairo_set_source(cr, rim);
    cairo_paint(cr);
    cairo_pattern_destroy(rim);
    for (int y = 2; y < 1600; y += 6) {
        line(cr, 1, y + 0.5, 17, y + 0.5, 1, 0x0E0F10);
        line(cr, 2, y + 1.5, 16, y + 1.5, 0.8, 0x6A6E72);
    }
    for (int y = 50; y < 1600; y += 100) fill_rect(cr, 2, y, 14, 8, 0xE8E8E8);
}

void trim_window(cairo_t* cr) { fill_rounded(cr, 0, 0, 18, 216, 4, 0xFFFFFF); }

// An engine switch: a lever on a pivot, up for ON (frame 1), down for OFF.
template <bool On>
void engine_switch(cairo_t* cr) {
    toggle_switch(cr, 20, 27, 21, On);
}

void on_light(cairo_t* cr) { legend(cr, 18, 9, "ON", LEGEND_GREEN); }

// The start selector: pointing up at rest, turned towards START when engaged.
template <bool Start>
void selector(cairo_t* cr) {
    rotary_knob(cr, 21, 21, 16, Start ? 70 : 0);
}

}  // namespace

const Bitmap artwork[] = {
    {0x100, 267, 386, quadrant, "the quadrant, trim scales and switch panel"},
    {0x1300, 52, 150, lever_picture<0, false>, "left lever full forward"},
    {0x1200, 52, 142, lever_picture<1, false>, "left lever band 6"},
    {0x1500, 52, 130, lever_picture<2, false>, "left lever band 5"},
    {0x1600, 52, 113, lever_picture<3, false>, "left lever band 4"},
    {0x1700, 52, 94, lever_picture<4, false>, "left lever band 3"},
    {0x1800, 52, 83, lever_picture<5, false>, "left lever band 2"},
    {0x1900, 52, 68, lever_picture<6, false>, "left lever at idle"},
    {0x2000, 52, 84, lever_picture<7, false>, "left lever in reverse"},
    {0x2100, 52, 150, lever_picture<0, true>, "right lever full forward"},
    {0x2200, 52, 142, lever_picture<1, true>, "right lever band 6"},
    {0x2300, 52, 130, lever_picture<2, true>, "right lever band 5"},
    {0x2400, 52, 113, lever_picture<3, true>, "right lever band 4"},
    {0x2500, 52, 94, lever_picture<4, true>, "right lever band 3"},
    {0x2600, 52, 83, lever_picture<5, true>, "right lever band 2"},
    {0x2700, 52, 68, lever_picture<6, true>, "right lever at idle"},
    {0x2800, 52, 84, lever_picture<7, true>, "right lever in reverse"},
    {0x3000, 18, 1600, trim_strip, "left trim wheel strip"},
    {0x3001, 18, 216, trim_window, "left trim wheel window"},
    {0x3500, 18, 1600, trim_strip, "right trim wheel strip"},
    {0x3501, 18, 216, trim_window, "right trim wheel window"},
    {0x3200, 41, 50, engine_switch<false>, "left engine switch off"},
    {0x3201, 41, 50, engine_switch<true>, "left engine switch on"},
    {0x3400, 41, 50, engine_switch<false>, "right engine switch off"},
    {0x3401, 41, 50, engine_switch<true>, "right engine switch on"},
    {0x3700, 18, 9, on_light, "left light ON"},
    {0x3800, 18, 9, on_light, "right light ON"},
    {0x3900, 42, 42, selector<false>, "start selector at rest"},
    {0x3901, 42, 42, selector<true>, "start selector engaged"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
