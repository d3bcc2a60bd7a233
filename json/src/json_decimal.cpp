#include "json_decimal.h"

#include <cfloat>
#include <cstring>

#include "json_big_integer.h"
#include "json_powers_of_ten.h"

// Three ways, from the cheapest: one exact floating-point operation when both factors are exact
// doubles; otherwise the product of the leading digits with a 128-bit power of ten, whose error
// is bounded, so that the rounding is known unless the product lies within that bound of a
// halfway point between doubles; and there, an exact comparison with that halfway point.

namespace {

// ---- results ----

constexpr int kSmallestExponent = -1074;  // of the last mantissa bit of the subnormals
constexpr int kMantissaBits = 53;

// mantissa * 2^exponent before rounding, and whether it rounds up to the next mantissa.
struct Rounding {
    uint64_t mantissa;
    int exponent;  // of the last mantissa bit: kSmallestExponent for subnormals
    bool up;
    bool sure;  // false when the error bound leaves the direction open
};

Rounding Zero()
{
    return Rounding{0, kSmallestExponent, false, true};
}

// Rounds up into 2^1024, whose bit pattern is infinity's.
Rounding Infinity()
{
    return Rounding{(uint64_t(1) << kMantissaBits) - 1, 1024 - kMantissaBits, true, true};
}

// The biased exponent field follows from the exponent of the last mantissa bit, and a mantissa
// that rounds up to 2^53, or a subnormal one up to 2^52, carries into it by itself.
double ToDouble(const Rounding& r)
{
    uint64_t bits =
        (static_cast<uint64_t>(r.exponent - kSmallestExponent) << (kMantissaBits - 1)) + r.mantissa + (r.up ? 1 : 0);
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// ---- 128-bit arithmetic ----

struct U128 {
    uint64_t high;
    uint64_t low;
};

U128 Multiply(uint64_t a, uint64_t b)
{
#ifdef __SIZEOF_INT128__
    unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return U128{static_cast<uint64_t>(product >> 64), static_cast<uint64_t>(product)};
#else
    uint64_t a_low = a & UINT32_MAX, a_high = a >> 32;
    uint64_t b_low = b & UINT32_MAX, b_high = b >> 32;
    uint64_t low_low = a_low * b_low;
    uint64_t high_low = a_high * b_low;
    uint64_t low_high = a_low * b_high;
    uint64_t middle = (low_low >> 32) + (high_low & UINT32_MAX) + low_high;
    return U128{a_high * b_high + (high_low >> 32) + (middle >> 32), (middle << 32) | (low_low & UINT32_MAX)};
#endif
}

U128 AddLow(U128 a, uint64_t b)
{
    uint64_t low = a.low + b;
    return U128{a.high + (low < b ? 1 : 0), low};
}

U128 Subtract(U128 a, U128 b)
{
    return U128{a.high - b.high - (a.low < b.low ? 1 : 0), a.low - b.low};
}

bool Less(U128 a, U128 b)
{
    return a.high != b.high ? a.high < b.high : a.low < b.low;
}

// ---- the bounded-error product ----

// Rounds product * 2^scale, where the product (at least 2^126) may lie up to `slack` below the
// exact value.
Rounding RoundProduct(U128 product, int scale, U128 slack)
{
    int top = static_cast<int>(product.high >> 63) + 126;
    int top_exponent = top + scale;
    if (top_exponent >= 1024)
        return Infinity();
    int exponent = top_exponent - (kMantissaBits - 1);
    if (exponent < kSmallestExponent)
        exponent = kSmallestExponent;
    int below = exponent - scale;  // product bits below the mantissa: 74 and up
    if (below > 128)
        return Zero();  // under half the smallest subnormal
    int high_below = below - 64;
    uint64_t mantissa = high_below < 64 ? product.high >> high_below : 0;
    uint64_t rest_mask = high_below < 64 ? (uint64_t(1) << high_below) - 1 : UINT64_MAX;
    U128 rest{product.high & rest_mask, product.low};
    U128 half{uint64_t(1) << (high_below - 1), 0};
    Rounding r{mantissa, exponent, false, true};
    if (Less(half, rest))
        r.up = true;  // already above halfway, so the exact value is too
    else if (Less(Subtract(half, slack), rest))
        r.sure = false;  // the exact value may be at or above halfway
    return r;
}

// Rounds digits * 10^power, digits not 0, power within the table.
Rounding RoundScaled(uint64_t digits, int power)
{
    int shift = __builtin_clzll(digits);
    uint64_t normalized = digits << shift;
    const PowerOfTen& ten = kPowersOfTen[power - kMinPowerOfTen];
    int scale = BinaryExponentOfPowerOfTen(power) - 63 - shift;
    // With the high half alone the product is low by less than 2^64; adding the low half's
    // share leaves less than 2.
    U128 product = Multiply(normalized, ten.high);
    Rounding r = RoundProduct(product, scale, U128{1, 0});
    if (r.sure)
        return r;
    product = AddLow(product, Multiply(normalized, ten.low).high);
    return RoundProduct(product, scale, U128{0, 2});
}

// ---- significant digits taken again from the text ----

// Digits of D after the ones taken.
struct CutDigits {
    int64_t count = 0;
    bool nonzero = false;
};

// Hands D's first `limit` significant digits to take(digit) and counts the rest.
template <typename Take>
CutDigits WalkSignificantDigits(const DecimalNumber& number, size_t limit, Take&& take)
{
    CutDigits cut;
    size_t taken = 0;
    auto walk = [&](const char* at, const char* end) {
        for (; at != end; ++at) {
            unsigned digit = static_cast<unsigned>(*at - '0');
            if (taken == 0 && digit == 0)
                continue;
            if (taken == limit) {
                ++cut.count;
                cut.nonzero |= digit != 0;
                continue;
            }
            take(digit);
            ++taken;
        }
    };
    walk(number.integer, number.integer + number.integer_count);
    walk(number.fraction, number.fraction + number.fraction_count);
    return cut;
}

// The first kExactDigitCount significant digits of D, and what follows them. Numbers of no more
// digits were accumulated while they were parsed; only longer ones are looked at again.
struct LeadingDigits {
    uint64_t digits = 0;
    CutDigits cut;
};

LeadingDigits ReadLeadingDigits(const DecimalNumber& number)
{
    LeadingDigits out;
    if (number.integer_count + number.fraction_count <= kExactDigitCount) {
        out.digits = number.digits;
        return out;
    }
    out.cut = WalkSignificantDigits(number, kExactDigitCount,
                                    [&out](unsigned digit) { out.digits = out.digits * 10 + digit; });
    return out;
}

// ---- the exact comparison ----

// Halfway points between doubles have at most 767 significant digits, so digits beyond this
// many can only move a value off one of them.
constexpr size_t kComparedDigits = 800;

// The number's first kComparedDigits significant digits as an integer, times 10^power.
struct ExactDigits {
    BigInteger value;
    int64_t power = 0;
    bool more = false;  // whether nonzero digits were cut off
};

ExactDigits ReadExactDigits(const DecimalNumber& number)
{
    constexpr uint32_t kChunkScale = 1000000000;  // nine digits at a time fit a limb
    ExactDigits out;
    uint32_t chunk = 0;
    uint32_t chunk_scale = 1;
    CutDigits cut = WalkSignificantDigits(number, kComparedDigits, [&](unsigned digit) {
        chunk = chunk * 10 + digit;
        chunk_scale *= 10;
        if (chunk_scale == kChunkScale) {
            out.value.MultiplyAdd(kChunkScale, chunk);
            chunk = 0;
            chunk_scale = 1;
        }
    });
    out.value.MultiplyAdd(chunk_scale, chunk);
    out.power = number.exponent - static_cast<int64_t>(number.fraction_count) + cut.count;
    out.more = cut.nonzero;
    return out;
}

// Whether the number lies above the halfway point after candidate, or at it with an odd
// candidate. The candidate must be at most one below the nearest double's mantissa, which
// RoundProduct's rounded-down mantissa always is.
bool RoundsUpExactly(const DecimalNumber& number, const Rounding& candidate)
{
    ExactDigits digits = ReadExactDigits(number);
    BigInteger halfway(2 * candidate.mantissa + 1);
    // digits * 10^power against halfway * 2^(exponent - 1): the fives go to one side, the
    // twos are evened out.
    if (digits.power >= 0)
        digits.value.MultiplyByPowerOfFive(static_cast<uint32_t>(digits.power));
    else
        halfway.MultiplyByPowerOfFive(static_cast<uint32_t>(-digits.power));
    int64_t shift = digits.power - (candidate.exponent - 1);
    if (shift > 0)
        digits.value.ShiftLeft(static_cast<uint32_t>(shift));
    else
        halfway.ShiftLeft(static_cast<uint32_t>(-shift));
    int order = BigInteger::Compare(digits.value, halfway);
    if (order == 0 && digits.more)
        order = 1;
    return order > 0 || (order == 0 && (candidate.mantissa & 1) != 0);
}

// ---- the exact fast case ----

// Both factors exact and one rounding: needs arithmetic in plain double precision (SSE2, not
// x87's extended registers).
constexpr bool kRoundsOnce = FLT_EVAL_METHOD == 0;
constexpr uint64_t kLargestExactMantissa = uint64_t(1) << kMantissaBits;
constexpr int kLargestExactPower = 22;  // 5^22 < 2^53
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

double DecimalToDouble(const DecimalNumber& number)
{
    LeadingDigits leading = ReadLeadingDigits(number);
    if (leading.digits == 0)
        return 0.0;
    int64_t power = number.exponent - static_cast<int64_t>(number.fraction_count) + leading.cut.count;
    if (kRoundsOnce && !leading.cut.nonzero && leading.digits <= kLargestExactMantissa &&
        power >= -kLargestExactPower && power <= kLargestExactPower) {
        double digits = static_cast<double>(leading.digits);
        return power >= 0 ? digits * kExactPowers[power] : digits / kExactPowers[-power];
    }
    if (power < kMinPowerOfTen)
        return 0.0;
    if (power > kMaxPowerOfTen)
        return ToDouble(Infinity());
    Rounding low = RoundScaled(leading.digits, static_cast<int>(power));
    if (!leading.cut.nonzero && low.sure)
        return ToDouble(low);
    // Cut-off digits put the value between the leading digits and the next integer: when both
    // round alike, so does everything between them.
    if (leading.cut.nonzero && low.sure) {
        Rounding high = RoundScaled(leading.digits + 1, static_cast<int>(power));
        if (high.sure && ToDouble(high) == ToDouble(low))
            return ToDouble(low);
    }
    low.up = RoundsUpExactly(number, low);
    return ToDouble(low);
}

double DecimalDigitsToDouble(const char* digits, int64_t exponent)
{
    DecimalNumber number;
    number.integer = digits;
    number.integer_count = static_cast<size_t>(ScanDigits(digits, number.digits) - digits);
    number.exponent = exponent;
    return DecimalToDouble(number);
}
