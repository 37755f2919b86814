// snprintf for one number, done without the C library for the one shape the
// gauges print: text, one %f conversion, text. A caption such as
// "FLAPS%400.0f" costs the C library about half a microsecond (it pads the
// number out to 400 characters a few at a time); here it is a copy of the
// caption, one memset and a digit. The bytes are the C library's: the number
// is rounded exactly (integer arithmetic on the value's bits, ties to even),
// and whatever this file does not handle goes to snprintf.
#include "frame/print_number.h"

#include <fenv.h>
#include <locale.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

namespace {

constexpr int MAX_WIDTH = 1 << 20;
constexpr int MAX_PRECISION = 9;

constexpr uint64_t POWERS_OF_TEN[MAX_PRECISION + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000,
};

// One conversion "%[flags][width][.precision][l]f" or "F".
struct Conversion {
    bool left = false;   // '-': padded on the right
    bool plus = false;   // '+': a sign always
    bool space = false;  // ' ': a blank where a plus sign would be
    bool point = false;  // '#': the decimal point even with no digits after it
    bool zeros = false;  // '0': padded with zeros after the sign
    bool upper = false;  // 'F': "INF", "NAN"
    int width = 0;
    int precision = 6;
};

// Reads the conversion after its '%'; returns where it ends, or null when it
// is not one this file prints.
const char* read_conversion(const char* p, Conversion* c) {
    for (;; ++p) {
        if (*p == '-') c->left = true;
        else if (*p == '+') c->plus = true;
        else if (*p == ' ') c->space = true;
        else if (*p == '#') c->point = true;
        else if (*p == '0') c->zeros = true;
        else break;
    }
    int digits = 0;
    for (c->width = 0; *p >= '0' && *p <= '9'; ++p, ++digits) {
        if (digits == 7) return nullptr;
        c->width = c->width * 10 + (*p - '0');
    }
    if (c->width > MAX_WIDTH) return nullptr;
    if (*p == '.') {
        ++p;
        digits = 0;
        for (c->precision = 0; *p >= '0' && *p <= '9'; ++p, ++digits) {
            if (digits == 7) return nullptr;
            c->precision = c->precision * 10 + (*p - '0');
        }
        if (c->precision > MAX_PRECISION) return nullptr;
    }
    if (*p == 'l') ++p;  // "%lf" is "%f"
    if (*p == 'f') return p + 1;
    if (*p == 'F') {
        c->upper = true;
        return p + 1;
    }
    return nullptr;
}

// Whether the text from `p` holds no conversion, only "%%" (a '%').
bool plain_text(const char* p) {
    while ((p = strchr(p, '%')) != nullptr) {
        if (p[1] != '%') return false;
        p += 2;
    }
    return true;
}

// The output: at most `room` more characters, then the terminating null.
struct Output {
    char* at;
    size_t room;

    void put(const char* s, size_t n) {
        if (n > room) n = room;
        memcpy(at, s, n);
        at += n;
        room -= n;
    }
    void fill(char c, size_t n) {
        if (n > room) n = room;
        memset(at, c, n);
        at += n;
        room -= n;
    }
    // Text of the format from `p` to `end`, each "%%" as one '%'.
    void text(const char* p, const char* end) {
        while (p < end) {
            const char* percent = static_cast<const char*>(memchr(p, '%', static_cast<size_t>(end - p)));
            if (!percent) {
                put(p, static_cast<size_t>(end - p));
                return;
            }
            put(p, static_cast<size_t>(percent - p) + 1);
            p = percent + 2;
        }
    }
};

// |value| * 10^precision rounded to the nearest integer, ties to even, from
// the value's bits; false when that integer is not certain to fit in 63 bits.
bool scaled_digits(uint64_t bits, int precision, uint64_t* out) {
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
    int exponent;
    if (biased == 0) {
        if (mantissa == 0) {
            *out = 0;
            return true;
        }
        exponent = -1074;  // subnormal
    } else {
        mantissa |= uint64_t(1) << 52;
        exponent = biased - 1075;
    }
    const int zeros = __builtin_ctzll(mantissa);
    mantissa >>= zeros;
    exponent += zeros;
    const uint64_t scale = POWERS_OF_TEN[precision];
    if (mantissa > uint64_t(INT64_MAX) / scale) return false;
    const uint64_t scaled = mantissa * scale;  // below 2^63
    if (exponent >= 0) {
        if (exponent >= 63 || scaled > (uint64_t(INT64_MAX) >> exponent)) return false;
        *out = scaled << exponent;
        return true;
    }
    const int shift = -exponent;
    if (shift >= 64) {
        *out = 0;  // below 2^63, so below half of 2^shift
        return true;
    }
    uint64_t whole = scaled >> shift;
    const uint64_t rest = scaled & ((uint64_t(1) << shift) - 1);
    const uint64_t half = uint64_t(1) << (shift - 1);
    if (rest > half || (rest == half && (whole & 1))) ++whole;
    *out = whole;
    return true;
}

// Writes the number with its conversion; false (nothing written) when this
// file does not print it.
bool number(Output* out, const Conversion& c, double value) {
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const bool special = ((bits >> 52) & 0x7FF) == 0x7FF;  // infinity or NaN

    // The body: sign, digits, decimal point, fraction digits (at most 1 + 19
    // + 1 + 9 characters), or sign and "inf" / "nan".
    char body[40];
    size_t n = 0;
    if (negative)
        body[n++] = '-';
    else if (c.plus)
        body[n++] = '+';
    else if (c.space)
        body[n++] = ' ';
    const size_t sign = n;

    if (special) {
        const bool nan = (bits & ((uint64_t(1) << 52) - 1)) != 0;
        const char* word = nan ? (c.upper ? "NAN" : "nan") : (c.upper ? "INF" : "inf");
        memcpy(body + n, word, 3);
        n += 3;
    } else {
        if (fegetround() != FE_TONEAREST) return false;
        uint64_t scaled;
        if (!scaled_digits(bits, c.precision, &scaled)) return false;
        const char* decimal_point = ".";
        if (c.precision > 0 || c.point) {
            decimal_point = localeconv()->decimal_point;
            if (!decimal_point || strlen(decimal_point) != 1) return false;
        }
        const uint64_t scale = POWERS_OF_TEN[c.precision];
        uint64_t whole = scaled / scale;
        uint64_t fraction = scaled % scale;
        char digits[24];
        size_t d = sizeof digits;
        do {
            digits[--d] = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole);
        memcpy(body + n, digits + d, sizeof digits - d);
        n += sizeof digits - d;
        if (c.precision > 0 || c.point) body[n++] = decimal_point[0];
        for (int i = c.precision - 1; i >= 0; --i) {
            body[n + static_cast<size_t>(i)] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        n += static_cast<size_t>(c.precision);
    }

    const size_t width = static_cast<size_t>(c.width);
    const size_t pad = width > n ? width - n : 0;
    if (c.left) {
        out->put(body, n);
        out->fill(' ', pad);
    } else if (c.zeros && !special) {
        out->put(body, sign);
        out->fill('0', pad);
        out->put(body + sign, n - sign);
    } else {
        out->fill(' ', pad);
        out->put(body, n);
    }
    return true;
}

}  // namespace

void print_number(char* out, size_t size, const char* format, double value) {
    if (size == 0) return;  // snprintf writes nothing
    // The one conversion, with only text ("%%" included) around it.
    const char* percent = format;
    while ((percent = strchr(percent, '%')) != nullptr && percent[1] == '%') percent += 2;
    Conversion c;
    const char* rest = percent ? read_conversion(percent + 1, &c) : nullptr;
    if (rest && plain_text(rest)) {
        Output o{out, size - 1};
        o.text(format, percent);
        if (number(&o, c, value)) {
            o.text(rest, rest + strlen(rest));
            *o.at = '\0';
            return;
        }
        // Not printed here: snprintf writes everything again.
    }
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    snprintf(out, size, format, value);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}
