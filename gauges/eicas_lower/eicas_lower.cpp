// Lower engine display, 208x78, below the upper one: for engines 1 and 2 the
// fuel used since the engine's last start, oil temperature, and vibration
// read twice (VIB N1 and VIB N2). A black cover hides the screen unless the
// battery master (0x16C) and "eicas" are both on. It only displays: no
// clickable area, no sound.
//
// The display does not read "power": every element but the cover sets the
// bright bit on every call and never clears it.
#include "frame/gauge.h"

// Shared variables
static ModuleVar eicas;  // nonzero: the engine displays are switched on

// Simulator variables watched by the gauge, refreshed on every pre-update in
// this order.
static ModuleVar fuel_flow_1 = sim_var(FUEL_FLOW_1);     // pounds per hour
static ModuleVar fuel_on_board = sim_var(FUEL_ON_BOARD);   // pounds
static ModuleVar fuel_flow_2 = sim_var(FUEL_FLOW_2);
static ModuleVar starter_1 = sim_var(STARTER_1);       // 1: the starter runs
static ModuleVar starter_2 = sim_var(STARTER_2);
static ModuleVar oil_1 = sim_var(OIL_TEMPERATURE_1);           // degrees Rankine
static ModuleVar oil_2 = sim_var(OIL_TEMPERATURE_2);
static ModuleVar vibration_1 = sim_var(VIBRATION_1);     // raw value
static ModuleVar vibration_2 = sim_var(VIBRATION_2);
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // 0: the screen is covered

static ModuleVar* const watched[] = {
    &fuel_flow_1, &fuel_on_board, &fuel_flow_2, &starter_1,   &starter_2,
    &oil_1,       &oil_2,         &vibration_1, &vibration_2, &battery_master,
};

constexpr double POUNDS_PER_KG = 2.2046;
constexpr double RANKINE_ZERO_CELSIUS = 490;
constexpr double RUNNING_FUEL_FLOW = 20;  // pounds per hour: above it, the engine burns fuel

// Own state: each engine's fuel-used reference, half the fuel on board in
// pounds (truncated) when its starter last ran, or at the first draw.
static int32_t fuel_ref_1;
static int32_t fuel_ref_2;

static double KCALL markings(IconElement* e);
static double KCALL engine_label(TextElement* e);
static double KCALL fuel_used_label(TextElement* e);
static double KCALL kg_label(TextElement* e);
static double KCALL fuel_used_1(TextElement* e);
static double KCALL fuel_used_2(TextElement* e);
static double KCALL oil_1_text(TextElement* e);
static double KCALL oil_2_text(TextElement* e);
static double KCALL oil_label(TextElement* e);
static double KCALL degree_label(TextElement* e);
static double KCALL celsius_label(TextElement* e);
static double KCALL vib_n1_label(TextElement* e);
static double KCALL vib_n1_1(TextElement* e);
static double KCALL vib_n1_2(TextElement* e);
static double KCALL vib_n2_label(TextElement* e);
static double KCALL vib_n2_1(TextElement* e);
static double KCALL vib_n2_2(TextElement* e);
static double KCALL cover(IconElement* e);

// Colours (0x00BBGGRR): labels white, units blue, values green. The second
// colour of each style is the element's background colour.
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLUE = 0xFF7F5B;
constexpr uint32_t GREEN = 0x03D503;

constexpr TextStyle style(const char* font, uint32_t colour, uint32_t background) {
    return {font, 500, colour, background};
}
constexpr const char* ARIAL = "Arial";
constexpr const char* NARROW = "Arial Narrow";

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                                                   //  0 screen, 208x78
    icon(0x1200, {0, 0}, 2, markings),                                      //  1 marks and divider
    text({11, 3}, {199, 15}, style(NARROW, WHITE, 0x80FFFF), engine_label),     //  2 "ENGINE"
    text({46, 19}, {164, 14}, style(NARROW, WHITE, 0x80FFFF), fuel_used_label),  //  3 "F. USED"
    text({56, 30}, {154, 15}, style(NARROW, BLUE, 0x80FFFF), kg_label),     //  4 "KG"
    text({7, 32}, {203, 19}, style(ARIAL, GREEN, 0x80FFFF), fuel_used_1),   //  5
    text({91, 32}, {119, 19}, style(ARIAL, GREEN, 0x80FFFF), fuel_used_2),  //  6
    text({7, 51}, {203, 19}, style(ARIAL, GREEN, 0x80FFFF), oil_1_text),    //  7
    text({91, 50}, {119, 19}, style(ARIAL, GREEN, 0x80FFFF), oil_2_text),   //  8
    text({53, 45}, {157, 15}, style(NARROW, WHITE, 0x4080FF), oil_label),   //  9 "OIL"
    text({54, 57}, {156, 12}, style(NARROW, BLUE, 0xC08000), degree_label),  // 10 "o"
    text({60, 56}, {150, 15}, style(NARROW, BLUE, 0x00FF00), celsius_label),  // 11 "C"
    text({155, 13}, {55, 16}, style(NARROW, WHITE, 0x80FFFF), vib_n1_label),  // 12 "VIB (N 1)"
    text({150, 28}, {60, 19}, style(ARIAL, GREEN, 0x80FFFF), vib_n1_1),     // 13
    text({182, 28}, {28, 19}, style(ARIAL, GREEN, 0x4080FF), vib_n1_2),     // 14
    text({156, 41}, {54, 16}, style(NARROW, WHITE, 0x80FFFF), vib_n2_label),  // 15 "VIB (N 2)"
    text({150, 56}, {60, 19}, style(ARIAL, GREEN, 0x80FFFF), vib_n2_1),     // 16
    text({181, 56}, {29, 19}, style(ARIAL, GREEN, 0x4080FF), vib_n2_2),     // 17
    icon(0x1300, {0, 0}, 2, cover),                                         // 18 cover, 208x78
};

// ---------------------------------------------------------------------------
// Fuel-used references

// Half the fuel on board, in whole pounds; saturated where the simulator's
// value does not fit 32 bits.
static int32_t half_fuel() { return to_int32(0.5 * fuel_on_board.value.d); }

// While a starter runs, its engine's fuel used stays at zero: the count
// starts when the starter stops.
static void update() {
    if (is_on(starter_1.value.d)) fuel_ref_1 = half_fuel();
    if (is_on(starter_2.value.d)) fuel_ref_2 = half_fuel();
}

static void first_draw() { fuel_ref_1 = fuel_ref_2 = half_fuel(); }

// ---------------------------------------------------------------------------
// Callbacks

template <class E>
static void lit(E* e) {
    set_bright(e, true);
}

static double KCALL markings(IconElement* e) {
    lit(e);
    return e->source.value.d;
}

static double readout(TextElement* e, const char* format, double value) {
    lit(e);
    format_text(e, format, value);
    return 0;
}

// Each engine is charged half the fuel burned since its reference was set;
// an engine that burns no fuel reads 0.
static double fuel_used(TextElement* e, double fuel_flow, int32_t reference) {
    const double used = fuel_flow > RUNNING_FUEL_FLOW ? (reference - 0.5 * fuel_on_board.value.d) / POUNDS_PER_KG : 0;
    return readout(e, "%.0f", used);
}

static double KCALL fuel_used_1(TextElement* e) { return fuel_used(e, fuel_flow_1.value.d, fuel_ref_1); }
static double KCALL fuel_used_2(TextElement* e) { return fuel_used(e, fuel_flow_2.value.d, fuel_ref_2); }

static double celsius(double rankine) { return (rankine - RANKINE_ZERO_CELSIUS) * 5 / 9; }

static double KCALL oil_1_text(TextElement* e) { return readout(e, "%.0f", celsius(oil_1.value.d)); }
static double KCALL oil_2_text(TextElement* e) { return readout(e, "%.0f", celsius(oil_2.value.d)); }

static double KCALL vib_n1_1(TextElement* e) { return readout(e, "%.1f", vibration_1.value.d / 5); }
static double KCALL vib_n1_2(TextElement* e) { return readout(e, "%.1f", vibration_2.value.d / 5); }
static double KCALL vib_n2_1(TextElement* e) { return readout(e, "%.1f", vibration_1.value.d / 7); }
static double KCALL vib_n2_2(TextElement* e) { return readout(e, "%.1f", vibration_2.value.d / 7); }

static double KCALL engine_label(TextElement* e) { return bright_caption(e, "ENGINE%400.0f"); }
static double KCALL fuel_used_label(TextElement* e) { return bright_caption(e, "F. USED%400.0f"); }
static double KCALL kg_label(TextElement* e) { return bright_caption(e, "KG%400.0f"); }
static double KCALL oil_label(TextElement* e) { return bright_caption(e, "OIL%400.0f"); }
static double KCALL degree_label(TextElement* e) { return bright_caption(e, "o%400.0f"); }
static double KCALL celsius_label(TextElement* e) { return bright_caption(e, "C%400.0f"); }
static double KCALL vib_n1_label(TextElement* e) { return bright_caption(e, "VIB (N 1)%400.0f"); }
static double KCALL vib_n2_label(TextElement* e) { return bright_caption(e, "VIB (N 2)%400.0f"); }

// Covered unless both the battery master and the display selector are on.
static double KCALL cover(IconElement* e) { return display_cover(e, battery_master, eicas); }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {{&eicas, "eicas"}};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
    .update = update,
    .first_draw = first_draw,
};
