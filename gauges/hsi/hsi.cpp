// Horizontal situation indicator, 210x230: the electronic navigation display
// with a compass card turning with the heading, the selected course pointer
// with its deviation bar, the selected heading marker, one bearing pointer,
// the wind arrow, and texts: wind, course, outside air temperature, heading,
// the navigation source, and in the lower corners the frequency and distance
// of the first navigation radio (left) and of the second navigation radio or
// the direction finder (right).
//
// Two presentations, chosen by the shared variable "rose": the expanded arc
// (0), a large card whose centre sits low on the face, and the full compass
// rose (1). "adfvor" puts the direction finder (nonzero) or the second
// navigation radio (0) on the bearing pointer and in the right corner. A
// dark cover hides the face unless the battery master (0x16C) and "display"
// are both on. No clickable area, no sound.
//
// The display does not bind "power": every element but the cover sets the
// bright bit on every call.
#include <stdlib.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar rose;     // 1: compass rose; 0: expanded arc
static ModuleVar adfvor;   // 1: direction finder in the right corner; nonzero: on the pointer
static ModuleVar display;  // nonzero: the display selector is on

// Simulator variables watched by the gauge, refreshed on every pre-update in
// this order.
static ModuleVar selected_heading = sim_var(SELECTED_HEADING);  // degrees
static ModuleVar heading = sim_var(HEADING);           // degrees
static ModuleVar selected_course = sim_var(SELECTED_COURSE);  // degrees
static ModuleVar wind_direction = sim_var(WIND_DIRECTION);   // degrees, where the wind comes from
static ModuleVar nav2_bearing = sim_var(NAV2_BEARING);      // degrees, relative to the aircraft
static ModuleVar adf_bearing = sim_var(ADF_BEARING);       // degrees, relative to the aircraft
static ModuleVar adf_extension = sim_var(ADF_EXTENSION);     // integer: thousands digit bits 8-11, tenths bits 0-3
static ModuleVar nav_source = sim_var(NAV_SOURCE);       // 1: the GPS drives navigation
static ModuleVar battery_master = sim_var(BATTERY_MASTER);

static ModuleVar* const watched[] = {
    &selected_heading, &heading,     &selected_course, &wind_direction, &nav2_bearing,
    &adf_bearing,      &adf_extension, &nav_source,    &battery_master,
};

static double KCALL arc_card(SpriteElement* e);
static double KCALL arc_heading(TextElement* e);
static double KCALL arc_x(SpriteElement* e);
static double KCALL arc_y(SpriteElement* e);
static double KCALL arc_course(SpriteElement* e);
static double KCALL arc_selected_heading(SpriteElement* e);
static double KCALL wind_speed_text(TextElement* e);
static double KCALL wind_direction_text(TextElement* e);
static double KCALL course_text(TextElement* e);
static double KCALL rose_card(SpriteElement* e);
static double KCALL rose_x(SpriteElement* e);
static double KCALL rose_y(SpriteElement* e);
static double KCALL rose_course(SpriteElement* e);
static double KCALL rose_selected_heading(SpriteElement* e);
static double KCALL rose_bearing(SpriteElement* e);
static double KCALL rose_heading(TextElement* e);
static double KCALL nav1_distance(TextElement* e);
static double KCALL nav1_frequency(TextElement* e);
static double KCALL ils_label(TextElement* e);
static double KCALL vor_label(TextElement* e);
static double KCALL nav2_label(TextElement* e);
static double KCALL nav2_frequency(TextElement* e);
static double KCALL nav2_distance(TextElement* e);
static double KCALL outside_air(TextElement* e);
static double KCALL wind_x(SpriteElement* e);
static double KCALL wind_y(SpriteElement* e);
static double KCALL wind_arrow(SpriteElement* e);
static double KCALL arc_hdg_label(TextElement* e);
static double KCALL arc_mag_label(TextElement* e);
static double KCALL rose_hdg_label(TextElement* e);
static double KCALL rose_mag_label(TextElement* e);
static double KCALL arc_pointer_x(SpriteElement* e);
static double KCALL arc_pointer_y(SpriteElement* e);
static double KCALL arc_bearing(SpriteElement* e);
static double KCALL adf_label(TextElement* e);
static double KCALL adf_frequency(TextElement* e);
static double KCALL gps_label(TextElement* e);
static double KCALL nav_label(TextElement* e);
static double KCALL cover(IconElement* e);

// Colours (0x00BBGGRR) and fonts of the texts.
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t CYAN = 0xE5E500;
constexpr uint32_t YELLOW = 0xFFFF;
constexpr uint32_t GREEN = 0xFF00;
constexpr TextStyle WHITE_A = {"Arial", 500, WHITE, 0x80FFFF};
constexpr TextStyle WHITE_B = {"Arial", 500, WHITE, 0xFFFF};
constexpr TextStyle WHITE_C = {"Arial", 500, WHITE, 0x80FF};
constexpr TextStyle WHITE_D = {"Arial", 500, WHITE, 0x4080FF};
constexpr TextStyle CYAN_A = {"Arial", 500, CYAN, 0x80FFFF};
constexpr TextStyle CYAN_D = {"Arial", 500, CYAN, 0x4080FF};
constexpr TextStyle YELLOW_A = {"Arial", 500, YELLOW, 0x80FFFF};
constexpr TextStyle YELLOW_D = {"Arial", 500, YELLOW, 0x4080FF};
constexpr TextStyle GREEN_A = {"Arial", 500, GREEN, 0x80FFFF};
constexpr TextStyle GREEN_D = {"Arial", 500, GREEN, 0x4080FF};

// Sprite scales: the cards turn with the heading; the pointers turn the other
// way by the angle their callbacks give; the deviation bars slide 40 (arc)
// and 30 (rose) pixels at full deflection, 127.
constexpr double TURN_WITH = 1.0, TURN_AGAINST = -1.0;
constexpr double ARC_DEVIATION = -0.31496062992126;   // -40/127
constexpr double ROSE_DEVIATION = -0.236220472440945;  // -30/127

// Where the cards turn: the arc's centre sits low on the face, the rose's in
// the middle.
constexpr PixPoint ARC_CENTRE = {105, 189};
constexpr PixPoint ROSE_CARD_CENTRE = {104, 125};
constexpr PixPoint ROSE_CENTRE = {105, 127};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                                          // 0 black face
    sprite(0x2400, {0, 0}, ARC_CENTRE, {0, arc_x, 0}, {0, arc_y, 0},
           {TURN_WITH, arc_card, HEADING}),                                        // 1 compass card, arc
    text({95, 25}, {117, 18}, WHITE_A, arc_heading, HEADING),  // 2 heading, arc
    sprite(0x1200, {0, 0}, ARC_CENTRE, {0, arc_x, 0}, {0, arc_y, 0},
           {TURN_AGAINST, arc_course, 0}),                                         // 3 course pointer, arc
    sprite(0x1600, {0, 0}, ARC_CENTRE, {ARC_DEVIATION, arc_x, LOCALIZER}, {0, arc_y, 0},
           {TURN_AGAINST, arc_course, 0}),                                         // 4 deviation bar, arc
    sprite(0x2800, {0, 0}, ARC_CENTRE, {0, arc_x, 0}, {0, arc_y, 0},
           {TURN_AGAINST, arc_selected_heading, 0}),                               // 5 selected heading line, arc
    text({4, 2}, {208, 16}, WHITE_B, wind_speed_text, WIND_SPEED),                 // 6 wind speed
    text({31, 2}, {181, 16}, WHITE_C, wind_direction_text, WIND_DIRECTION),             // 7 wind direction
    text({75, 2}, {137, 16}, WHITE_B, course_text, SELECTED_COURSE),                        // 8 selected course
    sprite(0x1400, {0, 0}, ROSE_CARD_CENTRE, {0, rose_x, 0}, {0, rose_y, 0},
           {TURN_WITH, rose_card, HEADING}),                                       // 9 compass rose card
    sprite(0x3000, {0, 0}, ROSE_CENTRE, {0, rose_x, 0}, {0, rose_y, 0},
           {TURN_AGAINST, rose_course, 0}),                                        // 10 course pointer, rose
    sprite(0x2000, {0, 0}, ROSE_CENTRE, {ROSE_DEVIATION, rose_x, LOCALIZER}, {0, rose_y, 0},
           {TURN_AGAINST, rose_course, 0}),                                        // 11 deviation bar, rose
    sprite(0x2600, {0, 0}, ROSE_CENTRE, {0, rose_x, 0}, {0, rose_y, 0},
           {TURN_AGAINST, rose_selected_heading, 0}),                              // 12 selected heading marker, rose
    sprite(0x2200, {0, 0}, ROSE_CENTRE, {0, rose_x, 0}, {0, rose_y, 0},
           {TURN_AGAINST, rose_bearing, 0}),                                       // 13 bearing pointer, rose
    text({95, 17}, {117, 18}, WHITE_D, rose_heading, HEADING),                     // 14 heading, rose
    text({1, 216}, {211, 15}, CYAN_A, nav1_distance, NAV1_DISTANCE),               // 15 first radio distance
    text({1, 203}, {211, 15}, CYAN_A, nav1_frequency, NAV1_ACTIVE),             // 16 first radio frequency
    text({1, 190}, {211, 15}, CYAN_A, ils_label, NAV1_ACTIVE),                  // 17 "ILS"
    text({1, 190}, {211, 15}, CYAN_D, vor_label, NAV1_ACTIVE),                  // 18 "CRS"
    text({174, 190}, {38, 15}, YELLOW_A, nav2_label),                              // 19 "VOR 2"
    text({174, 203}, {38, 15}, YELLOW_A, nav2_frequency, NAV2_ACTIVE),          // 20 second radio frequency
    text({161, 216}, {51, 15}, YELLOW_A, nav2_distance, NAV2_DISTANCE),            // 21 second radio distance
    text({150, 2}, {62, 16}, WHITE_A, outside_air, OUTSIDE_AIR),                   // 22 outside air temperature
    sprite(0x1800, {0, 0}, {23, 33}, {0, wind_x, 0}, {0, wind_y, 0},
           {TURN_AGAINST, wind_arrow, 0}),                                         // 23 wind arrow
    text({63, 25}, {149, 16}, GREEN_A, arc_hdg_label),                             // 24 "HDG", arc
    text({123, 25}, {89, 16}, GREEN_A, arc_mag_label),                             // 25 "MAG", arc
    text({64, 20}, {148, 16}, GREEN_D, rose_hdg_label),                            // 26 "HDG", rose
    text({123, 20}, {89, 16}, GREEN_D, rose_mag_label),                            // 27 "MAG", rose
    sprite(0x3200, {0, 0}, ARC_CENTRE, {0, arc_pointer_x, 0}, {0, arc_pointer_y, 0},
           {TURN_AGAINST, arc_bearing, 0}),                                        // 28 bearing pointer, arc
    text({174, 190}, {38, 15}, YELLOW_D, adf_label),                               // 29 "ADF"
    text({174, 203}, {38, 15}, YELLOW_D, adf_frequency, ADF_FREQUENCY),            // 30 direction finder frequency
    text({177, 20}, {35, 13}, WHITE_A, gps_label),                                 // 31 "GPS"
    text({177, 20}, {35, 13}, WHITE_D, nav_label),                                 // 32 "NAV"
    icon(0x3400, {0, 0}, 1, cover),                                                // 33 dark grey cover
};

// ---------------------------------------------------------------------------
// Callbacks

// The presentation rules. The arc set hides only at "rose" 1 and its labels
// and pointer show only at 0, so any other value shows neither the rose nor
// the arc's labels.
static bool arc_shown() { return shared_get(rose) != 1; }
static bool arc_labels_shown() { return shared_get(rose) == 0; }
static bool rose_shown() { return shared_get(rose) == 1; }

// Lit always, shown by the rule.
template <class E>
static void lit_if(E* e, bool shown) {
    set_bright(e, true);
    show_if(e, shown);
}

// The angle of a bearing relative to the heading: bearing + 360 - heading,
// brought back once by 360 when above 359.
static double relative(double bearing) {
    double a = bearing + 360 - heading.value.d;
    if (a > 359) a = a - 360;
    return a;
}

// A readout of degrees in three digits, 360 for north.
static double degrees_text(TextElement* e, bool shown, const char* format) {
    lit_if(e, shown);
    const float v = to_single(e->source[0].value.d);
    format_text(e, format, v == 0 ? 360 : v);
    return 0;
}

// A label: the number of the format lies far outside the box.
static double label(TextElement* e, bool shown, const char* format) {
    lit_if(e, shown);
    format_text(e, format, e->source[0].value.d);
    return 0;
}

// A navigation radio's frequency word (hundreds digit 1 implied) as the
// number its digits spell: the digits printed as text, read back, and held
// in single precision. A nibble above 9 prints as two digits.
static float nav_frequency(uint32_t f) {
    char digits[32];
    wsprintfA(digits, "1%d%d.%d%d", int((f >> 12) & 0xF), int((f >> 8) & 0xF), int((f >> 4) & 0xF),
              int(f & 0xF));
    return to_single(atof(digits));
}

// The direction finder's frequency: thousands and tenths from the extension
// word, hundreds to units from the frequency word.
static float adf_frequency_of(uint32_t extension, uint32_t f) {
    char digits[32];
    wsprintfA(digits, "%d%d%d%d.%d", int((extension >> 8) & 0xF), int((f >> 8) & 0xF),
              int((f >> 4) & 0xF), int(f & 0xF), int(extension & 0xF));
    return to_single(atof(digits));
}

// Compass cards: the rotation is the heading; they do not slide.
static double KCALL arc_card(SpriteElement* e) {
    lit_if(e, arc_shown());
    return e->source_rotation.value.d;
}
static double KCALL rose_card(SpriteElement* e) {
    lit_if(e, rose_shown());
    return e->source_rotation.value.d;
}

// The other sprites of each set: each axis returns its own source (the
// deviation bars' 0x28, 0 elsewhere).
static double KCALL arc_x(SpriteElement* e) {
    lit_if(e, arc_shown());
    return e->source_x.value.d;
}
static double KCALL arc_y(SpriteElement* e) {
    lit_if(e, arc_shown());
    return e->source_y.value.d;
}
static double KCALL rose_x(SpriteElement* e) {
    lit_if(e, rose_shown());
    return e->source_x.value.d;
}
static double KCALL rose_y(SpriteElement* e) {
    lit_if(e, rose_shown());
    return e->source_y.value.d;
}

static double KCALL arc_course(SpriteElement* e) {
    lit_if(e, arc_shown());
    return relative(selected_course.value.d);
}
static double KCALL arc_selected_heading(SpriteElement* e) {
    lit_if(e, arc_shown());
    return relative(selected_heading.value.d);
}
static double KCALL rose_course(SpriteElement* e) {
    lit_if(e, rose_shown());
    return relative(selected_course.value.d);
}
static double KCALL rose_selected_heading(SpriteElement* e) {
    lit_if(e, rose_shown());
    return relative(selected_heading.value.d);
}

// The bearing pointers: the direction finder whenever "adfvor" is nonzero,
// else the second navigation radio; both bearings are already relative.
static double pointer_bearing() {
    return shared_get(adfvor) != 0 ? adf_bearing.value.d : nav2_bearing.value.d;
}
static double KCALL rose_bearing(SpriteElement* e) {
    lit_if(e, rose_shown());
    return pointer_bearing();
}
static double KCALL arc_pointer_x(SpriteElement* e) {
    lit_if(e, arc_labels_shown());
    return e->source_x.value.d;
}
static double KCALL arc_pointer_y(SpriteElement* e) {
    lit_if(e, arc_labels_shown());
    return e->source_y.value.d;
}
static double KCALL arc_bearing(SpriteElement* e) {
    lit_if(e, arc_labels_shown());
    return pointer_bearing();
}

// The wind arrow, always shown.
static double KCALL wind_x(SpriteElement* e) {
    lit_if(e, true);
    return e->source_x.value.d;
}
static double KCALL wind_y(SpriteElement* e) {
    lit_if(e, true);
    return e->source_y.value.d;
}
static double KCALL wind_arrow(SpriteElement* e) {
    lit_if(e, true);
    return relative(wind_direction.value.d);
}

static double KCALL arc_heading(TextElement* e) { return degrees_text(e, arc_shown(), "%03.0f"); }
static double KCALL rose_heading(TextElement* e) { return degrees_text(e, rose_shown(), "%03.0f"); }
static double KCALL course_text(TextElement* e) { return degrees_text(e, true, "CRS  %03.0f"); }

static double KCALL wind_speed_text(TextElement* e) { return label(e, true, "%03.0f /"); }
static double KCALL wind_direction_text(TextElement* e) { return label(e, true, "%03.0f"); }
static double KCALL nav1_distance(TextElement* e) { return label(e, true, "%.1f Nm"); }
static double KCALL nav2_distance(TextElement* e) { return label(e, true, "%.1f Nm"); }
static double KCALL outside_air(TextElement* e) { return label(e, true, "OAT %.0f C"); }

static double KCALL nav1_frequency(TextElement* e) {
    lit_if(e, true);
    format_text(e, "%.2f", nav_frequency(e->source[0].value.u));
    return 0;
}
static double KCALL nav2_frequency(TextElement* e) {
    lit_if(e, shared_get(adfvor) == 0);
    format_text(e, "%.2f", nav_frequency(e->source[0].value.u));
    return 0;
}
static double KCALL adf_frequency(TextElement* e) {
    lit_if(e, shared_get(adfvor) == 1);
    format_text(e, "%.1f", adf_frequency_of(adf_extension.value.u, e->source[0].value.u));
    return 0;
}

// Localizer frequencies lie below 112; both labels print the frequency far
// outside their box.
static double KCALL ils_label(TextElement* e) {
    const float x = nav_frequency(e->source[0].value.u);
    lit_if(e, x < 112);
    format_text(e, "ILS%200.0f", x);
    return 0;
}
static double KCALL vor_label(TextElement* e) {
    const float x = nav_frequency(e->source[0].value.u);
    lit_if(e, x > 111.95);
    format_text(e, "CRS%200.0f", x);
    return 0;
}

static double KCALL nav2_label(TextElement* e) { return label(e, shared_get(adfvor) == 0, "VOR 2%200.0f"); }
static double KCALL adf_label(TextElement* e) { return label(e, shared_get(adfvor) == 1, "ADF%200.0f"); }
static double KCALL arc_hdg_label(TextElement* e) { return label(e, arc_labels_shown(), "HDG%200.0f"); }
static double KCALL arc_mag_label(TextElement* e) { return label(e, arc_labels_shown(), "MAG%200.0f"); }
static double KCALL rose_hdg_label(TextElement* e) { return label(e, rose_shown(), "HDG%200.0f"); }
static double KCALL rose_mag_label(TextElement* e) { return label(e, rose_shown(), "MAG%200.0f"); }
static double KCALL gps_label(TextElement* e) { return label(e, nav_source.value.d == 1, "GPS%200.0f"); }
static double KCALL nav_label(TextElement* e) { return label(e, nav_source.value.d == 0, "NAV%200.0f"); }

// The cover leaves the bright bit alone.
static double KCALL cover(IconElement* e) { return display_cover(e, battery_master, display); }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {{&rose, "rose"}, {&adfvor, "adfvor"}, {&display, "display"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
};
