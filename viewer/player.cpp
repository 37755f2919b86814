#include "viewer/player.h"

#include <math.h>

#include <algorithm>

#include "host/util.h"

namespace kestrel {

ScenarioPlayer::ScenarioPlayer(Host& host, std::string name, const std::string& text)
    : host_(host), name_(std::move(name)), scenario_(host, name_) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t i = line.find_first_not_of(" \t");
        if (i != std::string::npos && line.compare(i, 3, "## ") == 0)
            phases_.push_back({lines_.size() + 1, line.substr(i + 3)});
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

bool ScenarioPlayer::fail(const std::string& why) {
    error_ = format("%s:%zu: %s", name_.c_str(), line_, why.c_str());
    finished_ = true;
    job_.reset();
    return false;
}

void ScenarioPlayer::frame() {
    // The scenario runner's own frame: its transcript, element changes and
    // expectations' record of key events and sounds stay as under kestrel run.
    scenario_.run_line("frames 1");
    ++frames_;
}

bool ScenarioPlayer::step() {
    while (!finished_) {
        if (job_) {
            Job& j = *job_;
            if (j.done == j.count) {
                if (j.kind != Job::Frames) host_.release(j.press);
                job_.reset();
                continue;
            }
            const uint64_t i = ++j.done;
            if (j.kind == Job::Drag)
                host_.move(j.press, drag_step(j.x0, j.x1, i, j.count), drag_step(j.y0, j.y1, i, j.count));
            else if (j.kind == Job::Hold && i > 1)
                host_.repeat(j.press);
            for (size_t k = 0; k < j.ramp_ids.size(); ++k)
                host_.sim.set(j.ramp_ids[k], i == j.count ? j.ramp_to[k]
                                                          : j.ramp_from[k] + (j.ramp_to[k] - j.ramp_from[k]) *
                                                                                 (double(i) / double(j.count)));
            frame();
            return true;
        }
        if (line_ >= lines_.size()) {
            finished_ = true;
            break;
        }
        if (!start_line(lines_[line_++])) break;
    }
    return false;
}

bool ScenarioPlayer::start_line(const std::string& text) {
    const std::vector<std::string> w = split_words(text);
    if (w.empty()) return true;
    const std::string& cmd = w[0];
    auto duration = [&](const std::string& word, uint64_t* frames) {
        // As the scenario runner reads durations: frames, or seconds at the
        // present frame rate.
        if (!word.empty() && word.back() == 's') {
            double s;
            if (!parse_double(word.substr(0, word.size() - 1), &s) || !(s >= 0) || s > 1e7) return false;
            *frames = static_cast<uint64_t>(llround(s * host_.sim.frame_rate()));
            return true;
        }
        int64_t n;
        if (!parse_int(word, &n) || n < 0 || n > 100000000) return false;
        *frames = static_cast<uint64_t>(n);
        return true;
    };
    auto point = [&](size_t at, int32_t* x, int32_t* y) {
        int64_t a, b;
        if (!parse_int(w[at], &a) || !parse_int(w[at + 1], &b) || a < INT32_MIN || a > INT32_MAX || b < INT32_MIN ||
            b > INT32_MAX)
            return false;
        *x = static_cast<int32_t>(a);
        *y = static_cast<int32_t>(b);
        return true;
    };

    if (cmd == "ramp") {
        uint32_t id;
        double v;
        if (w.size() != 3 || !parse_uint32(w[1], &id) || !parse_double(w[2], &v)) return fail("usage: ramp ID VALUE");
        std::erase_if(ramps_, [&](const Ramp& r) { return r.id == id; });
        ramps_.push_back({id, v});
        return true;
    }
    if (cmd == "frames" || cmd == "seconds") {
        uint64_t n;
        if (w.size() != 2 || !duration(cmd == "seconds" ? w[1] + "s" : w[1], &n)) return fail("not a duration: " + text);
        auto job = std::make_unique<Job>();
        job->count = n;
        for (const Ramp& r : ramps_) {
            job->ramp_ids.push_back(r.id);
            job->ramp_from.push_back(host_.sim.get(r.id));
            job->ramp_to.push_back(r.to);
        }
        ramps_.clear();
        if (n == 0)
            for (size_t k = 0; k < job->ramp_ids.size(); ++k) host_.sim.set(job->ramp_ids[k], job->ramp_to[k]);
        else
            job_ = std::move(job);
        return true;
    }
    if (cmd == "hold" || cmd == "drag") {
        const bool drag = cmd == "drag";
        auto job = std::make_unique<Job>();
        job->kind = drag ? Job::Drag : Job::Hold;
        if (w.size() != (drag ? 7u : 5u) || !point(2, &job->x0, &job->y0) || (drag && !point(4, &job->x1, &job->y1)) ||
            !duration(w.back(), &job->count))
            return fail(drag ? "usage: drag GAUGE X0 Y0 X1 Y1 FRAMES|Ns" : "usage: hold GAUGE X Y FRAMES|Ns");
        Gauge* g = host_.find(w[1]);
        if (!g) return fail("no gauge '" + w[1] + "' is loaded");
        job->press = host_.press(*g, job->x0, job->y0);
        job_ = std::move(job);
        return true;
    }
    if (cmd == "set")
        if (uint32_t id; w.size() >= 2 && parse_uint32(w[1], &id))
            std::erase_if(ramps_, [&](const Ramp& r) { return r.id == id; });
    if (!scenario_.run_line(text)) {
        // The runner numbers lines as it was given them; the file's number is ours.
        std::string why = scenario_.error();
        const size_t colon = why.find(": ");
        return fail(colon == std::string::npos ? why : why.substr(colon + 2));
    }
    return true;
}

}  // namespace kestrel
