// A GaugeSound for the tests: plays nothing and writes every call it receives,
// with its arguments, to standard error. It is built twice, with __stdcall
// and with __cdecl functions: the modules must call either kind correctly,
// since the library's calling convention is not published with its names.
#include <stdint.h>
#include <stdio.h>

#if defined(SOUND_LOG_STDCALL)
#define SOUND_CALL __stdcall
#else
#define SOUND_CALL __cdecl
#endif

static const char* text(const char* s) { return s ? s : "(null)"; }

extern "C" __declspec(dllexport) int32_t SOUND_CALL GaugePlaySound(const char* path, const char* arg,
                                                                   int32_t flags) {
    fprintf(stderr, "GaugeSound: GaugePlaySound(%s, \"%s\", %d)\n", text(path), text(arg), int(flags));
    return 1;
}

extern "C" __declspec(dllexport) int32_t SOUND_CALL GaugeStopSound(const char* path) {
    fprintf(stderr, "GaugeSound: GaugeStopSound(%s)\n", text(path));
    return 1;
}

extern "C" __declspec(dllexport) void SOUND_CALL TerminateSounds() {
    fprintf(stderr, "GaugeSound: TerminateSounds()\n");
}
