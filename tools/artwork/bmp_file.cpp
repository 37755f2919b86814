#include "tools/artwork/bmp_file.h"

#include <stdint.h>
#include <stdio.h>

#include <vector>

#include "host/panel/bitmap.h"

namespace kestrel::art {

namespace {

// The surface's pixels as the host reads bitmaps: top row first, 0xAARRGGBB.
Pixels pixels_of(cairo_surface_t* s) {
    cairo_surface_flush(s);
    Pixels px;
    px.width = cairo_image_surface_get_width(s);
    px.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const uint8_t* data = cairo_image_surface_get_data(s);
    px.argb.reserve(size_t(px.width) * px.height);
    for (int y = 0; y < px.height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < px.width; ++x) px.argb.push_back(row[x] | 0xFF000000u);
    }
    return px;
}

}  // namespace

bool write_bmp(cairo_surface_t* surface, const std::string& path) {
    const std::vector<uint8_t> bytes = encode_bmp(pixels_of(surface));
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && written;
}

}  // namespace kestrel::art
