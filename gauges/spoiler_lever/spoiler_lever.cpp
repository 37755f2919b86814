// Speed-brake (spoiler) lever: a knob in a slot beside its scale, in one of
// five positions that follow the simulator's spoiler handle. Each of five
// stacked areas along the slot sets the handle to its position. The module
// plays no sound: it never loads the sound library, and it has nothing to do
// on pre-update or pre-kill.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator
constexpr uint32_t EVENT_SPOILERS_SET = 0x100FA;  // carries the handle position

static double KCALL lever(IconElement* e);
static double KCALL speed_label(TextElement* e);
static double KCALL brake_label(TextElement* e);
template <uint32_t Position>
static int32_t KCALL set_spoilers(MouseArgs*, uint32_t);

constexpr TextStyle LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                              // 0 the slot, 61x89
    icon(0x1200, {0, 0}, 2, lit_value<power>),         // 1 the scale marks, 61x89
    icon(0x1100, {33, 0}, 5, lever, SPOILER_HANDLE),   // 2 knob, frames 0 (retracted) to 4 (full), 22x77
    text({0, 34}, {63, 12}, LABEL, speed_label),       // 3 "SPEED"
    text({3, 43}, {60, 12}, LABEL, brake_label),       // 4 "BRK"
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({29, 1, 27, 15}, CURSOR_HAND, MOUSE_LEFT_SINGLE, set_spoilers<0>),
    mouse_area({29, 14, 29, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, set_spoilers<0x1000>),
    mouse_area({29, 31, 28, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, set_spoilers<0x2000>),
    mouse_area({29, 49, 28, 14}, CURSOR_HAND, MOUSE_LEFT_SINGLE, set_spoilers<0x3000>),
    mouse_area({28, 64, 30, 19}, CURSOR_HAND, MOUSE_LEFT_SINGLE, set_spoilers<0x4000>),
    mouse_end_area(),
    mouse_end_list(),
};

// The knob frame for the handle position: each step tests the running value
// in turn; 0 and below are returned as they are.
static double KCALL lever(IconElement* e) {
    double x = e->source.value.d;
    if (x > 0 && x < 4097) x = 1;
    if (x > 4096 && x < 8193) x = 2;
    if (x > 8192 && x < 12289) x = 3;
    apply_power(e, power);
    return x > 12288 ? 4 : x;
}

static double KCALL speed_label(TextElement* e) { return caption(e, power, "SPEED%400.0f"); }
static double KCALL brake_label(TextElement* e) { return caption(e, power, "BRK%400.0f"); }

template <uint32_t Position>
static int32_t KCALL set_spoilers(MouseArgs*, uint32_t) {
    host()->trigger_key_event(EVENT_SPOILERS_SET, Position);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .without_sound_library = true,
};
