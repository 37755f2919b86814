// Reading a module's records: the loader trusts nothing it did not write. It
// follows a pointer only after checking that the record it addresses lies in
// the module's memory, bounds every walk, and checks kinds and counts, so a
// malformed module is refused with the fault named instead of crashing the
// host.
#pragma once

#include <string>
#include <vector>

#include "frame/records.h"
#include "host/platform.h"

namespace kestrel {

// Limits of what the host accepts from a module.
constexpr size_t MAX_ELEMENTS = 4096;
constexpr size_t MAX_CHILDREN = 64;
constexpr size_t MAX_FAILURES = 256;
constexpr size_t MAX_MOUSE_ENTRIES = 1024;
constexpr size_t MAX_NAME = 63;
constexpr uint32_t MAX_TABLE_ENTRIES = 256;
constexpr uint32_t MAX_ICON_FRAMES = 4096;
constexpr int32_t MAX_BOX = 8192;

struct GaugeLayout {
    LinkageRecord* linkage = nullptr;
    ImportTableRecord* imports = nullptr;
    GaugeHeader* header = nullptr;
    std::vector<ElementHeader*> elements;  // in drawing order: each element before its children
    std::vector<MouseRect*> mouse;         // the list, up to its end entry (not included)
};

// The size of an element record of the given kind, 0 for an unknown kind.
size_t element_size(uint32_t kind);
const char* kind_name(uint32_t kind);

// Checks the records that `linkage` and `imports` (the module's exported
// symbols, either may be null) lead to. Returns "" and fills `out` when the
// module is well-formed, otherwise a short description of the first fault.
std::string read_module(void* linkage, void* imports, const Memory& memory, GaugeLayout* out);

}  // namespace kestrel
