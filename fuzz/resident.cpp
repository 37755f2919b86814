#include "fuzz/resident.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <stdio.h>
#include <string.h>

namespace kestrel::fuzz {

namespace {

// The module's data holds AddressSanitizer's red zones between its variables:
// copy it byte by byte, unchecked (volatile keeps the loop from becoming a
// checked memcpy), and without coverage, which would only slow it down.
__attribute__((no_sanitize("address", "coverage"))) void copy_unchecked(uint8_t* to, const uint8_t* from,
                                                            size_t size) {
    volatile uint8_t* t = to;
    const volatile uint8_t* f = from;
    for (size_t i = 0; i < size; ++i) t[i] = f[i];
}

bool read_file(const std::string& path, std::vector<uint8_t>* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) out->insert(out->end(), buffer, buffer + n);
    fclose(f);
    return true;
}

}  // namespace

bool ResidentModule::open(const std::string& path, std::string* error) {
    std::vector<uint8_t> file;
    if (!read_file(path, &file)) {
        *error = "cannot read " + path;
        return false;
    }
    // The section headers say where .data and .bss lie.
    Elf64_Ehdr eh;
    if (file.size() < sizeof eh || memcmp(file.data(), ELFMAG, SELFMAG) != 0 ||
        file[EI_CLASS] != ELFCLASS64) {
        *error = path + " is not a 64-bit ELF file";
        return false;
    }
    memcpy(&eh, file.data(), sizeof eh);
    const uint64_t table_end = eh.e_shoff + uint64_t(eh.e_shnum) * sizeof(Elf64_Shdr);
    if (eh.e_shentsize != sizeof(Elf64_Shdr) || eh.e_shstrndx >= eh.e_shnum || table_end > file.size()) {
        *error = path + " has no readable section headers";
        return false;
    }
    std::vector<Elf64_Shdr> sections(eh.e_shnum);
    memcpy(sections.data(), file.data() + eh.e_shoff, sections.size() * sizeof(Elf64_Shdr));
    const Elf64_Shdr& names = sections[eh.e_shstrndx];

    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    struct link_map* map = nullptr;
    if (!handle_ || dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map) {
        const char* why = dlerror();
        *error = path + " cannot be loaded: " + (why ? why : "unknown error");
        return false;
    }
    for (const Elf64_Shdr& s : sections) {
        if (s.sh_name >= names.sh_size || names.sh_offset + s.sh_name >= file.size()) continue;
        const char* name = reinterpret_cast<const char*>(file.data() + names.sh_offset + s.sh_name);
        const size_t room = file.size() - (names.sh_offset + s.sh_name);
        if (!memchr(name, '\0', room)) continue;
        if ((strcmp(name, ".data") != 0 && strcmp(name, ".bss") != 0) ||
            (s.sh_flags & (SHF_ALLOC | SHF_WRITE)) != (SHF_ALLOC | SHF_WRITE) || s.sh_size == 0)
            continue;
        Section section;
        section.at = reinterpret_cast<uint8_t*>(map->l_addr + s.sh_addr);
        section.initial.resize(s.sh_size);
        copy_unchecked(section.initial.data(), section.at, s.sh_size);
        sections_.push_back(std::move(section));
    }
    return true;
}

void ResidentModule::restore() const {
    for (const Section& s : sections_) copy_unchecked(s.at, s.initial.data(), s.initial.size());
}

}  // namespace kestrel::fuzz
