// The throttle quadrant: which lever pictures show, the drag areas, the engine
// switches and lights, and the start selector with the APU and the battery.
#include <math.h>

#include "support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t THRUST_L = 0x80, REVERSE_L = 0x281, THRUST_R = 0xA3, REVERSE_R = 0x294;
constexpr uint32_t STARTER_L = 0x233, STARTER_R = 0x23D, ENGINE_A = 0x284, ENGINE_B = 0x271;
constexpr uint32_t BATTERY = 0x16C;
constexpr int32_t START_SELECTOR[] = {130, 360};

// Elements: the left lever's pictures are 1 to 8, the right's 9 to 16, from
// full forward to reverse.
enum { TRIM_L = 17, TRIM_R, SWITCH_L, SWITCH_R, LIGHT_L, LIGHT_R, SELECTOR, FIRST_LABEL };

class ThrottleQuadrant : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "throttle_quadrant"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    // The pictures shown for the lever whose first picture is `first`, as a
    // string of eight 0/1 from full forward to reverse.
    std::string shown(size_t first) {
        std::string s;
        for (size_t i = first; i < first + 8; ++i) s += hidden(state(g, i)) ? '0' : '1';
        return s;
    }
    void engage_conditions(int32_t apu, double battery) {
        host.registry.set("apu", apu);
        host.sim.set(BATTERY, battery);
        host.frame();
    }
    bool start_light() { return state(g, SELECTOR).value[0] == 1; }
};

TEST_F(ThrottleQuadrant, ChainAndMouseListAreInTheirOrder) {
    ASSERT_EQ(g.size(), 33u);
    const uint32_t left[] = {0x1300, 0x1200, 0x1500, 0x1600, 0x1700, 0x1800, 0x1900, 0x2000};
    const int32_t tops[] = {15, 34, 59, 89, 114, 140, 164, 184};
    for (size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(g.element(1 + k)->resource_id, left[k]);
        EXPECT_EQ(g.element(9 + k)->resource_id, 0x2100u + 0x100 * k);
        EXPECT_EQ(g.element(1 + k)->position.y, tops[k]);
        EXPECT_EQ(g.element(9 + k)->position.x, 139);
    }
    const MovingElement* trim = g.element_as<MovingElement>(TRIM_R);
    EXPECT_EQ(trim->source_y.id, 0x30Fu);
    const double first = trim->range_y[0], second = trim->range_y[1];  // (the record is packed)
    EXPECT_EQ(first, 0.42);
    EXPECT_EQ(second, -0.42);
    EXPECT_EQ(g.element_as<IconElement>(SWITCH_R)->source.id, 0x380u);
    const char* const texts[] = {"ENG", "OFF", "START", "ON ", "ON", "OFF", "OFF", "1", "2"};
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(state(g, FIRST_LABEL + i).text, texts[i] + std::string(399, ' ') + "0") << i;
    EXPECT_STREQ(g.element_as<TextElement>(FIRST_LABEL + 2)->font, "Arial Narrow");

    const struct {
        PixBox box;
        int32_t cursor;
        uint32_t flags;
    } areas[] = {
        {{74, 14, 132, 93}, 1, MOUSE_LEFT_DRAG},  {{73, 111, 127, 91}, 2, MOUSE_LEFT_DRAG},
        {{79, 295, 33, 50}, 5, MOUSE_LEFT_SINGLE}, {{151, 297, 33, 47}, 5, MOUSE_LEFT_SINGLE},
        {{115, 347, 36, 31}, 5, MOUSE_LEFT_SINGLE}, {{3, 195, 24, 117}, 1, MOUSE_LEFT_DRAG},
        {{240, 198, 24, 116}, 1, MOUSE_LEFT_DRAG}, {{3, 83, 24, 130}, 2, MOUSE_LEFT_DRAG},
        {{243, 88, 22, 126}, 2, MOUSE_LEFT_DRAG},
    };
    ASSERT_EQ(g.layout.mouse.size(), 11u);
    for (size_t i = 0; i < 9; ++i) {
        const MouseRect* m = g.layout.mouse[1 + i];
        EXPECT_EQ(memcmp(&m->box, &areas[i].box, sizeof(PixBox)), 0) << i;
        EXPECT_EQ(m->cursor, areas[i].cursor) << i;
        EXPECT_EQ(m->flags, areas[i].flags) << i;
    }
}

TEST_F(ThrottleQuadrant, EachLeverShowsThePicturesOfItsBandAndReverse) {
    const struct {
        double t, r;
        const char* pictures;  // full, bands 6 to 2, idle, reverse
    } cases[] = {
        {0, 0, "00000010"},       {3136, 0, "00000010"},    {3137, 0, "00000100"},
        {5328, 0, "00000100"},    {5329, 0, "00001000"},    {7521, 0, "00010000"},
        {9713, 0, "00100000"},    {11905, 0, "01000000"},   {14096, 0, "01000000"},
        {14097, 0, "10000000"},   {16383, 0, "10000000"},   {0, 0.26, "00000010"},
        {0, 0.265, "00000011"},   {0, 0.27, "00000001"},    {0, 1, "00000001"},
        {14096.5, 0, "11000000"}, {9000, 0.5, "00010001"},  {NAN, NAN, "00000000"},
        {-5, 0, "00000010"},      {1e300, -1e300, "10000000"},
    };
    for (const auto& c : cases) {
        host.sim.set(THRUST_L, c.t);
        host.sim.set(REVERSE_L, c.r);
        host.sim.set(THRUST_R, c.t);
        host.sim.set(REVERSE_R, c.r);
        host.frame();
        EXPECT_EQ(shown(1), c.pictures) << "t " << c.t << " r " << c.r;
        EXPECT_EQ(shown(9), c.pictures) << "t " << c.t << " r " << c.r;
    }
    // Each lever reads its own variables.
    host.sim.set(THRUST_R, 16383);
    host.sim.set(REVERSE_L, 0);
    host.sim.set(THRUST_L, 0);
    host.frame();
    EXPECT_EQ(shown(1), "00000010");
    EXPECT_EQ(shown(9), "10000000");
}

// The event belongs to the area where the drag started: once per call, in
// whichever direction the mouse moves and even when it leaves the area.
TEST_F(ThrottleQuadrant, EachDragAreaSendsItsOwnEventOncePerCall) {
    const struct {
        int32_t x, y;
        uint32_t event;
    } areas[] = {
        {140, 60, 0x1003E}, {140, 150, 0x10042}, {10, 250, 0x1004F},
        {250, 250, 0x1004F}, {10, 150, 0x10047}, {250, 150, 0x10047},
    };
    for (const auto& a : areas)
        for (int32_t dy : {-40, 40, 300}) {
            EXPECT_EQ(host.drag(g, a.x, a.y, a.x, a.y + dy, 5), 5);
            EXPECT_EQ(keys(), std::vector<uint32_t>(5, a.event)) << a.x << "," << a.y << " dy " << dy;
        }
    // A click on a drag area does nothing.
    host.click(g, 140, 60);
    EXPECT_TRUE(keys().empty());
}

TEST_F(ThrottleQuadrant, EngineSwitchesSendTheirEventThenTheSwitchSound) {
    for (auto [x, y, event] : {std::tuple{90, 320, 0x103BEu}, {165, 320, 0x103BFu}}) {
        host.click(g, x, y);
        ASSERT_EQ(host.events.size(), 3u);  // the key, what the simulator did, the sound
        EXPECT_EQ(host.events[0].kind, Event::Kind::KeyEvent);
        EXPECT_EQ(host.events[0].number, event);
        EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\SWITCH.WAV"});
    }
    host.frame();
    EXPECT_EQ(state(g, SWITCH_L).value[0], 1);
    EXPECT_EQ(state(g, SWITCH_R).value[0], 1);
}

// The lights follow the simulator's starters and are always lit; the labels
// follow the power rule; nothing else is ever lit.
TEST_F(ThrottleQuadrant, LightsShowAtExactlyOneAndOnlyTheLabelsFollowPower) {
    for (int32_t power : {0, 1, 2}) {
        host.registry.set("power", power);
        for (double v : {1.0, 0.0, 0.99, double(NAN), 2.0}) {
            host.sim.set(STARTER_L, v);
            host.sim.set(STARTER_R, v == 1 ? 0 : 1);
            host.frame();
            EXPECT_EQ(hidden(state(g, LIGHT_L)), v != 1) << v;
            EXPECT_EQ(hidden(state(g, LIGHT_R)), v == 1) << v;
            for (size_t i : {LIGHT_L, LIGHT_R}) EXPECT_TRUE(bright(state(g, i)));
            for (size_t i = 0; i < 9; ++i) EXPECT_EQ(bright(state(g, FIRST_LABEL + i)), power == 1);
            for (size_t i = 0; i < LIGHT_L; ++i) EXPECT_FALSE(bright(state(g, i))) << i;
            EXPECT_FALSE(bright(state(g, SELECTOR)));
        }
    }
}

TEST_F(ThrottleQuadrant, StartSelectorEngagesOnlyWithTheApuAvailableAndTheBatteryOn) {
    const struct {
        int32_t apu;
        double battery;
        bool engages;
    } cases[] = {
        {3, 1, true}, {2, 1, false}, {1, 1, false}, {0, 1, false}, {-3, 1, false},
        {3, 0, false}, {3, 0.5, false}, {3, NAN, false}, {3, 2, false},
    };
    for (const auto& c : cases) {
        engage_conditions(c.apu, c.battery);
        host.click(g, START_SELECTOR[0], START_SELECTOR[1]);
        EXPECT_EQ(keys(), c.engages ? std::vector<uint32_t>{0x102B0} : std::vector<uint32_t>{})
            << c.apu << " " << c.battery;
        host.frame();
        EXPECT_EQ(start_light(), c.engages);
        // A second click disengages without an event.
        host.click(g, START_SELECTOR[0], START_SELECTOR[1]);
        host.frame();
        EXPECT_FALSE(start_light());
        EXPECT_TRUE(keys().empty());
        EXPECT_TRUE(sounds().empty());
    }
}

TEST_F(ThrottleQuadrant, StartEndsWhenBothEngineValuesExceed23) {
    const struct {
        double a, b;
        bool ends;
    } cases[] = {{23, 30, false}, {30, 23, false}, {23.001, 24, true}, {NAN, 30, false},
                 {INFINITY, INFINITY, true}, {100, 100, true}};
    engage_conditions(3, 1);
    for (const auto& c : cases) {
        host.sim.set(ENGINE_A, 0);
        host.sim.set(ENGINE_B, 0);
        host.frame();
        if (!start_light()) host.click(g, START_SELECTOR[0], START_SELECTOR[1]);
        host.sim.set(ENGINE_A, c.a);
        host.sim.set(ENGINE_B, c.b);
        host.frames(2);
        EXPECT_EQ(start_light(), !c.ends) << c.a << " " << c.b;
    }
}

// The overhead panel's APU sequence and the electric panel's battery make the
// start possible; the simulator then runs both starters, and the quadrant's
// lights show them.
class ThrottleQuadrantOnThePanel : public HostTest {};

TEST_F(ThrottleQuadrantOnThePanel, StartSelectorFollowsTheOverheadApuSequence) {
    load({"broadcaster", "overhead_switches", "electric_panel", "throttle_quadrant"});
    Gauge& overhead = *host.find("overhead_switches");
    Gauge& quadrant = *host.find("throttle_quadrant");
    host.frame();
    auto try_start = [&] {
        host.events.clear();
        host.click(quadrant, START_SELECTOR[0], START_SELECTOR[1]);
        host.frame();
        const bool sent = std::any_of(host.events.begin(), host.events.end(), [](const Event& e) {
            return e.kind == Event::Kind::KeyEvent && e.number == 0x102B0;
        });
        if (quadrant.state[SELECTOR].value[0] == 1) host.click(quadrant, START_SELECTOR[0], START_SELECTOR[1]);
        return sent;
    };
    host.click(*host.find("electric_panel"), 127, 21);  // BAT 1
    host.frame();
    EXPECT_FALSE(try_start());                         // APU off
    host.click(overhead, 156, 74);                      // APU master
    host.frame();
    EXPECT_FALSE(try_start());
    host.click(overhead, 156, 108);                     // APU start
    host.frames(5 * 18);
    EXPECT_FALSE(try_start());                          // still starting
    host.frames(6 * 18);
    EXPECT_EQ(host.registry.value("apu"), 3);
    EXPECT_TRUE(try_start());
    EXPECT_EQ(host.sim.get(STARTER_L), 1);
    EXPECT_EQ(host.sim.get(STARTER_R), 1);
    EXPECT_FALSE(hidden(quadrant.state[LIGHT_L]));
    EXPECT_FALSE(hidden(quadrant.state[LIGHT_R]));
}

}  // namespace
}  // namespace kestrel::test
