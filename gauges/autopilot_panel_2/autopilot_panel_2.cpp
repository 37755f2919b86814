// Autopilot panel 2, the flight control unit on the glareshield: a display
// strip with the speed (or Mach), heading (or course), altitude and vertical
// speed windows, the four knobs below them, the AP 1, NAV, HDG, A/TH, HLD and
// APPR push buttons with their lights, and three push buttons that only
// change what the windows show (SPD/MACH, HDG/CRS, METRIC ALT).
//
// The windows show the values the simulator holds; knobs and mode buttons
// act on it through key events alone. Windows, labels and lights are lit
// while "power" is 1; the knobs are never lit.
#include "frame/gauge.h"

// Shared variables
static ModuleVar power;  // 1: the panel has electrical power

// Simulator variables refreshed on every pre-update, in this order.
static ModuleVar heading = sim_var(SELECTED_HEADING);          // selected heading, degrees
static ModuleVar autopilot = sim_var(AUTOPILOT);        // 1: AP 1 engaged
static ModuleVar nav_hold = sim_var(NAV_HOLD);         // 1: navigation hold
static ModuleVar autothrottle = sim_var(AUTOTHROTTLE);     // 1: A/TH armed
static ModuleVar altitude_hold = sim_var(ALTITUDE_HOLD);    // 1: altitude hold
static ModuleVar approach_hold = sim_var(APPROACH_HOLD);    // 1: approach hold
static ModuleVar mach = sim_var(SELECTED_MACH);             // selected Mach number
static ModuleVar speed = sim_var(SELECTED_SPEED);            // selected airspeed, knots
static ModuleVar course = sim_var(SELECTED_COURSE);          // selected course, degrees
static ModuleVar altitude = sim_var(SELECTED_ALTITUDE);         // selected altitude, feet
static ModuleVar vertical_speed = sim_var(SELECTED_VERTICAL_SPEED);   // selected vertical speed, feet a minute
static ModuleVar heading_hold = sim_var(HEADING_HOLD);     // 1: heading hold

static ModuleVar* const watched[] = {
    &heading, &autopilot, &nav_hold, &autothrottle, &altitude_hold, &approach_hold,
    &mach,    &speed,     &course,   &altitude,     &vertical_speed, &heading_hold,
};

// Key events
constexpr uint32_t EVENT_MACH_DOWN = 0x1017D;
constexpr uint32_t EVENT_MACH_UP = 0x1017C;
constexpr uint32_t EVENT_SPEED_DOWN = 0x10169;
constexpr uint32_t EVENT_SPEED_UP = 0x10168;
constexpr uint32_t EVENT_HEADING_DOWN = 0x10158;
constexpr uint32_t EVENT_HEADING_UP = 0x10157;
constexpr uint32_t EVENT_COURSE_DOWN = 0x1007E;
constexpr uint32_t EVENT_COURSE_UP = 0x1007F;
constexpr uint32_t EVENT_ALTITUDE_DOWN = 0x10165;
constexpr uint32_t EVENT_ALTITUDE_UP = 0x10164;
constexpr uint32_t EVENT_VS_DOWN = 0x10167;
constexpr uint32_t EVENT_VS_UP = 0x10166;
constexpr uint32_t EVENT_AUTOTHROTTLE = 0x10144;
constexpr uint32_t EVENT_HEADING_HOLD = 0x100BD;
constexpr uint32_t EVENT_AUTOPILOT = 0x1002C;
constexpr uint32_t EVENT_NAV_HOLD = 0x100C1;
constexpr uint32_t EVENT_ALTITUDE_HOLD = 0x10107;
constexpr uint32_t EVENT_APPROACH_HOLD = 0x100BC;
constexpr uint32_t EVENT_NAV_HOLD_OFF = 0x1011B;
constexpr uint32_t EVENT_HEADING_HOLD_OFF = 0x1023B;
constexpr uint32_t EVENT_APPROACH_HOLD_OFF = 0x10116;

// Own state: what the windows show. Only this gauge's buttons change it.
static int32_t ias_mode;     // 1: airspeed in knots (IAS); 0: Mach
static int32_t hdg_mode;     // 1: selected heading (HDG); 0: selected course (CRS)
static int32_t metric_mode;  // nonzero: altitude and vertical speed in metres (M); 0: feet (FT)

// Captions
static constexpr char MACH[] = "MACH%800.0f";
static constexpr char IAS[] = "IAS%800.0f";
static constexpr char CRS[] = "CRS%800.0f";
static constexpr char HDG[] = "HDG%800.0f";
static constexpr char VS[] = "V/S%800.0f";
static constexpr char FT[] = "FT%800.0f";
static constexpr char M[] = "M%800.0f";
static constexpr char ALT[] = "ALT%800.0f";
static constexpr char SPD[] = "SPD%800.0f";
static constexpr char AP_1[] = "AP 1%800.0f";
static constexpr char NAV[] = "NAV%800.0f";
static constexpr char A_TH[] = "A/TH%800.0f";
static constexpr char HLD[] = "HLD%800.0f";
static constexpr char APPR[] = "APPR%800.0f";
static constexpr char METRIC[] = "METRIC%800.0f";
static constexpr char UP[] = "UP%800.0f";
static constexpr char DN[] = "DN%800.0f";
static constexpr char LAT[] = "LAT%800.0f";

// A lamp never changes frame: it lights by being shown while its mode is on.
static double KCALL heading_light(IconElement* e);
static double KCALL autopilot_light(IconElement* e);
static double KCALL nav_light(IconElement* e);
static double KCALL autothrottle_light(IconElement* e);
static double KCALL altitude_hold_light(IconElement* e);
static double KCALL approach_light(IconElement* e);
static double KCALL heading_pointer(NeedleElement* e);
static double KCALL altitude_pointer(NeedleElement* e);
static double KCALL mach_label(TextElement* e);
static double KCALL ias_label(TextElement* e);
static double KCALL mach_digits(TextElement* e);
static double KCALL speed_digits(TextElement* e);
static double KCALL knob_x(SpriteElement* e);
static double KCALL knob_y(SpriteElement* e);
static double KCALL speed_knob(SpriteElement* e);
static double KCALL crs_label(TextElement* e);
static double KCALL hdg_label(TextElement* e);
static double KCALL ft_label(TextElement* e);
static double KCALL m_label(TextElement* e);
static double KCALL heading_digits(TextElement* e);
static double KCALL altitude_digits(TextElement* e);
static double KCALL vertical_speed_digits(TextElement* e);
static double KCALL vertical_speed_knob(SpriteElement* e);
template <const char* Caption>
static double KCALL lit(TextElement* e);

static int32_t KCALL spd_mach_pressed(MouseArgs*, uint32_t);
static int32_t KCALL speed_down(MouseArgs*, uint32_t);
static int32_t KCALL speed_up(MouseArgs*, uint32_t);
static int32_t KCALL hdg_crs_pressed(MouseArgs*, uint32_t);
static int32_t KCALL heading_down(MouseArgs*, uint32_t);
static int32_t KCALL heading_up(MouseArgs*, uint32_t);
static int32_t KCALL hdg_pressed(MouseArgs*, uint32_t);
static int32_t KCALL nav_pressed(MouseArgs*, uint32_t);
static int32_t KCALL hld_pressed(MouseArgs*, uint32_t);
static int32_t KCALL appr_pressed(MouseArgs*, uint32_t);
static int32_t KCALL metric_pressed(MouseArgs*, uint32_t);
template <uint32_t Event>
static int32_t KCALL send(MouseArgs*, uint32_t);

// Text styles (text colour, background colour; the background is not drawn).
constexpr TextStyle WINDOW_LABEL = {"Arial", 500, 0x4080FF, 0x80FFFF};
constexpr TextStyle WINDOW_LABEL_B = {"Arial", 500, 0x4080FF, 0x80FF};
constexpr TextStyle WINDOW_LABEL_C = {"Arial", 500, 0x4080FF, 0x4080FF};
constexpr TextStyle DIGITS = {"Quartz", 500, 0x4080FF, 0x80FFFF};
constexpr TextStyle DIGITS_B = {"Quartz", 500, 0x4080FF, 0x80FF};
constexpr TextStyle PANEL_LABEL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};

// Knob pointers: the heading knob turns a quarter for 45 degrees; the
// altitude knob a full turn for 20,000 feet.
static NonlinearityEntry heading_table[] = {point(140, 48, 0), point(158, 66, 45)};
static NonlinearityEntry altitude_table[] = {
    point(304, 50, 0),      point(324, 69, 5000),  point(286, 71, 15000),
    point(305, 52, 20000),  point(324, 71, 25000), point(284, 71, 35000),
};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                            //  0 panel face, 422x122
    icon(0x1700, {319, 8}, 2, lit_value<power>),                     //  1 dashes between ALT and V/S
    icon(0x1100, {131, 95}, 2, heading_light),                       //  2 HDG light
    icon(0x1100, {196, 68}, 2, autopilot_light),                     //  3 AP 1 light
    icon(0x1100, {235, 68}, 2, nav_light),                           //  4 NAV light
    icon(0x1100, {216, 96}, 2, autothrottle_light),                  //  5 A/TH light
    icon(0x1100, {294, 96}, 2, altitude_hold_light),                 //  6 HLD light
    icon(0x1100, {378, 95}, 2, approach_light),                      //  7 APPR light
    needle(0x1300, {139, 64}, {18, 18}, heading_table, heading_pointer),  //  8 heading knob
    needle(0x1400, {302, 68}, {18, 18}, altitude_table, altitude_pointer,
           SELECTED_ALTITUDE),                                       //  9 altitude knob
    text({58, 9}, {366, 12}, WINDOW_LABEL, mach_label),              // 10 "MACH"
    text({62, 9}, {362, 12}, WINDOW_LABEL_B, ias_label),             // 11 "IAS"
    text({61, 19}, {363, 22}, DIGITS, mach_digits, SELECTED_MACH),   // 12 Mach window
    text({61, 19}, {363, 22}, DIGITS_B, speed_digits, SELECTED_SPEED),  // 13 airspeed window
    // The knob sprites stay put (X and Y scale 0) and turn clockwise on the
    // screen as their value grows (rotation scale -1).
    sprite(0x1500, {0, 0}, {70, 64}, {0, knob_x, 0}, {0, knob_y, 0},
           {-1.0, speed_knob, 0}),                                   // 14 speed knob
    text({130, 9}, {294, 12}, WINDOW_LABEL, crs_label),              // 15 "CRS"
    text({130, 9}, {294, 12}, WINDOW_LABEL_C, hdg_label),            // 16 "HDG"
    text({374, 9}, {50, 12}, WINDOW_LABEL, lit<VS>),                 // 17 "V/S"
    text({339, 9}, {85, 12}, WINDOW_LABEL_C, ft_label),              // 18 "FT"
    text({340, 9}, {84, 12}, WINDOW_LABEL, m_label),                 // 19 "M"
    text({292, 9}, {132, 12}, WINDOW_LABEL, lit<ALT>),               // 20 "ALT"
    text({130, 19}, {294, 22}, DIGITS, heading_digits),              // 21 heading window
    text({287, 19}, {137, 22}, DIGITS, altitude_digits),             // 22 altitude window
    text({372, 19}, {52, 22}, DIGITS, vertical_speed_digits),        // 23 vertical speed window
    text({14, 64}, {410, 12}, PANEL_LABEL, lit<SPD>),                // 24
    text({10, 73}, {414, 12}, PANEL_LABEL, lit<MACH>),               // 25
    text({130, 104}, {294, 12}, PANEL_LABEL, lit<HDG>),              // 26
    text({196, 77}, {228, 12}, PANEL_LABEL, lit<AP_1>),              // 27
    text({236, 77}, {188, 12}, PANEL_LABEL, lit<NAV>),               // 28
    text({214, 104}, {210, 12}, PANEL_LABEL, lit<A_TH>),             // 29
    text({293, 104}, {131, 12}, PANEL_LABEL, lit<HLD>),              // 30
    text({375, 104}, {49, 12}, PANEL_LABEL, lit<APPR>),              // 31
    text({334, 66}, {90, 10}, PANEL_LABEL, lit<METRIC>),             // 32
    text({342, 72}, {82, 10}, PANEL_LABEL, lit<ALT>),                // 33
    text({384, 40}, {40, 10}, PANEL_LABEL, lit<UP>),                 // 34
    text({382, 83}, {42, 10}, PANEL_LABEL, lit<DN>),                 // 35
    text({170, 9}, {254, 12}, WINDOW_LABEL, lit<LAT>),               // 36 "LAT"
    sprite(0x1800, {0, 0}, {387, 64}, {0, knob_x, 0}, {0, knob_y, 0},
           {-1.0, vertical_speed_knob, SELECTED_VERTICAL_SPEED}),    // 37 vertical speed knob
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_area({11, 42, 22, 21}, CURSOR_HAND, MOUSE_LEFT_SINGLE, spd_mach_pressed),
    mouse_area({46, 42, 21, 40}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, speed_down),
    mouse_area({73, 42, 24, 46}, CURSOR_UP, MOUSE_LEFT_REPEAT, speed_up),
    mouse_area({210, 93, 29, 21}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_AUTOTHROTTLE>),
    mouse_area({132, 56, 15, 15}, CURSOR_HAND, MOUSE_LEFT_SINGLE, hdg_crs_pressed),
    mouse_area({110, 42, 19, 39}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, heading_down),
    mouse_area({149, 42, 18, 40}, CURSOR_UP, MOUSE_LEFT_REPEAT, heading_up),
    mouse_area({125, 94, 27, 20}, CURSOR_HAND, MOUSE_LEFT_SINGLE, hdg_pressed),
    mouse_area({190, 67, 28, 19}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send<EVENT_AUTOPILOT>),
    mouse_area({230, 67, 26, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, nav_pressed),
    mouse_area({289, 93, 28, 21}, CURSOR_HAND, MOUSE_LEFT_SINGLE, hld_pressed),
    mouse_area({373, 94, 27, 19}, CURSOR_HAND, MOUSE_LEFT_SINGLE, appr_pressed),
    mouse_area({334, 42, 20, 20}, CURSOR_HAND, MOUSE_LEFT_SINGLE, metric_pressed),
    mouse_area({271, 46, 20, 42}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, send<EVENT_ALTITUDE_DOWN>),
    mouse_area({307, 46, 19, 43}, CURSOR_UP, MOUSE_LEFT_REPEAT, send<EVENT_ALTITUDE_UP>),
    mouse_area({359, 41, 21, 48}, CURSOR_DOWN, MOUSE_LEFT_REPEAT, send<EVENT_VS_DOWN>),
    mouse_area({391, 40, 20, 48}, CURSOR_UP, MOUSE_LEFT_REPEAT, send<EVENT_VS_UP>),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks

static double KCALL heading_light(IconElement* e) { return lit_while(e, power, is_on(heading_hold.value.d)); }
static double KCALL autopilot_light(IconElement* e) { return lit_while(e, power, is_on(autopilot.value.d)); }
static double KCALL nav_light(IconElement* e) { return lit_while(e, power, is_on(nav_hold.value.d)); }
static double KCALL autothrottle_light(IconElement* e) { return lit_while(e, power, is_on(autothrottle.value.d)); }
static double KCALL altitude_hold_light(IconElement* e) { return lit_while(e, power, is_on(altitude_hold.value.d)); }
static double KCALL approach_light(IconElement* e) { return lit_while(e, power, is_on(approach_hold.value.d)); }

// The knob pointers are never lit.
static double KCALL heading_pointer(NeedleElement*) {
    return hdg_mode != 0 ? heading.value.d : course.value.d;
}

static double KCALL altitude_pointer(NeedleElement* e) { return e->source.value.d; }

// A label that shows only while `shown` holds.
static double label_if(TextElement* e, bool shown, const char* format) {
    apply_power(e, power);
    show_if(e, shown);
    format_text(e, format, e->source[0].value.d);
    return 0;
}

template <const char* Caption>
static double KCALL lit(TextElement* e) {
    return caption(e, power, Caption);
}

static double KCALL mach_label(TextElement* e) { return label_if(e, ias_mode == 0, MACH); }
static double KCALL ias_label(TextElement* e) { return label_if(e, ias_mode == 1, IAS); }
static double KCALL crs_label(TextElement* e) { return label_if(e, hdg_mode == 0, CRS); }
static double KCALL hdg_label(TextElement* e) { return label_if(e, hdg_mode == 1, HDG); }
static double KCALL ft_label(TextElement* e) { return label_if(e, metric_mode == 0, FT); }
static double KCALL m_label(TextElement* e) { return label_if(e, metric_mode == 1, M); }

static double KCALL mach_digits(TextElement* e) {
    return label_if(e, ias_mode == 0, "%.2f");
}

static double KCALL speed_digits(TextElement* e) {
    return label_if(e, ias_mode == 1, "%03.0f");
}

// A selected heading (or course) of 0 reads 360.
static double KCALL heading_digits(TextElement* e) {
    apply_power(e, power);
    float v = to_single(hdg_mode == 1 ? heading.value.d : course.value.d);
    if (v == 0) v = 360.0f;
    format_text(e, "%03.0f", v);
    return 0;
}

// Metres are feet / 3.28 in both windows.
static double metric(double feet) { return metric_mode != 0 ? feet / 3.28 : feet; }

static double KCALL altitude_digits(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%05.0f", metric(altitude.value.d));
    return 0;
}

static double KCALL vertical_speed_digits(TextElement* e) {
    apply_power(e, power);
    format_text(e, "%04.0f", metric(vertical_speed.value.d));
    return 0;
}

// The sprites' X and Y: their own empty sources.
static double KCALL knob_x(SpriteElement* e) { return e->source_x.value.d; }
static double KCALL knob_y(SpriteElement* e) { return e->source_y.value.d; }

// The speed knob turns a degree a knot, or 400 degrees a Mach.
static double KCALL speed_knob(SpriteElement*) {
    return ias_mode != 0 ? speed.value.d : 400.0 * mach.value.d;
}

static double KCALL vertical_speed_knob(SpriteElement* e) { return e->source_rotation.value.d; }

// ---------------------------------------------------------------------------
// Mouse callbacks: the change, then the click. The mode buttons' follow-up
// events end a mode that the new one replaces; they test the modes as the
// last pre-update read them, not what the event just sent did.

static void click() { play_system_sound(SOUND_CLICK); }

template <uint32_t Event>
static int32_t KCALL send(MouseArgs*, uint32_t) {
    key_event(Event);
    click();
    return 0;
}

static int32_t KCALL spd_mach_pressed(MouseArgs*, uint32_t) {
    toggle(ias_mode);
    click();
    return 0;
}

static int32_t KCALL speed_down(MouseArgs*, uint32_t) {
    key_event(ias_mode != 0 ? EVENT_SPEED_DOWN : EVENT_MACH_DOWN);
    click();
    return 0;
}

static int32_t KCALL speed_up(MouseArgs*, uint32_t) {
    key_event(ias_mode != 0 ? EVENT_SPEED_UP : EVENT_MACH_UP);
    click();
    return 0;
}

static int32_t KCALL hdg_crs_pressed(MouseArgs*, uint32_t) {
    toggle(hdg_mode);
    click();
    return 0;
}

static int32_t KCALL heading_down(MouseArgs*, uint32_t) {
    key_event(hdg_mode == 1 ? EVENT_HEADING_DOWN : EVENT_COURSE_DOWN);
    click();
    return 0;
}

static int32_t KCALL heading_up(MouseArgs*, uint32_t) {
    key_event(hdg_mode == 1 ? EVENT_HEADING_UP : EVENT_COURSE_UP);
    click();
    return 0;
}

// HDG ends navigation hold.
static int32_t KCALL hdg_pressed(MouseArgs*, uint32_t) {
    key_event(EVENT_HEADING_HOLD);
    click();
    if (is_on(nav_hold.value.d)) key_event(EVENT_NAV_HOLD_OFF);
    return 0;
}

// NAV ends heading hold.
static int32_t KCALL nav_pressed(MouseArgs*, uint32_t) {
    key_event(EVENT_NAV_HOLD);
    click();
    if (is_on(heading_hold.value.d)) key_event(EVENT_HEADING_HOLD_OFF);
    return 0;
}

// HLD ends approach hold.
static int32_t KCALL hld_pressed(MouseArgs*, uint32_t) {
    key_event(EVENT_ALTITUDE_HOLD);
    click();
    if (is_on(approach_hold.value.d)) key_event(EVENT_APPROACH_HOLD_OFF);
    return 0;
}

// APPR ends navigation hold, then heading hold.
static int32_t KCALL appr_pressed(MouseArgs*, uint32_t) {
    key_event(EVENT_APPROACH_HOLD);
    click();
    if (is_on(nav_hold.value.d)) key_event(EVENT_NAV_HOLD_OFF);
    if (is_on(heading_hold.value.d)) key_event(EVENT_HEADING_HOLD_OFF);
    return 0;
}

static int32_t KCALL metric_pressed(MouseArgs*, uint32_t) {
    toggle(metric_mode);
    click();
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// First draw: the windows start in Mach, course and feet.
static void reset_modes() {
    ias_mode = 0;
    hdg_mode = 0;
    metric_mode = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {{&power, "power"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
    .first_draw = reset_modes,
};
