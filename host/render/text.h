// The renderer's text drawing, shared by render.cpp and text.cpp: the font
// faces it keeps and the inks of texts drawn 1:1.
#pragma once

#include <cairo.h>

#include "host/render/render.h"

namespace kestrel {

// A font face at size 1, with what sizing it needs.
struct Renderer::Font {
    cairo_font_face_t* face = nullptr;
    double cell = 1;         // ascent + descent at size 1
    double ascent = 1;       // at size 1
    double min_advance = 0;  // narrowest printable character at size 1
    ~Font() {
        if (face) cairo_font_face_destroy(face);
    }
};

// A text's ink: the coverage of its glyphs within its box, drawn once, as
// an alpha-only picture cut to where there is ink.
struct Renderer::TextInk {
    Surface alpha;     // null: no ink at all
    int x = 0, y = 0;  // its top-left corner within the box
};

// Whether the context draws its user pixels onto whole device pixels, 1:1.
bool one_to_one(cairo_t* cr);

}  // namespace kestrel
