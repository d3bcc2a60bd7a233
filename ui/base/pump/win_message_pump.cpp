#include "ui/base/pump/win_message_pump.h"

#include "kestrum/common/scoped_restore.h"
#include "ui/base/pump/tick_clock.h"

namespace kbase {

void WinMessagePump::Run(Delegate* delegate) { RunWithDispatcher(delegate, nullptr); }

void WinMessagePump::RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher) {
  RunState state = {state_ ? state_->run_depth + 1 : 1, false, delegate, dispatcher};
  // The previous state comes back also when a task throws out of the run.
  const kestrum::common::ScopedRestore restore(state_, &state);
  DoRunLoop();
}

void WinMessagePump::Quit() {
  if (state_) state_->should_quit = true;
}

void WinMessagePump::WakeUp() {
  if (InterlockedExchange(&have_work_, 1) != 0) return;  // one already outstanding
  // A refused post must not leave the flag set, or no later WakeUp would ever post again.
  if (!PostWakeUp()) ClearHaveWork();
}

int64_t WinMessagePump::CurrentDelay() const {
  if (delayed_work_time_ == 0) return -1;
  return DelayMilliseconds(delayed_work_time_, NowMicroseconds());
}

}  // namespace kbase
