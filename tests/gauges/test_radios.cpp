// The radio panel, the transponder and the chronometer, driven through the
// host as the simulator drives them, and the simulator stand-in's radio
// tuning, transponder and clock.
#include <math.h>
#include <stdio.h>

#include <string>

#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t TICKS = 0x1;

std::string hex(uint32_t v) {
    char s[16];
    snprintf(s, sizeof s, "0x%X", v);
    return s;
}

struct At {
    int32_t x, y;
};

class Radios : public HostTest {
protected:
    void SetUp() override {
        host.frame();  // the first draw
        host.events.clear();
    }
    // Key events and sounds since the last call, in order: "0x100AB CLICK".
    std::string actions() {
        std::string out;
        for (const Event& e : host.events) {
            std::string a = e.kind == Event::Kind::KeyEvent ? hex(uint32_t(e.number)) : "";
            if (e.kind == Event::Kind::Sound && e.name == "PlaySoundA")
                a = e.detail.substr(6, e.detail.find('.') - 6);  // sound\NAME.WAV
            if (!a.empty()) out += (out.empty() ? "" : " ") + a;
        }
        host.events.clear();
        return out;
    }
    void click(Gauge& g, At at) { host.click(g, at.x, at.y); }
    const std::string& text(Gauge& g, size_t i) { return state(g, i).text; }
};

// ---------------------------------------------------------------------------
// Radio panel

enum { NAV1_LAMP = 1 };
constexpr At NAV1 = {15, 37}, NAV2 = {39, 37}, ADF = {62, 37}, COM1 = {15, 54}, COM2 = {60, 54};
constexpr At TRANSFER = {79, 20}, ON = {144, 80};
constexpr At COLUMN_UP[4] = {{89, 38}, {104, 38}, {119, 38}, {134, 38}};
constexpr At COLUMN_DOWN[4] = {{89, 56}, {104, 56}, {119, 56}, {134, 56}};

class RadioPanel : public Radios {
protected:
    Gauge& g = load({"broadcaster", "radio_panel"});
    void switch_on() {
        host.sim.set(0x16C, 1);
        host.frame();
        click(g, ON);
        actions();
    }
    // The selection as the lamps show it: "NAV1", "" for none.
    std::string selected() {
        host.frame();
        std::string s;
        const char* names[] = {"NAV1", "NAV2", "ADF", "COM1", "COM2"};
        for (size_t i = 0; i < 5; ++i)
            if (!hidden(state(g, NAV1_LAMP + i))) s += names[i];
        return s;
    }
};

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

// ---------------------------------------------------------------------------
// Chronometer

enum { SECONDS = 3, MINUTES, CHR };
constexpr At CHR_BUTTON = {15, 124};

class Chronometer : public Radios {
protected:
    Gauge& g = load({"broadcaster", "chronometer"});
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
        {"stopped, nothing counts, not even at tick 0", NAN, {0, 18, 1080, 5000}, "00: 00"},
    };
    for (const auto& r : runs) {
        stop();
        frame_at(r.start);
        if (!isnan(r.start)) click(g, CHR_BUTTON);  // start from the counter's value
        for (double t : r.ticks) frame_at(t);
        EXPECT_EQ(state(g, CHR).value[0], isnan(r.start) ? 0 : 1) << r.what;
        if (r.elapsed) {
            EXPECT_EQ(elapsed(), r.elapsed) << r.what;
        }
        // Whatever the counter did, the readout stays within 00 to 59.
        const int minutes = atoi(text(g, MINUTES).c_str()), seconds = atoi(text(g, SECONDS).c_str() + 2);
        EXPECT_TRUE(minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60) << r.what << " " << elapsed();
    }
}

// ---------------------------------------------------------------------------
// The simulator stand-in

TEST(RadioStandIn, TuningTransferAndSquawkStepAndWrapInBinaryCodedDecimal) {
    const struct {
        uint32_t var, before, event, after;
    } steps[] = {
        // COM1 and COM2: 136 wraps to 118; 25 kHz channels, .975 wraps to .000 within the MHz.
        {0x269, 0x3600, 0x10065, 0x1800}, {0x269, 0x1800, 0x10064, 0x3600}, {0x269, 0x1800, 0x10067, 0x1802},
        {0x269, 0x1802, 0x10067, 0x1805}, {0x269, 0x1807, 0x10067, 0x1810}, {0x269, 0x1897, 0x10067, 0x1800},
        {0x269, 0x1800, 0x10066, 0x1897}, {0x367, 0x2250, 0x10385, 0x2350}, {0x367, 0x2250, 0x10386, 0x2247},
        // NAV1 and NAV2: 117 wraps to 108; 50 kHz steps, .95 wraps to .00.
        {0x368, 0x1795, 0x10069, 0x0895}, {0x368, 0x0800, 0x10068, 0x1700}, {0x368, 0x1095, 0x1006B, 0x1000},
        {0x368, 0x1000, 0x1006A, 0x1095}, {0x369, 0x1130, 0x1006F, 0x1135}, {0x369, 0x1130, 0x1006C, 0x1030},
        // Garbage and unset words come into the band.
        {0x368, 0xFFFF, 0x10069, 0x0900}, {0x368, 0, 0x1006B, 0x0805}, {0x269, 0xFFFFFFFF, 0x10067, 0x1802},
        // Transponder: octal digits wrap alone; 8 and above count as 0.
        {0x26, 0x1200, 0x10073, 0x2200}, {0x26, 0x7777, 0x10076, 0x7770}, {0x26, 0x0000, 0x10399, 0x0070},
        {0x26, 0x0000, 0x10397, 0x7000}, {0x26, 0x1298, 0x1039A, 0x1297},
        // ADF tens and units wrap alone.
        {0x10, 0x0799, 0x10071, 0x0709}, {0x10, 0x0799, 0x10072, 0x0790}, {0x10, 0x0700, 0x10084, 0x0709},
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
    // A counter that is not a number leaves the clock where it stands (here unset).
    const struct {
        double ticks;
        double h, m, s;
    } cases[] = {
        {0, 10, 8, 0},         {17, 10, 8, 0},          {18, 10, 8, 1},   {18 * 61, 10, 9, 1},
        {18 * 3600, 11, 8, 0}, {18 * 49920.0, 0, 0, 0}, {-18, 10, 7, 59}, {NAN, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Sim sim;
        ASSERT_TRUE(sim.enable_model("clock", true));
        sim.set(TICKS, c.ticks);
        sim.set_frame_rate(1000000);  // a frame that does not move the counter
        sim.advance_frame();
        EXPECT_EQ(sim.get(0x3), c.h) << c.ticks;
        EXPECT_EQ(sim.get(0x4), c.m) << c.ticks;
        EXPECT_EQ(sim.get(0x5), c.s) << c.ticks;
    }
}

}  // namespace
}  // namespace kestrel::test
