#pragma once

#include <windows.h>

namespace kbase {

// A critical section with the framework's spin count. Not copyable; any thread may take it;
// recursive on the owning thread like every Win32 critical section.
class Lock {
 public:
  Lock();
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  void Acquire();
  void Release();

 private:
  CRITICAL_SECTION section_;
};

// Holds a Lock for the lifetime of the scope.
class AutoLock {
 public:
  explicit AutoLock(Lock& lock) : lock_(lock) { lock_.Acquire(); }
  ~AutoLock() { lock_.Release(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  Lock& lock_;
};

}  // namespace kbase
