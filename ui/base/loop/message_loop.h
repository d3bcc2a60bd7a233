#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "kestrum/common/thread_affinity.h"
#include "ui/base/callback/observer_list.h"
#include "ui/base/loop/pending_task.h"
#include "ui/base/pump/message_pump.h"
#include "ui/base/thread/lock.h"

namespace kbase {

class Dispatcher;
class MessageLoopProxy;
class ThreadLocalSlot;

// The per-thread task loop. Construct it on the thread that will run it: it becomes that
// thread's current loop (MessageLoop::Current) until it is destroyed, again on that thread.
//
// Threads: the Post* operations may be called from any thread as long as the loop lives; a
// poster that may outlive the loop posts through proxy() instead, which answers false once the
// loop is gone. Everything else runs on the loop's thread (checked in the builds with checks).
//
// Tasks run in posting order; delayed tasks in run-time order, equal run times in the order they
// were queued. Tasks still queued when the loop is destroyed are destroyed without running.
class MessageLoop : public MessagePump::Delegate {
 public:
  enum Type { kDefault = 0, kUI = 1, kIO = 2 };

  class TaskObserver {
   public:
    virtual ~TaskObserver() = default;
    virtual void WillProcessTask() = 0;
    virtual void DidProcessTask() = 0;
  };

  class DestructionObserver {
   public:
    virtual ~DestructionObserver() = default;
    virtual void WillDestroyCurrentMessageLoop() = 0;
  };

  struct RunState {
    int run_depth;  // 1 for the outermost run
    bool quit_received;
    Dispatcher* dispatcher;
  };

  // A plain loop on the default (event) pump.
  MessageLoop();
  ~MessageLoop() override;
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The calling thread's loop, or null.
  static MessageLoop* Current();
  static ThreadLocalSlot& CurrentLoopSlot();

  // Each answers true when the task was queued, false for an empty task (refused here rather
  // than failing when it would run). Delays are microseconds.
  bool PostTask(Task task);
  bool PostDelayedTask(Task task, int64_t delay);
  bool PostNonNestableTask(Task task);
  bool PostNonNestableDelayedTask(Task task, int64_t delay);

  // Runs until Quit has been called and no runnable work is left. A dispatcher (UI loops only)
  // takes over the dispatching of window messages for this run.
  void Run(Dispatcher* dispatcher = nullptr);
  // Makes the current run end at its next idle point. Loop thread only.
  void Quit();

  Type type() const { return type_; }
  // The loop's posting handle; it outlives the loop. Safe to copy on any thread while the loop
  // lives.
  std::shared_ptr<MessageLoopProxy> proxy() const { return proxy_; }

  // Observers are not owned and must be removed before they die. Loop thread only.
  void AddTaskObserver(TaskObserver* observer);
  void RemoveTaskObserver(TaskObserver* observer);
  void AddDestructionObserver(DestructionObserver* observer);
  void RemoveDestructionObserver(DestructionObserver* observer);

 protected:
  // For loops on another pump (the UI and IO loops, loops of a custom factory). A loop of type
  // kUI must be given a pump that can run with a dispatcher (a WinMessagePump).
  MessageLoop(Type type, std::shared_ptr<MessagePump> pump);

  virtual void QueueIncoming(PendingTask task);

  const std::shared_ptr<MessagePump>& pump() const { return pump_; }

 private:
  bool RunPendingWork() override;
  bool RunDelayedWork(int64_t* next_run_time) override;
  bool RunIdleWork() override;

  bool PostIncoming(Task task, int64_t run_time, bool nestable);
  void ReloadWorkQueue();
  // Queues a delayed task; true when it became the earliest one.
  bool AddToDelayedWorkQueue(PendingTask task);
  PendingTask PopDelayedTask();
  bool DeferOrRunPendingTask(PendingTask task);
  void RunTask(PendingTask& task);
  bool DeletePendingTasks();
  bool IsOutermostRun() const { return !run_state_ || run_state_->run_depth == 1; }

  Type type_;
  RunState* run_state_ = nullptr;
  std::shared_ptr<MessagePump> pump_;
  bool nestable_tasks_allowed_ = true;

  Lock incoming_lock_;
  std::deque<PendingTask> incoming_queue_;  // guarded by incoming_lock_

  std::deque<PendingTask> work_queue_;
  std::deque<PendingTask> deferred_non_nestable_work_queue_;
  std::vector<PendingTask> delayed_work_queue_;  // a heap: see PendingTask::operator<
  uint32_t next_sequence_num_ = 0;
  int64_t recent_time_ = 0;

  ObserverList<TaskObserver> task_observers_;
  ObserverList<DestructionObserver> destruction_observers_;
  std::shared_ptr<MessageLoopProxy> proxy_;
  kestrum::common::ThreadAffinity thread_;
};

}  // namespace kbase
