#include "ui/base/dpi/display_scale.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

class DisplayScaleTest : public testing::Test {
 protected:
  ~DisplayScaleTest() override { scale().OverrideForTesting(100, false); }
  static DisplayScale& scale() { return DisplayScale::Instance(); }
};

TEST_F(DisplayScaleTest, NothingScalesWithoutAdaptationOrAtOneHundredPercent) {
  for (const bool adapt : {false, true}) {
    scale().OverrideForTesting(adapt ? 100 : 150, adapt);
    int value = 15;
    EXPECT_EQ(scale().ScaleValue(value), 15);
    EXPECT_EQ(value, 15);
    RECT rect = {1, 2, 30, 40};
    scale().ScaleRectangle(rect);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 40);
  }
}

TEST_F(DisplayScaleTest, ValuesRoundHalvesAwayFromZero) {
  scale().OverrideForTesting(125, true);
  struct Case {
    int in;
    int out;
  } cases[] = {{10, 13}, {-10, -13}, {0, 0}, {4, 5}, {8, 10}, {9999999, 12499999}};
  for (const Case& c : cases) {
    int value = c.in;
    EXPECT_EQ(scale().ScaleValue(value), c.out) << c.in;
    EXPECT_EQ(value, c.out) << c.in;
  }
}

TEST_F(DisplayScaleTest, RectanglesKeepTheirScaledSizeWhereverTheySit) {
  scale().OverrideForTesting(150, true);
  RECT rect = {1, 1, 4, 4};
  scale().ScaleRectangle(rect);
  EXPECT_EQ(rect.left, 2);
  EXPECT_EQ(rect.top, 2);
  EXPECT_EQ(rect.right, 7);  // the size 3 becomes 4.5, rounded to 5, added to 2
  EXPECT_EQ(rect.bottom, 7);

  // The same size elsewhere gives the same scaled size.
  RECT moved = {10, 20, 13, 23};
  scale().ScaleRectangle(moved);
  EXPECT_EQ(moved.right - moved.left, 5);
  EXPECT_EQ(moved.bottom - moved.top, 5);
}

TEST_F(DisplayScaleTest, ScaleFromDpiOnlyWhileAdapting) {
  scale().OverrideForTesting(100, false);
  scale().SetScaleFromDpi(144);
  EXPECT_EQ(scale().scale(), 100);

  scale().OverrideForTesting(100, true);
  const struct {
    int dpi;
    int percent;
  } cases[] = {{120, 125}, {144, 150}, {192, 200}, {96, 100}};
  for (const auto& c : cases) {
    scale().SetScaleFromDpi(c.dpi);
    EXPECT_EQ(scale().scale(), c.percent) << c.dpi;
  }
}

TEST_F(DisplayScaleTest, AdaptationFollowsTheMonitorAtTheTopLeft) {
  const int dpi = DisplayScale::MonitorDpi(MonitorFromPoint({1, 1}, MONITOR_DEFAULTTONEAREST));
  EXPECT_GT(dpi, 0);
  scale().EnableAdaptation();
  EXPECT_TRUE(scale().adapt());
  EXPECT_EQ(scale().scale(), MulDiv(dpi, 100, 96));
}

}  // namespace
}  // namespace ui
