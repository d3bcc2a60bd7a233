#include "ui/controls/progress/slider.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/button/button_test_support.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

// A 100 x 20 slider at x 50 in a headless window, thumb 10 x 10, range 0 to 100. The handler of
// the value-change event records the value it sees.
class SliderTest : public testing::Test {
 protected:
  SliderTest() {
    slider_->SetAttribute(L"float", L"true");
    slider_->SetPos(kRect);
    slider_->AttachEvent(kEventValueChange, [this](EventArgs*) {
      reported_.push_back(slider_->GetValue());
      return true;
    });
  }
  void Send(EventType type, int x, int y = 10, WPARAM wparam = 0, LPARAM lparam = 1) {
    EventArgs args;
    args.type = type;
    args.sender = slider_;
    args.ptMouse = {x, y};
    args.wParam = wparam;
    args.lParam = lparam;
    slider_->DispatchEvent(args);
  }
  void Click(int x) {
    Send(kEventMouseButtonDown, x);
    Send(kEventMouseButtonUp, x);
  }

  static constexpr RECT kRect = {50, 0, 150, 20};
  testing_support::Attached<Slider> attached_;
  Slider* slider_ = attached_.control;
  std::vector<double> reported_;
};

TEST_F(SliderTest, ThumbAndFillFollowTheValue) {
  slider_->SetValue(50);
  const RECT thumb = slider_->GetThumbRect();
  EXPECT_EQ(95, thumb.left);  // 50 + 90 x 0.5
  EXPECT_EQ(105, thumb.right);
  EXPECT_EQ(5, thumb.top);
  EXPECT_EQ(15, thumb.bottom);
  EXPECT_EQ(50, slider_->GetProgressPos().right);  // 45 + 5 + 0.5, truncated
  slider_->SetAttribute(L"hor", L"false");
  slider_->SetPos({0, 0, 20, 110});
  slider_->SetValue(100);
  EXPECT_EQ(0, slider_->GetThumbRect().top);
  EXPECT_EQ(5, slider_->GetProgressPos().top);
  slider_->SetValue(0);
  EXPECT_EQ(100, slider_->GetThumbRect().top);

  // Exact whole-pixel positions stay whole: 100 x 55 / 100 is 45, not 44.99... truncated to 44.
  slider_->SetValue(55);
  EXPECT_EQ(45, slider_->GetThumbRect().top);
  slider_->SetAttribute(L"hor", L"true");
  slider_->SetPos({0, 0, 100, 20});
  slider_->SetValue(70);
  EXPECT_EQ(63, slider_->GetThumbRect().left);  // 90 x 70 / 100
  slider_->SetPos({0, 0, 160, 20});
  slider_->SetValue(57);
  EXPECT_EQ(91, slider_->GetProgressPos().right);  // 150 x 57 / 100 = 85.5, + 5 + 0.5
}

TEST_F(SliderTest, ReleaseSetsTheValueUnderThePoint) {
  Click(55);
  EXPECT_EQ(0.0, slider_->GetValue());
  Click(145);
  EXPECT_EQ(100.0, slider_->GetValue());
  Click(100);
  EXPECT_DOUBLE_EQ(45 * 100 / 90.0, slider_->GetValue());
  EXPECT_EQ(3u, reported_.size());
}

TEST_F(SliderTest, DragMovesWithoutEventsUntilTheRelease) {
  Send(kEventMouseButtonDown, 55);  // on the thumb at value 0
  EXPECT_TRUE(slider_->IsMouseFocused());
  Send(kEventMouseMove, 100);
  EXPECT_DOUBLE_EQ(50.0, slider_->GetValue());
  EXPECT_TRUE(reported_.empty());
  Send(kEventMouseButtonUp, 145);
  EXPECT_FALSE(slider_->IsMouseFocused());
  EXPECT_EQ((std::vector<double>{100.0}), reported_);
  Send(kEventMouseMove, 60);  // no drag any more
  EXPECT_EQ(100.0, slider_->GetValue());
}

TEST_F(SliderTest, ReleasesWithoutAPressOrAPointDoNotMoveTheValue) {
  slider_->SetValue(30);
  Send(kEventMouseButtonUp, 145);  // pressed elsewhere, released here
  EXPECT_EQ(30.0, slider_->GetValue());
  // The window's clean-up release when it closes during a press carries nothing.
  Send(kEventMouseButtonDown, 120);
  Send(kEventMouseButtonUp, 0, 0, 0, 0);
  EXPECT_EQ(30.0, slider_->GetValue());
  EXPECT_TRUE(reported_.empty());
  slider_->SetEnabled(false);
  Click(145);
  EXPECT_EQ(30.0, slider_->GetValue());
}

TEST_F(SliderTest, WheelStepsAndReportsValuesInsideTheRange) {
  slider_->SetAttribute(L"step", L"30");
  slider_->SetValue(80);
  Send(kEventMouseScrollWheel, 100, 10, static_cast<WPARAM>(120));
  Send(kEventMouseScrollWheel, 100, 10, static_cast<WPARAM>(-120));
  Send(kEventMouseScrollWheel, 100, 10, 0);  // no delta counts as down
  Send(kEventMouseScrollWheel, 100, 10, 0);
  Send(kEventMouseScrollWheel, 100, 10, 0);
  EXPECT_EQ((std::vector<double>{100.0, 70.0, 40.0, 10.0, 0.0}), reported_);
}

TEST_F(SliderTest, MouseDisabledSliderPassesMouseEventsToItsParent) {
  int parent_downs = 0;
  attached_.root->AttachBubbledEvent(kEventMouseButtonDown, [&](EventArgs*) {
    ++parent_downs;
    return true;
  });
  slider_->SetMouseEnabled(false);
  Click(55);
  EXPECT_EQ(1, parent_downs);
  EXPECT_FALSE(slider_->IsMouseFocused());
  EXPECT_TRUE(reported_.empty());
}

TEST(SliderAttributeTest, SizesAreScaledWhenStored) {
  Slider slider;
  EXPECT_EQ(10, slider.GetThumbSize().cx);  // the default is not scaled
  ScopedDisplayScale scale(150, true);
  slider.SetAttribute(L"thumbsize", L"20,12");
  EXPECT_EQ(30, slider.GetThumbSize().cx);
  EXPECT_EQ(18, slider.GetThumbSize().cy);
  slider.SetAttribute(L"progressbarpadding", L"2,2,2,2");
  EXPECT_EQ(3, slider.GetProgressBarPadding().left);
  EXPECT_EQ(3, slider.GetProgressBarPadding().bottom);
}

}  // namespace
}  // namespace ui
