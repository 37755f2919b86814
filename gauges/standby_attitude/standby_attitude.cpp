// Standby attitude indicator, 120x120: an attitude sphere with its pitch
// ladder turning and moving behind a mask that leaves the aircraft symbol and
// the bank scale in front of it, and a bank index that turns with the bank
// against that scale. It only displays: no clickable area, no sound. Every
// element is lit while "power" is 1; the sphere and index move lit or not.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Element sources, refreshed by the host.
constexpr uint32_t PITCH = 0x4E;  // degrees, positive nose down
constexpr uint32_t BANK = 0x50;   // degrees, positive left wing down

static double KCALL disc(IconElement* e);
static double KCALL sphere_x(SpriteElement* e);
static double KCALL sphere_pitch(SpriteElement* e);
static double KCALL sphere_bank(SpriteElement* e);
static double KCALL index_x(SpriteElement* e);
static double KCALL index_y(SpriteElement* e);
static double KCALL index_bank(SpriteElement* e);

constexpr double PIXELS_PER_DEGREE = 1.33333333333333;  // 4/3 pixel per degree of pitch

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                           // black face, 120x120
    icon(0x1300, {0, 0}, 1, disc),                  // dark grey disc, symbol and bank scale
    sprite(0x1200, {0, 0}, {60, 60}, {0, sphere_x, 0}, {PIXELS_PER_DEGREE, sphere_pitch, PITCH},
           {-1.0, sphere_bank, BANK}),              // sphere 200x200 behind its mask
    sprite(0x1400, {0, 0}, {60, 60}, {0, index_x, 0}, {0, index_y, 0},
           {-1.0, index_bank, BANK}),               // bank index
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_end_area(),
    mouse_end_list(),
};

static double KCALL disc(IconElement* e) {
    apply_power(e, power);
    return e->source.value.d;
}

static double KCALL sphere_x(SpriteElement* e) {
    apply_power(e, power);
    return e->source_x.value.d;
}

static double KCALL sphere_pitch(SpriteElement* e) {
    apply_power(e, power);
    return e->source_y.value.d;
}

static double KCALL sphere_bank(SpriteElement* e) {
    apply_power(e, power);
    return e->source_rotation.value.d;
}

static double KCALL index_x(SpriteElement* e) {
    apply_power(e, power);
    return e->source_x.value.d;
}

static double KCALL index_y(SpriteElement* e) {
    apply_power(e, power);
    return e->source_y.value.d;
}

// The index turns by the same angle as the sphere, kept in 0 to 360 for a
// bank to the right.
static double KCALL index_bank(SpriteElement* e) {
    apply_power(e, power);
    const double bank = e->source_rotation.value.d;
    return bank < 0 ? bank + 360 : bank;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
};
