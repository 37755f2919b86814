// Display switch 2: a rotary OFF/ON knob that switches the flight displays
// through the shared variable "display". Its twin, display switch 1,
// switches the engine displays.
#include "frame/gauge.h"

// Shared variables
static ModuleVar display;  // the flight displays: 0 off, 1 on; the knob's frame
static ModuleVar power;    // 1: the panel has electrical power

static double KCALL knob(IconElement* e);
static double KCALL off_label(TextElement* e);
static double KCALL on_label(TextElement* e);
static double KCALL title(TextElement* e);
static int32_t KCALL knob_pressed(MouseArgs*, uint32_t);

constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                // 0 grey panel with the scale mark, 51x49
    icon(0x1100, {10, 21}, 2, knob),     // 1 knob, 28x28: pointer up to OFF, right to ON
    text({21, 15}, {32, 10}, ARIAL, off_label),  // 2
    text({38, 31}, {15, 10}, ARIAL, on_label),   // 3
    text({13, 6}, {40, 10}, ARIAL, title),       // 4
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({10, 21, 27, 28}, CURSOR_HAND, MOUSE_LEFT_SINGLE, knob_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// The knob is never lit; its frame is the variable read as unsigned.
static double KCALL knob(IconElement*) { return static_cast<uint32_t>(shared_get(display)); }

static double KCALL off_label(TextElement* e) { return caption(e, power, "OFF%800.0f"); }
static double KCALL on_label(TextElement* e) { return caption(e, power, "ON%600.0f"); }
static double KCALL title(TextElement* e) { return caption(e, power, "DISPLAY 2%600.0f"); }

// The toggle first, then the switch sound.
static int32_t KCALL knob_pressed(MouseArgs*, uint32_t) {
    shared_toggle(display);
    play_system_sound(SOUND_SWITCH);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&display, "display"}, {&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
