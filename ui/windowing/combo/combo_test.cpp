#include "ui/windowing/combo/combo.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/list/list_box.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/testing/scoped_display_scale.h"
#include "ui/windowing/combo/combo_wnd.h"
#include "ui/windowing/window/window_test_fixture.h"

namespace ui {
namespace {

constexpr int kItemHeight = 20;

// A list item that reports its destruction.
class TracedItem : public ListContainerElement {
 public:
  explicit TracedItem(bool* destroyed) : destroyed_(destroyed) {}
  ~TracedItem() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

// A 100 x 20 combo at (10, 10) of a real window at the screen origin, with three 20-pixel
// items "a", "b" and "c".
class ComboTest : public testing_support::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    combo_->SetAttribute(L"float", L"true");
    root_->Add(combo_);
    combo_->SetPos({10, 10, 110, 30});
    for (const wchar_t* text : {L"a", L"b", L"c"}) combo_->Add(MakeItem(text));
  }
  ListContainerElement* MakeItem(const wchar_t* text, bool* destroyed = nullptr) {
    auto* item = destroyed ? new TracedItem(destroyed) : new ListContainerElement;
    item->SetFixedHeight(kItemHeight, false);
    item->SetText(text);
    return item;
  }
  // The drop-down's screen rectangle; empty when it is closed.
  RECT DropRect() {
    RECT rect = {0, 0, 0, 0};
    if (combo_->GetDropWindow()) GetWindowRect(combo_->GetDropWindow()->GetHWND(), &rect);
    return rect;
  }
  HWND DropHandle() { return combo_->GetDropWindow()->GetHWND(); }

  Combo* combo_ = new Combo;
};

TEST_F(ComboTest, OpensBelowAsTallAsItsItems) {
  int clicks = 0;
  combo_->AttachEvent(kEventClick, [&](EventArgs*) {
    ++clicks;
    return true;
  });
  combo_->Activate();
  ASSERT_NE(nullptr, combo_->GetDropWindow());
  const RECT drop = DropRect();
  EXPECT_EQ(10, drop.left);
  EXPECT_EQ(31, drop.top);
  EXPECT_EQ(110, drop.right);
  EXPECT_EQ(31 + 3 * kItemHeight + 2, drop.bottom);
  EXPECT_EQ(1, clicks);
  // The list lives in the drop-down while it is open.
  EXPECT_EQ(combo_->GetDropWindow(), combo_->GetListBox()->GetWindow());
  CComboWnd* open = combo_->GetDropWindow();
  combo_->Activate();
  EXPECT_EQ(open, combo_->GetDropWindow());
  EXPECT_EQ(1, clicks);
}

// Items that leave their height to the list (a window's plain text items) get the combo's own:
// none may open a drop-down too short to show them.
TEST_F(ComboTest, ItemsWithoutAHeightOfTheirOwnAreAsTallAsTheCombo) {
  combo_->RemoveAll();
  for (const wchar_t* text : {L"a", L"b"}) {
    auto* item = new ListContainerElement;
    item->SetText(text);
    combo_->Add(item);
  }
  combo_->Add(MakeItem(L"c"));
  combo_->Activate();
  ASSERT_NE(nullptr, combo_->GetDropWindow());
  const RECT drop = DropRect();
  EXPECT_EQ(31, drop.top);
  EXPECT_EQ(31 + 3 * kItemHeight + 2, drop.bottom);
  // The drop-down lays its list out when it paints. Painted at once rather than pumped: a
  // window of another program taking the focus meanwhile would close it.
  RedrawWindow(DropHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  for (int index = 0; index < 3; ++index) {
    const RECT item = combo_->GetListBox()->GetItemAt(index)->GetPos();
    EXPECT_EQ(kItemHeight, item.bottom - item.top) << index;
  }
}

TEST_F(ComboTest, OpensAboveWhenAskedOrWithoutRoomBelow) {
  combo_->SetAttribute(L"popuptop", L"true");
  combo_->Activate();
  RECT drop = DropRect();
  EXPECT_EQ(10 - (3 * kItemHeight + 2), drop.top);
  EXPECT_EQ(10, drop.bottom);
  SendMessageW(DropHandle(), WM_KILLFOCUS, 0, 0);
  PumpMessages();
  ASSERT_EQ(nullptr, combo_->GetDropWindow());

  combo_->SetAttribute(L"popuptop", L"false");
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(hwnd_, nullptr, 0, work.bottom - 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  combo_->Activate();
  drop = DropRect();
  EXPECT_EQ(work.bottom - 40 + 10, drop.bottom);
}

TEST_F(ComboTest, DropBoxSizeSetsTheWidthAndScales) {
  ScopedDisplayScale scale(150, true);
  combo_->SetAttribute(L"dropboxsize", L"200,300");
  EXPECT_EQ(300, combo_->GetDropBoxSize().cx);
  EXPECT_EQ(450, combo_->GetDropBoxSize().cy);
  combo_->Activate();
  EXPECT_EQ(300, DropRect().right - DropRect().left);
}

TEST_F(ComboTest, ChoosingAnItemClosesTheDropDownAndShowsItsText) {
  std::vector<WPARAM> selects;
  combo_->AttachEvent(kEventSelect, [&](EventArgs* args) {
    selects.push_back(args->wParam);
    EXPECT_EQ(-1, args->lParam);
    return true;
  });
  for (int round = 0; round < 2; ++round) {  // the second time the same item again
    combo_->Activate();
    ASSERT_NE(nullptr, combo_->GetDropWindow());
    HWND drop = DropHandle();
    combo_->GetListBox()->SelectItem(1, false, true);
    PumpMessages();
    EXPECT_EQ(nullptr, combo_->GetDropWindow());
    EXPECT_FALSE(IsWindow(drop));
  }
  EXPECT_EQ(1, combo_->GetCurSel());
  EXPECT_EQ(L"b", combo_->GetText());
  EXPECT_EQ((std::vector<WPARAM>{1, 1}), selects);
  // A click on the current item closes the drop-down as well.
  combo_->Activate();
  ASSERT_NE(nullptr, combo_->GetDropWindow());
  static_cast<ListContainerElement*>(combo_->GetListBox()->GetItemAt(1))->Activate();
  PumpMessages();
  EXPECT_EQ(nullptr, combo_->GetDropWindow());
  EXPECT_EQ((std::vector<WPARAM>{1, 1, 1}), selects);
  // The list is back out of every window.
  EXPECT_EQ(nullptr, combo_->GetListBox()->GetWindow());
  EXPECT_EQ(nullptr, combo_->GetListBox()->GetParent());
  EXPECT_EQ(window_.get(), combo_->GetWindow());
}

TEST_F(ComboTest, LosingTheFocusClosesAndKeepsTheListSelection) {
  combo_->Activate();
  combo_->GetListBox()->SelectItem(2, false, false);
  SendMessageW(DropHandle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd_), 0);
  EXPECT_TRUE(combo_->GetDropWindow()->IsClosing());
  EXPECT_EQ(nullptr, combo_->GetListBox()->GetWindow());
  PumpMessages();
  EXPECT_EQ(nullptr, combo_->GetDropWindow());
  EXPECT_EQ(2, combo_->GetCurSel());
  EXPECT_EQ(L"c", combo_->GetText());
  // It opens again with the same list.
  combo_->Activate();
  EXPECT_EQ(combo_->GetDropWindow(), combo_->GetListBox()->GetWindow());
}

TEST_F(ComboTest, SelectionAndRemovalDestroyTheItems) {
  EXPECT_FALSE(combo_->SelectItem(3));
  EXPECT_FALSE(combo_->SelectItem(-1));
  EXPECT_TRUE(combo_->SelectItem(0));
  EXPECT_FALSE(combo_->SelectItem(0));
  bool removed = false;
  bool kept = false;
  ListContainerElement* doomed = MakeItem(L"d", &removed);
  combo_->Add(doomed);
  combo_->Add(MakeItem(L"e", &kept));
  EXPECT_EQ(5, combo_->GetCount());
  EXPECT_TRUE(combo_->Remove(doomed));
  EXPECT_TRUE(removed);
  EXPECT_FALSE(combo_->Remove(nullptr));
  EXPECT_FALSE(combo_->Add(nullptr));
  combo_->RemoveAll();
  EXPECT_TRUE(kept);
  EXPECT_EQ(-1, combo_->GetCurSel());
  EXPECT_EQ(L"", combo_->GetText());
  EXPECT_EQ(0, combo_->GetCount());

  // Without auto-destroy the caller takes the item back alive.
  bool taken_back_destroyed = false;
  ListContainerElement* taken = MakeItem(L"f", &taken_back_destroyed);
  combo_->Add(taken);
  combo_->SetAutoDestroyChild(false);
  EXPECT_TRUE(combo_->RemoveAt(0));
  PumpMessages();
  ASSERT_FALSE(taken_back_destroyed);
  EXPECT_EQ(nullptr, taken->GetOwner());
  delete taken;
  EXPECT_TRUE(taken_back_destroyed);
}

TEST_F(ComboTest, DestroyedComboDeletesItsItemsAndClosesItsDropDown) {
  bool destroyed = false;
  combo_->Add(MakeItem(L"d", &destroyed));
  combo_->Activate();
  HWND drop = DropHandle();
  root_->Remove(combo_);
  PumpMessages();  // the window deletes removed controls on WM_APP+1
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(drop));
}

// The items live in the list: walks of the window's tree (names, layout, hit tests) and
// insertions among the combo's own children must not take them for children of the combo.
TEST_F(ComboTest, TreeWalksAndAddAtUseTheCombosOwnChildren) {
  auto collect = [](Control* control, void* data) -> Control* {
    static_cast<std::vector<Control*>*>(data)->push_back(control);
    return nullptr;
  };
  std::vector<Control*> seen;
  root_->FindControl(collect, &seen, 0);
  EXPECT_EQ((std::vector<Control*>{combo_, root_}), seen);
  auto hit = [](Control* control, void*) -> Control* { return control; };
  POINT point = {20, 20};
  EXPECT_EQ(combo_, root_->FindControl(hit, &point, Control::kFindHitTest));

  Control stray;
  EXPECT_FALSE(combo_->AddAt(&stray, 1));  // no own child yet: only index 0 exists
  auto* own = new Control;
  own->SetAttribute(L"float", L"true");
  ASSERT_TRUE(combo_->AddAt(own, 0));
  EXPECT_EQ(3, combo_->GetCount());
  seen.clear();
  root_->FindControl(collect, &seen, 0);
  EXPECT_EQ((std::vector<Control*>{own, combo_, root_}), seen);
}

TEST_F(ComboTest, ClickHandlerMayDestroyTheCombo) {
  bool destroyed = false;
  combo_->Add(MakeItem(L"d", &destroyed));
  root_->SetAutoDestroyChild(false);
  Combo* combo = combo_;
  combo_->AttachEvent(kEventClick, [this, combo](EventArgs*) {
    root_->Remove(combo);
    delete combo;
    return true;
  });
  combo_->Activate();  // must not repaint the deleted combo
  EXPECT_TRUE(destroyed);
  PumpMessages();
  EXPECT_EQ(nullptr, FindWindowW(L"ComboWnd", nullptr));
}

}  // namespace
}  // namespace ui
