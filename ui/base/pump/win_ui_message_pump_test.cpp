#include "ui/base/pump/win_ui_message_pump.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/base/loop/ui_message_loop.h"
#include "ui/base/pump/dispatcher.h"
#include "ui/base/pump/message_window.h"
#include "ui/base/pump/tick_clock.h"

namespace kbase {
namespace {

constexpr UINT kTestMessage = WM_APP + 7;
constexpr UINT kFilteredMessage = WM_APP + 8;

// A window of the test thread that records the messages dispatched to it.
class TargetWindow {
 public:
  TargetWindow() : window_(L"KbasePumpTestTarget", &Procedure, this) {}
  HWND hwnd() const { return window_.hwnd(); }
  std::vector<UINT> received;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (auto* self = MessageWindow::UserData<TargetWindow>(hwnd)) {
      if (message >= WM_APP) self->received.push_back(message);
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  MessageWindow window_;
};

class RecordingObserver : public WinUIMessagePump::UIObserver {
 public:
  void WillProcessMessage(const MSG& message) override {
    if (message.message >= WM_APP) will.push_back(message.message);
  }
  void DidProcessMessage(const MSG& message) override {
    if (message.message >= WM_APP) did.push_back(message.message);
  }
  std::vector<UINT> will, did;
};

int CountQueued(HWND hwnd, UINT message) {
  MSG msg;
  int count = 0;
  while (PeekMessageW(&msg, hwnd, message, message, PM_REMOVE)) ++count;
  return count;
}

void DrainQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST(WinUIMessagePumpTest, ManyWakeUpsLeaveOneHaveWorkMessage) {
  WinUIMessagePump pump;
  ASSERT_NE(pump.message_window(), nullptr);
  for (int i = 0; i < 10; ++i) pump.WakeUp();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, pump.message_window(), 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WinUIMessagePump::kMsgHaveWork);
  EXPECT_EQ(CountQueued(pump.message_window(), WinUIMessagePump::kMsgHaveWork), 1);
}

TEST(WinUIMessagePumpTest, HaveWorkDispatchedWhileNotRunningOnlyRearmsTheWakeUp) {
  WinUIMessagePump pump;
  pump.WakeUp();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, pump.message_window(), 0, 0, PM_REMOVE));
  DispatchMessageW(&msg);  // as another loop on this thread would
  EXPECT_FALSE(pump.WakeUpPending());
  pump.WakeUp();
  EXPECT_EQ(CountQueued(pump.message_window(), WinUIMessagePump::kMsgHaveWork), 1);
}

TEST(WinUIMessagePumpTest, RefusedWakeUpPostDoesNotBlockLaterWakeUps) {
  WinUIMessagePump pump;
  DestroyWindow(pump.message_window());  // every post now fails
  pump.WakeUp();
  EXPECT_FALSE(pump.WakeUpPending());
}

TEST(WinUIMessagePumpTest, TimerPeriodIsClampedToWhatWindowTimersHonour) {
  EXPECT_EQ(WinUIMessagePump::TimerPeriod(-1), 10u);
  EXPECT_EQ(WinUIMessagePump::TimerPeriod(3), 10u);
  EXPECT_EQ(WinUIMessagePump::TimerPeriod(250), 250u);
  EXPECT_EQ(WinUIMessagePump::TimerPeriod(int64_t{1} << 33), 4294967294u);
}

TEST(UIMessageLoopTest, RunsTasksDelayedTasksAndWindowMessages) {
  UIMessageLoop loop;
  TargetWindow target;
  std::vector<int> order;
  const int64_t start = NowMicroseconds();
  // Far later than any stall of a loaded machine between these posts, so that the order of the
  // runs tells the order of the due times.
  loop.PostDelayedTask(
      [&] {
        order.push_back(3);
        loop.Quit();
      },
      300000);
  loop.PostTask([&] {
    order.push_back(1);
    PostMessageW(target.hwnd(), kTestMessage, 0, 0);
  });
  loop.PostDelayedTask([&] { order.push_back(2); }, 3000);
  loop.Run();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(target.received, (std::vector<UINT>{kTestMessage}));
  EXPECT_GE(NowMicroseconds() - start, 299000);
}

TEST(UIMessageLoopTest, QuitMessageEndsTheRunAndStaysQueuedForOuterLoops) {
  UIMessageLoop loop;
  loop.PostTask([] { PostQuitMessage(7); });
  loop.Run();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(UIMessageLoopTest, QuitMessageInANestedRunEndsItAndThenTheOuterRun) {
  UIMessageLoop loop;
  bool nested_returned = false;
  loop.PostTask([&] {
    PostQuitMessage(3);
    loop.Run();  // a nested run, as a modal loop inside a task would do
    nested_returned = true;
  });
  loop.Run();
  EXPECT_TRUE(nested_returned);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

HHOOK g_filter_hook = nullptr;

LRESULT CALLBACK ConsumeFilteredMessage(int code, WPARAM wparam, LPARAM lparam) {
  const MSG* msg = reinterpret_cast<const MSG*>(lparam);
  if (code == WinUIMessagePump::kMessageFilterCode && msg->message == kFilteredMessage) return 1;
  return CallNextHookEx(g_filter_hook, code, wparam, lparam);
}

TEST(UIMessageLoopTest, MessageFilterHookConsumesMessagesBeforeDispatch) {
  UIMessageLoop loop;
  TargetWindow target;
  RecordingObserver observer;
  loop.ui_pump()->AddObserver(&observer);
  g_filter_hook =
      SetWindowsHookExW(WH_MSGFILTER, &ConsumeFilteredMessage, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_filter_hook, nullptr);
  loop.PostTask([&] {
    PostMessageW(target.hwnd(), kFilteredMessage, 0, 0);
    PostMessageW(target.hwnd(), kTestMessage, 0, 0);
  });
  loop.PostDelayedTask([&] { loop.Quit(); }, 50000);
  loop.Run();
  UnhookWindowsHookEx(g_filter_hook);
  loop.ui_pump()->RemoveObserver(&observer);
  EXPECT_EQ(target.received, (std::vector<UINT>{kTestMessage}));
  EXPECT_EQ(observer.will, (std::vector<UINT>{kTestMessage}));
  EXPECT_EQ(observer.did, (std::vector<UINT>{kTestMessage}));
}

class StopOnMessage : public Dispatcher {
 public:
  bool Dispatch(const MSG& message) override {
    if (message.message != kTestMessage) {
      DispatchMessageW(&message);
      return true;
    }
    ++seen;
    return false;
  }
  int seen = 0;
};

TEST(UIMessageLoopTest, DispatcherTakesOverDispatchingAndCanEndTheRun) {
  UIMessageLoop loop;
  TargetWindow target;
  StopOnMessage dispatcher;
  loop.PostTask([&] { PostMessageW(target.hwnd(), kTestMessage, 0, 0); });
  loop.Run(&dispatcher);
  EXPECT_EQ(dispatcher.seen, 1);
  EXPECT_TRUE(target.received.empty());
  DrainQuit();
}

}  // namespace
}  // namespace kbase
