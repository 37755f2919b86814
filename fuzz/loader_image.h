// The input of the loader fuzz target: the memory image of a module, whose
// records the fuzzer mutates byte by byte.
//
// An image starts with an ImageHeader; the rest is the module's memory. A
// pointer in that memory is written as a tagged 64-bit word at a 4-byte
// boundary: TAG_DATA in the high half and an offset into the memory in the
// low half, or TAG_CODE and an index into the target's callback functions.
// Before the loader reads the image, every tagged word becomes the real
// address, so mutations make pointers that are null, dangling, misaligned,
// looping or outside the module, while untagged words stay plain numbers.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "frame/records.h"

namespace kestrel::fuzz {

constexpr uint32_t TAG_DATA = 0x4B455354;
constexpr uint32_t TAG_CODE = 0x434F4445;

struct ImageHeader {
    uint32_t linkage;        // offset of the Linkage record
    uint32_t imports;        // offset of the ImportTable record
    uint32_t readonly_from;  // memory from this offset on is read-only
    uint32_t flags;          // IMAGE_NO_LINKAGE, IMAGE_NO_IMPORTS
};
constexpr uint32_t IMAGE_NO_LINKAGE = 1;  // the module exports no Linkage
constexpr uint32_t IMAGE_NO_IMPORTS = 2;  // the module exports no ImportTable

// The callbacks that TAG_CODE words stand for: one of each signature.
namespace callbacks {
inline void KCALL gauge(GaugeHeader*, uint32_t, void*) {}
inline double KCALL needle(NeedleElement*) { return 0; }
inline double KCALL text(TextElement*) { return 0; }
inline double KCALL slider(SliderElement*) { return 0; }
inline double KCALL icon(IconElement*) { return 0; }
inline double KCALL moving(MovingElement*) { return 0; }
inline double KCALL sprite(SpriteElement*) { return 0; }
inline int32_t KCALL mouse(MouseArgs*, uint32_t) { return 0; }
}  // namespace callbacks

inline const void* const* callback_table(size_t* count) {
    static const void* const table[] = {
        reinterpret_cast<const void*>(callbacks::gauge),  reinterpret_cast<const void*>(callbacks::needle),
        reinterpret_cast<const void*>(callbacks::text),   reinterpret_cast<const void*>(callbacks::slider),
        reinterpret_cast<const void*>(callbacks::icon),   reinterpret_cast<const void*>(callbacks::moving),
        reinterpret_cast<const void*>(callbacks::sprite), reinterpret_cast<const void*>(callbacks::mouse),
    };
    *count = sizeof table / sizeof table[0];
    return table;
}

// Tagged words to addresses, in place.
inline void relocate(uint8_t* memory, size_t size) {
    size_t code_count;
    const void* const* code = callback_table(&code_count);
    for (size_t at = 0; at + 8 <= size;) {
        uint64_t word;
        memcpy(&word, memory + at, sizeof word);
        const uint32_t tag = static_cast<uint32_t>(word >> 32), low = static_cast<uint32_t>(word);
        uint64_t address;
        if (tag == TAG_DATA)
            address = reinterpret_cast<uintptr_t>(memory) + low;
        else if (tag == TAG_CODE)
            address = reinterpret_cast<uintptr_t>(code[low % code_count]);
        else {
            at += 4;
            continue;
        }
        memcpy(memory + at, &address, sizeof address);
        at += 8;
    }
}

// Addresses to tagged words, in place: the inverse of relocate for memory
// whose pointers address itself (up to and including its end) or the
// callbacks.
inline void tag_pointers(uint8_t* memory, size_t size) {
    size_t code_count;
    const void* const* code = callback_table(&code_count);
    const uint64_t begin = reinterpret_cast<uintptr_t>(memory);
    for (size_t at = 0; at + 8 <= size;) {
        uint64_t word;
        memcpy(&word, memory + at, sizeof word);
        uint64_t tagged = 0;
        if (word >= begin && word <= begin + size) tagged = uint64_t(TAG_DATA) << 32 | (word - begin);
        for (size_t i = 0; i < code_count && !tagged; ++i)
            if (word == reinterpret_cast<uintptr_t>(code[i])) tagged = uint64_t(TAG_CODE) << 32 | i;
        if (!tagged) {
            at += 4;
            continue;
        }
        memcpy(memory + at, &tagged, sizeof tagged);
        at += 8;
    }
}

}  // namespace kestrel::fuzz
