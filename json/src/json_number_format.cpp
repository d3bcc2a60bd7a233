#include "json_number_format.h"

#include <cmath>
#include <cstring>

#include "json_big_integer.h"
#include "json_decimal.h"

namespace {

constexpr size_t kLargestIntegralDigits = 315;  // the largest double's 309, in groups of nine
constexpr size_t kMaxSignificantDigits = 17;    // always enough to tell doubles apart

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

size_t DigitCount(uint64_t value)
{
    size_t count = 1;
    for (uint64_t bound = 10; count < 20 && value >= bound; bound *= 10)
        ++count;
    return count;
}

// Digits straight into the text: a copy from a scratch array would load bytes just stored one by
// one, which stalls the processor for longer than writing the digits takes.
size_t FormatMagnitude(uint64_t magnitude, bool negative, char* text)
{
    char* out = text;
    if (negative)
        *out++ = '-';
    size_t count = DigitCount(magnitude);
    WriteDigitsBackwards(magnitude, out + count);
    out[count] = '\0';
    return static_cast<size_t>(out - text) + count;
}

size_t CopyText(const char* literal, char* text)
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

size_t FormatFixedSix(double value, char* text)
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

// The decimal digits of an integral double of 2^63 or more, exactly: what "%.0f" prints.
size_t ExactDigits(double magnitude, char (&digits)[kLargestIntegralDigits])
{
    int exponent = 0;
    double mantissa = std::frexp(magnitude, &exponent);
    BigInteger value(static_cast<uint64_t>(std::ldexp(mantissa, 64)));
    value.ShiftLeft(static_cast<uint32_t>(exponent - 64));
    char* end = digits + sizeof(digits);
    char* start = end;
    while (!value.IsZero()) {
        uint32_t group = value.DivideBy(1000000000);
        for (int i = 0; i < 9; ++i, group /= 10)
            *--start = static_cast<char>('0' + group % 10);
    }
    while (*start == '0')
        ++start;
    size_t length = static_cast<size_t>(end - start);
    std::memmove(digits, start, length);
    return length;
}

// The first `count` of the exact digits as an integer, cut toward zero; true when the cut-off
// digits are worth more than half a unit of the last one kept, or exactly half with an odd last
// digit: then the nearest `count`-digit value, ties to even, is one unit higher.
bool LeadingDigits(const char* digits, size_t length, size_t count, uint64_t* kept)
{
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value * 10 + static_cast<uint64_t>(digits[i] - '0');
    bool rest_nonzero = false;
    for (size_t i = count + 1; i < length && !rest_nonzero; ++i)
        rest_nonzero = digits[i] != '0';
    char next = count < length ? digits[count] : '0';
    *kept = value;
    return next > '5' || (next == '5' && (rest_nonzero || (value & 1) != 0));
}

bool ReadsBack(uint64_t candidate, int scale, double magnitude)
{
    char text[kIntegerTextSize];
    FormatMagnitude(candidate, false, text);
    return DecimalDigitsToDouble(text, scale) == magnitude;
}

// The fewest significant digits that read back as the same double, as an integer times 10^scale.
// Of the two values with that many digits around the exact one, the nearer comes first; the
// other can still read back where the nearer does not, just above a power of two, whose next
// lower double is half as far away as the next higher one.
uint64_t ShortestDigits(double magnitude, const char* digits, size_t length, int* scale)
{
    for (size_t count = 1;; ++count) {
        uint64_t below = 0;
        bool round_up = LeadingDigits(digits, length, count, &below);
        uint64_t nearer = round_up ? below + 1 : below;
        uint64_t farther = round_up ? below : below + 1;
        *scale = static_cast<int>(length - count);
        if (count == kMaxSignificantDigits || ReadsBack(nearer, *scale, magnitude))
            return nearer;
        if (ReadsBack(farther, *scale, magnitude))
            return farther;
    }
}

// Shortest-first: the fewest significant digits that read back as the same double, like
// "%.<n>e" with trailing zeros dropped: "1e+63", "1.7976931348623157e+308".
size_t FormatShortest(double value, const char* digits, size_t length, char* text)
{
    int scale = 0;
    uint64_t shortest = ShortestDigits(std::fabs(value), digits, length, &scale);
    char mantissa[kIntegerTextSize];
    size_t mantissa_length = FormatMagnitude(shortest, false, mantissa);
    int exponent = scale + static_cast<int>(mantissa_length) - 1;  // one more when 99.. rounded to 100..
    while (mantissa_length > 1 && mantissa[mantissa_length - 1] == '0')
        --mantissa_length;
    char* out = text;
    if (std::signbit(value))
        *out++ = '-';
    *out++ = mantissa[0];
    if (mantissa_length > 1) {
        *out++ = '.';
        std::memcpy(out, mantissa + 1, mantissa_length - 1);
        out += mantissa_length - 1;
    }
    *out++ = 'e';
    *out++ = '+';
    char exponent_text[kIntegerTextSize];
    size_t exponent_length = FormatMagnitude(static_cast<uint64_t>(exponent), false, exponent_text);
    if (exponent_length < 2)
        *out++ = '0';
    std::memcpy(out, exponent_text, exponent_length + 1);
    return static_cast<size_t>(out + exponent_length - text);
}

size_t FormatIntegral(double value, char* text)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::fabs(value) < kTwoTo63) {
        uint64_t magnitude = static_cast<uint64_t>(std::fabs(value));
        return FormatMagnitude(magnitude, std::signbit(value), text);
    }
    char digits[kLargestIntegralDigits];
    size_t length = ExactDigits(std::fabs(value), digits);
    size_t sign = std::signbit(value) ? 1 : 0;
    if (sign + length >= kDoubleTextSize)
        return FormatShortest(value, digits, length, text);
    char* out = text;
    if (sign != 0)
        *out++ = '-';
    std::memcpy(out, digits, length);
    out[length] = '\0';
    return sign + length;
}

}  // namespace

size_t FormatSigned(int64_t value, char* text)
{
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0)
        magnitude = 0 - magnitude;
    return FormatMagnitude(magnitude, value < 0, text);
}

size_t FormatUnsigned(uint64_t value, char* text)
{
    return FormatMagnitude(value, false, text);
}

size_t FormatDouble(double value, char* text)
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
