#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

#include <atomic>

#include "kestrum/common/check.h"

// ThreadAffinity: a member that remembers one thread and tells whether its caller runs on it, so
// that a class whose members are "window thread only" (or "network thread only") can check it:
//
//     class CFoo {
//         void OnTimer() { KESTRUM_CHECK_THREAD(thread_); ... }
//         kestrum::common::ThreadAffinity thread_;
//     };
//
// It is bound to the thread that constructs it. An object built on one thread for use on another
// calls Detach() once it has been handed over; the next CalledOnValidThread then binds to its
// caller. The checks compile away with KESTRUM_CHECK (see check.h); the member itself does not,
// so the layout of its owner is the same in every build.
//
// Threads are told apart by the Win32 thread id, which is the same for threads started with
// CreateThread, _beginthreadex and std::thread (MinGW's winpthreads runs on Win32 threads); ids are
// reused only after a thread has ended. Elsewhere std::this_thread::get_id().
//
// Threads: every member may be called on any thread; a binding race between two first callers
// after Detach() has one winner, and the other is told false.

namespace kestrum::common {

class ThreadAffinity {
public:
    ThreadAffinity() : bound_(CurrentThread()) {}
    ThreadAffinity(const ThreadAffinity&) = delete;
    ThreadAffinity& operator=(const ThreadAffinity&) = delete;

    // True on the bound thread. When detached, binds to the caller and answers true.
    [[nodiscard]] bool CalledOnValidThread() const {
        const Id current = CurrentThread();
        Id bound = Unbound();
        if (bound_.compare_exchange_strong(bound, current)) return true;
        return bound == current;
    }

    // Forgets the thread; the next CalledOnValidThread binds to its caller.
    void Detach() { bound_.store(Unbound()); }

private:
#ifdef _WIN32
    using Id = DWORD;
    static Id CurrentThread() { return GetCurrentThreadId(); }
    static Id Unbound() { return 0; }  // no Win32 thread has the id 0
#else
    using Id = std::thread::id;
    static Id CurrentThread() { return std::this_thread::get_id(); }
    static Id Unbound() { return Id(); }  // the id of no thread
#endif

    mutable std::atomic<Id> bound_;
};

}  // namespace kestrum::common

// Checks that the caller runs on the thread of a ThreadAffinity member.
#define KESTRUM_CHECK_THREAD(affinity) \
    KESTRUM_CHECK_MSG((affinity).CalledOnValidThread(), "called off the thread of " #affinity)
