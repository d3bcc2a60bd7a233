// Text boxes, combos and lists: their notifications and the list subclass hook.
#include <vector>

#include "test/layer_test_window.h"

namespace DuiLib {
namespace testing_support {
namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"200,100\">"
    L"<VBox name=\"MainFrame\">"
    L" <Edit name=\"nickEdit\" height=\"24\"/>"
    L" <Combo name=\"videocom\" height=\"24\"/>"
    L" <HBox height=\"50\">"
    L"  <WheelEatingList name=\"userlist\" width=\"100\"/>"
    L"  <ListBox name=\"plainlist\" width=\"100\"/>"
    L" </HBox>"
    L"</VBox>"
    L"</Window>";

constexpr wchar_t kRow[] =
    L"<Window><ListContainerElement name=\"row\" height=\"30\" mousechild=\"false\">"
    L"<Label name=\"nick\" width=\"stretch\" height=\"stretch\"/></ListContainerElement></Window>";

class InputControlsTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    ASSERT_NE(Open(kSkin), nullptr);
    window_->log.clear();
  }
  template <typename T>
  T* Find(const wchar_t* name) {
    return static_cast<T*>(window_->pm.FindControl(name));
  }
  // Fills list with count rows built from one parsed row markup.
  void FillRows(CListUI* list, int count) {
    CDialogBuilder builder;
    for (int i = 0; i < count; ++i) {
      CControlUI* row = builder.GetMarkup()->IsValid()
                            ? builder.Create(nullptr, &window_->pm)
                            : builder.Create(kRow, 0u, nullptr, &window_->pm);
      ASSERT_NE(row, nullptr);
      ASSERT_TRUE(list->AddAt(row, list->GetCount()));
    }
    window_->Repaint();
  }
  void Wheel(CControlUI* control, WPARAM wparam) {
    const RECT rect = control->GetPos();
    POINT screen = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(window_->GetHWND(), &screen);
    SendMessageW(window_->GetHWND(), WM_MOUSEWHEEL, wparam, MAKELPARAM(screen.x, screen.y));
  }
};

TEST_F(InputControlsTest, EditNotifiesTextChangesFromCodeAndTypingAndReturn) {
  auto* edit = Find<CEditUI>(L"nickEdit");
  ASSERT_NE(edit, nullptr);
  edit->SetText(L"AB");
  EXPECT_EQ(edit->GetText(), L"AB");
  EXPECT_EQ(window_->CountOf(L"textchanged:nickEdit"), 1);
  window_->pm.SetFocus(edit);
  EXPECT_EQ(window_->CountOf(L"setfocus:nickEdit"), 1);
  edit->SetSel(-1, -1);
  SendMessageW(window_->GetHWND(), WM_CHAR, L'c', 0);
  EXPECT_EQ(edit->GetText(), L"ABc");
  EXPECT_EQ(window_->CountOf(L"textchanged:nickEdit"), 2);
  // The window answers key-down itself; the layer's translation brings Enter to the edit.
  PostMessageW(window_->GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(window_->CountOf(L"return:nickEdit"), 1);
}

TEST_F(InputControlsTest, ComboSelectionNotifiesItemSelectOnlyWhenAsked) {
  auto* combo = Find<CComboUI>(L"videocom");
  for (const wchar_t* text : {L"cam0", L"cam1", L"cam2"}) {
    auto* item = new CListLabelElementUI;
    item->SetText(text);
    ASSERT_TRUE(combo->Add(item));
  }
  EXPECT_EQ(combo->GetCount(), 3);
  EXPECT_EQ(combo->GetItemAt(2)->GetText(), L"cam2");
  window_->on_notify = [](TNotifyUI& msg) {
    if (msg.sType == L"itemselect") {
      EXPECT_EQ(msg.wParam, 1u);
    }
  };
  EXPECT_TRUE(combo->SelectItem(1));
  EXPECT_EQ(window_->Actions(), std::vector<std::wstring>{L"itemselect:videocom"});
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetText(), L"cam1");
  window_->log.clear();
  EXPECT_TRUE(combo->SelectItem(2, false, false));
  EXPECT_FALSE(combo->SelectItem(7));
  EXPECT_TRUE(window_->log.empty());
  combo->RemoveAll();
  EXPECT_EQ(combo->GetCount(), 0);
}

TEST_F(InputControlsTest, ListItemClickComesBeforeTheListSelection) {
  auto* list = Find<CListUI>(L"userlist");
  FillRows(list, 2);
  ASSERT_EQ(list->GetCount(), 2);
  auto* second = static_cast<CListContainerElementUI*>(list->GetItemAt(1));
  EXPECT_EQ(second->GetIndex(), 1);
  EXPECT_EQ(second->GetOwner(), static_cast<IListOwnerUI*>(list));
  Click(second);
  const std::vector<std::wstring> actions = window_->Actions();
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0], L"itemclick:row");
  EXPECT_EQ(actions[1], L"itemselect:userlist");
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_TRUE(second->IsSelected());
}

TEST_F(InputControlsTest, ListSubclassTakesTheWheelOverFromTheList) {
  auto* eating = Find<WheelEatingList>(L"userlist");
  auto* plain = Find<CListUI>(L"plainlist");
  FillRows(eating, 6);
  FillRows(plain, 6);
  ASSERT_GT(plain->GetScrollRange().cy, 0);
  Wheel(plain->GetItemAt(0), 0xFF880000);  // one notch down
  Wheel(eating->GetItemAt(0), 0xFF880000);
  EXPECT_EQ(eating->wheels, 1);
  EXPECT_EQ(eating->GetScrollPos().cy, 0);
  EXPECT_TRUE(PumpUntil([plain] { return plain->GetScrollPos().cy > 0; }));
  eating->SetScrollPos(SIZE{0, 20});
  EXPECT_EQ(eating->GetScrollPos().cy, 20);
}

}  // namespace
}  // namespace testing_support
}  // namespace DuiLib
