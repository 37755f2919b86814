// The navigation displays driven through the host: the situation indicator's
// records, presentation rules, angles and texts; the radio magnetic
// indicator's selectors; the rose/arc button; and the navigation model.
#include <math.h>

#include "tests/support.h"

namespace kestrel::test {
namespace {

// The situation indicator's elements in chain order.
enum {
    FACE, ARC_CARD, ARC_HEADING, ARC_COURSE, ARC_BAR, ARC_HDG_LINE, WIND_SPEED, WIND_FROM, COURSE,
    ROSE_CARD, ROSE_COURSE, ROSE_BAR, ROSE_HDG_MARK, ROSE_BEARING, ROSE_HEADING, NAV1_DIST, NAV1_FREQ,
    ILS, CRS, VOR2, NAV2_FREQ, NAV2_DIST, OAT, WIND_ARROW, ARC_HDG, ARC_MAG, ROSE_HDG, ROSE_MAG,
    ARC_BEARING, ADF, ADF_FREQ, GPS, NAV, COVER, ELEMENTS
};

std::string label(const char* s) { return s + std::string(199, ' ') + "0"; }

class Hsi : public HostTest {
protected:
    Gauge& hsi = load({"broadcaster", "hsi"});
    void SetUp() override { host.frame(); }
    const ElementState& after(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        return state(hsi, i);
    }
    std::string text(size_t i) { return state(hsi, i).text; }
};

// Kind, bitmap, position, and the sprites' offsets or the texts' boxes and sources.
TEST_F(Hsi, ChainHoldsTheThirtyFourElementsInDrawingOrder) {
    constexpr uint32_t S = KIND_SPRITE, T = KIND_TEXT, N = ~0u;
    const struct {
        uint32_t kind, resource;
        int32_t x, y, a, b;  // sprite offset, or text box
        uint32_t source;     // text source
    } chain[ELEMENTS] = {
        {KIND_STATIC, 0x100, 0, 0, 0, 0, 0}, {S, 0x2400, 0, 0, 105, 189, 0}, {T, N, 95, 25, 117, 18, 0x51},
        {S, 0x1200, 0, 0, 105, 189, 0},      {S, 0x1600, 0, 0, 105, 189, 0}, {S, 0x2800, 0, 0, 105, 189, 0},
        {T, N, 4, 2, 208, 16, 0x157},        {T, N, 31, 2, 181, 16, 0x158},  {T, N, 75, 2, 137, 16, 0x356},
        {S, 0x1400, 0, 0, 104, 125, 0},      {S, 0x3000, 0, 0, 105, 127, 0}, {S, 0x2000, 0, 0, 105, 127, 0},
        {S, 0x2600, 0, 0, 105, 127, 0},      {S, 0x2200, 0, 0, 105, 127, 0}, {T, N, 95, 17, 117, 18, 0x51},
        {T, N, 1, 216, 211, 15, 0x1F},       {T, N, 1, 203, 211, 15, 0x18},  {T, N, 1, 190, 211, 15, 0x18},
        {T, N, 1, 190, 211, 15, 0x18},       {T, N, 174, 190, 38, 15, 0},    {T, N, 174, 203, 38, 15, 0x1B},
        {T, N, 161, 216, 51, 15, 0x23},      {T, N, 150, 2, 62, 16, 0x155},  {S, 0x1800, 0, 0, 23, 33, 0},
        {T, N, 63, 25, 149, 16, 0},          {T, N, 123, 25, 89, 16, 0},     {T, N, 64, 20, 148, 16, 0},
        {T, N, 123, 20, 89, 16, 0},          {S, 0x3200, 0, 0, 105, 189, 0}, {T, N, 174, 190, 38, 15, 0},
        {T, N, 174, 203, 38, 15, 0x10},      {T, N, 177, 20, 35, 13, 0},     {T, N, 177, 20, 35, 13, 0},
        {KIND_ICON, 0x3400, 0, 0, 0, 0, 0},
    };
    ASSERT_EQ(hsi.size(), size_t{ELEMENTS});
    for (size_t i = 0; i < ELEMENTS; ++i) {
        const ElementHeader* e = hsi.element(i);
        EXPECT_EQ(e->kind, chain[i].kind) << i;
        EXPECT_EQ(e->resource_id, chain[i].resource) << i;
        EXPECT_EQ(e->position.x, chain[i].x) << i;
        EXPECT_EQ(e->position.y, chain[i].y) << i;
        EXPECT_EQ(e->image_flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), 0x83u) << i;
        if (e->kind == S) {
            const auto* sp = hsi.element_as<SpriteElement>(i);
            EXPECT_EQ(e->offset.x, chain[i].a) << i;
            EXPECT_EQ(e->offset.y, chain[i].b) << i;
            const bool card = i == ARC_CARD || i == ROSE_CARD, bar = i == ARC_BAR || i == ROSE_BAR;
            EXPECT_EQ(double(sp->scale_rotation), card ? 1.0 : -1.0) << i;
            EXPECT_EQ(sp->source_rotation.id, card ? 0x51u : 0u) << i;
            EXPECT_EQ(sp->source_x.id, bar ? 0x28u : 0u) << i;
            EXPECT_NEAR(double(sp->scale_x), i == ARC_BAR ? -40 / 127.0 : i == ROSE_BAR ? -30 / 127.0 : 0, 1e-14) << i;
        }
        if (e->kind == T) {
            const auto* t = hsi.element_as<TextElement>(i);
            EXPECT_EQ(t->box_width, chain[i].a) << i;
            EXPECT_EQ(t->box_height, chain[i].b) << i;
            EXPECT_EQ(t->source[0].id, chain[i].source) << i;
            EXPECT_STREQ(t->font, "Arial") << i;
        }
    }
    EXPECT_EQ(hsi.element_as<TextElement>(NAV1_DIST)->text_color, 0xE5E500u);
    EXPECT_EQ(hsi.element_as<TextElement>(ADF)->text_color, 0xFFFFu);
    EXPECT_EQ(hsi.element_as<TextElement>(ARC_HDG)->text_color, 0xFF00u);
    EXPECT_EQ(hsi.layout.mouse.size(), 2u);  // start and end of area only
}

// Which elements show for each value of "rose" and "adfvor".
TEST_F(Hsi, PresentationFollowsRoseAndAdfvor) {
    const std::vector<size_t> arc = {ARC_CARD, ARC_HEADING, ARC_COURSE, ARC_BAR, ARC_HDG_LINE},
                              arc_only_at_0 = {ARC_HDG, ARC_MAG, ARC_BEARING},
                              rose = {ROSE_CARD, ROSE_COURSE, ROSE_BAR, ROSE_HDG_MARK, ROSE_BEARING,
                                      ROSE_HEADING, ROSE_HDG, ROSE_MAG};
    for (int32_t value : {0, 1, 2}) {
        host.registry.set("rose", value);
        host.registry.set("adfvor", value);
        host.frame();
        for (size_t i : arc) EXPECT_EQ(hidden(state(hsi, i)), value == 1) << i << " at " << value;
        for (size_t i : arc_only_at_0) EXPECT_EQ(hidden(state(hsi, i)), value != 0) << i << " at " << value;
        for (size_t i : rose) EXPECT_EQ(hidden(state(hsi, i)), value != 1) << i << " at " << value;
        for (size_t i : {VOR2, NAV2_FREQ}) EXPECT_EQ(hidden(state(hsi, i)), value != 0) << i;
        for (size_t i : {ADF, ADF_FREQ}) EXPECT_EQ(hidden(state(hsi, i)), value != 1) << i;
        for (size_t i : {WIND_SPEED, COURSE, NAV1_FREQ, NAV1_DIST, OAT, WIND_ARROW})
            EXPECT_FALSE(hidden(state(hsi, i))) << i;
        for (size_t i = 1; i < COVER; ++i) EXPECT_TRUE(bright(state(hsi, i))) << i;  // "power" is not read
        EXPECT_FALSE(bright(state(hsi, COVER)));
    }
}

// Relative angles with their single correction, and the bearing pointers.
TEST_F(Hsi, PointersTurnByTheirRelativeAngles) {
    const struct {
        double heading, bearing, relative;
    } cases[] = {{350, 10, 20}, {10, 350, 340}, {1, 0.5, -0.5}, {0, 0, 0}, {0, 359.5, 359.5}, {0, 400, 400}};
    for (const auto& c : cases) {
        after({{0x51, c.heading}, {0x356, c.bearing}, {0x6B, c.bearing}, {0x158, c.bearing}}, 0);
        for (size_t i : {ARC_COURSE, ARC_BAR, ROSE_COURSE, ROSE_BAR, ARC_HDG_LINE, ROSE_HDG_MARK, WIND_ARROW})
            EXPECT_EQ(state(hsi, i).value[2], c.relative) << i << " at " << c.heading << ", " << c.bearing;
    }
    EXPECT_EQ(after({{0x28, 64}, {0x51, 90}}, ARC_BAR).value[0], 64);
    EXPECT_EQ(state(hsi, ARC_CARD).value[2], 90);
    for (int32_t adfvor : {0, 1, 7}) {
        host.registry.set("adfvor", adfvor);
        after({{0x27, 33}, {0x3B, 44}}, 0);
        for (size_t i : {ROSE_BEARING, ARC_BEARING}) EXPECT_EQ(state(hsi, i).value[2], adfvor ? 33 : 44);
    }
}

TEST_F(Hsi, TextsShowHeadingsFrequenciesAndLabels) {
    for (const auto& [heading, shown] : {std::pair{0.0, "360"}, {359.6, "360"}, {0.4, "000"}, {75.0, "075"}}) {
        host.registry.set("rose", 1);
        EXPECT_EQ(after({{0x51, heading}, {0x356, heading}}, ROSE_HEADING).text, shown);
        EXPECT_EQ(text(COURSE), std::string("CRS  ") + shown);
        host.registry.set("rose", 0);
        EXPECT_EQ(after({}, ARC_HEADING).text, shown);
    }
    // Frequencies rebuilt from their digits; a localizer frequency (below 112) shows "ILS".
    const struct {
        uint32_t word;
        const char* shown;
        bool ils, crs;
    } radios[] = {{0x1080, "110.80", true, false}, {0x1195, "111.95", true, false},
                  {0x1200, "112.00", false, true}, {0xA000, "1100.00", false, true}};
    for (const auto& r : radios) {
        host.sim.set_bcd(0x18, r.word);
        host.sim.set_bcd(0x1B, r.word);
        host.frame();
        EXPECT_EQ(text(NAV1_FREQ), r.shown);
        EXPECT_EQ(text(NAV2_FREQ), r.shown);
        EXPECT_EQ(hidden(state(hsi, ILS)), !r.ils) << r.shown;
        EXPECT_EQ(hidden(state(hsi, CRS)), !r.crs) << r.shown;
    }
    host.sim.set_bcd(0x10, 0x0347);
    host.sim.set_bcd(0x12, 0x0105);
    host.frame();
    EXPECT_EQ(text(ADF_FREQ), "1347.5");
    EXPECT_EQ(text(ILS), "ILS" + std::string(196, ' ') + "1100");  // the number lies far outside the box
    EXPECT_EQ(text(ARC_HDG), label("HDG"));
    EXPECT_EQ(after({{0x1F, 12.34}, {0x157, 8}, {0x158, 45}, {0x155, -4.6}}, NAV1_DIST).text, "12.3 Nm");
    EXPECT_EQ(text(WIND_SPEED), "008 /");
    EXPECT_EQ(text(WIND_FROM), "045");
    EXPECT_EQ(text(OAT), "OAT -5 C");
    for (const auto& [source, gps, nav] : {std::tuple{0.0, false, true}, {1.0, true, false}, {0.5, false, false}}) {
        after({{0x350, source}}, 0);
        EXPECT_EQ(!hidden(state(hsi, GPS)), gps) << source;
        EXPECT_EQ(!hidden(state(hsi, NAV)), nav) << source;
    }
}

TEST_F(Hsi, CoverLiftsWithBatteryAndDisplayBoth) {
    for (const auto& [battery, display, covered] :
         {std::tuple{0.0, 0, true}, {1.0, 0, true}, {0.0, 1, true}, {1.0, 1, false}, {2.0, 5, false}}) {
        host.registry.set("display", display);
        EXPECT_EQ(hidden(after({{0x16C, battery}}, COVER)), !covered) << battery << " " << display;
    }
}

TEST(NavigationDisplays, BindTheirNamesAndRefreshTheirVariablesInOrder) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "hsi", "rmi", "rose_arc_switch"}, nullptr));
    const struct {
        const char* gauge;
        std::vector<std::string> names;
        std::vector<uint32_t> ids;
    } cases[] = {{"hsi", {"rose", "adfvor", "display"}, {0x6B, 0x51, 0x356, 0x158, 0x3B, 0x27, 0x12, 0x350, 0x16C}},
                 {"rmi", {"power"}, {0x3B, 0x27, 0x226, 0x1F, 0x23}},
                 {"rose_arc_switch", {"rose", "power", "sfd"}, {}}};
    for (const auto& c : cases) {
        std::vector<std::string> bound;
        for (const Event& e : host.events)
            if (e.kind == Event::Kind::Bind && e.gauge == c.gauge) bound.push_back(e.name);
        EXPECT_EQ(bound, c.names) << c.gauge;
        Gauge& g = *host.find(c.gauge);
        EXPECT_EQ(lookups(host, g), c.ids) << c.gauge;
    }
}

// ---------------------------------------------------------------------------
// Radio magnetic indicator and the rose/arc button

enum { RMI_FACE, RMI_CARD, DIST_1, DIST_2, DME_1, DME_2, KNOB_1, KNOB_2, POINTER_1, POINTER_2 };

TEST(Rmi, KnobsSwitchThePointersAndDistances) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "rmi"}, nullptr));
    Gauge& rmi = *host.find("rmi");
    for (const auto& [id, v] : {std::pair{0x3Bu, 11.0}, {0x27u, 22.0}, {0x226u, 33.0}, {0x1Fu, 12.34}, {0x23u, 5.06}})
        host.sim.set(id, v);
    host.frame();
    // Clicks on knob 1 and knob 2, in turn, from the first draw on.
    const struct {
        int x, y;
        double knob_1, knob_2, pointer_1, pointer_2;
        const char *first, *second;
    } steps[] = {{-1, -1, 0, 0, 11, 90, "0.0", "5.1"},
                 {20, 250, 1, 0, 33, 90, "12.3", "0.0"},
                 {210, 250, 1, 1, 33, 22, "12.3", "0.0"},
                 {210, 250, 1, 0, 33, 90, "12.3", "0.0"},
                 {20, 250, 0, 0, 11, 90, "0.0", "5.1"}};
    for (const auto& s : steps) {
        if (s.x >= 0) {
            EXPECT_EQ(host.click(rmi, s.x, s.y), 1);
        }
        host.frame();
        EXPECT_EQ(rmi.state[KNOB_1].value[0], s.knob_1);
        EXPECT_EQ(rmi.state[KNOB_2].value[0], s.knob_2);
        EXPECT_EQ(rmi.state[POINTER_1].value[2], s.pointer_1);
        EXPECT_EQ(rmi.state[POINTER_2].value[2], s.pointer_2);
        EXPECT_EQ(rmi.state[DIST_1].text, s.first);
        EXPECT_EQ(rmi.state[DIST_2].text, s.second);
    }
    int switches = 0;
    for (const Event& e : host.events)
        if (e.kind == Event::Kind::Sound) switches += e.name == "PlaySoundA" && e.detail == "sound\\SWITCH.WAV";
    EXPECT_EQ(switches, 4);
    EXPECT_EQ(rmi.state[DME_1].text, "DME 1" + std::string(799, ' ') + "0");
    for (int32_t power : {1, 2, 0}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i = RMI_CARD; i <= POINTER_2; ++i) EXPECT_EQ((rmi.state[i].flags & IMAGE_BRIGHT) != 0, power == 1);
    }
}

TEST(RoseArcSwitch, PlaysTheSwitchThenTogglesRose) {
    Host host(options());
    ASSERT_TRUE(host.load({"broadcaster", "rose_arc_switch"}, nullptr));
    Gauge& button = *host.find("rose_arc_switch");
    EXPECT_STREQ(button.layout.header->name, "kestrel");
    host.frame();
    host.events.clear();
    for (const auto& [before, after] : {std::pair{0, 1}, {1, 0}, {3, 0}}) {
        host.registry.set("rose", before);
        host.frame();
        EXPECT_EQ(button.state[1].value[0], before);  // the picture follows, whatever the value
        host.events.clear();
        host.click(button, 28, 35);
        std::vector<std::string> done;
        for (const Event& e : host.events)
            if (e.gauge == "rose_arc_switch" && (e.kind == Event::Kind::Sound || e.kind == Event::Kind::SharedChange))
                done.push_back(e.name);
        host.events.clear();
        EXPECT_EQ(done, (std::vector<std::string>{"PlaySoundA", "rose"}));
        EXPECT_EQ(host.registry.value("rose"), after);
        host.frame();
        EXPECT_EQ(button.state[1].value[0], after);
        EXPECT_EQ(button.state[1].flags & IMAGE_BRIGHT, 0u);  // the button is never lit
    }
    host.registry.set("power", 1);
    host.frame();
    EXPECT_TRUE(button.state[2].flags & IMAGE_BRIGHT);
    EXPECT_EQ(button.state[3].text, "ROSE" + std::string(399, ' ') + "0");
}

// ---------------------------------------------------------------------------
// The navigation model

TEST(NavigationModel, FollowsTheTunedStationsAndIgnoresWhatNoFlightHas) {
    Sim sim;
    sim.enable_model("navigation", true);
    sim.set_bcd(0x1B, 0x1680);  // the VOR north-west of the field: 9 nm north, 8 nm west
    sim.set(0x4A, 400);         // on the field's level: DME reads the distance over the ground
    sim.set(0x51, 90);
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x1F), 0);    // NAV 1 tunes nothing
    EXPECT_EQ(sim.get(0x226), 90);  // so its bearing lies parked
    EXPECT_NEAR(sim.get(0x23), sqrt(81 + 64), 1e-9);
    EXPECT_NEAR(sim.get(0x3B), 270 - atan2(8, 9) * 180 / M_PI, 1e-9);  // relative to the nose
    // The beacon east of the field on the direction finder: 375.0 kHz, no distance.
    sim.set_bcd(0x10, 0x0375);
    sim.advance_frame();
    EXPECT_NEAR(sim.get(0x27), atan2(2.5, 0.2) * 180 / M_PI - 90 + 360, 1e-9);
    sim.set_bcd(0x12, 0x0005);  // 375.5 kHz: nothing there
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x27), 90);
    // A clock that jumps or goes back, or values no flight has, move nothing.
    const double north = sim.get(0x47);
    for (const auto& [id, v] : {std::pair{0x1u, 1e12}, {0x1u, 5.0}, {0x3Du, NAN}, {0x51u, INFINITY}}) {
        sim.set(id, v);
        sim.set(0x3D, id == 0x3D ? v : 300);
        sim.advance_frame();
        EXPECT_EQ(sim.get(0x47), north) << id;
    }
    sim.set(0x51, 0);
    sim.advance_frame();
    EXPECT_GT(sim.get(0x47), north);
    EXPECT_EQ(sim.get(0x35B), 300);
}

// A minute at 360 knots on each heading: six miles that way, whatever the frame rate.
TEST(NavigationModel, MovesAlongTheHeading) {
    for (const auto& [heading, fps] : {std::pair{0.0, 2u}, {45.0, 18u}, {135.0, 1u}, {225.0, 3u}, {300.0, 2u}}) {
        Sim sim;
        sim.enable_model("navigation", true);
        sim.set_frame_rate(fps);
        sim.set(0x3D, 360);
        sim.set(0x51, heading);
        sim.set(0x4A, 400);
        sim.set_bcd(0x18, 0x1330);  // the VOR 7 miles south and 6 west of the field
        sim.advance_frame();
        for (uint32_t i = 0; i < 60 * fps; ++i) sim.advance_frame();
        const double north = 6 * cos(heading * M_PI / 180), east = 6 * sin(heading * M_PI / 180);
        const double to_north = -7 - north, to_east = -6 - east;
        EXPECT_NEAR(sim.get(0x1F), hypot(to_north, to_east), 0.02) << heading;
        const double bearing = atan2(to_east, to_north) * 180 / M_PI - heading;
        EXPECT_NEAR(fmod(sim.get(0x226) - bearing + 720 + 180, 360) - 180, 0, 0.2) << heading;
    }
}

}  // namespace
}  // namespace kestrel::test
