// kestrel info MODULE...: what each module's gauge holds, its elements and
// every mouse entry, with the name of each entry's callback, so that a
// scenario's clicks can be written from it.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace kestrel {

// Loads the modules (checked by the caller) and describes them on `out`.
// Returns 0, or 2 when the loader refused a module (the reason on stderr).
int info_command(Host& host, const std::vector<std::string>& modules, FILE* out);

// The name of a module's function at `address`: from the file's symbol
// table where the platform has one, else "+0xOFFSET" from the module's base.
std::string code_name(const Gauge& gauge, const void* address);

}  // namespace kestrel
