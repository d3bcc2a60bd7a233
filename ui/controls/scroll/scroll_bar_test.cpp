#include "ui/controls/scroll/scroll_bar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/testing/manual_timer_backend.h"
#include "ui/base/timer/timer_manager.h"
#include "ui/controls/box/box.h"
#include "ui/controls/scroll/scroll_bar_owner.h"
#include "ui/windowing/markup/markup_builder.h"

// Found by argument-dependent lookup, so it must live where RECT does.
static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace ui {
namespace {

using testing_support::ManualTimerBackend;

// An owner that records the scrolling actions its bars forward.
class RecordingOwner : public Box, public ScrollBarOwner {
 public:
  Control* OwnerControl() override { return this; }
  SIZE GetScrollPos() override { return pos; }
  void SetScrollPos(SIZE new_pos) override {
    pos = new_pos;
    calls.push_back("SetScrollPos");
  }
  void LineUp(int delta, bool animate) override { Record("LineUp", delta == -1 && animate); }
  void LineDown(int delta, bool animate) override { Record("LineDown", delta == -1 && animate); }
  void LineLeft(int delta) override { Record("LineLeft", delta == -1); }
  void LineRight(int delta) override { Record("LineRight", delta == -1); }
  void PageUp() override { calls.push_back("PageUp"); }
  void PageDown() override { calls.push_back("PageDown"); }
  void PageLeft() override { calls.push_back("PageLeft"); }
  void PageRight() override { calls.push_back("PageRight"); }
  void HandleEvent(EventArgs& args) override { received.push_back(args.type); }

  SIZE pos = {7, 40};
  std::vector<std::string> calls;
  std::vector<EventType> received;

 private:
  // Bars always ask for one full, animated step.
  void Record(const char* name, bool full_step) {
    calls.push_back(full_step ? name : std::string(name) + "(partial)");
  }
};

// A vertical bar 16 x 200 at the origin, driven by a manual repeat timer.
class ScrollBarTest : public ::testing::Test {
 protected:
  ScrollBarTest() : timers_(std::make_unique<ManualTimerBackend>(&now_)) {
    bar_.SetTimerManager(&timers_);
    bar_.SetPos({0, 0, 16, 200});
  }

  void Press(int x, int y) { bar_.SendEvent(kEventMouseButtonDown, 0, 0, 0, 0.0f, x, y); }
  void Release(int x, int y) { bar_.SendEvent(kEventMouseButtonUp, 0, 0, 0, 0.0f, x, y); }
  void Move(int x, int y) { bar_.SendEvent(kEventMouseMove, 0, 0, 0, 0.0f, x, y); }
  void AdvanceTicks(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      now_ += ScrollBar::kRepeatPeriodMs;
      timers_.Tick(now_);
    }
  }

  int64_t now_ = 0;
  TimerManager timers_;
  ScrollBar bar_;
};

// --- geometry ---

TEST_F(ScrollBarTest, ThumbLengthFollowsTheShareOfTheViewAndEndsAtButtonTwo) {
  EXPECT_EQ((RECT{0, 0, 16, 16}), bar_.GetButton1Rect());
  EXPECT_EQ((RECT{0, 184, 16, 200}), bar_.GetButton2Rect());
  // 200 * 168 / (200 + 100) = 112.
  EXPECT_EQ((RECT{0, 16, 16, 128}), bar_.GetThumbRect());
  bar_.SetScrollPos(100);
  EXPECT_EQ((RECT{0, 72, 16, 184}), bar_.GetThumbRect());
}

TEST_F(ScrollBarTest, HugeRangesKeepTheMinimumThumbInsideTheRail) {
  bar_.SetScrollRange(1000000);
  EXPECT_EQ((RECT{0, 16, 16, 46}), bar_.GetThumbRect());
  bar_.SetScrollRange(std::numeric_limits<int64_t>::max());
  bar_.SetScrollPos(std::numeric_limits<int64_t>::max());
  EXPECT_EQ((RECT{0, 154, 16, 184}), bar_.GetThumbRect());
  bar_.SetScrollPos(int64_t{1} << 62);  // half the range, without overflowing on the way
  EXPECT_EQ(16 + 69, bar_.GetThumbRect().top);
}

TEST_F(ScrollBarTest, RangeZeroHidesTheBarAndTheThumbFillsTheRail) {
  bar_.SetScrollRange(0);
  EXPECT_FALSE(bar_.IsVisible());
  EXPECT_EQ((RECT{0, 16, 16, 184}), bar_.GetThumbRect());
}

TEST_F(ScrollBarTest, ShortBarSharesItsLengthBetweenTheButtonsWithoutAThumb) {
  bar_.SetPos({0, 0, 16, 40});  // rail 8 is not longer than a button
  EXPECT_EQ((RECT{0, 0, 16, 16}), bar_.GetButton1Rect());
  EXPECT_EQ((RECT{0, 24, 16, 40}), bar_.GetButton2Rect());
  EXPECT_EQ((RECT{0, 0, 0, 0}), bar_.GetThumbRect());
  bar_.SetPos({0, 0, 16, 21});
  EXPECT_EQ((RECT{0, 0, 16, 10}), bar_.GetButton1Rect());
  EXPECT_EQ((RECT{0, 11, 16, 21}), bar_.GetButton2Rect());
}

TEST_F(ScrollBarTest, HiddenButtonsLeaveEmptyRectsAndGiveTheRailTheirRoom) {
  bar_.SetAttribute(L"showbutton1", L"false");
  EXPECT_EQ((RECT{0, 0, 0, 0}), bar_.GetButton1Rect());
  // 200 * 184 / 300 = 122.
  EXPECT_EQ((RECT{0, 0, 16, 122}), bar_.GetThumbRect());
  bar_.SetAttribute(L"showbutton2", L"false");
  EXPECT_EQ((RECT{0, 200, 0, 200}), bar_.GetButton2Rect());
}

TEST_F(ScrollBarTest, HorizontalBarSwapsItsThicknessAndAxis) {
  bar_.SetAttribute(L"hor", L"true");
  EXPECT_EQ(0, bar_.GetFixedWidth());
  EXPECT_EQ(ScrollBar::kDefaultThickness, bar_.GetFixedHeight());
  bar_.SetPos({10, 5, 210, 21});
  EXPECT_EQ((RECT{10, 5, 26, 21}), bar_.GetButton1Rect());
  EXPECT_EQ((RECT{194, 5, 210, 21}), bar_.GetButton2Rect());
  EXPECT_EQ((RECT{26, 5, 138, 21}), bar_.GetThumbRect());
}

TEST(ScrollBarMarkupTest, ScrollBarClassMakesAVerticalFloatingBar) {
  std::unique_ptr<Control> control(MarkupBuilder::CreateControl(L"ScrollBar"));
  auto* bar = dynamic_cast<ScrollBar*>(control.get());
  ASSERT_NE(nullptr, bar);
  EXPECT_FALSE(bar->IsHorizontal());
  EXPECT_TRUE(bar->IsFloat());
  EXPECT_TRUE(bar->IsReleaseCaptureOnKillFocus());
  EXPECT_EQ(ScrollBar::kDefaultThickness, bar->GetFixedWidth());
  EXPECT_EQ(0, bar->GetFixedHeight());
}

// --- range and position ---

TEST_F(ScrollBarTest, RangeAndValueAttributesAreClamped) {
  bar_.SetAttribute(L"value", L"80");
  bar_.SetAttribute(L"range", L"50");
  EXPECT_EQ(50, bar_.GetScrollPos());  // lowered with the range
  bar_.SetAttribute(L"value", L"900");
  EXPECT_EQ(50, bar_.GetScrollPos());
  bar_.SetAttribute(L"value", L"-3");
  EXPECT_EQ(0, bar_.GetScrollPos());
  bar_.SetAttribute(L"range", L"-5");
  EXPECT_EQ(0, bar_.GetScrollRange());
}

TEST_F(ScrollBarTest, NonZeroRangeShowsABarThatDoesNotAutoHide) {
  bar_.SetAttribute(L"autohidescroll", L"false");
  bar_.SetScrollRange(0);
  bar_.SetScrollRange(10);
  EXPECT_TRUE(bar_.IsVisible());
}

// --- buttons, repeat and drag without an owner ---

TEST_F(ScrollBarTest, HeldButtonScrollsAtOnceThenFromTheSixthTickUntilReleased) {
  bar_.SetScrollRange(1000);
  bar_.SetScrollPos(500);
  Press(8, 190);
  EXPECT_EQ(508, bar_.GetScrollPos());
  EXPECT_EQ(kControlStatePushed, bar_.GetButton2State());
  AdvanceTicks(5);
  EXPECT_EQ(508, bar_.GetScrollPos());
  AdvanceTicks(1);
  EXPECT_EQ(516, bar_.GetScrollPos());
  AdvanceTicks(1);
  EXPECT_EQ(524, bar_.GetScrollPos());
  Release(8, 190);
  EXPECT_EQ(kControlStateNormal, bar_.GetButton2State());
  AdvanceTicks(10);
  EXPECT_EQ(524, bar_.GetScrollPos());
}

TEST_F(ScrollBarTest, RailPressPagesByTheBarLengthTowardsThePoint) {
  bar_.SetScrollRange(1000);
  Press(8, 180);  // below the thumb
  Release(8, 180);
  EXPECT_EQ(200, bar_.GetScrollPos());
  // The thumb now spans 43..73.
  Press(8, 50);
  Release(8, 0);
  EXPECT_EQ(200, bar_.GetScrollPos());
  Press(8, 20);  // above the thumb
  Release(8, 20);
  EXPECT_EQ(0, bar_.GetScrollPos());
}

TEST_F(ScrollBarTest, DraggingTheThumbByTheWholeTravelMovesByTheWholeRange) {
  // Thumb 16..128: travel 200 - 112 - 2 * 16 = 56.
  Press(8, 50);
  EXPECT_EQ(kControlStatePushed, bar_.GetThumbState());
  Move(8, 50 + 28);
  EXPECT_EQ(0, bar_.GetScrollPos());  // applied on the timer's ticks only
  AdvanceTicks(1);
  EXPECT_EQ(50, bar_.GetScrollPos());
  Move(8, 50 + 56);
  AdvanceTicks(1);
  EXPECT_EQ(100, bar_.GetScrollPos());
  Move(8, 50 + 5000);  // far past the end
  AdvanceTicks(1);
  EXPECT_EQ(100, bar_.GetScrollPos());
  Release(8, 60);
  EXPECT_EQ(kControlStateHot, bar_.GetThumbState());
}

TEST_F(ScrollBarTest, DisabledBarIgnoresPressesAndDisablesItsParts) {
  bar_.SetEnabled(false);
  EXPECT_EQ(kControlStateDisabled, bar_.GetButton1State());
  EXPECT_EQ(kControlStateDisabled, bar_.GetThumbState());
  bar_.SetScrollPos(50);
  Press(8, 190);
  EXPECT_EQ(50, bar_.GetScrollPos());
  bar_.SetEnabled(true);
  EXPECT_EQ(kControlStateNormal, bar_.GetButton2State());
}

TEST_F(ScrollBarTest, TickAfterTheBarIsDestroyedDoesNothing) {
  auto bar = std::make_unique<ScrollBar>();
  bar->SetTimerManager(&timers_);
  bar->SetPos({0, 0, 16, 200});
  bar->SendEvent(kEventMouseButtonDown, 0, 0, 0, 0.0f, 8, 190);
  bar.reset();
  AdvanceTicks(10);  // must not touch the destroyed bar
}

// --- forwarding to an owner ---

class OwnedScrollBarTest : public ScrollBarTest {
 protected:
  OwnedScrollBarTest() {
    owner_.SetPos({0, 0, 300, 200});
    bar_.SetOwner(&owner_);
  }
  RecordingOwner owner_;
};

TEST_F(OwnedScrollBarTest, VerticalPartsForwardLineAndPageMoves) {
  Press(8, 8);
  Release(8, 8);
  Press(8, 190);
  Release(8, 190);
  Press(8, 150);
  Release(8, 150);
  EXPECT_EQ((std::vector<std::string>{"LineUp", "LineDown", "PageDown"}), owner_.calls);
  EXPECT_EQ(0, bar_.GetScrollPos());  // the owner writes the position back
}

TEST_F(OwnedScrollBarTest, HorizontalPartsForwardLeftAndRightMoves) {
  bar_.SetHorizontal(true);
  bar_.SetPos({0, 184, 200, 200});
  Press(8, 190);
  Release(8, 190);
  AdvanceTicks(1);
  Press(190, 190);
  Release(190, 190);
  Press(150, 190);
  Release(150, 190);
  EXPECT_EQ((std::vector<std::string>{"LineLeft", "LineRight", "PageRight"}), owner_.calls);
}

TEST_F(OwnedScrollBarTest, DragReplacesOnlyTheBarsAxisOfTheOwnersPosition) {
  Press(8, 50);
  Move(8, 50 + 56);
  AdvanceTicks(1);
  EXPECT_EQ(7, owner_.pos.cx);
  EXPECT_EQ(100, owner_.pos.cy);
}

TEST_F(OwnedScrollBarTest, WheelAndKeysGoToTheOwner) {
  bar_.SendEvent(kEventMouseScrollWheel);
  bar_.SendEvent(kEventKeyDown);
  EXPECT_EQ((std::vector<EventType>{kEventMouseScrollWheel, kEventKeyDown}), owner_.received);
}

TEST_F(OwnedScrollBarTest, ReleaseOutsideTheOwnerHidesAnAutoHidingBar) {
  Press(8, 190);
  Release(8, 120);
  EXPECT_TRUE(bar_.IsVisible());
  Press(8, 190);
  Release(400, 120);
  EXPECT_FALSE(bar_.IsVisible());
}

}  // namespace
}  // namespace ui
