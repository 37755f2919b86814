#include "host/files.h"

#include <ctype.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <direct.h>
#include <wchar.h>

#include "host/utf8.h"
#endif

namespace kestrel {

#if defined(_WIN32)
// Windows takes the ANSI code page's bytes in the narrow calls: every path
// goes to the wide ones as UTF-16.
FILE* open_file(const std::string& path, const char* mode) { return _wfopen(wide(path).c_str(), wide(mode).c_str()); }

namespace {
int make_dir(const std::string& path) { return _wmkdir(wide(path).c_str()); }
FileKind kind_of(const std::string& path) {
    struct _stat64 st;
    if (_wstat64(wide(path).c_str(), &st) != 0) return FileKind::Missing;
    const auto type = st.st_mode & _S_IFMT;
    return type == _S_IFREG ? FileKind::File : type == _S_IFDIR ? FileKind::Dir : FileKind::Other;
}
bool is_separator(char c) { return c == '/' || c == '\\'; }
}  // namespace

std::string real_path(const std::string& path) {
    if (!exists(path)) return "";
    wchar_t* full = _wfullpath(nullptr, wide(path).c_str(), 0);
    if (!full) return "";
    const std::string out = narrow(full);
    free(full);
    return out;
}
#else
FILE* open_file(const std::string& path, const char* mode) { return fopen(path.c_str(), mode); }

namespace {
int make_dir(const std::string& path) { return mkdir(path.c_str(), 0755); }
FileKind kind_of(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FileKind::Missing;
    return S_ISREG(st.st_mode) ? FileKind::File : S_ISDIR(st.st_mode) ? FileKind::Dir : FileKind::Other;
}
bool is_separator(char c) { return c == '/'; }
}  // namespace

std::string real_path(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return "";
    const std::string out = real;
    free(real);
    return out;
}
#endif

bool make_dirs(const std::string& path, std::string* error) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && !is_separator(path[i])) continue;
        const std::string part = path.substr(0, i);
        // A drive ("C:") cannot be made, and need not be.
        if (make_dir(part) == 0) continue;
        const int why = errno;
        if (why != EEXIST && !is_dir(part)) {
            *error = "cannot create " + part + ": " + strerror(why);
            return false;
        }
    }
    return true;
}

FileKind file_kind(const std::string& path) { return kind_of(path); }
bool exists(const std::string& path) { return kind_of(path) != FileKind::Missing; }
bool is_dir(const std::string& path) { return kind_of(path) == FileKind::Dir; }

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

namespace {

// "" when `path` is a regular file that opens; else why not.
std::string file_problem(const std::string& path, const char* what, FILE** opened) {
    struct stat st;
    if (path.empty()) return std::string("an empty name, not ") + what;
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? "no such file" : strerror(errno);
    if (S_ISDIR(st.st_mode)) return std::string("a folder, not ") + what;
    if (!S_ISREG(st.st_mode)) return std::string("not a regular file, not ") + what;
    if (st.st_size == 0) return std::string("an empty file, not ") + what;
    *opened = open_file(path, "rb");
    if (!*opened) return std::string("cannot be read: ") + strerror(errno);
    return "";
}

}  // namespace

std::string text_file_problem(const std::string& path, const char* what) {
    FILE* f = nullptr;
    std::string why = file_problem(path, what, &f);
    if (!why.empty()) return path + ": " + why;
    // Text is what a text editor writes: printable bytes (UTF-8 or a code
    // page), tabs and line ends, and perhaps an old end-of-file mark.
    unsigned char chunk[4096];
    size_t n, at = 0;
    bool blank = true;
    while (why.empty() && (n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        for (size_t i = 0; i < n; ++i) {
            const unsigned char c = chunk[i];
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1A) {
                char where[64];
                snprintf(where, sizeof where, "byte 0x%02X at offset %zu", c, at + i);
                why = std::string("not a text file (") + where + "), not " + what;
                break;
            }
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != 0x1A) blank = false;
        }
        at += n;
        if (at >= (64u << 20)) break;  // enough to tell
    }
    if (why.empty() && ferror(f)) why = std::string("cannot be read: ") + strerror(errno);
    fclose(f);
    if (why.empty() && blank) why = std::string("holds nothing but blanks, not ") + what;
    return why.empty() ? "" : path + ": " + why;
}

std::string binary_file_problem(const std::string& path, const char* what) {
    FILE* f = nullptr;
    const std::string why = file_problem(path, what, &f);
    if (f) fclose(f);
    return why.empty() ? "" : path + ": " + why;
}

}  // namespace kestrel
