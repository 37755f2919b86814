// The primary flight display, driven through the host as the simulator drives
// it: its records, every element's value, text and show rule, and the cover.
#include <math.h>
#include <string.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

// Elements in chain order.
enum {
    FACE, ANNUNCIATOR_FRAME, VS_SCALE, VS_NEEDLE, SPHERE, STRIP_LEFT, STRIP_RIGHT, BORDER_RIGHT,
    VS_TOP, VS_BOTTOM, SPEED_TAPE, ALTITUDE_TAPE, ALTITUDE_HUNDREDS, BANK_POINTER, LOC_SCALE,
    GS_SCALE, LOC_POINTER, GS_POINTER, SELECTED_MACH, SELECTED_SPEED, BARO, SELECTED_ALTITUDE,
    SPEED_MARKER, ALTITUDE_MARKER, AP1, NAV, HDG, LOC, RADIO_HEIGHT, FD_PITCH, FD_ROLL, MACH_NOW,
    DRUM, HEADING_TAPE, SPEED, ATHR, MACH, VS_DIGITS, LVL, BC, COVER, ELEMENTS
};

// Simulator variables.
constexpr uint32_t VS = 0x22C, DEVIATION = 0x2C, MACH_HOLD = 0x75, SPEED_HOLD = 0x73,
                   ALT_HOLD = 0x6C, FD_ON = 0x318, SEL_ALT = 0x6D, HDG_HOLD = 0x6A, SEL_SPEED = 0x74,
                   IAS = 0x3D, ALT = 0x4A, AP = 0x67, NAV_HOLD = 0x69, APPR_HOLD = 0x70,
                   ALT_M = 0x33D, GROUND = 0x2, BANK = 0x50, MACH_RAW = 0x40, BATTERY = 0x16C,
                   FD_PITCH_CMD = 0x319, PITCH = 0x4E, FD_BANK_CMD = 0x31A, FREEZE_A = 0x236,
                   FREEZE_B = 0x3C, ATHR_ARMED = 0x7B, LEVEL = 0x68, BACK_COURSE = 0x71,
                   LOCALIZER = 0x28, GLIDESLOPE = 0x29, SEL_MACH = 0x76, BAROMETER = 0x4C,
                   HEADING = 0x51;

// Doubles in the packed records may sit on 4-byte boundaries: compare copies.
double copy(double v) { return v; }

class Pfd : public HostTest {
protected:
    Gauge& pfd = load({"broadcaster", "pfd"});
    void SetUp() override { host.frame(); }

    const ElementState& at(size_t i) { return state(pfd, i); }
    // Sets the variables, runs a frame, and returns the element's state.
    const ElementState& after(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        return at(i);
    }
    double value(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i, int axis = 0) {
        return after(vars, i).value[axis];
    }
    std::string text(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i) {
        return after(vars, i).text;
    }
    bool shown(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i) {
        return !hidden(after(vars, i));
    }
};

// ---------------------------------------------------------------------------
// Records

TEST_F(Pfd, ChainHasEveryElementInDrawingOrder) {
    ASSERT_EQ(pfd.size(), size_t{ELEMENTS});
    const struct {
        uint32_t kind, resource;
        int32_t x, y;
    } chain[ELEMENTS] = {
        {KIND_STATIC, 0x100, 0, 0},      {KIND_ICON, 0x3200, 0, 0},       {KIND_ICON, 0x3400, 288, 98},
        {KIND_NEEDLE, 0x1200, 317, 209}, {KIND_SPRITE, 0x1300, 0, 0},     {KIND_ICON, 0x3800, 215, 63},
        {KIND_ICON, 0x1800, 268, 63},    {KIND_ICON, 0x1900, 307, 63},    {KIND_ICON, 0x4200, 287, 63},
        {KIND_ICON, 0x4300, 287, 321},   {KIND_MOVING, 0x1400, 0, 85},    {KIND_MOVING, 0x1600, 234, 85},
        {KIND_TEXT, ~0u, 237, 198},      {KIND_NEEDLE, 0x2000, 132, 201}, {KIND_ICON, 0x2500, 73, 302},
        {KIND_ICON, 0x2600, 220, 139},   {KIND_SLIDER, 0x2700, 127, 306}, {KIND_SLIDER, 0x2800, 222, 193},
        {KIND_TEXT, ~0u, 2, 61},         {KIND_TEXT, ~0u, 2, 61},         {KIND_TEXT, ~0u, 234, 332},
        {KIND_TEXT, ~0u, 233, 62},       {KIND_MOVING, 0x3600, 38, 85},   {KIND_MOVING, 0x2200, 232, 85},
        {KIND_TEXT, ~0u, 269, 9},        {KIND_TEXT, ~0u, 73, 25},        {KIND_TEXT, ~0u, 73, 25},
        {KIND_TEXT, ~0u, 140, 6},        {KIND_TEXT, ~0u, 135, 274},      {KIND_MOVING, 0x2400, 90, 159},
        {KIND_MOVING, 0x3000, 90, 159},  {KIND_TEXT, ~0u, 2, 332},        {KIND_MOVING, 0x3900, 269, 191},
        {KIND_MOVING, 0x4400, 56, 323},  {KIND_TEXT, ~0u, 9, 6},          {KIND_TEXT, ~0u, 269, 28},
        {KIND_TEXT, ~0u, 9, 6},          {KIND_TEXT, ~0u, 288, 272},      {KIND_TEXT, ~0u, 73, 6},
        {KIND_TEXT, ~0u, 140, 25},       {KIND_ICON, 0x3300, 0, 0},
    };
    for (size_t i = 0; i < ELEMENTS; ++i) {
        const ElementHeader* e = pfd.element(i);
        EXPECT_EQ(e->kind, chain[i].kind) << i;
        EXPECT_EQ(e->resource_id, chain[i].resource) << i;
        EXPECT_EQ(e->position.x, chain[i].x) << i;
        EXPECT_EQ(e->position.y, chain[i].y) << i;
        EXPECT_EQ(e->image_flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), 0x83u) << i;
        EXPECT_EQ(e->failures[0].key, 0u) << i;
        if (e->kind == KIND_ICON) {
            EXPECT_EQ(reinterpret_cast<const IconElement*>(e)->frame_count, 2u) << i;
            EXPECT_EQ(reinterpret_cast<const IconElement*>(e)->source.id, 0u) << i;
        }
    }
    // No clickable area: start, end of area, end of list.
    ASSERT_EQ(pfd.layout.mouse.size(), 2u);
    EXPECT_EQ(pfd.layout.mouse[0]->kind, MOUSE_START);
    EXPECT_EQ(pfd.layout.mouse[1]->kind, MOUSE_END_AREA);
    EXPECT_STREQ(pfd.layout.header->name, "KESTREL");
}

TEST_F(Pfd, NeedlesTurnThroughTheirTables) {
    const auto* vs = pfd.element_as<NeedleElement>(VS_NEEDLE);
    EXPECT_EQ(vs->header.offset.x, 2);
    EXPECT_EQ(vs->header.offset.y, 3);
    const int32_t vs_points[9][2] = {{290, 312}, {289, 302}, {289, 292}, {290, 255}, {294, 209},
                                     {290, 163}, {289, 126}, {289, 115}, {290, 106}};
    ASSERT_EQ(vs->table_count, 9u);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(vs->table[i].point.x, vs_points[i][0]) << i;
        EXPECT_EQ(vs->table[i].point.y, vs_points[i][1]) << i;
        EXPECT_EQ(copy(vs->table[i].value), 1000.0 * i) << i;
        EXPECT_EQ(copy(vs->table[i].angle), 0.0) << i;
    }
    const auto* bank = pfd.element_as<NeedleElement>(BANK_POINTER);
    EXPECT_EQ(bank->header.offset.x, 3);
    EXPECT_EQ(bank->header.offset.y, 4);
    ASSERT_EQ(bank->table_count, 3u);
    const double bank_table[3][3] = {{70, 140, 15}, {133, 117, 60}, {199, 140, 105}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(bank->table[i].point.x, bank_table[i][0]) << i;
        EXPECT_EQ(bank->table[i].point.y, bank_table[i][1]) << i;
        EXPECT_EQ(copy(bank->table[i].value), bank_table[i][2]) << i;
    }
}

TEST_F(Pfd, SpriteSlidersAndMovingImagesCarryTheirScalesAndRanges) {
    const auto* sphere = pfd.element_as<SpriteElement>(SPHERE);
    EXPECT_EQ(sphere->header.offset.x, 135);
    EXPECT_EQ(sphere->header.offset.y, 204);
    EXPECT_EQ(sphere->source_x.id, 0u);
    EXPECT_EQ(copy(sphere->scale_x), 0.0);
    EXPECT_EQ(sphere->source_y.id, PITCH);
    EXPECT_EQ(copy(sphere->scale_y), 3.75);
    EXPECT_EQ(sphere->source_rotation.id, BANK);
    EXPECT_EQ(copy(sphere->scale_rotation), -1.0);
    EXPECT_EQ(sphere->texture_scale_x, 1.0f);
    EXPECT_EQ(sphere->texture_scale_y, 1.0f);

    const auto* loc = pfd.element_as<SliderElement>(LOC_POINTER);
    EXPECT_EQ(loc->source_x.id, LOCALIZER);
    EXPECT_EQ(copy(loc->scale_x), 0.464566929133858);
    EXPECT_EQ(loc->source_y.id, 0u);
    const auto* gs = pfd.element_as<SliderElement>(GS_POINTER);
    EXPECT_EQ(gs->source_x.id, 0u);
    EXPECT_EQ(gs->source_y.id, GLIDESLOPE);
    EXPECT_EQ(copy(gs->scale_y), 0.475);

    const struct {
        size_t element;
        uint32_t x_var;
        double x0, x1;
        uint32_t y_var;
        double y0, y1;
    } moving[] = {
        {SPEED_TAPE, 0, 0, 0, IAS, 365, 0},      {ALTITUDE_TAPE, 0, 0, 0, ALT, 42600, -1450},
        {SPEED_MARKER, 0, 0, 0, 0, 60, -58},     {ALTITUDE_MARKER, 0, 0, 0, 0, 520, -500},
        {FD_PITCH, 0, 0, 0, 0, -15, 15},         {FD_ROLL, 0, 30, -30, 0, 0, 0},
        {DRUM, 0, 0, 0, ALT, 99, 0},             {HEADING_TAPE, HEADING, 0, 359, 0, 0, 0},
    };
    for (const auto& m : moving) {
        const auto* e = pfd.element_as<MovingElement>(m.element);
        EXPECT_EQ(e->source_x.id, m.x_var) << m.element;
        EXPECT_EQ(copy(e->range_x[0]), m.x0) << m.element;
        EXPECT_EQ(copy(e->range_x[1]), m.x1) << m.element;
        EXPECT_EQ(e->source_y.id, m.y_var) << m.element;
        EXPECT_EQ(copy(e->range_y[0]), m.y0) << m.element;
        EXPECT_EQ(copy(e->range_y[1]), m.y1) << m.element;
    }
}

TEST_F(Pfd, TextsCarryTheirBoxesFontsAndColours) {
    const struct {
        size_t element;
        int32_t width, height;
        const char* font;
        int32_t weight;
        uint32_t colour, background, source;
    } texts[] = {
        {ALTITUDE_HUNDREDS, 85, 28, "Arial Narrow", 600, 0x2C8C67, 0xFFFF, ALT},
        {SELECTED_MACH, 320, 24, "Arial", 600, 0x2C8C67, 0x80FFFF, SEL_MACH},
        {SELECTED_SPEED, 320, 24, "Arial", 600, 0x2C8C67, 0x4080FF, SEL_SPEED},
        {BARO, 88, 22, "Arial", 600, 0xFFFFFF, 0x80FFFF, BAROMETER},
        {SELECTED_ALTITUDE, 89, 24, "Arial", 600, 0xA69153, 0x4080FF, SEL_ALT},
        {AP1, 53, 20, "Arial", 600, 0xFFFFFF, 0x80FFFF, 0},
        {NAV, 249, 20, "Arial", 600, 0x429153, 0x80FFFF, 0},
        {HDG, 249, 20, "Arial", 600, 0x429153, 0x4080FF, 0},
        {LOC, 182, 20, "Arial", 600, 0x429153, 0xFFFF, 0},
        {RADIO_HEIGHT, 187, 22, "Arial", 500, 0xFFFFFF, 0xFFFF, 0},
        {MACH_NOW, 320, 24, "Arial", 600, 0x4E29B5, 0x80FFFF, 0},
        {SPEED, 313, 20, "Arial", 600, 0x429153, 0x80FFFF, 0},
        {ATHR, 53, 20, "Arial", 600, 0xFFFFFF, 0x80FFFF, 0},
        {MACH, 313, 20, "Arial", 600, 0x429153, 0x80FFFF, 0},
        {VS_DIGITS, 34, 21, "Arial", 600, 0x429153, 0x80FFFF, 0},
        {LVL, 249, 20, "Arial", 600, 0x429153, 0x80FFFF, 0},
        {BC, 182, 20, "Arial", 600, 0x429153, 0x80FFFF, 0},
    };
    for (const auto& t : texts) {
        const auto* e = pfd.element_as<TextElement>(t.element);
        EXPECT_EQ(e->box_width, t.width) << t.element;
        EXPECT_EQ(e->box_height, t.height) << t.element;
        EXPECT_STREQ(e->font, t.font) << t.element;
        EXPECT_EQ(e->font_weight, t.weight) << t.element;
        EXPECT_EQ(e->charset, 1) << t.element;
        EXPECT_EQ(e->text_color, t.colour) << t.element;
        EXPECT_EQ(e->background_color, t.background) << t.element;
        EXPECT_EQ(e->highlight_color, 0u) << t.element;
        EXPECT_EQ(e->capacity, 0x4240) << t.element;
        EXPECT_EQ(e->source[0].id, t.source) << t.element;
    }
}

// ---------------------------------------------------------------------------
// Frame and flags

TEST(PfdAlone, BindsDisplayOnlyAndClearsItAtTheFirstDraw) {
    Host fresh(options());
    ASSERT_TRUE(fresh.load({"broadcaster", "pfd"}, nullptr));
    std::vector<std::string> bound;
    for (const Event& e : fresh.events)
        if (e.kind == Event::Kind::Bind && e.gauge == "pfd") bound.push_back(e.name);
    EXPECT_EQ(bound, std::vector<std::string>{"display"});
    fresh.registry.set("display", 1);
    fresh.frame();
    EXPECT_EQ(fresh.registry.value("display"), 0);
    fresh.registry.set("display", 1);
    fresh.frames(2);
    EXPECT_EQ(fresh.registry.value("display"), 1);  // never written again
}

TEST_F(Pfd, PreUpdateRefreshesTheTwentySevenVariablesInOrder) {
    EXPECT_EQ(lookups(host, pfd), (std::vector<uint32_t>{VS, DEVIATION, MACH_HOLD, SPEED_HOLD, ALT_HOLD, FD_ON, SEL_ALT,
                                                HDG_HOLD, SEL_SPEED, IAS, ALT, AP, NAV_HOLD, APPR_HOLD, ALT_M,
                                                GROUND, BANK, MACH_RAW, BATTERY, FD_PITCH_CMD, PITCH,
                                                FD_BANK_CMD, FREEZE_A, FREEZE_B, ATHR_ARMED, LEVEL,
                                                BACK_COURSE}));
}

TEST_F(Pfd, LitElementsAreAlwaysBrightAndTheBordersAndCoverNever) {
    host.registry.set("power", 0);
    for (double master : {0.0, 1.0}) {
        host.sim.set(BATTERY, master);
        host.frame();
        for (size_t i = 0; i < ELEMENTS; ++i) {
            const bool unlit = i == FACE || (i >= STRIP_LEFT && i <= VS_BOTTOM) || i == COVER;
            EXPECT_EQ(bright(at(i)), !unlit) << i;
        }
    }
}

TEST_F(Pfd, PlaysNoSoundAndSendsNoKeyEvent) {
    host.sim.set(BATTERY, 1);
    host.registry.set("display", 1);
    host.frames(3);
    host.unload("pfd");
    EXPECT_EQ(sounds(), std::vector<std::string>{"TerminateSounds"});
    EXPECT_TRUE(keys().empty());
}

// ---------------------------------------------------------------------------
// Power cover

TEST_F(Pfd, CoverLiftsOnlyWithBatteryMasterAndDisplayBothOn) {
    const struct {
        double master;
        int32_t display;
        bool covered;
    } cases[] = {
        {0, 0, true}, {0, 1, true}, {1, 0, true}, {1, 1, false},
        {2, 5, false}, {-1, -1, false}, {0.5, 1, false}, {NAN, 1, false}, {1, 0, true},
    };
    for (const auto& c : cases) {
        host.registry.set("display", c.display);
        EXPECT_EQ(hidden(after({{BATTERY, c.master}}, COVER)), !c.covered) << c.master << " " << c.display;
        EXPECT_EQ(at(COVER).value[0], 0);
    }
}

TEST(PfdAlone, WithoutTheBroadcasterTheDisplayStaysCovered) {
    Host host(options());
    ASSERT_TRUE(host.load({"pfd"}, nullptr));
    Gauge& pfd = *host.find("pfd");
    host.sim.set(BATTERY, 1);
    host.frames(2);
    EXPECT_FALSE(pfd.state.at(COVER).flags & IMAGE_HIDDEN);
}

// On the panel: BAT 1 on the electric panel sets the battery master through
// the simulator, the flight display knob sets "display".
TEST(PfdOnThePanel, BatteryButtonAndDisplayKnobLiftTheCover) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "electric_panel", "display_switch_2", "pfd"}, nullptr));
    Gauge& pfd = *host.find("pfd");
    Gauge& electric = *host.find("electric_panel");
    Gauge& knob = *host.find("display_switch_2");
    auto covered = [&] {
        host.frame();
        return (pfd.state.at(COVER).flags & IMAGE_HIDDEN) == 0;
    };
    EXPECT_TRUE(covered());
    host.click(electric, 127, 21);  // BAT 1
    EXPECT_TRUE(covered());
    EXPECT_EQ(host.sim.get(BATTERY), 1);
    host.click(knob, 20, 35);
    EXPECT_FALSE(covered());
    host.click(electric, 127, 21);  // battery off again
    EXPECT_TRUE(covered());
    host.click(electric, 127, 21);
    host.click(knob, 20, 35);  // display off
    EXPECT_TRUE(covered());
}

// ---------------------------------------------------------------------------
// Attitude, bank pointer, flight director

TEST_F(Pfd, SphereAndBankPointerFollowAttitudeUnlessFrozen) {
    const struct {
        double freeze_a, freeze_b;
        bool frozen;
    } conditions[] = {{0, 1, true}, {0, 0, false}, {1, 1, false}, {1, 0, false}, {0, 2, false}, {0.5, 1, false}};
    for (const auto& c : conditions) {
        host.sim.set(FREEZE_A, c.freeze_a);
        host.sim.set(FREEZE_B, c.freeze_b);
        const ElementState& s = after({{PITCH, -7.5}, {BANK, 20}}, SPHERE);
        EXPECT_EQ(s.value[0], 0);
        EXPECT_EQ(s.value[1], c.frozen ? 0 : -7.5) << c.freeze_a << " " << c.freeze_b;
        EXPECT_EQ(s.value[2], c.frozen ? 0 : 20) << c.freeze_a << " " << c.freeze_b;
        EXPECT_EQ(at(BANK_POINTER).value[0], c.frozen ? 60 : 80);
        EXPECT_EQ(value({{BANK, -75}}, BANK_POINTER), c.frozen ? 60 : 0);
        EXPECT_EQ(value({{BANK, 75}}, BANK_POINTER), c.frozen ? 60 : 120);
        EXPECT_EQ(value({{BANK, NAN}}, BANK_POINTER) == 60, c.frozen);
    }
}

TEST_F(Pfd, BankPointerIsBankPlusSixtyHeldWithinZeroAndOneTwenty) {
    const double cases[][2] = {{0, 60}, {45, 105}, {-45, 15}, {60, 120}, {-60, 0}, {60.5, 120},
                               {-1e300, 0}, {INFINITY, 120}, {-INFINITY, 0}, {-0.25, 59.75}};
    for (const auto& c : cases) EXPECT_EQ(value({{BANK, c[0]}}, BANK_POINTER), c[1]) << c[0];
}

TEST_F(Pfd, FlightDirectorBarsShowCommandMinusAttitudeWhileOn) {
    // Governed by 0x318 alone: the freeze condition does not level them.
    host.sim.set(FREEZE_A, 0);
    host.sim.set(FREEZE_B, 1);
    for (double on : {1.0, 0.0, 2.0, 0.5}) {
        host.sim.set(FD_ON, on);
        host.frame();
        for (size_t bar : {FD_PITCH, FD_ROLL}) EXPECT_EQ(!hidden(at(bar)), on == 1) << bar << " " << on;
    }
    host.sim.set(FD_ON, 1);
    const ElementState& pitch_bar = after({{FD_PITCH_CMD, -5}, {PITCH, -2}, {FD_BANK_CMD, 25}, {BANK, 5}}, FD_PITCH);
    EXPECT_EQ(pitch_bar.value[0], 0);
    EXPECT_EQ(pitch_bar.value[1], -3);
    EXPECT_EQ(at(FD_ROLL).value[0], 20);
    EXPECT_EQ(at(FD_ROLL).value[1], 0);
    // Unclamped: the ranges bound the travel.
    EXPECT_EQ(value({{FD_PITCH_CMD, 40}, {PITCH, -10}}, FD_PITCH, 1), 50);
    EXPECT_EQ(value({{FD_BANK_CMD, -60}, {BANK, 30}}, FD_ROLL, 0), -90);
}

// ---------------------------------------------------------------------------
// Deviation scales and pointers

TEST_F(Pfd, DeviationScalesAndPointersShowOnlyWhileEnabled) {
    for (double enable : {1.0, 0.0, 2.0, 0.5, -1.0, 1.0}) {
        host.sim.set(DEVIATION, enable);
        host.frame();
        for (size_t i : {LOC_SCALE, GS_SCALE, LOC_POINTER, GS_POINTER})
            EXPECT_EQ(!hidden(at(i)), enable == 1) << i << " " << enable;
    }
    const ElementState& loc = after({{LOCALIZER, -127}, {GLIDESLOPE, 64}}, LOC_POINTER);
    EXPECT_EQ(loc.value[0], -127);
    EXPECT_EQ(loc.value[1], 0);
    EXPECT_EQ(at(GS_POINTER).value[0], 0);
    EXPECT_EQ(at(GS_POINTER).value[1], 64);
    EXPECT_EQ(at(LOC_SCALE).value[0], 0);
}

// ---------------------------------------------------------------------------
// Vertical speed

TEST_F(Pfd, VerticalSpeedNeedleCoversFourThousandFeetPerMinuteEachWay) {
    const double cases[][2] = {{0, 4000}, {10, 4600}, {-10, 3400}, {70, 8000}, {-70, 0},
                               {1e300, 8000}, {-INFINITY, 0}, {66.0 + 2.0 / 3, 8000}, {-66.0 - 2.0 / 3, 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(value({{VS, c[0]}}, VS_NEEDLE), c[1]) << c[0];
}

TEST_F(Pfd, VerticalSpeedDigitsAreWholeHundredsTowardZero) {
    const struct {
        double fpm;
        const char* text;
    } cases[] = {
        {0, "00"},     {450, "04"},   {-1250, "-12"}, {-50, "00"},  {-150, "-1"}, {99, "00"},
        {100, "01"},   {-100, "-1"},  {1999, "19"},   {6000, "60"}, {-4200, "-42"},
    };
    for (const auto& c : cases) EXPECT_EQ(text({{VS, c.fpm / 60}}, VS_DIGITS), c.text) << c.fpm;
    EXPECT_FALSE(hidden(at(VS_DIGITS)));
}

// ---------------------------------------------------------------------------
// Radio height

TEST_F(Pfd, RadioHeightShowsBelowTwentyFiveHundredFeet) {
    const struct {
        double metres, ground;
        const char* text;
        bool shown;
    } cases[] = {
        {0, 0, " 0", true},
        {100, 0, "328", true},
        {110, 10 * 256, "328", true},    // 100 m above ground 10 m high
        {2499.5 / 3.28, 0, "2500", true},  // the format rounds
        {2500 / 3.28, 0, "2500", false},
        {3000, 0, "9840", false},
        {-3, 0, "-10", true},            // below the ground
        {NAN, 0, "nan", false},
    };
    for (const auto& c : cases) {
        const ElementState& s = after({{ALT_M, c.metres}, {GROUND, c.ground}}, RADIO_HEIGHT);
        EXPECT_EQ(s.text, c.text) << c.metres;
        EXPECT_EQ(!hidden(s), c.shown) << c.metres;
    }
}

// ---------------------------------------------------------------------------
// Tapes, markers and readouts

TEST_F(Pfd, TapesFollowTheirOwnSourcesUnclamped) {
    const ElementState& speed = after({{IAS, 250}, {ALT, 12345}, {HEADING, 271}}, SPEED_TAPE);
    EXPECT_EQ(speed.value[0], 0);
    EXPECT_EQ(speed.value[1], 250);
    EXPECT_EQ(at(ALTITUDE_TAPE).value[1], 12345);
    EXPECT_EQ(at(HEADING_TAPE).value[0], 271);
    EXPECT_EQ(at(HEADING_TAPE).value[1], 0);
    EXPECT_EQ(value({{IAS, 500}}, SPEED_TAPE, 1), 500);
    EXPECT_EQ(value({{ALT, -3000}}, ALTITUDE_TAPE, 1), -3000);
}

TEST_F(Pfd, SpeedMarkerShowsSelectedMinusIndicatedHeldWithinItsClamp) {
    host.sim.set(SPEED_HOLD, 1);
    const double cases[][3] = {{250, 250, 0},   {330, 250, 55},  {170, 250, -58}, {305, 250, 55},
                               {192, 250, -58}, {260, 250, 10},  {250, 260, -10}, {NAN, 250, NAN}};
    for (const auto& c : cases) {
        const double v = value({{SEL_SPEED, c[0]}, {IAS, c[1]}}, SPEED_MARKER, 1);
        if (isnan(c[2])) {
            EXPECT_TRUE(isnan(v));
        } else {
            EXPECT_EQ(v, c[2]) << c[0] << " " << c[1];
        }
        EXPECT_EQ(at(SPEED_MARKER).value[0], 0);
    }
    for (double hold : {0.0, 2.0, 0.5}) EXPECT_FALSE(shown({{SPEED_HOLD, hold}}, SPEED_MARKER)) << hold;
    EXPECT_TRUE(shown({{SPEED_HOLD, 1}}, SPEED_MARKER));
}

TEST_F(Pfd, AltitudeMarkerShowsSelectedMinusCurrentHeldWithinItsClamp) {
    host.sim.set(ALT_HOLD, 1);
    const double cases[][3] = {{5000, 5000, 0},   {7000, 5000, 700},   {3000, 5000, -1000},
                               {5600, 5000, 600}, {4100, 5000, -900},  {5700, 5000, 700},
                               {-1e300, 0, -1000}, {INFINITY, 0, 700}};
    for (const auto& c : cases) EXPECT_EQ(value({{SEL_ALT, c[0]}, {ALT, c[1]}}, ALTITUDE_MARKER, 1), c[2]) << c[0];
    for (double hold : {0.0, 2.0, 0.5}) EXPECT_FALSE(shown({{ALT_HOLD, hold}}, ALTITUDE_MARKER)) << hold;
}

TEST_F(Pfd, AltitudeSplitsIntoHundredsAndTheDrum) {
    const struct {
        double feet;
        const char* hundreds;
        double drum;
    } cases[] = {
        {0, "000", 0},       {99, "000", 99},     {100, "001", 0},       {12345, "123", 45},
        {-50, "000", -50},   {-1450, "-14", -50}, {42600, "426", 0},     {-100, "-01", -0.0},
        {35020, "350", 20},  {7080.5, "070", 80.5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text({{ALT, c.feet}}, ALTITUDE_HUNDREDS), c.hundreds) << c.feet;
        EXPECT_EQ(at(DRUM).value[1], c.drum) << c.feet;
        EXPECT_EQ(at(DRUM).value[0], 0);
    }
    EXPECT_TRUE(isnan(value({{ALT, INFINITY}}, DRUM, 1)));
    EXPECT_NE(at(ALTITUDE_HUNDREDS).text.find("nan"), std::string::npos);  // the sign of a NaN varies
}

TEST_F(Pfd, ReadoutsPrintTheirValuesInSinglePrecision) {
    const ElementState& baro = after({{BAROMETER, 29.92}, {SEL_ALT, 7000}, {SEL_SPEED, 95},
                                      {SEL_MACH, 0.785}, {MACH_RAW, 0.78 * 65536 / 3.2}},
                                     BARO);
    EXPECT_EQ(baro.text, "29.92 IN");
    EXPECT_FALSE(hidden(baro));
    EXPECT_EQ(at(SELECTED_ALTITUDE).text, "07000");
    EXPECT_EQ(at(SELECTED_SPEED).text, "095");
    EXPECT_EQ(at(SELECTED_MACH).text, "0.79");  // 0.785 in single precision is just above
    EXPECT_EQ(at(MACH_NOW).text, "0.78");
    EXPECT_FALSE(hidden(at(MACH_NOW)));
    const double mach_cases[][2] = {{0, 0}, {16384, 0.8}, {20480, 1.0}, {-20480, -1.0}};
    for (const auto& c : mach_cases) {
        char expected[16];
        snprintf(expected, sizeof expected, "%.2f", c[1]);
        EXPECT_EQ(text({{MACH_RAW, c[0]}}, MACH_NOW), expected) << c[0];
    }
}

TEST_F(Pfd, SelectedValuesShowWithTheirHolds) {
    const struct {
        size_t element;
        uint32_t hold;
    } cases[] = {{SELECTED_MACH, MACH_HOLD}, {SELECTED_SPEED, SPEED_HOLD}, {SELECTED_ALTITUDE, ALT_HOLD}};
    for (const auto& c : cases)
        for (double v : {1.0, 0.0, 2.0, 0.5, -1.0}) EXPECT_EQ(shown({{c.hold, v}}, c.element), v == 1) << c.element;
    // Both speed modes: both selected values are drawn, the airspeed over the Mach.
    host.sim.set(MACH_HOLD, 1);
    host.sim.set(SPEED_HOLD, 1);
    host.frame();
    EXPECT_FALSE(hidden(at(SELECTED_MACH)));
    EXPECT_FALSE(hidden(at(SELECTED_SPEED)));
    EXPECT_GT(size_t{SELECTED_SPEED}, size_t{SELECTED_MACH});
}

// ---------------------------------------------------------------------------
// Mode annunciations

TEST_F(Pfd, EachAnnunciationShowsItsLabelWhileItsModeIsExactlyOne) {
    const struct {
        size_t element;
        uint32_t mode;
        const char* label;
        size_t width;
    } cases[] = {
        {SPEED, SPEED_HOLD, "SPEED", 400}, {MACH, MACH_HOLD, "MACH", 400},
        {LVL, LEVEL, "LVL", 400},          {HDG, HDG_HOLD, "HDG", 200},
        {LOC, APPR_HOLD, "LOC", 200},      {BC, BACK_COURSE, "BC", 400},
        {AP1, AP, "AP 1", 200},            {ATHR, ATHR_ARMED, "A/THR", 400},
        {NAV, NAV_HOLD, "NAV", 200},
    };
    for (const auto& c : cases) {
        for (double v : {0.0, 1.0, 2.0, 0.5, -1.0, double{NAN}, 1.0}) {
            const ElementState& s = after({{c.mode, v}}, c.element);
            EXPECT_EQ(!hidden(s), v == 1) << c.label << " " << v;
            const std::string label(c.label);
            ASSERT_EQ(s.text.size(), label.size() + c.width) << c.label;
            EXPECT_EQ(s.text.substr(0, label.size()), label);
            EXPECT_EQ(s.text.find_first_not_of(' ', label.size()), s.text.size() - 1);
            EXPECT_EQ(s.text.back(), '0');
        }
        host.sim.set(c.mode, 0);
    }
    EXPECT_FALSE(pfd.overflowed);
}

TEST_F(Pfd, NavigationShowsOnlyWithoutHeadingHold) {
    const struct {
        double nav, heading;
        bool nav_shown, heading_shown;
    } cases[] = {
        {1, 0, true, false}, {1, 1, false, true},   {1, 0.5, false, false}, {1, 2, false, false},
        {0, 1, false, true}, {0, 0, false, false}, {2, 0, false, false},   {1, -0.0, true, false},
    };
    for (const auto& c : cases) {
        host.sim.set(NAV_HOLD, c.nav);
        host.sim.set(HDG_HOLD, c.heading);
        host.frame();
        EXPECT_EQ(!hidden(at(NAV)), c.nav_shown) << c.nav << " " << c.heading;
        EXPECT_EQ(!hidden(at(HDG)), c.heading_shown) << c.nav << " " << c.heading;
    }
}

TEST_F(Pfd, SpeedAndMachShareTheirPlaceWithMachDrawnLast) {
    host.sim.set(SPEED_HOLD, 1);
    host.sim.set(MACH_HOLD, 1);
    host.frame();
    EXPECT_FALSE(hidden(at(SPEED)));
    EXPECT_FALSE(hidden(at(MACH)));
    EXPECT_EQ(pfd.element(SPEED)->position.x, pfd.element(MACH)->position.x);
    EXPECT_EQ(pfd.element(SPEED)->position.y, pfd.element(MACH)->position.y);
    EXPECT_GT(size_t{MACH}, size_t{SPEED});
}

// ---------------------------------------------------------------------------
// Hostile values

TEST_F(Pfd, ExtremeValuesKeepEveryTextInsideItsBuffer) {
    const uint32_t vars[] = {VS,     DEVIATION, MACH_HOLD, SPEED_HOLD, ALT_HOLD,   FD_ON,        SEL_ALT,
                             HDG_HOLD, SEL_SPEED, IAS,     ALT,        AP,         NAV_HOLD,     APPR_HOLD,
                             ALT_M,  GROUND,    BANK,      MACH_RAW,   BATTERY,    FD_PITCH_CMD, PITCH,
                             FD_BANK_CMD, FREEZE_A, FREEZE_B, ATHR_ARMED, LEVEL, BACK_COURSE, LOCALIZER,
                             GLIDESLOPE, SEL_MACH, BAROMETER, HEADING};
    for (double v : {double{NAN}, double{INFINITY}, -double{INFINITY}, 1e300, -1e300, 3.5e38, -0.0, 5e-324, 1e20, -1e20}) {
        for (uint32_t id : vars) host.sim.set(id, v);
        host.frame();
        for (size_t i = 0; i < ELEMENTS; ++i)
            if (pfd.element(i)->kind == KIND_TEXT) {
                EXPECT_LE(at(i).text.size(), size_t{0x4240}) << i;
            }
    }
    EXPECT_FALSE(pfd.overflowed);
    host.sim.set(ALT, 1e300);
    host.sim.set(SEL_ALT, 1e300);
    host.sim.set(ALT_HOLD, 1);
    host.frame();
    // Infinite in single precision: the hundreds are not a number.
    EXPECT_NE(at(ALTITUDE_HUNDREDS).text.find("nan"), std::string::npos);
    EXPECT_EQ(at(SELECTED_ALTITUDE).text, "  inf");
}

}  // namespace
}  // namespace kestrel::test
