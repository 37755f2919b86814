// gauge_sound_check LIBRARY stdcall|cdecl [SOUND_FOLDER]
//
// Loads a GaugeSound library as the modules do and checks its three exports:
// found by their plain names, and of the calling convention given (measured:
// how many bytes of arguments each function takes off the stack). With a
// sound folder it also checks what Kestrel's own library does: wave files play
// (when the machine has a sound device) and several at once, files that are
// missing or not wave files are refused, stopping one and stopping all work,
// and the library can be released while sounds play and loaded again.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>

namespace {

int failures;

void check(bool ok, const char* what) {
    printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok) ++failures;
}

struct Call {
    uint32_t result;
    uint32_t popped;  // bytes of arguments the callee removed
};

// Calls `fn` with three 32-bit arguments, whatever its convention, and measures
// what it did to the stack pointer.
Call call(const void* fn, const void* a, const void* b, uint32_t c) {
    const uint32_t args[3] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(a)),
                              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(b)), c};
    uint32_t result = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(fn));
    const uint32_t* p = args;
    uint32_t moved;
    asm volatile(
        "movl %%esp, %%edi\n\t"
        "pushl 8(%1)\n\t"
        "pushl 4(%1)\n\t"
        "pushl (%1)\n\t"
        "call *%0\n\t"
        "movl %%esp, %2\n\t"
        "subl %%edi, %2\n\t"
        "movl %%edi, %%esp"
        : "+a"(result), "+S"(p), "=&c"(moved)
        :
        : "edx", "edi", "memory", "cc");
    return {result, moved + 12};
}

struct Library {
    HMODULE module = nullptr;
    const void* play = nullptr;
    const void* stop = nullptr;
    const void* terminate = nullptr;

    explicit Library(const char* path) {
        module = LoadLibraryA(path);
        if (!module) return;
        play = reinterpret_cast<const void*>(GetProcAddress(module, "GaugePlaySound"));
        stop = reinterpret_cast<const void*>(GetProcAddress(module, "GaugeStopSound"));
        terminate = reinterpret_cast<const void*>(GetProcAddress(module, "TerminateSounds"));
    }
    uint32_t play_sound(const char* path) { return call(play, path, "", 0).result; }
    uint32_t stop_sound(const char* path) { return call(stop, path, nullptr, 0).result; }
    void terminate_sounds() { call(terminate, nullptr, nullptr, 0); }
};

std::string write_temp(const char* name, const void* bytes, DWORD size) {
    // The temporary folder, however long its path.
    std::string dir(GetTempPathA(0, nullptr), '\0');
    dir.resize(GetTempPathA(DWORD(dir.size()), dir.data()));
    const std::string path = dir + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    if (f != INVALID_HANDLE_VALUE) {
        WriteFile(f, bytes, size, &done, nullptr);
        CloseHandle(f);
    }
    return path;
}

std::string read_all(const std::string& path) {
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

void check_behaviour(const char* library_path, const std::string& folder) {
    Library lib(library_path);
    const bool device = waveOutGetNumDevs() > 0;
    printf("sound devices: %u\n", waveOutGetNumDevs());
    const std::string click = folder + "\\CLICK.WAV", sw = folder + "\\SWITCH.WAV",
                      chime = folder + "\\CHIME.WAV";

    check(lib.play_sound(click.c_str()) == (device ? 1u : 0u), "a wave file plays when there is a device");
    check(lib.play_sound(sw.c_str()) == (device ? 1u : 0u) && lib.play_sound(chime.c_str()) == (device ? 1u : 0u),
          "two more play at the same time");
    check(lib.stop_sound(chime.c_str()) == (device ? 1u : 0u), "stopping the chime finds it playing");
    check(lib.stop_sound(chime.c_str()) == 0, "stopping it again finds nothing");
    lib.terminate_sounds();
    check(lib.stop_sound(click.c_str()) == 0, "after TerminateSounds nothing plays");

    check(lib.play_sound((folder + "\\NO SUCH FILE.WAV").c_str()) == 0, "a missing file is refused");
    check(lib.play_sound(nullptr) == 0 && lib.play_sound("") == 0, "no path is refused");
    check(lib.stop_sound(nullptr) == 0, "stopping no path does nothing");
    const char text[] = "This is not a wave file.";
    check(lib.play_sound(write_temp("kestrel-text.wav", text, sizeof text).c_str()) == 0,
          "a file that is not a wave file is refused");
    const std::string wave = read_all(click);
    check(wave.size() > 64, "the click can be read");
    check(lib.play_sound(write_temp("kestrel-cut.wav", wave.data(), 40).c_str()) == 0,
          "a wave file cut off before its samples is refused");
    std::string wrong = wave;
    wrong[34] = 24;  // 24-bit samples
    check(lib.play_sound(write_temp("kestrel-24bit.wav", wrong.data(), DWORD(wrong.size())).c_str()) == 0,
          "samples of an unplayable kind are refused");
    std::string cut = wave.substr(0, wave.size() / 2);  // sizes say more than there is
    check(lib.play_sound(write_temp("kestrel-half.wav", cut.data(), DWORD(cut.size())).c_str()) ==
              (device ? 1u : 0u),
          "a wave file cut short plays what it has");

    bool all = true;
    for (int i = 0; i < 40; ++i) all = all && lib.play_sound(click.c_str()) == (device ? 1u : 0u);
    check(all, "more sounds than slots: the oldest make way");
    lib.terminate_sounds();

    // Released while sounds play (a host that never calls TerminateSounds),
    // then loaded again.
    lib.play_sound(chime.c_str());
    check(FreeLibrary(lib.module) != FALSE, "released while the chime plays");
    Library again(library_path);
    check(again.module && again.play_sound(click.c_str()) == (device ? 1u : 0u), "loaded again, it plays");
    again.terminate_sounds();
    FreeLibrary(again.module);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 || (strcmp(argv[2], "stdcall") != 0 && strcmp(argv[2], "cdecl") != 0)) {
        fprintf(stderr, "usage: gauge_sound_check LIBRARY stdcall|cdecl [SOUND_FOLDER]\n");
        return 2;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const bool stdcall = strcmp(argv[2], "stdcall") == 0;
    {
        Library lib(argv[1]);
        check(lib.module != nullptr, "the library loads");
        if (!lib.module) return 1;
        check(lib.play && lib.stop && lib.terminate, "GaugePlaySound, GaugeStopSound and TerminateSounds are exported");
        check(!GetProcAddress(lib.module, "GaugePlaySound@12") && !GetProcAddress(lib.module, "_GaugePlaySound@12"),
              "under their plain names only");
        if (lib.play && lib.stop && lib.terminate) {
            const Call play = call(lib.play, "NO SUCH FILE.WAV", "", 0);
            const Call stop = call(lib.stop, "NO SUCH FILE.WAV", nullptr, 0);
            const Call terminate = call(lib.terminate, nullptr, nullptr, 0);
            printf("arguments taken off the stack: GaugePlaySound %u, GaugeStopSound %u, TerminateSounds %u\n",
                   play.popped, stop.popped, terminate.popped);
            check(play.popped == (stdcall ? 12u : 0u) && stop.popped == (stdcall ? 4u : 0u) && terminate.popped == 0,
                  stdcall ? "the functions are __stdcall" : "the functions are __cdecl");
        }
        FreeLibrary(lib.module);
    }
    if (argc == 4) check_behaviour(argv[1], argv[3]);
    printf("%d failed\n", failures);
    return failures ? 1 : 0;
}
