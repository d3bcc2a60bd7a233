#include "ui/controls/list/list_box.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/controls/animation/fake_animation_clock.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/list/list_test_support.h"

namespace ui {
namespace {

using list_testing::kRowHeight;
using Selects = std::vector<std::pair<int, int>>;

// The clock is a base ahead of the fixture: it must outlive the list.
struct ClockHolder {
  FakeAnimationClock clock_;
};

// Elements of kRowHeight, five of which fit the view.
class ListBoxTest : public testing::Test,
                    protected ClockHolder,
                    public list_testing::ListFixture<ListBox> {
 protected:
  ListBoxTest() : ListFixture(new ListBox(new VLayout, &clock_)) {}

  void Fill(int count) {
    for (int i = 0; i < count; ++i) list->Add(MakeElement(i));
    Layout();
  }

  static ListContainerElement* MakeElement(int i) {
    auto* element = new ListContainerElement;
    element->SetName(L"e" + std::to_wstring(i));
    element->SetFixedHeight(kRowHeight, false);
    return element;
  }

  ListContainerElement* At(int index) const {
    return static_cast<ListContainerElement*>(list->GetItemAt(index));
  }

  // Every element's index matches its place, and only the current item is selected.
  void ExpectConsistent() const {
    for (int i = 0; i < list->GetCount(); ++i) {
      EXPECT_EQ(i, At(i)->GetIndex()) << i;
      EXPECT_EQ(i == list->GetCurSel(), At(i)->IsSelected()) << i;
    }
  }
};

TEST_F(ListBoxTest, SelectItemRaisesSelectAndFailuresLeaveNoSelection) {
  Fill(10);
  EXPECT_TRUE(list->SelectItem(2, false, true));
  EXPECT_TRUE(list->SelectItem(2, false, true));  // unchanged, raised again
  EXPECT_EQ((Selects{{2, -1}, {2, 2}}), selects);
  ExpectConsistent();

  At(4)->SetVisible(false);
  EXPECT_FALSE(list->SelectItem(4, false, true));
  EXPECT_EQ(-1, list->GetCurSel());
  ExpectConsistent();
  list->SelectItem(3, false, false);
  At(5)->SetEnabled(false);
  EXPECT_FALSE(list->SelectItem(5, false, true));
  EXPECT_FALSE(list->SelectItem(42, false, true));
  EXPECT_FALSE(list->SelectItem(-1, false, true));
  EXPECT_EQ(-1, list->GetCurSel());
  EXPECT_EQ(2u, selects.size());

  // A click on an element selects through the list.
  At(6)->Activate();
  EXPECT_EQ(6, list->GetCurSel());
  EXPECT_EQ(std::make_pair(6, -1), selects.back());
  At(6)->Activate();  // a click on the selected item tells again
  EXPECT_EQ(std::make_pair(6, 6), selects.back());
  EXPECT_TRUE(At(6)->IsSelected());
}

TEST_F(ListBoxTest, RemovingRenumbersAndSelectsTheNextItem) {
  Fill(11);
  list->SelectItem(6, false, false);
  list->RemoveAt(0);  // the first of a list that scrolls: the others keep their places
  EXPECT_EQ(5, list->GetCurSel());
  ExpectConsistent();
  At(3)->Activate();
  EXPECT_EQ(std::make_pair(3, 5), selects.back());
  EXPECT_EQ(L"e4", At(3)->GetName());
  list->RemoveAll();
  Fill(10);
  list->SelectItem(5, false, false);
  list->Remove(At(2));  // above the selection: the same item stays selected
  EXPECT_EQ(4, list->GetCurSel());
  EXPECT_EQ(L"e5", At(4)->GetName());
  ExpectConsistent();

  list->RemoveAt(4);  // the selected item: its successor moves in and is selected
  EXPECT_EQ(4, list->GetCurSel());
  EXPECT_EQ(L"e6", At(4)->GetName());
  EXPECT_EQ(std::make_pair(4, -1), selects.back());
  ExpectConsistent();

  // The successor is hidden: the nearest selectable item before the removed one.
  At(5)->SetVisible(false);
  list->RemoveItemAt(4);
  EXPECT_EQ(3, list->GetCurSel());
  ExpectConsistent();

  // The last selectable item goes: the list ends up without selection, not on a stale index.
  list->RemoveAll();
  Fill(2);
  At(1)->SetVisible(false);
  list->SelectItem(0, false, false);
  list->RemoveAt(0);
  EXPECT_EQ(-1, list->GetCurSel());
  EXPECT_FALSE(At(0)->IsSelected());
  EXPECT_FALSE(list->RemoveAt(3));
  EXPECT_FALSE(list->Remove(MakeElement(99)));
}

TEST_F(ListBoxTest, RemovingWithoutSelectNextClearsTheSelection) {
  Fill(4);
  list->SetSelectNextWhenActiveRemoved(false);
  list->SelectItem(1, false, false);
  const size_t events = selects.size();
  list->RemoveAt(1);
  EXPECT_EQ(-1, list->GetCurSel());
  EXPECT_EQ(events, selects.size());
  ExpectConsistent();
}

TEST_F(ListBoxTest, InsertingAndMovingKeepTheSameElementSelected) {
  Fill(5);
  list->SelectItem(2, false, false);
  ListContainerElement* selected = At(2);
  ASSERT_TRUE(list->AddAt(MakeElement(10), 0));
  EXPECT_EQ(selected, At(list->GetCurSel()));
  ExpectConsistent();
  ASSERT_TRUE(list->SetItemIndex(selected, 5));
  EXPECT_EQ(5, list->GetCurSel());
  ASSERT_TRUE(list->SetItemIndex(At(0), 5));
  EXPECT_EQ(4, list->GetCurSel());
  EXPECT_EQ(selected, At(4));
  ExpectConsistent();
  EXPECT_FALSE(list->SetItemIndex(MakeElement(11), 0));
  list->RemoveAll();
  EXPECT_EQ(-1, list->GetCurSel());
}

TEST_F(ListBoxTest, KeysSkipHiddenAndDisabledItems) {
  Fill(6);
  At(0)->SetEnabled(false);
  At(2)->SetVisible(false);
  At(5)->SetVisible(false);
  Key(VK_HOME);
  EXPECT_EQ(1, list->GetCurSel());
  Key(VK_DOWN);
  EXPECT_EQ(3, list->GetCurSel());
  Key(VK_UP);
  EXPECT_EQ(1, list->GetCurSel());
  Key(VK_UP);  // nothing selectable above: stays
  EXPECT_EQ(1, list->GetCurSel());
  // The last item is hidden: End lands on the last selectable one.
  Key(VK_END);
  EXPECT_EQ(4, list->GetCurSel());
  // Down from the last selectable item keeps it (and tells again).
  Key(VK_DOWN);
  EXPECT_EQ(4, list->GetCurSel());
  EXPECT_EQ(std::make_pair(4, 4), selects.back());
  ExpectConsistent();
}

TEST_F(ListBoxTest, PageKeysScrollWithoutChangingTheSelection) {
  Fill(10);
  list->SelectItem(0, false, false);
  Key(VK_NEXT);
  EXPECT_EQ(100, ScrollY());
  Key(VK_PRIOR);
  EXPECT_EQ(0, ScrollY());
  EXPECT_EQ(0, list->GetCurSel());
}

TEST_F(ListBoxTest, PressingTheListStopsTheSmoothScroll) {
  Fill(10);
  Wheel(-120);
  clock_.Advance(20);
  ASSERT_TRUE(list->scroll_animation().IsPlaying());
  EventArgs press;
  press.type = kEventInternalDoubleClick;  // reaches ButtonDown; a plain button down is ignored
  press.sender = list;
  list->HandleEvent(press);
  EXPECT_FALSE(list->scroll_animation().IsPlaying());
  const int stopped_at = ScrollY();
  clock_.Advance(500);
  EXPECT_EQ(stopped_at, ScrollY());
}

TEST_F(ListBoxTest, EmptyListIgnoresKeysSilently) {
  Layout();
  for (wchar_t key : {VK_HOME, VK_END, VK_UP, VK_DOWN}) Key(key);
  EXPECT_EQ(-1, list->GetCurSel());
  EXPECT_TRUE(selects.empty());
}

TEST_F(ListBoxTest, WheelMovesTheSelectionOnlyWithScrollSelect) {
  Fill(10);
  list->SelectItem(3, false, false);
  list->SetAttribute(L"scrollselect", L"true");
  Wheel(-120);
  EXPECT_EQ(4, list->GetCurSel());
  Wheel(120);
  Wheel(120);
  EXPECT_EQ(2, list->GetCurSel());
  list->SetAttribute(L"scrollselect", L"false");
  Wheel(120);
  EXPECT_EQ(2, list->GetCurSel());
}

TEST_F(ListBoxTest, SelectedItemIsScrolledIntoView) {
  Fill(10);                           // content 200, view 100
  list->SelectItem(7, false, false);  // 140..160: its bottom at the view's bottom
  EXPECT_EQ(60, ScrollY());
  list->SelectItem(5, false, false);  // already inside
  EXPECT_EQ(60, ScrollY());
  list->SelectItem(1, false, false);  // 20..40: its top at the view's top
  EXPECT_EQ(20, ScrollY());
  Key(VK_END);
  EXPECT_EQ(100, ScrollY());

  EXPECT_TRUE(list->ScrollItemToTop(L"e3"));
  EXPECT_EQ(60, ScrollY());
  EXPECT_EQ(L"e3", list->GetTopItem()->GetName());
  EXPECT_FALSE(list->ScrollItemToTop(L"nobody"));
}

TEST_F(ListBoxTest, HidingTheSelectedElementClearsTheSelectionSilently) {
  Fill(3);
  list->SelectItem(1, false, true);
  const size_t events = selects.size();
  At(1)->SetFadeVisible(false);
  EXPECT_FALSE(At(1)->IsVisible());
  EXPECT_EQ(-1, list->GetCurSel());
  EXPECT_FALSE(At(1)->IsSelected());
  EXPECT_EQ(events, selects.size());
}

TEST_F(ListBoxTest, ElementRaisesReturnAndMenu) {
  Fill(3);
  int returns = 0;
  int menus = 0;
  At(1)->AttachEvent(kEventReturn, [&returns](EventArgs*) { return ++returns > 0; });
  At(1)->AttachEvent(kEventMouseMenu, [&menus](EventArgs*) { return ++menus > 0; });
  EventArgs key;
  key.type = kEventKeyDown;
  key.sender = At(1);
  key.chKey = VK_RETURN;
  At(1)->HandleEvent(key);
  EXPECT_EQ(1, returns);
  EventArgs menu;
  menu.type = kEventInternalMenu;
  menu.sender = At(1);
  At(1)->HandleEvent(menu);
  EXPECT_EQ(1, menus);
  EXPECT_EQ(1, list->GetCurSel());
}

}  // namespace
}  // namespace ui
