// Standby altimeter, 147x149: a dial marked 0 to 9 in hundreds of feet, a
// five-digit altitude counter in its window, and one pointer that turns once
// every 1000 feet. It only displays: no clickable area, no sound. Every
// element is lit while "power" is 1; counter and pointer move lit or not.
#include <math.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

static double KCALL counter(TextElement* e);
static double KCALL pointer_turn(SpriteElement* e);

constexpr TextStyle COUNTER = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                 // black face, 147x149
    icon(0x1200, {0, 0}, 1, lit_value<power>),            // dial, figures, ALT, counter window
    text({50, 42}, {99, 24}, COUNTER, counter, ALTITUDE), // altitude counter
    sprite(0x1400, {0, 0}, {75, 73}, {0, lit_x<power>, 0}, {0, lit_y<power>, 0},
           {-1.0, pointer_turn, ALTITUDE}),               // pointer 119x119 in its mask
};

static double KCALL counter(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%05.0f", e->source[0].value.d);
    return 0;
}

// 0.36 degree of the dial per foot within the current thousand. The
// remainder keeps the altitude's sign, so below zero the pointer turns the
// other way from the 0 mark.
static double KCALL pointer_turn(SpriteElement* e) {
    apply_power(e, power);
    return fmod(e->source_rotation.value.d, 1000) * 0.36;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
