// What the host needs from the operating system: opening a module, finding
// its exports and the memory its records may lie in, and watching the
// Windows calls the modules make (library binding and sounds).
#pragma once

#include <stdint.h>
#include <stddef.h>

#include <string>
#include <vector>

namespace kestrel {

struct Range {
    uintptr_t begin, end;
};

// The memory of one module: its records must lie in `data`, its callbacks in
// `code`. The loader checks every pointer it follows against these ranges.
// `readonly` holds the parts of `data` that are constant once the module is
// loaded: the host must not write there (empty when the platform cannot tell).
struct Memory {
    std::vector<Range> data;
    std::vector<Range> code;
    std::vector<Range> readonly;

    bool readable(const void* p, size_t size) const;
    bool executable(const void* p) const;
    // Readable, and nowhere in `readonly`.
    bool writable(const void* p, size_t size) const;
    // A null-terminated string of at most `max` characters, inside `data`.
    bool string(const char* p, size_t max) const;
};

struct Library {
    void* handle = nullptr;
    Memory memory;
};

// Opens the module file; on failure returns false and says why.
bool open_library(const std::string& path, Library* out, std::string* error);
void* library_symbol(const Library& library, const char* name);
void close_library(Library* library);
// The size of the module's bitmap resource `id`; false when the module has
// no such resource (modules built for Linux carry none).
bool library_bitmap_size(const Library& library, uint32_t id, int* width, int* height);

// Receives the Windows calls that modules make.
class SystemEvents {
public:
    virtual ~SystemEvents() = default;
    virtual void library_call(const char* call, const char* name, bool found) = 0;
    virtual void play_sound(const char* path, uint32_t flags) = 0;
    virtual void gauge_sound(const char* function, const char* path, const char* arg,
                             int32_t flags) = 0;
};

// Starts (or, with null, stops) reporting the modules' system calls.
void watch_system(SystemEvents* events);

// Where the modules' LoadLibraryA finds "GaugeSound": a list of directories
// separated by ':' (';' on Windows); "" finds nothing (no sound library
// installed).
void set_library_path(const std::string& directories);

// The directory of the running program.
std::string program_directory();

// The program's arguments as UTF-8, whatever the system's code page (on
// Windows from the wide command line; elsewhere argv as it is). Called at
// the start: on Windows it also sets the console's output to UTF-8, the
// encoding of everything the program prints.
std::vector<std::string> program_arguments(int argc, char** argv);

}  // namespace kestrel
