#include "ui/base/loop/message_loop_proxy.h"

#include <utility>

#include "ui/base/loop/message_loop.h"

namespace kbase {

MessageLoopProxy::MessageLoopProxy(MessageLoop* loop) : loop_(loop) {}

MessageLoopProxy::~MessageLoopProxy() = default;

bool MessageLoopProxy::Post(Task task) {
  AutoLock hold(lock_);
  return loop_ && loop_->PostTask(std::move(task));
}

bool MessageLoopProxy::PostAfter(Task task, int64_t delay) {
  AutoLock hold(lock_);
  if (!loop_) return false;
  return delay == 0 ? loop_->PostTask(std::move(task))
                    : loop_->PostDelayedTask(std::move(task), delay);
}

bool MessageLoopProxy::PostNonNested(Task task) {
  AutoLock hold(lock_);
  return loop_ && loop_->PostNonNestableTask(std::move(task));
}

bool MessageLoopProxy::PostNonNestedAfter(Task task, int64_t delay) {
  AutoLock hold(lock_);
  if (!loop_) return false;
  return delay == 0 ? loop_->PostNonNestableTask(std::move(task))
                    : loop_->PostNonNestableDelayedTask(std::move(task), delay);
}

bool MessageLoopProxy::IsLoopThread() {
  AutoLock hold(lock_);
  return loop_ && MessageLoop::Current() == loop_;
}

void MessageLoopProxy::DetachLoop() {
  AutoLock hold(lock_);
  loop_ = nullptr;
}

void MessageLoopProxy::DestroyOnLoopThread() {
  {
    AutoLock hold(lock_);
    if (loop_ && MessageLoop::Current() != loop_) {
      loop_->PostNonNestableTask(ToWeakCallback([this] { delete this; }));
      return;
    }
  }
  delete this;  // outside the lock: the lock is a member
}

}  // namespace kbase
