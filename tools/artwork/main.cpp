// The artwork tool: draws every bitmap of one gauge and writes it as a 24-bit
// BMP file named by its resource id ("1100.bmp") into the folder given; with
// --png, also as a PNG beside it, to look at.
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tools/artwork/artwork.h"

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A bottom-up 24-bit BMP of the surface's pixels.
std::vector<uint8_t> encode_bmp(cairo_surface_t* s) {
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const uint8_t* px = cairo_image_surface_get_data(s);
    const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    std::vector<uint8_t> b;
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
    for (int y = h - 1; y >= 0; --y) {
        const uint32_t* p = reinterpret_cast<const uint32_t*>(px + y * stride);
        for (int x = 0; x < w; ++x) {
            b.push_back(p[x] & 0xFF);
            b.push_back((p[x] >> 8) & 0xFF);
            b.push_back((p[x] >> 16) & 0xFF);
        }
        for (uint32_t pad = static_cast<uint32_t>(w) * 3; pad < row; ++pad) b.push_back(0);
    }
    return b;
}

bool make_dirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool png = argc == 3 && strcmp(argv[2], "--png") == 0;
    if (argc != 2 && !png) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER [--png]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (!make_dirs(dir)) {
        fprintf(stderr, "%s: cannot create %s: %s\n", argv[0], dir.c_str(), strerror(errno));
        return 1;
    }
    for (size_t i = 0; i < artwork_count; ++i) {
        const kestrel::art::Bitmap& bm = artwork[i];
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, bm.width, bm.height);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        bm.draw(cr);
        cairo_destroy(cr);
        cairo_surface_flush(s);
        const std::vector<uint8_t> bytes = encode_bmp(s);
        char name[32];
        snprintf(name, sizeof name, "/%04X.png", bm.id);
        if (png) cairo_surface_write_to_png(s, (dir + name).c_str());
        cairo_surface_destroy(s);
        snprintf(name, sizeof name, "/%04X.bmp", bm.id);
        const std::string path = dir + name;
        FILE* f = fopen(path.c_str(), "wb");
        if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
            fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            if (f) fclose(f);
            return 1;
        }
        fclose(f);
    }
    return 0;
}
