#include "viewer/png.h"

#include <stdint.h>
#include <zlib.h>

#include <algorithm>
#include <vector>

namespace kestrel {

namespace {

void put32(std::string& out, uint32_t v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out += data;
    uLong crc = crc32(0, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start));
    put32(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::string encode_png(cairo_surface_t* surface, int x, int y, int width, int height) {
    cairo_surface_flush(surface);
    const int sw = cairo_image_surface_get_width(surface), sh = cairo_image_surface_get_height(surface);
    const int x0 = std::clamp(x, 0, sw), y0 = std::clamp(y, 0, sh);
    const int x1 = std::clamp(x + std::max(width, 0), x0, sw), y1 = std::clamp(y + std::max(height, 0), y0, sh);
    const int w = x1 - x0, h = y1 - y0;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (w == 0 || h == 0 || (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24)) return "";
    const uint8_t* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);

    // Rows of RGB, each led by its filter byte: 2, "up" (the difference from
    // the pixel above), which turns the panel's flat areas into zeros.
    const size_t row = size_t(w) * 3 + 1;
    std::vector<uint8_t> raw(row * h);
    std::vector<uint8_t> above(size_t(w) * 3, 0), here(size_t(w) * 3);
    for (int r = 0; r < h; ++r) {
        const uint32_t* px = reinterpret_cast<const uint32_t*>(data + size_t(y0 + r) * stride) + x0;
        for (int c = 0; c < w; ++c) {
            const uint32_t p = px[c];  // premultiplied: the colour over black
            here[c * 3] = uint8_t(p >> 16);
            here[c * 3 + 1] = uint8_t(p >> 8);
            here[c * 3 + 2] = uint8_t(p);
        }
        uint8_t* out = &raw[row * r];
        out[0] = 2;
        for (size_t i = 0; i < here.size(); ++i) out[i + 1] = uint8_t(here[i] - above[i]);
        above.swap(here);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string z(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(z.data()), &size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK)
        return "";
    z.resize(size);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    put32(header, static_cast<uint32_t>(w));
    put32(header, static_cast<uint32_t>(h));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, filtered, not interlaced
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", "");
    return png;
}

}  // namespace kestrel
