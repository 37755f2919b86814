// The catalogue of simulator variables: a readable name for each variable the
// panel reads, with the range of values where one is known (the live panel's
// slider runs over it) and whether it holds binary-coded decimal. The key
// effects' meanings say what a key event does to a variable; this table
// names the variable itself.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

struct SimVarName {
    uint32_t id;
    const char* name;
    double min, max;  // min == max: no known range
    bool bcd;         // binary-coded decimal, set with "set ID bcd VALUE"
};

// Null for a variable the table does not know.
const SimVarName* find_sim_var_name(uint32_t id);

// Every variable the table knows, in the order of their ids.
std::vector<const SimVarName*> sim_var_names();

// A readable name for the variable: the table's, else the meaning of the
// first key event whose meaning names the variable ("battery master on/off
// (0x16C)"), else "".
std::string sim_var_name(uint32_t id);

}  // namespace kestrel
