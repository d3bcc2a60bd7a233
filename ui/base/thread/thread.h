#pragma once

#include <windows.h>

#include "kestrum/common/scoped_handle.h"

namespace kbase {

// Base of the framework's thread objects: the identity of the OS thread that runs the object's
// body. The framework never starts an OS thread itself; an application that does may hand the
// thread's handle over (set_thread_handle), and the object then waits for that thread to end
// before it is destroyed.
class Thread {
 public:
  Thread() = default;
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // The body; runs on the calling thread.
  virtual void Run() {}

  // Id of the thread running the body, 0 when none. Readable on any thread.
  DWORD thread_id() const { return thread_id_; }
  HANDLE thread_handle() const { return thread_handle_.get(); }
  // Takes ownership of a handle of the OS thread that runs (or will run) this object.
  void set_thread_handle(HANDLE handle) { thread_handle_.reset(handle); }

 protected:
  void set_thread_id(DWORD id) { thread_id_ = id; }
  // Waits for the handed-over thread to end (unless that is the calling thread, which cannot wait
  // for itself), then closes the handle and clears id and handle.
  void JoinAndCloseHandle();

 private:
  volatile DWORD thread_id_ = 0;
  kestrum::common::ScopedHandle thread_handle_;
};

}  // namespace kbase
