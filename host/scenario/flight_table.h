// Tables of flight data: simulator variables sampled over time, as the
// scenario line "replay FILE.csv" plays them and `kestrel record-flight`
// writes them (docs/scenarios.md, Replaying flight data).
//
//   time,0x3D,altitude,0x16C
//   0,120,1500,1
//   0.5,124,,1          an empty cell: no sample of that variable here
//   1,130,1540,1
//
// The first row names the columns: "time", then each variable by its id
// (0x3D or 61) or by its name in the catalogue (host/sim/catalogue.h), whole
// or up to its first comma ("indicated airspeed"). A cell may be quoted
// ("indicated airspeed, knots"). Every row after it is one moment, its time
// in seconds. Blank lines and lines that start with '#' are passed over.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

class Sim;

// Limits, said in the messages.
constexpr double FLIGHT_MAX_TIME = 1e9;     // seconds, either way
constexpr double FLIGHT_MAX_VALUE = 1e300;  // a value's size, so that differences stay finite
constexpr size_t FLIGHT_MAX_COLUMNS = 1000;
constexpr size_t FLIGHT_MAX_ROWS = 10000000;

struct FlightTable {
    struct Column {
        uint32_t id = 0;
        std::string heading;  // as written
        bool bcd = false;     // binary-coded decimal: set with set_bcd, held from sample to sample
        // The column's samples in time order; rows with an empty cell have none.
        std::vector<double> times, values;
    };
    std::vector<Column> columns;
    double first = 0, last = 0;  // the times of the first and the last row

    // The value of column `c` at `time`: between two samples the straight
    // line through them (a BCD column holds the earlier sample); before the
    // first sample false (the variable is left alone), after the last one
    // the last value. Two samples at the same time make a step: from that
    // time on, the later one.
    bool value_at(size_t c, double time, double* out) const;
};

// Reads a table; `name` names the file in messages, which say
// "NAME:LINE: what is wrong". Rows must not go back in time. A value must be
// a finite number no larger than 1e300 either way; a BCD variable's a whole
// number from 0 to 0xFFFFFFFF.
bool parse_flight_table(const std::string& text, const std::string& name, FlightTable* out, std::string* error);

// A variable named as a table's header or `record-flight --vars` names it:
// an id, or a catalogue name whole or up to its first comma (any case).
// False with a message when it is no id and no single name.
bool flight_variable(const std::string& word, uint32_t* id, std::string* error);

// A table played over the frames ("replay FILE [from T] [speed X]"): each
// frame sees the values at the replay's clock, which starts at `from` and
// moves on `speed` seconds of the table for each second of frames.
class FlightReplay {
public:
    FlightReplay(std::string file, FlightTable table, double from, double speed);

    // Sets the variables for the frame about to run, and moves the clock on
    // by one frame at the simulator's frame rate. True when this frame is
    // the one that reached the table's last row: the replay is over.
    bool frame(Sim& sim);
    // The variable is set by other means from now on.
    void release(uint32_t id);
    const std::string& file() const { return file_; }
    double time() const { return time_; }

private:
    std::string file_;
    FlightTable table_;
    std::vector<bool> driven_;
    double time_, speed_;
};

// A table's line of cells, each quoted when it must be.
std::string flight_row(const std::vector<std::string>& cells);

}  // namespace kestrel
