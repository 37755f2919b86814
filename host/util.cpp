#include "host/util.h"

#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace kestrel {

std::string number(double v) {
    if (isnan(v)) return "nan";
    if (isinf(v)) return v < 0 ? "-inf" : "inf";
    if (v == 0) return signbit(v) ? "-0" : "0";
    char buf[40];
    if (v == trunc(v) && fabs(v) < 1e17) {
        snprintf(buf, sizeof buf, "%.0f", v);
        return buf;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        snprintf(buf, sizeof buf, "%.*g", precision, v);
        if (strtod(buf, nullptr) == v) break;
    }
    return buf;
}

std::string hex(uint32_t v) {
    char buf[16];
    snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(v));
    return buf;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) vsnprintf(out.data(), out.size() + 1, fmt, args);
    va_end(args);
    return out;
}

std::string quote_text(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p;) {
        if (*p == ' ') {
            size_t run = strspn(p, " ");
            if (run >= 4) {
                out += format("{%zu blanks}", run);
            } else {
                out.append(run, ' ');
            }
            p += run;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(*p++);
        if (c == '"' || c == '\\' || c == '{') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += format("\\x%02X", c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::vector<std::string> split_words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size() || line[i] == '#') break;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool parse_double(const std::string& word, double* out) {
    if (word.empty()) return false;
    const char* s = word.c_str();
    char* end = nullptr;
    const bool negative = s[0] == '-';
    const char* digits = (s[0] == '-' || s[0] == '+') ? s + 1 : s;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        unsigned long long v = strtoull(digits, &end, 16);
        if (*end || end == digits + 2) return false;
        *out = negative ? -static_cast<double>(v) : static_cast<double>(v);
        return true;
    }
    double v = strtod(s, &end);
    if (*end || end == s) return false;
    *out = v;
    return true;
}

bool parse_int(const std::string& word, int64_t* out) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const char* s = word.c_str();
    const char* digits = (s[0] == '-' || s[0] == '+') ? s + 1 : s;
    const bool hex_digits = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    long long v = strtoll(s, &end, hex_digits ? 16 : 10);
    if (*end || errno) return false;
    *out = v;
    return true;
}

bool parse_uint32(const std::string& word, uint32_t* out) {
    int64_t v;
    if (!parse_int(word, &v) || v < 0 || v > 0xFFFFFFFFll) return false;
    *out = static_cast<uint32_t>(v);
    return true;
}


}  // namespace kestrel
