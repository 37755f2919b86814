// The two autopilot panels driven through the host as the simulator drives
// them: their records, windows, lights, knobs and buttons, and the order of
// key events and sounds of each action. What the simulator does with the
// events, and what crosses to other gauges, is in test_autoflight.cpp.
#include <math.h>

#include "support.h"

namespace kestrel::test {
namespace {

// The host's lookup_var, wrapped to note the ids in the order asked.
std::vector<uint32_t> looked_up;
void(KCALL* host_lookup)(ModuleVar*) = nullptr;
void KCALL note_lookup(ModuleVar* var) {
    looked_up.push_back(var->id);
    host_lookup(var);
}

std::vector<uint32_t> lookups_of_one_update(Host& host, Gauge& g) {
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

const std::string CLICK = "sound sound\\CLICK.WAV", SWITCH = "sound sound\\SWITCH.WAV";
std::string key(uint32_t id) {
    char s[16];
    snprintf(s, sizeof s, "key 0x%X", id);
    return s;
}

struct Element {
    uint32_t kind, resource;
    int32_t x, y;
};
struct Area {
    PixBox box;
    int32_t cursor;
    uint32_t flags;
};

class AutopilotPanel : public HostTest {
protected:
    // Key events and sounds in the order they came, as "key 0x1002C" and
    // "sound sound\CLICK.WAV"; everything else is dropped.
    std::vector<std::string> actions() {
        std::vector<std::string> out;
        for (const Event& e : host.events) {
            if (e.kind == Event::Kind::KeyEvent) out.push_back(key(uint32_t(e.number)) + (e.value ? " !" : ""));
            if (e.kind == Event::Kind::Sound) out.push_back("sound " + e.detail.substr(0, e.detail.find(' ')));
        }
        host.events.clear();
        return out;
    }
    void expect_records(Gauge& g, const std::vector<Element>& chain, const std::vector<Area>& areas) {
        ASSERT_EQ(g.size(), chain.size());
        for (size_t i = 0; i < chain.size(); ++i) {
            const ElementHeader* e = g.element(i);
            EXPECT_EQ(e->kind, chain[i].kind) << i;
            EXPECT_EQ(e->resource_id, chain[i].resource) << i;
            EXPECT_EQ(e->position.x, chain[i].x) << i;
            EXPECT_EQ(e->position.y, chain[i].y) << i;
            EXPECT_EQ(e->image_flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), 0x83u) << i;
            if (e->kind == KIND_ICON) {
                EXPECT_EQ(reinterpret_cast<const IconElement*>(e)->frame_count, 2u) << i;
            }
            if (e->kind == KIND_TEXT) {
                const auto* t = reinterpret_cast<const TextElement*>(e);
                EXPECT_EQ(t->font_weight, 500) << i;
                EXPECT_EQ(t->capacity, 0x4240) << i;
            }
        }
        const std::vector<MouseRect*>& m = g.layout.mouse;
        ASSERT_EQ(m.size(), areas.size() + 2);  // start, the areas, end of area
        EXPECT_EQ(m.front()->kind, MOUSE_START);
        EXPECT_EQ(m.back()->kind, MOUSE_END_AREA);
        for (size_t i = 0; i < areas.size(); ++i) {
            const MouseRect* r = m[i + 1];
            EXPECT_EQ(r->kind, MOUSE_CHILD) << i;
            EXPECT_EQ(r->box.x, areas[i].box.x) << i;
            EXPECT_EQ(r->box.y, areas[i].box.y) << i;
            EXPECT_EQ(r->box.width, areas[i].box.width) << i;
            EXPECT_EQ(r->box.height, areas[i].box.height) << i;
            EXPECT_EQ(r->cursor, areas[i].cursor) << i;
            EXPECT_EQ(r->flags, areas[i].flags) << i;
            EXPECT_EQ(r->event_id, 0u) << i;
        }
        EXPECT_STREQ(g.layout.header->name, "KESTREL");
    }
    const ElementState& after_frame(Gauge& g, size_t i) {
        host.frame();
        return state(g, i);
    }
};

// ===========================================================================
// Autopilot panel 2: the flight control unit

enum {
    FACE, DASHES, HDG_LIGHT, AP_LIGHT, NAV_LIGHT, ATH_LIGHT, HLD_LIGHT, APPR_LIGHT, HEADING_KNOB,
    ALTITUDE_KNOB, MACH_LABEL, IAS_LABEL, MACH_DIGITS, SPEED_DIGITS, SPEED_KNOB, CRS_LABEL, HDG_LABEL,
    VS_LABEL, FT_LABEL, M_LABEL, ALT_LABEL, HEADING_DIGITS, ALTITUDE_DIGITS, VS_DIGITS,
    LAST_CAPTION = 36, VS_KNOB, FCU_ELEMENTS
};

constexpr uint32_t SEL_HEADING = 0x6B, AP = 0x67, NAV = 0x69, ATHR = 0x7B, ALT_HOLD = 0x6C, APPR = 0x70,
                   SEL_MACH = 0x76, SEL_SPEED = 0x74, SEL_COURSE = 0x356, SEL_ALT = 0x6D, SEL_VS = 0x78,
                   HDG = 0x6A;

// Points inside the areas, by control.
constexpr PixPoint SPD_MACH = {20, 50}, SPEED_LEFT = {50, 60}, SPEED_RIGHT = {85, 60}, ATH = {224, 103},
                   HDG_CRS = {139, 63}, HEADING_LEFT = {115, 60}, HEADING_RIGHT = {160, 60},
                   HDG_BUTTON = {138, 104}, AP_BUTTON = {204, 76}, NAV_BUTTON = {243, 76},
                   HLD_BUTTON = {303, 103}, APPR_BUTTON = {386, 103}, METRIC = {344, 52},
                   ALT_LEFT = {280, 66}, ALT_RIGHT = {316, 66}, VS_DOWN = {369, 65}, VS_UP = {400, 65};

class Fcu : public AutopilotPanel {
protected:
    Gauge& g = load({"broadcaster", "autopilot_panel_2"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void click(PixPoint p) { host.click(g, p.x, p.y); }
    std::string text(size_t i) { return after_frame(g, i).text; }
    bool shown(size_t i) { return !hidden(state(g, i)); }
};

TEST_F(Fcu, PresentsItsRecordsAsTheSimulatorReadsThem) {
    const uint32_t I = KIND_ICON, T = KIND_TEXT, N = KIND_NEEDLE, S = KIND_SPRITE;
    std::vector<Element> chain = {
        {KIND_STATIC, 0x100, 0, 0}, {I, 0x1700, 319, 8},  {I, 0x1100, 131, 95},  {I, 0x1100, 196, 68},
        {I, 0x1100, 235, 68},       {I, 0x1100, 216, 96}, {I, 0x1100, 294, 96},  {I, 0x1100, 378, 95},
        {N, 0x1300, 139, 64},       {N, 0x1400, 302, 68}, {T, ~0u, 58, 9},       {T, ~0u, 62, 9},
        {T, ~0u, 61, 19},           {T, ~0u, 61, 19},     {S, 0x1500, 0, 0},     {T, ~0u, 130, 9},
        {T, ~0u, 130, 9},           {T, ~0u, 374, 9},     {T, ~0u, 339, 9},      {T, ~0u, 340, 9},
        {T, ~0u, 292, 9},           {T, ~0u, 130, 19},    {T, ~0u, 287, 19},     {T, ~0u, 372, 19},
        {T, ~0u, 14, 64},           {T, ~0u, 10, 73},     {T, ~0u, 130, 104},    {T, ~0u, 196, 77},
        {T, ~0u, 236, 77},          {T, ~0u, 214, 104},   {T, ~0u, 293, 104},    {T, ~0u, 375, 104},
        {T, ~0u, 334, 66},          {T, ~0u, 342, 72},    {T, ~0u, 384, 40},     {T, ~0u, 382, 83},
        {T, ~0u, 170, 9},           {S, 0x1800, 0, 0},
    };
    const uint32_t H = MOUSE_LEFT_SINGLE, R = MOUSE_LEFT_REPEAT;
    const std::vector<Area> areas = {
        {{11, 42, 22, 21}, 5, H},  {{46, 42, 21, 40}, 2, R},  {{73, 42, 24, 46}, 1, R},
        {{210, 93, 29, 21}, 5, H}, {{132, 56, 15, 15}, 5, H}, {{110, 42, 19, 39}, 2, R},
        {{149, 42, 18, 40}, 1, R}, {{125, 94, 27, 20}, 5, H}, {{190, 67, 28, 19}, 5, H},
        {{230, 67, 26, 18}, 5, H}, {{289, 93, 28, 21}, 5, H}, {{373, 94, 27, 19}, 5, H},
        {{334, 42, 20, 20}, 5, H}, {{271, 46, 20, 42}, 2, R}, {{307, 46, 19, 43}, 1, R},
        {{359, 41, 21, 48}, 2, R}, {{391, 40, 20, 48}, 1, R},
    };
    expect_records(g, chain, areas);

    // Boxes, fonts and the colours that differ from the rest.
    const struct {
        size_t i;
        int32_t w, h;
        const char* font;
        uint32_t color, background;
        uint32_t source;
    } texts[] = {
        {MACH_LABEL, 366, 12, "Arial", 0x4080FF, 0x80FFFF, 0}, {IAS_LABEL, 362, 12, "Arial", 0x4080FF, 0x80FF, 0},
        {MACH_DIGITS, 363, 22, "Quartz", 0x4080FF, 0x80FFFF, SEL_MACH},
        {SPEED_DIGITS, 363, 22, "Quartz", 0x4080FF, 0x80FF, SEL_SPEED},
        {HDG_LABEL, 294, 12, "Arial", 0x4080FF, 0x4080FF, 0}, {FT_LABEL, 85, 12, "Arial", 0x4080FF, 0x4080FF, 0},
        {VS_DIGITS, 52, 22, "Quartz", 0x4080FF, 0x80FFFF, 0}, {32, 90, 10, "Arial", 0xFFFFFF, 0x80FFFF, 0},
        {LAST_CAPTION, 254, 12, "Arial", 0x4080FF, 0x80FFFF, 0},
    };
    for (const auto& t : texts) {
        const auto* e = g.element_as<TextElement>(t.i);
        EXPECT_EQ(e->box_width, t.w) << t.i;
        EXPECT_EQ(e->box_height, t.h) << t.i;
        EXPECT_STREQ(e->font, t.font) << t.i;
        EXPECT_EQ(e->text_color, t.color) << t.i;
        EXPECT_EQ(e->background_color, t.background) << t.i;
        EXPECT_EQ(e->source[0].id, t.source) << t.i;
    }
    const int32_t heading_points[2][2] = {{140, 48}, {158, 66}};
    const auto* heading = g.element_as<NeedleElement>(HEADING_KNOB);
    ASSERT_EQ(heading->table_count, 2u);
    for (size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(heading->table[k].point.x, heading_points[k][0]);
        EXPECT_EQ(heading->table[k].point.y, heading_points[k][1]);
        EXPECT_EQ(double(heading->table[k].value), 45.0 * k);
    }
    const auto* altitude = g.element_as<NeedleElement>(ALTITUDE_KNOB);
    ASSERT_EQ(altitude->table_count, 6u);
    const double feet[] = {0, 5000, 15000, 20000, 25000, 35000};
    for (size_t k = 0; k < 6; ++k) EXPECT_EQ(double(altitude->table[k].value), feet[k]);
    EXPECT_EQ(altitude->table[5].point.x, 284);
    EXPECT_EQ(altitude->source.id, SEL_ALT);
    for (auto [i, cx, var] : {std::tuple{size_t{SPEED_KNOB}, 70, 0u}, {size_t{VS_KNOB}, 387, SEL_VS}}) {
        const auto* s = g.element_as<SpriteElement>(i);
        EXPECT_EQ(s->header.offset.x, cx);
        EXPECT_EQ(s->header.offset.y, 64);
        EXPECT_EQ(double(s->scale_rotation), -1.0);
        EXPECT_EQ(double(s->scale_x), 0.0);
        EXPECT_EQ(double(s->scale_y), 0.0);
        EXPECT_EQ(s->source_rotation.id, var);
        EXPECT_EQ(float(s->texture_scale_x), 1.0f);
    }
}

TEST_F(Fcu, BindsPowerAndRefreshesItsTwelveVariablesInOrder) {
    EXPECT_EQ(lookups_of_one_update(host, g), (std::vector<uint32_t>{SEL_HEADING, AP, NAV, ATHR, ALT_HOLD, APPR,
                                                                     SEL_MACH, SEL_SPEED, SEL_COURSE, SEL_ALT,
                                                                     SEL_VS, HDG}));
    host.unload("autopilot_panel_2");
    host.registry.set("power", 1);
    host.events.clear();
    Gauge& again = load({"autopilot_panel_2"});
    std::vector<std::string> bound;
    for (const Event& e : host.events)
        if (e.kind == Event::Kind::Bind) bound.push_back(e.name);
    EXPECT_EQ(bound, std::vector<std::string>{"power"});
    host.frame();
    EXPECT_EQ(host.registry.value("power"), 0);  // the first draw clears it
    host.registry.set("power", 1);
    host.frame();
    EXPECT_EQ(host.registry.value("power"), 1);  // and never again
    EXPECT_TRUE(bright(state(again, HEADING_DIGITS)));
}

// A selected heading of 0 reads 360; metres are feet / 3.28; numbers are
// rounded to single precision first.
TEST_F(Fcu, WindowsShowTheSelectedValuesInTheirModes) {
    const struct {
        PixPoint toggle;  // a mode button pressed first, or {0, 0}
        uint32_t var;
        double value;
        size_t element;
        const char* text;
    } cases[] = {
        {HDG_CRS, SEL_HEADING, 0, HEADING_DIGITS, "360"},    {{}, SEL_HEADING, 359.6, HEADING_DIGITS, "360"},
        {{}, SEL_HEADING, 0.4, HEADING_DIGITS, "000"},       {{}, SEL_HEADING, 5, HEADING_DIGITS, "005"},
        {{}, SEL_HEADING, -0.0, HEADING_DIGITS, "360"},      {{}, SEL_HEADING, NAN, HEADING_DIGITS, "nan"},
        {HDG_CRS, SEL_COURSE, 95, HEADING_DIGITS, "095"},    {{}, SEL_COURSE, 0, HEADING_DIGITS, "360"},
        {{}, SEL_ALT, 10000, ALTITUDE_DIGITS, "10000"},      {{}, SEL_ALT, 1e300, ALTITUDE_DIGITS, "  inf"},
        {{}, SEL_VS, -800, VS_DIGITS, "-800"},               {{}, SEL_VS, 300, VS_DIGITS, "0300"},
        {METRIC, SEL_ALT, 10000, ALTITUDE_DIGITS, "03049"},  {{}, SEL_VS, 300, VS_DIGITS, "0091"},
        {{}, SEL_VS, -800, VS_DIGITS, "-244"},               {METRIC, SEL_ALT, 0, ALTITUDE_DIGITS, "00000"},
        {{}, SEL_MACH, 0.78, MACH_DIGITS, "0.78"},           {{}, SEL_MACH, 0.785, MACH_DIGITS, "0.79"},
        {SPD_MACH, SEL_SPEED, 250, SPEED_DIGITS, "250"},     {{}, SEL_SPEED, 99.5, SPEED_DIGITS, "100"},
        {{}, SEL_SPEED, -INFINITY, SPEED_DIGITS, "-inf"},
    };
    host.sim.set(SEL_COURSE, 7);
    for (const auto& c : cases) {
        if (c.toggle.x) click(c.toggle);
        host.sim.set(c.var, c.value);
        EXPECT_EQ(text(c.element), c.text) << c.var << " " << c.value;
    }
    EXPECT_FALSE(g.overflowed);
}

// The three toggle buttons swap what the windows show, with a click and no
// key event; the knob pointers and the speed knob follow the modes.
TEST_F(Fcu, ToggleButtonsSwapWindowsLabelsAndKnobs) {
    host.sim.set(SEL_HEADING, 30);
    host.sim.set(SEL_COURSE, 10);
    host.sim.set(SEL_SPEED, 250);
    host.sim.set(SEL_MACH, 0.78);
    host.sim.set(SEL_ALT, 10000);
    const struct {
        PixPoint button;
        size_t off_shown, on_shown;  // shown with the toggle at 0, and at 1
    } toggles[] = {
        {SPD_MACH, MACH_LABEL, IAS_LABEL}, {SPD_MACH, MACH_DIGITS, SPEED_DIGITS},
        {HDG_CRS, CRS_LABEL, HDG_LABEL},   {METRIC, FT_LABEL, M_LABEL},
    };
    for (const auto& t : toggles)
        for (int on : {0, 1}) {
            host.frame();
            EXPECT_EQ(shown(t.off_shown), !on) << t.off_shown;
            EXPECT_EQ(shown(t.on_shown), bool(on)) << t.on_shown;
            click(t.button);
            EXPECT_EQ(actions(), std::vector<std::string>{CLICK});
        }
    // Mach: 400 degrees a Mach; IAS: a degree a knot.
    EXPECT_DOUBLE_EQ(after_frame(g, SPEED_KNOB).value[2], 400 * 0.78);
    EXPECT_EQ(after_frame(g, HEADING_KNOB).value[0], 10);
    click(SPD_MACH);
    click(HDG_CRS);
    click(METRIC);
    EXPECT_EQ(after_frame(g, SPEED_KNOB).value[2], 250);
    EXPECT_EQ(state(g, HEADING_KNOB).value[0], 30);
    EXPECT_EQ(state(g, ALTITUDE_DIGITS).text, "03049");
    EXPECT_EQ(state(g, ALTITUDE_KNOB).value[0], 10000);  // the pointer keeps to feet
    EXPECT_EQ(state(g, VS_KNOB).value[2], 0);
}

TEST_F(Fcu, KnobsSendTheEventOfTheirModeAndRepeatWhileHeld) {
    const struct {
        PixPoint toggle, knob;
        uint32_t event;
    } knobs[] = {
        {{}, SPEED_LEFT, 0x1017D},       {{}, SPEED_RIGHT, 0x1017C},
        {SPD_MACH, SPEED_LEFT, 0x10169}, {{}, SPEED_RIGHT, 0x10168},
        {{}, HEADING_LEFT, 0x1007E},     {{}, HEADING_RIGHT, 0x1007F},
        {HDG_CRS, HEADING_LEFT, 0x10158}, {{}, HEADING_RIGHT, 0x10157},
        {{}, ALT_LEFT, 0x10165},         {{}, ALT_RIGHT, 0x10164},
        {{}, VS_DOWN, 0x10167},          {{}, VS_UP, 0x10166},
    };
    for (const auto& k : knobs) {
        if (k.toggle.x) click(k.toggle);
        actions();
        click(k.knob);
        EXPECT_EQ(actions(), (std::vector<std::string>{key(k.event), CLICK})) << k.knob.x;
        EXPECT_EQ(host.hold(g, k.knob.x, k.knob.y, 4), 4) << k.knob.x;
        EXPECT_EQ(keys(), std::vector<uint32_t>(4, k.event));
    }
}

// The follow-up events end the mode that the pressed one replaces; they test
// the modes as the last pre-update read them, in this order: the event, the
// click, then the follow-ups.
TEST_F(Fcu, ModeButtonsEndTheModesTheyReplaceAsTheLastUpdateSawThem) {
    const struct {
        PixPoint button;
        double nav, hdg, appr;
        std::vector<uint32_t> after_click;
    } cases[] = {
        {HDG_BUTTON, 1, 0, 0, {0x1011B}},   {HDG_BUTTON, 0, 1, 1, {}},
        {HDG_BUTTON, 0.5, 0, 0, {}},        {NAV_BUTTON, 0, 1, 0, {0x1023B}},
        {NAV_BUTTON, 1, 2, 1, {}},          {HLD_BUTTON, 1, 1, 1, {0x10116}},
        {HLD_BUTTON, 0, 0, NAN, {}},        {APPR_BUTTON, 1, 1, 0, {0x1011B, 0x1023B}},
        {APPR_BUTTON, 0, 1, 1, {0x1023B}},  {APPR_BUTTON, 1, 0, 0, {0x1011B}},
        {APPR_BUTTON, 0, 0, 1, {}},
    };
    const std::pair<PixPoint, uint32_t> first[] = {
        {HDG_BUTTON, 0x100BD}, {NAV_BUTTON, 0x100C1}, {HLD_BUTTON, 0x10107}, {APPR_BUTTON, 0x100BC}};
    for (const auto& c : cases) {
        host.sim.set(NAV, c.nav);
        host.sim.set(HDG, c.hdg);
        host.sim.set(APPR, c.appr);
        host.frame();
        // Changes after the update do not count until the next one.
        host.sim.set(NAV, 1 - c.nav);
        host.sim.set(HDG, 1 - c.hdg);
        host.sim.set(APPR, 1 - c.appr);
        actions();
        click(c.button);
        std::vector<std::string> want;
        for (const auto& [p, event] : first)
            if (p.x == c.button.x) want = {key(event), CLICK};
        for (uint32_t e : c.after_click) want.push_back(key(e));
        EXPECT_EQ(actions(), want) << c.button.x << " nav " << c.nav << " hdg " << c.hdg << " appr " << c.appr;
    }
    click(AP_BUTTON);
    click(ATH);
    EXPECT_EQ(actions(), (std::vector<std::string>{key(0x1002C), CLICK, key(0x10144), CLICK}));
}

// Lamps show for exactly 1.0 and are lit with the panel; the knobs are never
// lit; a click never changes a lamp by itself.
TEST_F(Fcu, LampsFollowTheirModesAndEverythingButTheKnobsLightsWithThePanel) {
    const std::pair<size_t, uint32_t> lamps[] = {{HDG_LIGHT, HDG},      {AP_LIGHT, AP},        {NAV_LIGHT, NAV},
                                                 {ATH_LIGHT, ATHR},     {HLD_LIGHT, ALT_HOLD}, {APPR_LIGHT, APPR}};
    for (const auto& [lamp, var] : lamps)
        for (double v : {1.0, 0.0, 0.5, 2.0, double(NAN), 1.0}) {
            host.sim.set(var, v);
            EXPECT_EQ(hidden(after_frame(g, lamp)), v != 1.0) << lamp << " " << v;
            EXPECT_EQ(state(g, lamp).value[0], 0);
        }
    click(AP_BUTTON);
    EXPECT_FALSE(hidden(state(g, AP_LIGHT)));
    for (int32_t power : {1, 0, 2, -1, 1}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i = 1; i < FCU_ELEMENTS; ++i) {
            const bool knob = i == HEADING_KNOB || i == ALTITUDE_KNOB || i == SPEED_KNOB || i == VS_KNOB;
            EXPECT_EQ(bright(state(g, i)), power == 1 && !knob) << i << " power " << power;
        }
        EXPECT_FALSE(bright(state(g, FACE)));
    }
    EXPECT_EQ(state(g, 24).text, "SPD" + std::string(799, ' ') + "0");
}

// ===========================================================================
// Autopilot panel 1

enum {
    FACE_1, FD_LIGHT, LVL_LIGHT, TOGA_LIGHT, BC_LIGHT, IAS_LIGHT, MACH_LIGHT, NAV_GPS, BARO_KNOB,
    ADF_VOR = 11, MILLIBARS = 17, INCHES, PANEL_1_ELEMENTS = 24
};

constexpr uint32_t FD = 0x318, LEVEL = 0x68, BACK_COURSE = 0x71, SPEED_HOLD = 0x73, MACH_HOLD = 0x75,
                   GO_AROUND = 0x7C, BARO_MB = 0x4B, BARO_IN = 0x4C, NAV_SOURCE = 0x350;

constexpr PixPoint BARO_PUSH = {53, 72}, BARO_LEFT = {28, 70}, BARO_RIGHT = {70, 70}, FD_BUTTON = {36, 101},
                   ADF_VOR_SELECTOR = {134, 99}, NAV_GPS_SELECTOR = {133, 66}, LVL = {114, 25},
                   TOGA = {147, 25}, BC = {179, 26}, IAS = {208, 25}, MACH = {239, 25};

class Panel1 : public AutopilotPanel {
protected:
    Gauge& g = load({"broadcaster", "autopilot_panel_1"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void click(PixPoint p) { host.click(g, p.x, p.y); }
};

TEST_F(Panel1, PresentsItsRecordsAsTheSimulatorReadsThem) {
    const uint32_t I = KIND_ICON, T = KIND_TEXT;
    const std::vector<Element> chain = {
        {KIND_STATIC, 0x100, 0, 0}, {I, 0x1100, 29, 95},   {I, 0x1100, 108, 19}, {I, 0x1100, 139, 19},
        {I, 0x1100, 170, 19},       {I, 0x1100, 201, 19},  {I, 0x1100, 231, 19}, {I, 0x1200, 117, 52},
        {KIND_NEEDLE, 0x1300, 53, 72}, {T, ~0u, 15, 49},   {T, ~0u, 31, 100},    {I, 0x1400, 123, 90},
        {T, ~0u, 107, 25},          {T, ~0u, 136, 25},     {T, ~0u, 172, 26},    {T, ~0u, 203, 26},
        {T, ~0u, 230, 26},          {T, ~0u, 38, 24},      {T, ~0u, 38, 24},     {T, ~0u, 126, 42},
        {T, ~0u, 152, 64},          {T, ~0u, 146, 96},     {T, ~0u, 108, 96},    {T, ~0u, 69, 49},
    };
    const uint32_t H = MOUSE_LEFT_SINGLE, R = MOUSE_LEFT_REPEAT;
    const std::vector<Area> areas = {
        {{44, 63, 19, 18}, 5, H},   {{21, 50, 18, 40}, 2, R},   {{63, 55, 17, 36}, 1, R},
        {{25, 93, 23, 17}, 5, H},   {{124, 89, 20, 21}, 5, H},  {{119, 52, 28, 28}, 5, H},
        {{102, 16, 25, 18}, 5, H},  {{135, 17, 24, 17}, 5, H},  {{166, 18, 26, 17}, 5, H},
        {{196, 17, 24, 17}, 5, H},  {{227, 17, 25, 17}, 5, H},
    };
    expect_records(g, chain, areas);
    EXPECT_EQ(g.element_as<IconElement>(NAV_GPS)->source.id, NAV_SOURCE);
    const auto* knob = g.element_as<NeedleElement>(BARO_KNOB);
    EXPECT_EQ(knob->source.id, BARO_MB);
    EXPECT_EQ(knob->header.offset.x, 14);
    ASSERT_EQ(knob->table_count, 2u);
    EXPECT_EQ(knob->table[0].point.y, 58);
    EXPECT_EQ(knob->table[1].point.x, 70);
    EXPECT_EQ(double(knob->table[1].value), 250.0);
    EXPECT_EQ(g.element_as<TextElement>(MILLIBARS)->source[0].id, BARO_MB);
    EXPECT_EQ(g.element_as<TextElement>(INCHES)->source[0].id, BARO_IN);
    EXPECT_STREQ(g.element_as<TextElement>(INCHES)->font, "Quartz");
    EXPECT_EQ(g.element_as<TextElement>(13)->background_color, 0x4080FFu);
    EXPECT_EQ(g.element_as<TextElement>(14)->box_height, 11);
    EXPECT_EQ(state(g, 9).text, "in Hg" + std::string(799, ' ') + "0");
    EXPECT_EQ(lookups_of_one_update(host, g),
              (std::vector<uint32_t>{FD, LEVEL, BACK_COURSE, SPEED_HOLD, MACH_HOLD, GO_AROUND}));
}

TEST_F(Panel1, ButtonsSendTheirEventsWithTheirSounds) {
    const struct {
        PixPoint at;
        std::vector<std::string> done;
    } buttons[] = {
        {BARO_LEFT, {key(0x1015C), CLICK}}, {BARO_RIGHT, {key(0x1015B), CLICK}}, {FD_BUTTON, {key(0x102F0), CLICK}},
        {NAV_GPS_SELECTOR, {key(0x10347), SWITCH}}, {LVL, {key(0x100BF), CLICK}}, {TOGA, {key(0x10145), CLICK}},
        {BC, {key(0x100C0), CLICK}},        {IAS, {key(0x10163), CLICK}},        {MACH, {key(0x1017B), CLICK}},
        {BARO_PUSH, {CLICK}},               {ADF_VOR_SELECTOR, {SWITCH}},
    };
    for (const auto& b : buttons) {
        click(b.at);
        EXPECT_EQ(actions(), b.done) << b.at.x << "," << b.at.y;
    }
    // The barometric knob's sides repeat while held.
    EXPECT_EQ(host.hold(g, BARO_RIGHT.x, BARO_RIGHT.y, 3), 3);
    EXPECT_EQ(keys(), std::vector<uint32_t>(3, 0x1015B));
}

// One window, two figures: millibars until the knob is pushed, then inches.
TEST_F(Panel1, BarometricWindowShowsMillibarsOrInches) {
    const struct {
        double millibars, inches;
        const char *mb_text, *in_text;
    } cases[] = {
        {1013.25, 29.92, "1013", "29.92"}, {1013.5, 29.926, "1014", "29.93"},
        {NAN, 1e300, "nan", "inf"},        {-1, 0.004, "-1", "0.00"},
    };
    for (int inhg : {0, 1, 0})
        for (const auto& c : cases) {
            host.sim.set(BARO_MB, c.millibars);
            host.sim.set(BARO_IN, c.inches);
            host.frame();
            EXPECT_EQ(state(g, MILLIBARS).text, c.mb_text);
            EXPECT_EQ(state(g, INCHES).text, c.in_text);
            EXPECT_EQ(hidden(state(g, MILLIBARS)), inhg == 1);
            EXPECT_EQ(hidden(state(g, INCHES)), inhg == 0);
            const double knob = state(g, BARO_KNOB).value[0];
            EXPECT_TRUE(knob == c.millibars || (isnan(knob) && isnan(c.millibars))) << c.millibars;
            if (&c == &cases[3]) click(BARO_PUSH);
        }
    EXPECT_FALSE(g.overflowed);
}

// The selector plays its sound before it moves; a value other than 0 turns
// into 0; its frame is the value read as unsigned.
TEST_F(Panel1, AdfVorSelectorTogglesTheSharedVariable) {
    for (auto [before, after] : {std::pair{0, 1}, {1, 0}, {3, 0}, {-1, 0}}) {
        host.registry.set("adfvor", before);
        EXPECT_EQ(after_frame(g, ADF_VOR).value[0], double(uint32_t(before)));
        host.events.clear();
        click(ADF_VOR_SELECTOR);
        std::vector<std::string> done;
        for (const Event& e : host.events) {
            if (e.kind == Event::Kind::Sound) done.push_back(e.detail.substr(0, e.detail.find(' ')));
            if (e.kind == Event::Kind::SharedChange) done.push_back(e.name + " " + std::to_string(e.value));
        }
        host.events.clear();
        EXPECT_EQ(done, (std::vector<std::string>{"sound\\SWITCH.WAV", "adfvor " + std::to_string(after)}));
        EXPECT_EQ(after_frame(g, ADF_VOR).value[0], after);
    }
}

TEST_F(Panel1, LampsFollowTheirModesAndLabelsLightWithThePanel) {
    const std::pair<size_t, uint32_t> lamps[] = {{FD_LIGHT, FD},          {LVL_LIGHT, LEVEL},
                                                 {TOGA_LIGHT, GO_AROUND}, {BC_LIGHT, BACK_COURSE},
                                                 {IAS_LIGHT, SPEED_HOLD}, {MACH_LIGHT, MACH_HOLD}};
    for (const auto& [lamp, var] : lamps)
        for (double v : {1.0, 0.0, -1.0, 1.0000001, double(NAN), 1.0}) {
            host.sim.set(var, v);
            EXPECT_EQ(hidden(after_frame(g, lamp)), v != 1.0) << lamp << " " << v;
        }
    host.sim.set(NAV_SOURCE, 1);
    for (int32_t power : {1, 0, 2, 1}) {
        host.registry.set("power", power);
        host.frame();
        for (size_t i = 1; i < PANEL_1_ELEMENTS; ++i) {
            const bool never = i == NAV_GPS || i == BARO_KNOB || i == ADF_VOR;
            EXPECT_EQ(bright(state(g, i)), power == 1 && !never) << i << " power " << power;
        }
    }
    EXPECT_EQ(state(g, NAV_GPS).value[0], 1);
}

// Without the broadcaster nothing is bound: the selector stays at 0, and its
// click still sounds.
TEST(AutopilotPanelsAlone, RunWithoutTheOwnerOfTheirSharedVariables) {
    Host host(options());
    std::string error;
    ASSERT_TRUE(host.load({"autopilot_panel_1", "autopilot_panel_2"}, &error)) << error;
    host.frames(2);
    Gauge& one = *host.find("autopilot_panel_1");
    host.click(one, ADF_VOR_SELECTOR.x, ADF_VOR_SELECTOR.y);
    host.click(*host.find("autopilot_panel_2"), AP_BUTTON.x, AP_BUTTON.y);
    host.frame();
    EXPECT_EQ(one.state.at(ADF_VOR).value[0], 0);
    EXPECT_FALSE(one.state.at(FD_LIGHT).flags & IMAGE_BRIGHT);
    int sounds = 0;
    for (const Event& e : host.events) sounds += e.kind == Event::Kind::Sound;
    EXPECT_EQ(sounds, 2);
}

}  // namespace
}  // namespace kestrel::test
