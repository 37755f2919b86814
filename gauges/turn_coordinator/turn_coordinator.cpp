// Turn coordinator, 96x28: the sideslip ball in its curved tube. The ball
// slides 13 pixels either way at full deflection and further beyond it, as
// far as the simulator puts it. It binds no shared variable and is never lit:
// the tube's glass is unlit panel surface. No clickable area, no sound.
#include "frame/gauge.h"

static double KCALL ball_x(SliderElement* e);
static double KCALL ball_y(SliderElement* e);

constexpr double PIXELS_PER_UNIT = 0.102362204724409;  // 13 pixels at 127

static constinit Chain chain{
    &gauge_header,
    image(0x1200, {0, 0}),                                                  // face and tube, 96x28
    slider(0x1300, {41, 10}, {PIXELS_PER_UNIT, ball_x, SIDESLIP_BALL}, {0, ball_y, 0}),  // ball 13x11
};

static double KCALL ball_x(SliderElement* e) { return e->source_x.value.d; }
static double KCALL ball_y(SliderElement* e) { return e->source_y.value.d; }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

const GaugeOps gauge_ops = {};
