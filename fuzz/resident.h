// Gauge modules kept in memory for the whole fuzzing run.
//
// libFuzzer keeps pointers to the coverage counters of every instrumented
// library it has seen, so a gauge module must never really be unloaded while
// it runs: the fuzz target opens each module once and holds it. The host's
// own load and unload then only count references, and the module's static
// data would carry over from one session to the next. To keep every load as
// fresh as a real one, the module's data (.data and .bss, as they were right
// after it was first loaded) is put back before each load.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel::fuzz {

class ResidentModule {
public:
    // Opens the module and copies its initial data. On failure returns false
    // and says why.
    bool open(const std::string& path, std::string* error);
    // Puts the initial data back: the module is as if just loaded.
    void restore() const;

private:
    struct Section {
        uint8_t* at;
        std::vector<uint8_t> initial;
    };
    void* handle_ = nullptr;
    std::vector<Section> sections_;
};

}  // namespace kestrel::fuzz
