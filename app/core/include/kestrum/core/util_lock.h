#pragma once

#include <windows.h>

namespace ZuvraKestrum::Util {

// The program's lock: a heap critical section, entered through CLockGuard for a block.
// Recursive (the owning thread may enter again). Safe to use from any thread; it must outlive
// every guard on it and is not copyable.
class CLock {
public:
    CLock();
    ~CLock();
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

    void Enter();
    // Enters only when no other thread holds the lock; true when it did (Leave it then).
    bool TryEnter();
    void Leave();

private:
    CRITICAL_SECTION* section_;
};

}  // namespace ZuvraKestrum::Util
