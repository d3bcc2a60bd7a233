#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/thread/lock.h"

namespace kbase {

// The task system's clock: 64-bit microseconds from a 32-bit millisecond tick, carried across the
// tick's wrap-around (every 49.7 days). Monotonic as long as it is read at least once per wrap
// period. Safe to call on any thread.
class TickClock {
 public:
  using TickSource = DWORD (*)();

  // The source defaults to winmm's timeGetTime; tests pass a fake to drive the wrap.
  explicit TickClock(TickSource source = nullptr);
  TickClock(const TickClock&) = delete;
  TickClock& operator=(const TickClock&) = delete;

  int64_t NowMicroseconds();

 private:
  Lock lock_;
  TickSource source_;
  DWORD last_tick_ = 0;
  int64_t rollover_base_ = 0;
};

// The process-wide clock every loop, pump and delayed task uses.
int64_t NowMicroseconds();

}  // namespace kbase
