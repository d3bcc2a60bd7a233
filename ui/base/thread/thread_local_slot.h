#pragma once

#include <windows.h>

namespace kbase {

// A process-wide TLS index allocated on first use. Instances are meant to be namespace-scope or
// static members: the constructor is constexpr, so they are usable before any dynamic
// initialisation runs. The index is never freed. Get/Set act on the calling thread's value and
// are safe on any thread.
class ThreadLocalSlot {
 public:
  constexpr ThreadLocalSlot() = default;
  ThreadLocalSlot(const ThreadLocalSlot&) = delete;
  ThreadLocalSlot& operator=(const ThreadLocalSlot&) = delete;

  void* Get();
  void Set(void* value);

 private:
  DWORD Index();

  // 0 = not allocated, 1 = one thread is allocating, 2 = index_ is valid.
  volatile LONG state_ = 0;
  volatile DWORD index_ = TLS_OUT_OF_INDEXES;
};

}  // namespace kbase
