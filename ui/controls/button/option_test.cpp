#include "ui/controls/button/option.h"

#include <gtest/gtest.h>

#include "ui/controls/button/button_test_support.h"

namespace ui {
namespace {

using testing_support::Count;

// Three options in one headless window; the first two in group "g", the third in group "g"
// through an option box so both instantiations share a group.
class OptionGroupTest : public testing::Test {
 protected:
  void SetUp() override {
    window_.InstallRoot(root_);
    for (CheckBox* option : {static_cast<CheckBox*>(a_), static_cast<CheckBox*>(b_)}) {
      option->SetAttribute(L"group", L"g");
      root_->Add(option);
    }
    root_->Add(c_);
    c_->SetGroup(L"g");
  }
  size_t Members() const {
    const auto* members = window_.OptionGroupMembers(L"g");
    return members ? members->size() : 0;
  }

  Window window_;
  Box* root_ = new Box;
  Option* a_ = new Option;
  Option* b_ = new Option;
  OptionBox* c_ = new OptionBox;
};

TEST_F(OptionGroupTest, AttachedOptionsJoinAndSelectionIsExclusive) {
  EXPECT_EQ(3u, Members());
  a_->Activate();
  EXPECT_TRUE(a_->IsSelected());
  c_->Activate();
  EXPECT_TRUE(c_->IsSelected());
  EXPECT_FALSE(a_->IsSelected());
  EXPECT_FALSE(b_->IsSelected());
}

TEST_F(OptionGroupTest, ClickingASelectedOptionKeepsItSelectedWithoutANewSelect) {
  int clicks = 0;
  int selects = 0;
  Count(a_, kEventClick, &clicks);
  Count(a_, kEventSelect, &selects);
  a_->Activate();
  a_->Activate();
  EXPECT_TRUE(a_->IsSelected());
  EXPECT_EQ(2, clicks);
  EXPECT_EQ(1, selects);
}

TEST_F(OptionGroupTest, UnselectIsRaisedEvenWithoutTrigger) {
  int unselects = 0;
  Count(a_, kEventUnSelect, &unselects);
  a_->Selected(false, false);
  EXPECT_EQ(1, unselects);

  // A check box stays silent.
  CheckBox* box = new CheckBox;
  root_->Add(box);
  box->Selected(true, false);
  int box_unselects = 0;
  Count(box, kEventUnSelect, &box_unselects);
  box->Selected(false, false);
  EXPECT_EQ(0, box_unselects);
}

TEST_F(OptionGroupTest, OptionThatLeftItsGroupIsNoLongerDeselected) {
  a_->Selected(true, true);
  a_->SetGroup(L"");
  EXPECT_EQ(L"", a_->GetGroup());
  EXPECT_EQ(2u, Members());
  b_->Activate();
  EXPECT_TRUE(a_->IsSelected());
  EXPECT_TRUE(b_->IsSelected());
}

TEST_F(OptionGroupTest, SelectedOptionJoiningAGroupDeselectsItsMembers) {
  b_->Selected(true, true);
  Option* d = new Option;
  root_->Add(d);
  d->Selected(true, false);
  d->SetGroup(L"g");
  EXPECT_TRUE(d->IsSelected());
  EXPECT_FALSE(b_->IsSelected());
}

TEST_F(OptionGroupTest, DestroyedOptionLeavesItsGroup) {
  root_->SetDelayedDestroy(false);
  root_->Remove(b_);
  EXPECT_EQ(2u, Members());
  a_->Activate();  // must not reach the destroyed member
  EXPECT_TRUE(a_->IsSelected());
}

TEST_F(OptionGroupTest, ClickHandlerThatDestroysTheOptionEndsTheActivation) {
  root_->SetDelayedDestroy(false);
  int selects = 0;
  root_->AttachBubbledEvent(kEventSelect, [&](EventArgs*) { return ++selects > 0; });
  a_->AttachEvent(kEventClick, [this](EventArgs*) {
    root_->Remove(a_);
    return true;
  });
  a_->Activate();
  EXPECT_EQ(0, selects);
  EXPECT_EQ(2u, Members());
  EXPECT_EQ(2, root_->GetCount());
}

TEST_F(OptionGroupTest, MemberHandlerThatDestroysTheSelectingOptionStopsTheWalk) {
  root_->SetDelayedDestroy(false);
  b_->Selected(true, false);
  b_->AttachEvent(kEventUnSelect, [this](EventArgs*) {
    root_->Remove(a_);
    return true;
  });
  int c_unselects = 0;
  Count(c_, kEventUnSelect, &c_unselects);
  a_->Activate();
  EXPECT_FALSE(b_->IsSelected());
  EXPECT_EQ(0, c_unselects);  // the walk ended with the selecting option
  EXPECT_EQ(2u, Members());
}

}  // namespace
}  // namespace ui
