// Key events of the radio tuning, transfer and the transponder, and the
// chronometer's down and up buttons.
//
// The radios keep their frequencies as the gauges read them, in binary-coded
// decimal (Sim::set_bcd):
// - COM and NAV: four digits after a leading 1, 0x1830 for 118.30. The knobs
//   tune the standby frequency, which the transfer swaps with the active
//   one. The whole-megahertz knob wraps within the band (COM 118 to 136, NAV
//   108 to 117), the fraction knob within the megahertz without carrying
//   (COM in 25 kHz channels, .000 to .975, shown to two decimals as the
//   word holds them: 118.025 is 0x1802; NAV in 50 kHz steps, .00 to .95).
// - ADF: hundreds, tens and units in 0x10, the thousands and tenths digits in
//   the extension word 0x12 (bits 8-11 and 0-3): 100.0 to 1799.9 kHz. Each
//   knob steps its own digit and wraps it; the hundreds knob runs 1 to 17
//   hundreds with the thousands digit.
// - Transponder: four octal digits, leftmost in bits 12-15, each 0 to 7.
// A digit that is not a decimal digit (garbage nibbles A-F) counts as the
// bottom of its range before it is stepped.
//
// The simulator's own motion for the radios and the clock.
#include <math.h>

#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

// The BCD word of a radio variable; 0 for one never set or set as a plain number.
uint32_t bcd(const Sim& sim, uint32_t id) {
    const Sim::Var* v = sim.find(id);
    return v && v->is_bcd ? v->bcd : 0;
}

uint32_t nibble(uint32_t word, int shift) { return (word >> shift) & 0xF; }

// Steps `value` by `by` within [low, high], wrapping at either end.
int wrap(int value, int by, int low, int high) {
    const int span = high - low + 1;
    return low + ((value - low + by) % span + span) % span;
}

// A COM or NAV band: whole megahertz from `low` to `high`, the fraction in
// `step` kHz.
struct Band {
    int low, high, step;
};
constexpr Band COM = {118, 136, 25};
constexpr Band NAV = {108, 117, 50};

// A frequency in whole megahertz and kHz, on the band's channels.
struct Frequency {
    int mhz, khz;
};

Frequency decode(uint32_t word, const Band& band) {
    int mhz = 100 + int(nibble(word, 12)) * 10 + int(nibble(word, 8));
    const int tens_of_khz = int(nibble(word, 4)) * 10 + int(nibble(word, 0));
    if (mhz < band.low || mhz > band.high) mhz = band.low;
    // The nearest channel to what the two decimals say (.02 is .025, .07 is .075).
    int khz = (tens_of_khz * 10 + band.step / 2) / band.step * band.step;
    if (khz >= 1000) khz = 0;
    return {mhz, khz};
}

uint32_t encode(const Frequency& f) {
    const int tens = f.mhz - 100, hundredths = f.khz / 10;
    return uint32_t(tens / 10) << 12 | uint32_t(tens % 10) << 8 | uint32_t(hundredths / 10) << 4 |
           uint32_t(hundredths % 10);
}

template <uint32_t Var, const Band& B, int By>
void whole(Sim& sim, uint32_t) {
    Frequency f = decode(bcd(sim, Var), B);
    f.mhz = wrap(f.mhz, By, B.low, B.high);
    sim.set_bcd(Var, encode(f));
}

template <uint32_t Var, const Band& B, int By>
void fraction(Sim& sim, uint32_t) {
    Frequency f = decode(bcd(sim, Var), B);
    f.khz = wrap(f.khz / B.step, By, 0, 1000 / B.step - 1) * B.step;
    sim.set_bcd(Var, encode(f));
}

template <uint32_t Active, uint32_t Standby>
void transfer(Sim& sim, uint32_t) {
    const uint32_t active = bcd(sim, Active), standby = bcd(sim, Standby);
    sim.set_bcd(Active, standby);
    sim.set_bcd(Standby, active);
}

// ADF: the frequency word holds hundreds, tens and units; the extension the
// thousands and tenths.
constexpr uint32_t ADF = 0x10;

struct AdfDigits {
    int hundreds;  // with the thousands: 1 to 17
    int tens, units, tenths;
};

int decimal_digit(uint32_t n) { return n > 9 ? 0 : int(n); }

AdfDigits adf(const Sim& sim) {
    const uint32_t f = bcd(sim, ADF), e = bcd(sim, ADF_EXTENSION);
    int hundreds = decimal_digit(nibble(e, 8)) * 10 + decimal_digit(nibble(f, 8));
    if (hundreds < 1 || hundreds > 17) hundreds = 1;
    return {hundreds, decimal_digit(nibble(f, 4)), decimal_digit(nibble(f, 0)), decimal_digit(nibble(e, 0))};
}

void set_adf(Sim& sim, const AdfDigits& d) {
    sim.set_bcd(ADF, uint32_t(d.hundreds % 10) << 8 | uint32_t(d.tens) << 4 | uint32_t(d.units));
    sim.set_bcd(ADF_EXTENSION, uint32_t(d.hundreds / 10) << 8 | uint32_t(d.tenths));
}

template <int AdfDigits::*Digit, int By>
void adf_digit(Sim& sim, uint32_t) {
    AdfDigits d = adf(sim);
    if constexpr (Digit == &AdfDigits::hundreds)
        d.hundreds = wrap(d.hundreds, By, 1, 17);
    else
        d.*Digit = wrap(d.*Digit, By, 0, 9);
    set_adf(sim, d);
}

// Transponder: digit 1 is the leftmost.
constexpr uint32_t TRANSPONDER = 0x26;

template <int Digit, int By>
void squawk_digit(Sim& sim, uint32_t) {
    const int shift = 4 * (4 - Digit);
    const uint32_t code = bcd(sim, TRANSPONDER);
    const uint32_t d = nibble(code, shift);
    const int stepped = wrap(d > 7 ? 0 : int(d), By, 0, 7);
    sim.set_bcd(TRANSPONDER, (code & ~(0xFu << shift)) | uint32_t(stepped) << shift);
}

// The chronometer's lower window: two digits, 0 to 99, wrapping.
constexpr uint32_t CHRONO_VALUE = 0x150;

template <int By>
void chrono_value(Sim& sim, uint32_t) {
    const double v = sim.get(CHRONO_VALUE);
    const int n = (v >= 0 && v <= 99) ? int(v) : 0;
    sim.set(CHRONO_VALUE, wrap(n, By, 0, 99));
}

}  // namespace

namespace {


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

extern const SimArea radio_area = {
    "radio",
    {
        {0x10065, "COM1 standby whole MHz up, 136 wraps to 118 (0x269)", whole<COM1_STANDBY, COM, 1>},
        {0x10064, "COM1 standby whole MHz down, 118 wraps to 136 (0x269)", whole<COM1_STANDBY, COM, -1>},
        {0x10067, "COM1 standby 25 kHz up, .975 wraps to .000 (0x269)", fraction<COM1_STANDBY, COM, 1>},
        {0x10066, "COM1 standby 25 kHz down, .000 wraps to .975 (0x269)", fraction<COM1_STANDBY, COM, -1>},
        {0x10385, "COM2 standby whole MHz up (0x367)", whole<COM2_STANDBY, COM, 1>},
        {0x10384, "COM2 standby whole MHz down (0x367)", whole<COM2_STANDBY, COM, -1>},
        {0x10388, "COM2 standby 25 kHz up (0x367)", fraction<COM2_STANDBY, COM, 1>},
        {0x10386, "COM2 standby 25 kHz down (0x367)", fraction<COM2_STANDBY, COM, -1>},
        {0x10069, "NAV1 standby whole MHz up, 117 wraps to 108 (0x368)", whole<NAV1_STANDBY, NAV, 1>},
        {0x10068, "NAV1 standby whole MHz down, 108 wraps to 117 (0x368)", whole<NAV1_STANDBY, NAV, -1>},
        {0x1006B, "NAV1 standby 50 kHz up, .95 wraps to .00 (0x368)", fraction<NAV1_STANDBY, NAV, 1>},
        {0x1006A, "NAV1 standby 50 kHz down, .00 wraps to .95 (0x368)", fraction<NAV1_STANDBY, NAV, -1>},
        {0x1006D, "NAV2 standby whole MHz up (0x369)", whole<NAV2_STANDBY, NAV, 1>},
        {0x1006C, "NAV2 standby whole MHz down (0x369)", whole<NAV2_STANDBY, NAV, -1>},
        {0x1006F, "NAV2 standby 50 kHz up (0x369)", fraction<NAV2_STANDBY, NAV, 1>},
        {0x1006E, "NAV2 standby 50 kHz down (0x369)", fraction<NAV2_STANDBY, NAV, -1>},
        {0x10344, "COM1 active and standby swap (0x17, 0x269)", transfer<COM1_ACTIVE, 0x269>},
        {0x1038C, "COM2 active and standby swap (0x366, 0x367)", transfer<COM2_ACTIVE, 0x367>},
        {0x10390, "NAV1 active and standby swap (0x18, 0x368)", transfer<NAV1_ACTIVE, 0x368>},
        {0x10394, "NAV2 active and standby swap (0x1B, 0x369)", transfer<NAV2_ACTIVE, 0x369>},
        {0x10070, "ADF hundreds up, 1700 wraps to 100 (0x10, 0x12)", adf_digit<&AdfDigits::hundreds, 1>},
        {0x10082, "ADF hundreds down, 100 wraps to 1700 (0x10, 0x12)", adf_digit<&AdfDigits::hundreds, -1>},
        {0x10071, "ADF tens digit up, 9 wraps to 0 (0x10)", adf_digit<&AdfDigits::tens, 1>},
        {0x10083, "ADF tens digit down (0x10)", adf_digit<&AdfDigits::tens, -1>},
        {0x10072, "ADF units digit up, 9 wraps to 0 (0x10)", adf_digit<&AdfDigits::units, 1>},
        {0x10084, "ADF units digit down (0x10)", adf_digit<&AdfDigits::units, -1>},
        {0x1039E, "ADF tenths digit up, 9 wraps to 0 (0x12)", adf_digit<&AdfDigits::tenths, 1>},
        {0x1039D, "ADF tenths digit down (0x12)", adf_digit<&AdfDigits::tenths, -1>},
        {0x10073, "transponder first digit up, 7 wraps to 0 (0x26)", squawk_digit<1, 1>},
        {0x10074, "transponder second digit up (0x26)", squawk_digit<2, 1>},
        {0x10075, "transponder third digit up (0x26)", squawk_digit<3, 1>},
        {0x10076, "transponder fourth digit up (0x26)", squawk_digit<4, 1>},
        {0x10397, "transponder first digit down, 0 wraps to 7 (0x26)", squawk_digit<1, -1>},
        {0x10398, "transponder second digit down (0x26)", squawk_digit<2, -1>},
        {0x10399, "transponder third digit down (0x26)", squawk_digit<3, -1>},
        {0x1039A, "transponder fourth digit down (0x26)", squawk_digit<4, -1>},
        {0x100FD, "chronometer's lower window up one, 99 wraps to 0 (0x150)", chrono_value<1>},
        {0x100FE, "chronometer's lower window down one, 0 wraps to 99 (0x150)", chrono_value<-1>},
    },
    {
        {"clock", "the clock's hours, minutes and seconds (0x3, 0x4, 0x5) follow the tick counter from 10:08:00",
         clock},
    },
};

}  // namespace kestrel
