// A gauge for testing the frame and the host: one element of every kind, each
// helper of the frame, and mouse areas of every kind. Its simulator
// variables are 0x9000 and up, which no real gauge reads.
#include "frame/gauge.h"

static ModuleVar power;
static ModuleVar apu;
static ModuleVar ticks = sim_var(0x1);
static int32_t own_toggle;

static double KCALL lamp(IconElement* e);
static double KCALL number_text(TextElement* e);
static double KCALL caption(TextElement* e);
static double KCALL digits(TextElement* e);
static double KCALL dial(NeedleElement* e);
static double KCALL slide(SliderElement* e);
static double KCALL strip(MovingElement* e);
static double KCALL turn(SpriteElement* e);
static double KCALL toggled(IconElement* e);
static double KCALL tick_count(IconElement* e);
static int32_t KCALL power_switch(MouseArgs*, uint32_t);
static int32_t KCALL behind(MouseArgs*, uint32_t);
static int32_t KCALL knob(MouseArgs*, uint32_t);
static int32_t KCALL handle(MouseArgs*, uint32_t);
static int32_t KCALL selector(MouseArgs*, uint32_t);

constexpr TextStyle STYLE = {"Arial", 500, 0xFFFFFF, 0x000000};

// A text element whose buffer holds only 16 characters.
constexpr TextElement narrow(TextElement e) {
    e.capacity = 16;
    return e;
}

static NonlinearityEntry dial_table[] = {point(10, 0, 0), point(20, 10, 50), point(10, 20, 100)};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                            // 0
    icon(0x1000, {0, 0}, 2, lamp, 0x9000),                           // 1 shown only while power = 1
    text({0, 10}, {60, 10}, STYLE, number_text, 0x9001),             // 2 "%.3f"
    narrow(text({0, 20}, {60, 10}, STYLE, caption, 0x9001)),         // 3 "WIDE%800.0f", capacity 16
    text({0, 30}, {60, 10}, STYLE, digits, 0x9002),                  // 4 BCD digits by wsprintfA
    needle(0x1100, {10, 10}, {2, 2}, dial_table, dial, 0x9003),      // 5
    slider(0x1200, {0, 40}, {2.0, slide, 0x9004}, {0.5, slide, 0x9004}),           // 6
    moving(0x1300, {0, 50}, {0, 100, strip, 0x9005}, {0, 0, nullptr, 0}),           // 7
    sprite(0x1400, {0, 60}, {10, 10}, {1.0, turn, 0x9006}, {1.0, turn, 0x9006},
           {-1.0, turn, 0x9006}),                                                 // 8
    icon(0x1500, {0, 70}, 2, toggled),                               // 9 own_toggle
    icon(0x1600, {0, 80}, 2, tick_count),                            // 10 the tick counter
};

static int32_t tooltip_word = 1;

static MouseRect mouse[] = {
    mouse_start(),
    mouse_tooltip("PROBE", &tooltip_word),
    mouse_area({0, 0, 10, 10}, CURSOR_HAND, MOUSE_LEFT_SINGLE, power_switch),
    mouse_area({0, 0, 20, 20}, CURSOR_HAND, MOUSE_LEFT_SINGLE, behind),
    mouse_area({20, 0, 10, 10}, CURSOR_UP, MOUSE_LEFT_REPEAT, knob),
    mouse_tooltip("KNOB 10\xB0", &tooltip_word),  // a code page's degree sign, not UTF-8
    mouse_area({30, 0, 10, 10}, CURSOR_HAND, MOUSE_LEFT_DRAG, handle),
    mouse_area({40, 0, 10, 10}, CURSOR_HAND, MOUSE_LEFT_SINGLE, selector),
    mouse_end_area(),
    mouse_end_list(),
};

static double KCALL lamp(IconElement* e) {
    apply_power(e, power);
    show_if(e, shared_get(power) == 1);
    return e->source.value.d;
}

static double KCALL number_text(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%.3f", e->source[0].value.d);
    return 0;
}

static double KCALL caption(TextElement* e) {
    format_text(e, "WIDE%800.0f", e->source[0].value.d);
    return 0;
}

// The four low digits of a binary-coded-decimal word.
static double KCALL digits(TextElement* e) {
    const uint32_t v = e->source[0].value.u;
    wsprintfA(e->text, "%d%d%d%d", (v >> 12) & 0xF, (v >> 8) & 0xF, (v >> 4) & 0xF, v & 0xF);
    return 0;
}

static double KCALL dial(NeedleElement* e) { return e->source.value.d; }
static double KCALL slide(SliderElement* e) { return e->source_x.value.d; }
static double KCALL strip(MovingElement* e) { return e->source_x.value.d; }
static double KCALL turn(SpriteElement* e) { return e->source_x.value.d; }
static double KCALL toggled(IconElement*) { return own_toggle; }
static double KCALL tick_count(IconElement*) { return ticks.value.d; }

static int32_t KCALL power_switch(MouseArgs*, uint32_t) {
    shared_toggle(power);
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

static int32_t KCALL behind(MouseArgs*, uint32_t) {
    key_event(0x10002);
    return 0;
}

static int32_t KCALL knob(MouseArgs*, uint32_t) {
    key_event(0x10003);
    play_system_sound(SOUND_SWITCH);
    return 0;
}

static int32_t KCALL handle(MouseArgs*, uint32_t) {
    key_event(0x10004);
    return 0;
}

static int32_t KCALL selector(MouseArgs*, uint32_t) {
    toggle(own_toggle);
    shared_toggle(apu);
    return 0;
}

static void reset() { own_toggle = 0; }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}, {&apu, "apu"}};
static ModuleVar* const sim_vars[] = {&ticks};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .first_draw = reset,
};
