// The display switches: rotary OFF/ON knobs that switch the engine displays
// (display_switch_1, shared variable "eicas") and the flight displays
// (display_switch_2, "display"). One source builds both modules; the build
// gives each its number as DISPLAY_SWITCH, and the table below holds where
// the two differ.
#include "frame/gauge.h"

struct DisplaySwitch {
    const char* variable;   // the shared variable the knob switches
    uint32_t panel, knob;   // bitmap ids
    PixPoint knob_at, off_at, title_at;
    const char* off;        // caption formats
    const char* on;
    const char* title;
    PixBox knob_area;
    bool sound_first;       // the switch sound before the toggle, or after it
};

constexpr DisplaySwitch SWITCHES[] = {
    {"eicas", 0x1100, 0x100, {10, 20}, {21, 14}, {13, 7},
     "OFF%400.0f", "ON%400.0f", "DISPLAY 1%400.0f", {10, 21, 27, 26}, true},
    {"display", 0x100, 0x1100, {10, 21}, {21, 15}, {13, 6},
     "OFF%800.0f", "ON%600.0f", "DISPLAY 2%600.0f", {10, 21, 27, 28}, false},
};
static_assert(DISPLAY_SWITCH == 1 || DISPLAY_SWITCH == 2);
constexpr DisplaySwitch THIS = SWITCHES[DISPLAY_SWITCH - 1];

// Shared variables
static ModuleVar displays;  // the displays: 0 off, 1 on; the knob's frame
static ModuleVar power;     // 1: the panel has electrical power

static double KCALL knob(IconElement* e);
static double KCALL off_label(TextElement* e);
static double KCALL on_label(TextElement* e);
static double KCALL title(TextElement* e);
static int32_t KCALL knob_pressed(MouseArgs*, uint32_t);

constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(THIS.panel, {0, 0}),                 // 0 grey panel with the scale mark, 51x49
    icon(THIS.knob, THIS.knob_at, 2, knob),    // 1 knob, 28x28: pointer up to OFF, right to ON
    text(THIS.off_at, {32, 10}, ARIAL, off_label),  // 2
    text({38, 31}, {15, 10}, ARIAL, on_label),      // 3
    text(THIS.title_at, {40, 10}, ARIAL, title),    // 4
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area(THIS.knob_area, CURSOR_HAND, MOUSE_LEFT_SINGLE, knob_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// The knob is never lit; its frame is the variable read as unsigned.
static double KCALL knob(IconElement*) { return static_cast<uint32_t>(shared_get(displays)); }

static double KCALL off_label(TextElement* e) { return caption(e, power, THIS.off); }
static double KCALL on_label(TextElement* e) { return caption(e, power, THIS.on); }
static double KCALL title(TextElement* e) { return caption(e, power, THIS.title); }

static int32_t KCALL knob_pressed(MouseArgs*, uint32_t) {
    if (THIS.sound_first) play_system_sound(SOUND_SWITCH);
    shared_toggle(displays);
    if (!THIS.sound_first) play_system_sound(SOUND_SWITCH);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&displays, THIS.variable}, {&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
