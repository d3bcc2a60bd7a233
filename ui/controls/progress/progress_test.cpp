#include "ui/controls/progress/progress.h"

#include <gtest/gtest.h>

#include "ui/base/resource/resource_hub.h"
#include "ui/controls/testing/paint_target.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

constexpr DWORD kRed = 0xFFFF0000;

class ProgressTest : public testing::Test {
 protected:
  ProgressTest() { progress_.SetPos({0, 0, 200, 10}); }
  void Set(const wchar_t* name, const wchar_t* value) { progress_.SetAttribute(name, value); }
  void Paint() { progress_.PaintStateImages(target_.Context()); }

  PaintTarget target_{200, 10};
  Progress progress_;
};

TEST_F(ProgressTest, DefaultsAreACentredTwelvePixelBar) {
  EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_SINGLELINE), progress_.GetTextStyle());
  EXPECT_EQ(12, progress_.GetFixedHeight());
  ScopedDisplayScale scale(150, true);
  EXPECT_EQ(18, Progress().GetFixedHeight());
}

TEST_F(ProgressTest, PaintKeepsTheValueInsideTheRange) {
  Set(L"value", L"150");
  Paint();
  EXPECT_EQ(100.0, progress_.GetValue());
  Set(L"value", L"-5");
  Paint();
  EXPECT_EQ(0.0, progress_.GetValue());
  // An empty or inverted range grows to one step above the minimum.
  Set(L"min", L"40");
  Set(L"max", L"30");
  Set(L"value", L"35");
  Paint();
  EXPECT_EQ(41, progress_.GetMaxValue());
  EXPECT_EQ(40.0, progress_.GetValue());
  // At the top of the int range the step goes below the maximum instead of wrapping.
  Set(L"min", L"2147483647");
  Set(L"max", L"2147483647");
  Paint();
  EXPECT_LT(progress_.GetMinValue(), progress_.GetMaxValue());
}

TEST_F(ProgressTest, FillFollowsTheValueHorizontallyAndFromTheBottom) {
  Set(L"value", L"25");
  EXPECT_EQ(50, progress_.GetProgressPos().right);
  EXPECT_EQ(10, progress_.GetProgressPos().bottom);
  Set(L"hor", L"false");
  progress_.SetPos({0, 0, 10, 200});
  EXPECT_EQ(150, progress_.GetProgressPos().top);
  Set(L"value", L"100");
  EXPECT_EQ(0, progress_.GetProgressPos().top);
}

TEST_F(ProgressTest, ColourFillsOnlyTheDonePart) {
  ASSERT_TRUE(target_.Ready());
  ResourceHub::AddTextColor(L"progress_test_red", L"#FFFF0000");
  Set(L"progresscolor", L"  progress_test_red");
  EXPECT_EQ(L"progress_test_red", progress_.GetProgressColor());
  Set(L"value", L"30");
  Paint();
  EXPECT_EQ(kRed, target_.At(59, 5));
  EXPECT_NE(kRed, target_.At(60, 5));
}

}  // namespace
}  // namespace ui
