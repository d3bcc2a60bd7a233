#pragma once

#include <cstddef>
#include <cstdint>

// Decimal texts of the printer's numbers, each bounded by its buffer size.

constexpr size_t kIntegerTextSize = 22;  // "-9223372036854775808" and the NUL fit
constexpr size_t kDoubleTextSize = 64;

// Writes the digits of value (with '-' when negative) and a NUL into text, which has room for
// kIntegerTextSize bytes; returns the length.
size_t FormatSigned(int64_t value, char* text);
size_t FormatUnsigned(uint64_t value, char* text);

// The printer's double text and a NUL into text, which has room for kDoubleTextSize bytes;
// returns the length.
// Integral values (within 2^-52) print without fraction like "%.0f"; when that text would not
// fit the buffer, in exponent form with the fewest digits that read back as the same double
// ("1e+63"). Other values print with six decimals like "%f". Non-finite values, which have no
// JSON text, print as 1e999 / -1e999 (they parse back as infinities) and null.
size_t FormatDouble(double value, char* text);
