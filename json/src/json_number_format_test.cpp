#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "json_number_format.h"
#include "json_test_util.h"

namespace {

std::string Double(double value)
{
    char text[kDoubleTextSize];
    size_t length = FormatDouble(value, text);
    EXPECT_EQ(std::strlen(text), length);
    return text;
}

std::string Printf(const char* format, double value)
{
    char text[512];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

TEST(IntegerFormat, ExtremesFitTheBuffer)
{
    char text[kIntegerTextSize];
    EXPECT_EQ(20u, FormatSigned(INT64_MIN, text));
    EXPECT_STREQ("-9223372036854775808", text);
    EXPECT_EQ(19u, FormatSigned(INT64_MAX, text));
    EXPECT_STREQ("9223372036854775807", text);
    EXPECT_EQ(20u, FormatUnsigned(UINT64_MAX, text));
    EXPECT_STREQ("18446744073709551615", text);
    EXPECT_EQ(1u, FormatSigned(0, text));
    EXPECT_STREQ("0", text);
    FormatUnsigned(4294967296u, text);
    EXPECT_STREQ("4294967296", text);
    FormatSigned(-4294967295, text);
    EXPECT_STREQ("-4294967295", text);
}

TEST(DoubleFormat, IntegralValuesHaveNoFraction)
{
    EXPECT_EQ("1", Double(1.0));
    EXPECT_EQ("-3", Double(-3.0));
    EXPECT_EQ("-0", Double(-0.0));
    EXPECT_EQ("0", Double(1e-17));  // within 2^-52 of an integer
    EXPECT_EQ("0", Double(4.9406564584124654e-324));
    EXPECT_EQ("100000000000000000000", Double(1e20));
    EXPECT_EQ(Printf("%.0f", 9223372036854775808.0), Double(9223372036854775808.0));
}

TEST(DoubleFormat, IntegralValuesTooLongForTheBufferUseExponentForm)
{
    EXPECT_EQ(Printf("%.0f", 1e62), Double(1e62));  // 63 digits still fit
    EXPECT_EQ("1e+63", Double(1e63));
    EXPECT_EQ("-1e+62", Double(-1e62));  // the sign makes 64 characters
    EXPECT_EQ("1.7976931348623157e+308", Double(1.7976931348623157e308));
}

double ReadBack(const std::string& text)
{
    Tree tree = Parse(text);
    return tree ? tree->valuedouble : std::nan("");
}

// A text in exponent form taken apart: its significant digits without trailing zeros, and the
// power of ten of the first. "-6.0708e+82" and "607080e77" both give {"60708", 82}.
struct Decimal {
    std::string digits;
    int exponent = 0;
    bool operator==(const Decimal& other) const { return digits == other.digits && exponent == other.exponent; }
};

Decimal Significand(const std::string& text)
{
    size_t sign = text[0] == '-' ? 1 : 0;
    size_t end = text.find('e');
    Decimal decimal{text.substr(sign, end - sign), 0};
    size_t point = decimal.digits.find('.');
    if (point != std::string::npos)
        decimal.digits.erase(point, 1);
    decimal.exponent = static_cast<int>(std::min(point, decimal.digits.size())) - 1 + std::stoi(text.substr(end + 1));
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0')
        decimal.digits.pop_back();
    return decimal;
}

std::string Incremented(std::string digits)
{
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
        digits[--i] = '0';
    if (i == 0)
        digits.insert(0, "1");
    else
        ++digits[i - 1];
    return digits;
}

// The texts of `count` significant digits just below (or at) and just above an integral value,
// cut from its exact digits, and which of them lies nearer to it (both on a tie).
struct Neighbours {
    std::string below;
    std::string above;
    bool below_nearer;
    bool above_nearer;
};

Neighbours NeighboursWithDigits(const std::string& exact, size_t count)
{
    std::string scale = "e" + std::to_string(exact.size() - count);
    std::string kept = exact.substr(0, count);
    std::string rest = exact.substr(count);
    std::string half = "5" + std::string(rest.size() - 1, '0');
    return {kept + scale, Incremented(kept) + scale, rest <= half, rest >= half};
}

// An integral double too long for the buffer prints with the fewest significant digits that read
// back as itself and, of the texts with that many, the nearest one that does. Checked against
// the exact digits printf gives, on both sides of the value, rather than by redoing the search.
void ExpectShortestRoundTrip(double value)
{
    std::string text = Double(value);
    ASSERT_EQ(value, ReadBack(text)) << text;
    if (text.find('e') == std::string::npos) {
        EXPECT_EQ(Printf("%.0f", value), text);
        return;
    }
    double magnitude = std::fabs(value);
    std::string exact = Printf("%.0f", magnitude);
    Decimal printed = Significand(text);
    size_t count = printed.digits.size();
    if (count > 1) {
        Neighbours shorter = NeighboursWithDigits(exact, count - 1);
        EXPECT_NE(magnitude, ReadBack(shorter.below)) << text << " " << shorter.below;
        EXPECT_NE(magnitude, ReadBack(shorter.above)) << text << " " << shorter.above;
    }
    Neighbours same = NeighboursWithDigits(exact, count);
    bool below_reads_back = ReadBack(same.below) == magnitude;
    bool above_reads_back = ReadBack(same.above) == magnitude;
    bool below_fits = below_reads_back && (same.below_nearer || !above_reads_back);
    bool above_fits = above_reads_back && (same.above_nearer || !below_reads_back);
    EXPECT_TRUE((below_fits && Significand(same.below) == printed) ||
                (above_fits && Significand(same.above) == printed))
        << text << " " << same.below << " " << same.above;
}

TEST(DoubleFormat, LongIntegralValuesReadBackWithTheFewestDigits)
{
    EXPECT_EQ("1e+300", Double(1e300));
    EXPECT_EQ("-2.5e+200", Double(-2.5e200));
    EXPECT_EQ("1.2345678901234567e+89", Double(1.2345678901234567e89));
    double value = DBL_MAX;
    for (int i = 0; i < 2000; ++i, value = std::nextafter(value, 0.0))
        ExpectShortestRoundTrip(value);
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> exponent(63.0, 308.25);
    for (int i = 0; i < 20000; ++i)
        ExpectShortestRoundTrip(std::pow(10.0, exponent(random)) * ((i & 1) ? -1 : 1));
}

// From a power of two the next double down is half as far as the next one up, so the text
// nearest to it may not read back while one as short on the far side does.
TEST(DoubleFormat, PowersOfTwoReadBackWithTheFewestDigits)
{
    EXPECT_EQ("6.070840288205404e+82", Double(std::ldexp(1.0, 275)));  // not ...4033e+82
    EXPECT_EQ("-6.070840288205404e+82", Double(-std::ldexp(1.0, 275)));
    for (int exponent = 63; exponent <= 1023; ++exponent) {
        double power = std::ldexp(1.0, exponent);
        ExpectShortestRoundTrip(power);
        ExpectShortestRoundTrip(std::nextafter(power, 0.0));
        ExpectShortestRoundTrip(-std::nextafter(power, HUGE_VAL));
    }
}

TEST(DoubleFormat, RandomLongIntegralValuesReadBackWithTheFewestDigits)
{
    std::mt19937_64 random(275);
    std::uniform_int_distribution<uint64_t> biased_exponent(1023 + 63, 2046);
    std::uniform_int_distribution<uint64_t> fraction(0, (uint64_t(1) << 52) - 1);
    for (int i = 0; i < 50000; ++i) {
        uint64_t bits = biased_exponent(random) << 52 | fraction(random);
        double value = 0;
        std::memcpy(&value, &bits, sizeof(value));
        ExpectShortestRoundTrip((i & 1) ? -value : value);
    }
}

TEST(DoubleFormat, NonFiniteValuesStayParseable)
{
    EXPECT_EQ("1e999", Double(HUGE_VAL));
    EXPECT_EQ("-1e999", Double(-HUGE_VAL));
    EXPECT_EQ("null", Double(std::nan("")));
}

TEST(DoubleFormat, OtherValuesHaveSixDecimals)
{
    EXPECT_EQ("0.500000", Double(0.5));
    EXPECT_EQ("0.000000", Double(1e-7));
    EXPECT_EQ("-0.000000", Double(-1e-7));
    EXPECT_EQ("1234.567800", Double(1234.5678));
    EXPECT_EQ("1.000000", Double(0.9999996));
    EXPECT_EQ("10.000000", Double(9.9999999));
    EXPECT_EQ("-2.250000", Double(-2.25));
    EXPECT_EQ("4503599627370495.500000", Double(4503599627370495.5));
    EXPECT_EQ("-0.000000", Double(-4.9406564584124654e-324));
}

TEST(DoubleFormat, ExactTiesRoundToEven)
{
    EXPECT_EQ("0.007812", Double(0.0078125));  // 2^-7: exactly 7812.5 millionths
    EXPECT_EQ("0.023438", Double(0.0234375));
    EXPECT_EQ(Printf("%f", 1.0000005), Double(1.0000005));  // no tie in binary
}

// The fixed formatting is computed without printf; it must agree with printf everywhere.
TEST(DoubleFormat, MatchesPrintfOnRandomValues)
{
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> exponent(-30.0, 16.0);
    std::uniform_int_distribution<int> decimals(0, 9);
    for (int i = 0; i < 200000; ++i) {
        double value = std::pow(10.0, exponent(random)) * ((i & 1) ? -1 : 1);
        if (i % 3 == 0)  // short decimal texts as servers send them
            value = std::round(value * std::pow(10.0, decimals(random))) / std::pow(10.0, decimals(random));
        bool integral = std::fabs(std::floor(value) - value) <= 2.220446049250313e-16;
        ASSERT_EQ(Printf(integral ? "%.0f" : "%f", value), Double(value)) << value;
    }
}

}  // namespace
