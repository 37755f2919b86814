// Artwork pieces of the overhead panels, shared by their gauges: the panel
// face, the white lines that frame a group of controls, push buttons with
// their legends, lit legends, toggle switches, guarded buttons and rotary
// knobs. Coordinates are pixels of the bitmap being drawn.
#pragma once

#include <initializer_list>

#include "tools/artwork/artwork.h"

namespace kestrel::art {

// Colours of the overhead panels (0xRRGGBB).
constexpr uint32_t OVERHEAD_FACE = 0x5B6873;     // blue-grey panel paint
constexpr uint32_t OVERHEAD_SHADE = 0x46515B;    // grooves and recesses
constexpr uint32_t OVERHEAD_LIGHT = 0x74818C;    // edges catching the light
constexpr uint32_t OVERHEAD_LINE = 0xD8DCE0;     // group frames and network lines
constexpr uint32_t LENS_DARK = 0x17191B;         // an unlit legend's glass
constexpr uint32_t LEGEND_UNLIT = 0x4C5258;      // legend letters while dark
constexpr uint32_t LEGEND_BLUE = 0x48C8FF;       // "ON"
constexpr uint32_t LEGEND_GREEN = 0x40F070;      // "AVAIL"
constexpr uint32_t LEGEND_AMBER = 0xFFB020;      // "FAULT"
constexpr uint32_t LEGEND_WHITE = 0xF4F4F4;      // "OFF", "ALTN"

// The panel face over the whole bitmap, with a bevel and, unless the panel
// is too small for them, a fastener in each corner.
void panel_face(cairo_t* cr, int width, int height, bool fasteners = true);

// A thin frame line around a group of controls, open at the top between
// gap_from and gap_to where the group's caption sits.
void group_frame(cairo_t* cr, double x, double y, double w, double h, double gap_from, double gap_to);

// A push button body with its glass split into an upper and a lower legend,
// both dark ("" for none). The lit legends are separate bitmaps (legend).
void push_button(cairo_t* cr, double x, double y, double w, double h, const char* upper,
                 const char* lower);

// A lit legend bitmap of the whole surface: letters in `rgb` on dark glass.
void legend(cairo_t* cr, int width, int height, const char* text, uint32_t rgb);

// A toggle switch: a nut at (cx, cy) and a bat lever of `length` pointing up
// or down. The rest of the bitmap stays transparent.
void toggle_switch(cairo_t* cr, double cx, double cy, double length, bool up);

// A guard over a push button: closed, a clear cover with a frame; open, the
// cover lifted up on its hinge at the top of the box.
void guard(cairo_t* cr, double x, double y, double w, double h, bool open);

// A black rotary knob with a white index at `degrees` clockwise from up.
void rotary_knob(cairo_t* cr, double cx, double cy, double r, double degrees);

// The OFF/ON rotary switches (display switches, spoiler arm): round the
// knob's centre a quarter-circle scale mark from up (OFF) to right (ON) and
// the knob's recess; and the 28x28 knob bitmaps pointing up and right.
void off_on_scale(cairo_t* cr, double cx, double cy);
void knob_28_off(cairo_t* cr);
void knob_28_on(cairo_t* cr);

// A filled triangle, its point `half` above (up) or below the centre and its
// base 0.7 half the other way, `half` to each side.
void triangle(cairo_t* cr, double cx, double cy, double half, bool up, uint32_t rgb = MARKING_WHITE);

// The autopilot panels' mode lamp, 17x7: a lit green bar with a glint.
void mode_lamp(cairo_t* cr);

// Small painted lettering of the panel (inoperative controls, numbers).
void marking(cairo_t* cr, const char* s, double x, double y, double size, Align align = Align::Centre);

}  // namespace kestrel::art
