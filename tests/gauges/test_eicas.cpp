// The upper and lower engine displays, driven through the host as the
// simulator drives them: their frame, readouts, flap and memo rules, the
// fuel-used references; then on the panel, with the gauges that set what
// they show.
#include <math.h>

#include <algorithm>

#include "tests/support.h"

namespace kestrel::test {
namespace {

using Vars = std::vector<std::pair<uint32_t, double>>;
struct Shows {
    size_t element;
    const char* text;  // "-": hidden
};

class Display : public HostTest {
protected:
    Gauge& lower = load({"broadcaster", "eicas_upper", "eicas_lower"});
    Gauge& upper = *host.find("eicas_upper");
    std::vector<Event> loading = host.events;
    void SetUp() override { host.frame(); }

    void check(Gauge& g, const Vars& vars, const std::vector<Shows>& want) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        for (const Shows& w : want) {
            const ElementState& s = state(g, w.element);
            if (std::string(w.text) == "-")
                EXPECT_TRUE(hidden(s)) << g.name << "[" << w.element << "]";
            else
                EXPECT_EQ(s.text, w.text) << g.name << "[" << w.element << "]";
        }
    }
    std::vector<std::string> bound(const std::string& gauge) {
        std::vector<std::string> names;
        for (const Event& e : loading)
            if (e.kind == Event::Kind::Bind && e.gauge == gauge) names.push_back(e.name);
        return names;
    }
};

enum { UPPER_COVER = 46, LOWER_COVER = 18 };

TEST_F(Display, FrameBindingsRefreshOrderBrightBitsAndSilence) {
    EXPECT_EQ(bound("eicas_upper"), (std::vector<std::string>{"seatbelts", "nosmoking", "apu", "eicas", "ab"}));
    EXPECT_EQ(bound("eicas_lower"), std::vector<std::string>{"eicas"});
    EXPECT_EQ(lookups(host, upper), (std::vector<uint32_t>{0x270, 0x283, 0x237, 0x271, 0x284, 0x27E, 0x291, 0x317, 0x143,
                                                     0x148, 0x144, 0x16C}));
    EXPECT_EQ(lookups(host, lower),
              (std::vector<uint32_t>{0x27E, 0x317, 0x291, 0x233, 0x23D, 0x231, 0x23B, 0x282, 0x295, 0x16C}));
    ASSERT_EQ(upper.size(), 47u);
    ASSERT_EQ(lower.size(), 19u);
    EXPECT_EQ(upper.layout.mouse.size(), 2u);  // start and end of area: nothing to click
    EXPECT_EQ(lower.layout.mouse.size(), 2u);
    // Bright whatever "power" holds, except the covers; cleared variables
    // are written at the first draw only.
    for (const char* name : {"power", "seatbelts", "nosmoking", "apu", "eicas"}) host.registry.set(name, 1);
    host.frames(2);
    EXPECT_EQ(host.registry.value("eicas"), 1);
    for (Gauge* g : {&upper, &lower})
        for (size_t i = 1; i < g->size(); ++i) EXPECT_EQ(bright(state(*g, i)), i + 1 != g->size()) << g->name << i;
    host.unload("eicas_upper");
    host.unload("eicas_lower");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"TerminateSounds", "TerminateSounds"}));
    EXPECT_TRUE(keys().empty());
}

TEST(DisplayAlone, FirstDrawClearsWhatTheUpperDisplayBinds) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "eicas_upper"}, nullptr));
    for (const char* name : {"seatbelts", "nosmoking", "apu", "eicas"}) host.registry.set(name, 3);
    host.frame();
    for (const char* name : {"seatbelts", "nosmoking", "apu", "eicas"}) EXPECT_EQ(host.registry.value(name), 0) << name;
}

// Split readouts never show ten tenths nor carry; temperatures in Celsius
// (492 and 490), fuel in kilograms, vibration divided by 5 and by 7.
TEST_F(Display, ReadoutsConvertAndSplitAsTheDisplaysPrintThem) {
    check(upper, {{0x270, 85.97}, {0x283, 85.34}, {0x271, 5.2}, {0x284, 99.96}},
          {{4, " 85"}, {5, ".9"}, {6, " 85"}, {7, ".3"}, {17, "005"}, {18, ".2"}, {19, "099"}, {20, ".9"}});
    check(upper, {{0x270, 100}, {0x283, NAN}, {0x271, 19.99}}, {{4, "100"}, {5, ".0"}, {6, "nan"}, {7, ".nan"}, {17, "019"}});
    check(upper, {{0x237, 1248}, {0x241, 519.9}, {0x27E, 2.2046}, {0x291, 0}, {0x317, 22046}},
          {{10, "420"}, {11, "16"}, {23, "1"}, {24, "0"}, {28, "10000"}});
    check(upper, {{0x237, 420}, {0x241, 492}, {0x27E, -2.2046}}, {{10, "-40"}, {11, "0"}, {23, "-1"}});
    check(lower, {{0x231, 661}, {0x23B, 400}, {0x282, 3.5}, {0x295, -7}},
          {{7, "95"}, {8, "-50"}, {13, "0.7"}, {16, "0.5"}, {14, "-1.4"}, {17, "-1.0"}});
    check(lower, {{0x231, INFINITY}, {0x282, NAN}}, {{7, "inf"}, {13, "nan"}, {16, "nan"}});
}

TEST_F(Display, FlapHandleSelectsPictureNumberLabelsAndFullMemo) {
    const struct {
        double handle, frame;
        const char* number;  // "-": hidden
        bool labels, full;
    } cases[] = {
        {0, 0, "-", false, false},      {2048.5, 1, "1", true, false},  {2049, 2, "2", true, false},
        {4097, 3, "5", true, false},    {6553.6, 4, "10", true, false}, {9830.4, 5, "15", true, false},
        {11000, 6, "25", true, false},  {14336, 7, "30", true, false},  {14337, 8, "40", true, true},
        {16383, 8, "40", true, true},   {-5, -5, "-5", false, false},   {1e-9, 1, "1", true, false},
    };
    for (const auto& c : cases) {
        check(upper, {{0x148, c.handle}}, {{38, c.number}});
        EXPECT_EQ(state(upper, 34).value[0], c.frame) << c.handle;
        for (size_t label : {35, 36, 37}) EXPECT_EQ(!hidden(state(upper, label)), c.labels) << c.handle;
        EXPECT_EQ(!hidden(state(upper, 41)), c.full) << c.handle;
    }
}

TEST_F(Display, MemoShowsEachMessageOnlyOnItsExactCondition) {
    enum { SEAT_BELTS = 30, NO_SMOKING, PARK_BRK, APU_AVAIL, SPLRS = 39, ARM, AUTO_BRK = 42 };
    const struct {
        const char* shared;  // null: the simulator variable
        uint32_t var;
        double value;
        std::vector<size_t> shown;
    } cases[] = {
        {"seatbelts", 0, 1, {SEAT_BELTS}}, {"seatbelts", 0, 2, {}},        {"nosmoking", 0, 1, {NO_SMOKING}},
        {"nosmoking", 0, -1, {}},          {"apu", 0, 2, {}},              {"apu", 0, 3, {APU_AVAIL}},
        {"ab", 0, 1, {}},  // no owner here: no autobrake memo
        {nullptr, 0x143, 0.5, {PARK_BRK}}, {nullptr, 0x143, -1, {}},       {nullptr, 0x144, 0.5, {SPLRS}},
        {nullptr, 0x144, 1, {SPLRS, ARM}}, {nullptr, 0x144, NAN, {}},
    };
    for (const auto& c : cases) {
        for (const char* name : {"seatbelts", "nosmoking", "apu"}) host.registry.set(name, 0);
        host.sim.set(0x143, 0);
        host.sim.set(0x144, 0);
        if (c.shared) host.registry.set(c.shared, int32_t(c.value));
        check(upper, c.shared ? Vars{} : Vars{{c.var, c.value}}, {});
        for (size_t m : {SEAT_BELTS, NO_SMOKING, PARK_BRK, APU_AVAIL, SPLRS, ARM, AUTO_BRK}) {
            const bool want = std::find(c.shown.begin(), c.shown.end(), m) != c.shown.end();
            EXPECT_EQ(!hidden(state(upper, m)), want) << (c.shared ? c.shared : "var") << " " << c.value << " " << m;
        }
    }
    EXPECT_EQ(state(upper, ARM).text, "..........ARM" + std::string(399, ' ') + "0");
}

// The references are half the fuel on board (truncated) at the first draw,
// and again at every update while a starter reads exactly 1.
TEST(DisplayFuelUsed, CountsFromEachEnginesLastStart) {
    Host host(options());
    ASSERT_TRUE(host.load({"eicas_lower"}, nullptr));
    Gauge& lower = *host.find("eicas_lower");
    host.sim.set(0x317, 10000);
    host.frame();  // the first draw, after the texts: both references 5000
    const struct {
        double fuel, flow_1, flow_2, starter_1, starter_2;
        const char *used_1, *used_2;
    } steps[] = {
        {10000, 21, 21, 0, 0, "0", "0"},
        {9000, 21, 21, 0, 0, "227", "227"},
        {9000, 20, 1e9, 0, 0, "0", "227"},  // 20 lb/h is not running
        {8000, 21, 21, 1, 0, "0", "454"},   // engine 1's starter: its count restarts
        {7000, 21, 21, 1.0001, 0, "227", "680"},
        {7000, 21, 21, 0, 1, "227", "0"},
        {12000, 21, 21, 0, 0, "-907", "-1134"},  // refuelled: negative, as it comes
        {NAN, 21, 21, 0, 0, "nan", "nan"},
        {1e300, 21, 21, 1, 1, "-inf", "-inf"},  // the references saturate instead of overflowing
        {1e10, 21, 21, 0, 0, "-1293892992", "-1293892992"},
    };
    for (const auto& s : steps) {
        for (const auto& [id, v] : Vars{{0x317, s.fuel}, {0x27E, s.flow_1}, {0x291, s.flow_2}, {0x233, s.starter_1},
                                        {0x23D, s.starter_2}})
            host.sim.set(id, v);
        host.frame();
        EXPECT_EQ(lower.state.at(5).text, s.used_1) << s.fuel;
        EXPECT_EQ(lower.state.at(6).text, s.used_2) << s.fuel;
    }
}

// ---------------------------------------------------------------------------
// On the panel

TEST(EnginePanel, OverheadSignsAndApuReachTheMemo) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "overhead_switches", "eicas_upper"}, nullptr));
    Gauge& overhead = *host.find("overhead_switches");
    Gauge& upper = *host.find("eicas_upper");
    auto memo = [&] {
        host.frame();
        std::string shown;
        for (size_t i : {30, 31, 33}) shown += (upper.state.at(i).flags & IMAGE_HIDDEN) ? '.' : 'x';
        return shown;  // seat belts, no smoking, APU AVAIL
    };
    EXPECT_EQ(memo(), "...");
    host.click(overhead, 290, 67);   // avionics power
    host.click(overhead, 195, 105);  // SEAT BELTS
    EXPECT_EQ(memo(), "x..");
    host.click(overhead, 224, 105);  // NO SMOKING
    EXPECT_EQ(memo(), "xx.");
    host.click(overhead, 156, 74);   // APU master, then start: available ten seconds later
    host.click(overhead, 156, 108);
    host.frames(18 * 9);
    EXPECT_EQ(memo(), "xx.");
    host.frames(18 * 2);
    EXPECT_EQ(memo(), "xxx");
    host.click(overhead, 195, 105);
    EXPECT_EQ(memo(), ".xx");
}

TEST(EnginePanel, BatteryAndDisplaySwitchUncoverBothDisplays) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "electric_panel", "display_switch_1", "eicas_upper", "eicas_lower"}, nullptr));
    Gauge& electric = *host.find("electric_panel");
    Gauge& knob = *host.find("display_switch_1");
    auto covered = [&] {
        host.frame();
        const bool upper = !(host.find("eicas_upper")->state.at(UPPER_COVER).flags & IMAGE_HIDDEN);
        EXPECT_EQ(upper, !(host.find("eicas_lower")->state.at(LOWER_COVER).flags & IMAGE_HIDDEN));
        return upper;
    };
    EXPECT_TRUE(covered());
    host.click(electric, 127, 21);  // BAT 1
    EXPECT_TRUE(covered());
    host.click(knob, 20, 35);  // display 1 on
    EXPECT_FALSE(covered());
    host.click(electric, 127, 21);
    EXPECT_TRUE(covered());
    host.click(electric, 127, 21);
    host.click(knob, 20, 35);
    EXPECT_TRUE(covered());
}

// The autobrake panel owns "ab"; a test gauge registers it in its place.
TEST(EnginePanel, AutoBrakeMemoShowsTheLevel) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", test_module("ab_owner"), "eicas_upper"}, nullptr));
    Gauge& upper = *host.find("eicas_upper");
    host.frame();
    const std::pair<int32_t, std::string> cases[] = {{0, "...."}, {1, "xx.."}, {2, "x.x."}, {3, "x..x"},
                                                     {4, "x..."}, {-1, "x..."}};
    for (const auto& [ab, want] : cases) {
        host.registry.set("ab", ab);
        host.frame();
        std::string shown;
        for (size_t i : {42, 43, 44, 45}) shown += (upper.state.at(i).flags & IMAGE_HIDDEN) ? '.' : 'x';
        EXPECT_EQ(shown, want) << ab;  // AUTO BRK, LO, MED, MAX
    }
    EXPECT_EQ(upper.state.at(44).text, "..........MED" + std::string(399, ' ') + "0");
}

}  // namespace
}  // namespace kestrel::test
