#include "kestrum/sio/closing_clients.h"

#include <utility>

#include "client_core.h"
#include "kestrum/common/module_hold.h"
#include "kestrum/common/singleton.h"
#include "kestrum/sio/client.h"

namespace ksio {

ClosingClients::~ClosingClients() {
    if (!kestrum::common::IsProcessExiting()) {
        FinishAll();
        return;
    }
    // The system has ended the threads, maybe inside a lock: nothing is joined or destroyed.
    if (closer_.joinable()) closer_.detach();
    for (Closing& closing : queue_) {
        if (closing.network.joinable()) closing.network.detach();
        static_cast<void>(closing.client.release());
    }
}

void ClosingClients::Adopt(std::unique_ptr<Client> client) {
    if (!client) return;
    const std::shared_ptr<ClientCore> core = client->core_;
    if (core->OnNetworkThread()) return;  // the client's destructor lets that thread end alone
    std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
    Closing closing{nullptr, core->EndSession(), std::chrono::steady_clock::now()};
    // A closed session calls none of them; forgotten all the same, since what they refer to may
    // go as soon as this returns.
    core->listeners.Clear();
    core->handlers.Clear();
    if (!closing.network.joinable()) return;  // nothing left to finish: the client goes here
    closing.client = std::move(client);
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(closing));
    ++pending_;
    StartCloserLocked();
    changed_.notify_all();
}

void ClosingClients::StartCloserLocked() {
    if (closer_.joinable()) return;
    module_ = kestrum::common::HoldOwnModule();
    closer_ = std::thread([this] { RunCloser(); });
}

void ClosingClients::RunCloser() {
    for (;;) {
        Closing closing;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
            if (queue_.empty()) return;
            closing = std::move(queue_.front());
            queue_.pop_front();
        }
        // In the order handed over, so each grace is up no later than the one before it.
        closing.client->core_->Finish(std::move(closing.network), closing.closedAt);
        closing.client.reset();
        std::lock_guard<std::mutex> lock(mutex_);
        --pending_;
        changed_.notify_all();
    }
}

void ClosingClients::FinishAll() {
    std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!closer_.joinable()) return;
        stopping_ = true;
    }
    changed_.notify_all();
    closer_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
    if (module_) FreeLibrary(std::exchange(module_, nullptr));
}

size_t ClosingClients::Pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pending_;
}

}  // namespace ksio
