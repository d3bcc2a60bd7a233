#include "ui/base/timer/timer_manager.h"

#include <algorithm>
#include <utility>

#include "ui/base/timer/multimedia_timer_backend.h"

namespace ui {

namespace {

// A record that runs: does it run again? Lowers a positive count.
bool Repeats(TimerRecord& record) {
  if (record.repeat_count > 0) return --record.repeat_count > 0;
  return record.repeat_count == -1;
}

}  // namespace

void TimerManager::Backend::OnTick() {
  if (manager_) manager_->Tick(Now());
}

TimerManager& TimerManager::Instance() {
  static TimerManager manager(std::make_unique<MultimediaTimerBackend>());
  return manager;
}

TimerManager::TimerManager(std::unique_ptr<Backend> backend)
    : backend_(std::move(backend)), frequency_(backend_->Frequency()) {
  if (frequency_ <= 0) frequency_ = 1000;  // no counter: count in milliseconds
  backend_->set_manager(this);
}

TimerManager::~TimerManager() {
  StopTicking();
  backend_->set_manager(nullptr);
}

bool TimerManager::Schedule(std::weak_ptr<kbase::WeakFlag> weak_flag,
                            std::function<void()> callback, int64_t period_ms, int repeat_count) {
  if (!callback) return false;
  TimerRecord record;
  record.callback = std::move(callback);
  record.period = std::max<int64_t>(period_ms, 0) * frequency_ / 1000;
  record.due_time = backend_->Now() + record.period;
  record.repeat_count = repeat_count;
  record.weak_flag = std::move(weak_flag);
  Push(std::move(record));
  if (!ticking_ || !fast_ticking_) {
    StopTicking();
    Start(kFastPeriodMs, true);
  }
  return true;
}

void TimerManager::Tick(int64_t now) {
  // Repeating timers go back on the heap only after this pass, so that a zero period cannot keep
  // the pass going forever.
  std::vector<TimerRecord> again;
  while (!heap_.empty() && heap_.front().due_time - now <= 0) {
    TimerRecord record = PopTop();
    if (record.weak_flag.expired()) continue;  // cancelled: dropped unrun
    record.callback();
    if (!Repeats(record)) continue;
    record.due_time = now + record.period;
    again.push_back(std::move(record));
  }
  for (TimerRecord& record : again) Push(std::move(record));
  if (heap_.empty()) {
    StopTicking();
    return;
  }
  TickAfter(heap_.front().due_time - now);
}

void TimerManager::TickAfter(int64_t wait) {
  if (wait < frequency_) {
    EnsureFastTicking();
    return;
  }
  // Sleep until just after the next due time instead of ticking every 16 ms.
  const int64_t period = std::min<int64_t>(wait * 1000 / frequency_ + 2, kLongestPeriodMs);
  StopTicking();
  if (!Start(static_cast<UINT>(period), false)) Start(kFastPeriodMs, true);
}

void TimerManager::EnsureFastTicking() {
  if (ticking_ && fast_ticking_) return;
  StopTicking();
  Start(kFastPeriodMs, true);
}

bool TimerManager::Start(UINT period_ms, bool fast) {
  ticking_ = backend_->StartTicking(period_ms);
  fast_ticking_ = fast;
  return ticking_;
}

void TimerManager::StopTicking() {
  if (ticking_) backend_->StopTicking();
  ticking_ = false;
}

void TimerManager::Push(TimerRecord record) {
  heap_.push_back(std::move(record));
  std::push_heap(heap_.begin(), heap_.end());
}

TimerRecord TimerManager::PopTop() {
  std::pop_heap(heap_.begin(), heap_.end());
  TimerRecord record = std::move(heap_.back());
  heap_.pop_back();
  return record;
}

}  // namespace ui
