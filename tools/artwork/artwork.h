// Artwork as code: every bitmap of a gauge is drawn with cairo by its
// gauges/<name>/artwork.cpp, which defines the table `artwork` and its
// length `artwork_count`. The artwork tool (main.cpp) runs at build time and
// writes each bitmap as a 24-bit BMP file named by its resource id in
// hexadecimal, for example Artwork/flap_lever/1100.bmp.
//
// Each bitmap is drawn on a surface of its own size that starts pure black,
// and pure black (0, 0, 0) is transparent when the host draws it. Draw dark
// opaque surfaces in a near-black such as 0x101010.
#pragma once

#include <cairo.h>
#include <stddef.h>
#include <stdint.h>

namespace kestrel::art {

struct Bitmap {
    uint32_t id;           // resource id
    int width, height;     // pixels
    void (*draw)(cairo_t* cr);
    const char* what;      // what the bitmap shows, for people
};

// ---------------------------------------------------------------------------
// Helpers shared by the gauges' artwork. Colours are 0xRRGGBB.

void set_colour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void fill_rect(cairo_t* cr, double x, double y, double w, double h, uint32_t rgb);
// The polygon through the n points p[0] .. p[n-1].
void fill_polygon(cairo_t* cr, const double (*p)[2], int n, uint32_t rgb);
void stroke_rect(cairo_t* cr, double x, double y, double w, double h, double line, uint32_t rgb);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);  // path only
void fill_rounded(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t rgb);
void line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, uint32_t rgb);
void fill_circle(cairo_t* cr, double cx, double cy, double r, uint32_t rgb);
void stroke_circle(cairo_t* cr, double cx, double cy, double r, double width, uint32_t rgb);
// A vertical gradient from `top` to `bottom` over the rectangle.
void fill_gradient(cairo_t* cr, double x, double y, double w, double h, uint32_t top, uint32_t bottom);
// A rounded rectangle filled with a vertical gradient from `top` to `bottom`.
void fill_rounded_gradient(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t top,
                           uint32_t bottom);
// A slotted panel screw head of radius r.
void screw(cairo_t* cr, double cx, double cy, double r);

// The case of a round standby instrument: a square case with rounded
// corners and a screw in each, and round its dial a bezel lit from above.
struct InstrumentCase {
    double width, height, corner;
    double screw_inset, screw_radius;  // screw centres this far in from each edge
    double cx, cy;                     // the dial's centre
    double bezel;                      // the bezel's outer radius
    double shading;                    // its light runs from cy - shading to cy + shading
    double opening;                    // the dial's opening inside the bezel
};
void instrument_case(cairo_t* cr, const InstrumentCase& c);

// A white pointer straight up from its pivot at (c, c): a blade from the tip
// (c - tip) widening to 5 pixels at c - shoulder and running back to
// c + tail, a grey counterweight block from c + block_top, block_length
// long, and the hub over the pivot.
struct Pointer {
    double c, tip, shoulder, tail;
    double block_top, block_length;
    double hub, cap;  // the hub's radius, and its cap's
};
void pointer(cairo_t* cr, const Pointer& p, uint32_t white);

enum class Align { Left, Centre, Right };
enum class Face { Sans, SansBold, Narrow, NarrowBold, Segments };
// Text with its baseline at y; x is the left edge, centre or right edge.
void text(cairo_t* cr, const char* s, double x, double y, double size, Face face, uint32_t rgb,
          Align align = Align::Left);

// Common colours of the panel.
constexpr uint32_t PANEL_GREY = 0x4A5058;    // cockpit panel paint
constexpr uint32_t PANEL_DARK = 0x2A2E33;
constexpr uint32_t NEAR_BLACK = 0x101010;    // the darkest opaque colour
constexpr uint32_t MARKING_WHITE = 0xF0F0F0; // panel lettering
constexpr uint32_t SCREEN_BLACK = 0x080808;  // display screens

}  // namespace kestrel::art

// Defined by each gauge's artwork.cpp.
extern const kestrel::art::Bitmap artwork[];
extern const size_t artwork_count;
