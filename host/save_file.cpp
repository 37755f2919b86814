#include "host/save_file.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "host/files.h"
#include "host/util.h"

namespace kestrel {

namespace {

bool write_new(const std::string& path, const std::string& bytes, std::string* error) {
    FILE* f = open_file(path, "wb");
    if (!f) {
        *error = "cannot write " + path + ": " + strerror(errno);
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && fflush(f) == 0;
#if !defined(_WIN32)
    ok = ok && fsync(fileno(f)) == 0;  // on the disk before it replaces the old file
#endif
    const int err = errno;
    ok = fclose(f) == 0 && ok;
    if (!ok) {
        *error = "cannot write " + path + ": " + strerror(err ? err : EIO);
        remove(path.c_str());
    }
    return ok;
}

#if defined(_WIN32)
std::wstring wide(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}
#endif

// Moves `from` over `to`, replacing it; "" or why not.
std::string rename_over(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return "";
    return format("Windows error %lu", static_cast<unsigned long>(GetLastError()));
#else
    if (rename(from.c_str(), to.c_str()) == 0) return "";
    return strerror(errno);
#endif
}

}  // namespace

bool replace_file(const std::string& path, const std::string& bytes, std::string* error) {
    const std::string temporary = path + ".kestrel-new";
    if (!write_new(temporary, bytes, error)) return false;
    const std::string why = rename_over(temporary, path);
    if (why.empty()) return true;
    remove(temporary.c_str());
    *error = "cannot replace " + path + ": " + why + "; it is unchanged";
    return false;
}

bool write_backup(const std::string& path, const std::string& bytes, std::string* written, std::string* error) {
    for (int n = 1; n < 1000; ++n) {
        const std::string name = path + ".bak" + (n > 1 ? std::to_string(n) : "");
        if (exists(name)) continue;
        if (!write_new(name, bytes, error)) return false;
        *written = name;
        return true;
    }
    *error = "cannot keep a backup of " + path + ": " + path + ".bak to .bak999 are all taken";
    return false;
}

}  // namespace kestrel
