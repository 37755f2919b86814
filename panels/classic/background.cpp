// The background bitmap of the classic sample panel: painted panel metal
// with a darker glareshield along the top, and a cut-out for each gauge.
// The cut-outs are pure black, which the simulator leaves see-through, so
// the window's background colour shows around the gauges. The bitmap is
// half the panel's size: the panel stretches it over its 1280 pixels.
#include <initializer_list>

#include "tools/artwork/artwork.h"

namespace {

using namespace kestrel::art;

constexpr int WIDTH = 640, HEIGHT = 368;
constexpr double GLARESHIELD = 73;  // its lower edge

// The gauges' places in the panel's own pixels (x, y, width, height), as
// panel.cfg puts them.
struct Place {
    int x, y, w, h;
};
constexpr Place PLACES[] = {
    {150, 12, 266, 122}, {430, 12, 422, 122},                       // flight control unit
    {40, 160, 320, 360}, {380, 160, 210, 230}, {380, 405, 59, 65},  // PFD, HSI, rose/arc
    {448, 405, 142, 141}, {620, 160, 205, 217}, {620, 392, 208, 78},
    {850, 160, 181, 181}, {1060, 160, 120, 120}, {1200, 290, 24, 24},
    {1050, 320, 147, 149}, {892, 360, 96, 28},
    {40, 560, 161, 95}, {40, 660, 159, 58}, {214, 570, 40, 92}, {262, 575, 111, 83},
    {400, 560, 93, 122}, {850, 560, 120, 120}, {1222, 12, 44, 36},
};

// A caption engraved in the panel, at panel pixels.
void caption(cairo_t* cr, const char* s, double x, double y) {
    text(cr, s, x / 2, y / 2, 6.5, Face::SansBold, MARKING_WHITE);
}

void draw_background(cairo_t* cr) {
    fill_gradient(cr, 0, 0, WIDTH, HEIGHT, 0x555C64, 0x464C53);
    fill_gradient(cr, 0, 0, WIDTH, GLARESHIELD, 0x2B2F34, 0x1E2124);
    line(cr, 0, GLARESHIELD + 0.5, WIDTH, GLARESHIELD + 0.5, 1, 0x6A727B);
    // Seams between the panel's sections.
    for (double x : {305.0, 417.0})
        line(cr, x + 0.5, GLARESHIELD + 1, x + 0.5, 270, 1, 0x3C4147);
    line(cr, 0, 270.5, WIDTH, 270.5, 1, 0x3C4147);
    for (double x : {8.0, WIDTH - 8.0})
        for (double y : {GLARESHIELD + 8, HEIGHT - 8.0}) screw(cr, x, y, 3);

    caption(cr, "CAPTAIN", 40, 150);
    caption(cr, "ENGINE", 620, 150);
    caption(cr, "STANDBY", 850, 150);
    caption(cr, "RADIO", 40, 552);
    caption(cr, "GEAR", 214, 562);
    caption(cr, "AUTO BRAKE", 262, 567);
    caption(cr, "FLAPS", 400, 552);
    caption(cr, "CLOCK", 850, 552);

    // The cut-outs: a lit rim, then pure black inside it, not smoothed, so
    // that every pixel inside is see-through.
    for (const Place& p : PLACES) {
        const double x = p.x / 2.0 - 2, y = p.y / 2.0 - 2, w = p.w / 2.0 + 4, h = p.h / 2.0 + 4;
        stroke_rect(cr, x - 0.5, y - 0.5, w + 1, h + 1, 1, 0x6E767F);
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const Place& p : PLACES) cairo_rectangle(cr, p.x / 2 - 1, p.y / 2 - 1, (p.w + 1) / 2 + 2, (p.h + 1) / 2 + 2);
    cairo_fill(cr);
}

}  // namespace

const kestrel::art::Bitmap artwork[] = {
    {0x1, WIDTH, HEIGHT, draw_background, "the classic sample panel's background"},
};
const size_t artwork_count = sizeof artwork / sizeof artwork[0];
