// The artwork tool: draws every bitmap of one gauge and writes it as a 24-bit
// BMP file named by its resource id ("1100.bmp") into the folder given; with
// --png, also as a PNG beside it, to look at.
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "tools/artwork/artwork.h"
#include "tools/artwork/bmp_file.h"
#include "tools/bytes.h"

int main(int argc, char** argv) {
    const bool png = argc == 3 && strcmp(argv[2], "--png") == 0;
    if (argc != 2 && !png) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER [--png]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (!kestrel::bytes::make_dirs(dir)) {
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
        char id[16];
        snprintf(id, sizeof id, "/%04X", bm.id);
        if (png) {
            const std::string picture = dir + id + ".png";
            if (cairo_surface_write_to_png(s, picture.c_str()) != CAIRO_STATUS_SUCCESS) {
                fprintf(stderr, "%s: cannot write %s\n", argv[0], picture.c_str());
                cairo_surface_destroy(s);
                return 1;
            }
        }
        const std::string path = dir + id + ".bmp";
        if (!kestrel::art::write_bmp(s, path)) {
            fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            cairo_surface_destroy(s);
            return 1;
        }
        cairo_surface_destroy(s);
    }
    return 0;
}
