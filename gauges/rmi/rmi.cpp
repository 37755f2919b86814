// Radio magnetic indicator, 242x277: a compass card turning with the heading,
// two bearing pointers (1 a hollow arrow, 2 a dashed arrow), the distances
// captioned DME 1 and DME 2 at the top, and a source selector knob in each
// bottom corner. A click on a knob switches its pointer's source, with the
// switch sound. Everything is lit while "power" is 1.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables watched by the gauge, refreshed on every pre-update in
// this order. Bearings are in degrees relative to the aircraft, distances in
// nautical miles.
static ModuleVar nav2_bearing = sim_var(NAV2_BEARING);
static ModuleVar adf_bearing = sim_var(ADF_BEARING);
static ModuleVar nav1_bearing = sim_var(NAV1_BEARING);
static ModuleVar nav1_distance = sim_var(NAV1_DISTANCE);
static ModuleVar nav2_distance = sim_var(NAV2_DISTANCE);

static ModuleVar* const watched[] = {
    &nav2_bearing, &adf_bearing, &nav1_bearing, &nav1_distance, &nav2_distance,
};

// Gauge state, 0 at the first draw.
static int32_t selector_1;  // pointer 1 and the distances: 1 first navigation radio, 0 second
static int32_t selector_2;  // pointer 2: 1 direction finder, 0 none (parked)

static double KCALL still(SpriteElement* e);
static double KCALL first_distance(TextElement* e);
static double KCALL second_distance(TextElement* e);
static double KCALL dme_1(TextElement* e);
static double KCALL dme_2(TextElement* e);
static double KCALL knob_1(IconElement* e);
static double KCALL knob_2(IconElement* e);
static double KCALL pointer_1(SpriteElement* e);
static double KCALL pointer_2(SpriteElement* e);
static int32_t KCALL knob_1_pressed(MouseArgs*, uint32_t);
static int32_t KCALL knob_2_pressed(MouseArgs*, uint32_t);

constexpr TextStyle WHITE = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

// Card and pointers turn about the same point; the card with the heading,
// the pointers the other way by their bearing.
constexpr PixPoint CENTRE = {120, 153};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                                    // 0 face with the dark disc
    sprite(0x1500, {0, 0}, CENTRE, {0, still, 0}, {0, still, 0}, {1.0, lit_rotation<power>, HEADING}),  // 1 compass card
    text({55, 24}, {189, 26}, WHITE, first_distance),                        // 2 first distance
    text({150, 24}, {94, 26}, WHITE, second_distance),                       // 3 second distance
    text({50, 47}, {194, 24}, WHITE, dme_1),                                 // 4 "DME 1"
    text({145, 47}, {99, 24}, WHITE, dme_2),                                 // 5 "DME 2"
    icon(0x1900, {11, 227}, 2, knob_1),                                      // 6 knob 1: left, up
    icon(0x2000, {184, 227}, 2, knob_2),                                     // 7 knob 2: right, up
    sprite(0x1200, {0, 0}, CENTRE, {0, still, 0}, {0, still, 0}, {-1.0, pointer_1, 0}),  // 8 pointer 1
    sprite(0x1400, {0, 0}, CENTRE, {0, still, 0}, {0, still, 0}, {-1.0, pointer_2, 0}),  // 9 pointer 2
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({0, 236, 43, 41}, CURSOR_HAND, MOUSE_LEFT_SINGLE, knob_1_pressed),
    mouse_area({197, 240, 43, 35}, CURSOR_HAND, MOUSE_LEFT_SINGLE, knob_2_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Callbacks

// The axes along which nothing slides.
static double KCALL still(SpriteElement* e) {
    apply_power(e, power);
    return 0;
}

// Selector 1 puts exactly one of the two distances on show; the other reads 0.
static double KCALL first_distance(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%.1f", selector_1 == 1 ? to_single(nav1_distance.value.d) : 0);
    return 0;
}
static double KCALL second_distance(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%.1f", selector_1 == 0 ? to_single(nav2_distance.value.d) : 0);
    return 0;
}

static double KCALL dme_1(TextElement* e) { return caption(e, power, "DME 1%800.0f"); }
static double KCALL dme_2(TextElement* e) { return caption(e, power, "DME 2%800.0f"); }

static double KCALL knob_1(IconElement* e) {
    apply_power(e, power);
    return selector_1;
}
static double KCALL knob_2(IconElement* e) {
    apply_power(e, power);
    return selector_2;
}

static double KCALL pointer_1(SpriteElement* e) {
    apply_power(e, power);
    return selector_1 == 1 ? nav1_bearing.value.d : nav2_bearing.value.d;
}

// Without a source, pointer 2 parks at 90 degrees.
static double KCALL pointer_2(SpriteElement* e) {
    apply_power(e, power);
    return selector_2 == 1 ? adf_bearing.value.d : 90;
}

// The toggle first, then the switch sound.
static int32_t KCALL knob_1_pressed(MouseArgs*, uint32_t) {
    toggle(selector_1);
    play_system_sound(SOUND_SWITCH);
    return 0;
}
static int32_t KCALL knob_2_pressed(MouseArgs*, uint32_t) {
    toggle(selector_2);
    play_system_sound(SOUND_SWITCH);
    return 0;
}

static void first_draw() {
    selector_1 = 0;
    selector_2 = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
    .first_draw = first_draw,
};
