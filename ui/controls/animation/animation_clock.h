#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/base/callback/weak_callback.h"

namespace ui {

// Where animation players read the time and get their periodic ticks. The real clock is the
// performance counter with ticks from the framework's timer manager; tests pass a fake.
// Used on the UI thread only.
class AnimationClock {
 public:
  virtual ~AnimationClock() = default;

  // Counter ticks, monotonic.
  virtual int64_t Counter() = 0;
  // Counter ticks per second; always positive.
  virtual int64_t Frequency() = 0;
  // Runs callback every period_ms on the UI thread until flag expires.
  virtual void SchedulePeriodic(std::weak_ptr<kbase::WeakFlag> flag, std::function<void()> callback,
                                int period_ms) = 0;

  // The process-wide real clock. The timer manager it uses is created on the first schedule, on
  // the calling thread, which must run a Windows message loop.
  static AnimationClock* System();
};

}  // namespace ui
