#include "ui/controls/scrollbox/scrollable_box.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/controls/animation/fake_animation_clock.h"
#include "ui/controls/core/control.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/controls/scroll/scroll_bar.h"
#include "ui/controls/testing/paint_target.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace {

Control* FirstHit(Control* control, void*) { return control; }

Control* MakeChild(int height) {
  auto* child = new Control();
  child->SetFixedHeight(height, false);
  return child;
}

// A 200 x 300 vertical box with a vertical bar and one child of content_height.
class ScrollableBoxTest : public ::testing::Test {
 protected:
  ScrollableBoxTest() : box_(new VLayout(), &clock_) {
    box_.EnableScrollBar(true, false);
    content_ = MakeChild(1000);
    box_.Add(content_);
    Layout();
  }

  void Layout() { box_.SetPos(kRect); }

  void SendWheel(int wheel) {
    EventArgs args;
    args.type = kEventMouseScrollWheel;
    args.sender = &box_;
    args.wParam = static_cast<WPARAM>(wheel);
    box_.HandleEvent(args);
  }

  void SendKey(wchar_t key) {
    EventArgs args;
    args.type = kEventKeyDown;
    args.sender = &box_;
    args.chKey = key;
    box_.HandleEvent(args);
  }

  static constexpr RECT kRect = {0, 0, 200, 300};
  FakeAnimationClock clock_;
  ScrollableBox box_;
  Control* content_ = nullptr;
};

TEST_F(ScrollableBoxTest, RangeFollowsTheContentAndResetsWhenItFits) {
  EXPECT_EQ(700, box_.GetScrollRange().cy);
  EXPECT_EQ(0, box_.GetScrollRange().cx);
  // An auto-hiding bar (the default) waits for the mouse; a plain one shows with its range.
  EXPECT_FALSE(box_.GetVerticalScrollBar()->IsVisible());
  content_->SetFixedHeight(250, false);
  Layout();
  box_.SetAttribute(L"vscrollbarstyle", L"autohidescroll=\"false\"");
  content_->SetFixedHeight(1000, false);
  Layout();
  EXPECT_EQ(700, box_.GetScrollRange().cy);
  EXPECT_TRUE(box_.GetVerticalScrollBar()->IsVisible());
  EXPECT_TRUE(box_.HasScrollRange(true));
  box_.SetScrollPos({0, 400});
  content_->SetFixedHeight(250, false);
  Layout();
  EXPECT_EQ(0, box_.GetScrollRange().cy);
  EXPECT_EQ(0, box_.GetScrollPos().cy);
  EXPECT_FALSE(box_.GetVerticalScrollBar()->IsVisible());
  EXPECT_FALSE(box_.HasScrollRange(false));
}

TEST_F(ScrollableBoxTest, ShrinkingContentLowersThePosition) {
  box_.SetScrollPos({0, 650});
  content_->SetFixedHeight(800, false);
  Layout();
  EXPECT_EQ(500, box_.GetScrollRange().cy);
  EXPECT_EQ(500, box_.GetScrollPos().cy);
}

TEST_F(ScrollableBoxTest, PositionsAreClampedIntoTheRange) {
  box_.SetScrollPos({0, -5});
  EXPECT_EQ(0, box_.GetScrollPos().cy);
  box_.SetScrollPos({0, 5000});
  EXPECT_EQ(700, box_.GetScrollPos().cy);
  box_.SetScrollPos({0, 10});
  box_.LineUp(-1, false);
  EXPECT_EQ(0, box_.GetScrollPos().cy);  // not -20
  box_.SetScrollPos({0, 695});
  box_.LineDown(-1, false);
  EXPECT_EQ(700, box_.GetScrollPos().cy);
  box_.LineDown(-1, false);  // already at the end
  EXPECT_EQ(700, box_.GetScrollPos().cy);
  box_.SetScrollPosX(50);  // no horizontal bar: nothing moves
  EXPECT_EQ(0, box_.GetScrollPos().cx);
}

TEST_F(ScrollableBoxTest, PageHomeAndEndMoves) {
  box_.PageDown();
  EXPECT_EQ(300, box_.GetScrollPos().cy);
  box_.PageDown();
  box_.PageDown();
  EXPECT_EQ(700, box_.GetScrollPos().cy);
  box_.PageUp();
  EXPECT_EQ(400, box_.GetScrollPos().cy);
  box_.HomeUp();
  EXPECT_EQ(0, box_.GetScrollPos().cy);
  box_.EndDown(false, false);
  EXPECT_EQ(700, box_.GetScrollPos().cy);
  box_.TouchUp(50);
  EXPECT_EQ(650, box_.GetScrollPos().cy);
  box_.TouchDown(500);
  EXPECT_EQ(700, box_.GetScrollPos().cy);
}

TEST_F(ScrollableBoxTest, HoldEndKeepsTheViewAtTheBottom) {
  box_.SetAttribute(L"holdend", L"true");
  ASSERT_TRUE(box_.IsHoldEnd());
  box_.EndDown(false, false);
  box_.Add(MakeChild(100));
  Layout();
  EXPECT_EQ(800, box_.GetScrollRange().cy);
  EXPECT_EQ(800, box_.GetScrollPos().cy);
}

TEST_F(ScrollableBoxTest, WithoutHoldEndTheViewStaysWhereItWas) {
  box_.EndDown(false, false);
  box_.Add(MakeChild(100));
  Layout();
  EXPECT_EQ(800, box_.GetScrollRange().cy);
  EXPECT_EQ(700, box_.GetScrollPos().cy);
}

TEST_F(ScrollableBoxTest, NonFloatingBarNarrowsTheChildren) {
  EXPECT_EQ(200, content_->GetPos().right - content_->GetPos().left);
  box_.SetAttribute(L"scrollbarfloat", L"false");
  Layout();
  EXPECT_EQ(200 - ScrollBar::kDefaultThickness, content_->GetPos().right - content_->GetPos().left);
  const RECT bar = box_.GetVerticalScrollBar()->GetPos();
  EXPECT_EQ(200 - ScrollBar::kDefaultThickness, bar.left);
  EXPECT_EQ(200, bar.right);
}

TEST_F(ScrollableBoxTest, WheelStepsAnimateAndExtendARunningStep) {
  box_.SetScrollPos({0, 300});
  SendWheel(120);  // up by min(30, 120)
  EXPECT_TRUE(box_.scroll_animation().IsPlaying());
  EXPECT_EQ(270, box_.scroll_animation().GetEndValue());
  SendWheel(120);  // the running upward step is extended
  EXPECT_EQ(240, box_.scroll_animation().GetEndValue());
  clock_.Advance(2000);
  EXPECT_FALSE(box_.scroll_animation().IsPlaying());
  EXPECT_EQ(240, box_.GetScrollPos().cy);

  SendWheel(-10);  // down by min(30, 10)
  clock_.Advance(2000);
  EXPECT_EQ(250, box_.GetScrollPos().cy);
}

TEST_F(ScrollableBoxTest, AnimatedStepPastTheStartStopsAtZero) {
  box_.SetScrollPos({0, 10});
  box_.LineUp(-1, true);
  clock_.Advance(2000);
  EXPECT_EQ(0, box_.GetScrollPos().cy);
  EXPECT_FALSE(box_.scroll_animation().IsPlaying());
}

TEST_F(ScrollableBoxTest, ExtremeWheelAndUnitValuesStillMoveTheRightWay) {
  box_.SetScrollPos({0, 10});
  SendWheel(INT_MIN);  // |INT_MIN| does not fit an int: one full step down
  EXPECT_EQ(10 + ScrollableBox::kDefaultScrollUnit, box_.scroll_animation().GetEndValue());
  clock_.Advance(2000);
  EXPECT_EQ(10 + ScrollableBox::kDefaultScrollUnit, box_.GetScrollPos().cy);
  box_.SetAttribute(L"vscrollunit", L"2147483647");
  box_.LineDown(-1, true);  // y + unit passes INT_MAX: clamped to the end, not wrapped to 0
  clock_.Advance(5000);
  EXPECT_EQ(700, box_.GetScrollPos().cy);
}

TEST_F(ScrollableBoxTest, EndKeySlidesTheContentInWithinTheCap) {
  SendKey(VK_END);
  EXPECT_EQ(700, box_.GetScrollPos().cy);
  EXPECT_TRUE(box_.render_offset_animation().IsPlaying());
  EXPECT_EQ(-700, box_.render_offset_animation().GetStartValue());
  EXPECT_LE(box_.render_offset_animation().GetTotalMilliseconds(),
            ScrollableBox::kEndSlideMaxMilliseconds);
  clock_.Advance(ScrollableBox::kEndSlideMaxMilliseconds + 50);
  EXPECT_FALSE(box_.render_offset_animation().IsPlaying());
  EXPECT_EQ(0, box_.GetRenderOffset().y);
}

TEST_F(ScrollableBoxTest, KeysPageAndStepWithTheVerticalBar) {
  SendKey(VK_NEXT);
  EXPECT_EQ(300, box_.GetScrollPos().cy);
  SendKey(VK_HOME);
  EXPECT_EQ(0, box_.GetScrollPos().cy);
  SendKey(VK_DOWN);
  clock_.Advance(2000);
  EXPECT_EQ(ScrollableBox::kDefaultScrollUnit, box_.GetScrollPos().cy);
}

// Counts the hit tests it is asked.
class HitCountingControl : public Control {
 public:
  Control* FindControl(FindProc proc, void* data, UINT flags, int scroll_x, int scroll_y) override {
    ++asked;
    return Control::FindControl(proc, data, flags, scroll_x, scroll_y);
  }
  int asked = 0;
};

TEST_F(ScrollableBoxTest, OnlyTheChildrenAtAPointAreHitInContentCoordinates) {
  box_.RemoveAll();
  HitCountingControl* children[10];
  for (HitCountingControl*& child : children) {
    child = new HitCountingControl();
    child->SetFixedHeight(100, false);
    box_.Add(child);
  }
  Layout();
  box_.SetScrollPos({0, 250});
  const UINT hit = Control::kFindVisible | Control::kFindHitTest | Control::kFindTopFirst;
  POINT point = {10, 60};  // content y 310
  EXPECT_EQ(children[3], box_.FindControl(FirstHit, &point, hit));
  int asked = 0;
  for (const HitCountingControl* child : children) asked += child->asked;
  EXPECT_EQ(1, asked);
  // Without the first child the others stand where they stood and the view stays on them.
  box_.Remove(children[0]);
  Layout();
  EXPECT_EQ(600, box_.GetScrollRange().cy);
  EXPECT_EQ(150, box_.GetScrollPos().cy);
  EXPECT_EQ(children[3], box_.FindControl(FirstHit, &point, hit));
  POINT outside = {10, 400};
  EXPECT_EQ(nullptr, box_.FindControl(FirstHit, &outside, hit));
}

TEST_F(ScrollableBoxTest, ALaidOutBoxKeepsNoMarkOfItsChildren) {
  box_.Add(MakeChild(100));
  Layout();
  // The window's search for controls to lay out passes the box by instead of through its list.
  EXPECT_FALSE(box_.IsArrangePending());
}

TEST_F(ScrollableBoxTest, DisabledMouseInputPassesTheWheelToTheParent) {
  Box parent;
  auto* inner = new ScrollableBox(new VLayout(), &clock_);
  inner->EnableScrollBar(true, false);
  inner->Add(MakeChild(1000));
  parent.Add(inner);
  inner->SetPos(kRect);
  int parent_wheels = 0;
  parent.AttachBubbledEvent(kEventMouseScrollWheel, [&](EventArgs*) {
    ++parent_wheels;
    return true;
  });
  inner->SetMouseEnabled(false);
  EXPECT_FALSE(inner->GetVerticalScrollBar()->IsMouseEnabled());
  EventArgs args;
  args.type = kEventMouseScrollWheel;
  args.sender = inner;
  args.wParam = static_cast<WPARAM>(-120);
  inner->HandleEvent(args);
  EXPECT_EQ(1, parent_wheels);
  EXPECT_FALSE(inner->scroll_animation().IsPlaying());
}

TEST_F(ScrollableBoxTest, AttributesAreReadAndBarsComeAndGo) {
  box_.SetAttribute(L"vscrollunit", L"45");
  EXPECT_EQ(45, box_.GetVerScrollUnit());
  box_.SetAttribute(L"scrollbarpadding", L"1,2,3,4");
  EXPECT_EQ(4, box_.GetScrollBarPadding().bottom);
  box_.SetAttribute(L"hscrollbar", L"true");
  ASSERT_NE(nullptr, box_.GetHorizontalScrollBar());
  EXPECT_TRUE(box_.GetHorizontalScrollBar()->IsHorizontal());
  EXPECT_EQ(ScrollBar::kDefaultThickness, box_.GetHorizontalScrollBar()->GetFixedHeight());
  EXPECT_NE(nullptr, box_.GetVerticalScrollBar());
  box_.SetAttribute(L"vscrollbar", L"false");
  EXPECT_EQ(nullptr, box_.GetVerticalScrollBar());
  EXPECT_EQ(0, box_.GetScrollRange().cy);
}

TEST(ScrollableBoxHorizontalTest, KeysAndWheelMoveSidewaysWithOnlyAHorizontalRange) {
  FakeAnimationClock clock;
  ScrollableBox box(new VLayout(), &clock);
  box.EnableScrollBar(false, true);
  auto* wide = new Control();
  wide->SetFixedWidth(500, false, false);
  wide->SetFixedHeight(100, false);
  box.Add(wide);
  box.SetPos({0, 0, 200, 300});
  ASSERT_EQ(300, box.GetScrollRange().cx);
  EventArgs args;
  args.sender = &box;
  args.type = kEventMouseScrollWheel;
  args.wParam = static_cast<WPARAM>(-120);
  box.HandleEvent(args);  // wheel down scrolls right, without animation
  EXPECT_EQ(ScrollableBox::kDefaultScrollUnit, box.GetScrollPos().cx);
  args.type = kEventKeyDown;
  args.chKey = VK_NEXT;
  box.HandleEvent(args);
  EXPECT_EQ(ScrollableBox::kDefaultScrollUnit + 200, box.GetScrollPos().cx);
  args.chKey = VK_END;
  box.HandleEvent(args);
  EXPECT_EQ(300, box.GetScrollPos().cx);
  box.LineRight(-1);
  EXPECT_EQ(300, box.GetScrollPos().cx);
  args.chKey = VK_UP;
  box.HandleEvent(args);
  EXPECT_EQ(300 - ScrollableBox::kDefaultScrollUnit, box.GetScrollPos().cx);
  args.chKey = VK_HOME;
  box.HandleEvent(args);
  EXPECT_EQ(0, box.GetScrollPos().cx);
  box.LineLeft(5);
  EXPECT_EQ(0, box.GetScrollPos().cx);
}

TEST(ScrollableBoxEventTest, ScrollChangeIsSentOnlyWhenThePositionMoves) {
  FakeAnimationClock clock;
  auto* box = new ScrollableBox(new VLayout(), &clock);
  Window window;
  window.InstallRoot(box);
  box->EnableScrollBar(true, false);
  box->Add(MakeChild(1000));
  box->SetPos({0, 0, 200, 300});
  int changes = 0;
  box->AttachEvent(kEventScrollChange, [&](EventArgs* args) {
    EXPECT_EQ(box, args->sender);
    ++changes;
    return true;
  });
  box->SetScrollPos({0, 100});
  EXPECT_EQ(1, changes);
  box->SetScrollPos({0, 100});
  box->HomeUp();
  box->HomeUp();
  EXPECT_EQ(2, changes);
}

// Counts how often its images are unloaded and loaded.
class ImageCountingControl : public Control {
 public:
  void LoadImages() override { ++loads; }
  void UnloadImages() override { ++unloads; }
  int loads = 0;
  int unloads = 0;
};

TEST(ScrollableBoxImageTest, ImagesFarOutsideTheViewAreUnloaded) {
  FakeAnimationClock clock;
  ScrollableBox box(new VLayout(), &clock);
  box.EnableScrollBar(true, false);
  ImageCountingControl* children[4];
  for (ImageCountingControl*& child : children) {
    child = new ImageCountingControl();
    child->SetFixedHeight(1000, false);
    box.Add(child);
  }
  box.SetPos({0, 0, 100, 300});
  box.SetScrollPos({0, 2000});         // view 2000..2300, kept 1270..3030
  EXPECT_EQ(1, children[0]->unloads);  // 0..1000
  EXPECT_EQ(1, children[1]->loads);    // 1000..2000 lies within the margin
  EXPECT_EQ(1, children[2]->loads);
  EXPECT_EQ(1, children[3]->loads);  // 3000..4000 starts inside the margin
  box.SetScrollPos({0, 0});          // view 0..300, kept -730..1030
  EXPECT_EQ(2, children[0]->loads + children[0]->unloads);
  EXPECT_EQ(1, children[0]->loads);
  EXPECT_EQ(1, children[1]->loads);  // near the view both times: left alone
  EXPECT_EQ(1, children[2]->unloads);
  EXPECT_EQ(1, children[3]->unloads);
}

// Loads and unloads of each child so far.
std::vector<int> Touches(const std::vector<ImageCountingControl*>& children) {
  std::vector<int> touches;
  for (const ImageCountingControl* child : children)
    touches.push_back(child->loads + child->unloads);
  return touches;
}

TEST(ScrollableBoxImageTest, AScrollTouchesOnlyChildrenThatCameNearOrWentAway) {
  FakeAnimationClock clock;
  ScrollableBox box(new VLayout(), &clock);
  box.EnableScrollBar(true, false);
  std::vector<ImageCountingControl*> children;
  const auto append = [&] {
    children.push_back(new ImageCountingControl());
    children.back()->SetFixedHeight(1000, false);
    box.Add(children.back());
  };
  for (int i = 0; i < 6; ++i) append();
  box.SetPos({0, 0, 100, 300});
  box.SetScrollPos({0, 2000});  // kept 1270..3030: every child looked at once
  EXPECT_EQ(std::vector<int>(6, 1), Touches(children));
  box.SetScrollPos({0, 2100});  // the same children near the view
  EXPECT_EQ(std::vector<int>(6, 1), Touches(children));
  append();
  box.SetPos({0, 0, 100, 300});
  box.SetScrollPos({0, 3000});  // kept 2270..4030: 1 goes away, 4 comes near, 6 is new
  EXPECT_EQ((std::vector<int>{1, 2, 1, 1, 2, 1, 1}), Touches(children));
  EXPECT_EQ(1, children[1]->unloads);
  EXPECT_EQ(1, children[4]->loads);
  EXPECT_EQ(1, children[6]->unloads);
  // Without the first child the others stand where they stood and the view on them stays, so
  // no image is looked at again; those after a child removed further down move up, and every
  // image is.
  const RECT kept = children[1]->GetPos();
  box.Remove(children[0]);
  children.erase(children.begin());
  box.SetPos({0, 0, 100, 300});
  EXPECT_EQ(2000, box.GetScrollPos().cy);
  const RECT now = children[0]->GetPos();
  EXPECT_TRUE(EqualRect(&kept, &now));
  box.SetScrollPos({0, 2100});
  EXPECT_EQ((std::vector<int>{2, 1, 1, 2, 1, 1}), Touches(children));
  box.Remove(children[1]);
  children.erase(children.begin() + 1);
  box.SetPos({0, 0, 100, 300});
  box.SetScrollPos({0, 2000});
  EXPECT_EQ((std::vector<int>{3, 2, 3, 2, 2}), Touches(children));
}

class ScrollableBoxPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResourceHub::AddTextColor(L"sbx_paint_red", L"#FFFF0000");
    ASSERT_TRUE(paint_.Ready());
  }

  DWORD At(int x, int y) { return paint_.At(x, y); }

  PaintTarget paint_;
  RenderContext_GdiPlus& target_ = *paint_.Context();
};

TEST_F(ScrollableBoxPaintTest, ChildrenMoveWithTheScrollButFloatingOnesStay) {
  constexpr DWORD kRed = 0xFFFF0000;
  FakeAnimationClock clock;
  ScrollableBox box(new VLayout(), &clock);
  box.EnableScrollBar(true, false);
  for (int i = 0; i < 10; ++i) {
    Control* child = MakeChild(10);
    if (i == 2) child->SetAttribute(L"bkcolor", L"sbx_paint_red");
    box.Add(child);
  }
  auto* floating = new Control();
  floating->SetAttribute(L"float", L"true");
  floating->SetAttribute(L"bkcolor", L"sbx_paint_red");
  box.Add(floating);
  box.SetPos({0, 0, 32, 32});
  ASSERT_EQ(100 - 32, box.GetScrollRange().cy);
  box.SetScrollPos({0, 20});  // the red child (content 20..30) now sits at the top
  floating->SetPos({20, 20, 30, 30});
  box.Paint(&target_, {0, 0, 32, 32});
  EXPECT_EQ(kRed, At(5, 5));
  EXPECT_EQ(0u, At(5, 15));
  EXPECT_EQ(0u, At(5, 25));
  EXPECT_EQ(kRed, At(25, 25));  // not shifted by the scroll
  EXPECT_EQ(0u, At(25, 15));
}

TEST_F(ScrollableBoxPaintTest, WithoutItsFirstChildAColumnStillShowsWhatItShowed) {
  constexpr DWORD kRed = 0xFFFF0000;
  FakeAnimationClock clock;
  ScrollableBox box(new VLayout(), &clock);
  box.EnableScrollBar(true, false);
  Control* children[10];
  for (Control*& child : children) {
    child = MakeChild(10);
    box.Add(child);
  }
  children[3]->SetAttribute(L"bkcolor", L"sbx_paint_red");
  box.SetPos({0, 0, 32, 32});
  box.SetScrollPos({0, 30});  // the red child (content 30..40) at the top
  box.Remove(children[0]);
  box.SetPos({0, 0, 32, 32});
  EXPECT_EQ(20, box.GetScrollPos().cy);
  box.Paint(&target_, {0, 0, 32, 32});
  EXPECT_EQ(kRed, At(5, 5));
  EXPECT_EQ(0u, At(5, 15));
}

}  // namespace
}  // namespace ui
