// Notifications and events as the program's windows see them.
#include <vector>

#include "test/layer_test_window.h"

namespace DuiLib {
namespace testing_support {
namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"200,100\">"
    L"<VBox name=\"MainFrame\">"
    L" <HBox height=\"30\">"
    L"  <Button name=\"okbtn\" width=\"40\" height=\"30\" text=\"OK\"/>"
    L"  <Option name=\"micopt\" width=\"40\" height=\"30\"/>"
    L"  <Option name=\"tab1\" width=\"40\" height=\"30\" group=\"tabs\" selected=\"true\"/>"
    L"  <Option name=\"tab2\" width=\"40\" height=\"30\" group=\"tabs\"/>"
    L" </HBox>"
    L" <WheelList name=\"list\" height=\"30\"><Label name=\"row\" text=\"row\"/></WheelList>"
    L" <HBox name=\"bar\" height=\"30\"><TracedButton name=\"removeme\" width=\"40\" "
    L"height=\"30\"/></HBox>"
    L"</VBox>"
    L"</Window>";

class NotificationTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    ASSERT_NE(Open(kSkin), nullptr);
    window_->log.clear();
  }
  CControlUI* Find(const wchar_t* name) { return window_->pm.FindControl(name); }
  COptionUI* FindOption(const wchar_t* name) { return static_cast<COptionUI*>(Find(name)); }
};

TEST_F(NotificationTest, WindowInitIsSentOnceAfterTheFirstLayout) {
  LayerTestWindow second(kSkin);
  ASSERT_TRUE(second.Build());
  EXPECT_EQ(second.CountOf(L"windowinit:MainFrame"), 0);
  second.ShowAndPaint();
  EXPECT_EQ(second.CountOf(L"windowinit:MainFrame"), 1);
  const RECT pos = second.pm.FindControl(L"okbtn")->GetPos();
  EXPECT_EQ(pos.right - pos.left, 40);  // laid out before the notification
  second.Repaint();
  SendMessageW(second.GetHWND(), WM_SIZE, 0, MAKELPARAM(150, 80));
  second.Repaint();
  EXPECT_EQ(second.CountOf(L"windowinit:MainFrame"), 1);
  DestroyWindow(second.GetHWND());
}

TEST_F(NotificationTest, OptionInNoGroupReportsClickBeforeItToggles) {
  Click(Find(L"micopt"));
  Click(Find(L"micopt"));
  EXPECT_EQ(window_->Actions(),
            (std::vector<std::wstring>{L"click:micopt=0", L"selectchanged:micopt=1",
                                       L"click:micopt=1", L"selectchanged:micopt=0"}));
}

TEST_F(NotificationTest, OptionInAGroupSelectsAndDeselectsTheOthers) {
  Click(Find(L"tab2"));
  EXPECT_TRUE(FindOption(L"tab2")->IsSelected());
  EXPECT_FALSE(FindOption(L"tab1")->IsSelected());
  EXPECT_EQ(window_->Actions().front(), L"click:tab2=0");
  EXPECT_EQ(window_->CountOf(L"selectchanged:tab1=0"), 1);
  EXPECT_EQ(window_->CountOf(L"selectchanged:tab2=1"), 1);
  // A click on the selected member changes nothing.
  window_->log.clear();
  Click(Find(L"tab2"));
  EXPECT_EQ(window_->Actions(), std::vector<std::wstring>{L"click:tab2=1"});
}

TEST_F(NotificationTest, SelectedNotifiesOnlyChangesAndOnlyWhenAsked) {
  COptionUI* mic = FindOption(L"micopt");
  mic->Selected(true, false);
  mic->Selected(true, true);
  EXPECT_TRUE(window_->log.empty());
  mic->Selected(false, true);
  EXPECT_EQ(window_->log, std::vector<std::wstring>{L"selectchanged:micopt=0"});
  EXPECT_FALSE(mic->IsSelected());
}

TEST_F(NotificationTest, ButtonClickAndFocusAreNotifiedByType) {
  Click(Find(L"okbtn"));
  EXPECT_EQ(window_->CountOf(L"click:okbtn"), 1);
  window_->pm.SetFocus(Find(L"okbtn"));
  window_->pm.SetFocus(Find(L"micopt"));
  EXPECT_EQ(window_->CountOf(L"setfocus:okbtn"), 1);
  EXPECT_EQ(window_->CountOf(L"killfocus:okbtn"), 1);
  EXPECT_EQ(window_->CountOf(L"setfocus:micopt=0"), 1);
}

TEST_F(NotificationTest, ListSubclassDoEventSeesWheelAsLayerEvent) {
  auto* list = static_cast<WheelList*>(Find(L"list"));
  CControlUI* row = Find(L"row");
  const RECT rect = row->GetPos();
  POINT screen = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(window_->GetHWND(), &screen);
  // What the chat list posts to its window: delta -240, no keys.
  SendMessageW(window_->GetHWND(), WM_MOUSEWHEEL, 0xFF100000, MAKELPARAM(screen.x, screen.y));
  ASSERT_EQ(list->Count(UIEVENT_SCROLLWHEEL), 1);
  const TEventUI& wheel = list->events.back();
  EXPECT_EQ(LOWORD(wheel.wParam), 1);  // down
  EXPECT_EQ(wheel.pSender, row);
  EXPECT_GT(wheel.Type, UIEVENT__MOUSEBEGIN);
  EXPECT_LT(wheel.Type, UIEVENT__MOUSEEND);
}

TEST_F(NotificationTest, ControlRemovedInItsOwnNotificationIsDestroyedAfterTheDispatch) {
  auto* bar = static_cast<CContainerUI*>(Find(L"bar"));
  bool destroyed_during_dispatch = true;
  window_->on_notify = [&](TNotifyUI& msg) {
    if (msg.sType != L"click") return;
    EXPECT_TRUE(bar->Remove(msg.pSender));
    destroyed_during_dispatch = window_->traced_destroyed;
    EXPECT_EQ(msg.pSender->GetName(), L"removeme");  // still usable
  };
  Click(Find(L"removeme"));
  EXPECT_FALSE(destroyed_during_dispatch);
  EXPECT_EQ(bar->GetCount(), 0);
  Pump();
  EXPECT_TRUE(window_->traced_destroyed);
  EXPECT_EQ(Find(L"removeme"), nullptr);
}

TEST_F(NotificationTest, RemoveWithoutDestroyHandsTheControlBack) {
  auto* bar = static_cast<CContainerUI*>(Find(L"bar"));
  CControlUI* button = Find(L"removeme");
  ASSERT_TRUE(bar->Remove(button, true));
  Pump();
  EXPECT_FALSE(window_->traced_destroyed);
  EXPECT_EQ(button->GetParent(), nullptr);
  delete button;
  EXPECT_TRUE(window_->traced_destroyed);
}

}  // namespace
}  // namespace testing_support
}  // namespace DuiLib
