// Files: folders made as needed, whole files read and written.
#pragma once

#include <stddef.h>

#include <string>

#include <stdio.h>

namespace kestrel {

// fopen for a UTF-8 path, on Windows too (where fopen takes the ANSI code
// page's bytes).
FILE* open_file(const std::string& path, const char* mode);

// Makes the folder and those above it; false with `error` set when one
// cannot be made.
bool make_dirs(const std::string& path, std::string* error);
// What a path names; Missing with errno saying why when it cannot be looked at.
enum class FileKind { Missing, File, Dir, Other };
FileKind file_kind(const std::string& path);
bool exists(const std::string& path);
bool is_dir(const std::string& path);
// The path made whole, with links resolved where the system has them; ""
// when it does not exist.
std::string real_path(const std::string& path);
// Writes the bytes as the whole file; false when it cannot be written.
bool write_file(const std::string& path, const void* data, size_t size);
// Appends a whole file's bytes to *out; false if it cannot be opened.
bool read_whole_file(const std::string& path, std::string* out);
// "dir/demo.kes" -> "demo.kes"; "dir/demo.kes" -> "demo" for the stem.
std::string file_name(const std::string& path);
std::string file_stem(const std::string& path);
std::string lower_case(std::string s);

// Why a file the user named cannot be taken as `what` ("a scenario", ...),
// as "PATH: WHY"; "" when it is a readable file of text. Refused: a path
// that does not exist or is no regular file (a folder, a device), a file
// that cannot be opened, one that is empty or holds only blanks, and one
// with bytes that no text has (NUL and other control bytes). Looked at
// before opening: opening a pipe would wait for a writer.
std::string text_file_problem(const std::string& path, const char* what);
// The same for a binary file of `what` (a module): there, regular and not
// empty.
std::string binary_file_problem(const std::string& path, const char* what);

}  // namespace kestrel
