// fuzz_scenario: the scenario engine's readers over any text. Every line is
// read into a command or refused with a message; a command's duration is
// turned into frames at the slowest and the fastest frame rate. The same
// text is read as a table of flight data ("replay FILE"): refused with a
// message that names its line, or read into columns whose values, at their
// samples and anywhere between and beyond, are finite.
#include <math.h>
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "host/scenario/flight_table.h"
#include "host/scenario/parse.h"

using namespace kestrel;

namespace {

void flight_table(const std::string& text) {
    FlightTable table;
    std::string error;
    if (!parse_flight_table(text, "fuzz.csv", &table, &error)) {
        if (error.compare(0, 9, "fuzz.csv:") != 0 || error.find('\n') != std::string::npos) __builtin_trap();
        return;
    }
    if (table.columns.empty() || table.first > table.last) __builtin_trap();
    const double span = table.last - table.first;
    const double times[] = {table.first - 1, table.first, table.first + span / 3, table.last, table.last + 1};
    for (size_t c = 0; c < table.columns.size(); ++c) {
        const FlightTable::Column& col = table.columns[c];
        if (col.times.size() != col.values.size()) __builtin_trap();
        for (double t : times) {
            double v;
            if (table.value_at(c, t, &v) && !isfinite(v)) __builtin_trap();
        }
        for (size_t i = 0; i + 1 < col.times.size(); ++i) {
            double v;
            const double between = col.times[i] + (col.times[i + 1] - col.times[i]) / 2;
            if (!table.value_at(c, between, &v) || !isfinite(v)) __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : scenario_lines(text)) {
        Command c;
        std::string error;
        if (!parse_command(line, &c, &error)) {
            if (error.empty()) __builtin_trap();  // a refusal always says why
            continue;
        }
        if (c.runs_frames() && c.duration.frames(1) > c.duration.frames(static_cast<uint32_t>(MAX_FPS)))
            __builtin_trap();
    }
    flight_table(text);
    return 0;
}
