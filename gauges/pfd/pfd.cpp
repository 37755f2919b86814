// Primary flight display, 320x360: the flight mode annunciator row on top,
// the attitude sphere with the aircraft symbol, bank scale and flight
// director, the airspeed tape on the left, the altitude tape with its digit
// drum and the vertical speed scale on the right, the heading tape at the
// bottom, deviation scales, radio height, barometric setting and Mach. It only
// displays: no clickable area, no sound. A dark cover hides the face unless
// the battery master (0x16C) and the "display" selector are both on.
//
// The display does not bind "power": its lit elements set the bright bit on
// every call and never clear it.
#include <math.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar display;  // nonzero: the display selector is on

// Simulator variables watched by the gauge, refreshed on every pre-update in
// this order.
static ModuleVar vertical_speed = sim_var(VERTICAL_SPEED);    // feet per second
static ModuleVar deviation_enable = sim_var(DEVIATION_ENABLE);   // 1: localizer and glideslope shown
static ModuleVar mach_hold = sim_var(MACH_HOLD);
static ModuleVar speed_hold = sim_var(SPEED_HOLD);
static ModuleVar altitude_hold = sim_var(ALTITUDE_HOLD);
static ModuleVar director_on = sim_var(DIRECTOR);       // flight director
static ModuleVar selected_altitude = sim_var(SELECTED_ALTITUDE);  // feet
static ModuleVar heading_hold = sim_var(HEADING_HOLD);
static ModuleVar selected_speed = sim_var(SELECTED_SPEED);     // knots
static ModuleVar airspeed = sim_var(AIRSPEED);           // indicated, knots
static ModuleVar altitude = sim_var(ALTITUDE);           // feet
static ModuleVar autopilot = sim_var(AUTOPILOT);
static ModuleVar nav_hold = sim_var(NAV_HOLD);
static ModuleVar approach_hold = sim_var(APPROACH_HOLD);      // annunciated as LOC
static ModuleVar altitude_metres = sim_var(ALTITUDE_METRES);
static ModuleVar ground_elevation = sim_var(GROUND_ELEVATION);    // 1/256 metre
static ModuleVar bank = sim_var(BANK);               // degrees, positive left wing down
static ModuleVar mach_raw = sim_var(MACH_RAW);           // Mach x 65536 / 3.2
static ModuleVar battery_master = sim_var(BATTERY_MASTER);
static ModuleVar director_pitch = sim_var(DIRECTOR_PITCH);    // degrees
static ModuleVar pitch = sim_var(PITCH);              // degrees, positive nose down
static ModuleVar director_bank = sim_var(DIRECTOR_BANK);     // degrees
static ModuleVar freeze_first = sim_var(GENERATOR_1);      // attitude freeze: this 0 ...
static ModuleVar freeze_second = sim_var(ROLLOUT_FLAG);      // ... and this 1
static ModuleVar autothrottle = sim_var(AUTOTHROTTLE);
static ModuleVar level_mode = sim_var(LEVEL_MODE);
static ModuleVar back_course = sim_var(BACK_COURSE);

static ModuleVar* const watched[] = {
    &vertical_speed,   &deviation_enable, &mach_hold,       &speed_hold,     &altitude_hold,
    &director_on,      &selected_altitude, &heading_hold,   &selected_speed, &airspeed,
    &altitude,         &autopilot,        &nav_hold,        &approach_hold,  &altitude_metres,
    &ground_elevation, &bank,             &mach_raw,        &battery_master, &director_pitch,
    &pitch,            &director_bank,    &freeze_first,    &freeze_second,  &autothrottle,
    &level_mode,       &back_course,
};

static double KCALL piece_lit(IconElement* e);
static double KCALL piece(IconElement* e);
static double KCALL vs_needle(NeedleElement* e);
static double KCALL sphere_x(SpriteElement* e);
static double KCALL sphere_pitch(SpriteElement* e);
static double KCALL sphere_bank(SpriteElement* e);
static double KCALL tape_x(MovingElement* e);
static double KCALL tape_y(MovingElement* e);
static double KCALL altitude_hundreds(TextElement* e);
static double KCALL bank_pointer(NeedleElement* e);
static double KCALL deviation_scale(IconElement* e);
static double KCALL pointer_x(SliderElement* e);
static double KCALL pointer_y(SliderElement* e);
static double KCALL selected_mach_text(TextElement* e);
static double KCALL selected_speed_text(TextElement* e);
static double KCALL barometer_text(TextElement* e);
static double KCALL selected_altitude_text(TextElement* e);
static double KCALL speed_marker_x(MovingElement* e);
static double KCALL speed_marker_y(MovingElement* e);
static double KCALL altitude_marker_x(MovingElement* e);
static double KCALL altitude_marker_y(MovingElement* e);
static double KCALL ap1(TextElement* e);
static double KCALL nav(TextElement* e);
static double KCALL hdg(TextElement* e);
static double KCALL loc(TextElement* e);
static double KCALL radio_height(TextElement* e);
static double KCALL director_x(MovingElement* e);
static double KCALL director_y(MovingElement* e);
static double KCALL director_pitch_y(MovingElement* e);
static double KCALL director_roll_x(MovingElement* e);
static double KCALL mach_text(TextElement* e);
static double KCALL drum_y(MovingElement* e);
static double KCALL speed(TextElement* e);
static double KCALL athr(TextElement* e);
static double KCALL mach(TextElement* e);
static double KCALL vs_digits(TextElement* e);
static double KCALL lvl(TextElement* e);
static double KCALL bc(TextElement* e);
static double KCALL cover(IconElement* e);

// Colours (0x00BBGGRR) and fonts of the texts.
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t GREEN = 0x429153;
constexpr uint32_t OLIVE = 0x2C8C67;
constexpr uint32_t BLUE = 0xA69153;
constexpr uint32_t MAGENTA = 0x4E29B5;
constexpr TextStyle RADIO_HEIGHT = {"Arial", 500, WHITE, 0xFFFF};
constexpr TextStyle VS_DIGITS = {"Arial", 600, GREEN, 0x80FFFF};
constexpr TextStyle HUNDREDS = {"Arial Narrow", 600, OLIVE, 0xFFFF};
constexpr TextStyle TARGET_MACH = {"Arial", 600, OLIVE, 0x80FFFF};
constexpr TextStyle TARGET_SPEED = {"Arial", 600, OLIVE, 0x4080FF};
constexpr TextStyle BARO = {"Arial", 600, WHITE, 0x80FFFF};
constexpr TextStyle TARGET_ALTITUDE = {"Arial", 600, BLUE, 0x4080FF};
constexpr TextStyle MACH_NOW = {"Arial", 600, MAGENTA, 0x80FFFF};
constexpr TextStyle ENGAGED = {"Arial", 600, WHITE, 0x80FFFF};
constexpr TextStyle MODE = {"Arial", 600, GREEN, 0x80FFFF};
constexpr TextStyle MODE_B = {"Arial", 600, GREEN, 0x4080FF};
constexpr TextStyle MODE_C = {"Arial", 600, GREEN, 0xFFFF};

// Needle tables: vertical speed 0 to 8000 (4000 is level flight), bank
// pointer 15 to 105 (60 is wings level).
static NonlinearityEntry vs_table[] = {
    point(290, 312, 0),    point(289, 302, 1000), point(289, 292, 2000),
    point(290, 255, 3000), point(294, 209, 4000), point(290, 163, 5000),
    point(289, 126, 6000), point(289, 115, 7000), point(290, 106, 8000),
};
static NonlinearityEntry bank_table[] = {
    point(70, 140, 15), point(133, 117, 60), point(199, 140, 105),
};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                                   // 0 face, 320x360
    icon(0x3200, {0, 0}, 1, piece_lit),                                     // 1 annunciator row frame
    icon(0x3400, {288, 98}, 1, piece_lit),                                  // 2 vertical speed scale
    needle(0x1200, {317, 209}, {2, 3}, vs_table, vs_needle),                // 3 vertical speed needle
    sprite(0x1300, {0, 0}, {135, 204}, {0, sphere_x, 0}, {3.75, sphere_pitch, PITCH},
           {-1.0, sphere_bank, BANK}),                                      // 4 attitude sphere
    icon(0x3800, {215, 63}, 1, piece),                                      // 5 strip left of altitude
    icon(0x1800, {268, 63}, 1, piece),                                      // 6 strip right of altitude
    icon(0x1900, {307, 63}, 1, piece),                                      // 7 right border
    icon(0x4200, {287, 63}, 1, piece),                                      // 8 vertical speed top cap
    icon(0x4300, {287, 321}, 1, piece),                                     // 9 vertical speed bottom cap
    moving(0x1400, {0, 85}, {0, 0, tape_x, 0}, {365, 0, tape_y, AIRSPEED}),     // 10 airspeed tape
    moving(0x1600, {234, 85}, {0, 0, tape_x, 0}, {42600, -1450, tape_y, ALTITUDE}),  // 11 altitude tape
    text({237, 198}, {85, 28}, HUNDREDS, altitude_hundreds, ALTITUDE),          // 12 altitude hundreds
    needle(0x2000, {132, 201}, {3, 4}, bank_table, bank_pointer),           // 13 bank pointer
    icon(0x2500, {73, 302}, 1, deviation_scale),                            // 14 localizer scale
    icon(0x2600, {220, 139}, 1, deviation_scale),                           // 15 glideslope scale
    slider(0x2700, {127, 306}, {0.464566929133858, pointer_x, LOCALIZER}, {0, pointer_y, 0}),  // 16 localizer pointer
    slider(0x2800, {222, 193}, {0, pointer_x, 0}, {0.475, pointer_y, GLIDESLOPE}),  // 17 glideslope pointer
    text({2, 61}, {320, 24}, TARGET_MACH, selected_mach_text, SELECTED_MACH),  // 18 selected Mach
    text({2, 61}, {320, 24}, TARGET_SPEED, selected_speed_text, SELECTED_SPEED),      // 19 selected airspeed
    text({234, 332}, {88, 22}, BARO, barometer_text, BARO_INCHES),            // 20 barometric setting
    text({233, 62}, {89, 24}, TARGET_ALTITUDE, selected_altitude_text, SELECTED_ALTITUDE),  // 21 selected altitude
    moving(0x3600, {38, 85}, {0, 0, speed_marker_x, 0}, {60, -58, speed_marker_y, 0}),  // 22 speed marker
    moving(0x2200, {232, 85}, {0, 0, altitude_marker_x, 0},
           {520, -500, altitude_marker_y, 0}),                              // 23 altitude marker
    text({269, 9}, {53, 20}, ENGAGED, ap1),                                 // 24 "AP 1"
    text({73, 25}, {249, 20}, MODE, nav),                                   // 25 "NAV"
    text({73, 25}, {249, 20}, MODE_B, hdg),                                 // 26 "HDG"
    text({140, 6}, {182, 20}, MODE_C, loc),                                 // 27 "LOC"
    text({135, 274}, {187, 22}, RADIO_HEIGHT, radio_height),                // 28 radio height
    moving(0x2400, {90, 159}, {0, 0, director_x, 0}, {-15, 15, director_pitch_y, 0}),  // 29 director pitch bar
    moving(0x3000, {90, 159}, {30, -30, director_roll_x, 0}, {0, 0, director_y, 0}),   // 30 director roll bar
    text({2, 332}, {320, 24}, MACH_NOW, mach_text),                         // 31 current Mach
    moving(0x3900, {269, 191}, {0, 0, tape_x, 0}, {99, 0, drum_y, ALTITUDE}),   // 32 altitude drum
    moving(0x4400, {56, 323}, {0, 359, tape_x, HEADING}, {0, 0, tape_y, 0}),  // 33 heading tape
    text({9, 6}, {313, 20}, MODE, speed),                                   // 34 "SPEED"
    text({269, 28}, {53, 20}, ENGAGED, athr),                               // 35 "A/THR"
    text({9, 6}, {313, 20}, MODE, mach),                                    // 36 "MACH"
    text({288, 272}, {34, 21}, VS_DIGITS, vs_digits),                       // 37 vertical speed digits
    text({73, 6}, {249, 20}, MODE, lvl),                                    // 38 "LVL"
    text({140, 25}, {182, 20}, MODE, bc),                                   // 39 "BC"
    icon(0x3300, {0, 0}, 1, cover),                                         // 40 cover, 320x360
};

// ---------------------------------------------------------------------------
// Callbacks

static bool frozen() { return freeze_first.value.d == 0 && freeze_second.value.d == 1; }

template <class E>
static void lit(E* e) {
    set_bright(e, true);
}

// The value clamped to [low, high]; a NaN stays NaN.
static double clamp(double v, double low, double high) {
    if (v > high) v = high;
    if (v < low) v = low;
    return v;
}

// Whole hundreds of v, truncated toward zero, as the readouts print them:
// (v - fmod(v, 100)) / 100 in single precision.
static double hundreds(double value) {
    const double v = to_single(value);
    return to_single((v - fmod(v, 100)) / 100);
}

static double KCALL piece_lit(IconElement* e) {
    lit(e);
    return e->source.value.d;
}

static double KCALL piece(IconElement* e) { return e->source.value.d; }

// 4000 is level flight; the scale covers -4000 to +4000 feet per minute.
static double KCALL vs_needle(NeedleElement* e) {
    lit(e);
    return clamp(vertical_speed.value.d * 60 + 4000, 0, 8000);
}

static double KCALL sphere_x(SpriteElement* e) {
    lit(e);
    return e->source_x.value.d;
}

static double KCALL sphere_pitch(SpriteElement* e) {
    lit(e);
    return frozen() ? 0 : e->source_y.value.d;
}

static double KCALL sphere_bank(SpriteElement* e) {
    lit(e);
    return frozen() ? 0 : e->source_rotation.value.d;
}

// Airspeed, altitude and heading tapes; the drum's X axis.
static double KCALL tape_x(MovingElement* e) {
    lit(e);
    return e->source_x.value.d;
}

static double KCALL tape_y(MovingElement* e) {
    lit(e);
    return e->source_y.value.d;
}

static double KCALL altitude_hundreds(TextElement* e) {
    lit(e);
    format_text(e, "%03.0f", hundreds(e->source[0].value.d));
    return 0;
}

static double KCALL bank_pointer(NeedleElement* e) {
    lit(e);
    return frozen() ? 60 : clamp(bank.value.d + 60, 0, 120);
}

static double KCALL deviation_scale(IconElement* e) {
    show_if(e, is_on(deviation_enable.value.d));
    lit(e);
    return e->source.value.d;
}

// Both deviation pointers, each axis returning its own source (0 where none).
static double KCALL pointer_x(SliderElement* e) {
    show_if(e, is_on(deviation_enable.value.d));
    lit(e);
    return e->source_x.value.d;
}

static double KCALL pointer_y(SliderElement* e) {
    show_if(e, is_on(deviation_enable.value.d));
    lit(e);
    return e->source_y.value.d;
}

static double KCALL selected_mach_text(TextElement* e) {
    show_if(e, is_on(mach_hold.value.d));
    lit(e);
    format_text(e, "%.2f", e->source[0].value.d);
    return 0;
}

static double KCALL selected_speed_text(TextElement* e) {
    show_if(e, is_on(speed_hold.value.d));
    lit(e);
    format_text(e, "%03.0f", e->source[0].value.d);
    return 0;
}

static double KCALL barometer_text(TextElement* e) {
    lit(e);
    format_text(e, "%.2f IN", e->source[0].value.d);
    return 0;
}

static double KCALL selected_altitude_text(TextElement* e) {
    show_if(e, is_on(altitude_hold.value.d));
    lit(e);
    format_text(e, "%05.0f", e->source[0].value.d);
    return 0;
}

static double KCALL speed_marker_x(MovingElement* e) {
    show_if(e, is_on(speed_hold.value.d));
    lit(e);
    return e->source_x.value.d;
}

// Selected minus indicated airspeed, held within -58 to 55 knots.
static double KCALL speed_marker_y(MovingElement* e) {
    show_if(e, is_on(speed_hold.value.d));
    lit(e);
    return clamp(selected_speed.value.d - airspeed.value.d, -58, 55);
}

static double KCALL altitude_marker_x(MovingElement* e) {
    show_if(e, is_on(altitude_hold.value.d));
    lit(e);
    return e->source_x.value.d;
}

// Selected minus current altitude, held within -1000 to 700 feet; the
// element's narrower range then bounds the travel.
static double KCALL altitude_marker_y(MovingElement* e) {
    show_if(e, is_on(altitude_hold.value.d));
    lit(e);
    return clamp(selected_altitude.value.d - altitude.value.d, -1000, 700);
}

// A mode annunciation: the label, shown while its condition holds; the number
// of the format lies far outside the box.
static double annunciate(TextElement* e, bool shown, const char* format) {
    show_if(e, shown);
    lit(e);
    format_text(e, format, e->source[0].value.d);
    return 0;
}

static double KCALL ap1(TextElement* e) { return annunciate(e, is_on(autopilot.value.d), "AP 1%200.0f"); }
static double KCALL nav(TextElement* e) {
    return annunciate(e, is_on(nav_hold.value.d) && heading_hold.value.d == 0, "NAV%200.0f");
}
static double KCALL hdg(TextElement* e) { return annunciate(e, is_on(heading_hold.value.d), "HDG%200.0f"); }
static double KCALL loc(TextElement* e) { return annunciate(e, is_on(approach_hold.value.d), "LOC%200.0f"); }
static double KCALL speed(TextElement* e) { return annunciate(e, is_on(speed_hold.value.d), "SPEED%400.0f"); }
static double KCALL athr(TextElement* e) { return annunciate(e, is_on(autothrottle.value.d), "A/THR%400.0f"); }
static double KCALL mach(TextElement* e) { return annunciate(e, is_on(mach_hold.value.d), "MACH%400.0f"); }
static double KCALL lvl(TextElement* e) { return annunciate(e, is_on(level_mode.value.d), "LVL%400.0f"); }
static double KCALL bc(TextElement* e) { return annunciate(e, is_on(back_course.value.d), "BC%400.0f"); }

// Height above the ground in feet, shown below 2500.
static double KCALL radio_height(TextElement* e) {
    lit(e);
    const float h = to_single(altitude_metres.value.d * 3.28 - ground_elevation.value.d * 0.00390625 * 3.28);
    show_if(e, h < 2500);
    format_text(e, "%2.0f", h);
    return 0;
}

// The flight director bars follow command minus attitude; the ranges bound
// their travel. The axis that does not move returns its own source (0).
static double KCALL director_x(MovingElement* e) {
    show_if(e, is_on(director_on.value.d));
    lit(e);
    return e->source_x.value.d;
}

static double KCALL director_y(MovingElement* e) {
    show_if(e, is_on(director_on.value.d));
    lit(e);
    return e->source_y.value.d;
}

static double KCALL director_pitch_y(MovingElement* e) {
    show_if(e, is_on(director_on.value.d));
    lit(e);
    return director_pitch.value.d - pitch.value.d;
}

static double KCALL director_roll_x(MovingElement* e) {
    show_if(e, is_on(director_on.value.d));
    lit(e);
    return director_bank.value.d - bank.value.d;
}

static double KCALL mach_text(TextElement* e) {
    lit(e);
    format_text(e, "%.2f", to_single(mach_raw.value.d * 1.52587890625e-05 * 3.2));
    return 0;
}

// The last two digits of the altitude, with the altitude's sign.
static double KCALL drum_y(MovingElement* e) {
    lit(e);
    return fmod(e->source_y.value.d, 100);
}

// Whole hundreds of feet per minute, truncated toward zero.
static double KCALL vs_digits(TextElement* e) {
    lit(e);
    format_text(e, "%02.0f", hundreds(vertical_speed.value.d * 60));
    return 0;
}

static double KCALL cover(IconElement* e) { return display_cover(e, battery_master, display); }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {{&display, "display"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
};
