// The flight computer and the position readout: their records, the
// chronometer at any frame rate and tick count, the angle conversions over
// every value a simulator can hold, what the host draws, and the stand-in's
// waypoint model.
#include <math.h>

#include "host/render.h"
#include "support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t TICKS = 0x1, BATTERY_MASTER = 0x16C;

class FlightComputer : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "flight_computer"});
    void SetUp() override { host.frame(); }
    // "HH:MM:SS" as the three readouts show it.
    std::string chrono() {
        return state(g, 1).text.substr(8) + ":" + state(g, 2).text.substr(2) + ":" + state(g, 3).text.substr(2);
    }
    void restart_at(double tick) {
        host.sim.set(TICKS, tick - 1);
        host.frame();
        host.click(g, 8, 25);
    }
};

TEST_F(FlightComputer, PresentsItsRecordsAsTheSimulatorReadsThem) {
    ASSERT_EQ(g.size(), 11u);
    const uint32_t sources[] = {0, 0, 0, 0, 0, 0x33D, 0x35B, 0x358, 0x35C};
    for (size_t i = 1; i < 9; ++i) EXPECT_EQ(g.element_as<TextElement>(i)->source[0].id, sources[i]) << i;
    ASSERT_EQ(g.layout.mouse.size(), 4u);
    EXPECT_EQ(g.layout.mouse[1]->box.y, 21);  // the chronometer button first, then the screen's
    EXPECT_EQ(g.layout.mouse[2]->box.y, 1);
}

// However the simulator moves its tick counter, every period that has passed
// is counted, and a schedule never started stays still.
TEST_F(FlightComputer, ChronometerCountsEveryPeriodThatHasPassed) {
    const struct {
        uint32_t fps;
        uint64_t frames;
        const char* shown;
    } rates[] = {
        {18, 18 * 61, "00:01:01"}, {5, 5 * 61, "00:01:01"}, {7, 7 * 61, "00:01:01"},
        {1, 3601, "01:00:01"},     {13, 13 * 59, "00:00:59"},
    };
    for (const auto& r : rates) {
        restart_at(100);
        host.sim.set_frame_rate(r.fps);
        host.frames(r.frames);
        EXPECT_EQ(chrono(), r.shown) << r.fps;
        host.sim.set_frame_rate(18);
    }
    // Jumps of the counter: all periods at once, the phase kept.
    const struct {
        double to;
        const char* shown;
    } jumps[] = {
        {100 + 18 * 3661, "01:01:01"}, {100 + 18 * 3661 + 17, "01:01:01"}, {100 + 18 * 86400, "00:00:00"},
        {100 + 18 * 90061, "01:01:01"}, {99, "00:00:00"},
    };
    for (const auto& j : jumps) {
        restart_at(100);
        host.sim.set(TICKS, j.to - 1);
        host.frame();
        EXPECT_EQ(chrono(), j.shown) << j.to;
    }
}

// Tick counts no simulator should deliver: each readout stays within its
// range, and a press starts the chronometer afresh.
TEST_F(FlightComputer, ChronometerSurvivesTickCountsBeyondReason) {
    for (double t : {double(NAN), double(INFINITY), -double(INFINITY), 1e300, -1e300, 4294967296.0, -2147483649.0}) {
        restart_at(100);
        host.sim.set(TICKS, t);
        host.frames(3);
        const std::string shown = chrono();
        ASSERT_EQ(shown.size(), 8u) << t;
        EXPECT_LT(std::stoi(shown.substr(0, 2)), 24) << t << " " << shown;
        EXPECT_LT(std::stoi(shown.substr(3, 2)), 60) << t << " " << shown;
        EXPECT_LT(std::stoi(shown.substr(6, 2)), 60) << t << " " << shown;
        restart_at(100);
        host.frames(18);
        EXPECT_EQ(chrono(), "00:00:01") << t;
    }
    EXPECT_FALSE(g.overflowed);
}

class PositionReadout : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "position_readout"});
    void SetUp() override { host.frame(); }
};

// Each row's label pair and its degrees, minutes and hundredths, over values
// that are plain, on the edges, and beyond what 32 bits hold.
TEST_F(PositionReadout, AnglesShowTheirMagnitudeWithTheHemisphereInTheLabel) {
    struct Row {
        uint32_t id;
        size_t first;  // positive label; the negative one, then degrees, minutes, hundredths follow
    };
    const Row rows[] = {{0x47, 1}, {0x48, 6}, {0x348, 11}, {0x349, 16}};
    const double quarter_turn[] = {40007000 / 4.0, 0x1p46, 40007000 / 4.0, 90 * 11930464.0};
    const struct {
        double turns;  // of a quarter turn; or a value of its own when `raw`
        bool raw;
        const char* label;  // "+", "-" or "" for neither
        const char* degrees;
        const char* minutes;
        const char* hundredths;
    } cases[] = {
        {1, false, "+", "90", "00", ".00'"},
        {-1, false, "-", "90", "00", ".00'"},
        {1 / 90.0 / 60 / 100 * 99.9, false, "+", "0", "00", ".99'"},
        {0, false, "", "0", "00", ".00'"},
        {NAN, true, "", "0", "00", ".00'"},
        {1e300, true, "+", "357913", "56", ".47'"},
        {-1e300, true, "-", "357913", "56", ".47'"},
        {-double(INFINITY), true, "-", "357913", "56", ".47'"},
    };
    for (size_t k = 0; k < 4; ++k)
        for (const auto& c : cases) {
            const Row& r = rows[k];
            host.sim.set(r.id, c.raw ? c.turns : c.turns * quarter_turn[k]);
            host.frame();
            const std::string wide = k < 2 ? c.degrees : (strlen(c.degrees) < 2 ? "0" : "") + std::string(c.degrees);
            EXPECT_EQ(!hidden(state(g, r.first)), std::string(c.label) == "+") << k << " " << c.turns;
            EXPECT_EQ(!hidden(state(g, r.first + 1)), std::string(c.label) == "-") << k << " " << c.turns;
            EXPECT_EQ(state(g, r.first + 2).text, wide) << k << " " << c.turns;
            EXPECT_EQ(state(g, r.first + 3).text, c.minutes) << k << " " << c.turns;
            EXPECT_EQ(state(g, r.first + 4).text, c.hundredths) << k << " " << c.turns;
        }
    EXPECT_FALSE(g.overflowed);
}

// The readout is always bright; "power" lights the corner mark only.
TEST_F(PositionReadout, OnlyTheCornerMarkFollowsPower) {
    for (int32_t power : {0, 1, 2}) {
        host.registry.set("power", power);
        host.frame();
        EXPECT_EQ(bright(state(g, 22)), power == 1);
        for (size_t i = 1; i < 22; ++i) EXPECT_TRUE(bright(state(g, i))) << i;
    }
}

// ---------------------------------------------------------------------------
// Pictures

class ReadoutPictures : public HostTest {
protected:
    Gauge& position = load({"broadcaster", "flight_computer", "position_readout"});
    Gauge& computer = *host.find("flight_computer");
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    // Pixels of pure screen green (the texts' 0x00FF00) in a box of the gauge.
    int green(Gauge& g, int x0, int y0, int x1, int y1) {
        Surface s = renderer.gauge_picture(g);
        cairo_surface_flush(s.get());
        const uint8_t* data = cairo_image_surface_get_data(s.get());
        const int stride = cairo_image_surface_get_stride(s.get());
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint32_t c = *reinterpret_cast<const uint32_t*>(data + size_t(y) * stride + size_t(x) * 4);
                n += (c >> 8 & 0xFF) > 0xC0 && (c >> 16 & 0xFF) < 0x60 && (c & 0xFF) < 0x60;
            }
        return n;
    }
};

TEST_F(ReadoutPictures, ScreensShowGreenLinesOnlyWhenSwitchedOnWithTheBattery) {
    host.frame();
    host.sim.set(0x47, 5000000);
    host.frame();
    EXPECT_EQ(green(computer, 20, 0, 178, 112), 0);
    EXPECT_EQ(green(position, 0, 0, 178, 160), 0);  // the overlay hides the lines
    host.click(computer, 8, 6);
    host.click(position, 7, 5);
    host.sim.set(BATTERY_MASTER, 1);
    host.frame();
    for (int row = 0; row < 6; ++row) EXPECT_GT(green(computer, 30, 9 + 16 * row, 178, 21 + 16 * row), 20) << row;
    EXPECT_GT(green(position, 26, 21, 100, 34), 20);    // "POS LAT N"
    EXPECT_GT(green(position, 110, 21, 178, 34), 20);   // 44 59.52'
    EXPECT_EQ(green(position, 26, 38, 100, 51), 0);     // longitude 0: no label
}

// ---------------------------------------------------------------------------
// The waypoint model: a fixed waypoint, and the bearing and distance to it.

TEST(WaypointModel, BearingAndDistanceFollowThePresentPosition) {
    Sim sim;
    ASSERT_TRUE(sim.enable_model("waypoint", true));
    const double wp_lat = 45 + 20 / 60.0, wp_lon = 4.5, metres = 40007000 / 360.0;
    const struct {
        double lat, lon;  // degrees
        double bearing, distance;
    } cases[] = {
        {wp_lat + 1, wp_lon, 180, 60},
        {wp_lat - 1, wp_lon, 0, 60},
        {wp_lat, wp_lon + 1, 270.36, 42.18},  // the great circle runs north of the parallel
        {wp_lat, wp_lon - 1, 89.64, 42.18},
        {wp_lat, wp_lon, 0, 0},
    };
    for (const auto& c : cases) {
        sim.set(0x47, c.lat * metres);
        sim.set(0x48, c.lon / 360 * 0x1p48);
        sim.advance_frame();
        EXPECT_NEAR(sim.get(0x358), c.bearing, 0.01) << c.lat << " " << c.lon;
        EXPECT_NEAR(sim.get(0x35C), c.distance, 0.05) << c.lat << " " << c.lon;
        EXPECT_DOUBLE_EQ(sim.get(0x348), wp_lat * metres);
        EXPECT_DOUBLE_EQ(sim.get(0x349), wp_lon * 11930464);
    }
}

}  // namespace
}  // namespace kestrel::test
