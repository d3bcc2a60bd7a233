#include "ui/base/loop/pending_task.h"

#include <utility>

namespace kbase {

PendingTask::PendingTask(Task task, int64_t delayed_run_time, bool nestable)
    : delayed_run_time(delayed_run_time), nestable(nestable), task(std::move(task)) {}

bool PendingTask::operator<(const PendingTask& other) const {
  // std::priority_queue puts the greatest element on top, hence the inverted comparisons.
  if (delayed_run_time != other.delayed_run_time) return delayed_run_time > other.delayed_run_time;
  return sequence_num > other.sequence_num;
}

}  // namespace kbase
