// How the development host draws each element kind: the geometric rules of
// the renderer, as pure functions of an element's record and the values its
// callbacks returned. The renderer (render.cpp) only applies these; the
// tests read them as the drawing conventions.
//
// Coordinates are the gauge's background pixels, x to the right and y
// downward. Angles are in radians, turning from +x towards +y (clockwise on
// the screen), the sense in which cairo turns.
//
// Every rule takes any value a simulator or a module can produce (NaN,
// infinities, 1e300, tables out of order) and gives a finite result.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "frame/records.h"

namespace kestrel::rules {

struct Vec {
    double x = 0, y = 0;
};

// An affine map p -> (xx p.x + xy p.y + x0, yx p.x + yy p.y + y0), the
// layout of cairo_matrix_t.
struct Affine {
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;
    Vec apply(Vec p) const { return {xx * p.x + xy * p.y + x0, yx * p.x + yy * p.y + y0}; }
};

// Offsets further than this from the gauge are held here: far out of
// sight, and still numbers that drawing can use.
constexpr double FAR = 1e5;

// A value made safe for drawing: NaN reads as 0, the rest is held to
// [-FAR, FAR].
double finite(double v);

// --- Lighting ---------------------------------------------------------------

// How the panel is lit. Elements with the bright bit (0x4) are self-lit and
// drawn at full brightness; the rest are panel surface, drawn at `surface`.
struct Lighting {
    enum Time { Day, Dusk, Night };
    const char* name;
    double surface;  // brightness of unlit surfaces, 0 to 1
    Time time;
};
inline constexpr Lighting DAY = {"day", 1.0, Lighting::Day};
inline constexpr Lighting DUSK = {"dusk", 0.45, Lighting::Dusk};
inline constexpr Lighting NIGHT = {"night", 0.18, Lighting::Night};
// "day", "dusk" or "night"; null for any other name.
const Lighting* lighting_named(const char* name);

// The brightness an element is drawn at.
double brightness(uint32_t image_flags, const Lighting& light);
// Whether an element is drawn at all: hidden (0x40000000) elements are not;
// the elements after them are.
bool drawn(uint32_t image_flags);

// The tints a panel gives for its lighting (its [Color] section), 0xRRGGBB.
struct PanelTints {
    uint32_t day, night, luminous;
};
// What a pixel of an element (or of the window: flags 0) is multiplied by,
// channel by channel (0xRRGGBB, 0xFF for 1). Bright elements are never
// tinted. Without panel tints every other pixel is grey at the lighting's
// surface brightness. With them, by day the surface takes the Day colour;
// at night it takes the Night colour and luminous elements (0x4000) the
// Luminous colour, as the panel's own lights show them; dusk keeps its grey.
uint32_t tint(uint32_t image_flags, const Lighting& light, const PanelTints* panel);
// One channel of `rgb` (0xRRGGBB) multiplied by the tint's, rounded.
uint32_t tinted(uint32_t rgb, uint32_t tint);

// --- Needle -----------------------------------------------------------------

// The direction in which the needle points for `value`. Each table entry's
// angle is the direction from the pivot to its point. Between two entries
// whose values enclose `value` the angle is interpolated linearly in value,
// the short way round; beyond the first or last entry the end angle holds.
// Entries are taken in table order; a pair whose values do not increase is
// passed over. NaN points at the first entry. `count` 0 gives 0.
double needle_angle(const NonlinearityEntry* table, size_t count, PixPoint pivot, double value);
// Where the needle bitmap goes: its pivot point (the element's offset) on the
// pivot (the element's position), its +x axis along `angle`.
Affine needle_transform(PixPoint pivot, PixPoint pivot_in_bitmap, double angle);

// --- Slider -----------------------------------------------------------------

// How far the bitmap moves from the element's position: result x scale on
// each axis.
Vec slider_offset(double x, double scale_x, double y, double scale_y);

// --- Moving image -----------------------------------------------------------

// The shift of the strip from the window's top-left corner along one axis.
// `first` puts the strip's near edge on the window's near edge (shift 0);
// `second` puts its far edge on the window's far edge (shift window -
// image); linear between, held beyond. A range whose bounds are equal
// (such as 0, 0) does not move.
double moving_shift(double value, double first, double second, int image_length, int window_length);

// --- Sprite -----------------------------------------------------------------

struct SpriteValues {
    double x, y, rotation;               // the three callbacks' results
    double scale_x, scale_y, scale_rotation;
};
// The sprite's angle on the screen: rotation x rotation scale, in degrees,
// counter-clockwise (so in this file's sense, its negative, in radians).
double sprite_angle(double rotation, double scale_rotation);
// Where the sprite image goes. The image turns about its centre; its point
// (centre + x scale_x, centre + y scale_y), measured along its own turned
// axes, lands on the element's offset inside the mask, and the mask lies at
// the element's position.
Affine sprite_transform(PixPoint position, PixPoint offset, int image_width, int image_height,
                        const SpriteValues& v);

// --- Bitmaps on whole pixels and where they reach ----------------------------

// A placement that turns by a whole number of right angles (a plain shift
// among them) lands on whole pixels: its turn made exact and its shift
// rounded to the nearest pixel (halves up), so that the bitmap is copied
// pixel for pixel, sharp, rather than resampled half a pixel off. Any other
// placement is returned as it is.
Affine on_whole_pixels(const Affine& a);

// Which cells of `cell` x `cell` pixels of a bitmap, from its top-left
// corner, hold a pixel that shows (alpha not 0), row by row.
struct Occupancy {
    int cell = 1, cols = 0, rows = 0, width = 0, height = 0;
    std::vector<uint8_t> shows;  // cols x rows
    bool at(int col, int row) const {
        return col >= 0 && row >= 0 && col < cols && row < rows && shows[size_t(row) * cols + col];
    }
};
Occupancy occupancy(const uint32_t* argb, int width, int height, int cell);

// A rectangle of whole pixels.
struct PixelBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// Cells of target pixels in which reach() marks what a drawing can change.
constexpr int REACH_CELL = 16;

// The target pixels that a bitmap drawn 1:1 through `placement` (bitmap
// pixels to target pixels), with bilinear filtering, can change, as
// disjoint boxes within `limit`: the cells of REACH_CELL pixels that come
// within a pixel of a cell of the bitmap that shows (`image`). With a mask
// (its occupancy in cells of REACH_CELL, its top-left corner at `mask_x`,
// `mask_y`), only cells where the mask shows too. Boxes of the same columns
// in successive rows are one box. Empty when nothing can show.
std::vector<PixelBox> reach(const Occupancy& image, const Affine& placement, const Occupancy* mask, int mask_x,
                            int mask_y, PixelBox limit);

// --- Icon -------------------------------------------------------------------

// The frame to draw for the callback's result: its whole part, when it lies
// from 0 to count - 1. Otherwise -1: nothing is drawn (and the host says so).
int icon_frame(double value, uint32_t frame_count);

// --- Text -------------------------------------------------------------------

struct TextBox {
    double x, y, width, height;  // the clip: nothing is drawn outside
    double cell_height;          // font height: ascent plus descent
};
// The box at the element's position; the font height is the record's
// character height when it gives one, else the box's height. Boxes of no
// size draw nothing (width or height 0).
TextBox text_box(const TextElement& e);
// "Arial" -> "Liberation Sans", "Arial Narrow" -> "Liberation Sans Narrow",
// "Quartz" -> "DSEG7 Classic"; any other face -> "Liberation Sans".
const char* font_family(const char* face, size_t face_size);
// How wide the family draws the face's characters, as a share of their
// natural width: "Quartz" 0.65, so that DSEG7 Classic's wide digits take the
// room of the narrow liquid-crystal face that the gauges' windows are laid
// out for; every other face 1.
double font_width(const char* face, size_t face_size);
// Weights from 550 on are drawn bold.
bool bold(int32_t weight);
// COLORREF 0x00BBGGRR -> 0xRRGGBB.
uint32_t colorref_rgb(uint32_t colorref);

// --- Outside view and pop-up windows ----------------------------------------

// The windshield of a window's background bitmap: its pure black pixels
// (0xRRGGBB 0) that join the bitmap's top row, side by side or one above the
// other, where the simulator shows the outside world. Black enclosed by
// paint (a cut-out under a gauge) is not part of it. One byte a pixel, rows
// from the top, 1 in the windshield; empty when no pixel is.
std::vector<uint8_t> windshield(const uint32_t* argb, int width, int height);

// The horizon seen through the windshield of a window `width` wide: it
// passes through (x, y), turned by `angle` (radians, clockwise on the
// screen). Level flight puts it at `level_y`; a degree of pitch moves it
// width / 90 pixels (a view 90 degrees wide); the nose down (pitch > 0)
// lifts it, a left bank (bank > 0) lowers its right end. NaN reads as 0;
// pitch is held to +-90 degrees, bank to +-180.
struct Horizon {
    double x, y, angle;
};
Horizon horizon(double pitch_down, double bank_left, double width, double level_y);

// Where a pop-up window lies over the main window drawn `width` x `height`:
// at its window_pos and window_size (fractions of the screen, which the main
// window fills), or, for a side not given, at its own grid's size at the
// main window's scale (`scale`: the main picture's pixels per grid unit),
// centred.
struct Place {
    double x, y, width, height;
};
Place popup_place(double screen_x, double screen_y, double screen_width, double screen_height, int grid_width,
                  int grid_height, double width, double height, double scale);

}  // namespace kestrel::rules
