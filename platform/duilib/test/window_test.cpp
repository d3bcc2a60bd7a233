// Window objects, modal loops, control timers and the paint manager's statics.
#include <thread>

#include "test/layer_test_window.h"

namespace DuiLib {
namespace testing_support {
namespace {

constexpr wchar_t kSkin[] =
    L"<Window size=\"200,100\" caption=\"0,0,0,30\" roundcorner=\"4,4\">"
    L"<VBox name=\"MainFrame\"><WheelList name=\"list\"><Label name=\"row\" width=\"stretch\" "
    L"height=\"stretch\"/></WheelList></VBox>"
    L"</Window>";

using WindowTest = LayerTest;

TEST_F(WindowTest, CloseOnlyPostsTheCloseMessage) {
  ASSERT_NE(Open(kSkin), nullptr);
  window_->Close(IDOK);
  EXPECT_TRUE(IsWindow(window_->GetHWND()));
  EXPECT_FALSE(window_->final_message);
  Pump();
  EXPECT_FALSE(IsWindow(window_->GetHWND()));
  EXPECT_TRUE(window_->final_message);
  EXPECT_EQ(window_->GetHWND(), nullptr);
}

TEST_F(WindowTest, ShowModalEndsWhenTheWindowIsHidden) {
  window_ = std::make_unique<LayerTestWindow>(kSkin);
  ASSERT_TRUE(window_->Build());
  window_->PostMessage(LayerTestWindow::kHideMessage);
  EXPECT_EQ(window_->ShowModal(), static_cast<UINT>(IDCANCEL));
  EXPECT_TRUE(IsWindow(window_->GetHWND()));
  EXPECT_FALSE(IsWindowVisible(window_->GetHWND()));
}

TEST_F(WindowTest, ShowModalAnswersTheCloseCodeWhenTheWindowIsDestroyed) {
  window_ = std::make_unique<LayerTestWindow>(kSkin);
  ASSERT_TRUE(window_->Build());
  window_->Close(7);
  EXPECT_EQ(window_->ShowModal(), 7u);
  EXPECT_TRUE(window_->final_message);
}

TEST_F(WindowTest, ShowModalStopsAtQuitAndLeavesItQueued) {
  window_ = std::make_unique<LayerTestWindow>(kSkin);
  ASSERT_TRUE(window_->Build());
  PostQuitMessage(3);
  window_->ShowModal();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowTest, ControlTimersReachDoEventUntilKilled) {
  ASSERT_NE(Open(kSkin), nullptr);
  auto* list = static_cast<WheelList*>(window_->pm.FindControl(L"list"));
  ASSERT_TRUE(window_->pm.SetTimer(list, 10, 10));
  ASSERT_TRUE(PumpUntil([list] { return list->Count(UIEVENT_TIMER) >= 3; }));
  EXPECT_EQ(list->events.back().wParam, 10u);
  EXPECT_EQ(list->events.back().pSender, list);
  EXPECT_TRUE(window_->pm.KillTimer(list, 10));
  EXPECT_FALSE(window_->pm.KillTimer(list, 10));
  // The window's own timers are not the manager's business.
  LRESULT result = 0;
  EXPECT_FALSE(window_->pm.MessageHandler(WM_TIMER, 1402, 0, result));
}

TEST_F(WindowTest, TimerOfADestroyedControlEndsQuietly) {
  ASSERT_NE(Open(kSkin), nullptr);
  auto* list = static_cast<WheelList*>(window_->pm.FindControl(L"list"));
  CControlUI* row = window_->pm.FindControl(L"row");
  ASSERT_TRUE(window_->pm.SetTimer(row, 1, 10));
  ASSERT_TRUE(window_->pm.SetTimer(list, 2, 30));
  list->Remove(row);
  Pump();
  const int seen = list->Count(UIEVENT_TIMER);
  EXPECT_TRUE(PumpUntil([list, seen] { return list->Count(UIEVENT_TIMER) >= seen + 2; }));
  EXPECT_FALSE(window_->pm.KillTimer(row, 1));
}

// A list that empties itself on its way out, as the program's lists do.
class SelfEmptyingList : public CListUI {
 public:
  ~SelfEmptyingList() override { RemoveAll(); }
};

class SelfEmptyingWindow : public LayerTestWindow {
 public:
  SelfEmptyingWindow(std::wstring skin, bool* row_destroyed)
      : LayerTestWindow(std::move(skin)), row_destroyed_(row_destroyed) {}
  CControlUI* CreateControl(const wchar_t* class_name) override {
    const std::wstring name = class_name;
    if (name == L"SelfEmptyingList") return new SelfEmptyingList;
    if (name == L"Row") return new TracedButton(row_destroyed_);
    return LayerTestWindow::CreateControl(class_name);
  }

 private:
  bool* row_destroyed_;
};

TEST_F(WindowTest, RowsAListRemovesAsItGoesWithItsWindowAreDestroyed) {
  bool row_destroyed = false;
  window_ = std::make_unique<SelfEmptyingWindow>(
      L"<Window size=\"200,100\"><VBox name=\"MainFrame\"><SelfEmptyingList name=\"list\">"
      L"<Row name=\"row\" height=\"20\"/></SelfEmptyingList></VBox></Window>",
      &row_destroyed);
  ASSERT_TRUE(window_->Build());
  window_->ShowAndPaint();
  ASSERT_NE(window_->pm.FindControl(L"row"), nullptr);
  DestroyWindow(window_->GetHWND());
  window_.reset();
  EXPECT_TRUE(row_destroyed);
}

TEST_F(WindowTest, ControlAddedFromAnotherThreadGoesWithAWindowThatEndsFirst) {
  ASSERT_NE(Open(kSkin), nullptr);
  auto* list = static_cast<CContainerUI*>(window_->pm.FindControl(L"list"));
  bool destroyed = false;
  std::thread other([list, &destroyed] { list->Add(new TracedButton(&destroyed)); });
  other.join();
  DestroyWindow(window_->GetHWND());
  EXPECT_TRUE(destroyed);
}

TEST_F(WindowTest, SkinWindowSettingsReachThePaintManager) {
  ASSERT_NE(Open(kSkin), nullptr);
  EXPECT_EQ(window_->pm.GetCaptionRect().bottom, 30);
  EXPECT_EQ(window_->pm.GetRoundCorner().cx, 4);
  EXPECT_EQ(window_->pm.FindControl(POINT{100, 50}), window_->pm.FindControl(L"row"));
  EXPECT_EQ(window_->pm.FindControl(L"nothing"), nullptr);
}

TEST_F(WindowTest, CallsFromAnotherThreadRunOnTheWindowThread) {
  ASSERT_NE(Open(kSkin), nullptr);
  CControlUI* row = window_->pm.FindControl(L"row");
  DWORD ran_on = 0;
  auto* list = static_cast<CContainerUI*>(window_->pm.FindControl(L"list"));
  std::thread other([row, list] {
    row->SetVisible(false);
    list->Add(new CLabelUI);
  });
  other.join();
  EXPECT_TRUE(row->IsVisible());  // not yet: posted
  EXPECT_EQ(list->GetCount(), 1);
  ASSERT_TRUE(window_->pm.RunOnUiThread([&ran_on] { ran_on = GetCurrentThreadId(); }));
  EXPECT_EQ(ran_on, GetCurrentThreadId());
  Pump();
  EXPECT_FALSE(row->IsVisible());
  EXPECT_EQ(list->GetCount(), 2);
}

TEST(ResourcePathTest, EndsWithABackslash) {
  const CDuiString saved = CPaintManagerUI::GetResourcePath();
  CPaintManagerUI::SetResourcePath(L"C:\\skins");
  EXPECT_EQ(CPaintManagerUI::GetResourcePath(), L"C:\\skins\\");
  CPaintManagerUI::SetResourcePath(L"C:\\skins\\");
  EXPECT_EQ(CPaintManagerUI::GetResourcePath(), L"C:\\skins\\");
  const CDuiString instance = CPaintManagerUI::GetInstancePath();
  ASSERT_FALSE(instance.IsEmpty());
  EXPECT_EQ(instance.back(), L'\\');
  CPaintManagerUI::SetResourcePath(saved.c_str());
}

}  // namespace
}  // namespace testing_support
}  // namespace DuiLib
