#include "ui/controls/layout/layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/box/box.h"
#include "ui/controls/box/h_box.h"
#include "ui/controls/box/v_box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/layout/h_layout.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

// A child described by markup attributes, owned by the box under test.
Control* Child(Box& box, const std::wstring& attributes) {
  Control* child = new Control();
  child->ApplyAttributeList(attributes);
  box.Add(child);
  return child;
}

RECT PosOf(const Control* child) { return child->GetPos(true); }

::testing::AssertionResult HasRect(const Control* child, int left, int top, int right, int bottom) {
  const RECT r = PosOf(child);
  if (r.left == left && r.top == top && r.right == right && r.bottom == bottom) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "got " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

TEST(HLayoutTest, StretchChildrenShareTheWidthFirstOnesTakeLeftoverPixels) {
  HBox box;
  Control* a = Child(box, L"");
  Control* b = Child(box, L"");
  Control* c = Child(box, L"");
  box.SetPos({0, 0, 100, 20});
  EXPECT_TRUE(HasRect(a, 0, 0, 34, 20));
  EXPECT_TRUE(HasRect(b, 34, 0, 67, 20));
  EXPECT_TRUE(HasRect(c, 67, 0, 100, 20));
}

TEST(HLayoutTest, FixedChildrenMarginsAndChildMarginShapeTheRow) {
  HBox box;
  box.ApplyAttributeList(L"childmargin=\"5\" padding=\"2,3,4,5\"");
  Control* fixed = Child(box, L"width=\"30\" margin=\"1,0,2,0\"");
  Control* stretch = Child(box, L"");
  box.SetPos({0, 0, 100, 40});
  // Inner width 94: fixed takes 1 + 30 + 2, the gap 5, the stretch child the rest.
  EXPECT_TRUE(HasRect(fixed, 3, 3, 33, 35));
  EXPECT_TRUE(HasRect(stretch, 40, 3, 96, 35));
}

TEST(HLayoutTest, StretchChildrenGetNothingWhenFixedSiblingsFillTheRowThenTheirMinimum) {
  HBox box;
  Child(box, L"width=\"120\"");
  Control* starved = Child(box, L"");
  Control* with_minimum = Child(box, L"minwidth=\"7\"");
  box.SetPos({0, 0, 100, 10});
  EXPECT_EQ(0, PosOf(starved).right - PosOf(starved).left);
  EXPECT_EQ(7, PosOf(with_minimum).right - PosOf(with_minimum).left);
}

TEST(HLayoutTest, MaxClampedStretchChildKeepsItsMaximumOthersDoNotGrow) {
  HBox box;
  Control* capped = Child(box, L"maxwidth=\"10\"");
  Control* other = Child(box, L"");
  box.SetPos({0, 0, 100, 10});
  EXPECT_TRUE(HasRect(capped, 0, 0, 10, 10));
  EXPECT_TRUE(HasRect(other, 10, 0, 60, 10));
}

TEST(HLayoutTest, FloatChildIsPlacedOnItsOwnAndDoesNotMoveSiblings) {
  HBox box;
  Control* first = Child(box, L"width=\"40\"");
  Control* floating = Child(box, L"float=\"true\" width=\"10\" height=\"10\" halign=\"right\"");
  Control* last = Child(box, L"width=\"40\"");
  box.SetPos({0, 0, 100, 30});
  EXPECT_TRUE(HasRect(first, 0, 0, 40, 30));
  EXPECT_TRUE(HasRect(floating, 90, 0, 100, 10));
  EXPECT_TRUE(HasRect(last, 40, 0, 80, 30));
}

TEST(HLayoutTest, VerticalAlignmentCentresAndBottomsChildren) {
  HBox box;
  Control* centred = Child(box, L"width=\"10\" height=\"10\" valign=\"center\"");
  Control* bottom = Child(box, L"width=\"10\" height=\"10\" valign=\"bottom\" margin=\"0,0,0,2\"");
  box.SetPos({0, 0, 100, 31});
  EXPECT_TRUE(HasRect(centred, 0, 10, 10, 20));
  EXPECT_TRUE(HasRect(bottom, 10, 19, 20, 29));
}

TEST(HLayoutTest, ArrangeReportsContentSize) {
  HLayout layout;
  layout.SetChildMargin(5);
  std::vector<Control*> items;
  EXPECT_EQ(0, layout.ArrangeChild(items, {0, 0, 100, 10}).cx);
  Control one;
  one.ApplyAttributeList(L"width=\"20\" height=\"8\" margin=\"1,0,2,0\"");
  items.push_back(&one);
  const SIZE size = layout.ArrangeChild(items, {0, 0, 100, 10});
  EXPECT_EQ(23, size.cx);  // outer width, no child margin for a single child
  EXPECT_EQ(8, size.cy);
}

TEST(VLayoutTest, MirrorsTheRowAlongTheHeight) {
  VBox box;
  box.ApplyAttributeList(L"childmargin=\"2\"");
  Control* top = Child(box, L"height=\"10\"");
  Control* middle = Child(box, L"width=\"20\" halign=\"center\"");
  Control* bottom = Child(box, L"height=\"5\" width=\"10\" halign=\"right\"");
  box.SetPos({0, 0, 50, 50});
  EXPECT_TRUE(HasRect(top, 0, 0, 50, 10));
  EXPECT_TRUE(HasRect(middle, 15, 12, 35, 43));
  EXPECT_TRUE(HasRect(bottom, 40, 45, 50, 50));
}

// Counts the passes that place it.
class CountingControl : public Control {
 public:
  void SetPos(RECT rect) override {
    ++placements;
    Control::SetPos(rect);
  }
  int placements = 0;
};

CountingControl* CountedChild(Box& box, const std::wstring& attributes) {
  auto* child = new CountingControl();
  child->ApplyAttributeList(attributes);
  box.Add(child);
  return child;
}

TEST(VLayoutTest, AnAppendedChildIsPlacedAloneAndAnUnchangedBoxNotAtAll) {
  VBox box;
  box.ApplyAttributeList(L"childmargin=\"2\"");
  CountingControl* first = CountedChild(box, L"height=\"10\"");
  box.SetPos({0, 0, 50, 100});
  // Without a window only a second call clears the marks; a kept child still marked is placed.
  box.SetPos({0, 0, 50, 100});
  const int placements = first->placements;
  Control* second = Child(box, L"height=\"20\" width=\"10\" halign=\"right\"");
  box.SetPos({0, 0, 50, 100});
  EXPECT_TRUE(HasRect(second, 40, 12, 50, 32));
  box.SetPos({0, 0, 50, 100});
  EXPECT_EQ(placements, first->placements);
}

TEST(VLayoutTest, EveryChildIsPlacedAgainAfterAnEarlierChangeARemovalOrAWidthChange) {
  VBox box;
  CountingControl* first = CountedChild(box, L"height=\"10\"");
  Control* second = Child(box, L"height=\"20\"");
  box.SetPos({0, 0, 50, 100});
  Control* third = Child(box, L"height=\"5\"");
  box.SetPos({0, 0, 50, 100});
  first->SetFixedHeight(15, false);
  box.SetPos({0, 0, 50, 100});
  EXPECT_TRUE(HasRect(third, 0, 35, 50, 40));
  second->SetVisible(false);
  box.SetPos({0, 0, 50, 100});
  EXPECT_TRUE(HasRect(third, 0, 15, 50, 20));
  box.SetPos({0, 0, 40, 100});
  EXPECT_TRUE(HasRect(first, 0, 0, 40, 15));
  EXPECT_TRUE(HasRect(third, 0, 15, 40, 20));
  box.Remove(first);
  box.SetPos({0, 0, 40, 100});
  EXPECT_TRUE(HasRect(third, 0, 0, 40, 5));
  // An appended stretching child takes what the others leave, so they are all placed again.
  Control* stretch = Child(box, L"");
  Control* last = Child(box, L"height=\"10\"");
  box.SetPos({0, 0, 40, 100});
  EXPECT_TRUE(HasRect(stretch, 0, 5, 40, 90));
  EXPECT_TRUE(HasRect(last, 0, 90, 40, 100));
}

TEST(VLayoutTest, TheFirstChildTakenOutLeavesTheOthersWhereTheyStandUntilAFullPass) {
  VLayout layout;
  layout.SetChildMargin(2);
  std::vector<std::unique_ptr<CountingControl>> owned;
  std::vector<Control*> items;
  const auto add = [&](int height) {
    owned.push_back(std::make_unique<CountingControl>());
    owned.back()->SetFixedHeight(height, false);
    items.push_back(owned.back().get());
  };
  add(10);
  add(20);
  add(5);
  const RECT rect = {0, 0, 50, 100};
  EXPECT_EQ(39, layout.ArrangeChild(items, rect).cy);
  EXPECT_EQ(-1, layout.DropFirst(items, 12));  // its 10 pixels and the gap reach the limit
  EXPECT_EQ(12, layout.DropFirst(items, 100));
  items.erase(items.begin());
  EXPECT_EQ(12, layout.GetLead());
  add(8);
  EXPECT_EQ(37, layout.ArrangeChild(items, rect).cy);
  EXPECT_EQ(1, owned[1]->placements);
  EXPECT_EQ(1, owned[2]->placements);
  EXPECT_TRUE(HasRect(items.back(), 0, 41, 50, 49));
  // Another width places every child again, from the top.
  EXPECT_EQ(37, layout.ArrangeChild(items, {0, 0, 40, 100}).cy);
  EXPECT_EQ(0, layout.GetLead());
  EXPECT_TRUE(HasRect(items.front(), 0, 0, 40, 20));
}

TEST(VLayoutTest, AChildKeptInPlaceStillLaysOutAChildAddedToIt) {
  VBox outer;
  auto* row = new HBox;
  row->ApplyAttributeList(L"height=\"20\"");
  outer.Add(row);
  auto* inner = new Box;
  inner->ApplyAttributeList(L"width=\"30\" height=\"20\"");
  row->Add(inner);
  outer.SetPos({0, 0, 50, 100});
  outer.SetPos({0, 0, 50, 100});  // without a window only a second call clears the marks
  Control* child = Child(*inner, L"width=\"10\" height=\"10\" halign=\"right\"");
  // The top is marked as well, as the window's root is when a row is built without a parent.
  outer.ArrangeSelf();
  outer.SetPos({0, 0, 50, 100});
  EXPECT_TRUE(HasRect(child, 20, 0, 30, 10));
}

TEST(BoxTest, AnUnchangedBoxPlacesItsChildrenAgainOnceOneOfThemChanged) {
  Box box;
  CountingControl* child = CountedChild(box, L"width=\"10\" height=\"10\"");
  box.SetPos({0, 0, 50, 50});
  box.SetPos({0, 0, 50, 50});  // without a window only a second call clears the box's mark
  const int placements = child->placements;
  box.SetPos({0, 0, 50, 50});
  EXPECT_EQ(placements, child->placements);
  child->SetMargin({5, 0, 0, 0}, false);
  box.SetPos({0, 0, 50, 50});
  EXPECT_TRUE(HasRect(child, 5, 0, 15, 10));
  child->SetHorAlign(2);
  box.SetPos({0, 0, 50, 50});
  EXPECT_TRUE(HasRect(child, 40, 0, 50, 10));
}

TEST(LayoutTest, PlainBoxOverlapsChildrenByAlignmentAndMargin) {
  Box box;
  Control* centred = Child(box, L"width=\"10\" height=\"4\" halign=\"center\"");
  Control* corner = Child(box, L"width=\"5\" height=\"5\" halign=\"right\" valign=\"bottom\"");
  Control* filled = Child(box, L"margin=\"1,2,3,4\"");
  box.SetPos({0, 0, 25, 20});
  // A 10-pixel child centred in 25 pixels starts 7 pixels in.
  EXPECT_TRUE(HasRect(centred, 7, 0, 17, 4));
  EXPECT_TRUE(HasRect(corner, 20, 15, 25, 20));
  EXPECT_TRUE(HasRect(filled, 1, 2, 22, 16));
}

TEST(LayoutTest, MinimumAndMaximumClampPlacedChildren) {
  Box box;
  Control* small = Child(box, L"width=\"3\" minwidth=\"8\" maxheight=\"6\"");
  box.SetPos({0, 0, 30, 30});
  EXPECT_TRUE(HasRect(small, 0, 0, 8, 6));
}

TEST(LayoutTest, NegativeMaximumHeightMeansNoLimit) {
  Box box;
  Control* child = Child(box, L"maxheight=\"stretch\"");
  box.SetPos({0, 0, 30, 30});
  EXPECT_TRUE(HasRect(child, 0, 0, 30, 30));
}

TEST(LayoutTest, PercentOfAStretchSplitFollowsSiblingCount) {
  // Four stretch children in 10 pixels: 3, 3, 2, 2.
  HBox box;
  std::vector<Control*> children;
  for (int i = 0; i < 4; ++i) children.push_back(Child(box, L""));
  box.SetPos({0, 0, 10, 1});
  const int expected[] = {3, 3, 2, 2};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(expected[i], PosOf(children[i]).right - PosOf(children[i]).left) << i;
  }
}

TEST(LayoutEstimateTest, AutoBoxesEstimateFromChildrenAndPadding) {
  HBox row;
  row.ApplyAttributeList(L"width=\"auto\" height=\"auto\" padding=\"1,2,3,4\" childmargin=\"5\"");
  Child(row, L"width=\"10\" height=\"7\"");
  Child(row, L"width=\"20\" height=\"9\" margin=\"1,1,1,1\"");
  const SIZE size = row.EstimateSize({200, 200});
  EXPECT_EQ(1 + 10 + 5 + 22 + 3, size.cx);
  EXPECT_EQ(2 + 11 + 4, size.cy);

  VBox column;
  column.ApplyAttributeList(L"width=\"auto\" height=\"auto\"");
  Child(column, L"width=\"10\" height=\"7\"");
  Child(column, L"width=\"20\" height=\"9\"");
  const SIZE column_size = column.EstimateSize({200, 200});
  EXPECT_EQ(20, column_size.cx);
  EXPECT_EQ(16, column_size.cy);
}

TEST(LayoutEstimateTest, EmptyAutoBoxEstimatesItsPaddingOnly) {
  Box box;
  box.ApplyAttributeList(L"width=\"auto\" height=\"auto\" padding=\"3,4,5,6\"");
  const SIZE size = box.EstimateSize({100, 100});
  EXPECT_EQ(8, size.cx);
  EXPECT_EQ(10, size.cy);
}

TEST(LayoutEstimateTest, FixedBoxReturnsItsRulesUnchanged) {
  Box box;
  box.ApplyAttributeList(L"width=\"30\"");
  const SIZE size = box.EstimateSize({100, 100});
  EXPECT_EQ(30, size.cx);
  EXPECT_EQ(kSizeStretch, size.cy);
}

TEST(LayoutAttributeTest, PaddingAndChildMarginAreDpiScaled) {
  ScopedDisplayScale scale(150, true);
  Layout layout;
  EXPECT_TRUE(layout.SetAttribute(L"padding", L"4,6,4,6"));
  const RECT padding = layout.GetPadding();
  EXPECT_EQ(6, padding.left);
  EXPECT_EQ(9, padding.top);
  EXPECT_EQ(6, padding.right);
  EXPECT_EQ(9, padding.bottom);
  EXPECT_TRUE(layout.SetAttribute(L"childmargin", L"4"));
  EXPECT_EQ(6, layout.GetChildMargin());
  EXPECT_FALSE(layout.SetAttribute(L"width", L"4"));
}

TEST(LayoutAttributeTest, ShortPaddingLeavesMissingSidesZero) {
  Layout layout;
  layout.SetAttribute(L"padding", L"4,6");
  const RECT padding = layout.GetPadding();
  EXPECT_EQ(4, padding.left);
  EXPECT_EQ(6, padding.top);
  EXPECT_EQ(0, padding.right);
  EXPECT_EQ(0, padding.bottom);
}

}  // namespace
}  // namespace ui
