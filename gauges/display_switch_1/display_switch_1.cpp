// Display switch 1: a rotary OFF/ON knob that switches the engine displays
// through the shared variable "eicas". Its twin, display switch 2, switches
// the flight displays.
#include "frame/gauge.h"

// Shared variables
static ModuleVar eicas;  // the engine displays: 0 off, 1 on; the knob's frame
static ModuleVar power;  // 1: the panel has electrical power

static double KCALL knob(IconElement* e);
static double KCALL off_label(TextElement* e);
static double KCALL on_label(TextElement* e);
static double KCALL title(TextElement* e);
static int32_t KCALL knob_pressed(MouseArgs*, uint32_t);

constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x1100, {0, 0}),              // 0 grey panel with the scale mark, 51x49
    icon(0x100, {10, 20}, 2, knob),     // 1 knob, 28x28: pointer up to OFF, right to ON
    text({21, 14}, {32, 10}, ARIAL, off_label),  // 2
    text({38, 31}, {15, 10}, ARIAL, on_label),   // 3
    text({13, 7}, {40, 10}, ARIAL, title),       // 4
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({10, 21, 27, 26}, CURSOR_HAND, MOUSE_LEFT_SINGLE, knob_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// The knob is never lit; its frame is the variable read as unsigned.
static double KCALL knob(IconElement*) { return static_cast<uint32_t>(shared_get(eicas)); }

static double KCALL off_label(TextElement* e) { return caption(e, power, "OFF%400.0f"); }
static double KCALL on_label(TextElement* e) { return caption(e, power, "ON%400.0f"); }
static double KCALL title(TextElement* e) { return caption(e, power, "DISPLAY 1%400.0f"); }

// The switch sound first, then the toggle.
static int32_t KCALL knob_pressed(MouseArgs*, uint32_t) {
    play_system_sound(SOUND_SWITCH);
    shared_toggle(eicas);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&eicas, "eicas"}, {&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
