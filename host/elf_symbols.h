// The function names of a module built for Linux, from its file's own symbol
// table (.symtab), which keeps static functions too unless the file was
// stripped. The reader takes the file's bytes as they are, from anyone: every
// offset, size and count is checked against them before it is followed.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

struct ElfFunction {
    uint64_t address;  // from the module's base (the file is a shared object)
    uint64_t size;
    std::string name;
};

// The functions named in the file's symbol table, ordered by address; empty
// for a file that is not a little-endian ELF file or has no such table.
std::vector<ElfFunction> elf_functions(const std::string& file);

// The name of the function that holds `offset`, or "" when none does.
std::string function_at(const std::vector<ElfFunction>& functions, uint64_t offset);

}  // namespace kestrel
