#include "host/utf8.h"

#include <stdint.h>

namespace kestrel {

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// The character of the valid UTF-8 sequence at text[at] and its length, or
// 0 when none starts there: overlong forms, surrogates and code points above
// U+10FFFF are not valid.
size_t decode(std::string_view text, size_t at, char32_t* c) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[at + i]); };
    const uint8_t b = byte(0);
    if (b < 0x80) {
        *c = b;
        return 1;
    }
    size_t n;
    char32_t min;
    if ((b & 0xE0) == 0xC0) n = 2, min = 0x80, *c = b & 0x1F;
    else if ((b & 0xF0) == 0xE0) n = 3, min = 0x800, *c = b & 0x0F;
    else if ((b & 0xF8) == 0xF0) n = 4, min = 0x10000, *c = b & 0x07;
    else return 0;
    if (text.size() - at < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        *c = *c << 6 | (byte(i) & 0x3F);
    }
    if (*c < min || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF)) return 0;
    return n;
}

void encode(char32_t c, std::string* out) {
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | c >> 6);
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | c >> 12);
        *out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | c >> 18);
        *out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        *out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Calls `put` with each character of the UTF-8 text; a byte that starts no
// valid sequence is one character: the Latin-1 one, or U+FFFD.
template <typename Put>
void each_character(std::string_view text, bool latin1, Put put) {
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        size_t n = decode(text, at, &c);
        if (!n) {
            c = latin1 ? static_cast<uint8_t>(text[at]) : REPLACEMENT;
            n = 1;
        }
        at += n;
        put(c);
    }
}

}  // namespace

std::string valid_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    each_character(text, true, [&](char32_t c) { encode(c, &out); });
    return out;
}

std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    each_character(utf8, false, [&](char32_t c) {
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    });
    return out;
}

std::string utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t at = 0; at < utf16.size(); ++at) {
        char32_t c = utf16[at];
        if (c >= 0xD800 && c <= 0xDBFF && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 && utf16[at + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++at] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = REPLACEMENT;
        encode(c, &out);
    }
    return out;
}

#if defined(_WIN32)
std::wstring wide(std::string_view text) {
    const std::u16string u = utf16(text);
    return std::wstring(u.begin(), u.end());
}

std::string narrow(std::wstring_view text) { return utf8(std::u16string(text.begin(), text.end())); }
#endif

}  // namespace kestrel
