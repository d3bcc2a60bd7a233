#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "json_decimal.h"

namespace {

double Convert(const std::string& digits)
{
    return DecimalDigitsToDouble(digits.data(), digits.size());
}

TEST(DecimalDigits, TiesRoundToEven)
{
    EXPECT_EQ(7.0, Convert("0007"));
    EXPECT_EQ(9007199254740992.0, Convert("9007199254740993"));  // 2^53 + 1
    EXPECT_EQ(9007199254740996.0, Convert("9007199254740995"));  // 2^53 + 3
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
