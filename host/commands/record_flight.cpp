#include "host/commands/commands.h"

#include <math.h>

#include "host/files.h"
#include "host/scenario/flight_table.h"
#include "host/scenario/scenario.h"
#include "host/sim/catalogue.h"
#include "host/util.h"

namespace kestrel {

namespace {

struct Recording {
    Host* host = nullptr;
    FILE* file = nullptr;
    std::vector<uint32_t> ids;
    uint64_t every = 1;
    uint64_t frames = 0, rows = 0;
    double time = 0;     // the start of the coming frame, in seconds
    std::string latest;  // the last frame's row, written at the end when it was not
    bool latest_written = true;
};

// A variable's cell as the replay reads it back: a BCD variable's word in
// hex, a value that is not finite as an empty cell (no sample).
std::string cell(const Sim& sim, uint32_t id) {
    const Sim::Var* v = sim.find(id);
    if (!v) return "0";
    if (v->is_bcd) return hex(v->bcd);
    if (!isfinite(v->value) || fabs(v->value) > FLIGHT_MAX_VALUE) return "";
    const SimVarName* known = find_sim_var_name(id);
    if (known && known->bcd && !(v->value >= 0 && v->value <= 0xFFFFFFFFu && v->value == floor(v->value))) return "";
    return number(v->value);
}

void after_frame(void* context, uint64_t) {
    Recording& r = *static_cast<Recording*>(context);
    std::vector<std::string> cells{number(r.time)};
    for (uint32_t id : r.ids) cells.push_back(cell(r.host->sim, id));
    r.latest = flight_row(cells) + "\n";
    r.latest_written = r.frames % r.every == 0;
    if (r.latest_written) {
        fputs(r.latest.c_str(), r.file);
        ++r.rows;
    }
    ++r.frames;
    r.time += 1.0 / r.host->sim.frame_rate();
}

}  // namespace

int record_flight_command(const RecordFlightOptions& o, const HostOptions& host_options, FILE* out, FILE* err) {
    auto refuse = [&](const std::string& why) {
        fprintf(err, "kestrel: %s\n", why.c_str());
        return 2;
    };
    Recording r;
    r.every = o.every ? o.every : 1;
    std::vector<std::string> header{"time"};
    for (const std::string& word : o.vars) {
        uint32_t id;
        std::string why;
        if (!flight_variable(word, &id, &why)) return refuse("--vars: " + why);
        for (uint32_t other : r.ids)
            if (other == id) return refuse("--vars: variable " + hex(id) + " named twice");
        r.ids.push_back(id);
        header.push_back(hex(id));
    }
    if (r.ids.empty()) return refuse("--vars: no variable named");
    if (std::string why = text_file_problem(o.scenario, "a scenario (.kes)"); !why.empty()) return refuse(why);
    if (is_dir(o.out)) return refuse(o.out + ": a folder, not a table (.csv)");
    r.file = open_file(o.out, "wb");
    if (!r.file) return refuse("cannot write " + o.out);
    fputs((flight_row(header) + "\n").c_str(), r.file);

    Host host(host_options);
    r.host = &host;
    Scenario scenario(host, file_name(o.scenario));
    scenario.after_frame = after_frame;
    scenario.after_frame_context = &r;
    const int status = run_command(scenario, o.scenario, nullptr, err);
    if (!r.latest_written) {
        fputs(r.latest.c_str(), r.file);
        ++r.rows;
    }
    const bool written = fflush(r.file) == 0 && !ferror(r.file);
    fclose(r.file);
    if (!written) return refuse("cannot write " + o.out);
    if (status == 2) return 2;
    if (r.rows == 0) return refuse(o.scenario + ": the scenario ran no frame, so there is nothing to record");
    fprintf(out, "%s: %llu rows of %zu variables over %llu frames; %d expectations, %d failed or faults\n",
            o.out.c_str(), static_cast<unsigned long long>(r.rows), r.ids.size(),
            static_cast<unsigned long long>(r.frames), scenario.expectations(), scenario.failures());
    return status;
}

}  // namespace kestrel
