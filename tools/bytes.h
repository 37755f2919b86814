// Writing little-endian file formats (BMP, WAVE) byte by byte, and making the
// folders they go in: shared by the build-machine tools and their tests.
#pragma once

#include <errno.h>
#include <stdint.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace kestrel::bytes {

inline void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

inline void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// Makes the folder and every folder above it that is missing.
inline bool make_dirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        if (mkdir(path.substr(0, i).c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace kestrel::bytes
