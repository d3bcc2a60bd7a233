#include "ui/controls/animation/animation_clock.h"

#include <windows.h>

#include "ui/base/timer/timer_manager.h"

namespace ui {
namespace {

class SystemAnimationClock : public AnimationClock {
 public:
  int64_t Counter() override {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
  }

  int64_t Frequency() override {
    LARGE_INTEGER frequency{};
    // Never fails since Windows XP; a zero would turn every elapsed time into infinity.
    if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 1000;
    return frequency.QuadPart;
  }

  void SchedulePeriodic(std::weak_ptr<kbase::WeakFlag> flag, std::function<void()> callback,
                        int period_ms) override {
    constexpr int kRepeatForever = -1;
    TimerManager::Instance().Schedule(std::move(flag), std::move(callback), period_ms,
                                      kRepeatForever);
  }
};

}  // namespace

AnimationClock* AnimationClock::System() {
  static SystemAnimationClock clock;
  return &clock;
}

}  // namespace ui
