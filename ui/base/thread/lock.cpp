#include "ui/base/thread/lock.h"

namespace kbase {

namespace {
// Short critical sections are taken from many threads (posting, registry look-ups); spinning
// briefly avoids a kernel transition for most contended acquisitions.
constexpr DWORD kSpinCount = 2000;
}  // namespace

Lock::Lock() { InitializeCriticalSectionAndSpinCount(&section_, kSpinCount); }

Lock::~Lock() { DeleteCriticalSection(&section_); }

void Lock::Acquire() { EnterCriticalSection(&section_); }

void Lock::Release() { LeaveCriticalSection(&section_); }

}  // namespace kbase
