// UTF-8 and UTF-16, for the system calls that take wide strings (Windows)
// and for text that must be valid UTF-8 (the live panel's JSON).
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The text with every valid UTF-8 sequence as it is and every other byte
// read as the Latin-1 character it would be (module texts may be written in
// a Windows code page, where 0xB0 is the degree sign).
std::string valid_utf8(std::string_view text);

// UTF-8 to UTF-16: a byte that starts no valid sequence becomes U+FFFD.
std::u16string utf16(std::string_view utf8);
// UTF-16 to UTF-8: a surrogate without its pair becomes U+FFFD.
std::string utf8(std::u16string_view utf16);

#if defined(_WIN32)
// The same for the wide system calls (wchar_t is UTF-16 there).
std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view wide);
#endif

}  // namespace kestrel
