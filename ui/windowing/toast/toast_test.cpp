#include "ui/windowing/toast/toast.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/core/control.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/windowing/toast/notice_slot.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

namespace shared {
namespace {

using ui::testing_support::FrameworkWindowTest;

// A toast that notes the thread of every Close.
class ProbeToast : public Toast {
 public:
  // Opened the way Toast::Show opens one; null when the window could not be made.
  static ProbeToast* Open(HWND owner, const std::wstring& text, int duration,
                          std::vector<DWORD>* closes) {
    auto* toast = new ProbeToast(closes);
    if (!toast->Create(owner, L"", 0xCE0000, 0, true, RECT{0, 0, 0, 0})) return nullptr;
    toast->SetContent(text);
    toast->SetDuration(duration);
    toast->FitAutoSizedRoot();
    toast->CenterWindow();
    toast->Show(true, false);
    return toast;
  }
  void Close(UINT code) override {
    closes_->push_back(GetCurrentThreadId());
    Toast::Close(code);
  }

 private:
  explicit ProbeToast(std::vector<DWORD>* closes) : closes_(closes) {}
  std::vector<DWORD>* closes_;
};

class ToastTest : public FrameworkWindowTest {
 protected:
  bool PumpUntilGone(HWND hwnd) {
    return PumpUntil([hwnd] { return !IsWindow(hwnd); });
  }
  // The toasts of the test thread.
  static std::vector<HWND> Toasts() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &CollectToast, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static BOOL CALLBACK CollectToast(HWND hwnd, LPARAM list) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"Toast") reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
  }
  static std::wstring TextOf(HWND toast) {
    auto* window = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(toast, GWLP_USERDATA));
    auto* content =
        window ? dynamic_cast<ui::RichEdit*>(window->ControlByName(L"content")) : nullptr;
    return content ? content->GetText() : std::wstring();
  }
  std::vector<DWORD> closes_;
};

TEST(NoticeSlotTest, TheLatestPassingNoticeWaitsUntilTheShownOneHasBeenUpLongEnough) {
  constexpr int64_t kMin = NoticeSlot::kMinShownMs;
  NoticeSlot slot;
  slot.Put({L"a", 3000}, 1000);
  EXPECT_EQ(slot.Offer({L"b", 3000, true}, 1500), kMin - 500);
  EXPECT_EQ(slot.Offer({L"c", 5000, true}, 1600), kMin - 600);  // b is dropped unshown
  EXPECT_FALSE(slot.TakeWaiting(1000 + kMin - 1));
  EXPECT_EQ(slot.shown().text, L"a");
  EXPECT_TRUE(slot.TakeWaiting(1000 + kMin));
  EXPECT_EQ(slot.shown().text, L"c");
  EXPECT_EQ(slot.shown().duration_ms, 5000);
  EXPECT_FALSE(slot.waiting());
  EXPECT_FALSE(slot.TakeWaiting(1000 + 3 * kMin));
  // Up long enough: the next one may follow at once.
  EXPECT_EQ(slot.Offer({L"d", 0}, 1000 + 3 * kMin), 0);
  EXPECT_TRUE(slot.TakeWaiting(1000 + 3 * kMin));
  EXPECT_EQ(slot.shown().text, L"d");

  // Answers to the user's own actions amid a churn of joins all come, in order; of the joins
  // only the latest, after them.
  int64_t now = 1000 + 4 * kMin;
  for (const wchar_t* text : {L"join 1", L"refused", L"join 2", L"timed out", L"join 3"}) {
    slot.Offer({text, 3000, std::wstring(text).rfind(L"join", 0) == 0}, now++);
  }
  std::vector<std::wstring> shown;
  for (; slot.waiting(); now += kMin) {
    ASSERT_TRUE(slot.TakeWaiting(now));
    shown.push_back(slot.shown().text);
  }
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"refused", L"timed out", L"join 3"}));
}

// A burst of notices (a room of hundreds joining) while the user types: one toast, never
// focused, showing the latest once the first has been read.
TEST_F(ToastTest, NoticesOverOneWindowShareOneToastThatNeverTakesTheFocus) {
  HWND typing = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 40, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(typing, nullptr);
  SetActiveWindow(typing);
  SetFocus(typing);
  ASSERT_EQ(GetFocus(), typing);
  for (int i = 0; i < 300; ++i) Toast::ShowPassing(L"joined " + std::to_wstring(i), 3000, owner_);
  ASSERT_EQ(Toasts().size(), 1u);
  const HWND toast = Toasts()[0];
  EXPECT_TRUE(IsWindowVisible(toast));
  EXPECT_EQ(TextOf(toast), L"joined 0");
  EXPECT_EQ(GetFocus(), typing);
  EXPECT_EQ(GetActiveWindow(), typing);
  EXPECT_TRUE(PumpUntil([toast] { return TextOf(toast) == L"joined 299"; }));
  EXPECT_EQ(Toasts(), std::vector<HWND>{toast});

  // A notice over another window takes the place of the toast at once. (Another program on the
  // display may have taken the activation meanwhile.)
  SetActiveWindow(typing);
  SetFocus(typing);
  Toast::Show(L"elsewhere", 0, typing);
  ASSERT_EQ(Toasts().size(), 1u);
  EXPECT_EQ(GetWindow(Toasts()[0], GW_OWNER), typing);
  EXPECT_EQ(TextOf(Toasts()[0]), L"elsewhere");
  EXPECT_EQ(GetFocus(), typing);
  DestroyWindow(typing);
  EXPECT_TRUE(Toasts().empty());
}

TEST_F(ToastTest, TheTimedCloseRunsOnTheToastsOwnThread) {
  ProbeToast* toast = ProbeToast::Open(owner_, L"hello", 1, &closes_);
  ASSERT_NE(toast, nullptr);
  HWND hwnd = toast->GetHWND();
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner_);
  ASSERT_TRUE(PumpUntilGone(hwnd));
  ASSERT_EQ(closes_.size(), 1u);
  EXPECT_EQ(closes_[0], GetCurrentThreadId());
  EXPECT_NE(closes_[0], main_thread_id_.load());
}

TEST_F(ToastTest, WithoutAFrameworkUiThreadTheToastClosesByItsOwnTimer) {
  main_thread_.StopAndJoin();
  ProbeToast* toast = ProbeToast::Open(owner_, L"hello", 1, &closes_);
  ASSERT_NE(toast, nullptr);
  ASSERT_TRUE(PumpUntilGone(toast->GetHWND()));
  EXPECT_EQ(closes_.size(), 1u);
}

TEST_F(ToastTest, EscAndDoubleClickCloseIt) {
  Toast::Show(L"press Esc", 0, owner_);
  HWND hwnd = FindThreadWindow(L"Toast");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  SendMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntilGone(hwnd));

  ProbeToast* toast = ProbeToast::Open(owner_, L"double-click", 0, &closes_);
  ASSERT_NE(toast, nullptr);
  hwnd = toast->GetHWND();
  SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(40, 40));
  EXPECT_TRUE(PumpUntilGone(hwnd));
  EXPECT_EQ(closes_.size(), 1u);
}

TEST_F(ToastTest, TheCloseButtonShowsWhileTheMouseIsOverTheToast) {
  ProbeToast* toast = ProbeToast::Open(owner_, L"hover", 0, &closes_);
  ASSERT_NE(toast, nullptr);
  HWND hwnd = toast->GetHWND();
  ui::Control* close_button = toast->ControlByName(L"close_btn");
  ASSERT_NE(close_button, nullptr);
  EXPECT_FALSE(close_button->IsVisible());
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, -1);  // the synthetic move of a mouse leave
  EXPECT_FALSE(close_button->IsVisible());
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(40, 40));
  EXPECT_TRUE(close_button->IsVisible());

  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  // A busy display may still deliver an older pointer motion after the warp: wait until the
  // cursor reads where it was put.
  auto place_cursor = [this](POINT at) {
    return SetCursorPos(at.x, at.y) && PumpUntil([at] {
             POINT cursor = {};
             return GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y;
           });
  };
  if (!place_cursor({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2})) {
    GTEST_SKIP() << "the cursor cannot be placed on this display";
  }
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(close_button->IsVisible());
  if (!place_cursor({rect.right + 20, rect.bottom + 20})) {
    GTEST_SKIP() << "the cursor cannot be placed beside the toast on this display";
  }
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(close_button->IsVisible());

  // The close button itself closes the toast.
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(40, 40));
  close_button->Activate();
  EXPECT_TRUE(PumpUntilGone(hwnd));
  // The pointer is the display's, shared with the other test programs: it goes back to the
  // corner where no test window stands, so that none of theirs shows a hovered control.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

TEST_F(ToastTest, TheRenderedToastShowsItsTextOnAnOpaqueBody) {
  ProbeToast* toast = ProbeToast::Open(owner_, L"会议已开始 The meeting has started", 0, &closes_);
  ASSERT_NE(toast, nullptr);
  SendMessageW(toast->GetHWND(), WM_PAINT, 0, 0);
  ui::IRenderContext* context = toast->GetRenderContext();
  ASSERT_NE(context->GetBits(), nullptr);
  EXPECT_TRUE(
      ui::testing_support::SavePng(context, ui::testing_support::PictureFolder() + L"toast.png"));

  auto* content = dynamic_cast<ui::RichEdit*>(toast->ControlByName(L"content"));
  ASSERT_NE(content, nullptr);
  EXPECT_GT(content->GetFixedHeight(), 0);
  const RECT text = content->GetPos(true);
  const auto in_text = ui::testing_support::CountPixels(context, text, 0xFF333333);
  EXPECT_GT(in_text.differing, 40) << "no text drawn";
  const RECT body = ui::testing_support::BodyInside(toast);
  EXPECT_EQ(ui::testing_support::CountPixels(context, body, 0xFF333333).translucent, 0);
  // The margin is the shadow's: translucent at the outer edge.
  EXPECT_GT(
      ui::testing_support::CountPixels(context, RECT{0, 0, body.left, body.top}, 0).translucent, 0);
}

}  // namespace
}  // namespace shared
