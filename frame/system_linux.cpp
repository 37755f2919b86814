// The Windows calls of gauge modules, on Linux, with their Windows meaning:
// libraries are found by bare name on a search path and reference-counted
// (dlopen), PlaySoundA plays asynchronously (here: reports the call to the
// host), wsprintfA writes at most 1024 characters.
#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame/system.h"
#include "frame/winapi.h"

static const SystemObserver* observer;
static std::string library_path;
static bool library_path_set;

void kestrel_system_observe(const SystemObserver* o) { observer = o; }

static void forget_resolved_names();

void kestrel_system_library_path(const char* directories) {
    library_path_set = directories != nullptr;
    library_path = directories ? directories : "";
    forget_resolved_names();
}

void kestrel_system_report_gauge_sound(const char* function, const char* path, const char* arg,
                                       int32_t flags) {
    if (observer && observer->gauge_sound)
        observer->gauge_sound(observer->context, function, path, arg, flags);
}

static void report_library(const char* call, const char* name, bool found) {
    if (observer && observer->library) observer->library(observer->context, call, name, found);
}

static std::string program_directory() {
    // readlink says neither how long the path is nor whether it was cut
    // short: read into a larger buffer until the path fits with room to spare.
    std::string exe(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
        if (n <= 0) return ".";
        if (static_cast<size_t>(n) < exe.size()) {
            exe.resize(static_cast<size_t>(n));
            break;
        }
        exe.resize(exe.size() * 2);
    }
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
}

extern "C" KESTREL_SYSTEM_HOST_API const char* kestrel_system_program_directory() {
    static const std::string directory = program_directory();
    return directory.c_str();
}

// The file that a library name stands for, or "" when none exists. A name
// with a '/' is a path; a bare name without an extension gets ".so".
static std::string find_library(const char* name) {
    if (!name || !*name) return "";
    std::string file = name;
    if (file.find('/') != std::string::npos) return access(file.c_str(), R_OK) == 0 ? file : "";
    if (file.find('.') == std::string::npos) file += ".so";
    const std::string dirs = library_path_set ? library_path : program_directory();
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start) {
            std::string candidate = dirs.substr(start, end - start) + "/" + file;
            struct stat st;
            if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return candidate;
        }
        start = end + 1;
    }
    return "";
}

// The libraries that LoadLibraryA loaded, with their reference counts, so
// that GetModuleHandleA finds a loaded library as Windows does: by looking at
// what is loaded, without touching the disk or the dynamic loader.
struct LoadedLibrary {
    std::string file;
    void* handle;
    unsigned count;
    // What GetProcAddress found in it, name by name: the gauges ask for the
    // same three functions on every pre-update, and Windows answers from the
    // library's export table without a search through every loaded object.
    std::vector<std::pair<std::string, void*>> symbols;
};
static std::vector<LoadedLibrary> loaded;

// What a bare name resolved to on the current search path. GetModuleHandleA
// runs in every gauge's pre-update, so it asks the file system only once per
// name until the search path changes.
struct Resolved {
    std::string name;
    std::string file;
};
static std::vector<Resolved> resolved;

static const std::string& resolve(const char* name) {
    for (const Resolved& r : resolved)
        if (r.name == name) return r.file;
    resolved.push_back({name, find_library(name)});
    return resolved.back().file;
}

HMODULE LoadLibraryA(const char* name) {
    const std::string file = find_library(name);
    void* handle = file.empty() ? nullptr : dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle) {
        auto it = std::find_if(loaded.begin(), loaded.end(),
                               [&](const LoadedLibrary& l) { return l.handle == handle; });
        if (it == loaded.end())
            loaded.push_back({file, handle, 1, {}});
        else
            ++it->count;
    }
    report_library("LoadLibraryA", name, handle != nullptr);
    return handle;
}

HMODULE GetModuleHandleA(const char* name) {
    const std::string& file = (name && *name) ? resolve(name) : find_library(name);
    void* handle = nullptr;
    if (!file.empty())
        for (const LoadedLibrary& l : loaded)
            if (l.file == file) handle = l.handle;
    report_library("GetModuleHandleA", name, handle != nullptr);
    return handle;
}

static void forget_resolved_names() { resolved.clear(); }

FARPROC GetProcAddress(HMODULE module, const char* name) {
    if (!module || !name) return nullptr;
    auto it = std::find_if(loaded.begin(), loaded.end(), [&](const LoadedLibrary& l) { return l.handle == module; });
    if (it == loaded.end()) return reinterpret_cast<FARPROC>(dlsym(module, name));
    for (const auto& [symbol, address] : it->symbols)
        if (symbol == name) return reinterpret_cast<FARPROC>(address);
    void* address = dlsym(module, name);
    it->symbols.emplace_back(name, address);
    return reinterpret_cast<FARPROC>(address);
}

// The name a loaded library goes by: its file name without the extension.
static std::string library_name(HMODULE module) {
    struct link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return "";
    std::string name = map->l_name;
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

BOOL FreeLibrary(HMODULE module) {
    if (!module) return 0;
    const std::string name = library_name(module);
    auto it = std::find_if(loaded.begin(), loaded.end(),
                           [&](const LoadedLibrary& l) { return l.handle == module; });
    if (it != loaded.end() && --it->count == 0) loaded.erase(it);
    const bool released = dlclose(module) == 0;
    report_library("FreeLibrary", name.c_str(), released);
    return released;
}

BOOL PlaySoundA(const char* sound, HMODULE, DWORD flags) {
    if (observer && observer->play_sound) observer->play_sound(observer->context, sound, flags);
    return 1;
}

int wsprintfA(char* out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(out, 1024, format, args);
    va_end(args);
    if (n < 0) return 0;
    return n > 1023 ? 1023 : n;
}
