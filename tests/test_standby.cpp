// The standby instruments, driven through the host as the simulator drives
// them: their records, what each element shows for the flight's values, the
// power rule, and the stand-in's overspeed and sideslip models.
#include <math.h>

#include "host/sim.h"
#include "support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t IAS = 0x3D, MACH = 0x40, ALT = 0x4A, PITCH = 0x4E, BANK = 0x50,
                   OVERSPEED = 0x44, BALL = 0x45;

// Doubles in the packed records may sit on 4-byte boundaries: compare copies.
double copy(double v) { return v; }

class Standby : public HostTest {
protected:
    Gauge& attitude = load({"broadcaster", "standby_attitude"});
    Gauge& altimeter = load({"standby_altimeter"});
    Gauge& airspeed = load({"standby_airspeed"});
    Gauge& ball = load({"turn_coordinator"});
    Gauge& light = load({"overspeed_warning"});
    void SetUp() override { host.frame(); }

    const ElementState& after(uint32_t id, double v, Gauge& g, size_t i) {
        host.sim.set(id, v);
        host.frame();
        return state(g, i);
    }
};

// ---------------------------------------------------------------------------
// Records

struct Element {
    uint32_t kind, resource;
    int32_t x, y;
    PixPoint offset;
};

void expect_chain(const Gauge& g, std::initializer_list<Element> want) {
    ASSERT_EQ(g.size(), want.size()) << g.name;
    size_t i = 0;
    for (const Element& w : want) {
        const ElementHeader* e = g.element(i);
        EXPECT_EQ(e->kind, w.kind) << g.name << " " << i;
        EXPECT_EQ(e->resource_id, w.resource) << g.name << " " << i;
        EXPECT_EQ(e->position.x, w.x) << g.name << " " << i;
        EXPECT_EQ(e->position.y, w.y) << g.name << " " << i;
        EXPECT_EQ(e->offset.x, w.offset.x) << g.name << " " << i;
        EXPECT_EQ(e->offset.y, w.offset.y) << g.name << " " << i;
        EXPECT_EQ(e->image_flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), IMAGE_DEFAULT) << g.name << " " << i;
        ++i;
    }
    // No clickable area: start, end of area (the end of the list closes it).
    ASSERT_EQ(g.layout.mouse.size(), 2u) << g.name;
    EXPECT_EQ(g.layout.mouse[0]->kind, MOUSE_START);
    EXPECT_EQ(g.layout.mouse[1]->kind, MOUSE_END_AREA);
    EXPECT_STREQ(g.layout.header->name, "KESTREL");
}

// A sprite's sources and scales: x, y, rotation.
void expect_sprite(const Gauge& g, size_t i, uint32_t y_var, double y_scale, uint32_t turn_var) {
    const SpriteElement* s = g.element_as<SpriteElement>(i);
    EXPECT_EQ(s->source_x.id, 0u);
    EXPECT_EQ(copy(s->scale_x), 0.0);
    EXPECT_EQ(s->source_y.id, y_var);
    EXPECT_EQ(copy(s->scale_y), y_scale);
    EXPECT_EQ(s->source_rotation.id, turn_var);
    EXPECT_EQ(copy(s->scale_rotation), -1.0);
    EXPECT_EQ(s->texture_scale_x, 1.0f);
    EXPECT_EQ(s->texture_scale_y, 1.0f);
}

TEST_F(Standby, RecordsAreTheInstrumentsChains) {
    expect_chain(attitude, {{KIND_STATIC, 0x100, 0, 0, {}},
                            {KIND_ICON, 0x1300, 0, 0, {}},
                            {KIND_SPRITE, 0x1200, 0, 0, {60, 60}},
                            {KIND_SPRITE, 0x1400, 0, 0, {60, 60}}});
    expect_sprite(attitude, 2, PITCH, 1.33333333333333, BANK);
    expect_sprite(attitude, 3, 0, 0, BANK);

    expect_chain(altimeter, {{KIND_STATIC, 0x100, 0, 0, {}},
                             {KIND_ICON, 0x1200, 0, 0, {}},
                             {KIND_TEXT, 0xFFFFFFFF, 50, 42, {}},
                             {KIND_SPRITE, 0x1400, 0, 0, {75, 73}}});
    const TextElement* counter = altimeter.element_as<TextElement>(2);
    EXPECT_EQ(counter->source[0].id, ALT);
    EXPECT_EQ(counter->box_width, 99);
    EXPECT_EQ(counter->box_height, 24);
    EXPECT_STREQ(counter->font, "Arial");
    EXPECT_EQ(counter->font_weight, 500);
    EXPECT_EQ(counter->text_color, 0xFFFFFFu);
    EXPECT_EQ(counter->background_color, 0x80FFFFu);
    EXPECT_EQ(counter->capacity, 0x4240);
    expect_sprite(altimeter, 3, 0, 0, ALT);

    expect_chain(airspeed, {{KIND_STATIC, 0x100, 0, 0, {}},
                            {KIND_ICON, 0x1200, 0, 0, {}},
                            {KIND_SPRITE, 0x1400, 0, 0, {93, 93}}});
    expect_sprite(airspeed, 2, 0, 0, IAS);

    expect_chain(ball, {{KIND_STATIC, 0x1200, 0, 0, {}}, {KIND_SLIDER, 0x1300, 41, 10, {}}});
    const SliderElement* slider = ball.element_as<SliderElement>(1);
    EXPECT_EQ(slider->source_x.id, BALL);
    EXPECT_EQ(copy(slider->scale_x), 0.102362204724409);
    EXPECT_EQ(slider->source_y.id, 0u);
    EXPECT_EQ(copy(slider->scale_y), 0.0);

    expect_chain(light, {{KIND_STATIC, 0x100, 0, 0, {}}, {KIND_ICON, 0x100, 0, 0, {}}});
    EXPECT_EQ(light.element_as<IconElement>(1)->source.id, OVERSPEED);
    EXPECT_EQ(light.element_as<IconElement>(1)->frame_count, 2u);
    for (const Gauge* g : {&attitude, &altimeter, &airspeed})
        EXPECT_EQ(g->element_as<IconElement>(1)->frame_count, 2u) << g->name;
}

TEST(StandbyBinding, PowerForThreeNothingForTheBallAndTheLight) {
    for (const auto& [name, binds] : {std::pair{"standby_attitude", true}, {"standby_altimeter", true},
                                      {"standby_airspeed", true}, {"turn_coordinator", false},
                                      {"overspeed_warning", false}}) {
        Host host(options());
        std::string error;
        ASSERT_TRUE(host.load({"broadcaster", name}, &error)) << error;
        std::vector<std::string> bound;
        for (const Event& e : host.events)
            if (e.kind == Event::Kind::Bind && e.gauge == name) bound.push_back(e.name);
        EXPECT_EQ(bound, binds ? std::vector<std::string>{"power"} : std::vector<std::string>{}) << name;
    }
}

// ---------------------------------------------------------------------------
// What each element shows

TEST_F(Standby, SphereAndBankIndexFollowPitchAndBank) {
    const struct {
        double pitch, bank, index;
    } cases[] = {
        {0, -30, 330}, {0, 30, 30}, {10, 0, 0}, {-10, -0.5, 359.5}, {0, -180, 180}, {0, 180, 180},
    };
    for (const auto& c : cases) {
        host.sim.set(PITCH, c.pitch);
        host.sim.set(BANK, c.bank);
        host.frame();
        const ElementState& sphere = state(attitude, 2);
        EXPECT_EQ(sphere.value[0], 0);
        EXPECT_EQ(sphere.value[1], c.pitch);
        EXPECT_EQ(sphere.value[2], c.bank);
        const ElementState& index = state(attitude, 3);
        EXPECT_EQ(index.value[0], 0);
        EXPECT_EQ(index.value[1], 0);
        EXPECT_EQ(index.value[2], c.index) << c.bank;
    }
}

TEST_F(Standby, AltimeterCounterAndPointer) {
    const struct {
        double feet;
        const char* counter;
        double turn;
    } cases[] = {
        {0, "00000", 0},           {345, "00345", 124.2},   {12345, "12345", 124.2},
        {1000, "01000", 0},        {999, "00999", 359.64},  {-250, "-0250", -90},
        {123456, "123456", 164.16}, {-1000, "-1000", 0},    {99999.6, "100000", 359.856},
    };
    for (const auto& c : cases) {
        host.sim.set(ALT, c.feet);
        host.frame();
        EXPECT_EQ(state(altimeter, 2).text, c.counter) << c.feet;
        EXPECT_NEAR(state(altimeter, 3).value[2], c.turn, 1e-9) << c.feet;
        EXPECT_EQ(state(altimeter, 3).value[0], 0);
        EXPECT_EQ(state(altimeter, 3).value[1], 0);
    }
    for (double v : {double(NAN), double(INFINITY), -double(INFINITY), 1e300}) {
        host.sim.set(ALT, v);
        host.frame();
        EXPECT_FALSE(altimeter.overflowed) << v;
    }
}

TEST_F(Standby, AirspeedPointerFollowsTheScaleBands) {
    const struct {
        double knots, angle;
    } cases[] = {
        {-50, 0},       {0, 0},         {59.9, 0},     {60, 0},        {100, 59.6},
        {159.9, 148.851}, {160, 149},   {199.9, 180.122}, {200, 180},  {249.9, 229.9},
        {250, 229},     {300, 255.5},   {400, 308.5},  {400.1, 309},   {600, 309},
        {INFINITY, 309}, {-INFINITY, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(after(IAS, c.knots, airspeed, 2).value[2], c.angle, 1e-9) << c.knots;
}

TEST_F(Standby, BallMovesWithTheSlipUnclampedAndNeverLit) {
    host.registry.set("power", 1);
    for (double slip : {0.0, 127.0, -127.0, 254.0, -1000.0}) {
        const ElementState& s = after(BALL, slip, ball, 1);
        EXPECT_EQ(s.value[0], slip);
        EXPECT_EQ(s.value[1], 0);
        EXPECT_FALSE(bright(s));
        EXPECT_FALSE(bright(state(ball, 0)));
    }
}

TEST_F(Standby, OverspeedLightShowsTheWarningAlwaysBright) {
    for (double warning : {0.0, 1.0, 0.0, 2.0}) {
        const ElementState& s = after(OVERSPEED, warning, light, 1);
        EXPECT_EQ(s.value[0], warning);
        EXPECT_TRUE(bright(s));
    }
}

TEST_F(Standby, OnlyPowerExactlyOneLightsTheThreePoweredInstruments) {
    for (int32_t power : {0, 1, 2, -1}) {
        host.registry.set("power", power);
        host.frame();
        for (const Gauge* g : {&attitude, &altimeter, &airspeed}) {
            EXPECT_FALSE(bright(g->state.at(0))) << g->name;
            for (size_t i = 1; i < g->size(); ++i)
                EXPECT_EQ(bright(g->state.at(i)), power == 1) << g->name << " " << i << " power " << power;
        }
    }
}

TEST_F(Standby, PlayNoSound) {
    host.frames(3);
    sounds();
    for (const char* name : {"standby_attitude", "standby_altimeter", "standby_airspeed", "turn_coordinator",
                             "overspeed_warning"}) {
        host.unload(name);
        EXPECT_EQ(sounds(), std::vector<std::string>{"TerminateSounds"}) << name;
    }
}

// ---------------------------------------------------------------------------
// The stand-in's models

TEST(StandbyModels, OverspeedAboveTheAirspeedOrMachLimit) {
    Sim sim;
    ASSERT_TRUE(sim.enable_model("overspeed", true));
    const struct {
        double knots, mach_units, warning;
    } cases[] = {
        {250, 8100, 0},  {350, 8100, 0}, {350.1, 8100, 1}, {300, 16793, 0},
        {300, 16794, 1}, {NAN, NAN, 0},  {INFINITY, 0, 1},
    };
    for (const auto& c : cases) {
        sim.set(IAS, c.knots);
        sim.set(MACH, c.mach_units);
        sim.advance_frame();
        EXPECT_EQ(sim.get(OVERSPEED), c.warning) << c.knots << " " << c.mach_units;
    }
}

TEST(StandbyModels, BallSwingsToTheLowerWingWhileRollingThenCentres) {
    Sim sim;
    sim.set_frame_rate(2);
    ASSERT_TRUE(sim.enable_model("slip", true));
    sim.advance_frame();
    EXPECT_EQ(sim.get(BALL), 0);
    // Rolling left at 10 degrees a second: the ball goes left, short of the
    // steady 80 units by the lag.
    for (int i = 1; i <= 6; ++i) {
        sim.set(BANK, 5.0 * i);
        sim.advance_frame();
    }
    EXPECT_LT(sim.get(BALL), -70);
    EXPECT_GT(sim.get(BALL), -80);
    // Holding the bank: back to the middle, exactly.
    for (int i = 0; i < 20; ++i) sim.advance_frame();
    EXPECT_EQ(sim.get(BALL), 0);
    // Rolling right, fast: to the right, never beyond full deflection.
    for (int i = 1; i <= 10; ++i) {
        sim.set(BANK, 30 - 45.0 * i);
        sim.advance_frame();
    }
    EXPECT_GT(sim.get(BALL), 120);
    EXPECT_LE(sim.get(BALL), 127);
    // Values no flight has neither stick nor spread.
    sim.set(BANK, NAN);
    sim.set(BALL, INFINITY);
    sim.advance_frame();
    EXPECT_TRUE(isfinite(sim.get(BALL)));
}

}  // namespace
}  // namespace kestrel::test
