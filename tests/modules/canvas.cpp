// A gauge for testing the renderer: one element of each moving kind, each
// driven straight by a simulator variable of its own (0x9100 and up), so a
// test sets a value and looks at the pixels. The tests draw its bitmaps
// themselves (test_render.cpp), next to the places given here.
#include "frame/gauge.h"

static ModuleVar hide_lamp = sim_var(0x9109);   // 1: the lamp is hidden
static ModuleVar light_lamp = sim_var(0x910A);  // 1: the lamp and the text are lit

static double KCALL lamp(IconElement* e);
static double KCALL caption(TextElement* e);

// The needle's pivot is (30, 30): value 0 points up, 100 right, 200 down.
static NonlinearityEntry dial[] = {point(30, 10, 0), point(50, 30, 100), point(30, 50, 200)};

constexpr TextStyle WHITE = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                                      // 0 120x100
    needle(0x1100, {30, 30}, {2, 2}, dial, nullptr, 0x9101),                   // 1
    slider(0x1200, {60, 10}, {2.0, nullptr, 0x9102}, {0.5, nullptr, 0x9103}),  // 2
    moving(0x1300, {100, 10}, {0, 0, nullptr, 0}, {0, 100, nullptr, 0x9104}),  // 3 strip behind 0x1301
    sprite(0x1400, {10, 60}, {15, 15}, {1.0, nullptr, 0x9105}, {1.0, nullptr, 0x9106},
           {1.0, nullptr, 0x9107}),                                            // 4 image inside 0x1401
    icon(0x1500, {60, 40}, 3, lamp, 0x9108),                                   // 5 frames 0x1500..0x1502
    text({5, 88}, {40, 12}, WHITE, caption),                                   // 6
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_end_area(),
    mouse_end_list(),
};

static double KCALL lamp(IconElement* e) {
    show_if(e, hide_lamp.value.d != 1);
    set_bright(e, light_lamp.value.d == 1);
    return e->source.value.d;
}

// A caption far wider than its box.
static double KCALL caption(TextElement* e) {
    set_bright(e, light_lamp.value.d == 1);
    format_text(e, "WWWWWWWWWWWWWWWWWWWWWWWW%.0f", 0);
    return 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static ModuleVar* const sim_vars[] = {&hide_lamp, &light_lamp};

const GaugeOps gauge_ops = {
    .sim_vars = sim_vars,
};
