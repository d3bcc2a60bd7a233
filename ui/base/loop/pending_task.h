#pragma once

#include <cstdint>
#include <functional>

namespace kbase {

using Task = std::function<void()>;

// One queued task of a MessageLoop.
struct PendingTask {
  PendingTask(Task task, int64_t delayed_run_time, bool nestable);

  // Heap order of the delayed queue: true when this task runs after other, so that the earliest
  // run time is on top and equal run times keep their queueing order.
  bool operator<(const PendingTask& other) const;

  int64_t delayed_run_time;  // microseconds on NowMicroseconds; 0 = as soon as possible
  int sequence_num = 0;      // set when the task enters the delayed queue
  bool nestable;             // may run inside a nested run of the loop
  Task task;
};

}  // namespace kbase
