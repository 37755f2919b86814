// Autobrake and landing-gear indicator panel: three gear indicators (blank
// when up, a red triangle in transit, a green triangle down and locked), and
// the LO, MED and MAX push buttons whose ON lights show the autobrake mode.
//
// The gauge owns the shared variable "ab" (0 off, 1 LO, 2 MED, 3 MAX). It
// never reads the simulator's autobrake setting back: it drives it by steps,
// first five to one end of its range, then back to the wanted position. During
// the landing roll it disarms the autobrake by itself, on every frame for as
// long as the rollout condition holds.
#include "frame/gauge.h"

// Own shared variable, registered under "ab"
static int32_t ab;
enum { AB_OFF = 0, AB_LO = 1, AB_MED = 2, AB_MAX = 3 };

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update, in this order: the
// automatic disarm acts while the flag is exactly 1, the speed lies strictly
// between 50 and 60 and the level is below 0.1.
static ModuleVar disarm_flag = sim_var(ROLLOUT_FLAG);
static ModuleVar disarm_speed = sim_var(AIRSPEED);
static ModuleVar disarm_level = sim_var(ROLLOUT_LEVEL);

// The gear legs, 0 up to 16383 down, are the indicators' sources.
constexpr double GEAR_DOWN = 16383;

// Key events: the simulator's autobrake setting one step down or up.
constexpr uint32_t EVENT_AUTOBRAKE_DOWN = 0x102FB;
constexpr uint32_t EVENT_AUTOBRAKE_UP = 0x102FA;

// Each selection: five steps to one end of the range, then back.
struct Sequence {
    uint32_t to_end;
    uint32_t back;
    int back_steps;
};
constexpr Sequence SEQUENCES[] = {
    {EVENT_AUTOBRAKE_DOWN, EVENT_AUTOBRAKE_UP, 1},  // off
    {EVENT_AUTOBRAKE_DOWN, EVENT_AUTOBRAKE_UP, 2},  // LO
    {EVENT_AUTOBRAKE_UP, EVENT_AUTOBRAKE_DOWN, 1},  // MED
    {EVENT_AUTOBRAKE_UP, EVENT_AUTOBRAKE_DOWN, 0},  // MAX
};
constexpr int STEPS_TO_END = 5;

static double KCALL gear_indicator(IconElement* e);
template <int32_t Mode>
static double KCALL mode_light(IconElement* e);
template <const char* Caption>
static double KCALL label(TextElement* e);
template <int32_t Mode>
static int32_t KCALL button_pressed(MouseArgs*, uint32_t);

static constexpr char LDG_GEAR[] = "LDG GEAR%400.0f";
static constexpr char AUTO_BRK[] = "AUTO BRK%400.0f";
static constexpr char LO[] = "LO%400.0f";
static constexpr char MED[] = "MED%400.0f";
static constexpr char MAX[] = "MAX%400.0f";

// White text; the background colour is not drawn.
constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle ARIAL_ORANGE = {"Arial", 500, 0xFFFFFF, 0x4080FF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                              //  0 the panel, 111x83
    icon(0x1100, {14, 14}, 3, gear_indicator, GEAR_LEFT), //  1 blank, red, green triangle, 23x22
    icon(0x1200, {38, 14}, 3, gear_indicator, GEAR_NOSE), //  2
    icon(0x1300, {61, 14}, 3, gear_indicator, GEAR_RIGHT), //  3
    icon(0x1400, {20, 67}, 2, mode_light<AB_LO>),      //  4 green "ON", 17x10
    icon(0x1500, {41, 67}, 2, mode_light<AB_MED>),     //  5
    icon(0x1600, {66, 67}, 2, mode_light<AB_MAX>),     //  6
    text({33, 2}, {80, 12}, ARIAL, label<LDG_GEAR>),   //  7
    text({30, 41}, {83, 12}, ARIAL, label<AUTO_BRK>),  //  8
    text({24, 49}, {89, 10}, ARIAL, label<LO>),        //  9
    text({42, 49}, {71, 10}, ARIAL_ORANGE, label<MED>),// 10
    text({69, 49}, {44, 10}, ARIAL, label<MAX>),       // 11
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({17, 56, 20, 21}, CURSOR_HAND, MOUSE_LEFT_SINGLE, button_pressed<AB_LO>),
    mouse_area({38, 56, 21, 21}, CURSOR_HAND, MOUSE_LEFT_SINGLE, button_pressed<AB_MED>),
    mouse_area({64, 57, 20, 19}, CURSOR_HAND, MOUSE_LEFT_SINGLE, button_pressed<AB_MAX>),
    mouse_end_area(),
    mouse_end_list(),
};

static void send_sequence(int32_t mode) {
    const Sequence& s = SEQUENCES[mode];
    for (int i = 0; i < STEPS_TO_END; ++i) key_event(s.to_end);
    for (int i = 0; i < s.back_steps; ++i) key_event(s.back);
}

// ---------------------------------------------------------------------------
// Element callbacks

// Frame 1 (red) in transit, 2 (green) down and locked; up (0) and anything
// outside the range are returned as they are.
static double KCALL gear_indicator(IconElement* e) {
    const double v = e->source.value.d;
    double frame = v;
    if (v > 0 && v < GEAR_DOWN)
        frame = 1;
    else if (v == GEAR_DOWN)
        frame = 2;
    apply_power(e, power);
    return frame;
}

template <int32_t Mode>
static double KCALL mode_light(IconElement* e) {
    show_if(e, ab == Mode);
    apply_power(e, power);
    return e->source.value.d;
}

template <const char* Caption>
static double KCALL label(TextElement* e) {
    return caption(e, power, Caption);
}

// ---------------------------------------------------------------------------
// Mouse callbacks

// A button selects its mode from any other mode and turns the autobrake off
// when its own mode is already selected. A value of "ab" outside 0 to 3
// (written by some other module) turns it off too.
template <int32_t Mode>
static int32_t KCALL button_pressed(MouseArgs*, uint32_t) {
    const uint32_t current = static_cast<uint32_t>(ab);
    if (current <= AB_MAX && current != Mode) {
        ab = Mode;
        send_sequence(Mode);
    } else {
        ab = AB_OFF;
        send_sequence(AB_OFF);
    }
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

static void register_ab() { host()->register_var_by_name(&ab, VAR_TYPE_UINT32, "ab"); }

// The landing roll: the autobrake is disarmed on every frame while the
// condition holds.
static void disarm_on_rollout() {
    if (disarm_flag.value.d == 1 && disarm_speed.value.d > 50 && disarm_speed.value.d < 60 &&
        disarm_level.value.d < 0.1) {
        send_sequence(AB_OFF);
        ab = AB_OFF;
    }
}

// Runs before "power" is cleared: "ab" off, and the simulator's setting to off.
static void start_off() {
    ab = AB_OFF;
    send_sequence(AB_OFF);
}

static void withdraw_ab() { host()->unregister_var_by_name("ab"); }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&disarm_flag, &disarm_speed, &disarm_level};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .install = register_ab,
    .update = disarm_on_rollout,
    .first_draw = start_off,
    .kill = withdraw_ab,
    .first_draw_before_clearing = true,
};
