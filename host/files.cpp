#include "host/files.h"

#include <ctype.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <direct.h>
#endif

namespace kestrel {

FILE* open_file(const std::string& path, const char* mode) {
    // Windows: the wide call, with the path and mode as UTF-16.
    return fopen(path.c_str(), mode);
}

bool make_dirs(const std::string& path, std::string* error) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
#if defined(_WIN32)
        const int made = mkdir(part.c_str());
#else
        const int made = mkdir(part.c_str(), 0755);
#endif
        if (made != 0 && errno != EEXIST) {
            *error = "cannot create " + part + ": " + strerror(errno);
            return false;
        }
    }
    return true;
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool write_file(const std::string& path, const void* data, size_t size) {
    FILE* f = open_file(path, "wb");
    if (!f) return false;
    const bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

bool read_whole_file(const std::string& path, std::string* out) {
    FILE* f = open_file(path, "rb");
    if (!f) return false;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) out->append(chunk, n);
    fclose(f);
    return true;
}

std::string file_name(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string lower_case(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string file_stem(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace kestrel
