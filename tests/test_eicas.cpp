// The upper and lower engine displays, driven through the host as the
// simulator drives them: their records, readouts, memo and flap rules, the
// fuel-used references and the covers; then on the panel, with the gauges
// that set what they show.
#include <math.h>

#include <algorithm>
#include <array>

#include "support.h"

namespace kestrel::test {
namespace {

// Doubles in the packed records may sit on 4-byte boundaries: compare copies.
double copy(double v) { return v; }

std::string label(const char* caption) { return caption + std::string(399, ' ') + "0"; }

// The host's lookup_var, wrapped to note the ids in the order asked.
std::vector<uint32_t> looked_up;
void (KCALL* host_lookup)(ModuleVar*) = nullptr;
void KCALL note_lookup(ModuleVar* var) {
    looked_up.push_back(var->id);
    host_lookup(var);
}
std::vector<uint32_t> lookups(Host& host, Gauge& g) {
    HostTable* table = g.layout.imports->host.table;
    HostTable noting = *table;
    host_lookup = table->lookup_var;
    noting.lookup_var = note_lookup;
    g.layout.imports->host.table = &noting;
    looked_up.clear();
    host.service(g, SERVICE_PRE_UPDATE);
    g.layout.imports->host.table = table;
    return looked_up;
}

std::vector<std::string> bound_by(const std::vector<Event>& events, const std::string& gauge) {
    std::vector<std::string> names;
    for (const Event& e : events)
        if (e.kind == Event::Kind::Bind && e.gauge == gauge) names.push_back(e.name);
    return names;
}

// One row per element: what a copy of the records could get wrong.
struct Row {
    uint32_t kind, resource;
    int32_t x, y;
    int32_t width, height;  // text box; frames for icons
    bool narrow;
    uint32_t colour, background, source;
};

void check_chain(Gauge& g, const Row* rows, size_t count) {
    ASSERT_EQ(g.size(), count);
    for (size_t i = 0; i < count; ++i) {
        const Row& r = rows[i];
        const ElementHeader* e = g.element(i);
        EXPECT_EQ(e->kind, r.kind) << i;
        EXPECT_EQ(e->resource_id, r.kind == KIND_TEXT ? ~0u : r.resource) << i;
        EXPECT_EQ(e->position.x, r.x) << i;
        EXPECT_EQ(e->position.y, r.y) << i;
        EXPECT_EQ(e->image_flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), 0x83u) << i;
        EXPECT_EQ(e->failures[0].key, 0u) << i;
        if (r.kind == KIND_ICON) {
            const auto* icon = reinterpret_cast<const IconElement*>(e);
            EXPECT_EQ(icon->frame_count, uint32_t(r.width)) << i;
            EXPECT_EQ(icon->mode, ICON_MODE_STEP_TO) << i;
            EXPECT_EQ(icon->source.id, r.source) << i;
        }
        if (r.kind == KIND_TEXT) {
            const auto* t = reinterpret_cast<const TextElement*>(e);
            EXPECT_EQ(t->box_width, r.width) << i;
            EXPECT_EQ(t->box_height, r.height) << i;
            EXPECT_STREQ(t->font, r.narrow ? "Arial Narrow" : "Arial") << i;
            EXPECT_EQ(t->font_weight, 500) << i;
            EXPECT_EQ(t->charset, 1) << i;
            EXPECT_EQ(t->text_color, r.colour) << i;
            EXPECT_EQ(t->background_color, r.background) << i;
            EXPECT_EQ(t->capacity, 0x4240) << i;
            EXPECT_EQ(t->source[0].id, r.source) << i;
        }
    }
    // No clickable area and no tooltip: start and end of area.
    ASSERT_EQ(g.layout.mouse.size(), 2u);
    EXPECT_EQ(g.layout.mouse[0]->kind, MOUSE_START);
    EXPECT_EQ(g.layout.mouse[1]->kind, MOUSE_END_AREA);
    EXPECT_STREQ(g.layout.header->name, "KESTREL");
}

constexpr uint32_t T = KIND_TEXT, I = KIND_ICON, N = KIND_NEEDLE, S = KIND_STATIC;
constexpr uint32_t GREEN = 0x03D503, WHITE = 0xFFFFFF, BLUE = 0xFF7F5B;
constexpr bool NARROW = true, ARIAL = false;

// ===========================================================================
// Upper display

enum {
    SCREEN, SCALES, N1_1_NEEDLE, N1_2_NEEDLE, N1_1_WHOLE, N1_1_TENTHS, N1_2_WHOLE, N1_2_TENTHS,
    EGT_1_NEEDLE, EGT_2_NEEDLE, EGT_1, EGT_2, N2_1_WHOLE = 17, N2_1_TENTHS, N2_2_WHOLE, N2_2_TENTHS,
    FF_1 = 23, FF_2, FOB = 28, SEAT_BELTS = 30, NO_SMOKING, PARK_BRK, APU_AVAIL, FLAP_PICTURE,
    S_LABEL, FLAPS_LABEL, F_LABEL, FLAP_NUMBER, SPLRS, ARM, FLAPS_FULL, AUTO_BRK, LO, MED, MAX,
    UPPER_COVER, UPPER_ELEMENTS
};

const Row UPPER[UPPER_ELEMENTS] = {
    {S, 0x1100, 0, 0},
    {I, 0x1200, 0, 0, 2},
    {N, 0x1300, 28, 30},
    {N, 0x1400, 99, 29},
    {T, 0, 15, 31, 192, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 36, 34, 171, 16, ARIAL, GREEN, 0x4080FF},
    {T, 0, 84, 31, 123, 19, ARIAL, GREEN, 0x008000},
    {T, 0, 108, 33, 99, 16, ARIAL, GREEN, 0x80FFFF},
    {N, 0x1500, 28, 79},
    {N, 0x1600, 98, 79},
    {T, 0, 18, 80, 189, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 89, 80, 118, 19, ARIAL, GREEN, 0x00FFFF, 0x241},
    {T, 0, 57, 27, 150, 16, ARIAL, WHITE, 0x00FF00},
    {T, 0, 53, 75, 154, 16, NARROW, WHITE, 0xFFFF80},
    {T, 0, 57, 87, 150, 13, ARIAL, BLUE, 0xFF0000},
    {T, 0, 63, 87, 144, 15, ARIAL, BLUE, 0x00FF00},
    {T, 0, 56, 38, 151, 15, NARROW, BLUE, 0xFF0000},
    {T, 0, 2, 103, 205, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 25, 105, 182, 16, ARIAL, GREEN, 0x4080FF},
    {T, 0, 86, 103, 121, 19, ARIAL, GREEN, 0x00FFFF},
    {T, 0, 109, 105, 98, 16, ARIAL, GREEN, 0x4080FF},
    {T, 0, 53, 95, 154, 16, ARIAL, WHITE, 0xFFFF80},
    {T, 0, 55, 105, 152, 14, NARROW, BLUE, 0xFF0000},
    {T, 0, 4, 121, 203, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 90, 122, 117, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 54, 116, 153, 16, ARIAL, WHITE, 0x00FF00},
    {T, 0, 53, 127, 154, 14, NARROW, BLUE, 0xFF0000},
    {T, 0, 129, 67, 78, 16, ARIAL, WHITE, 0x80FFFF},
    {T, 0, 155, 67, 52, 16, ARIAL, GREEN, 0x4080FF},
    {T, 0, 190, 67, 17, 14, NARROW, BLUE, 0xFF0000},
    {T, 0, 8, 144, 199, 15, NARROW, GREEN, 0x80FFFF},
    {T, 0, 8, 156, 199, 15, NARROW, GREEN, 0x00FFFF},
    {T, 0, 133, 144, 74, 15, NARROW, GREEN, 0x80FFFF},
    {T, 0, 133, 156, 74, 15, NARROW, GREEN, 0x00FFFF},
    {I, 0x1700, 128, 79, 9, 0, false, 0, 0, 0x148},
    {T, 0, 134, 81, 73, 15, NARROW, BLUE, 0x80FFFF},
    {T, 0, 152, 81, 55, 15, NARROW, WHITE, 0x4080FF},
    {T, 0, 185, 81, 22, 15, NARROW, BLUE, 0xFF8000},
    {T, 0, 158, 110, 49, 17, NARROW, BLUE, 0xFF0000, 0x148},
    {T, 0, 8, 168, 199, 15, NARROW, GREEN, 0x80FFFF},
    {T, 0, 50, 168, 157, 15, NARROW, BLUE, 0x80FFFF},
    {T, 0, 8, 180, 199, 15, NARROW, GREEN, 0x80FFFF, 0x148},
    {T, 0, 8, 192, 199, 15, NARROW, GREEN, 0x80FFFF},
    {T, 0, 50, 192, 157, 15, NARROW, BLUE, 0x80FFFF},
    {T, 0, 50, 192, 157, 15, NARROW, BLUE, 0x000000},
    {T, 0, 50, 192, 157, 15, NARROW, BLUE, 0x80FFFF},
    {I, 0x1900, 0, 0, 2},
};

class Upper : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "eicas_upper"});
    std::vector<Event> loading = host.events;
    void SetUp() override { host.frame(); }

    const ElementState& after(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        return state(g, i);
    }
    std::string text(size_t i) { return state(g, i).text; }
    bool shown(size_t i) { return !hidden(state(g, i)); }
};

TEST_F(Upper, ChainNeedleTablesAndMouseListAreTheDisplays) {
    check_chain(g, UPPER, UPPER_ELEMENTS);
    const struct {
        size_t element;
        uint32_t source;
        std::vector<std::array<double, 3>> points;
    } needles[] = {
        {N1_1_NEEDLE, 0x270, {{8, 45, 0}, {11, 13, 50}, {51, 18, 100}, {52, 32, 114}}},
        {N1_2_NEEDLE, 0x283, {{79, 42, 0}, {83, 12, 50}, {122, 18, 100}, {124, 32, 114}}},
        {EGT_1_NEEDLE, 0x237, {{8, 95, 0}, {12, 62, 500}, {52, 68, 1000}}},
        {EGT_2_NEEDLE, 0x241, {{80, 96, 0}, {84, 62, 500}, {123, 68, 1000}}},
    };
    for (const auto& n : needles) {
        const auto* e = g.element_as<NeedleElement>(n.element);
        EXPECT_EQ(e->source.id, n.source);
        EXPECT_EQ(e->header.offset.x, 1);
        EXPECT_EQ(e->header.offset.y, 1);
        ASSERT_EQ(e->table_count, n.points.size());
        for (size_t k = 0; k < n.points.size(); ++k) {
            EXPECT_EQ(e->table[k].point.x, n.points[k][0]) << n.element << " " << k;
            EXPECT_EQ(e->table[k].point.y, n.points[k][1]) << n.element << " " << k;
            EXPECT_EQ(copy(e->table[k].value), n.points[k][2]) << n.element << " " << k;
            EXPECT_EQ(copy(e->table[k].angle), 0.0);
        }
    }
}

TEST_F(Upper, BindsFiveClearsThemAtTheFirstDrawAndRefreshesTwelveRecordsInOrder) {
    EXPECT_EQ(bound_by(loading, "eicas_upper"),
              (std::vector<std::string>{"seatbelts", "nosmoking", "apu", "eicas", "ab"}));
    EXPECT_EQ(lookups(host, g), (std::vector<uint32_t>{0x270, 0x283, 0x237, 0x271, 0x284, 0x27E, 0x291, 0x317,
                                                       0x143, 0x148, 0x144, 0x16C}));
    for (const char* name : {"seatbelts", "nosmoking", "apu", "eicas"}) host.registry.set(name, 1);
    host.frames(2);  // written once, at the first draw only
    EXPECT_EQ(host.registry.value("eicas"), 1);
    host.unload("eicas_upper");
    EXPECT_EQ(sounds(), std::vector<std::string>{"TerminateSounds"});
    EXPECT_TRUE(keys().empty());
}

TEST(UpperAlone, FirstDrawClearsEveryVariableItBinds) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "eicas_upper"}, nullptr));
    for (const char* name : {"seatbelts", "nosmoking", "apu", "eicas"}) host.registry.set(name, 3);
    host.frame();
    for (const char* name : {"seatbelts", "nosmoking", "apu", "eicas"}) EXPECT_EQ(host.registry.value(name), 0) << name;
}

// Every element but the cover is bright whatever "power" holds; the cover
// never is.
TEST_F(Upper, EveryElementButTheCoverIsAlwaysBright) {
    for (int32_t power : {0, 1, 2}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i = 1; i < UPPER_ELEMENTS; ++i) EXPECT_EQ(bright(state(g, i)), i != UPPER_COVER) << i;
    }
}

TEST_F(Upper, SplitReadoutsNeverShowTenTenths) {
    const struct {
        double value;
        const char *n1_whole, *n2_whole, *tenths;
    } cases[] = {
        {85.97, " 85", "085", ".9"}, {85.34, " 85", "085", ".3"}, {99.96, " 99", "099", ".9"},
        {100.0, "100", "100", ".0"}, {5.2, "  5", "005", ".2"},   {0, "  0", "000", ".0"},
        {19.99, " 19", "019", ".9"}, {NAN, "nan", "nan", ".nan"},
    };
    for (const auto& c : cases) {
        after({{0x270, c.value}, {0x283, c.value}, {0x271, c.value}, {0x284, c.value}}, 0);
        for (size_t whole : {N1_1_WHOLE, N1_2_WHOLE}) EXPECT_EQ(text(whole), c.n1_whole) << c.value;
        for (size_t whole : {N2_1_WHOLE, N2_2_WHOLE}) EXPECT_EQ(text(whole), c.n2_whole) << c.value;
        for (size_t t : {N1_1_TENTHS, N1_2_TENTHS, N2_1_TENTHS, N2_2_TENTHS}) EXPECT_EQ(text(t), c.tenths) << c.value;
        if (!isnan(c.value)) {
            EXPECT_EQ(state(g, N1_1_NEEDLE).value[0], c.value);
        }
    }
}

TEST_F(Upper, TemperaturesInCelsiusFuelInKilograms) {
    const struct {
        double rankine;
        const char *egt_1, *egt_2;
        double needle;
        double pounds;
        const char* kg;
    } cases[] = {
        {492, "  0", "0", 0, 0, "0"},
        {1248, "420", "420", 420, 2.2046, "1"},
        {2292, "1000", "1000", 1000, 22046, "10000"},
        {420, "-40", "-40", -40, -2.2046, "-1"},
        {519.9, " 16", "16", 15.5, 5000, "2268"},  // 15.5: prints rounded, needle exact
    };
    for (const auto& c : cases) {
        after({{0x237, c.rankine}, {0x241, c.rankine}, {0x27E, c.pounds}, {0x291, c.pounds}, {0x317, c.pounds}}, 0);
        EXPECT_EQ(text(EGT_1), c.egt_1) << c.rankine;
        EXPECT_EQ(text(EGT_2), c.egt_2) << c.rankine;
        EXPECT_NEAR(state(g, EGT_1_NEEDLE).value[0], c.needle, 1e-9) << c.rankine;
        EXPECT_NEAR(state(g, EGT_2_NEEDLE).value[0], c.needle, 1e-9) << c.rankine;
        for (size_t i : {FF_1, FF_2, FOB}) EXPECT_EQ(text(i), c.kg) << c.pounds;
    }
}

TEST_F(Upper, FlapHandleSelectsPictureNumberLabelsAndFullMemo) {
    const struct {
        double handle;
        double frame;
        const char* number;  // null: hidden
        bool labels, full;
    } cases[] = {
        {0, 0, nullptr, false, false},   {2048.5, 1, "1", true, false},  {2049, 2, "2", true, false},
        {3276.8, 2, "2", true, false},   {4097, 3, "5", true, false},    {6553.6, 4, "10", true, false},
        {9830.4, 5, "15", true, false},  {11000, 6, "25", true, false},  {13107.2, 7, "30", true, false},
        {14336, 7, "30", true, false},   {14337, 8, "40", true, true},   {16383, 8, "40", true, true},
        {-5, -5, "-5", false, false},    {1e-9, 1, "1", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(after({{0x148, c.handle}}, FLAP_PICTURE).value[0], c.frame) << c.handle;
        EXPECT_EQ(shown(FLAP_NUMBER), c.number != nullptr) << c.handle;
        EXPECT_EQ(text(FLAP_NUMBER), c.number ? c.number : "0") << c.handle;
        for (size_t l : {S_LABEL, FLAPS_LABEL, F_LABEL}) EXPECT_EQ(shown(l), c.labels) << c.handle;
        EXPECT_EQ(shown(FLAPS_FULL), c.full) << c.handle;
    }
    EXPECT_EQ(text(FLAPS_LABEL), label("FLAPS"));
}

TEST_F(Upper, MemoShowsEachMessageOnlyOnItsExactCondition) {
    struct Case {
        const char* shared;  // or null: a simulator variable
        uint32_t var;
        double value;
        std::vector<size_t> shown;
    };
    const Case cases[] = {
        {"seatbelts", 0, 1, {SEAT_BELTS}},   {"seatbelts", 0, 2, {}},
        {"nosmoking", 0, 1, {NO_SMOKING}},   {"nosmoking", 0, -1, {}},
        {"apu", 0, 1, {}},                   {"apu", 0, 2, {}},
        {"apu", 0, 3, {APU_AVAIL}},          {"ab", 0, 1, {}},  // "ab" has no owner here
        {nullptr, 0x143, 0.5, {PARK_BRK}},   {nullptr, 0x143, -1, {}},
        {nullptr, 0x144, 0.5, {SPLRS}},      {nullptr, 0x144, 1, {SPLRS, ARM}},
        {nullptr, 0x144, 2, {SPLRS}},        {nullptr, 0x144, NAN, {}},
    };
    const size_t memo[] = {SEAT_BELTS, NO_SMOKING, PARK_BRK, APU_AVAIL, SPLRS, ARM, AUTO_BRK, LO, MED, MAX};
    for (const Case& c : cases) {
        for (const char* name : {"seatbelts", "nosmoking", "apu"}) host.registry.set(name, 0);
        host.sim.set(0x143, 0);
        host.sim.set(0x144, 0);
        if (c.shared)
            host.registry.set(c.shared, int32_t(c.value));
        else
            host.sim.set(c.var, c.value);
        host.frame();
        for (size_t m : memo) {
            const bool want = std::find(c.shown.begin(), c.shown.end(), m) != c.shown.end();
            EXPECT_EQ(shown(m), want) << (c.shared ? c.shared : "var") << " " << c.value << " element " << m;
        }
    }
    EXPECT_EQ(text(SEAT_BELTS), label("SEAT BELTS"));
    EXPECT_EQ(text(ARM), label("..........ARM"));
}

TEST_F(Upper, CoverHidesTheScreenUnlessBatteryAndDisplayAreOn) {
    const struct {
        double battery;
        int32_t eicas;
        bool covered;
    } cases[] = {{0, 0, true}, {1, 0, true}, {0, 1, true}, {1, 1, false}, {-2, 7, false}, {NAN, 1, false}};
    for (const auto& c : cases) {
        host.registry.set("eicas", c.eicas);
        EXPECT_EQ(hidden(after({{0x16C, c.battery}}, UPPER_COVER)), !c.covered) << c.battery << " " << c.eicas;
        EXPECT_EQ(state(g, UPPER_COVER).value[0], 0);
    }
}

// ===========================================================================
// Lower display

enum { LOWER_SCREEN, MARKINGS, FUEL_USED_1 = 5, FUEL_USED_2, OIL_1, OIL_2, VIB_N1_1 = 13, VIB_N1_2,
       VIB_N2_1 = 16, VIB_N2_2, LOWER_COVER, LOWER_ELEMENTS };

const Row LOWER[LOWER_ELEMENTS] = {
    {S, 0x100, 0, 0},
    {I, 0x1200, 0, 0, 2},
    {T, 0, 11, 3, 199, 15, NARROW, WHITE, 0x80FFFF},
    {T, 0, 46, 19, 164, 14, NARROW, WHITE, 0x80FFFF},
    {T, 0, 56, 30, 154, 15, NARROW, BLUE, 0x80FFFF},
    {T, 0, 7, 32, 203, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 91, 32, 119, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 7, 51, 203, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 91, 50, 119, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 53, 45, 157, 15, NARROW, WHITE, 0x4080FF},
    {T, 0, 54, 57, 156, 12, NARROW, BLUE, 0xC08000},
    {T, 0, 60, 56, 150, 15, NARROW, BLUE, 0x00FF00},
    {T, 0, 155, 13, 55, 16, NARROW, WHITE, 0x80FFFF},
    {T, 0, 150, 28, 60, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 182, 28, 28, 19, ARIAL, GREEN, 0x4080FF},
    {T, 0, 156, 41, 54, 16, NARROW, WHITE, 0x80FFFF},
    {T, 0, 150, 56, 60, 19, ARIAL, GREEN, 0x80FFFF},
    {T, 0, 181, 56, 29, 19, ARIAL, GREEN, 0x4080FF},
    {I, 0x1300, 0, 0, 2},
};

class Lower : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "eicas_lower"});
    std::vector<Event> loading = host.events;

    std::string text(size_t i) { return state(g, i).text; }
    void set(std::initializer_list<std::pair<uint32_t, double>> vars) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
    }
};

TEST_F(Lower, ChainBindingAndRefreshOrder) {
    host.frame();
    check_chain(g, LOWER, LOWER_ELEMENTS);
    EXPECT_EQ(text(2), label("ENGINE"));
    EXPECT_EQ(text(12), label("VIB (N 1)"));
    EXPECT_EQ(bound_by(loading, "eicas_lower"), std::vector<std::string>{"eicas"});
    EXPECT_EQ(lookups(host, g),
              (std::vector<uint32_t>{0x27E, 0x317, 0x291, 0x233, 0x23D, 0x231, 0x23B, 0x282, 0x295, 0x16C}));
    host.registry.set("power", 0);
    host.frame();
    for (size_t i = 1; i < LOWER_ELEMENTS; ++i) EXPECT_EQ(bright(state(g, i)), i != LOWER_COVER) << i;
}

// The references are half the fuel on board at the first draw, and again at
// every update while an engine's starter reads exactly 1.
TEST_F(Lower, FuelUsedCountsFromEachEnginesLastStart) {
    set({{0x317, 10000}, {0x27E, 21}, {0x291, 21}});
    host.frame();  // first draw: both references 5000
    struct Step {
        double fuel, flow_1, flow_2, starter_1, starter_2;
        const char *used_1, *used_2;
    };
    const Step steps[] = {
        {10000, 21, 21, 0, 0, "0", "0"},
        {9000, 21, 21, 0, 0, "227", "227"},      // 500 lb each: 226.8 kg
        {9000, 20, 1e9, 0, 0, "0", "227"},       // 20 lb/h is not running
        {8000, 21, 21, 1, 0, "0", "454"},        // engine 1 starter on: its count restarts
        {7000, 21, 21, 1.0001, 0, "227", "680"}, // only exactly 1 is on
        {7000, 21, 21, 0, 1, "227", "0"},
        {12000, 21, 21, 0, 0, "-907", "-1134"},  // refuelled: negative, as it comes
        {NAN, 21, 21, 0, 0, "nan", "nan"},
        {1e300, 21, 21, 1, 1, "-inf", "-inf"},   // the references saturate
        {1e10, 21, 21, 0, 0, "-1293892992", "-1293892992"},
    };
    for (const Step& s : steps) {
        set({{0x317, s.fuel}, {0x27E, s.flow_1}, {0x291, s.flow_2}, {0x233, s.starter_1}, {0x23D, s.starter_2}});
        host.frame();
        EXPECT_EQ(text(FUEL_USED_1), s.used_1) << s.fuel;
        EXPECT_EQ(text(FUEL_USED_2), s.used_2) << s.fuel;
    }
}

TEST_F(Lower, OilInCelsiusAndVibrationDividedTwice) {
    host.frame();
    const struct {
        double raw;
        const char *n1, *n2;
        double rankine;
        const char* oil;
    } cases[] = {
        {3.5, "0.7", "0.5", 490, "0"},
        {0, "0.0", "0.0", 661, "95"},
        {-7, "-1.4", "-1.0", 400, "-50"},
        {NAN, "nan", "nan", INFINITY, "inf"},
    };
    for (const auto& c : cases) {
        set({{0x282, c.raw}, {0x295, c.raw}, {0x231, c.rankine}, {0x23B, c.rankine}});
        host.frame();
        EXPECT_EQ(text(VIB_N1_1), c.n1);
        EXPECT_EQ(text(VIB_N1_2), c.n1);
        EXPECT_EQ(text(VIB_N2_1), c.n2);
        EXPECT_EQ(text(VIB_N2_2), c.n2);
        EXPECT_EQ(text(OIL_1), c.oil);
        EXPECT_EQ(text(OIL_2), c.oil);
    }
}

TEST_F(Lower, CoverFollowsBatteryAndDisplay) {
    host.frame();
    const struct {
        double battery;
        int32_t eicas;
        bool covered;
    } cases[] = {{0, 1, true}, {1, 0, true}, {1, 1, false}, {0.1, -1, false}};
    for (const auto& c : cases) {
        host.registry.set("eicas", c.eicas);
        set({{0x16C, c.battery}});
        host.frame();
        EXPECT_EQ(hidden(state(g, LOWER_COVER)), !c.covered) << c.battery << " " << c.eicas;
    }
}

// ===========================================================================
// On the panel

class EnginePanel : public HostTest {
protected:
    Gauge& lower = load({"broadcaster", "overhead_switches", "electric_panel", "display_switch_1",
                         "eicas_upper", "eicas_lower"});
    Gauge& overhead = *host.find("overhead_switches");
    Gauge& upper = *host.find("eicas_upper");
    void SetUp() override { host.frame(); }
    bool shown(Gauge& gauge, size_t i) { return !hidden(state(gauge, i)); }
};

TEST_F(EnginePanel, OverheadSignsAndApuReachTheMemo) {
    host.click(overhead, 290, 67);  // avionics power: the APU needs it
    host.click(overhead, 195, 105);  // SEAT BELTS
    host.frame();
    EXPECT_TRUE(shown(upper, SEAT_BELTS));
    EXPECT_FALSE(shown(upper, NO_SMOKING));
    host.click(overhead, 224, 105);  // NO SMOKING
    host.frame();
    EXPECT_TRUE(shown(upper, NO_SMOKING));
    host.click(overhead, 156, 74);   // APU master
    host.click(overhead, 156, 108);  // APU start: available ten seconds later
    host.frames(18 * 5);
    EXPECT_FALSE(shown(upper, APU_AVAIL));
    host.frames(18 * 6);
    EXPECT_TRUE(shown(upper, APU_AVAIL));
    host.click(overhead, 195, 105);  // seat belts off again
    host.frame();
    EXPECT_FALSE(shown(upper, SEAT_BELTS));
}

TEST_F(EnginePanel, BatteryAndDisplaySwitchUncoverBothDisplays) {
    Gauge& electric = *host.find("electric_panel");
    Gauge& knob = *host.find("display_switch_1");
    auto covered = [&] {
        host.frame();
        EXPECT_EQ(hidden(state(upper, UPPER_COVER)), hidden(state(lower, LOWER_COVER)));
        return !hidden(state(upper, UPPER_COVER));
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

// The autobrake panel owns "ab"; here a test gauge registers it in its place.
TEST(EnginePanelAutobrake, AutoBrakeMemoShowsTheLevel) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", test_module("ab_owner"), "eicas_upper"}, nullptr));
    Gauge& upper = *host.find("eicas_upper");
    host.frame();
    const struct {
        int32_t ab;
        size_t level;  // 0: no level shown
    } cases[] = {{0, 0}, {1, LO}, {2, MED}, {3, MAX}, {4, 0}, {-1, 0}};
    for (const auto& c : cases) {
        host.registry.set("ab", c.ab);
        host.frame();
        EXPECT_EQ(!(upper.state.at(AUTO_BRK).flags & IMAGE_HIDDEN), c.ab != 0) << c.ab;
        for (size_t level : {LO, MED, MAX})
            EXPECT_EQ(!(upper.state.at(level).flags & IMAGE_HIDDEN), level == c.level) << c.ab << " " << level;
    }
    EXPECT_EQ(upper.state.at(MED).text, label("..........MED"));
}

}  // namespace
}  // namespace kestrel::test
