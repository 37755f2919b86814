// ATC transponder: the four-digit code window under ATC, the IDENT legend,
// an up and a down area for each digit and the on/off switch. The code lives
// in the simulator as binary-coded decimal; the digit areas step it with key
// events whether the transponder is on or not, and the window shows it while
// the switch is on.
#include <stdlib.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // 1: on

// Key events: each digit up and down, leftmost digit first.
constexpr uint32_t EVENT_DIGIT_1_DOWN = 0x10397;
constexpr uint32_t EVENT_DIGIT_2_DOWN = 0x10398;
constexpr uint32_t EVENT_DIGIT_3_DOWN = 0x10399;
constexpr uint32_t EVENT_DIGIT_4_DOWN = 0x1039A;
constexpr uint32_t EVENT_DIGIT_1_UP = 0x10073;
constexpr uint32_t EVENT_DIGIT_2_UP = 0x10074;
constexpr uint32_t EVENT_DIGIT_3_UP = 0x10075;
constexpr uint32_t EVENT_DIGIT_4_UP = 0x10076;

// Own state
static int32_t xpdr_on;  // 1: switched on

static double KCALL code_window(TextElement* e);
static double KCALL on_off_switch(IconElement* e);
static double KCALL atc_label(TextElement* e);
static double KCALL ident_label(TextElement* e);
template <uint32_t Event>
static int32_t KCALL digit_pressed(MouseArgs*, uint32_t);
static int32_t KCALL switch_pressed(MouseArgs*, uint32_t);

constexpr TextStyle DIGITS = {"Arial", 500, 0x0080FF, 0x00FFFF};
constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                 // 0 panel, 159x58
    text({104, 11}, {57, 14}, DIGITS, code_window, TRANSPONDER_CODE),  // 1 the code
    icon(0x1100, {2, 16}, 2, on_off_switch),              // 2 switch, 17x16: off, on
    text({106, 2}, {55, 10}, LABEL, atc_label),           // 3 "ATC"
    text({105, 25}, {56, 10}, LABEL, ident_label),        // 4 "IDENT"
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({67, 41, 18, 14}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_1_DOWN>),
    mouse_area({91, 40, 17, 16}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_2_DOWN>),
    mouse_area({122, 38, 15, 17}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_3_DOWN>),
    mouse_area({142, 40, 16, 17}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_4_DOWN>),
    mouse_area({73, 25, 15, 15}, CURSOR_UP, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_1_UP>),
    mouse_area({91, 27, 13, 15}, CURSOR_UP, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_2_UP>),
    mouse_area({120, 26, 17, 16}, CURSOR_UP, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_3_UP>),
    mouse_area({141, 26, 15, 17}, CURSOR_UP, MOUSE_LEFT_REPEAT, digit_pressed<EVENT_DIGIT_4_UP>),
    mouse_area({0, 14, 21, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, switch_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks

// The four groups printed as decimal numbers side by side and read back as
// one number, so leading zeros drop out: 0x0400 shows 400, 0 shows 0. Each
// group is masked to 0..15 and prints at most two digits, so the text takes
// at most 8 characters whatever the word holds.
static double KCALL code_window(TextElement* e) {
    const uint32_t u = e->source[0].value.u;
    char digits[16];
    wsprintfA(digits, "%d%d%d%d", static_cast<int>((u >> 12) & 15), static_cast<int>((u >> 8) & 15),
              static_cast<int>((u >> 4) & 15), static_cast<int>(u & 15));
    format_text(e, "%.0f", strtod(digits, nullptr));
    apply_power(e, power);
    show_if(e, xpdr_on == 1);
    return 0;
}

// The switch is never lit.
static double KCALL on_off_switch(IconElement*) { return xpdr_on; }

static double KCALL atc_label(TextElement* e) { return caption(e, power, "ATC%800.0f"); }
static double KCALL ident_label(TextElement* e) { return caption(e, power, "IDENT%600.0f"); }

// ---------------------------------------------------------------------------
// Mouse callbacks: the action, then the click.

template <uint32_t Event>
static int32_t KCALL digit_pressed(MouseArgs*, uint32_t) {
    key_event(Event);
    play_system_sound(SOUND_CLICK);
    return 0;
}

// On turns off; off turns on only while the battery master is on.
static int32_t KCALL switch_pressed(MouseArgs*, uint32_t) {
    xpdr_on = (xpdr_on == 0 && is_on(battery_master.value.d)) ? 1 : 0;
    play_system_sound(SOUND_CLICK);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

static void reset_own_state() { xpdr_on = 0; }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&battery_master};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .first_draw = reset_own_state,
};
