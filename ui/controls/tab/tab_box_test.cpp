#include "ui/controls/tab/tab_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/animation/animation_player.h"
#include "ui/controls/button/button_test_support.h"

namespace ui {
namespace {

// A headless window whose root holds a 300-pixel-wide tab box with three children, the last a
// box.
class TabBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    for (Control* child : children_) tab_->Add(child);
    tab_->SetPos({0, 0, 300, 100});
  }
  static bool Shown(Control* child) { return child->IsMouseEnabled() && child->GetAlpha() == 255; }
  static bool Hidden(Control* child) { return !child->IsMouseEnabled() && child->GetAlpha() == 0; }
  // The slide a selection started on child.
  static AnimationPlayer* Slide(Control* child) {
    return child->GetAnimationManager().GetAnimationPlayer(kAnimationInoutXFromRight);
  }
  // Ends a slide at once: a player whose start is its end finishes when run.
  static void FinishSlide(AnimationPlayer* player) {
    player->SetStartValue(player->GetEndValue());
    player->PlayFromStart();
  }

  testing_support::Attached<TabBox> attached_;
  TabBox* tab_ = attached_.control;
  Box* box_child_ = new Box;
  std::vector<Control*> children_ = {new Control, new Control, box_child_};
};

TEST_F(TabBoxTest, FirstVisibleChildIsSelectedAndTheOthersHidden) {
  EXPECT_EQ(0, tab_->GetCurSel());
  EXPECT_TRUE(children_[0]->IsVisible());
  EXPECT_TRUE(Shown(children_[0]));
  for (int i : {1, 2}) {
    EXPECT_FALSE(children_[i]->IsVisible());
    EXPECT_TRUE(Hidden(children_[i]));
  }
  EXPECT_FALSE(box_child_->IsMouseChildEnabled());

  TabBox empty;
  auto* invisible = new Control;
  invisible->SetVisible(false);
  empty.Add(invisible);
  EXPECT_EQ(-1, empty.GetCurSel());
  empty.Add(new Control);
  EXPECT_EQ(1, empty.GetCurSel());
}

TEST_F(TabBoxTest, SelectingShowsOneChildAndReportsNewAndOldIndexes) {
  std::vector<WPARAM> selected;
  std::vector<LPARAM> previous;
  tab_->AttachEvent(kEventSelect, [&](EventArgs* args) {
    selected.push_back(args->wParam);
    previous.push_back(args->lParam);
    return true;
  });
  EXPECT_TRUE(tab_->SelectItem(2));
  EXPECT_TRUE(children_[2]->IsVisible());
  EXPECT_TRUE(Shown(children_[2]));
  EXPECT_TRUE(box_child_->IsMouseChildEnabled());
  EXPECT_FALSE(children_[0]->IsVisible());
  EXPECT_TRUE(Hidden(children_[0]));
  EXPECT_TRUE(tab_->SelectItem(2));  // the current index: no event
  EXPECT_FALSE(tab_->SelectItem(3));
  EXPECT_FALSE(tab_->SelectItem(-1));
  tab_->SetAttribute(L"selectedid", L"7");
  EXPECT_EQ(2, tab_->GetCurSel());
  tab_->SetAttribute(L"selectedid", L"1");
  EXPECT_EQ(1, tab_->GetCurSel());
  EXPECT_EQ((std::vector<WPARAM>{2, 1}), selected);
  EXPECT_EQ((std::vector<LPARAM>{0, 2}), previous);
}

TEST_F(TabBoxTest, RemovingKeepsTheSelectionOnTheSameChild) {
  tab_->SelectItem(2);
  tab_->Remove(children_[0]);
  EXPECT_EQ(1, tab_->GetCurSel());
  EXPECT_FALSE(tab_->Remove(nullptr));
  // Removing the selected tab selects the first one left.
  tab_->Remove(box_child_);
  EXPECT_EQ(0, tab_->GetCurSel());
  EXPECT_TRUE(children_[1]->IsVisible());
  EXPECT_TRUE(Shown(children_[1]));
  tab_->Remove(children_[1]);
  EXPECT_EQ(-1, tab_->GetCurSel());
}

TEST_F(TabBoxTest, InsertionBeforeTheSelectionShiftsItAndStaysHidden) {
  auto* inserted = new Control;
  tab_->AddAt(inserted, 0);
  EXPECT_EQ(1, tab_->GetCurSel());
  EXPECT_FALSE(inserted->IsVisible());
  EXPECT_TRUE(Hidden(inserted));
  auto* appended = new Control;
  tab_->AddAt(appended, 4);
  EXPECT_EQ(1, tab_->GetCurSel());
  EXPECT_TRUE(Hidden(appended));
  tab_->RemoveAll();
  EXPECT_EQ(-1, tab_->GetCurSel());
}

TEST_F(TabBoxTest, FadeSwitchSlidesTheNewTabInAndHidesTheOldOneWhenItsSlideEnds) {
  tab_->SetAttribute(L"fadeswitch", L"true");
  // The plain mode hid the later children when they were added; sliding keeps visible flags.
  for (Control* child : children_) child->SetVisible(true);
  tab_->SelectItem(2);
  AnimationPlayer* in = Slide(children_[2]);
  AnimationPlayer* out = Slide(children_[0]);
  ASSERT_NE(nullptr, in);
  ASSERT_NE(nullptr, out);
  EXPECT_EQ(-300, in->GetStartValue());  // to a higher index: in from the left
  EXPECT_EQ(300, out->GetEndValue());
  FinishSlide(out);
  EXPECT_TRUE(Hidden(children_[0]));

  // Back from tab 2 to tab 0: in from the right, out to the left. Visible flags are untouched.
  tab_->SelectItem(0);
  in = Slide(children_[0]);
  out = Slide(children_[2]);
  EXPECT_EQ(300, in->GetStartValue());
  EXPECT_EQ(0, in->GetEndValue());
  EXPECT_EQ(0, out->GetStartValue());
  EXPECT_EQ(-300, out->GetEndValue());
  EXPECT_TRUE(Shown(children_[0]));
  EXPECT_TRUE(Shown(children_[2]));  // still leaving
  FinishSlide(out);
  EXPECT_TRUE(Hidden(children_[2]));
  EXPECT_TRUE(children_[2]->IsVisible());
  EXPECT_TRUE(Hidden(children_[1]));
}

TEST_F(TabBoxTest, SlideEndingAfterTheTabBoxIsGoneDoesNothing) {
  auto* tab = new TabBox;
  tab->SetFadeSwitch(true);
  auto* first = new Control;
  auto* second = new Control;
  tab->Add(first);
  tab->Add(second);
  tab->SetPos({0, 0, 300, 100});  // a box without width would end its slides at once
  tab->SetAutoDestroyChild(false);
  tab->SelectItem(1);
  AnimationPlayer* out = Slide(first);
  delete tab;
  FinishSlide(out);  // would hide item 0 of the deleted box
  EXPECT_EQ(255, first->GetAlpha());
  delete first;
  delete second;
}

}  // namespace
}  // namespace ui
