#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "ui/base/loop/pending_task.h"
#include "ui/base/thread/lock.h"

namespace kbase {

class FrameworkThread;
class MessageLoopProxy;

// Maps small non-negative identifiers to running framework threads so that any thread can post
// to "thread N" without a pointer to it.
//
// Threads: Register/Unregister act for the calling thread, which must be inside a framework
// thread body. PostTask, PostDelayedTask and GetLoopProxy are safe on any thread. The map is
// read and changed only under the registry's lock.
class ThreadRegistry {
 public:
  static ThreadRegistry& Instance();

  // Registers the calling framework thread under the identifier. False for a negative
  // identifier, outside a framework thread body, for an identifier another thread holds, and for
  // a second identifier while the thread is registered under another; nothing changes then.
  // Registering again under the same identifier counts: each needs its own Unregister.
  static bool RegisterCurrentThread(int identifier);
  // Undoes one registration; the entry goes with the last. False when not registered.
  static bool UnregisterCurrentThread();

  // Queue the task on the identified thread's loop; the answer is the loop's: false when the
  // identifier is unknown, its thread has no loop, the loop is going away, or the task is empty.
  // A refused task is destroyed without running. Delays are microseconds.
  static bool PostTask(int identifier, Task task);
  static bool PostDelayedTask(int identifier, Task task, int64_t delay);
  // The identified thread's loop proxy, empty when there is none.
  static std::shared_ptr<MessageLoopProxy> GetLoopProxy(int identifier);

  // Drops any entry of a thread whose body is ending. Called by FrameworkThread.
  static void Forget(FrameworkThread* thread);

 private:
  ThreadRegistry() = default;

  Lock lock_;
  std::map<int, FrameworkThread*> threads_;  // guarded by lock_
};

}  // namespace kbase
