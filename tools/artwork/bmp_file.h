// Writing a drawn surface as the 24-bit BMP file the simulator and the host
// read; the artwork tool and the panels' background makers share it.
#pragma once

#include <cairo.h>

#include <string>

namespace kestrel::art {

// Writes the image surface's pixels (alpha dropped) to `path` as a 24-bit
// BMP; false when the file cannot be written.
bool write_bmp(cairo_surface_t* surface, const std::string& path);

}  // namespace kestrel::art
