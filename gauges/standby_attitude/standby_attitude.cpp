// Standby attitude indicator, 120x120: an attitude sphere with its pitch
// ladder turning and moving behind a mask that leaves the aircraft symbol and
// the bank scale in front of it, and a bank index that turns with the bank
// against that scale. It only displays: no clickable area, no sound. Every
// element is lit while "power" is 1; the sphere and index move lit or not.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

static double KCALL index_bank(SpriteElement* e);

constexpr double PIXELS_PER_DEGREE = 1.33333333333333;  // 4/3 pixel per degree of pitch

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                           // black face, 120x120
    icon(0x1300, {0, 0}, 1, lit_value<power>),      // dark grey disc, symbol and bank scale
    sprite(0x1200, {0, 0}, {60, 60}, {0, lit_x<power>, 0}, {PIXELS_PER_DEGREE, lit_y<power>, PITCH},
           {-1.0, lit_rotation<power>, BANK}),      // sphere 200x200 behind its mask
    sprite(0x1400, {0, 0}, {60, 60}, {0, lit_x<power>, 0}, {0, lit_y<power>, 0},
           {-1.0, index_bank, BANK}),               // bank index
};

// The index turns by the same angle as the sphere, kept in 0 to 360 for a
// bank to the right.
static double KCALL index_bank(SpriteElement* e) {
    apply_power(e, power);
    const double bank = e->source_rotation.value.d;
    return bank < 0 ? bank + 360 : bank;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
