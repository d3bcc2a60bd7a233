#include "ui/base/loop/message_loop.h"

#include <algorithm>
#include <utility>

#include "kestrum/common/scope_exit.h"
#include "kestrum/common/scoped_restore.h"
#include "ui/base/loop/message_loop_proxy.h"
#include "ui/base/pump/default_message_pump.h"
#include "ui/base/pump/tick_clock.h"
#include "ui/base/pump/win_message_pump.h"
#include "ui/base/thread/thread_local_slot.h"

namespace kbase {

namespace {

// Tasks destroyed during the shutdown of a loop may post new tasks; give up after this many
// rounds rather than loop forever.
constexpr int kMaxShutdownRounds = 100;

ThreadLocalSlot g_current_loop;

int64_t DelayedRunTime(int64_t delay) {
  const int64_t run_time = NowMicroseconds() + delay;
  return run_time == 0 ? 1 : run_time;  // 0 is reserved for immediate tasks
}

}  // namespace

MessageLoop::MessageLoop() : MessageLoop(kDefault, std::make_shared<DefaultMessagePump>()) {}

MessageLoop::MessageLoop(Type type, std::shared_ptr<MessagePump> pump)
    : type_(type), pump_(std::move(pump)) {
  CurrentLoopSlot().Set(this);
  // The proxy is deleted on this loop's thread, or at once when the loop is already gone.
  proxy_ = std::shared_ptr<MessageLoopProxy>(new MessageLoopProxy(Current()),
                                             [](MessageLoopProxy* p) { p->DestroyOnLoopThread(); });
}

MessageLoop::~MessageLoop() {
  // The thread's current-loop slot and the pump's waits belong to the thread that made it.
  KESTRUM_CHECK_THREAD(thread_);
  for (int round = 0; round < kMaxShutdownRounds; ++round) {
    DeletePendingTasks();
    ReloadWorkQueue();
    if (!DeletePendingTasks()) break;
  }
  destruction_observers_.Notify(&DestructionObserver::WillDestroyCurrentMessageLoop);
  proxy_->DetachLoop();
  proxy_.reset();
  if (Current() == this) CurrentLoopSlot().Set(nullptr);
}

ThreadLocalSlot& MessageLoop::CurrentLoopSlot() { return g_current_loop; }

MessageLoop* MessageLoop::Current() { return static_cast<MessageLoop*>(g_current_loop.Get()); }

bool MessageLoop::PostTask(Task task) { return PostIncoming(std::move(task), 0, true); }

bool MessageLoop::PostDelayedTask(Task task, int64_t delay) {
  return PostIncoming(std::move(task), DelayedRunTime(delay), true);
}

bool MessageLoop::PostNonNestableTask(Task task) { return PostIncoming(std::move(task), 0, false); }

bool MessageLoop::PostNonNestableDelayedTask(Task task, int64_t delay) {
  return PostIncoming(std::move(task), DelayedRunTime(delay), false);
}

bool MessageLoop::PostIncoming(Task task, int64_t run_time, bool nestable) {
  if (!task) return false;
  QueueIncoming(PendingTask(std::move(task), run_time, nestable));
  return true;
}

void MessageLoop::QueueIncoming(PendingTask task) {
  std::shared_ptr<MessagePump> pump;
  {
    AutoLock hold(incoming_lock_);
    const bool was_empty = incoming_queue_.empty();
    incoming_queue_.push_back(std::move(task));
    if (!was_empty) return;  // the pump was woken when the queue became non-empty
    pump = pump_;
  }
  pump->WakeUp();
}

void MessageLoop::Run(Dispatcher* dispatcher) {
  KESTRUM_CHECK_THREAD(thread_);
  RunState state = {run_state_ ? run_state_->run_depth + 1 : 1, false, dispatcher};
  // The previous state comes back also when a task throws out of the run.
  const kestrum::common::ScopedRestore restore(run_state_, &state);
  auto* win_pump = type_ == kUI ? dynamic_cast<WinMessagePump*>(pump_.get()) : nullptr;
  if (dispatcher && win_pump) {
    win_pump->RunWithDispatcher(this, dispatcher);
  } else {
    pump_->Run(this);
  }
}

void MessageLoop::Quit() {
  KESTRUM_CHECK_THREAD(thread_);
  if (run_state_) run_state_->quit_received = true;
}

void MessageLoop::AddTaskObserver(TaskObserver* observer) {
  KESTRUM_CHECK_THREAD(thread_);
  task_observers_.AddObserver(observer);
}

void MessageLoop::RemoveTaskObserver(TaskObserver* observer) {
  KESTRUM_CHECK_THREAD(thread_);
  task_observers_.RemoveObserver(observer);
}

void MessageLoop::AddDestructionObserver(DestructionObserver* observer) {
  KESTRUM_CHECK_THREAD(thread_);
  destruction_observers_.AddObserver(observer);
}

void MessageLoop::RemoveDestructionObserver(DestructionObserver* observer) {
  KESTRUM_CHECK_THREAD(thread_);
  destruction_observers_.RemoveObserver(observer);
}

void MessageLoop::ReloadWorkQueue() {
  if (!work_queue_.empty()) return;
  AutoLock hold(incoming_lock_);
  incoming_queue_.swap(work_queue_);  // one lock per batch, not per task
}

bool MessageLoop::AddToDelayedWorkQueue(PendingTask task) {
  task.sequence_num = static_cast<int>(next_sequence_num_++);
  const int sequence_num = task.sequence_num;
  delayed_work_queue_.push_back(std::move(task));
  std::push_heap(delayed_work_queue_.begin(), delayed_work_queue_.end());
  return delayed_work_queue_.front().sequence_num == sequence_num;
}

PendingTask MessageLoop::PopDelayedTask() {
  std::pop_heap(delayed_work_queue_.begin(), delayed_work_queue_.end());
  PendingTask task = std::move(delayed_work_queue_.back());
  delayed_work_queue_.pop_back();
  return task;
}

bool MessageLoop::RunPendingWork() {
  if (!nestable_tasks_allowed_) return false;  // a task is running: no re-entry
  for (;;) {
    ReloadWorkQueue();
    if (work_queue_.empty()) return false;
    while (!work_queue_.empty()) {
      PendingTask task = std::move(work_queue_.front());
      work_queue_.pop_front();
      if (task.delayed_run_time != 0) {
        const int64_t run_time = task.delayed_run_time;
        if (AddToDelayedWorkQueue(std::move(task))) pump_->WakeUpAt(run_time);
        continue;
      }
      if (task.nestable || IsOutermostRun()) {
        RunTask(task);
        return true;
      }
      deferred_non_nestable_work_queue_.push_back(std::move(task));
    }
  }
}

bool MessageLoop::RunDelayedWork(int64_t* next_run_time) {
  if (!nestable_tasks_allowed_ || delayed_work_queue_.empty()) {
    recent_time_ = *next_run_time = 0;
    return false;
  }
  const int64_t run_time = delayed_work_queue_.front().delayed_run_time;
  // A cached reading already past the earliest run time saves a clock read per due task.
  if (run_time > recent_time_) {
    recent_time_ = NowMicroseconds();
    if (run_time > recent_time_) {
      *next_run_time = run_time;
      return false;
    }
  }
  PendingTask task = PopDelayedTask();
  *next_run_time = delayed_work_queue_.empty() ? 0 : delayed_work_queue_.front().delayed_run_time;
  return DeferOrRunPendingTask(std::move(task));
}

bool MessageLoop::RunIdleWork() {
  if (IsOutermostRun() && !deferred_non_nestable_work_queue_.empty()) {
    PendingTask task = std::move(deferred_non_nestable_work_queue_.front());
    deferred_non_nestable_work_queue_.pop_front();
    RunTask(task);
    return true;
  }
  // Quit is honoured only here, so every task runnable at the time of the request runs first.
  if (run_state_ && run_state_->quit_received) pump_->Quit();
  return false;
}

bool MessageLoop::DeferOrRunPendingTask(PendingTask task) {
  if (!task.nestable && !IsOutermostRun()) {
    deferred_non_nestable_work_queue_.push_back(std::move(task));
    return false;
  }
  RunTask(task);
  return true;
}

void MessageLoop::RunTask(PendingTask& task) {
  // A nested run started by this task must not take further tasks until it has finished.
  nestable_tasks_allowed_ = false;
  const kestrum::common::ScopeExit reallow([this] { nestable_tasks_allowed_ = true; });
  task_observers_.Notify(&TaskObserver::WillProcessTask);
  task.task();
  task_observers_.Notify(&TaskObserver::DidProcessTask);
}

bool MessageLoop::DeletePendingTasks() {
  while (!work_queue_.empty()) {
    PendingTask task = std::move(work_queue_.front());
    work_queue_.pop_front();
    if (task.delayed_run_time != 0) AddToDelayedWorkQueue(std::move(task));
  }
  deferred_non_nestable_work_queue_.clear();
  const bool had_delayed_tasks = !delayed_work_queue_.empty();
  while (!delayed_work_queue_.empty()) PopDelayedTask();
  return had_delayed_tasks;
}

}  // namespace kbase
