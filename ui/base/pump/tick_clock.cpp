#include "ui/base/pump/tick_clock.h"

#include <mmsystem.h>

namespace kbase {

namespace {
DWORD SystemTick() { return timeGetTime(); }
}  // namespace

TickClock::TickClock(TickSource source) : source_(source ? source : &SystemTick) {}

int64_t TickClock::NowMicroseconds() {
  AutoLock hold(lock_);
  const DWORD tick = source_();
  if (tick < last_tick_) rollover_base_ += int64_t{1} << 32;
  last_tick_ = tick;
  return (rollover_base_ + tick) * 1000;
}

int64_t NowMicroseconds() {
  static TickClock clock;
  return clock.NowMicroseconds();
}

}  // namespace kbase
