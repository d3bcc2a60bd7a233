#pragma once

#include <cstddef>
#include <cstdint>

// A decimal number as the parser meets it: its magnitude is D * 10^(exponent - fraction_count),
// where D is the integer digits followed by the fraction digits. The parser fills the spans and
// the exponent, and ScanDigits accumulates D as it passes the digits, so that reading a number of
// up to kExactDigitCount digits needs no second look at its text.
struct DecimalNumber {
    const char* integer = nullptr;
    size_t integer_count = 0;
    const char* fraction = nullptr;
    size_t fraction_count = 0;
    int64_t exponent = 0;  // as written, capped far beyond any double's range
    uint64_t digits = 0;   // D modulo 2^64: D itself up to kExactDigitCount digits
};

// As many digits as always fit 64 bits.
constexpr size_t kExactDigitCount = 19;

// Adds a run of digits to the accumulated ones; returns the first non-digit.
inline const char* ScanDigits(const char* at, uint64_t& digits)
{
    uint64_t value = digits;  // in a register: stores through the reference might alias the text
    for (; static_cast<unsigned char>(*at - '0') < 10; ++at)
        value = value * 10 + static_cast<unsigned char>(*at - '0');
    digits = value;
    return at;
}

// The double nearest to the number's magnitude, ties to even, infinity beyond the largest double:
// the value strtod gives in the C locale, computed without it (the Windows C library's depends
// on the locale and is not always correctly rounded).
double DecimalToDouble(const DecimalNumber& number);

// The double nearest to digits * 10^exponent, for a run of decimal digits ended by any other
// character.
double DecimalDigitsToDouble(const char* digits, int64_t exponent = 0);
