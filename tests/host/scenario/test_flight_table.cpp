// Tables of flight data: read with their faults named by line, values
// between samples on the straight line, and "replay" driving a scenario's
// frames from them.
#include <math.h>

#include "host/files.h"
#include "host/scenario/flight_table.h"
#include "host/util.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

FlightTable table(const std::string& text) {
    FlightTable t;
    std::string error;
    EXPECT_TRUE(parse_flight_table(text, "t.csv", &t, &error)) << error;
    return t;
}

// "-" for no value (before a column's first sample).
std::string at(const FlightTable& t, size_t c, double time) {
    double v;
    return t.value_at(c, time, &v) ? number(v) : "-";
}

TEST(FlightTable, ValuesAtSamplesBetweenThemAcrossGapsAndAfterTheEnd) {
    // 0x3D: 100 at 0, 200 at 1. 0x4A: 0 at 0, no sample at 1, 1000 at 2.
    // "battery master" from 0.5. A step at 3: two rows at the same time.
    const FlightTable t = table(
        "\xEF\xBB\xBF# flown once\r\n"
        "time, 0x3D ,0x4A,\"battery master\"\r\n"
        "0,100,0,\n"
        "\n"
        "0.5,150,,1\n"
        "1,200,,0\n"
        "2,200,1000,\n"
        "3,200,,\n"
        "3,-50,,\n");
    ASSERT_EQ(t.columns.size(), 3u);
    EXPECT_EQ(t.columns[2].id, 0x16Cu);
    const struct {
        double time;
        const char *airspeed, *altitude, *battery;
    } cases[] = {
        {-1, "-", "-", "-"},        {0, "100", "0", "-"},       {0.25, "125", "125", "-"},
        {0.5, "150", "250", "1"},   {0.75, "175", "375", "0.5"}, {1, "200", "500", "0"},
        {2.5, "200", "1000", "0"},  {2.999, "200", "1000", "0"}, {3, "-50", "1000", "0"},
        {1e9, "-50", "1000", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(at(t, 0, c.time), c.airspeed) << c.time;
        EXPECT_EQ(at(t, 1, c.time), c.altitude) << c.time;
        EXPECT_EQ(at(t, 2, c.time), c.battery) << c.time;
    }
    EXPECT_EQ(t.first, 0);
    EXPECT_EQ(t.last, 3);
}

TEST(FlightTable, HugeValuesStayFiniteAndBcdIsHeldNotBlended) {
    const FlightTable t = table("time,0x4A,0x17,\"indicated airspeed, knots\"\n0,-1e300,0x1234,1\n1,1e300,0x9999,2\n");
    EXPECT_EQ(at(t, 0, 0.5), "0");
    double v = 0;
    ASSERT_TRUE(t.value_at(0, 0.75, &v));
    EXPECT_DOUBLE_EQ(v, 5e299);
    EXPECT_TRUE(t.columns[1].bcd);
    EXPECT_EQ(at(t, 1, 0.99), number(0x1234));
    EXPECT_EQ(at(t, 1, 1), number(0x9999));
    EXPECT_EQ(t.columns[2].id, 0x3Du);
}

TEST(FlightTable, FaultsAreNamedWithTheFileAndLine) {
    const struct {
        const char* text;
        const char* words;
    } cases[] = {
        {"", "t.csv:0: no rows"},
        {"time,0x3D\n", "t.csv:1: no rows after the first"},
        {"speed,0x3D\n0,1\n", "t.csv:1: the first row names the columns"},
        {"time\n0\n", "t.csv:1: no variable named after time"},
        {"time,airspeed?\n", "not a variable id nor a name in the catalogue: 'airspeed?'"},
        {"time,altitude\n", "'altitude' names more than one variable (0x4A altitude, feet; 0x33D altitude, metres): give its id"},
        {"time,0x3D,61\n", "variable 0x3D named twice"},
        {"time,\"0x3D\n", "t.csv:1: a quote that is not closed"},
        {"time,0x3D\n0,1\n\n# later\n1,2,3\n", "t.csv:5: 3 cells, where the first row names 2 columns"},
        {"time,0x3D\n1,5\n0.5,6\n", "t.csv:3: time 0.5 comes after 1: the rows must go forward in time"},
        {"time,0x3D\nnan,1\n", "t.csv:2: not a time in seconds: 'nan'"},
        {"time,0x3D\n2e9,1\n", "t.csv:2: not a time in seconds: '2e9'"},
        {"time,0x3D\n0,inf\n", "t.csv:2: not a value of 0x3D: 'inf'"},
        {"time,0x3D\n0,-nan\n", "not a value of 0x3D: '-nan'"},
        {"time,0x3D\n0,1e301\n", "not a value of 0x3D: '1e301' (a finite number, at most 1e300 either way)"},
        {"time,0x3D\n0,fast\n", "not a value of 0x3D: 'fast'"},
        {"time,0x17\n0,1.5\n", "t.csv:2: not a BCD value of 0x17: '1.5'"},
        {"time,0x17\n0,-1\n", "not a BCD value"},
    };
    for (const auto& c : cases) {
        FlightTable t;
        std::string error;
        EXPECT_FALSE(parse_flight_table(c.text, "t.csv", &t, &error)) << c.text;
        EXPECT_NE(error.find(c.words), std::string::npos) << c.text << "\n" << error;
    }
}

class Replay : public HostTest {
protected:
    std::string folder = ::testing::TempDir() + "kestrel-replay-" + std::to_string(getpid());
    Scenario scenario{host, "replay.kes"};
    std::vector<std::string> seen;  // 0x3D and 0x16C as each frame saw them

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(make_dirs(folder, &error)) << error;
        write("flight.csv", "time,indicated airspeed,0x16C\n0,100,\n0.5,150,1\n");  // 0x16C from 0.5
        scenario.folder = folder;
        scenario.after_frame_context = this;
        scenario.after_frame = [](void* self, uint64_t) {
            auto* r = static_cast<Replay*>(self);
            r->seen.push_back(number(r->host.sim.get(0x3D)) + " " + number(r->host.sim.get(0x16C)));
        };
    }
    void write(const std::string& name, const std::string& text) {
        ASSERT_TRUE(write_file(folder + "/" + name, text.data(), text.size()));
    }
    std::vector<std::string> run(const std::string& text) {
        seen.clear();
        EXPECT_TRUE(scenario.run_text(text)) << scenario.error();
        return seen;
    }
};

TEST_F(Replay, DrivesTheFramesBesideTheCommandsAndEnds) {
    // 10 frames a second: the clock moves 0.1s a frame and reaches 0.5 at the sixth.
    const auto frames = run("fps 10\nreplay flight.csv\nframes 3\nset 0x3D 7\nframes 4\n");
    EXPECT_EQ(frames, (std::vector<std::string>{"100 0", "110 0", "120 0", "7 0", "7 0", "7 1", "7 1"}));
    EXPECT_NE(scenario.transcript().find("replay flight.csv ended at 0.5s"), std::string::npos) << scenario.transcript();

    EXPECT_EQ(run("replay flight.csv from 0.25 speed 2\nframes 3\n"),
              (std::vector<std::string>{"125 1", "145 1", "150 1"}));
    EXPECT_EQ(run("set 0x3D 1\nreplay flight.csv\nframes 1\nreplay stop\nframes 1\n"),
              (std::vector<std::string>{"100 1", "100 1"}));
}

TEST_F(Replay, RefusesBadLinesAndTablesNamingTheirLine) {
    write("bad.csv", "time,0x3D\n0,1\n1,x\n");
    const struct {
        const char* line;
        const char* words;
    } cases[] = {
        {"replay", "usage: replay FILE.csv"},
        {"replay flight.csv from", "usage: replay FILE.csv"},
        {"replay flight.csv speed 0", "not a speed: 0"},
        {"replay flight.csv speed nan", "not a speed: nan"},
        {"replay flight.csv from inf", "not a time in seconds: inf"},
        {"replay flight.csv from 1 from 2", "usage"},
        {"replay none.csv", "none.csv: no such file"},
        {"replay bad.csv", "replay.kes:1: bad.csv:3: not a value of 0x3D: 'x'"},
    };
    for (const auto& c : cases) {
        Scenario s(host, "replay.kes");
        s.folder = folder;
        EXPECT_FALSE(s.run_line(c.line)) << c.line;
        EXPECT_NE(s.error().find(c.words), std::string::npos) << c.line << "\n" << s.error();
    }
}

// A flight recorded, replayed in another scenario and recorded again gives
// the same table: the replay sets every frame's values as they were.
TEST_F(Replay, RecordFlightThenReplayGivesTheSameTable) {
    write("flown.kes",
          "fps 10\nset 0x3D 100\nramp 0x3D 180\nramp 0x4A 1200\nset 0x17 bcd 0x1234\nframes 4\n"
          "fps 18\nset 0x17 bcd 0x2000\nramp 0x3D 90.5\nframes 5\n");
    write("replayed.kes", "fps 10\nreplay flown.csv\nframes 4\nfps 18\nframes 5\nexpect var 0x3D 90.5\n");
    const std::string vars = " --vars 'indicated airspeed,0x4A,0x17'";
    Ran first = kestrel("record-flight " + shell_word(folder + "/flown.kes") + " --out " +
                        shell_word(folder + "/flown.csv") + vars);
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("9 rows of 3 variables over 9 frames; 0 expectations"), std::string::npos)
        << first.output;
    Ran second = kestrel("record-flight " + shell_word(folder + "/replayed.kes") + " --out " +
                         shell_word(folder + "/replayed.csv") + vars);
    EXPECT_EQ(second.status, 0) << second.output;
    std::string flown, replayed;
    read_whole_file(folder + "/flown.csv", &flown);
    read_whole_file(folder + "/replayed.csv", &replayed);
    const std::string start = "time,0x3D,0x4A,0x17\n0,120,300,0x1234\n0.1,140,600,0x1234\n0.2,160,900,";
    EXPECT_EQ(flown.compare(0, start.size(), start), 0) << flown;
    EXPECT_EQ(replayed, flown);
}

TEST_F(Replay, RecordFlightSaysWhatItCannotDo) {
    write("fails.kes", "set 0x3D 5\nframes 3\nexpect var 0x3D 6\n");
    write("still.kes", "set 0x3D 5\n");
    const std::string fails = shell_word(folder + "/fails.kes"), out = " --out " + shell_word(folder + "/out.csv");
    const struct {
        std::string args;
        int status;
        const char* words;
    } cases[] = {
        {fails + out + " --vars 0x3D", 1, "3 rows of 1 variables over 3 frames; 1 expectations, 1 failed"},
        {fails + out + " --vars 0x3D --every 2", 1, "2 rows of 1 variables over 3 frames"},
        {fails + out, 2, "--vars is required"},
        {fails + out + " --vars altitude", 2, "kestrel: --vars: 'altitude' names more than one variable"},
        {fails + out + " --vars 0x3D,61", 2, "variable 0x3D named twice"},
        {fails + " --out " + shell_word(folder) + " --vars 0x3D", 2, "a folder, not a table"},
        {shell_word(folder + "/none.kes") + out + " --vars 0x3D", 2, "none.kes: no such file"},
        {shell_word(folder + "/still.kes") + out + " --vars 0x3D", 2, "the scenario ran no frame"},
    };
    for (const auto& c : cases) {
        const Ran r = kestrel("record-flight " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.words), std::string::npos) << c.args << "\n" << r.output;
    }
}

}  // namespace
}  // namespace kestrel::test
