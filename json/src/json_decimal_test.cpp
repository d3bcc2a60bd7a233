#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "json_big_integer.h"
#include "json_decimal.h"
#include "json_powers_of_ten.h"
#include "json_test_util.h"

namespace {

double Convert(const std::string& digits)
{
    return DecimalDigitsToDouble(digits.c_str());
}

TEST(DecimalDigits, TiesRoundToEven)
{
    EXPECT_EQ(7.0, Convert("0007"));
    EXPECT_EQ(9007199254740992.0, Convert("9007199254740993"));          // 2^53 + 1
    EXPECT_EQ(9007199254740996.0, Convert("9007199254740995"));          // 2^53 + 3
    EXPECT_EQ(18446744073709551616.0, Convert("18446744073709553664"));  // 2^64 + 2048: tie, even
    EXPECT_EQ(18446744073709555712.0, Convert("18446744073709553665"));  // just above the tie
    EXPECT_EQ(18446744073709551616.0, Convert("18446744073709553663"));  // just below
}

TEST(DecimalDigits, BeyondTheLargestDoubleIsInfinite)
{
    char max[400];
    std::snprintf(max, sizeof(max), "%.0f", DBL_MAX);
    EXPECT_EQ(DBL_MAX, Convert(max));
    EXPECT_TRUE(std::isinf(Convert("1" + std::string(309, '0'))));
    EXPECT_TRUE(std::isinf(Convert(std::string(100000, '9'))));
}

// The printer writes integral doubles digit for digit; reading the digits must give the double.
TEST(DecimalDigits, ReadsPrintedIntegralDoublesBackExactly)
{
    std::mt19937_64 random(77);
    std::uniform_real_distribution<double> exponent(15.0, 308.0);
    for (int i = 0; i < 20000; ++i) {
        double value = std::floor(std::pow(10.0, exponent(random)));
        char digits[400];
        std::snprintf(digits, sizeof(digits), "%.0f", value);
        ASSERT_EQ(value, Convert(digits)) << digits;
    }
}

}  // namespace

namespace {

double Read(const std::string& text)
{
    Tree tree = Parse(text);
    return tree ? tree->valuedouble : std::nan("");
}

uint64_t Bits(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// The compiler converts the literals, correctly rounded, on every platform.
TEST(DecimalReading, GivesTheNearestDouble)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0.3", 0.3},
        {"0.1", 0.1},
        {"2.675", 2.675},
        {"1e23", 1e23},
        {"8.98846567431158e307", 8.98846567431158e307},
        {"1.3687007555027733e-306", 1.3687007555027733e-306},
        {"2.2250738585072014e-308", 2.2250738585072014e-308},  // the smallest normal double
        {"2.2250738585072011e-308", 2.2250738585072011e-308},  // the largest subnormal
        {"4.9406564584124654e-324", 4.9406564584124654e-324},  // the smallest subnormal
        {"2.4703282292062328e-324", 4.9406564584124654e-324},  // just above half of it
        {"2.4703282292062327e-324", 0.0},                      // just below
        {"1.7976931348623157e308", DBL_MAX},
        {"1.7976931348623158e308", DBL_MAX},
        {"1.7976931348623159e308", HUGE_VAL},  // past halfway to 2^1024
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"0.000000000000000000000000000001234567890123456789", 1.234567890123456789e-30},
        {"7.0e-10", 7.0e-10},
        {"9007199254740993.0", 9007199254740992.0},  // ties go to the even mantissa
        {"9007199254740995.0", 9007199254740996.0},
        {"-0.0", -0.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bits(c.value), Bits(Read(c.text))) << c.text;
}

// Beyond 19 digits only the leading ones are accumulated; the rest must still decide ties and
// must not overflow the scale.
TEST(DecimalReading, LongMantissasRoundOnEveryDigit)
{
    std::string tie = "9007199254740993.";
    EXPECT_EQ(9007199254740992.0, Read(tie + std::string(1000, '0')));
    EXPECT_EQ(9007199254740994.0, Read(tie + std::string(1000, '0') + "1"));
    EXPECT_EQ(1.1111111111111111e0, Read(std::string(400, '1') + "e-399"));
    EXPECT_EQ(0.3333333333333333, Read("0." + std::string(400, '3')));
    EXPECT_EQ(1e-300, Read("0." + std::string(299, '0') + "1" + std::string(400, '0')));
    // Half the smallest subnormal, 2^-1075,
    // is 2.47032822920623272088284396434110686182529901307162382212792841250...e-324
    std::string half_smallest = "0." + std::string(323, '0') + "247032822920623272088284396434110686182529901307162382";
    EXPECT_EQ(4.9406564584124654e-324, Read(half_smallest + "21279284125033775364"));
    EXPECT_EQ(0.0, Read(half_smallest + "21279284125033775363"));
    EXPECT_EQ(HUGE_VAL, Read("1" + std::string(400, '0')));
}

// A decimal text one unit lower in its last digit.
std::string Decremented(std::string digits)
{
    size_t at = digits.size();
    while (digits[--at] == '0')
        digits[at] = '9';
    --digits[at];
    return digits;
}

// Halfway points between neighbouring doubles, written out exactly: they go to the even one, and
// the least digit more or less decides.
TEST(DecimalReading, HalfwayPointsRoundToEven)
{
    std::mt19937_64 random(5);
    for (int i = 0; i < 3000; ++i) {
        const uint64_t kHidden = uint64_t(1) << 52;
        uint64_t mantissa = (random() >> 11) | kHidden;
        int exponent = -1074 + static_cast<int>(random() % 2046);  // of the last mantissa bit
        if (i % 5 == 0 || i == 1) {
            mantissa = i == 1 ? 0 : mantissa - kHidden;  // subnormal
            exponent = -1074;
        }
        if (i == 0) {
            mantissa = 2 * kHidden - 1;  // the largest double: up rounds to infinity
            exponent = 971;
        }
        // (2m + 1) * 2^(exponent - 1) as digits * 10^power
        BigInteger halfway(2 * mantissa + 1);
        int power = exponent - 1;
        if (power >= 0) {
            halfway.ShiftLeft(static_cast<uint32_t>(power));
            power = 0;
        } else {
            halfway.MultiplyByPowerOfFive(static_cast<uint32_t>(-power));
        }
        std::string digits;
        while (!halfway.IsZero())
            digits.insert(digits.begin(), static_cast<char>('0' + halfway.DivideBy(10)));
        double below = std::ldexp(static_cast<double>(mantissa), exponent);
        double above = std::ldexp(static_cast<double>(mantissa + 1), exponent);
        double even = (mantissa & 1) == 0 ? below : above;
        std::string exact = digits + "e" + std::to_string(power);
        ASSERT_EQ(Bits(even), Bits(Read(exact))) << exact;
        ASSERT_EQ(Bits(above), Bits(Read(digits + "0000000001e" + std::to_string(power - 10)))) << exact;
        std::string just_below = Decremented(digits) + std::string(30, '9') + "e" + std::to_string(power - 30);
        ASSERT_EQ(Bits(below), Bits(Read(just_below))) << exact;
    }
}

// The sign of x - 10^q * 2^twos, computed on whole numbers.
int CompareWithPower(BigInteger x, int q, int twos)
{
    BigInteger power(1);
    if (q >= 0)
        power.MultiplyByPowerOfFive(static_cast<uint32_t>(q));
    else
        x.MultiplyByPowerOfFive(static_cast<uint32_t>(-q));
    twos += q;
    if (twos >= 0)
        power.ShiftLeft(static_cast<uint32_t>(twos));
    else
        x.ShiftLeft(static_cast<uint32_t>(-twos));
    return BigInteger::Compare(x, power);
}

// The table is what exact integer arithmetic gives: 10^q rounded down to 128 bits.
TEST(DecimalReading, PowersOfTenAreExactPowersRoundedDown)
{
    for (int q = kMinPowerOfTen; q <= kMaxPowerOfTen; ++q) {
        const PowerOfTen& ten = kPowersOfTen[q - kMinPowerOfTen];
        ASSERT_NE(0u, ten.high >> 63) << q;
        BigInteger table(ten.high);
        table.ShiftLeft(32);
        table.MultiplyAdd(1, static_cast<uint32_t>(ten.low >> 32));
        table.ShiftLeft(32);
        table.MultiplyAdd(1, static_cast<uint32_t>(ten.low));
        BigInteger next = table;
        next.MultiplyAdd(1, 1);
        int twos = 127 - BinaryExponentOfPowerOfTen(q);
        ASSERT_LE(CompareWithPower(table, q, twos), 0) << q;
        ASSERT_GT(CompareWithPower(next, q, twos), 0) << q;
    }
}

#if defined(__GLIBC__)
// glibc's strtod is correctly rounded, so here it is the reference: every double written with 1
// to 17 digits, and digit runs of up to 40 digits at every scale.
TEST(DecimalReading, AgreesWithACorrectlyRoundedLibrary)
{
    std::mt19937_64 random(2024);
    char text[64];
    for (int i = 0; i < 200000; ++i) {
        uint64_t bits = random() >> 1;
        double value;
        std::memcpy(&value, &bits, sizeof(value));
        if (!std::isfinite(value))
            continue;
        std::snprintf(text, sizeof(text), "%.*e", i % 17, value);
        ASSERT_EQ(Bits(std::strtod(text, nullptr)), Bits(Read(text))) << text;
    }
    for (int i = 0; i < 100000; ++i) {
        std::string digits(1 + random() % 40, '0');
        for (char& digit : digits)
            digit = static_cast<char>('0' + random() % 10);
        digits[0] = static_cast<char>('1' + random() % 9);  // JSON has no leading zeros
        if (i % 4 == 0)
            digits = "0." + std::string(random() % 30, '0') + digits;
        else
            digits.insert(1 + random() % digits.size(), ".");
        if (digits.back() == '.')
            digits += '0';
        std::string number = digits + "e" + std::to_string(static_cast<int>(random() % 680) - 360);
        ASSERT_EQ(Bits(std::strtod(number.c_str(), nullptr)), Bits(Read(number))) << number;
    }
}
#endif

}  // namespace
