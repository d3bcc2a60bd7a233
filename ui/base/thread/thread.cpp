#include "ui/base/thread/thread.h"

namespace kbase {

Thread::~Thread() { JoinAndCloseHandle(); }

void Thread::JoinAndCloseHandle() {
  if (thread_handle_) {
    // A thread is never terminated from outside: a wait that fails leaves it running, and only
    // the handle is given up.
    if (GetThreadId(thread_handle_.get()) != GetCurrentThreadId()) {
      WaitForSingleObject(thread_handle_.get(), INFINITE);
    }
    thread_handle_.reset();
  }
  thread_id_ = 0;
}

}  // namespace kbase
