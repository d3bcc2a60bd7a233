#include "ui/windowing/window/window.h"

#include <gtest/gtest.h>

#include <thread>

#include "kestrum/testing/win_wait.h"
#include "ui/base/dpi/windows_version.h"
#include "ui/base/render/render_context.h"
#include "ui/windowing/markup/markup_builder.h"
#include "ui/windowing/window/message_filter.h"
#include "ui/windowing/window/window_test_fixture.h"

namespace ui {
namespace {

using kestrum::testing_support::PumpUntil;
using testing_support::TracedControl;
using testing_support::WindowTest;

TEST_F(WindowTest, CreatingTwiceReusesTheClassAndDropsTheCaption) {
  Window second;
  HWND hwnd = second.Create(nullptr, L"second", WS_OVERLAPPEDWINDOW, 0, true, RECT{0, 0, 50, 40});
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(second.IsLayered());
  EXPECT_EQ(second.GetHWND(), hwnd);
  DestroyWindow(hwnd);
}

// Superclassing a system class chains its procedure and binds through a window property.
class StaticWindow : public Window {
 public:
  std::wstring RegisteredClassName() const override { return L"KestrumStaticTest"; }
  std::wstring BaseClassName() const override { return L"STATIC"; }
};

TEST_F(WindowTest, SuperclassedWindowBindsThroughItsPropertyAndUnbindsAtDestruction) {
  StaticWindow window;
  HWND hwnd = window.Create(nullptr, L"label", WS_POPUP, 0, false, RECT{0, 0, 30, 20});
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetPropW(hwnd, L"WndX"), static_cast<HANDLE>(static_cast<Window*>(&window)));
  wchar_t text[16] = {};
  GetWindowTextW(hwnd, text, 16);  // answered by the chained STATIC procedure
  EXPECT_STREQ(text, L"label");
  DestroyWindow(hwnd);
  EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST_F(WindowTest, AHandleThatOutlivesItsWindowObjectFallsBackToTheDefaultProcedure) {
  auto early = std::make_unique<Window>();
  HWND hwnd = early->Create(nullptr, L"early", WS_POPUP, 0, false, RECT{0, 0, 30, 20});
  ASSERT_NE(hwnd, nullptr);
  early->BindHandle(hwnd);
  early->InstallRoot(new Box);
  early.reset();
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(5, 5));
  SendMessageW(hwnd, WM_PAINT, 0, 0);
  EXPECT_TRUE(DestroyWindow(hwnd));
}

TEST_F(WindowTest, NamedControlsAreFoundAndForgottenWhenDestroyed) {
  Control* first = AddChild(RECT{0, 0, 10, 10}, L"twin");
  EXPECT_EQ(window_->ControlByName(L"twin"), first);
  Control* second = AddChild(RECT{10, 0, 20, 10}, L"twin");
  EXPECT_EQ(window_->ControlByName(L"twin"), second);
  root_->Remove(first);
  PumpMessages();
  EXPECT_EQ(window_->ControlByName(L"twin"), nullptr);
  EXPECT_EQ(window_->ControlByName(L"nobody"), nullptr);
}

TEST_F(WindowTest, ANewRootQueuesTheOldOneUntilTheDelayedDeleteMessage) {
  bool destroyed = false;
  auto* old_root = new TracedControl(&destroyed);
  old_root->SetName(L"old");
  window_->InstallRoot(old_root);
  EXPECT_EQ(window_->ControlByName(L"old"), old_root);
  EXPECT_TRUE(window_->InstallRoot(new Box));
  EXPECT_FALSE(destroyed);
  Send(Window::kDelayedDeleteMessage);
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(window_->InstallRoot(nullptr));
  EXPECT_EQ(window_->GetRoot(), nullptr);
}

TEST_F(WindowTest, QueuedControlsAreDeletedWithTheWindow) {
  bool destroyed = false;
  window_->AddDelayedDelete(new TracedControl(&destroyed));
  window_.reset();
  EXPECT_TRUE(destroyed);
}

TEST_F(WindowTest, OptionGroupsHoldEachMemberOnceAndVanishWhenEmpty) {
  Control a;
  Control b;
  EXPECT_TRUE(window_->JoinOptionGroup(L"g", &a));
  EXPECT_FALSE(window_->JoinOptionGroup(L"g", &a));
  EXPECT_TRUE(window_->JoinOptionGroup(L"g", &b));
  ASSERT_NE(window_->OptionGroupMembers(L"g"), nullptr);
  EXPECT_EQ(window_->OptionGroupMembers(L"g")->size(), 2u);
  window_->LeaveOptionGroup(L"g", &a);
  window_->LeaveOptionGroup(L"g", &b);
  EXPECT_EQ(window_->OptionGroupMembers(L"g"), nullptr);
}

TEST_F(WindowTest, ResourceFolderGainsASeparatorOnlyWhenItLacksOne) {
  struct Case {
    const wchar_t* given;
    const wchar_t* stored;
  } cases[] = {{L"skin", L"skin\\"}, {L"skin/", L"skin/"}, {L"skin\\", L"skin\\"}, {L"", L""}};
  for (const Case& c : cases) {
    window_->SetResourceFolder(c.given);
    EXPECT_EQ(window_->ResourceFolder(), c.stored) << c.given;
  }
}

TEST_F(WindowTest, WindowAttributesAreScaledExceptTheSizeBox) {
  window_->GetShadow().SetAttached(false);
  DisplayScale::Instance().OverrideForTesting(200, true);
  window_->SetCaptionRect(RECT{1, 2, 3, 4});
  window_->SetRoundCorner(3, 4);
  window_->SetMinInfo(10, 0);
  window_->SetMaxInfo(0, 20);
  window_->SetSizeBox(RECT{1, 2, 3, 4});
  window_->SetInitSize(50, 60, true);
  DisplayScale::Instance().OverrideForTesting(100, false);

  const RECT caption = window_->GetCaptionRect();
  EXPECT_EQ(caption.left, 2);
  EXPECT_EQ(caption.bottom, 8);
  EXPECT_EQ(window_->GetRoundCorner().cx, 6);
  EXPECT_EQ(window_->GetMinInfo().cx, 20);
  EXPECT_EQ(window_->GetMinInfo().cy, 0);
  EXPECT_EQ(window_->GetMaxInfo().cy, 40);
  EXPECT_EQ(window_->GetSizeBox().right, 3);
  EXPECT_EQ(window_->GetInitSize().cx, 100);
  EXPECT_EQ(window_->GetInitSize().cy, 120);
}

TEST_F(WindowTest, InitialSizeResizesAWindowWithoutRootAndCarriesTheShadowMargin) {
  Window bare;
  HWND hwnd = bare.Create(nullptr, L"bare", WS_POPUP, 0, false, RECT{0, 0, 10, 10});
  ASSERT_NE(hwnd, nullptr);
  bare.SetInitSize(120, 80, false);
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 120 + 2 * 14);
  EXPECT_EQ(rect.bottom - rect.top, 80 + 2 * 14);
  EXPECT_EQ(bare.GetInitSize().cx, 120);
  DestroyWindow(hwnd);
}

TEST_F(WindowTest, CenterWindowKeepsAWindowWiderThanTheWorkAreaOnItsLeftEdge) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  SetWindowPos(hwnd_, nullptr, 0, 0, work.right - work.left + 100, 50,
               SWP_NOZORDER | SWP_NOACTIVATE);
  window_->CenterWindow();
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  EXPECT_EQ(rect.left, work.left);
  EXPECT_EQ(rect.top, (work.top + work.bottom) / 2 - 25);
}

TEST_F(WindowTest, DestructionFiresTheWindowCloseHandlers) {
  std::vector<EventType> seen;
  window_->AttachWindowEvent(kEventWindowClose, [&seen](EventArgs* args) {
    seen.push_back(args->type);
    return true;
  });
  window_->AttachWindowEvent(kEventAll, [&seen](EventArgs*) {
    seen.push_back(kEventAll);
    return true;
  });
  DestroyWindow(hwnd_);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], kEventWindowClose);
  EXPECT_EQ(seen[1], kEventAll);
}

TEST_F(WindowTest, CloseWithoutRootPostsWmCloseAtOnceWithTheCode) {
  window_->InstallRoot(nullptr);
  window_->Close(7);
  MSG msg = {};
  ASSERT_TRUE(PeekMessageW(&msg, hwnd_, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(WindowTest, MarkupWindowAttributesApplyOnceTheWindowHasItsHandle) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const int work_height = monitor.rcWork.bottom - monitor.rcWork.top;
  ASSERT_GT(work_height, 240);

  MarkupBuilder builder;
  delete builder.Load(
      L"<Window shadowattached=\"false\" size=\"300,200\" sizebox=\"1,2,3,4\" "
      L"caption=\"0,0,0,30\" mininfo=\"100,50\" "
      L"maxinfo=\"0,120\" heightpercent=\"0.5\" roundcorner=\"4 4\" alphafixcorner=\"1,1,1,1\">"
      L"</Window>",
      nullptr, window_.get(), nullptr);

  EXPECT_EQ(window_->GetInitSize().cx, 300);
  EXPECT_EQ(window_->GetInitSize().cy, 120);  // half the work area, held by maxinfo
  EXPECT_DOUBLE_EQ(window_->GetHeightPercent(), 0.5);
  EXPECT_EQ(window_->GetSizeBox().bottom, 4);
  EXPECT_EQ(window_->GetCaptionRect().bottom, 30);
  EXPECT_EQ(window_->GetRoundCorner().cy, 4);
  EXPECT_EQ(window_->GetAlphaFixCorner().right, 1);
  EXPECT_EQ(window_->GetMinInfo().cx, 100);
}

TEST_F(WindowTest, CloseFadesTheRootOutBeforeWmCloseArrives) {
  if (!IsWindowsVistaOrLater()) GTEST_SKIP() << "no close animation before Vista";
  const DWORD start = GetTickCount();
  window_->Close(3);
  EXPECT_TRUE(IsWindow(hwnd_));
  MSG msg = {};
  EXPECT_FALSE(PeekMessageW(&msg, hwnd_, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
  // The default handling of WM_CLOSE destroys the window.
  ASSERT_TRUE(PumpUntil([this] { return !IsWindow(hwnd_); }));
  EXPECT_GE(GetTickCount() - start, 250u);
}

TEST_F(WindowTest, ALayeredWindowFadesInFromTransparentAfterItsFirstPaintAnOrdinaryOneAtOnce) {
  if (!IsWindowsVistaOrLater()) GTEST_SKIP() << "no fade-in before Vista";
  for (const bool is_layered : {true, false}) {
    Window window;
    HWND hwnd = window.Create(nullptr, L"fading", WS_POPUP, 0, is_layered, RECT{0, 0, 60, 40});
    ASSERT_NE(hwnd, nullptr);
    window.BindHandle(hwnd);
    window.InstallRoot(new Box);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    EXPECT_LT(window.WindowAlpha(), 255);
    int paints = 0;
    const auto count = [&](MSG& message) {
      paints += message.hwnd == hwnd && message.message == WM_PAINT;
      return false;
    };
    EXPECT_TRUE(PumpUntil([&window] { return window.WindowAlpha() == 255; }, count));
    // An ordinary window does not show the alpha: its steps ask for no paint (the first paint
    // may leave one behind).
    if (!is_layered) {
      EXPECT_LE(paints, 1);
    }
    DestroyWindow(hwnd);
  }
}

// Shown again, a window draws only what its controls changed while it was hidden, or what a
// paint left out, and shows the rest of its last picture; a repaint still draws everything.
TEST_F(WindowTest, AWindowShownAgainDrawsOnlyWhatChangedWhileItWasHidden) {
  ResourceHub::AddTextColor(L"window_test_before", L"#FF102030");
  ResourceHub::AddTextColor(L"window_test_after", L"#FF405060");
  // The control covers the left half; the root alone shows in the right half.
  auto* changed = new Control;
  changed->SetFixedWidth(100, false, false);
  root_->Add(changed);
  changed->SetBkColor(L"window_test_before");
  root_->SetBkColor(L"window_test_before");
  const auto show_again = [this] {
    ShowWindow(hwnd_, SW_HIDE);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
  };
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd_);
  auto* bits = static_cast<DWORD*>(window_->GetRenderContext()->GetBits());
  ASSERT_NE(bits, nullptr);
  const auto pixel = [bits](int x, int y) -> DWORD& { return bits[y * 200 + x]; };
  const DWORD before = pixel(50, 50);

  ShowWindow(hwnd_, SW_HIDE);
  changed->SetBkColor(L"window_test_after");
  // Drawing the unchanged part again would cover this mark.
  constexpr DWORD kMark = 0xFF00FF00;
  pixel(150, 50) = kMark;
  show_again();
  EXPECT_NE(pixel(50, 50), before);
  EXPECT_EQ(pixel(150, 50), kMark);

  // The system keeps what lies off the screen out of the update.
  changed->SetBkColor(L"window_test_before");
  const RECT left_half = {0, 0, 100, 100};
  const RECT right_half = {100, 0, 200, 100};
  ValidateRect(hwnd_, &left_half);
  InvalidateRect(hwnd_, &right_half, FALSE);
  UpdateWindow(hwnd_);
  show_again();
  EXPECT_EQ(pixel(50, 50), before);

  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(pixel(150, 50), before);
}

// The shadow record of a window: its markup attributes, its margin across maximise and restore,
// and what the layered paint leaves in the margin.
TEST_F(WindowTest, MarkupShadowAttributesSetTheRecordBeforeTheSizeTakesTheMargin) {
  window_->InstallRoot(nullptr);  // so that "size" resizes the window at once
  MarkupBuilder builder;
  delete builder.Load(
      L"<Window shadowimage=\"file='own.png'\" shadowcorner=\"5,6,7,8\" size=\"100,50\">"
      L"</Window>",
      nullptr, window_.get(), nullptr);
  const WindowShadow& shadow = window_->GetShadow();
  EXPECT_FALSE(shadow.IsDefaultImage());
  EXPECT_EQ(shadow.GetShadowImage(), L"file='own.png'");
  const RECT margin = window_->ShadowMargin();
  EXPECT_EQ(margin.left, 5);
  EXPECT_EQ(margin.bottom, 8);
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  EXPECT_EQ(rect.right - rect.left, 100 + 5 + 7);
  EXPECT_EQ(rect.bottom - rect.top, 50 + 6 + 8);

  delete builder.Load(L"<Window shadowattached=\"no\"></Window>", nullptr, window_.get(), nullptr);
  EXPECT_FALSE(window_->GetShadow().IsAttached());
  EXPECT_EQ(window_->ShadowMargin().left, 0);
}

// A layered window whose root is wrapped in the shadow, 100 x 60 inside a 14-pixel margin.
class ShadowedWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    hwnd = shadowed.Create(nullptr, L"shadowed", WS_POPUP, 0, true, RECT{0, 0, 128, 88});
    ASSERT_NE(hwnd, nullptr);
    shadowed.BindHandle(hwnd);
    body = new Box;
    body->SetFixedWidth(100, false, false);
    body->SetFixedHeight(60, false);
    body->SetBkColor(L"window_test_body");
    ResourceHub::AddTextColor(L"window_test_body", L"#FF102030");
    shadowed.InstallRoot(shadowed.GetShadow().AttachShadow(body));
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    WindowTest::TearDown();
  }
  BYTE AlphaAt(int x, int y) {
    IRenderContext* context = shadowed.GetRenderContext();
    const auto* bits = static_cast<const DWORD*>(context->GetBits());
    return static_cast<BYTE>(bits[y * context->GetWidth() + x] >> 24);
  }

  Window shadowed;
  HWND hwnd = nullptr;
  Box* body = nullptr;
};

TEST_F(ShadowedWindowTest, MaximisingRemovesTheMarginAndRestoringBringsItBack) {
  SendMessageW(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(128, 88));
  EXPECT_EQ(shadowed.ShadowMargin().left, 0);
  EXPECT_EQ(shadowed.ShadowMargin().bottom, 0);
  SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(128, 88));
  EXPECT_EQ(shadowed.ShadowMargin().left, 14);
  EXPECT_EQ(shadowed.ShadowMargin().bottom, 14);
  // The body's position without the shadow is taken from the visible body's corner.
  SendMessageW(hwnd, WM_PAINT, 0, 0);
  EXPECT_EQ(body->GetPos(false).left, 0);
  EXPECT_EQ(body->GetPos(true).left, 14);
}

TEST_F(ShadowedWindowTest, ARootInstalledOverTheShadowBoxIsNotTouchedByMaximising) {
  shadowed.InstallRoot(new Box);
  SendMessageW(hwnd, Window::kDelayedDeleteMessage, 0, 0);  // the shadow box is gone now
  SendMessageW(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(128, 88));
  EXPECT_EQ(shadowed.InstalledShadowBox(), nullptr);
  EXPECT_EQ(shadowed.ShadowMargin().left, 14);
}

TEST_F(ShadowedWindowTest, LayeredPaintMakesTheBodyOpaqueAndLeavesTheMarginToTheShadow) {
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  SendMessageW(hwnd, WM_PAINT, 0, 0);
  ASSERT_NE(shadowed.GetRenderContext()->GetBits(), nullptr);
  EXPECT_EQ(AlphaAt(64, 44), 255);  // inside the body
  EXPECT_EQ(AlphaAt(15, 15), 255);  // the body's first pixel
  EXPECT_EQ(AlphaAt(5, 44), 0);     // the margin: no shadow bitmap in this resource folder
  EXPECT_EQ(AlphaAt(64, 80), 0);
}

#if KESTRUM_CHECK_IS_ON()
// The window and the controls of its tree belong to the thread that created it.
using WindowDeathTest = WindowTest;

TEST_F(WindowDeathTest, ChangingTheTreeOffTheWindowsThreadIsCaught) {
  EXPECT_DEATH(std::thread([this] { window_->InstallRoot(new Box); }).join(),
               "check failed: .*called off the thread of thread_");
}

TEST_F(WindowDeathTest, AControlOfTheTreeUsedOffTheWindowsThreadIsCaught) {
  Control* child = AddChild(RECT{0, 0, 10, 10});
  EXPECT_DEATH(std::thread([child] { child->SetFocus(); }).join(),
               "check failed: .*a control used off its window's thread");
}
#endif

}  // namespace
}  // namespace ui
