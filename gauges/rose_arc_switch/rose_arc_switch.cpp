// Rose/arc switch, 59x65: a push button on a grey panel, captioned ARCH above
// and ROSE below. Each click toggles the shared variable "rose", which turns
// the situation indicator between its arc (0) and compass rose (1)
// presentations; the button's picture follows the variable. Its gauge name
// is "kestrel" in lower case.
#include "frame/gauge.h"

// Shared variables
static ModuleVar rose;   // 0 arc, 1 rose; the button's frame
static ModuleVar power;  // 1: the panel has electrical power
static ModuleVar sfd;    // only cleared at the first draw

static double KCALL button(IconElement* e);
static double KCALL arch_caption(TextElement* e);
static double KCALL rose_caption(TextElement* e);
static int32_t KCALL button_pressed(MouseArgs*, uint32_t);

constexpr TextStyle NARROW = {"Arial Narrow", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x1400, {0, 0}),                               // 0 grey panel with the button frame
    icon(0x1600, {18, 25}, 2, button),                   // 1 button: arc, rose
    text({20, 12}, {41, 12}, NARROW, arch_caption),      // 2 "ARCH"
    text({20, 52}, {41, 12}, NARROW, rose_caption),      // 3 "ROSE"
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({16, 23, 25, 26}, CURSOR_HAND, MOUSE_LEFT_SINGLE, button_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// The button is never lit; its frame is the variable read as unsigned.
static double KCALL button(IconElement*) { return static_cast<uint32_t>(shared_get(rose)); }

static double KCALL arch_caption(TextElement* e) { return caption(e, power, "ARCH%400.0f"); }
static double KCALL rose_caption(TextElement* e) { return caption(e, power, "ROSE%400.0f"); }

// The switch sound first, then the toggle.
static int32_t KCALL button_pressed(MouseArgs*, uint32_t) {
    play_system_sound(SOUND_SWITCH);
    shared_toggle(rose);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("kestrel", chain.root(), mouse);

static const SharedBinding shared[] = {{&rose, "rose"}, {&power, "power"}, {&sfd, "sfd"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
