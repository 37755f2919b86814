// The corpus tool's sessions from scenario files (see corpus.cpp): each
// line read by the scenario engine, said as the session's operations.
#include <stdio.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fuzz/corpus.h"
#include "host/files.h"
#include "host/scenario/parse.h"
#include "host/util.h"

namespace kestrel::fuzz {

void frames(Writer& w, uint64_t n) {
    while (n > 0) {
        const uint64_t step = std::min<uint64_t>(n, 255);
        w.op(OP_FRAMES);
        w.u8(static_cast<uint8_t>(step));
        n -= step;
    }
}

namespace {

// A session runs a limited number of frames, so a longer stretch of a
// scenario becomes a frame, the tick counter moved on over the rest, and one
// more frame: what counts time by ticks (a start that completes, a
// chronometer) sees the same time pass.
void passing_time(Writer& w, uint64_t n, uint32_t fps) {
    if (n <= 2) {
        frames(w, n);
        return;
    }
    frames(w, 1);
    w.op(OP_TICKS);
    w.u8(TICKS_JUMP_FORWARD);
    w.u32(static_cast<uint32_t>(std::min<uint64_t>((n - 2) * 18 / fps, UINT32_MAX)));
    frames(w, 1);
}

// Hold and drag durations are at most MAX_HOLD_FRAMES in a session.
uint8_t hold_frames(uint64_t n) { return static_cast<uint8_t>(std::min<uint64_t>(n, MAX_HOLD_FRAMES)); }

// Ramps take the variables from their values (as far as the scenario set
// them) to their targets over the next frames, in at most this many steps.
constexpr uint64_t RAMP_STEPS = 3;

struct Ramp {
    uint32_t id;
    double to;
};

void set_double(Writer& w, uint32_t id, double v) {
    w.op(OP_SET_ID);
    w.u32(id);
    w.double_value(v);
}

}  // namespace

bool scenario_session(const std::string& path, std::vector<uint8_t>* out) {
    std::string text;
    if (!read_whole_file(path, &text)) {
        fprintf(stderr, "kestrel_fuzz_corpus: cannot read %s\n", path.c_str());
        return false;
    }
    Writer session;
    uint32_t fps = 18;
    std::map<uint32_t, double> values;  // as the scenario set them
    std::vector<Ramp> ramps;
    auto run_frames = [&](Writer& w, uint64_t n) {
        if (ramps.empty() || n == 0) {
            passing_time(w, n, fps);
            return;
        }
        const uint64_t steps = std::min(n, RAMP_STEPS);
        for (uint64_t k = 1; k <= steps; ++k) {
            for (const Ramp& r : ramps) {
                const double from = values[r.id];
                set_double(w, r.id, from + (r.to - from) * static_cast<double>(k) / static_cast<double>(steps));
            }
            passing_time(w, n * k / steps - n * (k - 1) / steps, fps);
        }
        for (const Ramp& r : ramps) values[r.id] = r.to;
        ramps.clear();
    };
    int line_number = 0;
    for (const std::string& line : scenario_lines(text)) {
        ++line_number;
        Command c;
        std::string why;
        if (!parse_command(line, &c, &why)) {
            fprintf(stderr, "kestrel_fuzz_corpus: %s:%d: left out (%s)\n", path.c_str(), line_number, why.c_str());
            continue;
        }
        Writer w;  // this line's operations, kept if the session can say them
        bool ok = true;
        switch (c.kind) {
        case Command::Load:
            for (size_t i = 0; i < c.names.size(); i += 4) {
                const size_t count = std::min<size_t>(4, c.names.size() - i);
                w.op(OP_LOAD);
                w.u8(static_cast<uint8_t>(count - 1));
                w.u8(STEPS_ALL);
                for (size_t k = 0; k < count; ++k) w.gauge(c.names[i + k]);
            }
            break;
        case Command::Unload:
            w.op(OP_UNLOAD);
            w.gauge(c.name());
            break;
        case Command::SetBcd:
            w.op(OP_SET_ID);
            w.u32(c.id);
            w.u8(VALUE_BCD);
            w.u32(c.bcd);
            break;
        case Command::Set:
            set_double(w, c.id, c.value);
            values[c.id] = c.value;
            std::erase_if(ramps, [&](const Ramp& r) { return r.id == c.id; });
            break;
        case Command::Ramp:
            std::erase_if(ramps, [&](const Ramp& r) { return r.id == c.id; });
            ramps.push_back({c.id, c.value});
            break;
        case Command::Shared: {
            const auto name = std::find(std::begin(SHARED_NAMES), std::end(SHARED_NAMES), c.name());
            ok = name != std::end(SHARED_NAMES);
            w.op(OP_SHARED);
            w.u8(static_cast<uint8_t>(name - std::begin(SHARED_NAMES)));
            w.u8(SHARED_RAW);
            w.i32(c.shared);
            break;
        }
        case Command::Frames: run_frames(w, c.duration.frames(fps)); break;
        case Command::Fps:
            ok = c.fps <= 255;  // a session's frame rate is a byte
            if (ok) fps = c.fps;
            w.op(OP_FPS);
            w.u8(static_cast<uint8_t>(fps));
            break;
        case Command::Click:
            w.op(OP_CLICK);
            w.gauge(c.name());
            w.raw_point(c.x0, c.y0);
            break;
        case Command::Hold:
        case Command::Drag:
            w.op(c.kind == Command::Hold ? OP_HOLD : OP_DRAG);
            w.gauge(c.name());
            w.raw_point(c.x0, c.y0);
            if (c.kind == Command::Drag) w.raw_point(c.x1, c.y1);
            w.u8(hold_frames(c.duration.frames(fps)));
            break;
        case Command::Service:
            w.op(OP_SERVICE);
            w.gauge(c.name());
            w.u32(c.id);
            break;
        case Command::SoundLibrary:
            w.op(OP_SOUND_LIBRARY);
            w.u8(c.on);
            break;
        case Command::Model:
            w.op(OP_MODEL);
            if (c.name() == "all") {
                w.u8(c.on ? MODEL_ALL_ON : MODEL_ALL_OFF);
                w.u16(0);
            } else {
                w.u8(c.on ? MODEL_ON : MODEL_OFF);
                w.gauge(c.name());  // a model's name hashes as a gauge's does
            }
            break;
        case Command::Replay:  // a table of values over time
        case Command::Press:   // a button held across commands
        case Command::Move:
        case Command::Release: ok = false; break;
        case Command::None:
        case Command::Expect:
        case Command::Show:
        case Command::LibraryCalls: break;
        }
        if (ok)
            session.append(w);
        else
            fprintf(stderr, "kestrel_fuzz_corpus: %s:%d: left out\n", path.c_str(), line_number);
    }
    *out = session.bytes();
    return true;
}

}  // namespace kestrel::fuzz
