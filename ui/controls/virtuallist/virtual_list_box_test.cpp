#include "ui/controls/virtuallist/virtual_list_box.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ui/controls/list/list_container_element.h"
#include "ui/controls/list/list_test_support.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {
namespace {

using list_testing::kRowHeight;

// Rows are numbers; each element remembers the last row it was filled with.
class FakeProvider : public VirtualListBox::IDataProvider {
 public:
  explicit FakeProvider(int rows) : rows(rows) {}
  Control* CreateElement() override {
    ++created;
    auto* element = new ListContainerElement;
    element->SetFixedHeight(kRowHeight, false);
    return element;
  }
  void FillElement(Control* element, int index) override { filled[element] = index; }
  int GetElementCount() override { return rows; }

  int rows;
  int created = 0;
  std::map<Control*, int> filled;
};

// A 100 x 100 list (five rows in view) with a pool of eight elements.
class VirtualListBoxTest : public testing::Test, public list_testing::ListFixture<VirtualListBox> {
 protected:
  static constexpr int kPool = 8;

  VirtualListBoxTest() : ListFixture(new VirtualListBox) {
    list->SetDataProvider(&provider_);
    list->SetElementHeight(kRowHeight);
  }

  void Init(int rows) {
    provider_.rows = rows;
    list->InitElement(kPool);
    Layout();
  }

  // The row each element stands at, in pool order.
  std::vector<int> PlacedRows() const {
    std::vector<int> rows;
    for (Control* element : list->items()) rows.push_back(element->GetPos().top / kRowHeight);
    return rows;
  }

  // Every element standing at an existing row shows that row.
  void ExpectFilledAsPlaced() {
    for (Control* element : list->items()) {
      const int row = element->GetPos().top / kRowHeight;
      if (row >= 0 && row < provider_.rows) {
        EXPECT_EQ(row, provider_.filled[element]) << row;
      }
    }
  }

  void ScrollTo(int y) { list->SetScrollPos({0, y}); }

  FakeProvider provider_{0};
};

TEST_F(VirtualListBoxTest, FewRowsGetOneElementEachInPlainOrder) {
  Init(3);
  EXPECT_EQ(3, list->GetCount());
  EXPECT_EQ((std::vector<int>{0, 1, 2}), PlacedRows());
  ExpectFilledAsPlaced();
  EXPECT_EQ(0, list->GetScrollRange().cy);
}

TEST_F(VirtualListBoxTest, PoolFollowsTheViewDownAndUp) {
  Init(1000);
  EXPECT_EQ(kPool, list->GetCount());
  EXPECT_EQ(1000 * kRowHeight - 100, list->GetScrollRange().cy);
  // Two spare elements wait above row 0.
  EXPECT_EQ((std::vector<int>{-2, -1, 0, 1, 2, 3, 4, 5}), PlacedRows());
  ExpectFilledAsPlaced();

  struct Step {
    int y;
    std::vector<int> rows;
  };
  const Step steps[] = {
      {10, {-2, -1, 0, 1, 2, 3, 4, 5}},  // the pool still reaches the view's bottom
      {25, {1, 2, 3, 4, 5, 6, 7, 8}},    // it does not: element 0 shows the first row in view
      {60, {1, 2, 3, 4, 5, 6, 7, 8}},   {100, {5, 6, 7, 8, 9, 10, 11, 12}},
      {90, {2, 3, 4, 5, 6, 7, 8, 9}},  // up past the pool's top: spares above row 4
      {50, {2, 3, 4, 5, 6, 7, 8, 9}},   {30, {-1, 0, 1, 2, 3, 4, 5, 6}},
  };
  for (const Step& step : steps) {
    ScrollTo(step.y);
    EXPECT_EQ(step.rows, PlacedRows()) << "at " << step.y;
    ExpectFilledAsPlaced();
  }
  EXPECT_EQ(kPool, provider_.created);

  // End and Home jump; the arrows only reach the hooks.
  Key(VK_END);
  EXPECT_EQ(list->GetScrollRange().cy, ScrollY());
  EXPECT_EQ(995, PlacedRows().front());  // elements past the last row stay below the content
  ExpectFilledAsPlaced();
  Key(VK_DOWN);
  EXPECT_EQ(list->GetScrollRange().cy, ScrollY());
  Key(VK_HOME);
  EXPECT_EQ(0, ScrollY());
  EXPECT_EQ(0, PlacedRows()[2]);
  ExpectFilledAsPlaced();
}

TEST_F(VirtualListBoxTest, PoolSizeDoesNotDependOnTheRows) {
  Init(100000);
  EXPECT_EQ(kPool, list->GetCount());
  EXPECT_EQ(100000 * kRowHeight - 100, list->GetScrollRange().cy);
  ScrollTo(list->GetScrollRange().cy / 2);
  ExpectFilledAsPlaced();
  EXPECT_EQ(kPool, provider_.created);
}

TEST_F(VirtualListBoxTest, RefreshFollowsTheRowCount) {
  Init(1000);
  ScrollTo(200);
  provider_.rows = 3;
  list->Refresh();
  EXPECT_EQ(3, list->GetCount());
  Layout();
  EXPECT_EQ((std::vector<int>{0, 1, 2}), PlacedRows());
  ExpectFilledAsPlaced();

  provider_.rows = 50;
  list->Refresh();
  Layout();
  EXPECT_EQ(kPool, list->GetCount());
  ExpectFilledAsPlaced();
}

TEST_F(VirtualListBoxTest, RemoveAllStartsOverFromTheTop) {
  Init(1000);
  ScrollTo(300);
  list->RemoveAll();
  EXPECT_EQ(0, list->GetCount());
  EXPECT_EQ(0, list->GetVerticalScrollBar()->GetScrollPos());
  list->InitElement(kPool);
  Layout();
  EXPECT_EQ(0, ScrollY());
  EXPECT_EQ((std::vector<int>{-2, -1, 0, 1, 2, 3, 4, 5}), PlacedRows());
  ExpectFilledAsPlaced();
}

TEST_F(VirtualListBoxTest, ProviderThatMakesNoElementLeavesAnEmptyPool) {
  class NullProvider : public FakeProvider {
   public:
    NullProvider() : FakeProvider(100) {}
    Control* CreateElement() override { return nullptr; }
  } provider;
  list->SetDataProvider(&provider);
  list->InitElement(kPool);
  list->Refresh();
  Layout();
  EXPECT_EQ(0, list->GetCount());
}

}  // namespace
}  // namespace ui
