#pragma once

#include <cstdint>

#include "ui/base/timer/timer_manager.h"

namespace ui {
namespace testing_support {

// A timer source whose clock counts milliseconds and moves only when the test says so.
class ManualTimerBackend : public TimerManager::Backend {
 public:
  explicit ManualTimerBackend(int64_t* now) : now_(now) {}
  int64_t Now() override { return *now_; }
  int64_t Frequency() override { return 1000; }
  bool StartTicking(UINT) override { return true; }
  void StopTicking() override {}

 private:
  int64_t* now_;
};

}  // namespace testing_support
}  // namespace ui
