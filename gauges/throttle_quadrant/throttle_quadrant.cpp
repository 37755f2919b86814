// Throttle quadrant of a twin's pedestal: the two thrust levers, each drawn as
// one of eight pictures chosen from its thrust lever and reverse lever, the
// pitch-trim wheels at both edges, the engine switches with their lights, and
// the start selector. Dragging on the lever area or on a trim wheel sends that
// area's own thrust or trim event on every call; the start selector starts the
// engines only with the APU available and the battery master on.
#include "frame/gauge.h"

// Shared variables
static ModuleVar apu;    // 3: the APU is available
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update, in this order
static ModuleVar thrust_left = sim_var(THRUST_1);      // 0 to 16383
static ModuleVar reverse_left = sim_var(REVERSE_1);    // reverse lever
static ModuleVar thrust_right = sim_var(THRUST_2);     // 0 to 16383
static ModuleVar reverse_right = sim_var(REVERSE_2);   // reverse lever
static ModuleVar light_left = sim_var(STARTER_1);      // the left light shows at exactly 1
static ModuleVar light_right = sim_var(STARTER_2);     // the right light shows at exactly 1
static ModuleVar engine_a = sim_var(N2_2);        // the start ends when both
static ModuleVar engine_b = sim_var(N2_1);        //   are above 23
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // the start selector acts only at exactly 1

// Variables of the elements themselves

// Key events
constexpr uint32_t EVENT_THRUST_UP = 0x1003E;
constexpr uint32_t EVENT_THRUST_DOWN = 0x10042;
constexpr uint32_t EVENT_ENGINE_SWITCH_LEFT = 0x103BE;
constexpr uint32_t EVENT_ENGINE_SWITCH_RIGHT = 0x103BF;
constexpr uint32_t EVENT_ENGINE_START = 0x102B0;
constexpr uint32_t EVENT_TRIM_NOSE_UP = 0x1004F;
constexpr uint32_t EVENT_TRIM_NOSE_DOWN = 0x10047;

constexpr int32_t APU_AVAILABLE = 3;
constexpr double ENGINE_STARTED = 23;

// Own state
static int32_t start_light;  // 1 while the start selector is engaged

// The eight pictures of a lever, from full forward to reverse.
enum Picture { FULL, BAND_6, BAND_5, BAND_4, BAND_3, BAND_2, IDLE, REVERSE };

template <Picture P>
static double KCALL left_lever(IconElement* e);
template <Picture P>
static double KCALL right_lever(IconElement* e);
static double KCALL trim_horizontal(MovingElement* e);
static double KCALL trim_vertical(MovingElement* e);
static double KCALL engine_switch(IconElement* e);
static double KCALL left_light(IconElement* e);
static double KCALL right_light(IconElement* e);
static double KCALL start_selector(IconElement* e);
template <const char* Caption>
static double KCALL label(TextElement* e);

template <uint32_t Event>
static int32_t KCALL send(MouseArgs*, uint32_t);
template <uint32_t Event>
static int32_t KCALL engine_switch_pressed(MouseArgs*, uint32_t);
static int32_t KCALL start_selector_pressed(MouseArgs*, uint32_t);

static constexpr char ENG[] = "ENG%400.0f";
static constexpr char OFF[] = "OFF%400.0f";
static constexpr char START[] = "START%400.0f";
static constexpr char ON_LEFT[] = "ON %400.0f";
static constexpr char ON[] = "ON%400.0f";
static constexpr char ONE[] = "1%400.0f";
static constexpr char TWO[] = "2%400.0f";

// White text; the background colour is not drawn.
constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle ARIAL_YELLOW = {"Arial", 500, 0xFFFFFF, 0xFFFF};
constexpr TextStyle NARROW_YELLOW = {"Arial Narrow", 500, 0xFFFFFF, 0xFFFF};

// The trim strips scroll vertically with the trim; they have no horizontal motion.
constexpr MovingAxis NO_AXIS = {0, 0, trim_horizontal, 0};
constexpr MovingAxis TRIM_AXIS = {0.42, -0.42, trim_vertical, PITCH_TRIM};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                            //  0 quadrant, trim scales, switch panel, 267x386
    icon(0x1300, {80, 15}, 2, left_lever<FULL>),     //  1 left lever full forward, 52x150
    icon(0x1200, {80, 34}, 2, left_lever<BAND_6>),   //  2 52x142
    icon(0x1500, {80, 59}, 2, left_lever<BAND_5>),   //  3 52x130
    icon(0x1600, {80, 89}, 2, left_lever<BAND_4>),   //  4 52x113
    icon(0x1700, {80, 114}, 2, left_lever<BAND_3>),  //  5 52x94
    icon(0x1800, {80, 140}, 2, left_lever<BAND_2>),  //  6 52x83
    icon(0x1900, {80, 164}, 2, left_lever<IDLE>),    //  7 52x68
    icon(0x2000, {80, 184}, 2, left_lever<REVERSE>), //  8 52x84
    icon(0x2100, {139, 15}, 2, right_lever<FULL>),   //  9 the same eight for the right lever
    icon(0x2200, {139, 34}, 2, right_lever<BAND_6>),   // 10
    icon(0x2300, {139, 59}, 2, right_lever<BAND_5>),   // 11
    icon(0x2400, {139, 89}, 2, right_lever<BAND_4>),   // 12
    icon(0x2500, {139, 114}, 2, right_lever<BAND_3>),  // 13
    icon(0x2600, {139, 140}, 2, right_lever<BAND_2>),  // 14
    icon(0x2700, {139, 164}, 2, right_lever<IDLE>),    // 15
    icon(0x2800, {139, 184}, 2, right_lever<REVERSE>), // 16
    moving(0x3000, {5, 85}, NO_AXIS, TRIM_AXIS),     // 17 left trim wheel, 18x1600 behind 18x216
    moving(0x3500, {246, 85}, NO_AXIS, TRIM_AXIS),   // 18 right trim wheel
    icon(0x3200, {75, 296}, 2, engine_switch, ENGINE_MASTER_1),   // 19 41x50, frames off and on
    icon(0x3400, {148, 296}, 2, engine_switch, ENGINE_MASTER_2), // 20
    icon(0x3700, {77, 364}, 2, left_light),          // 21 green "ON", 18x9
    icon(0x3800, {175, 363}, 2, right_light),        // 22
    icon(0x3900, {113, 342}, 2, start_selector),     // 23 rotary start selector, 42x42
    text({128, 316}, {141, 12}, ARIAL, label<ENG>),              // 24
    text({129, 330}, {140, 11}, ARIAL_YELLOW, label<OFF>),       // 25
    text({155, 349}, {114, 11}, NARROW_YELLOW, label<START>),    // 26
    text({71, 327}, {198, 11}, ARIAL, label<ON_LEFT>),           // 27
    text({186, 327}, {83, 11}, ARIAL, label<ON>),                // 28
    text({69, 344}, {200, 11}, ARIAL, label<OFF>),               // 29
    text({186, 344}, {83, 11}, ARIAL_YELLOW, label<OFF>),        // 30
    text({84, 375}, {185, 12}, ARIAL, label<ONE>),               // 31
    text({181, 375}, {88, 12}, ARIAL_YELLOW, label<TWO>),        // 32
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({74, 14, 132, 93}, CURSOR_UP, MOUSE_LEFT_DRAG, send<EVENT_THRUST_UP>),
    mouse_area({73, 111, 127, 91}, CURSOR_DOWN, MOUSE_LEFT_DRAG, send<EVENT_THRUST_DOWN>),
    mouse_area({79, 295, 33, 50}, CURSOR_HAND, MOUSE_LEFT_SINGLE, engine_switch_pressed<EVENT_ENGINE_SWITCH_LEFT>),
    mouse_area({151, 297, 33, 47}, CURSOR_HAND, MOUSE_LEFT_SINGLE, engine_switch_pressed<EVENT_ENGINE_SWITCH_RIGHT>),
    mouse_area({115, 347, 36, 31}, CURSOR_HAND, MOUSE_LEFT_SINGLE, start_selector_pressed),
    mouse_area({3, 195, 24, 117}, CURSOR_UP, MOUSE_LEFT_DRAG, send<EVENT_TRIM_NOSE_UP>),
    mouse_area({240, 198, 24, 116}, CURSOR_UP, MOUSE_LEFT_DRAG, send<EVENT_TRIM_NOSE_UP>),
    mouse_area({3, 83, 24, 130}, CURSOR_DOWN, MOUSE_LEFT_DRAG, send<EVENT_TRIM_NOSE_DOWN>),
    mouse_area({243, 88, 22, 126}, CURSOR_DOWN, MOUSE_LEFT_DRAG, send<EVENT_TRIM_NOSE_DOWN>),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks

// Whether picture P shows for thrust t and reverse r. For whole-number
// positions the thrust bands do not overlap; the idle picture gives way to
// the reverse picture once the reverse lever is pulled (both show for r
// between 0.26 and 0.27).
template <Picture P>
static bool lever_shown(double t, double r) {
    switch (P) {
    case FULL: return t > 14096;
    case BAND_6: return t > 11904 && t < 14097;
    case BAND_5: return t > 9712 && t < 11905;
    case BAND_4: return t > 7520 && t < 9713;
    case BAND_3: return t > 5328 && t < 7521;
    case BAND_2: return t > 3136 && t < 5329;
    case IDLE: return t < 3137 && r < 0.27;
    case REVERSE: return r > 0.26;
    }
    return false;
}

// The lever pictures touch only their hidden bit: they are never lit.
template <Picture P>
static double KCALL left_lever(IconElement* e) {
    show_if(e, lever_shown<P>(thrust_left.value.d, reverse_left.value.d));
    return e->source.value.d;
}

template <Picture P>
static double KCALL right_lever(IconElement* e) {
    show_if(e, lever_shown<P>(thrust_right.value.d, reverse_right.value.d));
    return e->source.value.d;
}

static double KCALL trim_horizontal(MovingElement* e) { return e->source_x.value.d; }
static double KCALL trim_vertical(MovingElement* e) { return e->source_y.value.d; }

static double KCALL engine_switch(IconElement* e) { return e->source.value.d; }

// The lights follow the simulator's own variables, not the switches, and are
// always drawn bright.
static double KCALL left_light(IconElement* e) { return bright_while(e, is_on(light_left.value.d)); }
static double KCALL right_light(IconElement* e) { return bright_while(e, is_on(light_right.value.d)); }

static double KCALL start_selector(IconElement*) { return start_light; }

template <const char* Caption>
static double KCALL label(TextElement* e) {
    return caption(e, power, Caption);
}

// ---------------------------------------------------------------------------
// Mouse callbacks

// A drag area sends its own event on every call while the mouse is dragged,
// whichever way the mouse moves.
template <uint32_t Event>
static int32_t KCALL send(MouseArgs*, uint32_t) {
    key_event(Event);
    return 0;
}

template <uint32_t Event>
static int32_t KCALL engine_switch_pressed(MouseArgs*, uint32_t) {
    key_event(Event);
    play_gauge_sound(SOUND_SWITCH);
    return 0;
}

// Engages the start with the APU available and the battery master on; any
// other click (a second one included) disengages it without an event. Silent.
static int32_t KCALL start_selector_pressed(MouseArgs*, uint32_t) {
    if (start_light == 0 && shared_get(apu) == APU_AVAILABLE && is_on(battery_master.value.d)) {
        start_light = 1;
        key_event(EVENT_ENGINE_START);
    } else {
        start_light = 0;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// The start ends by itself once both engine values have passed 23.
static void end_start_when_running() {
    if (engine_a.value.d > ENGINE_STARTED && engine_b.value.d > ENGINE_STARTED) start_light = 0;
}

static void reset_start_light() { start_light = 0; }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&apu, "apu"}, {&power, "power"}};
static ModuleVar* const sim_vars[] = {
    &thrust_left, &reverse_left, &thrust_right, &reverse_right, &light_left,
    &light_right, &engine_a,     &engine_b,     &battery_master,
};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .update = end_start_when_running,
    .first_draw = reset_start_light,
};
