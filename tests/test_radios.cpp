// The radio panel, the transponder and the chronometer, driven through the
// host as the simulator drives them, and the simulator stand-in's radio
// tuning, transponder and clock.
#include <math.h>
#include <stdio.h>

#include <string>

#include "support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t BATTERY = 0x16C, TICKS = 0x1;

std::string hex(uint32_t v) {
    char s[16];
    snprintf(s, sizeof s, "0x%X", v);
    return s;
}

// One line per element record, as the simulator reads it.
std::string describe(const Gauge& g, size_t i) {
    const ElementHeader* h = g.element(i);
    std::string s = std::to_string(h->kind) + " " + hex(h->resource_id) + " " + std::to_string(h->position.x) +
                    "," + std::to_string(h->position.y);
    if (h->kind == KIND_ICON) {
        const auto* e = g.element_as<IconElement>(i);
        s += " frames " + std::to_string(e->frame_count) + " var " + hex(e->source.id);
    } else if (h->kind == KIND_TEXT) {
        const auto* e = g.element_as<TextElement>(i);
        s += " " + std::to_string(e->box_width) + "x" + std::to_string(e->box_height) + " " + e->font + " " +
             std::to_string(e->font_weight) + " " + hex(e->text_color) + "/" + hex(e->background_color) + " var " +
             hex(e->source[0].id);
    } else if (h->kind == KIND_SPRITE) {
        const auto* e = g.element_as<SpriteElement>(i);
        char scales[64];
        snprintf(scales, sizeof scales, " at %d,%d scales %g %g %g", h->offset.x, h->offset.y, e->scale_x,
                 e->scale_y, e->scale_rotation);
        s += scales;
    }
    return s;
}

// One line per clickable area, in list order.
std::vector<std::string> areas(const Gauge& g) {
    std::vector<std::string> out;
    for (const MouseRect* m : g.layout.mouse)
        if (m->kind == MOUSE_CHILD)
            out.push_back(std::to_string(m->box.x) + "," + std::to_string(m->box.y) + "," +
                          std::to_string(m->box.width) + "," + std::to_string(m->box.height) + " " +
                          std::to_string(m->cursor) + " " + hex(m->flags));
    return out;
}

struct At {
    int32_t x, y;
};

class Radios : public HostTest {
protected:
    // What the modules sent and played since the last call, in order:
    // key events by id, sounds by file ("CLICK", "SWITCH").
    std::string actions() {
        std::string out;
        for (const Event& e : host.events) {
            std::string a;
            if (e.kind == Event::Kind::KeyEvent) a = hex(static_cast<uint32_t>(e.number));
            if (e.kind == Event::Kind::Sound && e.name == "PlaySoundA")
                a = e.detail.substr(e.detail.find('\\') + 1, e.detail.find('.') - e.detail.find('\\') - 1);
            if (!a.empty()) out += (out.empty() ? "" : " ") + a;
        }
        host.events.clear();
        return out;
    }
    void click(Gauge& g, At at) { host.click(g, at.x, at.y); }
    bool shown(Gauge& g, size_t i) { return !hidden(state(g, i)); }
    const std::string& text(Gauge& g, size_t i) { return state(g, i).text; }
};

// ---------------------------------------------------------------------------
// Radio panel

enum { NAV1_LAMP = 1, NAV2_LAMP, ADF_LAMP, COM1_LAMP, COM2_LAMP };
enum { NAV1_STBY = 6, NAV1_ACT, NAV2_STBY, NAV2_ACT, COM1_STBY, COM1_ACT, ADF_ACT, ADF_STBY, ON_SWITCH,
       COM2_STBY, COM2_ACT };
constexpr At NAV1 = {15, 37}, NAV2 = {39, 37}, ADF = {62, 37}, COM1 = {15, 54}, COM2 = {60, 54};
constexpr At TRANSFER = {79, 20}, ON = {144, 80};
constexpr At COLUMN_UP[4] = {{89, 38}, {104, 38}, {119, 38}, {134, 38}};
constexpr At COLUMN_DOWN[4] = {{89, 56}, {104, 56}, {119, 56}, {134, 56}};

class RadioPanel : public Radios {
protected:
    Gauge& g = load({"broadcaster", "radio_panel"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    void switch_on() {
        host.sim.set(BATTERY, 1);
        host.frame();
        click(g, ON);
        host.frame();
        host.events.clear();
    }
    // The selection as the lamps show it: "NAV1", "" for none.
    std::string selected() {
        host.frame();
        std::string s;
        const char* names[] = {"NAV1", "NAV2", "ADF", "COM1", "COM2"};
        for (size_t i = 0; i < 5; ++i)
            if (shown(g, NAV1_LAMP + i)) s += names[i];
        return s;
    }
};

TEST_F(RadioPanel, PresentsItsRecordsAsTheSimulatorReadsThem) {
    const char* const elements[] = {
        "0 0x100 0,0",
        "4 0x1101 4,35 frames 2 var 0x0",
        "4 0x1101 27,35 frames 2 var 0x0",
        "4 0x1101 50,35 frames 2 var 0x0",
        "4 0x1101 4,52 frames 2 var 0x0",
        "4 0x1101 47,52 frames 2 var 0x0",
        "2 0xFFFFFFFF 96,13 67x16 Arial 500 0x80FF/0x80FFFF var 0x368",
        "2 0xFFFFFFFF 22,13 141x16 Arial 500 0x80FF/0x80FFFF var 0x18",
        "2 0xFFFFFFFF 96,13 67x16 Arial 500 0x80FF/0x80FFFF var 0x369",
        "2 0xFFFFFFFF 22,13 141x16 Arial 500 0x80FF/0x80FFFF var 0x1B",
        "2 0xFFFFFFFF 96,13 67x16 Arial 500 0x80FF/0x0 var 0x269",
        "2 0xFFFFFFFF 22,13 141x16 Arial 500 0x80FF/0x0 var 0x17",
        "2 0xFFFFFFFF 22,13 141x16 Arial 500 0x80FF/0x0 var 0x10",
        "2 0xFFFFFFFF 96,13 67x16 Arial 500 0x80FF/0x0 var 0x10",
        "4 0x1300 139,68 frames 2 var 0x0",
        "2 0xFFFFFFFF 96,13 67x16 Arial 500 0x80FF/0x80FFFF var 0x367",
        "2 0xFFFFFFFF 22,13 141x16 Arial 500 0x80FF/0x80FFFF var 0x366",
        "2 0xFFFFFFFF 27,2 136x10 Arial 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 94,2 69x10 Arial 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 56,34 107x10 Arial 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 32,34 131x10 Arial Narrow 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 141,67 22x10 Arial Narrow 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 8,34 155x10 Arial Narrow 100 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 52,51 111x10 Arial Narrow 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 9,51 154x10 Arial Narrow 500 0xFFFFFF/0x80FFFF var 0x0",
    };
    ASSERT_EQ(g.size(), std::size(elements));
    for (size_t i = 0; i < g.size(); ++i) EXPECT_EQ(describe(g, i), elements[i]) << i;
    const std::pair<size_t, std::string> captions[] = {{17, "ACTIVE"}, {18, "STBY/CRS"}, {19, "ADF"}, {20, "NAV2"},
                                                       {21, "ON"},     {22, "NAV1"},     {23, "COM2"}, {24, "COM1"}};
    for (const auto& [i, caption] : captions) EXPECT_EQ(text(g, i).substr(0, caption.size()), caption) << i;
    EXPECT_EQ(text(g, 17).size(), 606u);  // "ACTIVE%600.0f"
    EXPECT_EQ(areas(g), (std::vector<std::string>{
                            "9,34,14,7 5 0x20000000",    "31,32,17,10 5 0x20000000", "55,32,15,10 5 0x20000000",
                            "8,50,16,9 5 0x20000000",    "71,14,16,12 5 0x20000000", "82,31,15,17 1 0x20200000",
                            "82,48,14,17 2 0x20200000",  "98,30,14,18 1 0x20200000", "96,46,16,20 2 0x20200000",
                            "112,31,15,17 1 0x20200000", "113,48,14,18 2 0x20200000", "128,32,13,15 1 0x20200000",
                            "127,47,15,19 2 0x20200000", "52,49,16,10 5 0x20000000", "138,67,13,27 5 0x20000000"}));
}

TEST_F(RadioPanel, ComesUpOffWithCom1SelectedAndShowsOnlyTheSelectedRadioWhileOn) {
    EXPECT_EQ(selected(), "");  // hidden: the panel is off
    EXPECT_EQ(state(g, ON_SWITCH).value[0], 0);
    for (size_t i = NAV1_STBY; i <= COM2_ACT; ++i)
        if (i != ON_SWITCH) {
            EXPECT_FALSE(shown(g, i)) << i;
        }
    switch_on();
    EXPECT_EQ(selected(), "COM1");
    for (size_t i = NAV1_STBY; i <= COM2_ACT; ++i)
        if (i != ON_SWITCH) {
            EXPECT_EQ(shown(g, i), i == COM1_STBY || i == COM1_ACT) << i;
        }
    // Windows and lamps are self-lit; the switch is never lit; labels follow "power".
    EXPECT_TRUE(bright(state(g, COM1_ACT)));
    EXPECT_TRUE(bright(state(g, COM1_LAMP)));
    EXPECT_FALSE(bright(state(g, ON_SWITCH)));
    EXPECT_FALSE(bright(state(g, 17)));
    host.registry.set("power", 1);
    host.frame();
    EXPECT_TRUE(bright(state(g, 17)));
    EXPECT_FALSE(bright(state(g, ON_SWITCH)));
}

TEST_F(RadioPanel, OnSwitchTurnsOnOnlyWithTheBatteryMasterAndAlwaysOff) {
    const struct {
        double battery;
        double before, after;
    } cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 0}, {NAN, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    for (const auto& c : cases) {
        host.sim.set(BATTERY, 1);
        host.frame();
        if (state(g, ON_SWITCH).value[0] != c.before) click(g, ON);
        host.sim.set(BATTERY, c.battery);
        host.frame();
        actions();
        click(g, ON);
        EXPECT_EQ(actions(), "SWITCH");
        host.frame();
        EXPECT_EQ(state(g, ON_SWITCH).value[0], c.after) << c.battery << " " << c.before;
    }
}

TEST_F(RadioPanel, ButtonsSelectOneRadioAndASecondPressDeselectsIt) {
    switch_on();
    const struct {
        At button;
        const char* actions;
        const char* selected;
    } presses[] = {
        {NAV1, "0x100AB CLICK", "NAV1"}, {NAV2, "CLICK", "NAV2"},  {ADF, "CLICK", "ADF"},
        {COM2, "CLICK", "COM2"},         {COM1, "0x100AB CLICK", "COM1"}, {COM1, "0x100AB CLICK", ""},
        {ADF, "CLICK", "ADF"},           {ADF, "CLICK", ""},      {NAV2, "CLICK", "NAV2"},
    };
    for (const auto& p : presses) {
        click(g, p.button);
        EXPECT_EQ(actions(), p.actions) << p.selected;
        EXPECT_EQ(selected(), p.selected);
    }
}

TEST_F(RadioPanel, TuningAndTransferSendTheSelectedRadiosEventsWhetherOnOrOff) {
    const struct {
        At radio;
        const char* up[4];
        const char* down[4];
        const char* transfer;
    } radios[] = {
        {ADF, {"0x10070 CLICK", "0x10071 CLICK", "0x10072 CLICK", "0x1039E CLICK"},
         {"0x10082 CLICK", "0x10083 CLICK", "0x10084 CLICK", "0x1039D CLICK"}, "CLICK"},
        {COM1, {"CLICK", "0x10065 CLICK", "0x10067 CLICK", "CLICK"},
         {"CLICK", "0x10064 CLICK", "0x10066 CLICK", "CLICK"}, "0x10344 CLICK"},
        {NAV1, {"CLICK", "0x10069 CLICK", "0x1006B CLICK", "CLICK"},
         {"CLICK", "0x10068 CLICK", "0x1006A CLICK", "CLICK"}, "0x10390 CLICK"},
        {NAV2, {"CLICK", "0x1006D CLICK", "0x1006F CLICK", "CLICK"},
         {"CLICK", "0x1006C CLICK", "0x1006E CLICK", "CLICK"}, "0x10394 CLICK"},
        // COM2's event follows the click.
        {COM2, {"CLICK", "CLICK 0x10385", "CLICK 0x10388", "CLICK"},
         {"CLICK", "CLICK 0x10384", "CLICK 0x10386", "CLICK"}, "0x1038C CLICK"},
    };
    for (bool on : {false, true}) {
        if (on) switch_on();
        for (const auto& r : radios) {
            // Another button first leaves this radio unselected, so that its own selects it.
            click(g, r.radio.x == NAV1.x && r.radio.y == NAV1.y ? NAV2 : NAV1);
            click(g, r.radio);
            actions();
            for (int c = 0; c < 4; ++c) {
                click(g, COLUMN_UP[c]);
                EXPECT_EQ(actions(), r.up[c]) << c << " " << r.transfer;
                click(g, COLUMN_DOWN[c]);
                EXPECT_EQ(actions(), r.down[c]) << c << " " << r.transfer;
            }
            click(g, TRANSFER);
            EXPECT_EQ(actions(), r.transfer);
        }
    }
    // With no radio selected (COM2 pressed again) the areas only click.
    click(g, COM2);
    actions();
    for (int c = 0; c < 4; ++c) click(g, COLUMN_UP[c]);
    click(g, TRANSFER);
    EXPECT_EQ(actions(), "CLICK CLICK CLICK CLICK CLICK");
}

TEST_F(RadioPanel, AHeldTuningAreaRepeatsAndTheStandbyFrequencyFollows) {
    switch_on();
    click(g, NAV1);
    host.sim.set_bcd(0x368, 0x0800);  // 108.00
    actions();
    EXPECT_EQ(host.hold(g, COLUMN_UP[2].x, COLUMN_UP[2].y, 6), 6);  // the press and five repeats
    EXPECT_EQ(actions(), "0x1006B CLICK 0x1006B CLICK 0x1006B CLICK 0x1006B CLICK 0x1006B CLICK 0x1006B CLICK");
    host.frame();
    EXPECT_EQ(text(g, NAV1_STBY), "108.30");
    // A single-click area does not repeat.
    EXPECT_EQ(host.hold(g, TRANSFER.x, TRANSFER.y, 6), 1);
    host.frame();
    EXPECT_EQ(text(g, NAV1_ACT), "108.30");
}

TEST_F(RadioPanel, WindowsRebuildTheFrequenciesFromAnyBinaryCodedDecimal) {
    const struct {
        uint32_t word;
        const char* text;
    } com_nav[] = {
        {0x1830, "118.30"},   {0x0950, "109.50"}, {0x3697, "136.97"}, {0, "100.00"},
        {0x00A0, "100.10"},   // a group above 9 prints two digits: "100.100"
        {0xFFFF, "11515.15"}, {0xFFFFFFFF, "11515.15"}, {0x12345678, "156.78"},
    };
    for (const auto& c : com_nav) {
        host.sim.set_bcd(0x17, c.word);
        host.frame();
        EXPECT_EQ(text(g, COM1_ACT), c.text) << hex(c.word);
    }
    const struct {
        uint32_t extension, word;
        const char* text;
    } adf[] = {
        {0x000, 0x095, "095.0"},   {0x100, 0x025, "1025.0"}, {0x005, 0x379, "379.5"},
        {0x105, 0x347, "1347.5"},  {0, 0, "000.0"},          {0xFFFFFFFF, 0xFFFFFFFF, "15151515.0"},
    };
    for (const auto& c : adf) {
        host.sim.set_bcd(0x12, c.extension);
        host.sim.set_bcd(0x10, c.word);
        host.frame();
        EXPECT_EQ(text(g, ADF_ACT), c.text) << hex(c.extension) << " " << hex(c.word);
        EXPECT_EQ(text(g, ADF_STBY), c.text);
    }
    EXPECT_FALSE(g.overflowed);
}

// ---------------------------------------------------------------------------
// Transponder

enum { CODE = 1, XPDR_SWITCH, ATC, IDENT };
constexpr At XPDR_ON_OFF = {10, 22};

class Transponder : public Radios {
protected:
    Gauge& g = load({"broadcaster", "transponder"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
};

TEST_F(Transponder, PresentsItsRecordsAsTheSimulatorReadsThem) {
    const char* const elements[] = {
        "0 0x100 0,0",
        "2 0xFFFFFFFF 104,11 57x14 Arial 500 0x80FF/0xFFFF var 0x26",
        "4 0x1100 2,16 frames 2 var 0x0",
        "2 0xFFFFFFFF 106,2 55x10 Arial 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 105,25 56x10 Arial 500 0xFFFFFF/0x80FFFF var 0x0",
    };
    ASSERT_EQ(g.size(), std::size(elements));
    for (size_t i = 0; i < g.size(); ++i) EXPECT_EQ(describe(g, i), elements[i]) << i;
    EXPECT_EQ(text(g, ATC), "ATC" + std::string(799, ' ') + "0");
    EXPECT_EQ(text(g, IDENT), "IDENT" + std::string(599, ' ') + "0");
    EXPECT_EQ(areas(g), (std::vector<std::string>{
                            "67,41,18,14 2 0x20200000", "91,40,17,16 2 0x20200000", "122,38,15,17 2 0x20200000",
                            "142,40,16,17 2 0x20200000", "73,25,15,15 1 0x20200000", "91,27,13,15 1 0x20200000",
                            "120,26,17,16 1 0x20200000", "141,26,15,17 1 0x20200000", "0,14,21,18 5 0x20000000"}));
}

TEST_F(Transponder, ShowsTheCodeWithoutLeadingZerosWhileSwitchedOn) {
    const struct {
        uint32_t code;
        const char* text;
    } codes[] = {{0x1200, "1200"}, {0x0400, "400"}, {0x0042, "42"}, {0, "0"}, {0x7777, "7777"},
                 {0x00A0, "100"},  {0xFFFF, "15151515"}, {0xFFFFFFFF, "15151515"}};
    for (const auto& c : codes) {
        host.sim.set_bcd(0x26, c.code);
        host.frame();
        EXPECT_EQ(text(g, CODE), c.text) << hex(c.code);
    }
    EXPECT_FALSE(g.overflowed);

    EXPECT_TRUE(hidden(state(g, CODE)));
    click(g, XPDR_ON_OFF);  // battery off: stays off, still clicks
    host.frame();
    EXPECT_EQ(actions(), "CLICK");
    EXPECT_TRUE(hidden(state(g, CODE)));
    host.sim.set(BATTERY, 1);
    host.frame();
    click(g, XPDR_ON_OFF);
    host.frame();
    EXPECT_FALSE(hidden(state(g, CODE)));
    EXPECT_EQ(state(g, XPDR_SWITCH).value[0], 1);
    EXPECT_FALSE(bright(state(g, CODE)));  // lit by "power" only
    host.registry.set("power", 1);
    host.frame();
    for (size_t i : {CODE, ATC, IDENT}) EXPECT_TRUE(bright(state(g, i))) << i;
    EXPECT_FALSE(bright(state(g, XPDR_SWITCH)));
    host.sim.set(BATTERY, 0);
    click(g, XPDR_ON_OFF);  // on always turns off
    host.frame();
    EXPECT_TRUE(hidden(state(g, CODE)));
}

TEST_F(Transponder, DigitAreasSendTheirEventsAndRepeatWhileHeld) {
    const struct {
        At at;
        const char* actions;
    } digits[] = {
        {{76, 48}, "0x10397 CLICK"},  {{99, 48}, "0x10398 CLICK"}, {{129, 48}, "0x10399 CLICK"},
        {{150, 48}, "0x1039A CLICK"}, {{80, 32}, "0x10073 CLICK"}, {{97, 32}, "0x10074 CLICK"},
        {{128, 32}, "0x10075 CLICK"}, {{148, 32}, "0x10076 CLICK"},
    };
    for (const auto& d : digits) {
        click(g, d.at);
        EXPECT_EQ(actions(), d.actions);
    }
    host.sim.set_bcd(0x26, 0x1200);
    EXPECT_EQ(host.hold(g, 148, 32, 3), 3);  // fourth digit up, three times
    host.frame();
    EXPECT_EQ(host.sim.find(0x26)->bcd, 0x1203u);
}

// ---------------------------------------------------------------------------
// Chronometer

enum { OVERLAY = 1, READOUT, SECONDS, MINUTES, CHR, HOUR_HAND, MINUTE_HAND, SECOND_HAND };
constexpr At CHR_BUTTON = {15, 124}, DOWN = {112, 125}, UP = {131, 125};

class Chronometer : public Radios {
protected:
    Gauge& g = load({"broadcaster", "chronometer"});
    void SetUp() override {
        host.frame();
        host.events.clear();
    }
    // A frame in which the tick counter reads t.
    void frame_at(double t) {
        host.sim.set(TICKS, t);
        host.sim.set_frame_rate(1000000);  // a frame too short to move the counter
        host.frame();
        host.sim.set_frame_rate(18);
    }
    void stop() {
        host.frame();
        if (state(g, CHR).value[0] == 1) click(g, CHR_BUTTON);
    }
    std::string elapsed() { return text(g, MINUTES) + text(g, SECONDS); }
};

TEST_F(Chronometer, PresentsItsRecordsAsTheSimulatorReadsThem) {
    const char* const elements[] = {
        "0 0x100 0,0",
        "4 0x1200 0,0 frames 2 var 0x0",
        "2 0xFFFFFFFF 63,86 81x20 Arial 500 0xFFFFFF/0x80FFFF var 0x150",
        "2 0xFFFFFFFF 70,42 74x20 Arial 500 0xFFFFFF/0x80FFFF var 0x0",
        "2 0xFFFFFFFF 49,42 95x20 Arial 500 0xFFFFFF/0x4080FF var 0x0",
        "4 0x1600 1,112 frames 2 var 0x0",
        "6 0x1400 0,0 at 70,72 scales 0 0 -1",
        "6 0x2000 0,0 at 70,72 scales 0 0 -1",
        "6 0x1800 0,0 at 70,72 scales 0 0 -1",
    };
    ASSERT_EQ(g.size(), std::size(elements));
    for (size_t i = 0; i < g.size(); ++i) EXPECT_EQ(describe(g, i), elements[i]) << i;
    EXPECT_EQ(areas(g), (std::vector<std::string>{"2,110,27,28 5 0x20000000", "106,116,13,19 2 0x20000000",
                                                  "125,115,14,21 1 0x20000000"}));
    EXPECT_EQ(elapsed(), "00: 00");
}

TEST_F(Chronometer, HandsFollowTheClockWhetherOrNotTheChronometerRuns) {
    const struct {
        double h, m, s;
        double hour, minute, second;
    } times[] = {{0, 0, 0, 0, 0, 0}, {3, 0, 15, 90, 0, 90}, {10, 30, 59, 315, 180, 354}, {23, 59, 0, 719.5, 354, 0}};
    for (const auto& t : times) {
        host.sim.set(0x3, t.h);
        host.sim.set(0x4, t.m);
        host.sim.set(0x5, t.s);
        host.frame();
        EXPECT_EQ(state(g, HOUR_HAND).value[2], t.hour);
        EXPECT_EQ(state(g, MINUTE_HAND).value[2], t.minute);
        EXPECT_EQ(state(g, SECOND_HAND).value[2], t.second);
        EXPECT_EQ(state(g, HOUR_HAND).value[0], 0);
    }
    host.sim.set(0x150, 7);
    host.registry.set("power", 1);
    host.frame();
    EXPECT_EQ(text(g, READOUT), "07");
    for (size_t i = OVERLAY; i <= SECOND_HAND; ++i) EXPECT_TRUE(bright(state(g, i))) << i;
}

// Seconds count every 18 ticks and minutes every 1080 from the tick the CHR
// press saw. A slow simulator moves the counter several ticks at once: a
// schedule counts once the counter has reached its tick, every period passed
// over at once, and the counters wrap at 60.
TEST_F(Chronometer, CountsElapsedTimeFromTheTickCounterEvenWhenTicksAreSkipped) {
    const struct {
        const char* what;
        double start;
        std::vector<double> ticks;
        const char* elapsed;
    } runs[] = {
        {"one tick before the first second", 100, {117}, "00: 00"},
        {"the first second", 100, {118}, "00: 01"},
        {"a skipped tick still counts", 100, {117, 119}, "00: 01"},
        {"two seconds in one frame", 100, {136}, "00: 02"},
        {"and the schedule goes on after a skip", 100, {119, 136, 154}, "00: 03"},
        {"the first minute", 100, {1180}, "01: 00"},
        {"59:59 then 00:00", 100, {100 + 3599 * 18, 100 + 3600 * 18}, "00: 00"},
        {"a long jump wraps", 100, {100 + 18 * 125}, "02: 05"},
        {"a tick counter between ticks", 100.5, {118, 118.4, 118.5}, "00: 01"},
        {"a counter that is not a number stops nothing", 100, {NAN, 118}, "00: 01"},
        {"a huge counter", 100, {1e300}, nullptr},
        {"an infinite counter", 100, {INFINITY}, nullptr},
    };
    for (const auto& r : runs) {
        stop();
        frame_at(r.start);
        click(g, CHR_BUTTON);  // start from the counter's value
        for (double t : r.ticks) frame_at(t);
        EXPECT_EQ(state(g, CHR).value[0], 1) << r.what;
        if (r.elapsed) {
            EXPECT_EQ(elapsed(), r.elapsed) << r.what;
        }
        // Whatever the counter did, the readout stays within 00 to 59.
        const int minutes = atoi(text(g, MINUTES).c_str()), seconds = atoi(text(g, SECONDS).c_str() + 2);
        EXPECT_TRUE(minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60) << r.what << " " << elapsed();
    }
}

TEST_F(Chronometer, StoppedSchedulesNeverCountAndAPressClearsAndStops) {
    // Stopped, a counter reading 0 or passing any tick counts nothing.
    for (double t : {0.0, 18.0, 1080.0, 5000.0}) {
        frame_at(t);
        EXPECT_EQ(elapsed(), "00: 00") << t;
    }
    click(g, CHR_BUTTON);
    EXPECT_EQ(actions(), "CLICK");
    host.frames(18 * 65);
    EXPECT_EQ(elapsed(), "01: 05");
    EXPECT_EQ(state(g, CHR).value[0], 1);
    click(g, CHR_BUTTON);
    host.frames(40);
    EXPECT_EQ(elapsed(), "00: 00");
    EXPECT_EQ(state(g, CHR).value[0], 0);
    // The down and up areas send their events without a sound.
    actions();
    click(g, DOWN);
    click(g, UP);
    EXPECT_EQ(actions(), "0x100FE 0x100FD");
}

// ---------------------------------------------------------------------------
// The simulator stand-in

TEST(RadioStandIn, TuningTransferAndSquawkStepAndWrapInBinaryCodedDecimal) {
    const struct {
        uint32_t var, before, event, after;
    } steps[] = {
        {0x269, 0x3600, 0x10065, 0x1800},  // COM1 136 wraps to 118
        {0x269, 0x1800, 0x10064, 0x3600},
        {0x269, 0x1800, 0x10067, 0x1802},  // 118.000 to 118.025
        {0x269, 0x1802, 0x10067, 0x1805},
        {0x269, 0x1807, 0x10067, 0x1810},  // 118.075 to 118.100
        {0x269, 0x1897, 0x10067, 0x1800},  // .975 wraps to .000 within the MHz
        {0x269, 0x1800, 0x10066, 0x1897},
        {0x367, 0x2250, 0x10385, 0x2350},  // COM2
        {0x367, 0x2250, 0x10386, 0x2247},
        {0x368, 0x1795, 0x10069, 0x0895},  // NAV1 117 wraps to 108
        {0x368, 0x0800, 0x10068, 0x1700},
        {0x368, 0x1095, 0x1006B, 0x1000},  // .95 wraps to .00
        {0x368, 0x1000, 0x1006A, 0x1095},
        {0x369, 0x1130, 0x1006F, 0x1135},  // NAV2
        {0x369, 0x1130, 0x1006C, 0x1030},
        {0x368, 0xFFFF, 0x10069, 0x0900},  // garbage comes into the band
        {0x368, 0, 0x1006B, 0x0805},
        {0x269, 0xFFFFFFFF, 0x10067, 0x1802},
        {0x26, 0x1200, 0x10073, 0x2200},  // transponder digits, octal
        {0x26, 0x7777, 0x10076, 0x7770},
        {0x26, 0x0000, 0x10399, 0x0070},
        {0x26, 0x0000, 0x10397, 0x7000},
        {0x26, 0x1298, 0x1039A, 0x1297},  // 8 is not an octal digit: from 0
        {0x10, 0x0799, 0x10071, 0x0709},  // ADF tens and units wrap alone
        {0x10, 0x0799, 0x10072, 0x0790},
        {0x10, 0x0700, 0x10084, 0x0709},
    };
    for (const auto& s : steps) {
        Sim sim;
        sim.set_bcd(s.var, s.before);
        sim.key_event(s.event, 0);
        ASSERT_TRUE(sim.find(s.var) && sim.find(s.var)->is_bcd) << hex(s.event);
        EXPECT_EQ(hex(sim.find(s.var)->bcd), hex(s.after)) << hex(s.event) << " from " << hex(s.before);
    }

    // The transfers swap active and standby.
    const uint32_t pairs[][3] = {{0x10344, 0x17, 0x269}, {0x1038C, 0x366, 0x367}, {0x10390, 0x18, 0x368},
                                 {0x10394, 0x1B, 0x369}};
    for (const auto& [event, active, standby] : pairs) {
        Sim sim;
        sim.set_bcd(active, 0x1030);
        sim.set_bcd(standby, 0x1150);
        sim.key_event(event, 0);
        EXPECT_EQ(sim.find(active)->bcd, 0x1150u) << hex(event);
        EXPECT_EQ(sim.find(standby)->bcd, 0x1030u) << hex(event);
    }

    // ADF hundreds carry into the thousands digit of the extension, 100 to 1700.
    const struct {
        uint32_t frequency, extension, event, frequency_after, extension_after;
    } adf[] = {
        {0x0950, 0x005, 0x10070, 0x050, 0x105},  // 950.5 to 1050.5
        {0x0750, 0x105, 0x10070, 0x150, 0x005},  // 1750.5 wraps to 150.5
        {0x0150, 0x000, 0x10082, 0x750, 0x100},  // 150.0 wraps to 1750.0
        {0x0379, 0x009, 0x1039E, 0x379, 0x000},  // tenths 9 wraps to 0
        {0x0379, 0x000, 0x1039D, 0x379, 0x009},
        {0xFFFF, 0xFFFF, 0x10070, 0x200, 0x000}, // garbage: from 100.0
    };
    for (const auto& a : adf) {
        Sim sim;
        sim.set_bcd(0x10, a.frequency);
        sim.set_bcd(0x12, a.extension);
        sim.key_event(a.event, 0);
        EXPECT_EQ(hex(sim.find(0x10)->bcd), hex(a.frequency_after)) << hex(a.event) << " " << hex(a.frequency);
        EXPECT_EQ(hex(sim.find(0x12)->bcd), hex(a.extension_after)) << hex(a.event) << " " << hex(a.frequency);
    }

    // The chronometer's lower window: 0 to 99, wrapping.
    Sim sim;
    sim.key_event(0x100FE, 0);
    EXPECT_EQ(sim.get(0x150), 99);
    sim.key_event(0x100FD, 0);
    sim.key_event(0x100FD, 0);
    EXPECT_EQ(sim.get(0x150), 1);
}

TEST(RadioStandIn, ClockModelFollowsTheTickCounterFromAFixedTimeOfDay) {
    const struct {
        double ticks;
        double h, m, s;
    } cases[] = {
        {0, 10, 8, 0},         {17, 10, 8, 0},          {18, 10, 8, 1},     {18 * 61, 10, 9, 1},
        {18 * 3600, 11, 8, 0}, {18 * 49920.0, 0, 0, 0}, {-18, 10, 7, 59},   {1e300, NAN, NAN, NAN},
    };
    for (const auto& c : cases) {
        Sim sim;
        ASSERT_TRUE(sim.enable_model("clock", true));
        sim.set(TICKS, c.ticks);
        sim.set_frame_rate(1000000);
        sim.advance_frame();
        if (isnan(c.h)) {  // far out: any time of day, but a real one
            EXPECT_TRUE(sim.get(0x3) >= 0 && sim.get(0x3) < 24 && sim.get(0x5) >= 0 && sim.get(0x5) < 60);
            continue;
        }
        EXPECT_EQ(sim.get(0x3), c.h) << c.ticks;
        EXPECT_EQ(sim.get(0x4), c.m) << c.ticks;
        EXPECT_EQ(sim.get(0x5), c.s) << c.ticks;
    }
    Sim sim;
    sim.enable_model("clock", true);
    sim.set(0x5, 33);
    sim.set(TICKS, NAN);
    sim.set_frame_rate(1000000);
    sim.advance_frame();
    EXPECT_EQ(sim.get(0x5), 33);  // a counter that is not a number leaves the clock alone
}

}  // namespace
}  // namespace kestrel::test
