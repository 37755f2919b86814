// PNG images of parts of a picture, made quickly enough to send a panel's
// changed gauges every frame: 8-bit RGB, each row filtered against the one
// above, compressed at zlib's fastest level. Pixels that are not opaque come
// out as they look over black (the window pictures are opaque throughout).
#pragma once

#include <cairo.h>

#include <string>

namespace kestrel {

// The box (x, y, width, height) of an ARGB32 or RGB24 image surface as a PNG
// file. The box is clipped to the surface; an empty box gives "".
std::string encode_png(cairo_surface_t* surface, int x, int y, int width, int height);

}  // namespace kestrel
