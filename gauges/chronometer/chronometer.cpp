// Cockpit clock: hour, minute and second hands on the simulator's clock, an
// elapsed-time readout in minutes and seconds counted by the gauge itself
// from the simulator's tick counter, a two-digit readout of a further
// simulator value with its down and up areas, and the CHR button that starts
// the elapsed time and, pressed again, stops and clears it.
#include <math.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update
static ModuleVar clock_minutes = sim_var(CLOCK_MINUTES);
static ModuleVar ticks = sim_var(TICKS);  // tick counter, 18 a second
static ModuleVar clock_hours = sim_var(CLOCK_HOURS);
static ModuleVar clock_seconds = sim_var(CLOCK_SECONDS);

// Key events
constexpr uint32_t EVENT_DOWN = 0x100FE;
constexpr uint32_t EVENT_UP = 0x100FD;

// Own state: the elapsed time and its two schedules. Seconds and minutes are
// counted on schedules of their own, both started from the same tick.
static int32_t chrono_running;    // 1 while the elapsed time runs
static int32_t chrono_seconds;    // 0 to 59
static int32_t chrono_minutes;    // 0 to 59, then 0 again
static int32_t next_second_tick;  // tick at which the next second counts; 0: stopped
static int32_t next_minute_tick;  // tick at which the next minute counts; 0: stopped

constexpr double TICKS_PER_SECOND = 18.0;
constexpr double TICKS_PER_MINUTE = 1080.0;

static double KCALL two_digit_readout(TextElement* e);
static double KCALL elapsed_seconds(TextElement* e);
static double KCALL elapsed_minutes(TextElement* e);
static double KCALL chr_button(IconElement* e);
static double KCALL hour_hand(SpriteElement* e);
static double KCALL minute_hand(SpriteElement* e);
static double KCALL second_hand(SpriteElement* e);
static int32_t KCALL chr_pressed(MouseArgs*, uint32_t);
template <uint32_t Event>
static int32_t KCALL send_event(MouseArgs*, uint32_t);

constexpr TextStyle READOUT = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle READOUT_ORANGE = {"Arial", 500, 0xFFFFFF, 0x4080FF};

// The hands turn about the dial's centre, clockwise: the rotation's scale is -1.
constexpr PixPoint DIAL_CENTRE = {70, 72};
// The hands do not shift: their offsets are their own (empty) sources.
constexpr SpriteAxis STILL_X = {0.0, lit_x<power>, 0};
constexpr SpriteAxis STILL_Y = {0.0, lit_y<power>, 0};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                    // 0 clock face, 142x141
    icon(0x1200, {0, 0}, 2, lit_value<power>),               // 1 dial markings, 142x141
    text({63, 86}, {81, 20}, READOUT, two_digit_readout, CHRONO_WINDOW),  // 2 "%02.0f"
    text({70, 42}, {74, 20}, READOUT, elapsed_seconds),                   // 3 ": %02.0f"
    text({49, 42}, {95, 20}, READOUT_ORANGE, elapsed_minutes),            // 4 "%02.0f"
    icon(0x1600, {1, 112}, 2, chr_button),                   // 5 CHR, 28x26: released, running
    sprite(0x1400, {0, 0}, DIAL_CENTRE, STILL_X, STILL_Y, {-1.0, hour_hand, 0}),    // 6 67x67
    sprite(0x2000, {0, 0}, DIAL_CENTRE, STILL_X, STILL_Y, {-1.0, minute_hand, 0}),  // 7 117x117
    sprite(0x1800, {0, 0}, DIAL_CENTRE, STILL_X, STILL_Y, {-1.0, second_hand, 0}),  // 8 117x117
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({2, 110, 27, 28}, CURSOR_HAND, MOUSE_LEFT_SINGLE, chr_pressed),
    mouse_area({106, 116, 13, 19}, CURSOR_DOWN, MOUSE_LEFT_SINGLE, send_event<EVENT_DOWN>),
    mouse_area({125, 115, 14, 21}, CURSOR_UP, MOUSE_LEFT_SINGLE, send_event<EVENT_UP>),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks: every one is lit with the panel.

static double KCALL two_digit_readout(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%02.0f", e->source[0].value.d);
    return 0;
}

// The elapsed time reads "03: 07": the minutes, then the seconds with their colon.
static double KCALL elapsed_seconds(TextElement* e) {
    apply_power(e, power);
    format_text(e, ": %02.0f", chrono_seconds);
    return 0;
}

static double KCALL elapsed_minutes(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%02.0f", chrono_minutes);
    return 0;
}

static double KCALL chr_button(IconElement* e) {
    apply_power(e, power);
    return chrono_running;
}

// Degrees of the dial: 30 an hour, with the minutes' share; 6 a minute or second.
static double KCALL hour_hand(SpriteElement* e) {
    apply_power(e, power);
    return 30.0 * clock_hours.value.d + 0.5 * clock_minutes.value.d;
}

static double KCALL minute_hand(SpriteElement* e) {
    apply_power(e, power);
    return 6.0 * clock_minutes.value.d;
}

static double KCALL second_hand(SpriteElement* e) {
    apply_power(e, power);
    return 6.0 * clock_seconds.value.d;
}

// ---------------------------------------------------------------------------
// Mouse callbacks

// The tick `period` ticks after t, truncated toward zero.
static int32_t tick_after(double t, double period) { return to_int32(t + period); }

// Start, or stop and clear in one press; then the click.
static int32_t KCALL chr_pressed(MouseArgs*, uint32_t) {
    if (chrono_running != 0) {
        chrono_running = chrono_seconds = chrono_minutes = 0;
        next_second_tick = next_minute_tick = 0;
    } else {
        chrono_running = 1;
        next_second_tick = tick_after(ticks.value.d, TICKS_PER_SECOND);
        next_minute_tick = tick_after(ticks.value.d, TICKS_PER_MINUTE);
    }
    play_system_sound(SOUND_CLICK);
    return 0;
}

template <uint32_t Event>
static int32_t KCALL send_event(MouseArgs*, uint32_t) {
    key_event(Event);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// How many periods of a schedule have come due by tick t, modulo 60; the
// schedule moves on past t. A schedule due at 0 is stopped. A slow simulator
// moves the tick counter several ticks a frame, so a schedule counts once
// the counter has reached its tick, not only when it meets it exactly, and
// counts every period the counter passed over at once.
static int32_t periods_due(int32_t& due, double t, double period) {
    if (due == 0 || !(t >= due)) return 0;
    const double k = 1.0 + floor((t - due) / period);
    due = to_int32(due + k * period);
    return to_int32(fmod(k, 60.0));  // a counter beyond all reason (infinite) counts 0
}

// Pre-update, after the lookups: count the elapsed time.
static void count_elapsed_time() {
    const double t = ticks.value.d;
    chrono_seconds = (chrono_seconds + periods_due(next_second_tick, t, TICKS_PER_SECOND)) % 60;
    chrono_minutes = (chrono_minutes + periods_due(next_minute_tick, t, TICKS_PER_MINUTE)) % 60;
}

// First draw: stopped and cleared.
static void reset_own_state() {
    chrono_running = chrono_seconds = chrono_minutes = 0;
    next_second_tick = next_minute_tick = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&clock_minutes, &ticks, &clock_hours, &clock_seconds};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .update = count_elapsed_time,
    .first_draw = reset_own_state,
};
