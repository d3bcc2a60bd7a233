#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/pump/message_pump.h"

namespace kbase {

class Dispatcher;

// Shared part of the two Windows pumps: nested run states and the "have work" wake-up that
// keeps at most one wake-up message or packet outstanding. WakeUp is safe on any thread;
// everything else runs on the loop's thread.
class WinMessagePump : public MessagePump {
 public:
  void Run(Delegate* delegate) override;
  void Quit() override;
  void WakeUp() override;

  // Runs with a dispatcher that takes over window-message dispatching (UI pump only; the
  // IO pump ignores it).
  void RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher);

  // True while a wake-up message or packet is outstanding.
  bool WakeUpPending() const { return have_work_ != 0; }

 protected:
  struct RunState {
    int run_depth;
    bool should_quit;
    Delegate* delegate;
    Dispatcher* dispatcher;
  };

  virtual void DoRunLoop() = 0;
  // Sends the one wake-up; false when the system refused it.
  virtual bool PostWakeUp() = 0;

  // Milliseconds until the delayed work time, -1 when there is none.
  int64_t CurrentDelay() const;
  // Lets the next WakeUp post again: called whenever the outstanding wake-up was consumed.
  void ClearHaveWork() { InterlockedExchange(&have_work_, 0); }

  int64_t delayed_work_time_ = 0;
  RunState* state_ = nullptr;

 private:
  volatile LONG have_work_ = 0;
};

}  // namespace kbase
