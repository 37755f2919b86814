// Standby airspeed indicator, 181x181: a non-linear dial in knots from 60 at
// the top, clockwise to 400, and one pointer. It only displays: no clickable
// area, no sound. Every element is lit while "power" is 1; the pointer moves
// lit or not.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

static double KCALL pointer_turn(SpriteElement* e);

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                   // black face, 181x181
    icon(0x1200, {0, 0}, 1, lit_value<power>),  // dial, figures and KNOTS
    sprite(0x1400, {0, 0}, {93, 93}, {0, lit_x<power>, 0}, {0, lit_y<power>, 0},
           {-1.0, pointer_turn, AIRSPEED}), // pointer 157x157 in its mask
};

// Degrees of the dial clockwise from the 60-knot mark. Each band's step
// leaves the running value below the next band's lower bound, so an airspeed
// passes through one band only; the scale steps back slightly at 200 and at
// 250 knots, where the dial's spacing changes.
static double KCALL pointer_turn(SpriteElement* e) {
    apply_power(e, power);
    const double v = e->source_rotation.value.d;
    double r = v;
    if (r < 60) r = 0;
    if (r > 59 && r < 160) r = (r - 60) * 1.49;
    if (r > 159 && r < 200) r = (r - 160) * 0.78 + 149;
    if (r > 199 && r < 250) r = r - 200 + 180;
    if (r > 249) r = (r - 250) * 0.53 + 229;
    if (v > 400) r = 309;
    return r;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
