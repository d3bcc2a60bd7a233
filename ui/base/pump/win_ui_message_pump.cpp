#include "ui/base/pump/win_ui_message_pump.h"

#include "ui/base/pump/dispatcher.h"

namespace kbase {

namespace {
constexpr wchar_t kWindowClass[] = L"VarneskMessagePumpWindow";
constexpr int64_t kMinimumTimerMs = 10;
}  // namespace

WinUIMessagePump::WinUIMessagePump()
    : window_(std::make_unique<MessageWindow>(kWindowClass, &WindowProcedure, this)) {}

WinUIMessagePump::~WinUIMessagePump() = default;

LRESULT CALLBACK WinUIMessagePump::WindowProcedure(HWND hwnd, UINT message, WPARAM wparam,
                                                   LPARAM lparam) {
  // The pump comes from the window's own data, never from wParam: anyone can post to a window.
  if (auto* pump = MessageWindow::UserData<WinUIMessagePump>(hwnd)) {
    if (message == kMsgHaveWork) {
      pump->HandleWorkMessage();
    } else if (message == WM_TIMER) {
      pump->HandleTimerMessage();
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

UINT WinUIMessagePump::TimerPeriod(int64_t delay_ms) {
  if (delay_ms < kMinimumTimerMs) return static_cast<UINT>(kMinimumTimerMs);
  return static_cast<UINT>(ClampWaitMilliseconds(delay_ms));
}

void WinUIMessagePump::WakeUpAt(int64_t run_time) {
  delayed_work_time_ = run_time;
  SetTimer(message_window(), TimerId(), TimerPeriod(CurrentDelay()), nullptr);
}

void WinUIMessagePump::AddObserver(UIObserver* observer) { observers_.AddObserver(observer); }

void WinUIMessagePump::RemoveObserver(UIObserver* observer) { observers_.RemoveObserver(observer); }

void WinUIMessagePump::WillProcessMessage(const MSG& message) {
  observers_.Notify(&UIObserver::WillProcessMessage, message);
}

void WinUIMessagePump::DidProcessMessage(const MSG& message) {
  observers_.Notify(&UIObserver::DidProcessMessage, message);
}

bool WinUIMessagePump::PostWakeUp() {
  HWND window = message_window();
  return window && PostMessageW(window, kMsgHaveWork, reinterpret_cast<WPARAM>(this), 0);
}

// Reached when another message loop on this thread (a modal dialog, the application's own loop)
// dispatches our "have work" message.
void WinUIMessagePump::HandleWorkMessage() {
  if (!state_) {
    ClearHaveWork();
    return;
  }
  ProcessPumpReplacementMessage();
  if (state_->delegate->RunPendingWork()) WakeUp();
}

void WinUIMessagePump::HandleTimerMessage() {
  KillTimer(message_window(), TimerId());
  if (!state_) return;
  state_->delegate->RunDelayedWork(&delayed_work_time_);
  if (delayed_work_time_ != 0) WakeUpAt(delayed_work_time_);
}

void WinUIMessagePump::DoRunLoop() {
  for (;;) {
    bool more = ProcessNextWindowsMessage();
    if (state_->should_quit) break;
    more |= state_->delegate->RunPendingWork();
    if (state_->should_quit) break;
    more |= state_->delegate->RunDelayedWork(&delayed_work_time_);
    if (more && delayed_work_time_ == 0) KillTimer(message_window(), TimerId());
    if (state_->should_quit) break;
    if (more) continue;
    more = state_->delegate->RunIdleWork();
    if (state_->should_quit) break;
    if (more) continue;
    WaitForWork();
  }
}

bool WinUIMessagePump::ProcessNextWindowsMessage() {
  // Sent messages are delivered inside PeekMessage without being returned; report them as work
  // so that the loop looks again before sleeping.
  const bool sent_messages = (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return ProcessMessage(message);
  return sent_messages;
}

bool WinUIMessagePump::ProcessMessage(const MSG& message) {
  if (message.message == WM_QUIT) {
    state_->should_quit = true;
    PostQuitMessage(static_cast<int>(message.wParam));  // outer loops must see it too
    return false;
  }
  if (message.message == kMsgHaveWork && message.hwnd == message_window()) {
    return ProcessPumpReplacementMessage();
  }
  MSG copy = message;
  if (CallMsgFilterW(&copy, kMessageFilterCode)) return true;
  WillProcessMessage(message);
  if (state_->dispatcher) {
    if (!state_->dispatcher->Dispatch(message)) state_->should_quit = true;
  } else {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DidProcessMessage(message);
  return true;
}

// Handling our own "have work" message takes one other message in its place, so that a steady
// stream of tasks cannot starve input and painting.
bool WinUIMessagePump::ProcessPumpReplacementMessage() {
  MSG message;
  const bool have_message = PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
  ClearHaveWork();
  if (!have_message) return false;
  WakeUp();
  return ProcessMessage(message);
}

void WinUIMessagePump::WaitForWork() {
  const int64_t delay = CurrentDelay();
  const DWORD timeout = delay < 0 ? INFINITE : ClampWaitMilliseconds(delay);
  const DWORD result =
      MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result != WAIT_OBJECT_0) return;
  // Mouse input reported for a window of another thread stays "available" without ever being
  // ours to take; waiting for a new message avoids spinning on it.
  MSG message;
  if ((HIWORD(GetQueueStatus(QS_MOUSE)) & QS_MOUSE) &&
      !PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
    WaitMessage();
  }
}

}  // namespace kbase
