#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/timer/timer_record.h"

namespace ui {

// The framework's timer service for animations and other short timed work. Callbacks run on the
// thread that owns the manager (the thread that first calls Instance(), which must run a Windows
// message loop). One periodic tick serves all timers: every 16 ms while a timer is due within a
// second, one long period otherwise, none when no timer is left.
//
// Threads: Schedule and Tick only on the owning thread. There is no unschedule: a timer ends
// when its weak flag expires (it is dropped unrun at its next due time) or its repeats are used.
class TimerManager {
 public:
  // Where the manager's clock and tick come from; the real one uses the performance counter and
  // a multimedia timer marshalled to the owning thread. Owned by the manager.
  class Backend {
   public:
    virtual ~Backend() = default;
    virtual int64_t Now() = 0;        // counter ticks
    virtual int64_t Frequency() = 0;  // counter ticks per second
    // Starts a periodic tick that calls OnTick on the owning thread; false when it cannot.
    virtual bool StartTicking(UINT period_ms) = 0;
    virtual void StopTicking() = 0;

    void set_manager(TimerManager* manager) { manager_ = manager; }

   protected:
    // For the implementation, on the owning thread: runs the manager's tick. A tick that arrives
    // after StopTicking is harmless.
    void OnTick();

   private:
    TimerManager* manager_ = nullptr;
  };

  static constexpr UINT kFastPeriodMs = 16;
  // Beyond this, multimedia timers refuse to start on some systems; a longer wait simply
  // re-arms on the next tick.
  static constexpr UINT kLongestPeriodMs = 65535;

  // The process-wide manager on the real backend, created on the first call (on that thread).
  static TimerManager& Instance();

  explicit TimerManager(std::unique_ptr<Backend> backend);
  ~TimerManager();
  TimerManager(const TimerManager&) = delete;
  TimerManager& operator=(const TimerManager&) = delete;

  // Runs callback after period_ms, and again every period_ms while repeat_count allows (see
  // TimerRecord), as long as the flag lives. False (nothing scheduled) for an empty callback.
  bool Schedule(std::weak_ptr<kbase::WeakFlag> weak_flag, std::function<void()> callback,
                int64_t period_ms, int repeat_count);

  // Runs the timers due at now (counter ticks) and re-arms the periodic tick.
  void Tick(int64_t now);

 private:
  void Push(TimerRecord record);
  TimerRecord PopTop();
  void EnsureFastTicking();
  void TickAfter(int64_t wait);
  void StopTicking();
  bool Start(UINT period_ms, bool fast);

  std::unique_ptr<Backend> backend_;
  int64_t frequency_;
  std::vector<TimerRecord> heap_;
  bool ticking_ = false;
  bool fast_ticking_ = true;
};

}  // namespace ui
