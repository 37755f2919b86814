// Web pages built into the program (cmake/embed_files.cmake writes each
// folder's files as a table and a function that finds one by its path), so
// that kestrel needs nothing beside it.
#pragma once

#include <stddef.h>

#include <string>

namespace kestrel {

struct WebFile {
    const char* path;           // "/index.html"
    const char* type;           // its media type
    const unsigned char* data;  // followed by a zero byte
    size_t size;
};

// The live page's files (viewer/web/), and the demo's page
// (host/commands/web/); null for a path that is not one of them.
const WebFile* find_web_file(const std::string& path);
const WebFile* find_demo_file(const std::string& path);

}  // namespace kestrel
