// The overhead switch panel: anti-ice and probe heat push buttons, the
// exterior light switches, the APU master switch and start button, the cabin
// signs, the panel lights and the avionics switch. The background also paints
// the inoperative cabin pressure, interior lights and ditching panels.
//
// The panel owns three panel-wide states: it toggles "seatbelts" and
// "nosmoking", runs the APU start in "apu", and its avionics switch toggles
// "power", which lights the lettering of every gauge.
#include <math.h>

#include "frame/gauge.h"

// Shared variables
static ModuleVar nosmoking;  // 0 off, 1 on
static ModuleVar seatbelts;  // 0 off, 1 on
static ModuleVar apu;        // one of ApuState
static ModuleVar power;      // 1: avionics on

enum ApuState : int32_t {
    APU_OFF = 0,
    APU_MASTER_ON = 1,
    APU_STARTING = 2,
    APU_AVAILABLE = 3,
};

// Simulator variables refreshed on every pre-update
static ModuleVar ticks = sim_var(TICKS);           // tick counter, 18 a second
static ModuleVar eng1_anti_ice = sim_var(ENG1_ANTI_ICE);  // 1: on
static ModuleVar eng2_anti_ice = sim_var(ENG2_ANTI_ICE);  // 1: on
static ModuleVar probe_heat = sim_var(PROBE_HEAT);       // probe and window heat, 1: on

// Key events
constexpr uint32_t EVENT_ENG1_ANTI_ICE = 0x103B4;
constexpr uint32_t EVENT_ENG2_ANTI_ICE = 0x103B5;
constexpr uint32_t EVENT_PROBE_HEAT = 0x10142;
constexpr uint32_t EVENT_STROBES = 0x10018;
constexpr uint32_t EVENT_BEACON = 0x102BF;
constexpr uint32_t EVENT_WING_LIGHTS = 0x1034A;
constexpr uint32_t EVENT_NAV_LOGO_LIGHTS = 0x1034B;
constexpr uint32_t EVENT_LANDING_LIGHTS = 0x100D7;
constexpr uint32_t EVENT_TAXI_LIGHT = 0x102C0;
constexpr uint32_t EVENT_PANEL_LIGHTS = 0x100D6;

// Own state
static int32_t apu_start_due;  // tick count at which a running APU start completes
static int32_t wing_anti_ice;  // WING anti-ice button, 1: on (no simulator effect)

constexpr double APU_START_TICKS = 180;  // ten seconds

// Captions
static constexpr char ANTI_ICE[] = "ANTI ICE%400.0f";
static constexpr char WING[] = "WING%400.0f";
static constexpr char ENG_1[] = "ENG 1%400.0f";
static constexpr char ENG_2[] = "ENG 2%400.0f";
static constexpr char EXT_LT[] = "EXT LT%400.0f";
static constexpr char STROBE[] = "STROBE%400.0f";
static constexpr char BEACON[] = "BEACON%400.0f";
static constexpr char NAV_LOGO[] = "NAV & LOGO%400.0f";
static constexpr char APU[] = "APU%400.0f";
static constexpr char MASTER_SW[] = "MASTER SW%400.0f";
static constexpr char START[] = "START%400.0f";
static constexpr char LAND[] = "LAND%400.0f";
static constexpr char TAXI[] = "TAXI%400.0f";
static constexpr char ON[] = "ON%400.0f";
static constexpr char OFF[] = "OFF%400.0f";
static constexpr char S_BELTS[] = "S. BELTS%400.0f";
static constexpr char NO_SMOK[] = "  NO SMOK.%400.0f";
static constexpr char PANEL[] = "PANEL%400.0f";
static constexpr char AVNCS[] = "AVNCS%400.0f";

template <const char* Caption>
static double KCALL lit(TextElement* e);
template <const char* Caption>
static double KCALL always_bright(TextElement* e);
static double KCALL eng1_anti_ice_light(IconElement* e);
static double KCALL eng2_anti_ice_light(IconElement* e);
static double KCALL probe_heat_light(IconElement* e);
static double KCALL apu_master_light(IconElement* e);
static double KCALL apu_avail_light(IconElement* e);
static double KCALL wing_anti_ice_light(IconElement* e);
static double KCALL apu_start_light(IconElement* e);
static double KCALL light_switch(IconElement* e);
static double KCALL seatbelts_switch(IconElement* e);
static double KCALL nosmoking_switch(IconElement* e);
static double KCALL avionics_switch(IconElement* e);

template <uint32_t Event, const char* Sound>
static int32_t KCALL send_event(MouseArgs*, uint32_t);
static int32_t KCALL seatbelts_pressed(MouseArgs*, uint32_t);
static int32_t KCALL nosmoking_pressed(MouseArgs*, uint32_t);
static int32_t KCALL apu_master_pressed(MouseArgs*, uint32_t);
static int32_t KCALL wing_anti_ice_pressed(MouseArgs*, uint32_t);
static int32_t KCALL apu_start_pressed(MouseArgs*, uint32_t);
static int32_t KCALL avionics_pressed(MouseArgs*, uint32_t);

// Text styles: white, weight 500; the background colour is not drawn.
constexpr TextStyle ARIAL = {"Arial", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle ARIAL_ORANGE = {"Arial", 500, 0xFFFFFF, 0x4080FF};
constexpr TextStyle NARROW = {"Arial Narrow", 500, 0xFFFFFF, 0x80FFFF};
constexpr TextStyle NARROW_ORANGE = {"Arial Narrow", 500, 0xFFFFFF, 0x4080FF};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),                              //  0 panel, 306x122
    icon(0x2000, {72, 26}, 2, eng1_anti_ice_light),    //  1 ENG 1 anti-ice "ON"
    icon(0x2100, {99, 26}, 2, eng2_anti_ice_light),    //  2 ENG 2 anti-ice "ON"
    icon(0x2200, {149, 26}, 2, probe_heat_light),      //  3 probe and window heat "ON"
    icon(0x2300, {147, 74}, 2, apu_master_light),      //  4 APU master "ON"
    icon(0x2400, {147, 100}, 2, apu_avail_light),      //  5 APU "AVAIL"
    icon(0x2500, {11, 26}, 2, wing_anti_ice_light),    //  6 WING anti-ice "ON"
    text({34, 0}, {274, 12}, ARIAL, lit<ANTI_ICE>),            //  7
    text({12, 9}, {296, 10}, ARIAL, lit<WING>),                //  8
    text({74, 10}, {234, 10}, ARIAL, lit<ENG_1>),              //  9
    text({103, 10}, {205, 10}, ARIAL_ORANGE, lit<ENG_2>),      // 10
    text({39, 44}, {269, 12}, ARIAL, lit<EXT_LT>),             // 11
    text({5, 52}, {303, 10}, NARROW, lit<STROBE>),             // 12
    text({36, 52}, {272, 10}, NARROW_ORANGE, lit<BEACON>),     // 13
    text({71, 52}, {237, 10}, NARROW, lit<WING>),              // 14
    text({99, 52}, {209, 10}, NARROW_ORANGE, lit<NAV_LOGO>),   // 15
    text({150, 45}, {158, 12}, ARIAL, lit<APU>),               // 16
    text({141, 56}, {167, 10}, NARROW, lit<MASTER_SW>),        // 17
    text({147, 90}, {161, 10}, ARIAL, lit<START>),             // 18
    text({53, 94}, {255, 10}, ARIAL, lit<LAND>),               // 19
    text({100, 94}, {208, 10}, ARIAL, lit<TAXI>),              // 20
    icon(0x1200, {7, 50}, 2, light_switch, STROBE_LIGHTS),     // 21 15x41, down / up
    icon(0x1100, {38, 50}, 2, light_switch, BEACON_LIGHT),     // 22 15x41
    icon(0x1300, {71, 50}, 2, light_switch, WING_LIGHTS),      // 23 11x40
    icon(0x1400, {102, 50}, 2, light_switch, NAV_LOGO_LIGHTS), // 24 15x41
    icon(0x1500, {36, 87}, 2, light_switch, LANDING_LIGHTS),   // 25 18x47, in / out
    icon(0x1600, {69, 87}, 2, light_switch, LANDING_LIGHTS),   // 26 18x47
    icon(0x1700, {102, 91}, 2, light_switch, TAXI_LIGHT),      // 27 11x40
    text({26, 63}, {282, 10}, NARROW, lit<ON>),                // 28
    text({56, 63}, {252, 10}, NARROW_ORANGE, lit<ON>),         // 29
    text({89, 63}, {219, 10}, NARROW, lit<ON>),                // 30
    text({25, 79}, {283, 10}, NARROW, lit<OFF>),               // 31
    text({55, 79}, {253, 10}, NARROW_ORANGE, lit<OFF>),        // 32
    text({88, 79}, {220, 10}, NARROW, lit<OFF>),               // 33
    text({57, 104}, {251, 10}, NARROW, lit<ON>),               // 34
    text({88, 104}, {220, 10}, NARROW_ORANGE, lit<ON>),        // 35
    text({55, 113}, {253, 10}, NARROW, lit<OFF>),              // 36
    text({86, 113}, {222, 10}, NARROW_ORANGE, lit<OFF>),       // 37
    text({186, 93}, {122, 10}, NARROW_ORANGE, lit<S_BELTS>),   // 38
    text({214, 93}, {94, 10}, NARROW, lit<NO_SMOK>),           // 39
    text({207, 103}, {101, 10}, NARROW, lit<ON>),              // 40
    text({206, 113}, {102, 10}, NARROW, lit<OFF>),             // 41
    icon(0x1900, {190, 90}, 2, seatbelts_switch),              // 42 11x40
    icon(0x1800, {220, 90}, 2, nosmoking_switch),              // 43 11x40
    icon(0x2600, {147, 108}, 2, apu_start_light),              // 44 APU start "ON"
    text({279, 93}, {29, 10}, NARROW, always_bright<PANEL>),   // 45
    icon(0x2700, {282, 90}, 2, light_switch, PANEL_LIGHTS),    // 46 11x40
    text({279, 53}, {29, 11}, NARROW, always_bright<AVNCS>),   // 47
    icon(0x2800, {284, 51}, 2, avionics_switch),               // 48 11x40
};

static int32_t tooltip_word;

static MouseRect mouse[] = {
    mouse_start(),
    mouse_tooltip("SWITCH PANEL", &tooltip_word),
    mouse_area({70, 17, 21, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_ENG1_ANTI_ICE, SOUND_CLICK>),
    mouse_area({98, 16, 21, 20}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_ENG2_ANTI_ICE, SOUND_CLICK>),
    mouse_area({149, 18, 20, 17}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_PROBE_HEAT, SOUND_CLICK>),
    mouse_area({5, 50, 19, 41}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_STROBES, SOUND_SWITCH>),
    mouse_area({34, 49, 20, 46}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_BEACON, SOUND_SWITCH>),
    mouse_area({66, 48, 21, 48}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_WING_LIGHTS, SOUND_SWITCH>),
    mouse_area({97, 48, 23, 46}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_NAV_LOGO_LIGHTS, SOUND_SWITCH>),
    mouse_area({34, 95, 50, 26}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_LANDING_LIGHTS, SOUND_SWITCH>),
    mouse_area({98, 93, 18, 28}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_TAXI_LIGHT, SOUND_SWITCH>),
    mouse_area({185, 94, 20, 26}, CURSOR_HAND, MOUSE_LEFT_SINGLE, seatbelts_pressed),
    mouse_area({214, 92, 21, 28}, CURSOR_HAND, MOUSE_LEFT_SINGLE, nosmoking_pressed),
    mouse_area({147, 65, 20, 19}, CURSOR_HAND, MOUSE_LEFT_SINGLE, apu_master_pressed),
    mouse_area({10, 18, 20, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, wing_anti_ice_pressed),
    mouse_area({147, 99, 18, 18}, CURSOR_HAND, MOUSE_LEFT_SINGLE, apu_start_pressed),
    mouse_area({279, 90, 17, 32}, CURSOR_HAND, MOUSE_LEFT_SINGLE, send_event<EVENT_PANEL_LIGHTS, SOUND_SWITCH>),
    mouse_area({282, 51, 16, 33}, CURSOR_HAND, MOUSE_LEFT_SINGLE, avionics_pressed),
    mouse_end_area(),
    mouse_end_list(),
};

// ---------------------------------------------------------------------------
// Element callbacks

template <const char* Caption>
static double KCALL lit(TextElement* e) {
    return caption(e, power, Caption);
}

template <const char* Caption>
static double KCALL always_bright(TextElement* e) {
    return bright_caption(e, Caption);
}

static double KCALL eng1_anti_ice_light(IconElement* e) { return lit_while(e, power, is_on(eng1_anti_ice.value.d)); }
static double KCALL eng2_anti_ice_light(IconElement* e) { return lit_while(e, power, is_on(eng2_anti_ice.value.d)); }
static double KCALL probe_heat_light(IconElement* e) { return lit_while(e, power, is_on(probe_heat.value.d)); }

static double KCALL apu_master_light(IconElement* e) {
    const int32_t s = shared_get(apu);
    return lit_while(e, power, s == APU_MASTER_ON || s == APU_STARTING || s == APU_AVAILABLE);
}

static double KCALL apu_avail_light(IconElement* e) { return lit_while(e, power, shared_get(apu) == APU_AVAILABLE); }
static double KCALL wing_anti_ice_light(IconElement* e) { return lit_while(e, power, wing_anti_ice == 1); }

// The start button's "ON" is bright whatever "power" holds.
static double KCALL apu_start_light(IconElement* e) {
    return bright_while(e, shared_get(apu) == APU_STARTING);
}

// Switches of simulator-owned lights: the frame is the variable's value.
static double KCALL light_switch(IconElement* e) { return e->source.value.d; }

// Switches of shared variables: the frame is the value read as unsigned.
static double switch_frame(const ModuleVar& v) { return static_cast<uint32_t>(shared_get(v)); }

static double KCALL seatbelts_switch(IconElement*) { return switch_frame(seatbelts); }
static double KCALL nosmoking_switch(IconElement*) { return switch_frame(nosmoking); }
static double KCALL avionics_switch(IconElement*) { return switch_frame(power); }

// ---------------------------------------------------------------------------
// Mouse callbacks: the action, then its sound.

template <uint32_t Event, const char* Sound>
static int32_t KCALL send_event(MouseArgs*, uint32_t) {
    key_event(Event);
    play_gauge_sound(Sound);
    return 0;
}

static int32_t KCALL seatbelts_pressed(MouseArgs*, uint32_t) {
    shared_toggle(seatbelts);
    play_gauge_sound(SOUND_CHIME);
    return 0;
}

static int32_t KCALL nosmoking_pressed(MouseArgs*, uint32_t) {
    shared_toggle(nosmoking);
    play_gauge_sound(SOUND_CHIME);
    return 0;
}

// Master: off to master on; starting or available back to off. A press with
// the master on but the APU not started changes nothing.
static int32_t KCALL apu_master_pressed(MouseArgs*, uint32_t) {
    const int32_t s = shared_get(apu);
    if (s == APU_OFF)
        shared_set(apu, APU_MASTER_ON);
    else if (s == APU_STARTING || s == APU_AVAILABLE)
        shared_set(apu, APU_OFF);
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

static int32_t KCALL wing_anti_ice_pressed(MouseArgs*, uint32_t) {
    toggle(wing_anti_ice);
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

// The tick count truncated toward zero to 32 bits. Counts beyond the range
// stop at its ends, and a count that is not a number gives 0, instead of the
// undefined conversion.
static int32_t tick_count(double t) {
    if (isnan(t)) return 0;
    if (t >= 2147483647.0) return INT32_MAX;
    if (t <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(t);
}

// Start: only with the master on; the start completes ten seconds of ticks
// later (see complete_apu_start).
static int32_t KCALL apu_start_pressed(MouseArgs*, uint32_t) {
    if (shared_get(apu) == APU_MASTER_ON) {
        apu_start_due = tick_count(ticks.value.d + APU_START_TICKS);
        shared_set(apu, APU_STARTING);
    }
    play_gauge_sound(SOUND_CLICK);
    return 0;
}

static int32_t KCALL avionics_pressed(MouseArgs*, uint32_t) {
    shared_toggle(power);
    play_gauge_sound(SOUND_SWITCH);
    return 0;
}

// ---------------------------------------------------------------------------
// Gauge callback hooks

// Pre-update, after the lookups: a running start completes at the first
// update whose tick count has reached its due count. A slow simulator moves
// the counter several ticks a frame, so the exact count may never be seen.
static void complete_apu_start() {
    if (shared_get(apu) == APU_STARTING && ticks.value.d >= apu_start_due)
        shared_set(apu, APU_AVAILABLE);
}

// First draw: the shared variables were cleared by the frame; the own state
// starts over too.
static void reset_own_state() {
    apu_start_due = 0;
    wing_anti_ice = 0;
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static const SharedBinding shared[] = {
    {&nosmoking, "nosmoking"},
    {&seatbelts, "seatbelts"},
    {&apu, "apu"},
    {&power, "power"},
};
static ModuleVar* const sim_vars[] = {&ticks, &eng1_anti_ice, &eng2_anti_ice, &probe_heat};

const GaugeOps gauge_ops = {
    .shared = shared,
    .sim_vars = sim_vars,
    .update = complete_apu_start,
    .first_draw = reset_own_state,
};
