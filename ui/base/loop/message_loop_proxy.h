#pragma once

#include <cstdint>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/loop/pending_task.h"
#include "ui/base/thread/lock.h"

namespace kbase {

class MessageLoop;

// A posting handle of one MessageLoop that stays valid after the loop is gone. Made only by the
// loop and held through MessageLoop::proxy()'s shared pointer; when the last holder lets go the
// proxy is deleted on the loop's thread (at once if the loop is gone or the holder is on it).
//
// Threads: every operation is safe on any thread. Each holds the proxy's lock for its whole
// duration, so a post either reaches a living loop or answers false, never a destroyed loop.
// Lock order: proxy lock, then the loop's incoming-queue lock.
class MessageLoopProxy : public SupportWeakCallback {
 public:
  ~MessageLoopProxy() override;
  MessageLoopProxy(const MessageLoopProxy&) = delete;
  MessageLoopProxy& operator=(const MessageLoopProxy&) = delete;

  // Each answers true when the task was queued on the loop; false when the loop is gone or the
  // task is empty, and the task is then destroyed without running. Delays are microseconds; a
  // delay of 0 posts an immediate task.
  virtual bool Post(Task task);
  virtual bool PostAfter(Task task, int64_t delay);
  virtual bool PostNonNested(Task task);
  virtual bool PostNonNestedAfter(Task task, int64_t delay);

  // True on the loop's own thread while the loop lives.
  virtual bool IsLoopThread();

 private:
  friend class MessageLoop;

  explicit MessageLoopProxy(MessageLoop* loop);

  // Called by the loop's destructor: later posts answer false.
  virtual void DetachLoop();
  // The deleter of the loop's shared pointer.
  virtual void DestroyOnLoopThread();

  Lock lock_;
  MessageLoop* loop_;  // guarded by lock_
};

}  // namespace kbase
