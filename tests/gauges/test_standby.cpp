// The standby instruments, driven through the host as the simulator drives
// them: their records, what each element shows for the flight's values, the
// power rule, and the stand-in's overspeed and sideslip models.
#include <math.h>
#include <stdio.h>

#include "host/sim/sim.h"
#include "tests/support.h"

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

// Each element as "kind resource x,y offset-x,offset-y", after checking the
// flags the host leaves alone; then the mouse list: no clickable area.
std::vector<std::string> chain(const Gauge& g) {
    std::vector<std::string> out;
    for (size_t i = 0; i < g.size(); ++i) {
        const ElementHeader* e = g.element(i);
        EXPECT_EQ(e->image_flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), IMAGE_DEFAULT) << g.name << " " << i;
        char s[64];
        snprintf(s, sizeof s, "%u %#x %d,%d %d,%d", e->kind, e->resource_id, e->position.x, e->position.y,
                 e->offset.x, e->offset.y);
        out.push_back(s);
    }
    EXPECT_STREQ(g.layout.header->name, "KESTREL");
    EXPECT_EQ(g.layout.mouse.size(), 2u) << g.name;  // start, end of area (the end entry closes it)
    EXPECT_EQ(g.layout.mouse.at(0)->kind, MOUSE_START);
    EXPECT_EQ(g.layout.mouse.at(1)->kind, MOUSE_END_AREA);
    return out;
}

// A sprite's sources and scales: x, y, rotation, then the texture scales.
std::vector<double> sprite(const Gauge& g, size_t i) {
    const SpriteElement* s = g.element_as<SpriteElement>(i);
    return {double(s->source_x.id),        copy(s->scale_x),         double(s->source_y.id),
            copy(s->scale_y),              double(s->source_rotation.id), copy(s->scale_rotation),
            double(s->texture_scale_x),    double(s->texture_scale_y)};
}

TEST_F(Standby, RecordsAreTheInstrumentsChains) {
    using S = std::vector<std::string>;
    using D = std::vector<double>;
    EXPECT_EQ(chain(attitude), (S{"0 0x100 0,0 0,0", "4 0x1300 0,0 0,0", "6 0x1200 0,0 60,60", "6 0x1400 0,0 60,60"}));
    EXPECT_EQ(sprite(attitude, 2), (D{0, 0, PITCH, 1.33333333333333, BANK, -1, 1, 1}));
    EXPECT_EQ(sprite(attitude, 3), (D{0, 0, 0, 0, BANK, -1, 1, 1}));

    EXPECT_EQ(chain(altimeter), (S{"0 0x100 0,0 0,0", "4 0x1200 0,0 0,0", "2 0xffffffff 50,42 0,0", "6 0x1400 0,0 75,73"}));
    EXPECT_EQ(sprite(altimeter, 3), (D{0, 0, 0, 0, ALT, -1, 1, 1}));
    const TextElement* t = altimeter.element_as<TextElement>(2);
    EXPECT_EQ((D{double(t->source[0].id), double(t->box_width), double(t->box_height), double(t->font_weight),
                 double(t->text_color), double(t->background_color), double(t->capacity)}),
              (D{ALT, 99, 24, 500, 0xFFFFFF, 0x80FFFF, 0x4240}));
    EXPECT_STREQ(t->font, "Arial");

    EXPECT_EQ(chain(airspeed), (S{"0 0x100 0,0 0,0", "4 0x1200 0,0 0,0", "6 0x1400 0,0 93,93"}));
    EXPECT_EQ(sprite(airspeed, 2), (D{0, 0, 0, 0, IAS, -1, 1, 1}));

    EXPECT_EQ(chain(ball), (S{"0 0x1200 0,0 0,0", "3 0x1300 41,10 0,0"}));
    const SliderElement* b = ball.element_as<SliderElement>(1);
    EXPECT_EQ((D{double(b->source_x.id), copy(b->scale_x), double(b->source_y.id), copy(b->scale_y)}),
              (D{BALL, 0.102362204724409, 0, 0}));

    EXPECT_EQ(chain(light), (S{"0 0x100 0,0 0,0", "4 0x100 0,0 0,0"}));
    EXPECT_EQ(light.element_as<IconElement>(1)->source.id, OVERSPEED);
    EXPECT_EQ(light.element_as<IconElement>(1)->frame_count, 2u);
    for (const Gauge* g : {&attitude, &altimeter, &airspeed})
        EXPECT_EQ(g->element_as<IconElement>(1)->frame_count, 2u) << g->name;

    // "power" for the three round instruments, nothing for the ball and the light.
    std::vector<std::string> bound;
    for (const Event& e : host.events)
        if (e.kind == Event::Kind::Bind) bound.push_back(e.gauge + " " + e.name);
    EXPECT_EQ(bound, (std::vector<std::string>{"standby_attitude power", "standby_altimeter power",
                                               "standby_airspeed power"}));
}

// ---------------------------------------------------------------------------
// What each element shows

// The sphere takes pitch and bank as they are (the pictures show which way
// they move it); the index keeps a bank to the right in 0 to 360.
TEST_F(Standby, BankIndexTurnsARightBankInto0To360) {
    for (const auto& [bank, index] : {std::pair{-30.0, 330.0}, {30.0, 30.0}, {-0.5, 359.5}, {-180.0, 180.0}}) {
        EXPECT_EQ(after(BANK, bank, attitude, 3).value[2], index) << bank;
        EXPECT_EQ(state(attitude, 2).value[2], bank);
    }
    EXPECT_EQ(after(PITCH, 10, attitude, 2).value[1], 10);
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

TEST_F(Standby, BallMovesUnclampedNeverLitAndTheLightShowsTheWarningAlwaysLit) {
    host.registry.set("power", 1);
    for (double v : {0.0, 127.0, -127.0, 254.0, -1000.0, 1.0, 2.0}) {
        const ElementState& b = after(BALL, v, ball, 1);
        EXPECT_EQ(b.value[0], v);
        EXPECT_EQ(b.value[1], 0);
        EXPECT_FALSE(bright(b) || bright(state(ball, 0)));
        const ElementState& l = after(OVERSPEED, v, light, 1);
        EXPECT_EQ(l.value[0], v);  // the frame, whatever the value
        EXPECT_TRUE(bright(l));
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
    auto roll = [&](double from, double step, int frames) {
        for (int i = 1; i <= frames; ++i) {
            sim.set(BANK, from + step * i);
            sim.advance_frame();
        }
        return sim.get(BALL);
    };
    // Rolling left at 10 degrees a second: left, short of 80 units by the lag.
    const double left = roll(0, 5, 7);  // the first frame only starts the count
    EXPECT_TRUE(left < -70 && left > -80) << left;
    EXPECT_EQ(roll(35, 0, 20), 0);  // the bank held: back in the middle, exactly
    const double right = roll(35, -45, 10);  // fast to the right: stops at full deflection
    EXPECT_TRUE(right > 120 && right <= 127) << right;
    sim.set(BALL, INFINITY);  // values no flight has neither stick nor spread
    EXPECT_TRUE(isfinite(roll(NAN, 0, 1)));
}

}  // namespace
}  // namespace kestrel::test
