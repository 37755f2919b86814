#include "host/scenario/flight_table.h"

#include <math.h>

#include <algorithm>

#include "host/files.h"
#include "host/scenario/parse.h"
#include "host/sim/catalogue.h"
#include "host/sim/sim.h"
#include "host/util.h"

namespace kestrel {

namespace {

// A cell as a message quotes it: at most 40 bytes.
std::string shown(const std::string& cell) { return cell.size() > 40 ? cell.substr(0, 40) + "..." : cell; }

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// A line's cells, split at commas; a cell in double quotes may hold commas,
// and "" inside it is one quote. False when a quote is not closed.
bool split_cells(const std::string& line, std::vector<std::string>* cells) {
    cells->clear();
    size_t i = 0;
    for (;;) {
        std::string cell;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    cell += line[i];
                }
            }
            while (i < line.size() && line[i] != ',') cell += line[i++];  // blanks after the quote
            cell = trimmed(cell);
        } else {
            const size_t comma = std::min(line.find(',', i), line.size());
            cell = trimmed(line.substr(i, comma - i));
            i = comma;
        }
        cells->push_back(std::move(cell));
        if (i >= line.size()) return true;
        ++i;  // the comma
    }
}

}  // namespace

bool flight_variable(const std::string& word, uint32_t* id, std::string* error) {
    if (parse_uint32(word, id)) return true;
    const std::string want = lower_case(word);
    std::vector<const SimVarName*> found;
    for (const SimVarName* n : sim_var_names()) {
        const std::string whole = lower_case(n->name);
        if (whole == want || whole.substr(0, whole.find(',')) == want) found.push_back(n);
    }
    if (found.size() == 1) {
        *id = found[0]->id;
        return true;
    }
    if (found.empty()) {
        *error = "not a variable id nor a name in the catalogue: '" + shown(word) + "'";
        return false;
    }
    std::string which;
    for (const SimVarName* n : found) which += (which.empty() ? "" : "; ") + hex(n->id) + " " + n->name;
    *error = "'" + shown(word) + "' names more than one variable (" + which + "): give its id";
    return false;
}

std::string flight_row(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) line += ',';
        const std::string& c = cells[i];
        if (c.find_first_of(",\"") == std::string::npos) {
            line += c;
            continue;
        }
        line += '"';
        for (char ch : c) line += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        line += '"';
    }
    return line;
}

bool parse_flight_table(const std::string& text, const std::string& name, FlightTable* out, std::string* error) {
    *out = FlightTable{};
    size_t line_number = 0;
    auto fail = [&](const std::string& why) {
        *error = format("%s:%zu: %s", name.c_str(), line_number, why.c_str());
        return false;
    };
    bool header = false;
    size_t rows = 0;
    std::vector<std::string> cells;
    for (const std::string& line : scenario_lines(text)) {
        ++line_number;
        const std::string t = trimmed(line);
        if (t.empty() || t[0] == '#') continue;
        if (!split_cells(line, &cells)) return fail("a quote that is not closed");
        if (!header) {
            header = true;
            if (lower_case(cells[0]) != "time") return fail("the first row names the columns: time, then variables");
            if (cells.size() < 2) return fail("no variable named after time");
            if (cells.size() - 1 > FLIGHT_MAX_COLUMNS) return fail("more than 1000 variables");
            for (size_t i = 1; i < cells.size(); ++i) {
                FlightTable::Column c;
                std::string why;
                if (!flight_variable(cells[i], &c.id, &why)) return fail(why);
                for (const FlightTable::Column& other : out->columns)
                    if (other.id == c.id) return fail("variable " + hex(c.id) + " named twice");
                const SimVarName* known = find_sim_var_name(c.id);
                c.bcd = known && known->bcd;
                c.heading = cells[i];
                out->columns.push_back(std::move(c));
            }
            continue;
        }
        if (cells.size() != out->columns.size() + 1)
            return fail(format("%zu cells, where the first row names %zu columns", cells.size(),
                               out->columns.size() + 1));
        if (++rows > FLIGHT_MAX_ROWS) return fail("more than 10000000 rows");
        double time;
        if (!parse_double(cells[0], &time) || !isfinite(time) || fabs(time) > FLIGHT_MAX_TIME)
            return fail("not a time in seconds: '" + shown(cells[0]) + "' (a finite number, at most 1e9 either way)");
        if (rows > 1 && time < out->last)
            return fail("time " + number(time) + " comes after " + number(out->last) +
                        ": the rows must go forward in time");
        if (rows == 1) out->first = time;
        out->last = time;
        for (size_t i = 1; i < cells.size(); ++i) {
            if (cells[i].empty()) continue;  // no sample here
            FlightTable::Column& c = out->columns[i - 1];
            double v;
            if (!parse_double(cells[i], &v) || !isfinite(v) || fabs(v) > FLIGHT_MAX_VALUE)
                return fail("not a value of " + c.heading + ": '" + shown(cells[i]) +
                            "' (a finite number, at most 1e300 either way)");
            if (c.bcd && (v < 0 || v > 0xFFFFFFFFu || v != floor(v)))
                return fail("not a BCD value of " + c.heading + ": '" + shown(cells[i]) + "' (0 to 0xFFFFFFFF)");
            c.times.push_back(time);
            c.values.push_back(v);
        }
    }
    if (!header) return fail("no rows: the first row names the columns (time, then variables)");
    if (rows == 0) return fail("no rows after the first, which names the columns");
    return true;
}

bool FlightTable::value_at(size_t c, double time, double* out) const {
    const Column& col = columns.at(c);
    const auto after = std::upper_bound(col.times.begin(), col.times.end(), time);
    if (after == col.times.begin()) return false;
    const size_t b = static_cast<size_t>(after - col.times.begin());
    if (b == col.times.size() || col.bcd) {
        *out = col.values[b - 1];
        return true;
    }
    // times[b - 1] <= time < times[b]; values within 1e300, so the
    // difference is finite and the fraction below 1.
    const double t0 = col.times[b - 1], t1 = col.times[b];
    const double v0 = col.values[b - 1], v1 = col.values[b];
    *out = v0 + (v1 - v0) * ((time - t0) / (t1 - t0));
    return true;
}

FlightReplay::FlightReplay(std::string file, FlightTable table, double from, double speed)
    : file_(std::move(file)), table_(std::move(table)), driven_(table_.columns.size(), true), time_(from),
      speed_(speed) {}

void FlightReplay::release(uint32_t id) {
    for (size_t c = 0; c < table_.columns.size(); ++c)
        if (table_.columns[c].id == id) driven_[c] = false;
}

bool FlightReplay::frame(Sim& sim) {
    for (size_t c = 0; c < table_.columns.size(); ++c) {
        double v;
        if (!driven_[c] || !table_.value_at(c, time_, &v)) continue;
        // A BCD value is a whole number from 0 to 0xFFFFFFFF (parse_flight_table).
        if (table_.columns[c].bcd) sim.set_bcd(table_.columns[c].id, static_cast<uint32_t>(v));
        else sim.set(table_.columns[c].id, v);
    }
    if (time_ >= table_.last) return true;
    time_ += speed_ / sim.frame_rate();
    return false;
}

}  // namespace kestrel
