#include "ui/base/thread/thread_local_slot.h"

namespace kbase {

namespace {
enum : LONG { kUnallocated = 0, kAllocating = 1, kReady = 2 };
}  // namespace

DWORD ThreadLocalSlot::Index() {
  if (state_ == kReady) return index_;
  if (InterlockedCompareExchange(&state_, kAllocating, kUnallocated) == kUnallocated) {
    index_ = TlsAlloc();
    InterlockedExchange(&state_, kReady);
    return index_;
  }
  // Another thread won the race; its TlsAlloc takes microseconds.
  while (state_ != kReady) Sleep(0);
  return index_;
}

void* ThreadLocalSlot::Get() {
  const DWORD index = Index();
  return index == TLS_OUT_OF_INDEXES ? nullptr : TlsGetValue(index);
}

void ThreadLocalSlot::Set(void* value) {
  const DWORD index = Index();
  if (index != TLS_OUT_OF_INDEXES) TlsSetValue(index, value);
}

}  // namespace kbase
