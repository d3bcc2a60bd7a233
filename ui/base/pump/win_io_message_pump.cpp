#include "ui/base/pump/win_io_message_pump.h"

namespace kbase {

WinIOMessagePump::WinIOMessagePump()
    : port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)) {}

void WinIOMessagePump::WakeUpAt(int64_t run_time) { delayed_work_time_ = run_time; }

void WinIOMessagePump::AddObserver(IOObserver* observer) { observers_.AddObserver(observer); }

void WinIOMessagePump::RemoveObserver(IOObserver* observer) { observers_.RemoveObserver(observer); }

bool WinIOMessagePump::PostWakeUp() {
  return port_ && PostQueuedCompletionStatus(port_.get(), 0, reinterpret_cast<ULONG_PTR>(this),
                                             reinterpret_cast<OVERLAPPED*>(this));
}

DWORD WinIOMessagePump::WaitTimeout() const {
  const int64_t delay = CurrentDelay();
  return delay < 0 ? INFINITE : ClampWaitMilliseconds(delay);
}

void WinIOMessagePump::DoRunLoop() {
  bool more = state_->delegate->RunPendingWork();
  while (!state_->should_quit) {
    more |= WaitForIOCompletion(0);
    if (state_->should_quit) break;
    more |= state_->delegate->RunDelayedWork(&delayed_work_time_);
    if (state_->should_quit) break;
    if (!more) {
      more = state_->delegate->RunIdleWork();
      if (state_->should_quit) break;
      if (!more) WaitForIOCompletion(WaitTimeout());
      if (state_->should_quit) break;
    }
    more = state_->delegate->RunPendingWork();
  }
}

bool WinIOMessagePump::WaitForIOCompletion(DWORD timeout) {
  if (!port_) {
    // Without a port nothing can wake us: poll in short naps instead of spinning.
    if (timeout) Sleep(timeout < 10 ? timeout : 10);
    return false;
  }
  DWORD bytes = 0;
  ULONG_PTR key = 0;
  OVERLAPPED* overlapped = nullptr;
  DWORD error = 0;
  if (!GetQueuedCompletionStatus(port_.get(), &bytes, &key, &overlapped, timeout)) {
    if (!overlapped) return false;  // time-out
    error = GetLastError();
    bytes = 0;
  }
  if (key == reinterpret_cast<ULONG_PTR>(this) &&
      overlapped == reinterpret_cast<OVERLAPPED*>(this)) {
    ClearHaveWork();
    return true;
  }
  auto* context = reinterpret_cast<IOContext*>(overlapped);
  auto* handler = reinterpret_cast<IOHandler*>(key);
  if (!context || !handler) return true;  // a stray packet: nothing to deliver it to
  if (!context->handler) {
    delete context;  // its owner gave up on the operation and left the context to us
    return true;
  }
  observers_.Notify(&IOObserver::WillProcessIOEvent);
  handler->OnIOCompleted(context, bytes, error);
  observers_.Notify(&IOObserver::DidProcessIOEvent);
  return true;
}

}  // namespace kbase
