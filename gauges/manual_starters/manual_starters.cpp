// Engine manual start panel of the overhead: two guarded push buttons, ENG 1
// and ENG 2. A click on a cover opens or closes it; with the cover open and
// the battery master on, holding the button runs the engine's starter, and
// its "ON" light shows while the starter runs. The two guarded buttons under
// the N1 MODE marking are pictures only.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update
static ModuleVar starter_1 = sim_var(STARTER_1);       // 1: engine 1 starter running
static ModuleVar starter_2 = sim_var(STARTER_2);       // 1: engine 2 starter running
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // the buttons work only while it is 1

// Key events
constexpr uint32_t EVENT_STARTER_1 = 0x102FC;
constexpr uint32_t EVENT_STARTER_2 = 0x102FD;

// Own state
static int32_t guard_1;  // ENG 1 cover: 0 closed, 1 open
static int32_t guard_2;  // ENG 2 cover: 0 closed, 1 open

static double KCALL cover_1_closed(IconElement* e);
static double KCALL cover_1_open(IconElement* e);
static double KCALL starter_1_light(IconElement* e);
static double KCALL cover_2_closed(IconElement* e);
static double KCALL cover_2_open(IconElement* e);
static double KCALL starter_2_light(IconElement* e);
static double KCALL eng_label(TextElement* e);
static double KCALL man_start_label(TextElement* e);
static double KCALL picture(IconElement* e);
static int32_t KCALL cover_1_pressed(MouseArgs*, uint32_t);
static int32_t KCALL button_1_pressed(MouseArgs*, uint32_t);
static int32_t KCALL cover_2_pressed(MouseArgs*, uint32_t);
static int32_t KCALL button_2_pressed(MouseArgs*, uint32_t);

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                       //  0 panel, 143x41
    icon(0x1100, {4, 9}, 2, cover_1_closed),    //  1 ENG 1 cover closed, 27x30
    icon(0x1200, {4, 9}, 2, cover_1_open),      //  2 ENG 1 cover open
    icon(0x1300, {9, 26}, 2, starter_1_light),  //  3 ENG 1 "ON", 18x9
    icon(0x1400, {37, 9}, 2, cover_2_closed),   //  4 ENG 2 cover closed
    icon(0x1500, {37, 9}, 2, cover_2_open),     //  5 ENG 2 cover open
    icon(0x1600, {42, 26}, 2, starter_2_light), //  6 ENG 2 "ON"
    text({65, 0}, {80, 12}, {"Arial", 500, 0xFFFFFF, 0x80FFFF}, eng_label),                 //  7
    text({20, 3}, {125, 11}, {"Arial Narrow", 500, 0xFFFFFF, 0x4080FF}, man_start_label),   //  8
    icon(0x1700, {79, 9}, 2, picture),          //  9 guarded button, picture only
    icon(0x1800, {112, 9}, 2, picture),         // 10 guarded button, picture only
};

static int32_t tooltip_word;

static MouseRect mouse[] = {
    mouse_start(),
    mouse_tooltip("STARTERS", &tooltip_word),
    mouse_area({7, 7, 19, 7}, CURSOR_HAND, MOUSE_LEFT_SINGLE, cover_1_pressed),
    mouse_area({7, 16, 20, 20}, CURSOR_HAND, MOUSE_LEFT_REPEAT, button_1_pressed),
    mouse_area({40, 5, 21, 9}, CURSOR_HAND, MOUSE_LEFT_SINGLE, cover_2_pressed),
    mouse_area({41, 17, 19, 18}, CURSOR_HAND, MOUSE_LEFT_REPEAT, button_2_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks. The covers and pictures are never lit.

static double KCALL cover_1_closed(IconElement* e) { return shown_while(e, guard_1 == 0); }
static double KCALL cover_1_open(IconElement* e) { return shown_while(e, guard_1 == 1); }
static double KCALL cover_2_closed(IconElement* e) { return shown_while(e, guard_2 == 0); }
static double KCALL cover_2_open(IconElement* e) { return shown_while(e, guard_2 == 1); }

static double KCALL starter_1_light(IconElement* e) { return lit_while(e, power, is_on(starter_1.value.d)); }
static double KCALL starter_2_light(IconElement* e) { return lit_while(e, power, is_on(starter_2.value.d)); }

static double KCALL eng_label(TextElement* e) { return caption(e, power, "ENG%400.0f"); }

static double KCALL man_start_label(TextElement* e) { return caption(e, power, "MAN START%400.0f"); }

static double KCALL picture(IconElement* e) { return e->source.value.d; }

// ---------------------------------------------------------------------------
// Mouse callbacks

static int32_t KCALL cover_1_pressed(MouseArgs*, uint32_t) {
    toggle(guard_1);
    play_gauge_sound(SOUND_SWITCH);
    return 0;
}

static int32_t KCALL cover_2_pressed(MouseArgs*, uint32_t) {
    toggle(guard_2);
    play_gauge_sound(SOUND_SWITCH);
    return 0;
}

// Called again at every repeat while held: the starter keeps running as long
// as the cover stays open and the battery master stays on. Silent.
static int32_t KCALL button_1_pressed(MouseArgs*, uint32_t) {
    if (guard_1 == 1 && is_on(battery_master.value.d)) key_event(EVENT_STARTER_1);
    return 0;
}

static int32_t KCALL button_2_pressed(MouseArgs*, uint32_t) {
    if (guard_2 == 1 && is_on(battery_master.value.d)) key_event(EVENT_STARTER_2);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// First draw: both covers closed ("power" is cleared by the frame).
static void close_covers() {
    guard_1 = 0;
    guard_2 = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&starter_1, &starter_2, &battery_master};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .first_draw = close_covers,
};
