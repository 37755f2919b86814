// Flight computer readouts, 178x160: a small screen with six green lines (an
// elapsed-time chronometer, the altitude in feet and in metres, the ground
// speed, and the bearing and distance to the next waypoint), and two small
// push buttons at its left edge that switch the screen on and off and restart
// the chronometer. The lines show while the screen is switched on and the
// battery master (0x16C) is exactly 1.
#include <math.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power; lights the button lamps

// Simulator variables refreshed on every pre-update, in this order.
static ModuleVar altitude_metres = sim_var(ALTITUDE_METRES);
static ModuleVar ticks = sim_var(TICKS);             // tick counter, 18 a second
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // 1: on

// Own state
static int32_t screen_on;  // 1: the screen is switched on
static int32_t elapsed_seconds, elapsed_minutes, elapsed_hours;
// Tick counts at which the next second, minute and hour are counted; 0 while
// the chronometer has never been started.
static int32_t next_second_tick, next_minute_tick, next_hour_tick;

constexpr int32_t TICKS_PER_SECOND = 18;
constexpr int32_t TICKS_PER_MINUTE = 60 * TICKS_PER_SECOND;
constexpr int32_t TICKS_PER_HOUR = 60 * TICKS_PER_MINUTE;

static double KCALL hours_text(TextElement* e);
static double KCALL minutes_text(TextElement* e);
static double KCALL seconds_text(TextElement* e);
static double KCALL feet_text(TextElement* e);
static double KCALL metres_text(TextElement* e);
static double KCALL ground_speed_text(TextElement* e);
static double KCALL bearing_text(TextElement* e);
static double KCALL distance_text(TextElement* e);
static int32_t KCALL chronometer_pressed(MouseArgs*, uint32_t);
static int32_t KCALL screen_pressed(MouseArgs*, uint32_t);

constexpr TextStyle SCREEN = {"Arial Narrow", 600, 0x00FF00, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                                   // 0 housing and screen, 178x160
    text({30, 7}, {150, 19}, SCREEN, hours_text),                           // 1 "CHRONO  01"
    text({108, 7}, {72, 19}, SCREEN, minutes_text),                         // 2 ": 02"
    text({136, 7}, {44, 19}, SCREEN, seconds_text),                         // 3 ": 03"
    text({30, 23}, {150, 19}, SCREEN, feet_text),                           // 4 altitude, feet
    text({30, 39}, {150, 19}, SCREEN, metres_text, ALTITUDE_METRES),                  // 5 altitude, metres
    text({30, 55}, {150, 19}, SCREEN, ground_speed_text, GROUND_SPEED),     // 6 ground speed
    text({30, 71}, {150, 19}, SCREEN, bearing_text, WAYPOINT_BEARING),      // 7 bearing to waypoint
    text({30, 87}, {150, 19}, SCREEN, distance_text, WAYPOINT_DISTANCE),    // 8 distance to waypoint
    icon(0x1100, {4, 7}, 1, lit_value<power>),                              // 9 screen button lamp, 11x3
    icon(0x1100, {4, 28}, 1, lit_value<power>),                             // 10 chronometer button lamp
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({1, 21, 14, 10}, CURSOR_HAND, MOUSE_LEFT_SINGLE, chronometer_pressed),
    mouse_area({0, 1, 17, 12}, CURSOR_HAND, MOUSE_LEFT_SINGLE, screen_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks. The screen's lines are always drawn bright, and show
// only while the screen is on and the battery master is exactly 1.

static void screen_line(TextElement* e) {
    set_bright(e, true);
    show_if(e, screen_on == 1 && is_on(battery_master.value.d));
}

// The counters are wrapped here too, so each readout stays within its range
// whatever the counter holds.
static double KCALL hours_text(TextElement* e) {
    screen_line(e);
    if (elapsed_hours > 23) elapsed_hours -= 24;
    format_text(e, "CHRONO  %02.0f", elapsed_hours);
    return 0;
}

static double KCALL minutes_text(TextElement* e) {
    screen_line(e);
    if (elapsed_minutes > 59) elapsed_minutes -= 60;
    format_text(e, ": %02.0f", elapsed_minutes);
    return 0;
}

static double KCALL seconds_text(TextElement* e) {
    screen_line(e);
    if (elapsed_seconds > 59) elapsed_seconds -= 60;
    format_text(e, ": %02.0f", elapsed_seconds);
    return 0;
}

// 3.28 feet to the metre: 1000 m reads 3280 FT.
static double KCALL feet_text(TextElement* e) {
    screen_line(e);
    format_text(e, "POS ALT  %.0f FT", 3.28 * altitude_metres.value.d);
    return 0;
}

static double KCALL metres_text(TextElement* e) {
    screen_line(e);
    format_text(e, "POS ALT  %.0f M", e->source[0].value.d);
    return 0;
}

static double KCALL ground_speed_text(TextElement* e) {
    screen_line(e);
    format_text(e, "GRD SPD %.0f KNT", e->source[0].value.d);
    return 0;
}

static double KCALL bearing_text(TextElement* e) {
    screen_line(e);
    format_text(e, "BRG  TO WP  %03.0f", e->source[0].value.d);
    return 0;
}

static double KCALL distance_text(TextElement* e) {
    screen_line(e);
    format_text(e, "DIST TO WP  %.1f  nm", e->source[0].value.d);
    return 0;
}

// ---------------------------------------------------------------------------
// The chronometer

// The tick count t + period, truncated toward zero to 32 bits.
static int32_t tick_after(double period) { return to_int32(ticks.value.d + period); }

// Every press restarts the chronometer from zero; there is no stop.
static int32_t KCALL chronometer_pressed(MouseArgs*, uint32_t) {
    next_second_tick = tick_after(TICKS_PER_SECOND);
    next_hour_tick = tick_after(TICKS_PER_HOUR);
    next_minute_tick = tick_after(TICKS_PER_MINUTE);
    elapsed_seconds = 0;
    elapsed_minutes = 0;
    elapsed_hours = 0;
    play_system_sound(SOUND_CLICK);
    return 0;
}

static int32_t KCALL screen_pressed(MouseArgs*, uint32_t) {
    toggle(screen_on);
    play_system_sound(SOUND_CLICK);
    return 0;
}

// One counter and its schedule. A target of 0 means never started: the
// counter stands still. Once the tick count has reached or passed the target,
// every period gone by since is counted at once (a slow simulator moves the
// counter several ticks a frame, and a tick may be skipped), and the target
// moves on by as many periods, keeping the schedule's phase. The counter then
// wraps within its range.
static void run_schedule(int32_t& counter, int32_t& target, int32_t period, int32_t range) {
    const double t = ticks.value.d;
    if (target == 0 || !(t >= target)) return;
    const double periods = 1 + floor((t - target) / period);
    target = to_int32(target + periods * period);
    // An infinite tick count passes every period at once: nothing to count.
    if (isfinite(periods)) counter = static_cast<int32_t>(fmod(counter + fmod(periods, range), range));
}

// Pre-update, after the lookups.
static void count_elapsed_time() {
    run_schedule(elapsed_seconds, next_second_tick, TICKS_PER_SECOND, 60);
    run_schedule(elapsed_minutes, next_minute_tick, TICKS_PER_MINUTE, 60);
    run_schedule(elapsed_hours, next_hour_tick, TICKS_PER_HOUR, 24);
}

// First draw: the screen off and the chronometer stopped. The seconds keep
// whatever they hold.
static void reset_own_state() {
    elapsed_minutes = 0;
    elapsed_hours = 0;
    next_second_tick = 0;
    next_minute_tick = 0;
    next_hour_tick = 0;
    screen_on = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&altitude_metres, &ticks, &battery_master};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .update = count_elapsed_time,
    .first_draw = reset_own_state,
};
