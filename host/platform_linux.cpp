#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <string.h>
#include <unistd.h>

#include "frame/system.h"
#include "host/platform.h"

namespace kestrel {

namespace {

struct SegmentSearch {
    uintptr_t base;
    const char* name;
    Memory* memory;
    bool found;
};

int collect_segments(struct dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<SegmentSearch*>(data);
    if (info->dlpi_addr != search->base || strcmp(info->dlpi_name, search->name) != 0) return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        const Range r{info->dlpi_addr + ph.p_vaddr, info->dlpi_addr + ph.p_vaddr + ph.p_memsz};
        // Relocated data that the loader write-protects afterwards.
        if (ph.p_type == PT_GNU_RELRO) search->memory->readonly.push_back(r);
        if (ph.p_type != PT_LOAD) continue;
        if (ph.p_flags & PF_R) search->memory->data.push_back(r);
        if (ph.p_flags & PF_X) search->memory->code.push_back(r);
        if (!(ph.p_flags & PF_W)) search->memory->readonly.push_back(r);
    }
    search->found = true;
    return 1;
}

}  // namespace

bool open_library(const std::string& path, Library* out, std::string* error) {
    if (access(path.c_str(), R_OK) != 0) {
        *error = "no such module file";
        return false;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        *error = std::string("cannot be loaded: ") + (why ? why : "unknown error");
        return false;
    }
    struct link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) {
        dlclose(handle);
        *error = "cannot be loaded: no link map";
        return false;
    }
    Library library;
    library.handle = handle;
    SegmentSearch search{map->l_addr, map->l_name, &library.memory, false};
    dl_iterate_phdr(collect_segments, &search);
    if (!search.found) {
        dlclose(handle);
        *error = "cannot be loaded: its segments were not found";
        return false;
    }
    *out = library;
    return true;
}

void* library_symbol(const Library& library, const char* name) {
    return library.handle ? dlsym(library.handle, name) : nullptr;
}

void close_library(Library* library) {
    if (library->handle) dlclose(library->handle);
    *library = Library{};
}

bool library_bitmap_size(const Library&, uint32_t, int*, int*) { return false; }

namespace {

SystemEvents* sink;

void on_library(void*, const char* call, const char* name, int found) {
    if (sink) sink->library_call(call, name, found != 0);
}
void on_play_sound(void*, const char* path, uint32_t flags) {
    if (sink) sink->play_sound(path, flags);
}
void on_gauge_sound(void*, const char* function, const char* path, const char* arg,
                    int32_t flags) {
    if (sink) sink->gauge_sound(function, path, arg, flags);
}

const SystemObserver observer = {nullptr, on_library, on_play_sound, on_gauge_sound};

}  // namespace

void watch_system(SystemEvents* events) {
    sink = events;
    kestrel_system_observe(events ? &observer : nullptr);
}

void set_library_path(const std::string& directories) {
    kestrel_system_library_path(directories.c_str());
}

std::string program_directory() { return kestrel_system_program_directory(); }

std::vector<std::string> program_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace kestrel
