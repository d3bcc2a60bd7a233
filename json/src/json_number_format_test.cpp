#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "json_number_format.h"

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
    EXPECT_EQ("1.79769313486232e+308", Double(1.7976931348623157e308));
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
