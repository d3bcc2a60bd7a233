#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/base/callback/weak_callback.h"

namespace ui {

// One scheduled timer of the TimerManager. Times are performance-counter ticks.
struct TimerRecord {
  std::function<void()> callback;
  int64_t period = 0;
  int64_t due_time = 0;
  // n > 0 runs n times, -1 repeats until the flag expires, anything else runs once.
  int repeat_count = 0;
  std::weak_ptr<kbase::WeakFlag> weak_flag;

  // Heap order: true when this record is due after other (the earliest is on top).
  bool operator<(const TimerRecord& other) const { return due_time > other.due_time; }
};

}  // namespace ui
