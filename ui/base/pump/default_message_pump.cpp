#include "ui/base/pump/default_message_pump.h"

#include "ui/base/pump/tick_clock.h"

namespace kbase {

DefaultMessagePump::DefaultMessagePump() : event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

void DefaultMessagePump::Run(Delegate* delegate) {
  bool more = delegate->RunPendingWork();
  while (!quit_) {
    more |= delegate->RunDelayedWork(&delayed_work_time_);
    if (quit_) break;
    if (!more) {
      more = delegate->RunIdleWork();
      if (quit_) break;
      if (!more) WaitForWork();
    }
    more = delegate->RunPendingWork();
  }
  quit_ = false;
}

void DefaultMessagePump::WaitForWork() {
  if (delayed_work_time_ == 0) {
    WaitForSingleObject(event_.get(), INFINITE);
    return;
  }
  const int64_t delay_ms = DelayMilliseconds(delayed_work_time_, NowMicroseconds());
  if (delay_ms > 0) {
    WaitForSingleObject(event_.get(), ClampWaitMilliseconds(delay_ms));
  } else {
    delayed_work_time_ = 0;  // due now: RunDelayedWork re-reads the next time
  }
}

void DefaultMessagePump::Quit() { quit_ = true; }

void DefaultMessagePump::WakeUp() { SetEvent(event_.get()); }

void DefaultMessagePump::WakeUpAt(int64_t run_time) { delayed_work_time_ = run_time; }

}  // namespace kbase
