#include "ui/base/pump/message_pump.h"

namespace kbase {

namespace {
constexpr int64_t kLongestWaitMs = 4294967294LL;  // INFINITE - 1: a finite wait
}  // namespace

int64_t DelayMilliseconds(int64_t run_time, int64_t now) {
  const int64_t delay = run_time - now;
  if (delay <= 0) return 0;
  return (delay + 999) / 1000;
}

unsigned long ClampWaitMilliseconds(int64_t milliseconds) {
  if (milliseconds <= 0) return 0;
  if (milliseconds > kLongestWaitMs) return static_cast<unsigned long>(kLongestWaitMs);
  return static_cast<unsigned long>(milliseconds);
}

}  // namespace kbase
