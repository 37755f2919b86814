// Flap lever of the pedestal: a knob in a slot beside the marks 0 1 2 3 4 F.
// The knob follows the simulator's flap handle; clicks above or below it send
// the flap events.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator
constexpr uint32_t EVENT_FLAPS_UP = 0x100DF;
constexpr uint32_t EVENT_FLAPS_DOWN = 0x100DE;

static double KCALL lever(IconElement* e);
static double KCALL label(TextElement* e);
static int32_t KCALL flaps_up(MouseArgs*, uint32_t);
static int32_t KCALL flaps_down(MouseArgs*, uint32_t);

constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                             // the dark lever slot, 93x122
    icon(0x1200, {0, 0}, 2, lit_value<power>),        // the marks 0 1 2 3 4 F, 93x122
    icon(0x1100, {-6, -15}, 6, lever, FLAP_HANDLE),   // the knob, frames 0 (top) to 5 (F)
    text({56, 58}, {39, 14}, LABEL, label),           // "FLAPS"
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({2, 0, 38, 54}, CURSOR_DOWN, MOUSE_LEFT_SINGLE, flaps_up),
    mouse_area({1, 62, 40, 56}, CURSOR_UP, MOUSE_LEFT_SINGLE, flaps_down),
    mouse_end_area(),
    mouse_end_list(),
};

// The knob frame for the handle position. The steps test the running value in
// turn, each upper bound 0.01 above the next lower one, so no value falls
// between two frames; 0 and below are returned as they are.
static double KCALL lever(IconElement* e) {
    double x = e->source.value.d;
    if (x > 0 && x < 3276.81) x = 1;
    if (x > 3276.8 && x < 6553.61) x = 2;
    if (x > 6553.6 && x < 9830.41) x = 3;
    if (x > 9830.4 && x < 13107.21) x = 4;
    apply_power(e, power);
    return x > 13107.2 ? 5 : x;
}

static double KCALL label(TextElement* e) { return caption(e, power, "FLAPS%400.0f"); }

static int32_t KCALL flaps_up(MouseArgs*, uint32_t) {
    key_event(EVENT_FLAPS_UP);
    return 0;
}

static int32_t KCALL flaps_down(MouseArgs*, uint32_t) {
    key_event(EVENT_FLAPS_DOWN);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
