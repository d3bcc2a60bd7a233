#include "ui/controls/scroll/scaled_div.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace ui {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(ScaledDivTest, TruncatesTowardZeroLikePlainArithmetic) {
  EXPECT_EQ(7 * 300 / 1000, ScaledDiv(7, 300, 1000));
  EXPECT_EQ(-7 * 300 / 1000, ScaledDiv(-7, 300, 1000));
  EXPECT_EQ(7 * 300 / -1000, ScaledDiv(7, 300, -1000));
  EXPECT_EQ(-5 / 2, ScaledDiv(-5, 1, 2));
  EXPECT_EQ(0, ScaledDiv(0, kMax, 3));
}

TEST(ScaledDivTest, ProductsBeyondSixtyFourBitsStayExact) {
  // 270 * (2^62) / (2^62 + 7) would overflow when multiplied directly.
  const int64_t big = int64_t{1} << 62;
  EXPECT_EQ(269, ScaledDiv(270, big, big + 7));
  EXPECT_EQ(270, ScaledDiv(270, big, big));
  EXPECT_EQ(135, ScaledDiv(270, big, kMax));
  EXPECT_EQ(-135, ScaledDiv(-270, big, kMax));
}

TEST(ScaledDivTest, QuotientsBeyondTheRangeSaturate) {
  EXPECT_EQ(kMax, ScaledDiv(kMax, 4, 2));
  EXPECT_EQ(kMin, ScaledDiv(kMin, 4, 2));
  EXPECT_EQ(kMin, ScaledDiv(kMin, 1, 1));
  EXPECT_EQ(0, ScaledDiv(5, 5, 0));
}

}  // namespace
}  // namespace ui
