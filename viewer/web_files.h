// The page's files (viewer/web/), built into the program so that
// `kestrel serve` needs nothing beside it.
#pragma once

#include <stddef.h>

#include <string>

namespace kestrel {

struct WebFile {
    const char* path;  // "/index.html"
    const char* type;  // its media type
    const unsigned char* data;
    size_t size;
};

// Null for a path that is not one of the files.
const WebFile* find_web_file(const std::string& path);

}  // namespace kestrel
