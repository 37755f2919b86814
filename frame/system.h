// The Kestrel system library on Linux: what a development host (or a test)
// sets to watch the Windows calls that its gauge modules make.
//
// Modules import LoadLibraryA, GetModuleHandleA, GetProcAddress, FreeLibrary,
// PlaySoundA and wsprintfA from this library, as they import them from the
// system on Windows; the GaugeSound stand-in reports its calls here too.
#pragma once

#include <stdint.h>

#if defined(KESTREL_BUILDING_SYSTEM)
#define KESTREL_SYSTEM_HOST_API __attribute__((visibility("default")))
#else
#define KESTREL_SYSTEM_HOST_API
#endif

extern "C" {

struct SystemObserver {
    void* context;
    // LoadLibraryA, GetModuleHandleA or FreeLibrary; `found` tells whether a
    // library was loaded, found or released.
    void (*library)(void* context, const char* call, const char* name, int found);
    // PlaySoundA(path, module, flags).
    void (*play_sound)(void* context, const char* path, uint32_t flags);
    // A call into the GaugeSound library: GaugePlaySound, GaugeStopSound or
    // TerminateSounds, with its arguments (null where it has none).
    void (*gauge_sound)(void* context, const char* function, const char* path, const char* arg,
                        int32_t flags);
};

// Installs the observer (null: none). The library keeps the pointer.
KESTREL_SYSTEM_HOST_API void kestrel_system_observe(const SystemObserver* observer);

// Directories, separated by ':', searched by LoadLibraryA and GetModuleHandleA
// for a bare library name ("GaugeSound" means "GaugeSound.so"). Null restores
// the default: the directory of the running program, as on Windows.
KESTREL_SYSTEM_HOST_API void kestrel_system_library_path(const char* directories);

// The directory of the running program, where a bare library name is looked
// for by default.
KESTREL_SYSTEM_HOST_API const char* kestrel_system_program_directory();

// Called by the GaugeSound stand-in for each of its calls.
KESTREL_SYSTEM_HOST_API void kestrel_system_report_gauge_sound(const char* function,
                                                               const char* path, const char* arg,
                                                               int32_t flags);
}
