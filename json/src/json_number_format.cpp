#include "json_number_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Writes the digits of value backwards so that they end just before `end`; returns their start.
// Values below 2^32 take 32-bit division, which is much cheaper on the 32-bit target.
char* WriteDigitsBackwards(uint64_t value, char* end)
{
    while (value > UINT32_MAX) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    uint32_t small = static_cast<uint32_t>(value);
    do {
        *--end = static_cast<char>('0' + small % 10);
        small /= 10;
    } while (small != 0);
    return end;
}

size_t FormatMagnitude(uint64_t magnitude, bool negative, char* text)
{
    char digits[20];
    char* end = digits + sizeof(digits);
    char* start = WriteDigitsBackwards(magnitude, end);
    size_t length = static_cast<size_t>(end - start);
    char* out = text;
    if (negative)
        *out++ = '-';
    std::memcpy(out, start, length);
    out[length] = '\0';
    return length + (negative ? 1 : 0);
}

size_t CopyText(const char* literal, char (&text)[kDoubleTextSize])
{
    size_t length = std::strlen(literal);
    std::memcpy(text, literal, length + 1);
    return length;
}

// round-half-even(fraction * 10^6) on the exact binary value, for 0 <= fraction < 1: the rounding
// printf applies to "%f". fraction = m / 2^k with m below 2^53; fraction * 10^6 = m * 5^6 / 2^(k-6),
// evaluated in two 32-bit halves so that no product leaves 64 bits.
uint32_t RoundedMillionths(double fraction)
{
    int exponent = 0;
    double mantissa = std::frexp(fraction, &exponent);
    int k = 53 - exponent;
    if (fraction == 0 || k >= 74)
        return 0;  // m * 10^6 < 2^73 lies below half a unit
    uint64_t m = static_cast<uint64_t>(std::ldexp(mantissa, 53));
    uint64_t low = (m & UINT32_MAX) * 15625;
    uint64_t high = (m >> 32) * 15625 + (low >> 32);  // m * 5^6 = high * 2^32 + (low mod 2^32)
    low &= UINT32_MAX;
    int t = k - 6 - 32;  // shift applied to `high`
    uint64_t result = high >> t;
    uint64_t rest = high & ((uint64_t(1) << t) - 1);
    uint64_t half = uint64_t(1) << (t - 1);
    bool above = rest > half || (rest == half && low != 0);
    bool tie = rest == half && low == 0;
    if (above || (tie && (result & 1) != 0))
        ++result;
    return static_cast<uint32_t>(result);
}

size_t FormatFixedSix(double value, char (&text)[kDoubleTextSize])
{
    double magnitude = std::fabs(value);
    double whole = std::floor(magnitude);
    uint64_t integer = static_cast<uint64_t>(whole);
    uint32_t millionths = RoundedMillionths(magnitude - whole);
    if (millionths == 1000000) {
        ++integer;
        millionths = 0;
    }
    size_t length = FormatMagnitude(integer, std::signbit(value), text);
    text[length] = '.';
    for (int i = 6; i >= 1; --i) {
        text[length + static_cast<size_t>(i)] = static_cast<char>('0' + millionths % 10);
        millionths /= 10;
    }
    text[length + 7] = '\0';
    return length + 7;
}

size_t FormatIntegral(double value, char (&text)[kDoubleTextSize])
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::fabs(value) < kTwoTo63) {
        uint64_t magnitude = static_cast<uint64_t>(std::fabs(value));
        return FormatMagnitude(magnitude, std::signbit(value), text);
    }
    int length = std::snprintf(text, sizeof(text), "%.0f", value);
    if (length >= 0 && static_cast<size_t>(length) < sizeof(text))
        return static_cast<size_t>(length);
    length = std::snprintf(text, sizeof(text), "%.15g", value);
    return static_cast<size_t>(length);
}

}  // namespace

size_t FormatSigned(int64_t value, char (&text)[kIntegerTextSize])
{
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0)
        magnitude = 0 - magnitude;
    return FormatMagnitude(magnitude, value < 0, text);
}

size_t FormatUnsigned(uint64_t value, char (&text)[kIntegerTextSize])
{
    return FormatMagnitude(value, false, text);
}

size_t FormatDouble(double value, char (&text)[kDoubleTextSize])
{
    constexpr double kIntegralTolerance = 2.220446049250313e-16;  // 2^-52
    if (std::isnan(value))
        return CopyText("null", text);
    if (std::isinf(value))
        return CopyText(value > 0 ? "1e999" : "-1e999", text);
    if (std::fabs(std::floor(value) - value) <= kIntegralTolerance)
        return FormatIntegral(value, text);
    return FormatFixedSix(value, text);
}
