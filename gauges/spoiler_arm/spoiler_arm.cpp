// Spoiler arm switch: a rotary knob in two positions, OFF and ON, that follows
// the simulator's spoilers-armed state. A click toggles the arming, with the
// switch sound. Only the labels light with the panel.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator
constexpr uint32_t EVENT_SPOILERS_ARM_TOGGLE = 0x1013D;

static double KCALL knob(IconElement* e);
static double KCALL spoil_arm_label(TextElement* e);
static double KCALL off_label(TextElement* e);
static double KCALL on_label(TextElement* e);
static int32_t KCALL knob_pressed(MouseArgs*, uint32_t);

constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x1100, {0, 0}),                             // 0 the switch plate, 51x49
    icon(0x100, {10, 20}, 2, knob, SPOILERS_ARMED),    // 1 knob up (OFF) and turned (ON), 28x28
    text({6, 6}, {47, 10}, LABEL, spoil_arm_label),    // 2 "SPOIL ARM"
    text({20, 13}, {33, 10}, LABEL, off_label),        // 3 "OFF"
    text({38, 31}, {15, 10}, LABEL, on_label),         // 4 "ON"
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({10, 20, 26, 26}, CURSOR_HAND, MOUSE_LEFT_SINGLE, knob_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// The knob is never lit.
static double KCALL knob(IconElement* e) { return e->source.value.d; }

static double KCALL spoil_arm_label(TextElement* e) { return caption(e, power, "SPOIL ARM%400.0f"); }
static double KCALL off_label(TextElement* e) { return caption(e, power, "OFF%400.0f"); }
static double KCALL on_label(TextElement* e) { return caption(e, power, "ON%400.0f"); }

static int32_t KCALL knob_pressed(MouseArgs*, uint32_t) {
    key_event(EVENT_SPOILERS_ARM_TOGGLE);
    play_system_sound(SOUND_SWITCH);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
