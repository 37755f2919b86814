// fuzz_scenario: the scenario engine's reader over any text. Every line is
// read into a command or refused with a message; a command's duration is
// turned into frames at the slowest and the fastest frame rate.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "host/scenario/parse.h"

using namespace kestrel;

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
    return 0;
}
