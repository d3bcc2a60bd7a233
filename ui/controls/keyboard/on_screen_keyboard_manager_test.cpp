#include "ui/controls/keyboard/on_screen_keyboard_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/base/testing/manual_timer_backend.h"
#include "ui/base/timer/timer_manager.h"

namespace ui {
namespace {

using testing_support::ManualTimerBackend;

struct PlatformLog {
  bool supported = true;
  bool service_reachable = true;
  int support_queries = 0;
  int toggles = 0;
  std::vector<std::wstring> started;
};

class FakePlatform : public OnScreenKeyboardManager::Platform {
 public:
  explicit FakePlatform(PlatformLog* log) : log_(log) {}
  bool IsSupported() override {
    ++log_->support_queries;
    return log_->supported;
  }
  bool ToggleThroughService() override {
    ++log_->toggles;
    return log_->service_reachable;
  }
  void StartProgram(const std::wstring& path) override { log_->started.push_back(path); }

 private:
  PlatformLog* log_;
};

// Stands in for the keyboard's own window and counts the close requests it receives.
class FakeKeyboardWindow {
 public:
  explicit FakeKeyboardWindow(DWORD style) {
    static ATOM atom = Register();
    (void)atom;
    hwnd_ = CreateWindowExW(0, OnScreenKeyboardManager::kWindowClass, L"", WS_POPUP | style, 0, 0,
                            10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~FakeKeyboardWindow() { DestroyWindow(hwnd_); }

  int CloseRequests() {
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return close_requests_;
  }
  HWND hwnd() const { return hwnd_; }

 private:
  static ATOM Register() {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &Proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = OnScreenKeyboardManager::kWindowClass;
    return RegisterClassW(&window_class);
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SYSCOMMAND && wparam == SC_CLOSE) {
      ++close_requests_;
      return 0;  // the real keyboard hides; the stand-in just counts
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  static int close_requests_;
  HWND hwnd_;
};
int FakeKeyboardWindow::close_requests_ = 0;

class OnScreenKeyboardTest : public ::testing::Test {
 protected:
  OnScreenKeyboardTest()
      : timers_(std::make_unique<ManualTimerBackend>(&now_)),
        manager_(std::make_unique<OnScreenKeyboardManager>(std::make_unique<FakePlatform>(&log_),
                                                           &timers_)) {}

  void RunChecks() {
    now_ += OnScreenKeyboardManager::kCheckDelayMs;
    timers_.Tick(now_);
  }

  int64_t now_ = 0;
  PlatformLog log_;
  TimerManager timers_;
  std::unique_ptr<OnScreenKeyboardManager> manager_;
};

TEST_F(OnScreenKeyboardTest, OlderSystemsStartNothingAndAreAskedOnce) {
  log_.supported = false;
  manager_->ShowOSK(true);
  manager_->ShowOSK(true);
  RunChecks();
  EXPECT_EQ(log_.toggles, 0);
  EXPECT_TRUE(log_.started.empty());
  EXPECT_EQ(log_.support_queries, 1);
}

TEST_F(OnScreenKeyboardTest, ShowTogglesAfterTheDelayOrStartsTheProgram) {
  manager_->ShowOSK(true);
  EXPECT_EQ(log_.toggles, 0);
  RunChecks();
  EXPECT_EQ(log_.toggles, 1);
  EXPECT_TRUE(log_.started.empty());
  log_.service_reachable = false;
  manager_->ShowOSK(true);
  RunChecks();
  ASSERT_EQ(log_.started.size(), 1u);
  EXPECT_EQ(log_.started[0], OnScreenKeyboardManager::KeyboardProgramPath());
}

TEST_F(OnScreenKeyboardTest, ShowActsOnlyWhenTheKeyboardIsNotShownAndEnabled) {
  {
    FakeKeyboardWindow keyboard(WS_VISIBLE);
    manager_->ShowOSK(true);
    RunChecks();
    EXPECT_EQ(log_.toggles, 0);
  }
  FakeKeyboardWindow disabled(WS_VISIBLE | WS_DISABLED);
  EXPECT_FALSE(OnScreenKeyboardManager::IsKeyboardVisible());
  manager_->ShowOSK(true);
  RunChecks();
  EXPECT_EQ(log_.toggles, 1);
}

TEST_F(OnScreenKeyboardTest, HideClosesOnlyAVisibleKeyboard) {
  {
    FakeKeyboardWindow hidden(0);
    const int before = hidden.CloseRequests();
    manager_->ShowOSK(false);
    RunChecks();
    EXPECT_EQ(hidden.CloseRequests(), before);
  }
  FakeKeyboardWindow keyboard(WS_VISIBLE);
  const int before = keyboard.CloseRequests();
  manager_->ShowOSK(false);
  RunChecks();
  EXPECT_EQ(keyboard.CloseRequests(), before + 1);
  EXPECT_EQ(log_.toggles, 0);
}

TEST_F(OnScreenKeyboardTest, ShowQuicklyFollowedByHideLeavesTheKeyboardHidden) {
  manager_->ShowOSK(true);
  manager_->ShowOSK(false);
  RunChecks();
  EXPECT_EQ(log_.toggles, 0);
  EXPECT_TRUE(log_.started.empty());
}

TEST_F(OnScreenKeyboardTest, PendingCheckOfADestroyedManagerIsDropped) {
  manager_->ShowOSK(true);
  manager_.reset();
  RunChecks();
  EXPECT_EQ(log_.toggles, 0);
}

// Sets or clears the program-folder variable for one test and restores it afterwards.
class ScopedProgramFolder {
 public:
  explicit ScopedProgramFolder(const wchar_t* value) {
    wchar_t saved[MAX_PATH] = {};
    had_value_ = GetEnvironmentVariableW(kName, saved, MAX_PATH) > 0;
    saved_ = saved;
    SetEnvironmentVariableW(kName, value);
  }
  ~ScopedProgramFolder() { SetEnvironmentVariableW(kName, had_value_ ? saved_.c_str() : nullptr); }

 private:
  static constexpr const wchar_t* kName = L"CommonProgramW6432";
  bool had_value_ = false;
  std::wstring saved_;
};

TEST(KeyboardProgramPathTest, FollowsTheCommonProgramFolderOrFallsBackToTheFixedPath) {
  {
    ScopedProgramFolder folder(L"D:\\Common");
    EXPECT_EQ(OnScreenKeyboardManager::KeyboardProgramPath(),
              L"D:\\Common\\microsoft shared\\ink\\TabTip.exe");
  }
  const std::wstring fixed =
      L"C:\\\\Program Files\\Common Files\\microsoft shared\\ink\\TabTip.exe";
  EXPECT_EQ(fixed.size(), 62u);
  {
    ScopedProgramFolder unset(nullptr);
    EXPECT_EQ(OnScreenKeyboardManager::KeyboardProgramPath(), fixed);
  }
  ScopedProgramFolder empty(L"");
  EXPECT_EQ(OnScreenKeyboardManager::KeyboardProgramPath(), fixed);
}

#if KESTRUM_CHECK_IS_ON()
using OnScreenKeyboardDeathTest = OnScreenKeyboardTest;

// The checks run on the maker's timers, so a request from another thread is caught.
TEST_F(OnScreenKeyboardDeathTest, RequestsOffTheUiThreadAreCaught) {
  EXPECT_DEATH(std::thread([this] { manager_->ShowOSK(true); }).join(),
               "check failed: .*called off the thread of thread_");
}
#endif

}  // namespace
}  // namespace ui
