// The flight computer and the position readout: the chronometer at any frame
// rate and tick count, the angle conversions over every value a simulator can
// hold, what the host draws, and the stand-in's waypoint model.
#include <math.h>

#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class FlightComputer : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "flight_computer"});
    void SetUp() override { host.frame(); }
    // "HH:MM:SS" as the three readouts show it.
    std::string chrono() {
        return state(g, 1).text.substr(8) + ":" + state(g, 2).text.substr(2) + ":" + state(g, 3).text.substr(2);
    }
    void restart_at(double tick) {
        host.sim.set(0x1, tick - 1);
        host.frame();
        host.click(g, 8, 25);
    }
};

// However the simulator moves its tick counter, every period that has passed
// is counted at once, keeping the schedule's phase; the counters wrap.
TEST_F(FlightComputer, ChronometerCountsEveryPeriodThatHasPassed) {
    const struct {
        uint32_t fps;
        uint64_t frames;
        double jump_to;  // then a jump of the counter, 0 for none
        const char* shown;
    } cases[] = {
        {18, 18 * 61, 0, "00:01:01"},  {5, 5 * 61, 0, "00:01:01"},   {7, 7 * 61, 0, "00:01:01"},
        {13, 13 * 59, 0, "00:00:59"},  {1, 3601, 0, "01:00:01"},     {18, 0, 100 + 18 * 3661, "01:01:01"},
        {18, 0, 100 + 18 * 3661 + 17, "01:01:01"}, {18, 0, 100 + 18 * 90061, "01:01:01"},  // a day and more
        {18, 0, 99, "00:00:00"},
        // Counts no simulator should deliver count nothing.
        {18, 0, NAN, "00:00:00"},  {18, 0, INFINITY, "00:00:00"}, {18, 0, -INFINITY, "00:00:00"},
    };
    for (const auto& c : cases) {
        restart_at(100);
        host.sim.set_frame_rate(c.fps);
        host.frames(c.frames);
        host.sim.set_frame_rate(18);
        if (c.jump_to != 0) {
            host.sim.set(0x1, c.jump_to - 1);
            host.frame();
        }
        EXPECT_EQ(chrono(), c.shown) << c.fps << " " << c.jump_to;
    }
}

class PositionReadout : public HostTest {
protected:
    Gauge& g = load({"broadcaster", "position_readout"});
    void SetUp() override { host.frame(); }
};

// Each row's labels and its degrees, minutes and hundredths, for plain values,
// edges, and values beyond what 32 bits hold (the most negative total's
// magnitude reads as the largest).
TEST_F(PositionReadout, AnglesShowTheirMagnitudeWithTheHemisphereInTheLabel) {
    const uint32_t ids[] = {0x47, 0x48, 0x348, 0x349};
    const double quarter_turn[] = {40007000 / 4.0, 0x1p46, 40007000 / 4.0, 90 * 11930464.0};
    // The labels shown (+ for N or E, - for S or W), degrees, minutes and
    // hundredths; the waypoint's degrees have at least two digits.
    const struct {
        double quarter_turns;
        const char *present, *waypoint;
    } cases[] = {
        {1, "+ 90 00.00'", "+ 90 00.00'"},          {-1, "- 90 00.00'", "- 90 00.00'"},
        {99.9 / 540000, "+ 0 00.99'", "+ 00 00.99'"}, {0, " 0 00.00'", " 00 00.00'"},
        {NAN, " 0 00.00'", " 00 00.00'"},             {1e300, "+ 357913 56.47'", "+ 357913 56.47'"},
        {-1e300, "- 357913 56.47'", "- 357913 56.47'"}, {-INFINITY, "- 357913 56.47'", "- 357913 56.47'"},
    };
    for (size_t k = 0; k < 4; ++k)
        for (const auto& c : cases) {
            host.sim.set(ids[k], c.quarter_turns * quarter_turn[k]);
            host.frame();
            const size_t i = 1 + 5 * k;  // the positive label, the negative, degrees, minutes, hundredths
            const std::string row = std::string(hidden(state(g, i)) ? "" : "+") + (hidden(state(g, i + 1)) ? "" : "-") +
                                    " " + state(g, i + 2).text + " " + state(g, i + 3).text + state(g, i + 4).text;
            EXPECT_EQ(row, k < 2 ? c.present : c.waypoint) << k << " " << c.quarter_turns;
        }
}

// What the host draws: green lines only while each screen is on.
class ReadoutPictures : public HostTest {
protected:
    Gauge& position = load({"broadcaster", "flight_computer", "position_readout"});
    Gauge& computer = *host.find("flight_computer");
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    // Pixels of the texts' pure green in a box of the gauge.
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
    EXPECT_EQ(green(computer, 0, 0, 178, 160), 0);
    EXPECT_EQ(green(position, 0, 0, 178, 160), 0);  // the overlay hides the lines
    host.click(computer, 8, 6);
    host.click(position, 7, 5);
    host.sim.set(0x16C, 1);
    host.frame();
    for (int row = 0; row < 6; ++row) EXPECT_GT(green(computer, 30, 9 + 16 * row, 178, 21 + 16 * row), 20) << row;
    EXPECT_GT(green(position, 26, 21, 100, 34), 20);   // "POS LAT N"
    EXPECT_GT(green(position, 110, 21, 178, 34), 20);  // 44 59.52'
    EXPECT_EQ(green(position, 26, 38, 100, 51), 0);    // longitude 0: no label
}

TEST(WaypointModel, BearingAndDistanceFollowThePresentPosition) {
    Sim sim;
    ASSERT_TRUE(sim.enable_model("waypoint", true));
    const double wp_lat = 45 + 20 / 60.0, wp_lon = 4.5, metres = 40007000 / 360.0;
    const struct {
        double lat, lon;  // degrees
        double bearing, distance;
    } cases[] = {
        {wp_lat + 1, wp_lon, 180, 60}, {wp_lat - 1, wp_lon, 0, 60}, {wp_lat, wp_lon, 0, 0},
        {wp_lat, wp_lon + 1, 270.36, 42.18},  // the great circle runs north of the parallel
        {wp_lat, wp_lon - 1, 89.64, 42.18},
    };
    for (const auto& c : cases) {
        sim.set(0x47, c.lat * metres);
        sim.set(0x48, c.lon / 360 * 0x1p48);
        sim.advance_frame();
        EXPECT_NEAR(sim.get(0x358), c.bearing, 0.01) << c.lat << " " << c.lon;
        EXPECT_NEAR(sim.get(0x35C), c.distance, 0.05) << c.lat << " " << c.lon;
    }
    EXPECT_DOUBLE_EQ(sim.get(0x348), wp_lat * metres);
    EXPECT_DOUBLE_EQ(sim.get(0x349), wp_lon * 11930464);
}

}  // namespace
}  // namespace kestrel::test
