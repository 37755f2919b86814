// GaugeSound for Windows: plays wave files asynchronously.
//
// Each sound gets a wave output stream of its own, opened in the file's own
// format; the system mixes the streams, so several sounds play at once and
// nothing of ours runs while they play (no thread, no callback). A stream is
// closed when its sound is stopped, when its slot is needed again after the
// sound ended, or by TerminateSounds.
//
// The three functions are exported undecorated as __stdcall (GaugeSound.def).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#include <stdint.h>

#include "sound/wave.h"

namespace {

constexpr int MAX_VOICES = 16;
constexpr DWORD MAX_FILE = 16u << 20;

// Plain data on purpose: no destructor may free a buffer that a stream still
// plays when the library is released without TerminateSounds.
struct Voice {
    HWAVEOUT out;
    WAVEHDR header;
    uint8_t* file;
    char path[MAX_PATH];
    DWORD started;
};

Voice voices[MAX_VOICES];
DWORD sounds_started;
CRITICAL_SECTION lock;

struct Locked {
    Locked() { EnterCriticalSection(&lock); }
    ~Locked() { LeaveCriticalSection(&lock); }
};

void free_file(uint8_t* file) {
    if (file) HeapFree(GetProcessHeap(), 0, file);
}

// The whole file, or null when it cannot be read or is larger than any sound
// the gauges play.
uint8_t* read_file(const char* path, DWORD* size) {
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return nullptr;
    DWORD high = 0;
    const DWORD length = GetFileSize(f, &high);
    uint8_t* file = nullptr;
    if (length != INVALID_FILE_SIZE && high == 0 && length > 0 && length <= MAX_FILE)
        file = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, length));
    DWORD done = 0;
    while (file && done < length) {
        DWORD n = 0;
        if (!ReadFile(f, file + done, length - done, &n, nullptr) || n == 0) {
            free_file(file);
            file = nullptr;
        }
        done += n;
    }
    CloseHandle(f);
    *size = length;
    return file;
}

void release(Voice& v) {
    if (v.out) {
        waveOutReset(v.out);
        if (v.header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(v.out, &v.header, sizeof v.header);
        waveOutClose(v.out);
    }
    free_file(v.file);
    v = Voice{};
}

bool finished(const Voice& v) { return v.out && (v.header.dwFlags & WHDR_DONE); }

// A slot for a new sound: a free one, else one whose sound has ended, else the
// one that has played longest.
Voice& free_voice() {
    Voice* oldest = &voices[0];
    for (Voice& v : voices) {
        if (!v.out) return v;
        if (finished(v)) {
            release(v);
            return v;
        }
        if (v.started - oldest->started > 0x80000000u) oldest = &v;
    }
    release(*oldest);
    return *oldest;
}

}  // namespace

// Starts the wave file at `path` (relative to the working directory) and
// returns at once: 1 when it plays, 0 when the file cannot be read or played
// or no sound device is there. The second and third arguments are not used.
extern "C" int32_t __stdcall GaugePlaySound(const char* path, const char*, int32_t) {
    if (!path || !*path) return 0;
    DWORD size = 0;
    uint8_t* file = read_file(path, &size);
    kestrel::Wave wave;
    if (!file || kestrel::read_wave(file, size, &wave)) {
        free_file(file);
        return 0;
    }
    const kestrel::WaveFormat& f = wave.format;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = f.channels;
    format.nSamplesPerSec = f.rate;
    format.wBitsPerSample = f.bits;
    format.nBlockAlign = static_cast<WORD>(f.frame_bytes());
    format.nAvgBytesPerSec = f.rate * f.frame_bytes();

    Locked locked;
    Voice& v = free_voice();
    v.file = file;
    if (waveOutOpen(&v.out, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        v.out = nullptr;
        release(v);
        return 0;
    }
    v.header.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(wave.samples));
    v.header.dwBufferLength = static_cast<DWORD>(wave.size);
    if (waveOutPrepareHeader(v.out, &v.header, sizeof v.header) != MMSYSERR_NOERROR ||
        waveOutWrite(v.out, &v.header, sizeof v.header) != MMSYSERR_NOERROR) {
        release(v);
        return 0;
    }
    lstrcpynA(v.path, path, MAX_PATH);
    v.started = ++sounds_started;
    return 1;
}

// Stops every sound started from the file `path` (compared as Windows compares
// file names, without regard to case). Returns 1 if one was playing.
extern "C" int32_t __stdcall GaugeStopSound(const char* path) {
    if (!path) return 0;
    Locked locked;
    int32_t stopped = 0;
    for (Voice& v : voices) {
        if (!v.out || lstrcmpiA(v.path, path) != 0) continue;
        stopped = finished(v) ? stopped : 1;
        release(v);
    }
    return stopped;
}

// Stops every sound.
extern "C" void __stdcall TerminateSounds() {
    Locked locked;
    for (Voice& v : voices) release(v);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    // On release the streams are left alone: closing them here, under the
    // loader's lock, can hang the process. Their buffers stay allocated.
    if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&lock);
    return TRUE;
}
