// Overspeed warning light, 24x24: dark, or red with its legend OVER SPEED
// while the simulator reports an overspeed. A warning light is always drawn
// at full brightness, so it binds no shared variable. No clickable area, no
// sound.
#include "frame/gauge.h"

static double KCALL light(IconElement* e);

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                     // dark square, 24x24
    icon(0x100, {0, 0}, 2, light, OVERSPEED), // frame 0 dark (the same bitmap), 1 lit
};

// The warning is the frame: 0 dark, 1 lit. Any other value goes to the host
// as it is.
static double KCALL light(IconElement* e) {
    set_bright(e, true);
    return e->source.value.d;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

const GaugeOps gauge_ops = {};
