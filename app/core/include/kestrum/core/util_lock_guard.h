#pragma once

#include "kestrum/core/util_lock.h"

namespace ZuvraKestrum::Util {

// Holds a CLock for the guard's scope: entered by the constructor, left by the destructor on the
// same thread. The lock is not owned.
class CLockGuard {
public:
    // Marks a lock this thread has already entered (TryEnter): the guard only leaves it.
    struct AdoptEntered {};

    explicit CLockGuard(CLock* lock) : lock_(lock) { lock_->Enter(); }
    CLockGuard(CLock* lock, AdoptEntered) : lock_(lock) {}
    ~CLockGuard() { lock_->Leave(); }
    CLockGuard(const CLockGuard&) = delete;
    CLockGuard& operator=(const CLockGuard&) = delete;

private:
    CLock* lock_;
};

}  // namespace ZuvraKestrum::Util
