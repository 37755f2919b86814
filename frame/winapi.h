// The Windows calls a gauge module makes: the sound library is bound with
// LoadLibraryA / GetModuleHandleA / GetProcAddress / FreeLibrary, wave files
// are played with PlaySoundA, and radio digits are printed with wsprintfA.
//
// On Windows these are the system's own. Elsewhere the same names, types and
// meanings come from the Kestrel system library (system_linux.cpp), which
// lets a development host watch every call.
#pragma once

#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>

#else

#include <stdint.h>

typedef void* HMODULE;
typedef int BOOL;
typedef uint32_t DWORD;
typedef intptr_t (*FARPROC)();

#define SND_ASYNC 0x0001
#define SND_FILENAME 0x00020000

#if defined(KESTREL_BUILDING_SYSTEM)
#define KESTREL_SYSTEM_API __attribute__((visibility("default")))
#else
#define KESTREL_SYSTEM_API
#endif

extern "C" {
KESTREL_SYSTEM_API HMODULE LoadLibraryA(const char* name);
KESTREL_SYSTEM_API HMODULE GetModuleHandleA(const char* name);
KESTREL_SYSTEM_API FARPROC GetProcAddress(HMODULE module, const char* name);
KESTREL_SYSTEM_API BOOL FreeLibrary(HMODULE module);
KESTREL_SYSTEM_API BOOL PlaySoundA(const char* sound, HMODULE module, DWORD flags);
KESTREL_SYSTEM_API int wsprintfA(char* out, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
}

#endif
