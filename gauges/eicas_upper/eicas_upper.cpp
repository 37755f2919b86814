// Upper engine and warning display, 205x217: for engines 1 and 2 the N1 and
// EGT dials with their readouts, N2 and fuel flow; fuel on board, the slat
// and flap indication with the selected setting, and the memo (cabin signs,
// parking brake, APU, spoilers, flaps full, autobrake). A black cover hides
// the screen unless the battery master (0x16C) and "eicas" are both on. It
// only displays: no clickable area, no sound.
//
// The display does not read "power": every element but the cover sets the
// bright bit on every call and never clears it.
#include <math.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar seatbelts;  // 1: SEAT BELTS memo
static ModuleVar nosmoking;  // 1: NO SMOKING memo
static ModuleVar apu;        // 3: APU AVAIL memo
static ModuleVar eicas;      // nonzero: the engine displays are switched on
static ModuleVar autobrake;  // "ab": 0 off, 1 LO, 2 MED, 3 MAX

// Simulator variables watched by the gauge, refreshed on every pre-update in
// this order.
static ModuleVar n1_1 = sim_var(N1_1);            // percent
static ModuleVar n1_2 = sim_var(N1_2);
static ModuleVar egt_1 = sim_var(EGT_1);           // degrees Rankine
static ModuleVar n2_1 = sim_var(N2_1);            // percent
static ModuleVar n2_2 = sim_var(N2_2);
static ModuleVar fuel_flow_1 = sim_var(FUEL_FLOW_1);     // pounds per hour
static ModuleVar fuel_flow_2 = sim_var(FUEL_FLOW_2);
static ModuleVar fuel_on_board = sim_var(FUEL_ON_BOARD);   // pounds
static ModuleVar parking_brake = sim_var(PARKING_BRAKE);   // above 0: set
static ModuleVar flap_handle = sim_var(FLAP_HANDLE);     // 0 up to 16383 full
static ModuleVar spoilers = sim_var(SPOILERS_ARMED);        // above 0: spoilers; 1: armed
static ModuleVar battery_master = sim_var(BATTERY_MASTER);  // 0: the screen is covered

static ModuleVar* const watched[] = {
    &n1_1,          &n1_2,          &egt_1,         &n2_1,        &n2_2,     &fuel_flow_1,
    &fuel_flow_2,   &fuel_on_board, &parking_brake, &flap_handle, &spoilers, &battery_master,
};

constexpr double POUNDS_PER_KG = 2.2046;
constexpr double RANKINE_ZERO_CELSIUS = 492;

static double KCALL scales(IconElement* e);
static double KCALL n1_needle(NeedleElement* e);
static double KCALL egt_needle(NeedleElement* e);
static double KCALL n1_1_whole(TextElement* e);
static double KCALL n1_1_tenths(TextElement* e);
static double KCALL n1_2_whole(TextElement* e);
static double KCALL n1_2_tenths(TextElement* e);
static double KCALL egt_1_text(TextElement* e);
static double KCALL egt_2_text(TextElement* e);
static double KCALL n1_label(TextElement* e);
static double KCALL egt_label(TextElement* e);
static double KCALL degree_label(TextElement* e);
static double KCALL celsius_label(TextElement* e);
static double KCALL percent_label(TextElement* e);
static double KCALL n2_1_whole(TextElement* e);
static double KCALL n2_1_tenths(TextElement* e);
static double KCALL n2_2_whole(TextElement* e);
static double KCALL n2_2_tenths(TextElement* e);
static double KCALL n2_label(TextElement* e);
static double KCALL fuel_flow_1_text(TextElement* e);
static double KCALL fuel_flow_2_text(TextElement* e);
static double KCALL ff_label(TextElement* e);
static double KCALL kg_per_hour_label(TextElement* e);
static double KCALL fob_label(TextElement* e);
static double KCALL fob_text(TextElement* e);
static double KCALL kg_label(TextElement* e);
static double KCALL seat_belts_memo(TextElement* e);
static double KCALL no_smoking_memo(TextElement* e);
static double KCALL park_brake_memo(TextElement* e);
static double KCALL apu_memo(TextElement* e);
static double KCALL flap_frame(IconElement* e);
static double KCALL slats_label(TextElement* e);
static double KCALL flaps_label(TextElement* e);
static double KCALL f_label(TextElement* e);
static double KCALL flap_number(TextElement* e);
static double KCALL spoilers_memo(TextElement* e);
static double KCALL armed_memo(TextElement* e);
static double KCALL flaps_full_memo(TextElement* e);
static double KCALL autobrake_memo(TextElement* e);
static double KCALL autobrake_lo(TextElement* e);
static double KCALL autobrake_med(TextElement* e);
static double KCALL autobrake_max(TextElement* e);
static double KCALL cover(IconElement* e);

// Colours (0x00BBGGRR): values green, labels white, units and states blue.
// The second colour of each style is the element's background colour.
constexpr uint32_t GREEN = 0x03D503;
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLUE = 0xFF7F5B;

constexpr TextStyle style(const char* font, uint32_t colour, uint32_t background) {
    return {font, 500, colour, background};
}
constexpr const char* ARIAL = "Arial";
constexpr const char* NARROW = "Arial Narrow";

// N1 dials 0 to 114 percent, EGT dials 0 to 1000 degrees Celsius.
static NonlinearityEntry n1_1_table[] = {point(8, 45, 0), point(11, 13, 50), point(51, 18, 100), point(52, 32, 114)};
static NonlinearityEntry n1_2_table[] = {point(79, 42, 0), point(83, 12, 50), point(122, 18, 100), point(124, 32, 114)};
static NonlinearityEntry egt_1_table[] = {point(8, 95, 0), point(12, 62, 500), point(52, 68, 1000)};
static NonlinearityEntry egt_2_table[] = {point(80, 96, 0), point(84, 62, 500), point(123, 68, 1000)};

static constinit Chain chain{
    &gauge_header,
    image(0x1100, {0, 0}),                                                     //  0 screen, 205x217
    icon(0x1200, {0, 0}, 2, scales),                                           //  1 dials, boxes, lines
    needle(0x1300, {28, 30}, {1, 1}, n1_1_table, n1_needle, N1_1),             //  2 engine 1 N1
    needle(0x1400, {99, 29}, {1, 1}, n1_2_table, n1_needle, N1_2),             //  3 engine 2 N1
    text({15, 31}, {192, 19}, style(ARIAL, GREEN, 0x80FFFF), n1_1_whole),      //  4
    text({36, 34}, {171, 16}, style(ARIAL, GREEN, 0x4080FF), n1_1_tenths),     //  5
    text({84, 31}, {123, 19}, style(ARIAL, GREEN, 0x008000), n1_2_whole),      //  6
    text({108, 33}, {99, 16}, style(ARIAL, GREEN, 0x80FFFF), n1_2_tenths),     //  7
    needle(0x1500, {28, 79}, {1, 1}, egt_1_table, egt_needle, EGT_1),          //  8 engine 1 EGT
    needle(0x1600, {98, 79}, {1, 1}, egt_2_table, egt_needle, EGT_2),          //  9 engine 2 EGT
    text({18, 80}, {189, 19}, style(ARIAL, GREEN, 0x80FFFF), egt_1_text),      // 10
    text({89, 80}, {118, 19}, style(ARIAL, GREEN, 0x00FFFF), egt_2_text, EGT_2),  // 11
    text({57, 27}, {150, 16}, style(ARIAL, WHITE, 0x00FF00), n1_label),        // 12 "N1"
    text({53, 75}, {154, 16}, style(NARROW, WHITE, 0xFFFF80), egt_label),      // 13 "EGT"
    text({57, 87}, {150, 13}, style(ARIAL, BLUE, 0xFF0000), degree_label),     // 14 "o"
    text({63, 87}, {144, 15}, style(ARIAL, BLUE, 0x00FF00), celsius_label),    // 15 "C"
    text({56, 38}, {151, 15}, style(NARROW, BLUE, 0xFF0000), percent_label),   // 16 "0/0"
    text({2, 103}, {205, 19}, style(ARIAL, GREEN, 0x80FFFF), n2_1_whole),      // 17
    text({25, 105}, {182, 16}, style(ARIAL, GREEN, 0x4080FF), n2_1_tenths),    // 18
    text({86, 103}, {121, 19}, style(ARIAL, GREEN, 0x00FFFF), n2_2_whole),     // 19
    text({109, 105}, {98, 16}, style(ARIAL, GREEN, 0x4080FF), n2_2_tenths),    // 20
    text({53, 95}, {154, 16}, style(ARIAL, WHITE, 0xFFFF80), n2_label),        // 21 "N2"
    text({55, 105}, {152, 14}, style(NARROW, BLUE, 0xFF0000), percent_label),  // 22 "0/0"
    text({4, 121}, {203, 19}, style(ARIAL, GREEN, 0x80FFFF), fuel_flow_1_text),  // 23
    text({90, 122}, {117, 19}, style(ARIAL, GREEN, 0x80FFFF), fuel_flow_2_text),  // 24
    text({54, 116}, {153, 16}, style(ARIAL, WHITE, 0x00FF00), ff_label),       // 25 "F.F"
    text({53, 127}, {154, 14}, style(NARROW, BLUE, 0xFF0000), kg_per_hour_label),  // 26 "KG/H"
    text({129, 67}, {78, 16}, style(ARIAL, WHITE, 0x80FFFF), fob_label),       // 27 "FOB:"
    text({155, 67}, {52, 16}, style(ARIAL, GREEN, 0x4080FF), fob_text),        // 28
    text({190, 67}, {17, 14}, style(NARROW, BLUE, 0xFF0000), kg_label),        // 29 "KG"
    text({8, 144}, {199, 15}, style(NARROW, GREEN, 0x80FFFF), seat_belts_memo),  // 30
    text({8, 156}, {199, 15}, style(NARROW, GREEN, 0x00FFFF), no_smoking_memo),  // 31
    text({133, 144}, {74, 15}, style(NARROW, GREEN, 0x80FFFF), park_brake_memo),  // 32
    text({133, 156}, {74, 15}, style(NARROW, GREEN, 0x00FFFF), apu_memo),      // 33
    icon(0x1700, {128, 79}, 9, flap_frame, FLAP_HANDLE),                       // 34 slats and flaps, 75x62
    text({134, 81}, {73, 15}, style(NARROW, BLUE, 0x80FFFF), slats_label),     // 35 "S"
    text({152, 81}, {55, 15}, style(NARROW, WHITE, 0x4080FF), flaps_label),    // 36 "FLAPS"
    text({185, 81}, {22, 15}, style(NARROW, BLUE, 0xFF8000), f_label),         // 37 "F"
    text({158, 110}, {49, 17}, style(NARROW, BLUE, 0xFF0000), flap_number, FLAP_HANDLE),  // 38
    text({8, 168}, {199, 15}, style(NARROW, GREEN, 0x80FFFF), spoilers_memo),  // 39
    text({50, 168}, {157, 15}, style(NARROW, BLUE, 0x80FFFF), armed_memo),     // 40
    text({8, 180}, {199, 15}, style(NARROW, GREEN, 0x80FFFF), flaps_full_memo, FLAP_HANDLE),  // 41
    text({8, 192}, {199, 15}, style(NARROW, GREEN, 0x80FFFF), autobrake_memo),  // 42
    text({50, 192}, {157, 15}, style(NARROW, BLUE, 0x80FFFF), autobrake_lo),   // 43
    text({50, 192}, {157, 15}, style(NARROW, BLUE, 0x000000), autobrake_med),  // 44
    text({50, 192}, {157, 15}, style(NARROW, BLUE, 0x80FFFF), autobrake_max),  // 45
    icon(0x1900, {0, 0}, 2, cover),                                            // 46 cover, 205x217
};

// ---------------------------------------------------------------------------
// Callbacks

template <class E>
static void lit(E* e) {
    set_bright(e, true);
}

static double KCALL scales(IconElement* e) {
    lit(e);
    return e->source.value.d;
}

static double KCALL n1_needle(NeedleElement* e) {
    lit(e);
    return e->source.value.d;
}

static double celsius(double rankine) { return (rankine - RANKINE_ZERO_CELSIUS) * 5 / 9; }

static double KCALL egt_needle(NeedleElement* e) {
    lit(e);
    return celsius(e->source.value.d);
}

// A readout split in two texts: the whole part and the tenths digit, taken
// from the value times ten in single precision. The tenths never read ten and
// never carry into the whole part: 85.97 reads 85 and .9.
static double whole_part(TextElement* e, const char* format, double value) {
    lit(e);
    const double t = to_single(value * 10);
    format_text(e, format, (t - fmod(t, 10)) / 10);
    return 0;
}

static double tenths(TextElement* e, const char* format, double value) {
    lit(e);
    double digit = to_single(fmod(to_single(value * 10), 10));
    if (digit > 9) digit = 9;
    format_text(e, format, digit);
    return 0;
}

static double KCALL n1_1_whole(TextElement* e) { return whole_part(e, "%3.0f", n1_1.value.d); }
static double KCALL n1_1_tenths(TextElement* e) { return tenths(e, ".%1.0f", n1_1.value.d); }
static double KCALL n1_2_whole(TextElement* e) { return whole_part(e, "%3.0f", n1_2.value.d); }
static double KCALL n1_2_tenths(TextElement* e) { return tenths(e, ".%.0f", n1_2.value.d); }
static double KCALL n2_1_whole(TextElement* e) { return whole_part(e, "%03.0f", n2_1.value.d); }
static double KCALL n2_1_tenths(TextElement* e) { return tenths(e, ".%.0f", n2_1.value.d); }
static double KCALL n2_2_whole(TextElement* e) { return whole_part(e, "%03.0f", n2_2.value.d); }
static double KCALL n2_2_tenths(TextElement* e) { return tenths(e, ".%.0f", n2_2.value.d); }

static double readout(TextElement* e, const char* format, double value) {
    lit(e);
    format_text(e, format, value);
    return 0;
}

static double KCALL egt_1_text(TextElement* e) { return readout(e, "%3.0f", celsius(egt_1.value.d)); }
static double KCALL egt_2_text(TextElement* e) {
    return readout(e, "%.0f", celsius(to_single(e->source[0].value.d)));
}
static double KCALL fuel_flow_1_text(TextElement* e) {
    return readout(e, "%.0f", fuel_flow_1.value.d / POUNDS_PER_KG);
}
static double KCALL fuel_flow_2_text(TextElement* e) {
    return readout(e, "%.0f", fuel_flow_2.value.d / POUNDS_PER_KG);
}
static double KCALL fob_text(TextElement* e) { return readout(e, "%.0f", fuel_on_board.value.d / POUNDS_PER_KG); }

// Labels, always shown.
static double KCALL n1_label(TextElement* e) { return bright_caption(e, "N1%400.0f"); }
static double KCALL egt_label(TextElement* e) { return bright_caption(e, "EGT%400.0f"); }
static double KCALL degree_label(TextElement* e) { return bright_caption(e, "o%400.0f"); }
static double KCALL celsius_label(TextElement* e) { return bright_caption(e, "C%400.0f"); }
static double KCALL percent_label(TextElement* e) { return bright_caption(e, "0/0%400.0f"); }
static double KCALL n2_label(TextElement* e) { return bright_caption(e, "N2%400.0f"); }
static double KCALL ff_label(TextElement* e) { return bright_caption(e, "F.F%400.0f"); }
static double KCALL kg_per_hour_label(TextElement* e) { return bright_caption(e, "KG/H%400.0f"); }
static double KCALL fob_label(TextElement* e) { return bright_caption(e, "FOB:%400.0f"); }
static double KCALL kg_label(TextElement* e) { return bright_caption(e, "KG%400.0f"); }

// A memo or label shown only while its condition holds.
static double memo(TextElement* e, bool shown, const char* format) {
    show_if(e, shown);
    return bright_caption(e, format);
}

static double KCALL seat_belts_memo(TextElement* e) {
    return memo(e, shared_get(seatbelts) == 1, "SEAT BELTS%400.0f");
}
static double KCALL no_smoking_memo(TextElement* e) {
    return memo(e, shared_get(nosmoking) == 1, "NO SMOKING%400.0f");
}
static double KCALL park_brake_memo(TextElement* e) {
    return memo(e, parking_brake.value.d > 0, "PARK BRK%400.0f");
}
static double KCALL apu_memo(TextElement* e) { return memo(e, shared_get(apu) == 3, "APU AVAIL%400.0f"); }
static double KCALL slats_label(TextElement* e) { return memo(e, flap_handle.value.d > 0, "S%400.0f"); }
static double KCALL flaps_label(TextElement* e) { return memo(e, flap_handle.value.d > 0, "FLAPS%400.0f"); }
static double KCALL f_label(TextElement* e) { return memo(e, flap_handle.value.d > 0, "F%400.0f"); }
static double KCALL spoilers_memo(TextElement* e) { return memo(e, spoilers.value.d > 0, "SPLRS%400.0f"); }
static double KCALL armed_memo(TextElement* e) {
    return memo(e, spoilers.value.d == 1, "..........ARM%400.0f");
}
static double KCALL flaps_full_memo(TextElement* e) {
    return memo(e, to_single(e->source[0].value.d) > 14336, "FLAPS FULL%400.0f");
}
static double KCALL autobrake_memo(TextElement* e) {
    return memo(e, shared_get(autobrake) != 0, "AUTO BRK%400.0f");
}
static double KCALL autobrake_lo(TextElement* e) {
    return memo(e, shared_get(autobrake) == 1, "..........LO%400.0f");
}
static double KCALL autobrake_med(TextElement* e) {
    return memo(e, shared_get(autobrake) == 2, "..........MED%400.0f");
}
static double KCALL autobrake_max(TextElement* e) {
    return memo(e, shared_get(autobrake) == 3, "..........MAX%400.0f");
}

// The handle's travel in eight steps of 2048, each test applied to the value
// the earlier ones left: `steps[k]` is what the k-th range gives, and above
// 14336 the last entry. 0 and below pass through unchanged.
static double flap_step(double h, const double (&steps)[8]) {
    if (h > 0 && h < 2049) h = steps[0];
    if (h > 2048 && h < 4097) h = steps[1];
    if (h > 4096 && h < 6145) h = steps[2];
    if (h > 6144 && h < 8193) h = steps[3];
    if (h > 8192 && h < 10241) h = steps[4];
    if (h > 10240 && h < 12289) h = steps[5];
    if (h > 12288 && h < 14337) h = steps[6];
    if (h > 14336) h = steps[7];
    return h;
}

// Frames 1 to 8 of the slat and flap picture.
static double KCALL flap_frame(IconElement* e) {
    static const double frames[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    lit(e);
    return flap_step(e->source.value.d, frames);
}

// The flap setting the handle step selects, hidden while the handle is up.
static double KCALL flap_number(TextElement* e) {
    static const double settings[8] = {1, 2, 5, 10, 15, 25, 30, 40};
    const double b = to_single(e->source[0].value.d);
    show_if(e, b != 0);
    return readout(e, "%.0f", flap_step(b, settings));
}

// Covered unless both the battery master and the display selector are on.
static double KCALL cover(IconElement* e) { return display_cover(e, battery_master, eicas); }

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

static const SharedBinding shared[] = {
    {&seatbelts, "seatbelts"}, {&nosmoking, "nosmoking"}, {&apu, "apu"}, {&eicas, "eicas"}, {&autobrake, "ab"},
};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = watched,
};
