// Electric panel of the overhead. The background paints the electrical network
// (buses, bus tie, galley, APU generator, external power, drive generators);
// three push buttons work: battery 1 and the two engine generators, each with
// an "ON" light that follows its simulator variable. A readout under the
// BAT 1 label shows the battery value.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update
static ModuleVar generator_1 = sim_var(GENERATOR_1);     // 1: engine 1 generator on
static ModuleVar generator_2 = sim_var(GENERATOR_2);     // 1: engine 2 generator on
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // 1: on

// Key events
constexpr uint32_t EVENT_GENERATOR_1 = 0x1033B;
constexpr uint32_t EVENT_GENERATOR_2 = 0x1033C;
constexpr uint32_t EVENT_BATTERY_MASTER = 0x102C1;

static double KCALL generator_1_light(IconElement* e);
static double KCALL generator_2_light(IconElement* e);
static double KCALL battery_light(IconElement* e);
static double KCALL bat_1_label(TextElement* e);
static double KCALL bat_label(TextElement* e);
static double KCALL gen_1_label(TextElement* e);
static double KCALL gen_2_label(TextElement* e);
static double KCALL battery_readout(TextElement* e);
template <uint32_t Event>
static int32_t KCALL push_button(MouseArgs*, uint32_t);

constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle ARIAL_ORANGE = {"Arial", 500, 0xFFFFFF, 0x4080FF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                            // 0 panel, 299x107
    icon(0x1100, {42, 89}, 2, generator_1_light),    // 1 GEN 1 "ON", 18x9
    icon(0x1200, {245, 90}, 2, generator_2_light),   // 2 GEN 2 "ON"
    icon(0x1300, {119, 22}, 2, battery_light),       // 3 BAT 1 "ON"
    text({80, 4}, {221, 11}, ARIAL, bat_1_label),            // 4 "BAT 1"
    text({126, 4}, {175, 11}, ARIAL_ORANGE, bat_label),      // 5 "1    BAT"
    text({44, 71}, {257, 11}, ARIAL, gen_1_label),           // 6 "GEN 1"
    text({246, 72}, {55, 11}, ARIAL, gen_2_label),           // 7 "GEN 2"
    text({81, 17}, {220, 16}, ARIAL, battery_readout, BATTERY_VALUE),  // 8 "%.1f"
};

static int32_t tooltip_word;

static MouseRect mouse[] = {
    mouse_start(),
    mouse_tooltip("ELECTRIC PANEL", &tooltip_word),
    mouse_area({41, 80, 20, 20}, CURSOR_HAND, MOUSE_LEFT_SINGLE, push_button<EVENT_GENERATOR_1>),
    mouse_area({244, 81, 19, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, push_button<EVENT_GENERATOR_2>),
    mouse_area({118, 13, 20, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, push_button<EVENT_BATTERY_MASTER>),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks. The battery's light, captions and readout are bright
// whatever "power" holds: they work from the battery alone.

static double KCALL generator_1_light(IconElement* e) {
    apply_power(e, power);
    show_if(e, is_on(generator_1.value.d));
    return e->source.value.d;
}

static double KCALL generator_2_light(IconElement* e) {
    apply_power(e, power);
    show_if(e, is_on(generator_2.value.d));
    return e->source.value.d;
}

static double KCALL battery_light(IconElement* e) {
    set_bright(e, true);
    show_if(e, is_on(battery_master.value.d));
    return e->source.value.d;
}

static double KCALL bat_1_label(TextElement* e) { return bright_caption(e, "BAT 1%400.0f"); }

static double KCALL bat_label(TextElement* e) { return bright_caption(e, "1    BAT%400.0f"); }

static double KCALL gen_1_label(TextElement* e) { return caption(e, power, "GEN 1%400.0f"); }

static double KCALL gen_2_label(TextElement* e) { return caption(e, power, "GEN 2%400.0f"); }

static double KCALL battery_readout(TextElement* e) {
    set_bright(e, true);
    format_text(e, "%.1f", e->source[0].value.d);
    return 0;
}

// ---------------------------------------------------------------------------
// Mouse callbacks: the key event, then the click. The light changes only when
// the simulator reports the new value.

template <uint32_t Event>
static int32_t KCALL push_button(MouseArgs*, uint32_t) {
    key_event(Event);
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};
static ModuleVar* const sim_vars[] = {&generator_1, &generator_2, &battery_master};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
};
