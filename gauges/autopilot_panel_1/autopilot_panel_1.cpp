// Autopilot panel 1, beside the flight control unit: the barometric setting
// window and knob (millibars, or inches of mercury after a push on the
// knob), the flight director button, the NAV/GPS and ADF/VOR selectors, and
// the LVL, TO/GA, BC, IAS and MACH buttons with their lights.
//
// The ADF/VOR selector is panel-wide state: it toggles "adfvor", which the
// navigation display reads. Everything else lives in the simulator and is
// changed by key events. Lights and labels are lit while "power" is 1.
#include "frame/gauge.h"

// Shared variables
static ModuleVar adfvor;  // 1: ADF, 0: VOR; the selector's frame
static ModuleVar power;   // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update, in this order.
static ModuleVar director = sim_var(DIRECTOR);     // 1: flight director on
static ModuleVar level = sim_var(LEVEL_MODE);         // 1: level mode
static ModuleVar back_course = sim_var(BACK_COURSE);   // 1: back-course mode
static ModuleVar speed_hold = sim_var(SPEED_HOLD);    // 1: airspeed hold
static ModuleVar mach_hold = sim_var(MACH_HOLD);     // 1: Mach hold
static ModuleVar go_around = sim_var(GO_AROUND);     // 1: take-off / go-around mode

static ModuleVar* const watched[] = {&director, &level, &back_course, &speed_hold, &mach_hold, &go_around};

// Key events
constexpr uint32_t EVENT_BARO_DOWN = 0x1015C;
constexpr uint32_t EVENT_BARO_UP = 0x1015B;
constexpr uint32_t EVENT_DIRECTOR = 0x102F0;
constexpr uint32_t EVENT_NAV_SOURCE = 0x10347;
constexpr uint32_t EVENT_LEVEL = 0x100BF;
constexpr uint32_t EVENT_GO_AROUND = 0x10145;
constexpr uint32_t EVENT_BACK_COURSE = 0x100C0;
constexpr uint32_t EVENT_SPEED_HOLD = 0x10163;
constexpr uint32_t EVENT_MACH_HOLD = 0x1017B;

// Own state
static int32_t inhg_mode;  // 1: the window shows inches of mercury; 0: millibars

// Captions
static constexpr char IN_HG[] = "in Hg%800.0f";
static constexpr char FD[] = "FD%800.0f";
static constexpr char LVL[] = "LVL%800.0f";
static constexpr char TO_GA[] = "TO/GA%800.0f";
static constexpr char BC[] = "BC%800.0f";
static constexpr char IAS[] = "IAS%800.0f";
static constexpr char MACH[] = "MACH%800.0f";
static constexpr char NAV[] = "NAV%800.0f";
static constexpr char GPS[] = "GPS%800.0f";
static constexpr char VOR[] = "VOR%800.0f";
static constexpr char ADF[] = "ADF%800.0f";
static constexpr char MB[] = "MB%800.0f";

// A lamp never changes frame: it lights by being shown while its mode is on.
static double KCALL director_light(IconElement* e);
static double KCALL level_light(IconElement* e);
static double KCALL go_around_light(IconElement* e);
static double KCALL back_course_light(IconElement* e);
static double KCALL speed_hold_light(IconElement* e);
static double KCALL mach_hold_light(IconElement* e);
static double KCALL nav_source(IconElement* e);
static double KCALL baro_pointer(NeedleElement* e);
static double KCALL adf_vor(IconElement* e);
static double KCALL millibars(TextElement* e);
static double KCALL inches(TextElement* e);
template <const char* Caption>
static double KCALL lit(TextElement* e);

static int32_t KCALL baro_pushed(MouseArgs*, uint32_t);
static int32_t KCALL adf_vor_pressed(MouseArgs*, uint32_t);
static int32_t KCALL nav_source_pressed(MouseArgs*, uint32_t);
template <uint32_t Event>
static int32_t KCALL send(MouseArgs*, uint32_t);

// Text styles (text colour, background colour; the background is not drawn).
constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle LABEL_B = {"Arial", 500, 0xFFFFFF, 0x4080FF};
constexpr TextStyle DIGITS = {"Quartz", 500, 0x4080FF, 0x80FFFF};

// The barometric knob's pointer turns a quarter for 250 millibars.
static NonlinearityEntry baro_table[] = {point(53, 58, 0), point(70, 74, 250)};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                  //  0 panel face, 266x122
    icon(0x1100, {29, 95}, 2, director_light),             //  1 FD light
    icon(0x1100, {108, 19}, 2, level_light),               //  2 LVL light
    icon(0x1100, {139, 19}, 2, go_around_light),           //  3 TO/GA light
    icon(0x1100, {170, 19}, 2, back_course_light),         //  4 BC light
    icon(0x1100, {201, 19}, 2, speed_hold_light),          //  5 IAS light
    icon(0x1100, {231, 19}, 2, mach_hold_light),           //  6 MACH light
    icon(0x1200, {117, 52}, 2, nav_source, NAV_SOURCE),    //  7 NAV/GPS selector
    needle(0x1300, {53, 72}, {14, 14}, baro_table, baro_pointer, BARO_MILLIBARS),  //  8 baro knob
    text({15, 49}, {253, 12}, LABEL, lit<IN_HG>),          //  9
    text({31, 100}, {237, 12}, LABEL, lit<FD>),            // 10
    icon(0x1400, {123, 90}, 2, adf_vor),                   // 11 ADF/VOR selector
    text({107, 25}, {161, 12}, LABEL, lit<LVL>),           // 12
    text({136, 25}, {132, 12}, LABEL_B, lit<TO_GA>),       // 13
    text({172, 26}, {96, 11}, LABEL, lit<BC>),             // 14
    text({203, 26}, {65, 11}, LABEL, lit<IAS>),            // 15
    text({230, 26}, {38, 11}, LABEL, lit<MACH>),           // 16
    text({38, 24}, {230, 22}, DIGITS, millibars, BARO_MILLIBARS),  // 17 millibar window
    text({38, 24}, {230, 22}, DIGITS, inches, BARO_INCHES),        // 18 inches window
    text({126, 42}, {142, 10}, LABEL, lit<NAV>),           // 19
    text({152, 64}, {116, 10}, LABEL, lit<GPS>),           // 20
    text({146, 96}, {122, 12}, LABEL, lit<VOR>),           // 21
    text({108, 96}, {160, 12}, LABEL, lit<ADF>),           // 22
    text({69, 49}, {199, 12}, LABEL, lit<MB>),             // 23
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({44, 63, 19, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, baro_pushed),
    mouse_area({21, 50, 18, 40}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, send<EVENT_BARO_DOWN>),
    mouse_area({63, 55, 17, 36}, CURSOR_UP, MOUSE_LEFT_REPEAT, send<EVENT_BARO_UP>),
    mouse_area({25, 93, 23, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_DIRECTOR>),
    mouse_area({124, 89, 20, 21}, CURSOR_HAND, MOUSE_LEFT_SINGLE, adf_vor_pressed),
    mouse_area({119, 52, 28, 28}, CURSOR_HAND, MOUSE_LEFT_SINGLE, nav_source_pressed),
    mouse_area({102, 16, 25, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_LEVEL>),
    mouse_area({135, 17, 24, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_GO_AROUND>),
    mouse_area({166, 18, 26, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_BACK_COURSE>),
    mouse_area({196, 17, 24, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_SPEED_HOLD>),
    mouse_area({227, 17, 25, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_MACH_HOLD>),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks

static double KCALL director_light(IconElement* e) { return lit_while(e, power, is_on(director.value.d)); }
static double KCALL level_light(IconElement* e) { return lit_while(e, power, is_on(level.value.d)); }
static double KCALL go_around_light(IconElement* e) { return lit_while(e, power, is_on(go_around.value.d)); }
static double KCALL back_course_light(IconElement* e) { return lit_while(e, power, is_on(back_course.value.d)); }
static double KCALL speed_hold_light(IconElement* e) { return lit_while(e, power, is_on(speed_hold.value.d)); }
static double KCALL mach_hold_light(IconElement* e) { return lit_while(e, power, is_on(mach_hold.value.d)); }

// The selectors and the knob are never lit.
static double KCALL nav_source(IconElement* e) { return e->source.value.d; }
static double KCALL baro_pointer(NeedleElement* e) { return e->source.value.d; }
static double KCALL adf_vor(IconElement*) { return static_cast<uint32_t>(shared_get(adfvor)); }

template <const char* Caption>
static double KCALL lit(TextElement* e) {
    return caption(e, power, Caption);
}

// Millibars and inches share the window; exactly one of them shows.
static double KCALL millibars(TextElement* e) {
    apply_power(e, power);
    show_if(e, inhg_mode == 0);
    format_text(e, "%.0f", e->source[0].value.d);
    return 0;
}

static double KCALL inches(TextElement* e) {
    apply_power(e, power);
    show_if(e, inhg_mode == 1);
    format_text(e, "%.2f", e->source[0].value.d);
    return 0;
}

// ---------------------------------------------------------------------------
// Mouse callbacks

template <uint32_t Event>
static int32_t KCALL send(MouseArgs*, uint32_t) {
    key_event(Event);
    play_system_sound(SOUND_CLICK);
    return 0;
}

static int32_t KCALL baro_pushed(MouseArgs*, uint32_t) {
    toggle(inhg_mode);
    play_system_sound(SOUND_CLICK);
    return 0;
}

// The selector clacks before it moves.
static int32_t KCALL adf_vor_pressed(MouseArgs*, uint32_t) {
    play_system_sound(SOUND_SWITCH);
    shared_toggle(adfvor);
    return 0;
}

static int32_t KCALL nav_source_pressed(MouseArgs*, uint32_t) {
    key_event(EVENT_NAV_SOURCE);
    play_system_sound(SOUND_SWITCH);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// First draw: the window starts in millibars ("adfvor" and "power" were
// cleared by the frame).
static void reset_window() { inhg_mode = 0; }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&adfvor, "adfvor"}, {&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
    .first_draw = reset_window,
};
