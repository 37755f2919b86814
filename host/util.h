// Small text helpers of the host, written so that every build prints the
// same bytes for the same values.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace kestrel {

// The shortest decimal that reads back as the same double; "nan", "inf" and
// "-inf" for the special values, "-0" for negative zero.
std::string number(double v);

// "0x148"
std::string hex(uint32_t v);

// printf into a std::string. (MinGW's standard printf is checked as gnu_printf;
// plain printf there means the system runtime's older one.)
#if defined(__MINGW32__)
std::string format(const char* fmt, ...) __attribute__((format(gnu_printf, 1, 2)));
#else
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
#endif

// A module's text for a transcript: quoted, with backslash escapes, and every
// run of four or more blanks written as {N blanks}.
std::string quote_text(const char* text);

// Splits a line into blank-separated words; '#' starts a comment.
std::vector<std::string> split_words(const std::string& line);

// Parses a number: decimal, 0x-hex, or a floating-point value ("nan", "inf",
// "-1e300"). Returns false if the word is not a number.
bool parse_double(const std::string& word, double* out);
bool parse_uint32(const std::string& word, uint32_t* out);
bool parse_int(const std::string& word, int64_t* out);


}  // namespace kestrel
