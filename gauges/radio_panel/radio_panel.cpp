// Radio management panel: an ACTIVE and a STBY/CRS frequency window with the
// transfer button between them, five radio selector buttons with their
// lamps (NAV1, NAV2, ADF, COM1, COM2), four columns of up/down tuning areas
// and the ON switch.
//
// One radio or none is selected. While the panel is on, the windows show the
// selected radio's frequencies; the tuning areas and the transfer button send
// the selected radio's key events whether the panel is on or not. The
// simulator hands the frequencies over as binary-coded decimal, which the
// windows rebuild into text digit by digit.
#include <stdlib.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update
static ModuleVar adf_extension = sim_var(ADF_EXTENSION);    // ADF thousands digit in bits 8-11, tenths in 0-3
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // 1: on

// Key events
constexpr uint32_t EVENT_SELECT_NAV1_COM1 = 0x100AB;  // sent by the NAV1 and COM1 buttons
constexpr uint32_t EVENT_ADF_HUNDREDS_UP = 0x10070;
constexpr uint32_t EVENT_ADF_HUNDREDS_DOWN = 0x10082;
constexpr uint32_t EVENT_ADF_TENTHS_UP = 0x1039E;
constexpr uint32_t EVENT_ADF_TENTHS_DOWN = 0x1039D;
constexpr uint32_t EVENT_NAV1_TRANSFER = 0x10390;
constexpr uint32_t EVENT_NAV2_TRANSFER = 0x10394;
constexpr uint32_t EVENT_COM1_TRANSFER = 0x10344;
constexpr uint32_t EVENT_COM2_TRANSFER = 0x1038C;

// The event each radio gets from one tuning area of columns 2 and 3.
struct TuningStep {
    uint32_t adf, com1, nav1, nav2, com2;
};
static constexpr TuningStep COLUMN_2_UP = {0x10071, 0x10065, 0x10069, 0x1006D, 0x10385};
static constexpr TuningStep COLUMN_2_DOWN = {0x10083, 0x10064, 0x10068, 0x1006C, 0x10384};
static constexpr TuningStep COLUMN_3_UP = {0x10072, 0x10067, 0x1006B, 0x1006F, 0x10388};
static constexpr TuningStep COLUMN_3_DOWN = {0x10084, 0x10066, 0x1006A, 0x1006E, 0x10386};

// Own state: the radio selection (at most one is 1) and the ON switch.
static int32_t nav1_selected;
static int32_t nav2_selected;
static int32_t adf_selected;
static int32_t com1_selected;
static int32_t com2_selected;
static int32_t radio_on;  // 1: the panel is on

template <int32_t& Selected>
static double KCALL lamp(IconElement* e);
template <int32_t& Selected>
static double KCALL com_nav_window(TextElement* e);
static double KCALL adf_window(TextElement* e);
static double KCALL on_switch(IconElement* e);
template <const char* Caption>
static double KCALL label(TextElement* e);

template <int32_t& Selected, bool SendsSelectEvent>
static int32_t KCALL select_pressed(MouseArgs*, uint32_t);
static int32_t KCALL transfer_pressed(MouseArgs*, uint32_t);
template <uint32_t Event>
static int32_t KCALL adf_tuning(MouseArgs*, uint32_t);
template <const TuningStep& Step>
static int32_t KCALL tuning(MouseArgs*, uint32_t);
static int32_t KCALL on_switch_pressed(MouseArgs*, uint32_t);

static constexpr char ACTIVE[] = "ACTIVE%600.0f";
static constexpr char STBY_CRS[] = "STBY/CRS%700.0f";
static constexpr char ADF[] = "ADF%600.0f";
static constexpr char NAV2[] = "NAV2%600.0f";
static constexpr char ON[] = "ON%500.0f";
static constexpr char NAV1[] = "NAV1%600.0f";
static constexpr char COM2[] = "COM2%500.0f";
static constexpr char COM1[] = "COM1%600.0f";

// Orange digits; the background colour is not drawn.
constexpr TextStyle DIGITS = {"Arial", 500, 0x0080FF, 0x80FFFF};
constexpr TextStyle DIGITS_ON_BLACK = {"Arial", 500, 0x0080FF, 0};
constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle NARROW = {"Arial Narrow", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle NARROW_LIGHT = {"Arial Narrow", 100, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                         //  0 panel, 161x95
    icon(0x1101, {4, 35}, 2, lamp<nav1_selected>),  //  1 NAV1 lamp, 4x5
    icon(0x1101, {27, 35}, 2, lamp<nav2_selected>), //  2 NAV2 lamp
    icon(0x1101, {50, 35}, 2, lamp<adf_selected>),  //  3 ADF lamp
    icon(0x1101, {4, 52}, 2, lamp<com1_selected>),  //  4 COM1 lamp
    icon(0x1101, {47, 52}, 2, lamp<com2_selected>), //  5 COM2 lamp
    text({96, 13}, {67, 16}, DIGITS, com_nav_window<nav1_selected>, NAV1_STANDBY),           //  6
    text({22, 13}, {141, 16}, DIGITS, com_nav_window<nav1_selected>, NAV1_ACTIVE),           //  7
    text({96, 13}, {67, 16}, DIGITS, com_nav_window<nav2_selected>, NAV2_STANDBY),           //  8
    text({22, 13}, {141, 16}, DIGITS, com_nav_window<nav2_selected>, NAV2_ACTIVE),           //  9
    text({96, 13}, {67, 16}, DIGITS_ON_BLACK, com_nav_window<com1_selected>, COM1_STANDBY),  // 10
    text({22, 13}, {141, 16}, DIGITS_ON_BLACK, com_nav_window<com1_selected>, COM1_ACTIVE),  // 11
    text({22, 13}, {141, 16}, DIGITS_ON_BLACK, adf_window, ADF_FREQUENCY),                   // 12
    text({96, 13}, {67, 16}, DIGITS_ON_BLACK, adf_window, ADF_FREQUENCY),                    // 13
    icon(0x1300, {139, 68}, 2, on_switch),        // 14 ON switch, 11x27: off, on
    text({96, 13}, {67, 16}, DIGITS, com_nav_window<com2_selected>, COM2_STANDBY),           // 15
    text({22, 13}, {141, 16}, DIGITS, com_nav_window<com2_selected>, COM2_ACTIVE),           // 16
    text({27, 2}, {136, 10}, LABEL, label<ACTIVE>),          // 17
    text({94, 2}, {69, 10}, LABEL, label<STBY_CRS>),         // 18
    text({56, 34}, {107, 10}, LABEL, label<ADF>),            // 19
    text({32, 34}, {131, 10}, NARROW, label<NAV2>),          // 20
    text({141, 67}, {22, 10}, NARROW, label<ON>),            // 21
    text({8, 34}, {155, 10}, NARROW_LIGHT, label<NAV1>),     // 22
    text({52, 51}, {111, 10}, NARROW, label<COM2>),          // 23
    text({9, 51}, {154, 10}, NARROW, label<COM1>),           // 24
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({9, 34, 14, 7}, CURSOR_HAND, MOUSE_LEFT_SINGLE, select_pressed<nav1_selected, true>),
    mouse_area({31, 32, 17, 10}, CURSOR_HAND, MOUSE_LEFT_SINGLE, select_pressed<nav2_selected, false>),
    mouse_area({55, 32, 15, 10}, CURSOR_HAND, MOUSE_LEFT_SINGLE, select_pressed<adf_selected, false>),
    mouse_area({8, 50, 16, 9}, CURSOR_HAND, MOUSE_LEFT_SINGLE, select_pressed<com1_selected, true>),
    mouse_area({71, 14, 16, 12}, CURSOR_HAND, MOUSE_LEFT_SINGLE, transfer_pressed),
    mouse_area({82, 31, 15, 17}, CURSOR_UP, MOUSE_LEFT_REPEAT, adf_tuning<EVENT_ADF_HUNDREDS_UP>),
    mouse_area({82, 48, 14, 17}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, adf_tuning<EVENT_ADF_HUNDREDS_DOWN>),
    mouse_area({98, 30, 14, 18}, CURSOR_UP, MOUSE_LEFT_REPEAT, tuning<COLUMN_2_UP>),
    mouse_area({96, 46, 16, 20}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, tuning<COLUMN_2_DOWN>),
    mouse_area({112, 31, 15, 17}, CURSOR_UP, MOUSE_LEFT_REPEAT, tuning<COLUMN_3_UP>),
    mouse_area({113, 48, 14, 18}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, tuning<COLUMN_3_DOWN>),
    mouse_area({128, 32, 13, 15}, CURSOR_UP, MOUSE_LEFT_REPEAT, adf_tuning<EVENT_ADF_TENTHS_UP>),
    mouse_area({127, 47, 15, 19}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, adf_tuning<EVENT_ADF_TENTHS_DOWN>),
    mouse_area({52, 49, 16, 10}, CURSOR_HAND, MOUSE_LEFT_SINGLE, select_pressed<com2_selected, false>),
    mouse_area({138, 67, 13, 27}, CURSOR_HAND, MOUSE_LEFT_SINGLE, on_switch_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks. Lamps and windows are self-lit: always bright. They show
// only for the selected radio while the panel is on.

static bool shows(int32_t selected) { return selected == 1 && radio_on == 1; }

template <int32_t& Selected>
static double KCALL lamp(IconElement* e) {
    set_bright(e, true);
    show_if(e, shows(Selected));
    return e->source.value.d;
}

// The first four bytes of a record's value: the simulator's BCD word.
static uint32_t bcd_word(const ModuleVar& v) { return v.value.u; }

// Each group is masked to 0..15, so every group prints at most two digits:
// the texts below take at most 11 characters, whatever the word holds.
constexpr size_t DIGITS_BUFFER = 16;

// COM and NAV: the four groups after a fixed leading 1, each printed as a
// decimal number ("1%d%d.%d%d": 0x1830 reads 118.30), then read back as a
// number. A group above 9 prints two digits, and the number is whatever the
// text then spells.
static double com_nav_frequency(uint32_t u) {
    char digits[DIGITS_BUFFER];
    wsprintfA(digits, "1%d%d.%d%d", static_cast<int>((u >> 12) & 15), static_cast<int>((u >> 8) & 15),
              static_cast<int>((u >> 4) & 15), static_cast<int>(u & 15));
    return strtod(digits, nullptr);
}

// ADF: the thousands digit from the extension word, hundreds, tens and units
// from the frequency word, then the tenths digit from the extension.
static double adf_frequency(uint32_t extension, uint32_t f) {
    char digits[DIGITS_BUFFER];
    wsprintfA(digits, "%d%d%d%d.%d", static_cast<int>((extension >> 8) & 15), static_cast<int>((f >> 8) & 15),
              static_cast<int>((f >> 4) & 15), static_cast<int>(f & 15), static_cast<int>(extension & 15));
    return strtod(digits, nullptr);
}

template <int32_t& Selected>
static double KCALL com_nav_window(TextElement* e) {
    format_text(e, "%.2f", com_nav_frequency(bcd_word(e->source[0])));
    show_if(e, shows(Selected));
    set_bright(e, true);
    return 0;
}

// Both windows show the same ADF frequency.
static double KCALL adf_window(TextElement* e) {
    format_text(e, "%05.1f", adf_frequency(bcd_word(adf_extension), bcd_word(e->source[0])));
    show_if(e, shows(adf_selected));
    set_bright(e, true);
    return 0;
}

// The ON switch is never lit.
static double KCALL on_switch(IconElement*) { return radio_on; }

template <const char* Caption>
static double KCALL label(TextElement* e) {
    return caption(e, power, Caption);
}

// ---------------------------------------------------------------------------
// Mouse callbacks

// A button selects its radio and deselects the others; pressed again it
// deselects its radio, leaving none selected. NAV1 and COM1 send their event
// first. The click follows the change.
template <int32_t& Selected, bool SendsSelectEvent>
static int32_t KCALL select_pressed(MouseArgs*, uint32_t) {
    if constexpr (SendsSelectEvent) key_event(EVENT_SELECT_NAV1_COM1);
    if (Selected != 0) {
        Selected = 0;
    } else {
        nav1_selected = nav2_selected = adf_selected = com1_selected = com2_selected = 0;
        Selected = 1;
    }
    play_system_sound(SOUND_CLICK);
    return 0;
}

// Swaps the selected radio's active and standby frequencies; the ADF has no
// standby.
static int32_t KCALL transfer_pressed(MouseArgs*, uint32_t) {
    if (nav1_selected == 1) key_event(EVENT_NAV1_TRANSFER);
    if (nav2_selected == 1) key_event(EVENT_NAV2_TRANSFER);
    if (com1_selected == 1) key_event(EVENT_COM1_TRANSFER);
    if (com2_selected == 1) key_event(EVENT_COM2_TRANSFER);
    play_system_sound(SOUND_CLICK);
    return 0;
}

// The outer columns tune only the ADF (hundreds, tenths); they click whatever
// is selected.
template <uint32_t Event>
static int32_t KCALL adf_tuning(MouseArgs*, uint32_t) {
    if (adf_selected == 1) key_event(Event);
    play_system_sound(SOUND_CLICK);
    return 0;
}

// The middle columns tune the selected radio. COM2's event comes after the
// click.
template <const TuningStep& Step>
static int32_t KCALL tuning(MouseArgs*, uint32_t) {
    if (adf_selected == 1) key_event(Step.adf);
    if (com1_selected == 1) key_event(Step.com1);
    if (nav1_selected == 1) key_event(Step.nav1);
    if (nav2_selected == 1) key_event(Step.nav2);
    play_system_sound(SOUND_CLICK);
    if (com2_selected == 1) key_event(Step.com2);
    return 0;
}

// A panel that is on always turns off; one that is off turns on only while
// the battery master is on. The switch sounds either way.
static int32_t KCALL on_switch_pressed(MouseArgs*, uint32_t) {
    radio_on = (radio_on == 0 && is_on(battery_master.value.d)) ? 1 : 0;
    play_system_sound(SOUND_SWITCH);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// First draw: COM1 selected, the panel off.
static void reset_own_state() {
    nav1_selected = nav2_selected = adf_selected = 0;
    com1_selected = 1;
    com2_selected = 0;
    radio_on = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&adf_extension, &battery_master};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .first_draw = reset_own_state,
};
