#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/controls/animation/animation_clock.h"

namespace ui {

// A test clock counting microseconds. Periodic callbacks run only when the test advances the
// time, each at its own due times, in due order; expired ones are dropped as the timer manager
// drops them.
class FakeAnimationClock : public AnimationClock {
 public:
  int64_t Counter() override { return now_us_; }
  int64_t Frequency() override { return 1000000; }
  void SchedulePeriodic(std::weak_ptr<kbase::WeakFlag> flag, std::function<void()> callback,
                        int period_ms) override {
    timers_.push_back({std::move(flag), std::move(callback), period_ms * int64_t{1000},
                       now_us_ + period_ms * int64_t{1000}});
  }

  // Moves the time on by ms, running every periodic callback that falls due on the way.
  void Advance(int ms) {
    const int64_t target = now_us_ + ms * int64_t{1000};
    for (;;) {
      Timer* next = EarliestLiveTimer(target);
      if (!next) break;
      now_us_ = next->due_us;
      next->due_us += next->period_us;
      std::function<void()> callback = next->callback;  // the list may grow while it runs
      callback();
    }
    now_us_ = target;
  }

  // Moves the time on without running anything, as a stalled message loop would.
  void Jump(int ms) { now_us_ += ms * int64_t{1000}; }

  size_t LiveTimers() {
    DropExpired();
    return timers_.size();
  }

 private:
  struct Timer {
    std::weak_ptr<kbase::WeakFlag> flag;
    std::function<void()> callback;
    int64_t period_us;
    int64_t due_us;
  };

  Timer* EarliestLiveTimer(int64_t limit) {
    DropExpired();
    Timer* earliest = nullptr;
    for (Timer& timer : timers_) {
      if (timer.due_us <= limit && (!earliest || timer.due_us < earliest->due_us)) {
        earliest = &timer;
      }
    }
    return earliest;
  }

  void DropExpired() {
    std::vector<Timer> live;
    for (Timer& timer : timers_) {
      if (!timer.flag.expired()) live.push_back(std::move(timer));
    }
    timers_ = std::move(live);
  }

  int64_t now_us_ = 0;
  std::vector<Timer> timers_;
};

}  // namespace ui
