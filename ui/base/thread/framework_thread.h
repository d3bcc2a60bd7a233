#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "kestrum/common/scoped_handle.h"
#include "ui/base/callback/weak_callback.h"
#include "ui/base/thread/lock.h"
#include "ui/base/thread/thread.h"

namespace kbase {

class Dispatcher;
class MessageLoop;
class MessageLoopFactory;
class MessageLoopProxy;
class ThreadLocalSlot;
struct FrameworkThreadRecord;

// Runs one MessageLoop on a thread the application supplies: construct a subclass, call
// RunLoopHere on the thread that should run the loop, and it returns once the loop has ended.
// BeforeRun and AfterRun are called on that thread around the loop's run; the loop exists from
// just before BeforeRun until just after AfterRun.
//
// Threads: RunLoopHere, the hooks, message_loop() and MarkExitedCleanly belong to the running
// thread. RequestStop, LoopProxy, WaitUntilStarted and thread_id may be called from any thread
// while the object lives. The object is destroyed after RunLoopHere has returned, normally on
// the thread that ran it; a handed-over thread handle (Thread) is waited for first.
class FrameworkThread : public Thread, public virtual SupportWeakCallback {
 public:
  enum LoopKind { kDefaultLoop = 0, kUILoop = 1, kIOLoop = 2, kCustomLoop = 3 };

  // The factory makes the loop of a kCustomLoop run; it is released when that run ends.
  explicit FrameworkThread(std::string name, std::shared_ptr<MessageLoopFactory> factory = nullptr);
  ~FrameworkThread() override;

  // Runs the body on the calling thread with a loop of the given kind (any value other than
  // 1, 2 and 3 gives a plain loop). The dispatcher, if any, dispatches a UI loop's window
  // messages. Returns after AfterRun.
  void RunLoopHere(int loop_kind, Dispatcher* dispatcher);

  // Asks the loop to quit at its next idle point. Only the first request made while a loop
  // exists counts; a request made before the loop exists does nothing. Any thread.
  void RequestStop();

  // Marks the calling thread's framework body as ended in order (or not); no effect on a thread
  // that runs no framework body.
  static void MarkExitedCleanly(bool exited_cleanly);

  // The calling thread's record, null outside a framework thread body.
  static FrameworkThreadRecord* CurrentRecord();
  static ThreadLocalSlot& CurrentThreadSlot();

  // Waits until the loop exists and BeforeRun has returned; true if that happened within the
  // time-out. The start event is auto-reset: one waiter is released per start.
  bool WaitUntilStarted(DWORD timeout_ms);

  // The loop's posting handle, empty while no loop exists. Any thread.
  std::shared_ptr<MessageLoopProxy> LoopProxy();
  // The running loop, null outside the body. Running thread only.
  MessageLoop* message_loop() const { return message_loop_.get(); }
  const std::string& name() const { return name_; }

  void Run() override;

 protected:
  virtual void BeforeRun() {}
  virtual void AfterRun() {}

 private:
  std::unique_ptr<MessageLoop> CreateLoop();
  void InstallLoop(std::unique_ptr<MessageLoop> loop);
  std::unique_ptr<MessageLoop> RemoveLoop();
  static void QuitCurrentLoop();

  bool running_ = false;
  bool stop_requested_ = false;  // guarded by loop_lock_
  int loop_kind_ = kDefaultLoop;
  std::unique_ptr<MessageLoop> message_loop_;
  std::shared_ptr<MessageLoopProxy> loop_proxy_;  // guarded by loop_lock_
  std::shared_ptr<MessageLoopFactory> factory_;
  Dispatcher* dispatcher_ = nullptr;
  kestrum::common::ScopedHandle start_event_;
  std::string name_;
  Lock loop_lock_;
};

}  // namespace kbase
