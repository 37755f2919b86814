// GaugeSound for development on Linux: plays nothing and reports every call
// to whoever hosts the modules.
#include <stdint.h>

#include "frame/system.h"

#define GAUGE_SOUND_API extern "C" __attribute__((visibility("default")))

GAUGE_SOUND_API int32_t GaugePlaySound(const char* path, const char* arg, int32_t flags) {
    kestrel_system_report_gauge_sound("GaugePlaySound", path, arg, flags);
    return 1;
}

GAUGE_SOUND_API int32_t GaugeStopSound(const char* path) {
    kestrel_system_report_gauge_sound("GaugeStopSound", path, nullptr, 0);
    return 1;
}

GAUGE_SOUND_API void TerminateSounds() {
    kestrel_system_report_gauge_sound("TerminateSounds", nullptr, nullptr, 0);
}
