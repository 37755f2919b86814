// Wave files: reading the format and the samples of a PCM wave file held in
// memory. GaugeSound plays what this finds; the tests read the sounds the
// build makes with it. Nothing in the file is trusted: every chunk is checked
// against the file's end, and samples that run past it are cut off.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace kestrel {

struct WaveFormat {
    uint16_t channels;  // 1 or 2
    uint32_t rate;      // frames a second, 8000 to 192000
    uint16_t bits;      // 8 (unsigned) or 16 (signed, little-endian)

    uint32_t frame_bytes() const { return uint32_t(channels) * bits / 8; }
};

struct Wave {
    WaveFormat format;
    const uint8_t* samples;  // inside the file
    size_t size;             // bytes, a whole number of frames, at least one
};

// Finds the format and the samples of `file`. Returns null when the file is a
// playable PCM wave, otherwise what is wrong with it.
const char* read_wave(const uint8_t* file, size_t size, Wave* out);

}  // namespace kestrel
