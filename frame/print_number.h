// snprintf for one number, fast for the formats the gauges print.
#pragma once

#include <stddef.h>

// Writes exactly the bytes that snprintf(out, size, format, value) writes;
// `format` takes one double, as for snprintf.
//
// Formats of the shape "text%[flags][width][.precision]f text" (flags from
// "-+ #0", conversions f and F, "%%" in the texts) are printed here without
// the C library when the value is a NaN, an infinity, or a number whose
// digits are exact in 64-bit integers (every single-precision value below
// about 1.8e19, for precisions up to 9), the width is at most 1 << 20 and the
// floating-point rounding mode is to nearest. This is the shape of the
// gauges' captions ("FLAPS%400.0f": the caption, then a number padded far
// out of sight) and readouts ("%03.0f", "%.2f"). Any other format or value
// goes to snprintf itself.
void print_number(char* out, size_t size, const char* format, double value);
