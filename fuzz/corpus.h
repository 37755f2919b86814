// What the corpus tool's files share.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "fuzz/session.h"

namespace kestrel::fuzz {

// Runs n frames, in operations of at most 255.
void frames(Writer& w, uint64_t n);
// The session that does what the scenario file does, as far as a session
// can say it (corpus.cpp tells how); false when the file cannot be read.
bool scenario_session(const std::string& path, std::vector<uint8_t>* out);

}  // namespace kestrel::fuzz
