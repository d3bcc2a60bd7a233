#include "ui/controls/tab/tile_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/tab/tile_box.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

std::vector<LONG> Sides(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

class TileLayoutTest : public testing::Test {
 protected:
  TileLayout* Layout() { return static_cast<TileLayout*>(box_.GetLayout()); }
  // A child of the given fixed size (-1 stretches), appended to the box.
  Control* AddChild(int width, int height) {
    auto* child = new Control;
    child->SetFixedWidth(width, false, false);
    child->SetFixedHeight(height, false);
    box_.Add(child);
    return child;
  }
  static int Width(Control* child) { return child->GetPos().right - child->GetPos().left; }

  TileBox box_;
};

TEST_F(TileLayoutTest, FixedColumnsShareTheLeftoverPixelsFromTheLeft) {
  Layout()->SetAttribute(L"columns", L"3");
  std::vector<Control*> cells;
  for (int i = 0; i < 6; ++i) cells.push_back(AddChild(-1, 20));
  const SIZE used = Layout()->ArrangeChild(box_.items(), {0, 0, 310, 500});
  const int lefts[] = {0, 104, 207};
  const int widths[] = {104, 103, 103};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(lefts[i % 3], cells[i]->GetPos().left) << i;
    EXPECT_EQ(widths[i % 3], Width(cells[i])) << i;
    EXPECT_EQ(i < 3 ? 0 : 20, cells[i]->GetPos().top) << i;
  }
  EXPECT_EQ(310, used.cx);
  EXPECT_EQ(40, used.cy);
}

TEST_F(TileLayoutTest, ItemWidthDecidesTheColumns) {
  Layout()->SetAttribute(L"itemsize", L"100,80");
  std::vector<Control*> cells;
  for (int i = 0; i < 4; ++i) cells.push_back(AddChild(-1, 80));
  Layout()->ArrangeChild(box_.items(), {10, 0, 360, 500});
  EXPECT_EQ(117, Width(cells[0]));
  EXPECT_EQ(117, Width(cells[1]));
  EXPECT_EQ(116, Width(cells[2]));
  EXPECT_EQ(10, cells[3]->GetPos().left);  // fourth item opens row two
  EXPECT_EQ(80, cells[3]->GetPos().top);
  // Narrower than one item: still one column.
  Layout()->ArrangeChild(box_.items(), {0, 0, 50, 500});
  EXPECT_EQ(50, Width(cells[1]));
  EXPECT_EQ(80, cells[1]->GetPos().top);
}

TEST_F(TileLayoutTest, ChildrenAreCentredInRowsAsTallAsTheTallestChild) {
  Layout()->SetAttribute(L"columns", L"2");
  Layout()->SetChildMargin(10);
  Control* small = AddChild(40, 20);
  Control* tall = AddChild(60, 50);
  tall->SetMargin({0, 5, 0, 5}, false);
  Control* floating = AddChild(-1, -1);
  floating->SetAttribute(L"float", L"true");
  Control* next = AddChild(40, 20);
  const SIZE used = Layout()->ArrangeChild(box_.items(), {0, 0, 200, 500});
  // Cells of 100; row height 50 + 10 of margins; half the child margin inside each side.
  EXPECT_EQ(Sides({30, 20, 70, 40}), Sides(small->GetPos()));
  // Centred between its top margin and the row bottom.
  EXPECT_EQ(Sides({120, 7, 180, 57}), Sides(tall->GetPos()));
  EXPECT_EQ(Sides({0, 0, 200, 500}), Sides(floating->GetPos()));  // over everything, no cell
  EXPECT_EQ(Sides({30, 70, 70, 90}), Sides(next->GetPos()));      // row two after the child margin
  EXPECT_EQ(90, used.cy);
  EXPECT_EQ(0, Layout()->ArrangeChild({}, {0, 0, 200, 500}).cy);
}

// "stretch" (-1) as a maximum means no limit, as in the other layouts; read as a number it
// would squeeze the child and its row to nothing.
TEST_F(TileLayoutTest, AStretchMaximumHeightLeavesTheChildItsHeight) {
  Layout()->SetAttribute(L"columns", L"2");
  Control* unlimited = AddChild(40, 30);
  unlimited->SetAttribute(L"maxheight", L"stretch");
  Control* plain = AddChild(40, 20);
  plain->SetAttribute(L"maxheight", L"stretch");
  const SIZE used = Layout()->ArrangeChild(box_.items(), {0, 0, 200, 500});
  EXPECT_EQ(Sides({30, 0, 70, 30}), Sides(unlimited->GetPos()));
  EXPECT_EQ(Sides({130, 5, 170, 25}), Sides(plain->GetPos()));  // centred in the 30-pixel row
  EXPECT_EQ(30, used.cy);
}

TEST_F(TileLayoutTest, EstimateStacksRowsOfTheFirstChildsHeight) {
  box_.SetFixedWidth(kSizeAuto, false, false);
  box_.SetFixedHeight(kSizeAuto, false);
  Layout()->SetAttribute(L"columns", L"2");
  Layout()->SetAttribute(L"padding", L"0,4,0,6");
  Layout()->SetChildMargin(3);
  EXPECT_EQ(0, Layout()->EstimateSizeByChild(box_.items(), {300, 300}).cy);
  for (int i = 0; i < 5; ++i) AddChild(-1, 30);
  EXPECT_EQ(3 * 30 + 10 + 2 * 3, Layout()->EstimateSizeByChild(box_.items(), {300, 300}).cy);
}

TEST_F(TileLayoutTest, AttributesAreScaledAndBadColumnsIgnored) {
  ScopedDisplayScale scale(150, true);
  EXPECT_TRUE(Layout()->SetAttribute(L"itemsize", L"100,80"));
  EXPECT_EQ(150, Layout()->GetItemSize().cx);
  EXPECT_EQ(120, Layout()->GetItemSize().cy);
  EXPECT_TRUE(Layout()->SetAttribute(L"columns", L"4"));
  EXPECT_TRUE(Layout()->SetAttribute(L"columns", L"0"));
  EXPECT_EQ(4, Layout()->GetColumns());
  EXPECT_FALSE(Layout()->SetAttribute(L"rows", L"2"));
}

}  // namespace
}  // namespace ui
