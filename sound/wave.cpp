#include "sound/wave.h"

#include <string.h>

namespace kestrel {

namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) { return uint32_t(u16(p)) | uint32_t(u16(p + 2)) << 16; }

constexpr uint16_t FORMAT_PCM = 1;
constexpr uint16_t FORMAT_EXTENSIBLE = 0xFFFE;

}  // namespace

const char* read_wave(const uint8_t* file, size_t size, Wave* out) {
    if (!file || size < 12 || memcmp(file, "RIFF", 4) != 0 || memcmp(file + 8, "WAVE", 4) != 0)
        return "not a wave file";
    bool have_format = false;
    WaveFormat format{};
    // Chunks follow the 12-byte header, each an id, a size and its bytes,
    // padded to an even length. A size that runs past the end of the file is
    // cut to the file (many writers leave the sizes wrong).
    size_t at = 12;
    while (size - at >= 8) {
        const uint8_t* chunk = file + at;
        const size_t body = at + 8;
        const size_t length = u32(chunk + 4) < size - body ? u32(chunk + 4) : size - body;
        if (memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) return "its format is cut short";
            const uint8_t* f = file + body;
            uint16_t tag = u16(f);
            if (tag == FORMAT_EXTENSIBLE) {
                // The sub-format's first two bytes name the coding.
                if (length < 40) return "its format is cut short";
                tag = u16(f + 24);
            }
            if (tag != FORMAT_PCM) return "not PCM samples";
            format.channels = u16(f + 2);
            format.rate = u32(f + 4);
            format.bits = u16(f + 14);
            if (format.channels < 1 || format.channels > 2) return "not mono or stereo";
            if (format.bits != 8 && format.bits != 16) return "not 8 or 16-bit samples";
            if (format.rate < 8000 || format.rate > 192000) return "an unusable sample rate";
            if (u16(f + 12) != format.frame_bytes()) return "its frames are not the size of its samples";
            have_format = true;
        } else if (memcmp(chunk, "data", 4) == 0) {
            if (!have_format) return "its samples come before their format";
            const size_t whole = length - length % format.frame_bytes();
            if (whole == 0) return "no samples";
            *out = Wave{format, file + body, whole};
            return nullptr;
        }
        at = body + length;
        if (length % 2 && at < size) ++at;
    }
    return have_format ? "no samples" : "no format";
}

}  // namespace kestrel
