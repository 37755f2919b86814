// The simulator's own motion for the radios and the clock.
#include <math.h>

#include "host/sim/sim.h"

namespace kestrel {

namespace {

constexpr uint32_t CLOCK_HOURS = 0x3;
constexpr uint32_t CLOCK_MINUTES = 0x4;
constexpr uint32_t CLOCK_SECONDS = 0x5;

// The clock starts at the same time of day on every run, so that
// transcripts do not depend on when they were made.
constexpr double START_OF_DAY = 10 * 3600 + 8 * 60;  // 10:08:00

// The time of day in whole hours, minutes and seconds: the start plus the
// seconds the tick counter has run, round the clock. A tick counter that is
// not a number leaves the clock where it stands.
void clock(Sim& sim) {
    const double ticks = sim.get(VAR_TICKS);
    if (!isfinite(ticks)) return;
    double s = fmod(START_OF_DAY + floor(ticks / TICKS_PER_SECOND), 86400.0);
    if (s < 0) s += 86400.0;
    sim.set(CLOCK_HOURS, floor(s / 3600));
    sim.set(CLOCK_MINUTES, floor(fmod(s, 3600) / 60));
    sim.set(CLOCK_SECONDS, fmod(s, 60));
}

}  // namespace

extern const std::vector<SimModel> radio_models = {
    {"clock", "the clock's hours, minutes and seconds (0x3, 0x4, 0x5) follow the tick counter from 10:08:00",
     clock},
};

}  // namespace kestrel
