// Landing-gear handle: a knob in a vertical slot between the marks UP and DN.
// The knob slides with the simulator's gear handle; a click on the slot sends
// the gear toggle event. Marks and knob are lit while the panel is powered.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator
constexpr uint32_t EVENT_GEAR_TOGGLE = 0x10022;

// The knob travels 49 pixels, from y = 5 (up) to y = 54 (down).
constexpr double KNOB_SCALE = 49.0 / 16383.0;

static double KCALL up_label(TextElement* e);
static double KCALL down_label(TextElement* e);
static int32_t KCALL toggle_gear(MouseArgs*, uint32_t);

constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x1300, {0, 0}),                          // 0 the slot, 40x92
    icon(0x1500, {0, 0}, 2, lit_value<power>),      // 1 the slot's markings, 40x92
    slider(0x1100, {3, 5}, {0, lit_x<power>, 0}, {KNOB_SCALE, lit_y<power>, GEAR_HANDLE}),  // 2 knob, 13x24
    text({23, 0}, {19, 12}, LABEL, up_label),       // 3 "UP"
    text({23, 83}, {19, 12}, LABEL, down_label),    // 4 "DN"
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({2, 4, 19, 74}, CURSOR_HAND, MOUSE_LEFT_SINGLE, toggle_gear),
    mouse_end_area(),
    mouse_end_list(),
};

static double KCALL up_label(TextElement* e) { return caption(e, power, "UP%400.0f"); }
static double KCALL down_label(TextElement* e) { return caption(e, power, "DN%400.0f"); }

// Silent; the knob moves when the simulator moves its handle.
static int32_t KCALL toggle_gear(MouseArgs*, uint32_t) {
    key_event(EVENT_GEAR_TOGGLE);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
