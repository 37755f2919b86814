// The gauges' texts come from print_number, which prints the common formats
// without the C library: it must write exactly the bytes snprintf writes,
// for every format, buffer size and value, hostile values included. Each
// case fills two buffers the same way beforehand and compares them whole, so
// a byte written past the end or a different truncation is caught too.
#include <fenv.h>
#include <float.h>
#include <gtest/gtest.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <limits>
#include <string>
#include <vector>

#include "frame/print_number.h"

namespace kestrel::test {
namespace {

constexpr size_t GUARD = 16;

// The first difference between print_number and snprintf, or "".
std::string difference(const std::string& format, size_t size, double value) {
    std::vector<char> mine(size + GUARD, '\x5A'), theirs(size + GUARD, '\x5A');
    print_number(mine.data(), size, format.c_str(), value);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    snprintf(theirs.data(), size, format.c_str(), value);
#pragma GCC diagnostic pop
    if (mine == theirs) return "";
    size_t at = 0;
    while (mine[at] == theirs[at]) ++at;
    char value_text[64];
    snprintf(value_text, sizeof value_text, "%a", value);
    return "format \"" + format + "\", size " + std::to_string(size) + ", value " + value_text +
           ": byte " + std::to_string(at) + " is " + std::to_string(int(mine[at])) + ", snprintf wrote " +
           std::to_string(int(theirs[at]));
}

// Rounding ties at every precision, the ends of the single and double
// ranges, values beyond 64-bit digits, and the special values.
std::vector<double> hostile_values() {
    std::vector<double> v = {
        0.0, -0.0, 1.0, -1.0, 0.5, -0.5, 1.5, 2.5, -2.5, 3.5, 0.25, 0.75, 0.125, 0.375, 0.0625,
        1.25, 2.675, 0.045, 0.005, 0.015, 9.5, 99.5, 999.5, 0.95, 0.995, 9.995, 1e-7, 5e-10, 4.9999999e-10,
        3276.8, 6553.6, 13107.2, 16384, 29.92, 1013.25, 121.5, 360, 359.5, 0.1, 0.2, 0.3, 123.456, -123.456,
        1e9, 4294967295.0, 4294967296.0, 1e15, 9007199254740991.0, 9007199254740993.0, 1e18,
        9.2233720368547e18, 9223372036854775807.0, 1.8446744073709552e19, 1e19, 1e20, 1e30, 1e300,
        -1e300, FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, -FLT_TRUE_MIN, DBL_MAX, -DBL_MAX, DBL_MIN,
        DBL_TRUE_MIN, -DBL_TRUE_MIN, INFINITY, -INFINITY, NAN, -NAN,
        std::numeric_limits<double>::signaling_NaN(),
    };
    // Every value as a gauge hands it over too: rounded to single precision.
    const size_t n = v.size();
    for (size_t i = 0; i < n; ++i)
        if (isfinite(v[i]) && fabs(v[i]) <= FLT_MAX) v.push_back(static_cast<float>(v[i]));
    // A NaN with a payload and the sign bit.
    uint64_t bits = 0xFFF8000000012345u;
    double payload;
    memcpy(&payload, &bits, sizeof payload);
    v.push_back(payload);
    return v;
}

// Values from a fixed sequence of bit patterns: single-precision values of
// every exponent, and doubles of any kind.
std::vector<double> random_values(size_t count) {
    std::vector<double> v;
    uint64_t x = 0x9E3779B97F4A7C15u;
    for (size_t i = 0; i < count; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        if (i % 2) {
            uint32_t f = static_cast<uint32_t>(x >> 32);
            float single;
            memcpy(&single, &f, sizeof single);
            v.push_back(single);
        } else {
            double d;
            memcpy(&d, &x, sizeof d);
            v.push_back(d);
        }
        // Small numbers with fractions, where readouts live.
        v.push_back(static_cast<double>(static_cast<int64_t>(x % 2000001) - 1000000) / 64.0);
    }
    return v;
}

// "%" + flags + width + precision + length + conversion.
std::vector<std::string> conversions() {
    const char flag_chars[] = "-+ #0";
    std::vector<std::string> out;
    for (unsigned mask = 0; mask < 32; ++mask) {
        std::string flags;
        for (unsigned b = 0; b < 5; ++b)
            if (mask & (1u << b)) flags += flag_chars[b];
        for (const char* width : {"", "1", "5", "12", "400"})
            for (const char* precision : {"", ".", ".0", ".1", ".2", ".9"})
                out.push_back("%" + flags + width + precision + "f");
    }
    // Flags twice, in another order; length "l"; upper case; a zero precision
    // written long.
    for (const char* c : {"%0-5.1f", "%++3f", "%  0 7.2f", "%#0400.0f", "%lf", "%5.2lf", "%F", "%-8.3F",
                          "%010F", "%.0000f", "%000012.2f"})
        out.push_back(c);
    return out;
}

TEST(PrintNumber, EveryConversionMatchesSnprintfForHostileValues) {
    const std::vector<double> values = hostile_values();
    size_t cases = 0;
    for (const std::string& conversion : conversions()) {
        for (double v : values) {
            ASSERT_EQ(difference("FLAPS" + conversion, 512, v), "");
            ++cases;
        }
    }
    EXPECT_GT(cases, 100000u);
}

TEST(PrintNumber, CaptionsAndReadoutsMatchSnprintfAtEveryCut) {
    // The gauges' formats, cut at every size up to the whole text and at the
    // host's capacity.
    const std::vector<std::string> formats = {
        "FLAPS%400.0f", "ON%400.0f", "HDG%200.0f", "STBY/CRS%700.0f", "MACH%800.0f", "%800.0f", "ON%500.0f",
        "%03.0f", "%.2f", "%.1f Nm", ".%02.0f'", "OAT %.0f C", "%05.0f", ": %02.0f", "CRS  %03.0f", "%0.0f",
        "%.0f", ".%1.0f", "POS ALT  %.0f FT", "100%% %3.0f %%", "%%%.1f%%%%"};
    const std::vector<double> values = {0.0, -0.0, 2.5, -3.5, 359.5, 3276.8f, 29.92f, 1e9, -1e9, 1e30,
                                        FLT_MAX, INFINITY, -INFINITY, NAN, -NAN};
    for (const std::string& format : formats)
        for (double v : values)
            for (size_t size = 0; size <= 820; ++size) ASSERT_EQ(difference(format, size, v), "");
    for (const std::string& format : formats)
        for (double v : values)
            for (size_t size : {size_t(0x4240), size_t(0x4241), size_t(65536)}) ASSERT_EQ(difference(format, size, v), "");
}

TEST(PrintNumber, RandomValuesMatchSnprintf) {
    const std::vector<double> values = random_values(5000);
    for (const char* format : {"%.0f", "%.1f", "%.2f", "%03.0f", "%+.3f", "%#.0f", "%.9f", "% 12.5f", "X%400.0f"})
        for (double v : values) ASSERT_EQ(difference(format, 512, v), "");
}

TEST(PrintNumber, OtherFormatsAreLeftToSnprintf) {
    // Conversions, widths and precisions this file does not print itself:
    // the C library's bytes all the same.
    const std::vector<std::string> formats = {
        "", "no conversion", "100%%", "%e", "%.3e", "%g", "%G", "%a", "%10.4E", "%.10f", "%.17f", "%.40f",
        "%.100f", "%'.2f", "FLAPS%400.0e", "%5.1f %%d", "%I.0f"};
    for (const std::string& format : formats)
        for (double v : hostile_values())
            for (size_t size : {size_t(0), size_t(1), size_t(7), size_t(64), size_t(4096)})
                ASSERT_EQ(difference(format, size, v), "");
    // Widths at the fast path's limit and just past it.
    for (const char* format : {"%1048576.0f", "%1048577.0f", "%-1048577.2f"})
        for (double v : {0.0, -2.5, double(NAN)}) ASSERT_EQ(difference(format, 4096, v), "");
}

TEST(PrintNumber, AnyRoundingModeStillMatchesSnprintf) {
    // The fast path rounds to nearest; in another mode the C library rounds
    // its own way, and print_number leaves the value to it.
    const std::vector<double> values = hostile_values();
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST}) {
        ASSERT_EQ(fesetround(mode), 0);
        for (const char* format : {"%.0f", "%.2f", "FLAPS%400.0f", "%03.1f"})
            for (double v : values) {
                const std::string d = difference(format, 1024, v);
                if (!d.empty()) fesetround(FE_TONEAREST);
                ASSERT_EQ(d, "") << "rounding mode " << mode;
            }
    }
    fesetround(FE_TONEAREST);
}

}  // namespace
}  // namespace kestrel::test
