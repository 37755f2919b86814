// The common part of every gauge module: the exported Linkage and ImportTable
// records, the gauge callback with the sound-library binding and the one-shot
// first-draw reset, and the helpers behind frame/gauge.h.
#include <float.h>
#include <math.h>
#include <stdio.h>

#include "frame/gauge.h"
#include "frame/print_number.h"

static void KCALL module_init() {}
static void KCALL module_deinit() {}

extern "C" {
KESTREL_EXPORT ImportTableRecord ImportTable = {{IMPORT_HOST_TABLE, nullptr}, {0, nullptr}};

KESTREL_EXPORT LinkageRecord Linkage = {
    MODULE_ID, module_init, module_deinit, 0, 0, MODULE_VERSION, {&gauge_header, nullptr},
};
}

const FailureEntry no_failures[1] = {};
constinit MouseRect no_mouse_areas[3] = {mouse_start(), mouse_end_area(), mouse_end_list()};

const char SOUND_CLICK[] = "sound\\CLICK.WAV";
const char SOUND_SWITCH[] = "sound\\SWITCH.WAV";
const char SOUND_CHIME[] = "sound\\CHIME.WAV";

HostTable* host() { return ImportTable.host.table; }

// ---------------------------------------------------------------------------
// The sound library

static const char SOUND_LIBRARY[] = "GaugeSound";

static struct {
    HMODULE handle;
    int32_t references;  // loads of the library by this module not yet released
    FARPROC play;       // GaugePlaySound(path, "", 0)
    FARPROC stop;       // GaugeStopSound: resolved, never called
    FARPROC terminate;  // TerminateSounds()
} sound;

static int32_t first_draw_done;

static void bind_sound_library() {
    if (sound.handle) {
        sound.play = GetProcAddress(sound.handle, "GaugePlaySound");
        sound.stop = GetProcAddress(sound.handle, "GaugeStopSound");
        sound.terminate = GetProcAddress(sound.handle, "TerminateSounds");
    } else {
        sound.play = sound.stop = sound.terminate = nullptr;
    }
}

static HMODULE load_sound_library() {
    HMODULE handle = LoadLibraryA(SOUND_LIBRARY);
    if (handle) ++sound.references;
    return handle;
}

// Whichever loaded copy of the library is current: the one already in the
// process, else a fresh load. A module that calls into the library holds a
// reference of its own, so that no other module's release can unload it
// underneath; in the usual order it took one on pre-initialize, and only
// after an unusual order (an update before any initialize, a second kill)
// does it load the library here although it is already loaded.
static void find_sound_library() {
    sound.handle = GetModuleHandleA(SOUND_LIBRARY);
    if (!sound.handle || sound.references == 0) sound.handle = load_sound_library();
    bind_sound_library();
}

// The library's calling convention is not published: it may be a stdcall or a
// cdecl build. On 32-bit x86 the stack pointer is saved in a callee-saved
// register around the call, so either kind of callee leaves it right.
static void call_sound_function(FARPROC fn, const char* path, const char* arg, int32_t flags) {
#if defined(__i386__)
    const uint32_t args[3] = {reinterpret_cast<uint32_t>(path), reinterpret_cast<uint32_t>(arg),
                              static_cast<uint32_t>(flags)};
    uintptr_t target = reinterpret_cast<uintptr_t>(fn);
    const uint32_t* p = args;
    asm volatile(
        "movl %%esp, %%edi\n\t"
        "pushl 8(%1)\n\t"
        "pushl 4(%1)\n\t"
        "pushl (%1)\n\t"
        "call *%0\n\t"
        "movl %%edi, %%esp"
        : "+a"(target), "+S"(p)
        :
        : "ecx", "edx", "edi", "memory", "cc");
#else
    // Elsewhere there is one convention, and the library is Kestrel's own:
    // call it with its exact type (it returns a status, which is ignored).
    using PlayFunction = int32_t (*)(const char*, const char*, int32_t);
    reinterpret_cast<PlayFunction>(reinterpret_cast<void (*)()>(fn))(path, arg, flags);
#endif
}

void play_gauge_sound(const char* path) {
    if (sound.play) call_sound_function(sound.play, path, "", 0);
}

void play_system_sound(const char* path) { PlaySoundA(path, nullptr, SND_FILENAME | SND_ASYNC); }

// ---------------------------------------------------------------------------
// The gauge callback

static void pre_initialize() {
    if (!gauge_ops.without_sound_library) {
        if (!sound.handle) sound.handle = load_sound_library();
        bind_sound_library();
    }
    for (const SharedBinding& b : gauge_ops.shared) host()->initialize_var_by_name(b.record, b.name);
}

static void pre_update() {
    if (gauge_ops.without_sound_library) return;
    find_sound_library();
    for (ModuleVar* v : gauge_ops.sim_vars) host()->lookup_var(v);
    if (gauge_ops.update) gauge_ops.update();
}

static void pre_draw() {
    if (first_draw_done) return;
    first_draw_done = 1;
    const bool early = gauge_ops.first_draw_before_clearing;
    if (early && gauge_ops.first_draw) gauge_ops.first_draw();
    for (const SharedBinding& b : gauge_ops.shared) shared_set(*b.record, 0);
    if (!early && gauge_ops.first_draw) gauge_ops.first_draw();
}

static void pre_kill() {
    if (gauge_ops.without_sound_library) return;
    find_sound_library();
    if (sound.terminate) reinterpret_cast<void(KCALL*)()>(reinterpret_cast<void (*)()>(sound.terminate))();
    // Only a reference this module took is released: releasing another
    // module's would unload the library under it.
    if (sound.handle && sound.references > 0) {
        FreeLibrary(sound.handle);
        --sound.references;
    }
    // The library may be gone now: forget it, so that nothing calls into it
    // and the next pre-initialize loads it afresh.
    sound.handle = nullptr;
    bind_sound_library();
    if (gauge_ops.kill) gauge_ops.kill();
}

extern "C" void KCALL gauge_callback(GaugeHeader*, uint32_t service, void*) {
    switch (service) {
    case SERVICE_PRE_INSTALL:
        if (gauge_ops.install) gauge_ops.install();
        break;
    case SERVICE_PRE_INITIALIZE:
        pre_initialize();
        break;
    case SERVICE_PRE_UPDATE:
        pre_update();
        break;
    case SERVICE_PRE_DRAW:
        pre_draw();
        break;
    case SERVICE_PRE_KILL:
        pre_kill();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Numbers and text

float to_single(double v) {
    // Values between FLT_MAX and FLT_MAX + half an ulp round down to FLT_MAX;
    // from there on they round to infinity.
    const double overflow = 0x1.ffffffp127;
    if (v >= overflow) return INFINITY;
    if (v <= -overflow) return -INFINITY;
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

// print_number writes snprintf's bytes, without the C library's cost for the
// gauges' captions and readouts.
void format_text(TextElement* e, const char* format, double value) {
    if (!e->text) return;
    // A NaN is printed as "nan" whatever its sign bit: C libraries differ on
    // writing "-nan", and a gauge's text must not differ between systems.
    const float single = to_single(value);
    print_number(e->text, static_cast<size_t>(e->capacity) + 1, format,
                 isnan(single) ? static_cast<double>(NAN) : static_cast<double>(single));
}
