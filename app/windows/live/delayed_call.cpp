#include "app/windows/live/delayed_call.h"

#include <utility>

namespace ZuvraKestrum::Live {

DelayedCall::~DelayedCall() { join(); }

bool DelayedCall::start(std::function<void()> call, std::chrono::milliseconds delay) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (running_) return false;
        running_ = true;
        cancelled_ = false;
    }
    // The last call's thread has ended its work; only its end is left to join.
    if (thread_.joinable()) thread_.join();
    thread_ = std::thread([this, call = std::move(call), delay] {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool cancelled = wake_.wait_for(lock, delay, [this] { return cancelled_; });
        lock.unlock();
        if (!cancelled) call();
        lock.lock();
        running_ = false;
    });
    return true;
}

void DelayedCall::cancel() {
    std::lock_guard<std::mutex> guard(mutex_);
    cancelled_ = true;
    wake_.notify_all();
}

void DelayedCall::join() {
    cancel();
    if (thread_.joinable()) thread_.join();
}

bool DelayedCall::busy() {
    std::lock_guard<std::mutex> guard(mutex_);
    return running_;
}

}  // namespace ZuvraKestrum::Live
