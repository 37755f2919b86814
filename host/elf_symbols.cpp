#include "host/elf_symbols.h"

#include <string.h>

#include <algorithm>

namespace kestrel {

namespace {

// Little-endian fields at offsets checked against the file.
class Bytes {
public:
    explicit Bytes(const std::string& s) : s_(s) {}
    bool has(uint64_t offset, uint64_t size) const { return offset <= s_.size() && size <= s_.size() - offset; }
    uint64_t get(uint64_t offset, unsigned size) const {
        if (!has(offset, size)) return 0;
        uint64_t v = 0;
        for (unsigned i = 0; i < size; ++i) v |= uint64_t(uint8_t(s_[offset + i])) << (8 * i);
        return v;
    }
    // A string that ends inside [begin, end) of the file.
    std::string string(uint64_t begin, uint64_t end, uint64_t at) const {
        if (end > s_.size() || at < begin || at >= end) return "";
        const char* p = s_.data() + at;
        const void* nul = memchr(p, '\0', end - at);
        return nul ? std::string(p, static_cast<const char*>(nul)) : "";
    }

private:
    const std::string& s_;
};

constexpr uint32_t SHT_SYMTAB = 2;
constexpr unsigned STT_FUNC = 2;
constexpr size_t MOST_SYMBOLS = 1 << 20;

}  // namespace

std::vector<ElfFunction> elf_functions(const std::string& file) {
    std::vector<ElfFunction> out;
    const Bytes b(file);
    if (!b.has(0, 16) || file.compare(0, 4, "\x7f" "ELF") != 0 || file[5] != 1) return out;  // little-endian
    const bool wide = file[4] == 2;
    if (!wide && file[4] != 1) return out;
    // The header's fields: where the section headers are, how large, how many.
    const uint64_t shoff = wide ? b.get(0x28, 8) : b.get(0x20, 4);
    const uint64_t shentsize = b.get(wide ? 0x3A : 0x2E, 2);
    const uint64_t shnum = b.get(wide ? 0x3C : 0x30, 2);
    if (shentsize < (wide ? 64u : 40u) || !b.has(shoff, shentsize * shnum)) return out;
    struct Section {
        uint32_t type, link;
        uint64_t offset, size, entsize;
    };
    auto section = [&](uint64_t i) {
        const uint64_t h = shoff + i * shentsize;
        Section s;
        s.type = static_cast<uint32_t>(b.get(h + 4, 4));
        s.offset = wide ? b.get(h + 0x18, 8) : b.get(h + 0x10, 4);
        s.size = wide ? b.get(h + 0x20, 8) : b.get(h + 0x14, 4);
        s.link = static_cast<uint32_t>(b.get(wide ? h + 0x28 : h + 0x18, 4));
        s.entsize = wide ? b.get(h + 0x38, 8) : b.get(h + 0x24, 4);
        return s;
    };
    for (uint64_t i = 0; i < shnum; ++i) {
        const Section symtab = section(i);
        if (symtab.type != SHT_SYMTAB || symtab.link >= shnum) continue;
        const Section strtab = section(symtab.link);
        const uint64_t entry = wide ? 24 : 16;
        if (symtab.entsize < entry || !b.has(symtab.offset, symtab.size) || !b.has(strtab.offset, strtab.size))
            continue;
        const uint64_t count = std::min<uint64_t>(symtab.size / symtab.entsize, MOST_SYMBOLS);
        for (uint64_t k = 0; k < count; ++k) {
            const uint64_t s = symtab.offset + k * symtab.entsize;
            const uint64_t name = b.get(s, 4);
            const unsigned info = static_cast<unsigned>(b.get(wide ? s + 4 : s + 12, 1));
            const uint64_t value = wide ? b.get(s + 8, 8) : b.get(s + 4, 4);
            const uint64_t size = wide ? b.get(s + 16, 8) : b.get(s + 8, 4);
            if ((info & 0xF) != STT_FUNC || value == 0 || name >= strtab.size) continue;
            std::string text = b.string(strtab.offset, strtab.offset + strtab.size, strtab.offset + name);
            if (!text.empty()) out.push_back({value, size, std::move(text)});
        }
        break;
    }
    std::sort(out.begin(), out.end(), [](const ElfFunction& a, const ElfFunction& b) { return a.address < b.address; });
    return out;
}

std::string function_at(const std::vector<ElfFunction>& functions, uint64_t offset) {
    auto it = std::upper_bound(functions.begin(), functions.end(), offset,
                               [](uint64_t o, const ElfFunction& f) { return o < f.address; });
    while (it != functions.begin()) {
        --it;
        if (offset == it->address || offset - it->address < it->size) return it->name;
        if (it->size) break;
    }
    return "";
}

}  // namespace kestrel
