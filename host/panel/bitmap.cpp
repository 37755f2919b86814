#include "host/panel/bitmap.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "host/files.h"

namespace kestrel {

namespace {

uint32_t get16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t get32(const uint8_t* p) { return get16(p) | (get16(p + 2) << 16); }

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

constexpr size_t FILE_HEADER = 14;

}  // namespace

std::string decode_bmp(const uint8_t* data, size_t size, Pixels* out) {
    if (size < FILE_HEADER + 40 || data[0] != 'B' || data[1] != 'M') return "not a BMP file";
    const uint32_t pixel_offset = get32(data + 10);
    const uint32_t info_size = get32(data + 14);
    if (info_size < 40 || info_size > size - FILE_HEADER) return "unknown BMP header";
    const int32_t width = static_cast<int32_t>(get32(data + 18));
    const int32_t raw_height = static_cast<int32_t>(get32(data + 22));
    const uint32_t planes = get16(data + 26), bits = get16(data + 28);
    const uint32_t compression = get32(data + 30);
    if (planes != 1 || (bits != 8 && bits != 24 && bits != 32)) return "only 8-, 24- and 32-bit BMP files are read";
    // 0: plain; 3: bit fields, accepted for 32 bits when they are the usual ones.
    if (compression != 0 && !(compression == 3 && bits == 32)) return "compressed BMP files are not read";
    if (raw_height == INT32_MIN) return "bad height";
    const bool top_down = raw_height < 0;
    const int32_t height = top_down ? -raw_height : raw_height;
    if (width <= 0 || height <= 0 || width > MAX_BITMAP_SIDE || height > MAX_BITMAP_SIDE ||
        static_cast<size_t>(width) * static_cast<size_t>(height) > MAX_BITMAP_PIXELS)
        return "bad size " + std::to_string(width) + "x" + std::to_string(raw_height);
    // An 8-bit file's colours: a palette of up to 256 entries (blue, green,
    // red, unused) right after the header; an index beyond it reads as black.
    uint32_t palette[256] = {};
    if (bits == 8) {
        const uint32_t used = get32(data + 46);
        const uint32_t count = used == 0 ? 256 : used;
        if (count > 256) return "bad palette size " + std::to_string(used);
        if (size_t(count) * 4 > size - FILE_HEADER - info_size) return "the file is shorter than its palette";
        const uint8_t* p = data + FILE_HEADER + info_size;
        for (uint32_t i = 0; i < count; ++i, p += 4) palette[i] = p[0] | (p[1] << 8) | (p[2] << 16);
    }
    const size_t bytes_per_pixel = bits / 8;
    const size_t row = (static_cast<size_t>(width) * bytes_per_pixel + 3) & ~size_t(3);
    if (pixel_offset > size || row * static_cast<size_t>(height) > size - pixel_offset)
        return "the file is shorter than its pixels";

    out->width = width;
    out->height = height;
    out->argb.assign(static_cast<size_t>(width) * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t file_row = top_down ? y : height - 1 - y;
        const uint8_t* p = data + pixel_offset + row * static_cast<size_t>(file_row);
        uint32_t* dst = out->argb.data() + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x, p += bytes_per_pixel) {
            const uint32_t rgb = bits == 8 ? palette[p[0]] : p[0] | (p[1] << 8) | (p[2] << 16);
            dst[x] = rgb == 0 ? 0 : 0xFF000000u | rgb;
        }
    }
    return "";
}

std::string read_bmp(const std::string& path, Pixels* out) {
    // Looked at before opening: opening a pipe would wait for a writer.
    const FileKind kind = file_kind(path);
    if (kind == FileKind::Missing) return strerror(errno);
    if (kind != FileKind::File) return "not a file";
    FILE* f = open_file(path, "rb");
    if (!f) return strerror(errno);
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    const size_t limit = FILE_HEADER + 1024 + size_t(4) * MAX_BITMAP_PIXELS;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > limit) break;
    }
    fclose(f);
    if (bytes.size() > limit) return "file too large";
    return decode_bmp(bytes.data(), bytes.size(), out);
}

std::vector<uint8_t> encode_bmp(const Pixels& px) {
    const uint32_t w = static_cast<uint32_t>(px.width), h = static_cast<uint32_t>(px.height);
    const uint32_t row = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> b;
    b.reserve(54 + size_t(row) * h);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + row * h);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, w);
    put32(b, h);
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, row * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (uint32_t y = h; y-- > 0;) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t p = px.argb[size_t(y) * w + x];
            b.push_back(p & 0xFF);
            b.push_back((p >> 8) & 0xFF);
            b.push_back((p >> 16) & 0xFF);
        }
        for (uint32_t pad = w * 3; pad < row; ++pad) b.push_back(0);
    }
    return b;
}

}  // namespace kestrel
