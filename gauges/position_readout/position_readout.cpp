// Position readout, 178x160: a small black screen with the present latitude
// and longitude, the next waypoint's latitude and longitude (degrees, minutes
// and hundredths of a minute, the hemisphere letter in the label), and the
// altitude above the ground in feet, all in green. A blank overlay covers the
// screen until the small button in its top-left corner switches it on, and
// whenever the battery master (0x16C) is 0.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power; lights the corner mark

// Simulator variables refreshed on every pre-update, in this order.
static ModuleVar latitude = sim_var(LATITUDE);            // metres along the meridian
static ModuleVar longitude = sim_var(LONGITUDE);           // 2^-48 of a turn
static ModuleVar waypoint_latitude = sim_var(WAYPOINT_LATITUDE);  // metres along the meridian
static ModuleVar waypoint_longitude = sim_var(WAYPOINT_LONGITUDE);  // 1/11930464 degree
static ModuleVar ground_elevation = sim_var(GROUND_ELEVATION);     // 1/256 metre
static ModuleVar altitude_metres = sim_var(ALTITUDE_METRES);
static ModuleVar battery_master = sim_var(BATTERY_MASTER);     // nonzero: on

constexpr double METRES_PER_TURN = 40007000;   // along a meridian
constexpr double TURNS_PER_UNIT = 0x1p-48;     // present longitude
constexpr double UNITS_PER_DEGREE = 11930464;  // waypoint longitude

// Own state: each angle's magnitude in hundredths of an arc minute, and its
// whole degrees and whole minutes. [0] present latitude, [1] present
// longitude, [2] waypoint latitude, [3] waypoint longitude.
struct Angle {
    int32_t total, degrees, minutes;
};
static Angle angles[4];
static int32_t screen_switch;  // nonzero: switched on

template <int K>
static double KCALL degrees_text(TextElement* e);
template <int K>
static double KCALL minutes_text(TextElement* e);
template <int K>
static double KCALL hundredths_text(TextElement* e);
static double KCALL latitude_north(TextElement* e);
static double KCALL latitude_south(TextElement* e);
static double KCALL longitude_east(TextElement* e);
static double KCALL longitude_west(TextElement* e);
static double KCALL waypoint_north(TextElement* e);
static double KCALL waypoint_south(TextElement* e);
static double KCALL waypoint_east(TextElement* e);
static double KCALL waypoint_west(TextElement* e);
static double KCALL height_text(TextElement* e);
static double KCALL overlay(IconElement* e);
static int32_t KCALL corner_pressed(MouseArgs*, uint32_t);

constexpr TextStyle GREEN = {"Arial Narrow", 600, 0x00FF00, 0x80FFFF};
constexpr TextStyle GREEN_B = {"Arial Narrow", 600, 0x00FF00, 0x4080FF};

static constinit Chain chain{
    &gauge_header,
    image(0x1600, {0, 0}),                                        // 0 black screen, 178x160
    text({26, 19}, {154, 19}, GREEN, latitude_north),             // 1 "POS LAT N"
    text({26, 19}, {154, 19}, GREEN_B, latitude_south),           // 2 "POS LAT S"
    text({110, 19}, {70, 19}, GREEN, degrees_text<0>),            // 3 degrees
    text({130, 19}, {50, 19}, GREEN_B, minutes_text<0>),          // 4 minutes
    text({147, 19}, {33, 19}, GREEN, hundredths_text<0>),         // 5 ".hh'"
    text({26, 36}, {154, 19}, GREEN, longitude_east),             // 6 "POS LON E"
    text({26, 36}, {154, 19}, GREEN_B, longitude_west),           // 7 "POS LON W"
    text({110, 36}, {70, 19}, GREEN, degrees_text<1>),            // 8
    text({130, 36}, {50, 19}, GREEN_B, minutes_text<1>),          // 9
    text({147, 36}, {33, 19}, GREEN, hundredths_text<1>),         // 10
    text({26, 53}, {154, 19}, GREEN, waypoint_north),             // 11 "NXT WP LT N"
    text({26, 53}, {154, 19}, GREEN_B, waypoint_south),           // 12 "NXT WP LT S"
    text({114, 53}, {66, 19}, GREEN, degrees_text<2>),            // 13
    text({133, 53}, {47, 19}, GREEN_B, minutes_text<2>),          // 14
    text({148, 53}, {32, 19}, GREEN, hundredths_text<2>),         // 15
    text({26, 70}, {154, 19}, GREEN, waypoint_east),              // 16 "NXT WP LN E"
    text({26, 70}, {154, 19}, GREEN_B, waypoint_west),            // 17 "NXT WP LN W"
    text({114, 70}, {66, 19}, GREEN, degrees_text<3>),            // 18
    text({133, 70}, {47, 19}, GREEN_B, minutes_text<3>),          // 19
    text({148, 70}, {32, 19}, GREEN, hundredths_text<3>),         // 20
    text({26, 87}, {154, 19}, GREEN, height_text),                // 21 altitude above ground
    icon(0x1800, {1, 5}, 1, lit_value<power>),                    // 22 corner mark, 11x3
    icon(0x1900, {0, 0}, 1, overlay),                             // 23 blank overlay, 178x160
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({0, 0, 15, 11}, CURSOR_HAND, MOUSE_LEFT_SINGLE, corner_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// The angles, worked out on every pre-update whether or not the screen shows.

// The magnitude of an angle in hundredths of an arc minute, truncated toward
// zero. A value that is not a number reads 0, values beyond the 32-bit range
// stop at its ends, and the most negative one, whose magnitude has no 32-bit
// form, reads as the largest.
static int32_t magnitude(double hundredths) {
    const int32_t v = to_int32(hundredths);
    if (v == INT32_MIN) return INT32_MAX;
    return v < 0 ? -v : v;
}

static void set_angle(Angle& a, double hundredths) {
    a.total = magnitude(hundredths);
    a.degrees = a.total / 6000;
    a.minutes = a.total % 6000 / 100;
}

// Each angle in hundredths of an arc minute: degrees x 60 x 100, multiplied
// in that order.
static void compute_angles() {
    set_angle(angles[0], latitude.value.d / METRES_PER_TURN * 360 * 60 * 100);
    set_angle(angles[1], longitude.value.d * TURNS_PER_UNIT * 360 * 60 * 100);
    set_angle(angles[2], waypoint_latitude.value.d / METRES_PER_TURN * 360 * 60 * 100);
    set_angle(angles[3], waypoint_longitude.value.d / UNITS_PER_DEGREE * 60 * 100);
}

// ---------------------------------------------------------------------------
// Element callbacks. The readout is always drawn bright; "power" lights only
// the corner mark.

// A hemisphere label shows while its angle has that sign; an angle of exactly
// 0 shows neither label of its row.
static double label(TextElement* e, bool shown, const char* format) {
    show_if(e, shown);
    return bright_caption(e, format);
}

static double KCALL latitude_north(TextElement* e) { return label(e, latitude.value.d > 0, "POS LAT N%200.0f"); }
static double KCALL latitude_south(TextElement* e) { return label(e, latitude.value.d < 0, "POS LAT S%200.0f"); }
static double KCALL longitude_east(TextElement* e) { return label(e, longitude.value.d > 0, "POS LON E%200.0f"); }
static double KCALL longitude_west(TextElement* e) { return label(e, longitude.value.d < 0, "POS LON W%200.0f"); }
static double KCALL waypoint_north(TextElement* e) {
    return label(e, waypoint_latitude.value.d > 0, "NXT WP LT N%200.0f");
}
static double KCALL waypoint_south(TextElement* e) {
    return label(e, waypoint_latitude.value.d < 0, "NXT WP LT S%200.0f");
}
static double KCALL waypoint_east(TextElement* e) {
    return label(e, waypoint_longitude.value.d > 0, "NXT WP LN E%200.0f");
}
static double KCALL waypoint_west(TextElement* e) {
    return label(e, waypoint_longitude.value.d < 0, "NXT WP LN W%200.0f");
}

static double readout(TextElement* e, const char* format, int32_t value) {
    set_bright(e, true);
    format_text(e, format, value);
    return 0;
}

// The present position's degrees print as they are, the waypoint's with at
// least two digits.
template <int K>
static double KCALL degrees_text(TextElement* e) {
    return readout(e, K < 2 ? "%0.0f" : "%02.0f", angles[K].degrees);
}

template <int K>
static double KCALL minutes_text(TextElement* e) {
    return readout(e, "%02.0f", angles[K].minutes);
}

template <int K>
static double KCALL hundredths_text(TextElement* e) {
    const Angle& a = angles[K];
    return readout(e, ".%02.0f'", a.total - a.degrees * 6000 - a.minutes * 100);
}

// Feet above the ground: the altitude in metres less the ground elevation in
// 1/256 metre, at 3.28 feet to the metre.
static double KCALL height_text(TextElement* e) {
    set_bright(e, true);
    const float feet = to_single(3.28 * altitude_metres.value.d - 0.00390625 * ground_elevation.value.d * 3.28);
    format_text(e, "ALT F. GND   %.0f FT", feet);
    return 0;
}

// The overlay steps aside only while the screen is switched on and the
// battery master is on.
static double KCALL overlay(IconElement* e) {
    show_if(e, !(screen_switch != 0 && battery_master.value.d != 0));
    return e->source.value.d;
}

static int32_t KCALL corner_pressed(MouseArgs*, uint32_t) {
    toggle(screen_switch);
    play_system_sound(SOUND_CLICK);
    return 0;
}

// First draw: the readout cleared and the screen switched off.
static void reset_own_state() {
    for (Angle& a : angles) a = {};
    screen_switch = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {
    &latitude, &longitude, &waypoint_latitude, &waypoint_longitude,
    &ground_elevation, &altitude_metres, &battery_master,
};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .update = compute_angles,
    .first_draw = reset_own_state,
};
