#pragma once

#include <windows.h>

#include <cstdint>

#include "kestrum/common/scoped_handle.h"
#include "ui/base/pump/message_pump.h"

namespace kbase {

// The pump of the plain loop: sleeps on an event between tasks and handles no window messages.
// Run, Quit and WakeUpAt on the loop's thread; WakeUp on any thread.
class DefaultMessagePump : public MessagePump {
 public:
  DefaultMessagePump();

  void Run(Delegate* delegate) override;
  void Quit() override;
  void WakeUp() override;
  void WakeUpAt(int64_t run_time) override;

 private:
  void WaitForWork();

  kestrum::common::ScopedHandle event_;  // auto-reset: one SetEvent wakes one wait
  bool quit_ = false;
  int64_t delayed_work_time_ = 0;
};

}  // namespace kbase
