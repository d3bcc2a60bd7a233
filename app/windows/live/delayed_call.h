#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace ZuvraKestrum::Live {

// Runs a call once on a thread of its own after a delay, unless it is cancelled first: the
// in-meeting window's reconnection, which waits out a back-off after the server refused to take
// a lost connection back before it asks the course bridge for a new one. At most one call is
// under way at a time.
//
// The call must not wait for the owner's thread (it only calls the course bridge, whose lock
// never waits for a window), so the owner may join it from its own thread at any time.
//
// Threads: start, cancel and join belong to the owner (one thread at a time); the call runs on
// the object's thread. Ownership: the owner ends the thread (join or the destructor, which
// cancels and joins).
class DelayedCall {
public:
    DelayedCall() = default;
    ~DelayedCall();
    DelayedCall(const DelayedCall&) = delete;
    DelayedCall& operator=(const DelayedCall&) = delete;

    // Starts the thread for call after delay. False (and nothing started) while an earlier call
    // is still waiting or running.
    bool start(std::function<void()> call, std::chrono::milliseconds delay);
    // A call still waiting will not run; one that runs finishes. Does not wait.
    void cancel();
    // Cancels and waits for the thread to end.
    void join();
    // An earlier call is waiting or running.
    bool busy();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool cancelled_ = false;  // under mutex_
    bool running_ = false;    // under mutex_: from start until the thread's last step
    std::thread thread_;
};

}  // namespace ZuvraKestrum::Live
