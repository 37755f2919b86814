// Bitmap files of the gauges' artwork: uncompressed Windows BMP, as the
// artwork tool writes them and as a module's resources hold them. Reading
// checks every size against the file, so a damaged file is refused with the
// reason instead of being read out of bounds.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

// Pixels top row first, each 0xAARRGGBB with premultiplied colour (the
// layout cairo draws from). Pure black (0, 0, 0) reads as fully transparent;
// every other colour is opaque.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
};

// Largest bitmap accepted, each way (long tapes such as a 10800-pixel
// altitude strip fit), and in all.
constexpr int MAX_BITMAP_SIDE = 16384;
constexpr size_t MAX_BITMAP_PIXELS = size_t(8192) * 8192;

// Decodes an uncompressed BMP of 8 bits a pixel (with its palette), 24 or 32
// bits (bottom-up or top-down). Every size and offset the header gives is
// checked against the file first. Returns "" on success, otherwise what is
// wrong with it.
std::string decode_bmp(const uint8_t* data, size_t size, Pixels* out);
// Reads a regular file (not a folder, device or pipe) and decodes it.
std::string read_bmp(const std::string& path, Pixels* out);

// A 24-bit bottom-up BMP of the pixels (transparent pixels are written black).
std::vector<uint8_t> encode_bmp(const Pixels& pixels);

}  // namespace kestrel
