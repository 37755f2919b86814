// Fuel panel of the overhead. The background paints the fuel system (engine
// feeds, APU feed, tank pump buttons); three push buttons work as a
// one-of-three fuel feed selector: LEFT, ALL and RIGHT, each with an "ON"
// light. The gauge keeps the selection itself and sends the simulator the
// matching key event when it changes. It reads no simulator variable.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

enum FeedSelection : int32_t {
    FEED_ALL = 0,
    FEED_LEFT = 1,
    FEED_RIGHT = 2,
};

// Key events
constexpr uint32_t EVENT_FEED_ALL = 0x101A4;
constexpr uint32_t EVENT_FEED_LEFT = 0x101A5;
constexpr uint32_t EVENT_FEED_RIGHT = 0x101A6;

// Own state
static int32_t feed_select;  // one of FeedSelection

static double KCALL left_light(IconElement* e);
static double KCALL all_light(IconElement* e);
static double KCALL right_light(IconElement* e);
static double KCALL right_label(TextElement* e);
static double KCALL left_label(TextElement* e);
static double KCALL all_label(TextElement* e);
template <FeedSelection Button, uint32_t Event>
static int32_t KCALL feed_pressed(MouseArgs*, uint32_t);

constexpr TextStyle NARROW = {"Arial Narrow", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle NARROW_ORANGE = {"Arial Narrow", 500, 0xFFFFFF, 0x4080FF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                     // 0 panel, 290x76
    icon(0x1100, {106, 65}, 2, left_light),   // 1 LEFT "ON", 18x9
    icon(0x1200, {138, 65}, 2, all_light),    // 2 ALL "ON"
    icon(0x1300, {169, 65}, 2, right_light),  // 3 RIGHT "ON"
    text({167, 36}, {125, 11}, NARROW, right_label),        // 4
    text({105, 36}, {187, 11}, NARROW_ORANGE, left_label),  // 5
    text({142, 46}, {150, 11}, NARROW, all_label),          // 6
};

static int32_t tooltip_word;

static MouseRect mouse[] = {
    mouse_start(),
    mouse_tooltip("FUEL PANEL", &tooltip_word),
    mouse_area({105, 56, 18, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, feed_pressed<FEED_LEFT, EVENT_FEED_LEFT>),
    mouse_area({137, 56, 19, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, feed_pressed<FEED_ALL, EVENT_FEED_ALL>),
    mouse_area({168, 56, 19, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, feed_pressed<FEED_RIGHT, EVENT_FEED_RIGHT>),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks: all lit with the panel.

static double KCALL left_light(IconElement* e) { return lit_while(e, power, feed_select == FEED_LEFT); }
static double KCALL all_light(IconElement* e) { return lit_while(e, power, feed_select == FEED_ALL); }
static double KCALL right_light(IconElement* e) { return lit_while(e, power, feed_select == FEED_RIGHT); }

static double KCALL right_label(TextElement* e) { return caption(e, power, "RIGHT%400.0f"); }
static double KCALL left_label(TextElement* e) { return caption(e, power, "LEFT%400.0f"); }
static double KCALL all_label(TextElement* e) { return caption(e, power, "ALL%400.0f"); }

// ---------------------------------------------------------------------------
// Mouse callbacks: a press on another button than the selected one selects
// it and tells the simulator; every press clicks.

template <FeedSelection Button, uint32_t Event>
static int32_t KCALL feed_pressed(MouseArgs*, uint32_t) {
    if (feed_select != Button) {
        feed_select = Button;
        key_event(Event);
    }
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// First draw: ALL, without telling the simulator.
static void select_all() { feed_select = FEED_ALL; }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .first_draw = select_all,
};
