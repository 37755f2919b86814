// Saving a file the user owns: the new bytes go to a temporary file beside
// it, which then replaces it in one rename, so that the file is at every
// moment either the old bytes or the new ones; and the old bytes are kept
// beside it as a backup first.
#pragma once

#include <string>

namespace kestrel {

// Writes `bytes` as the whole file at `path`: written and flushed to
// "PATH.kestrel-new", then renamed over `path`. On any failure the file at
// `path` is as it was, the temporary file is gone, and `error` says why.
bool replace_file(const std::string& path, const std::string& bytes, std::string* error);

// Writes `bytes` as a new file "PATH.bak", or "PATH.bak2", "PATH.bak3" ...:
// the first of these names that is not taken. The name used goes to
// *written; false with `error` set when none can be written.
bool write_backup(const std::string& path, const std::string& bytes, std::string* written, std::string* error);

}  // namespace kestrel
