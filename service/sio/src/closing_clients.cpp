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
    for (Closing& closing : closings_) {
        if (closing.network.joinable()) closing.network.detach();
        static_cast<void>(closing.client.release());
    }
}

void ClosingClients::Adopt(std::unique_ptr<Client> client) {
    if (!client) return;
    const std::shared_ptr<ClientCore> core = client->core_;
    if (core->OnNetworkThread()) return;  // the client's destructor lets that thread end alone
    std::lock_guard<std::mutex> lifecycle(lifecycle_mutex_);
    Closing closing;
    closing.network = core->EndSession();
    closing.deadline = std::chrono::steady_clock::now() + ClientCore::kCloseGrace;
    // A closed session calls none of them; forgotten all the same, since what they refer to may
    // go as soon as this returns.
    core->listeners.Clear();
    core->handlers.Clear();
    if (!closing.network.joinable()) return;  // nothing left to finish: the client goes here
    core->SetFinishedNotice([this] {
        std::lock_guard<std::mutex> lock(mutex_);
        changed_.notify_all();
    });
    closing.client = std::move(client);
    std::lock_guard<std::mutex> lock(mutex_);
    closings_.push_back(std::move(closing));
    ++pending_;
    StartCloserLocked();
    changed_.notify_all();
}

void ClosingClients::StartCloserLocked() {
    if (closer_.joinable()) return;
    module_ = kestrum::common::HoldOwnModule();
    closer_ = std::thread([this] { RunCloser(); });
}

// Joins and destroys outside the lock: a network thread ending takes it to say so.
void ClosingClients::RunCloser() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        std::vector<Closing> finished = TakeFinishedLocked();
        if (!finished.empty()) {
            lock.unlock();
            for (Closing& closing : finished) {
                closing.network.join();
                closing.client.reset();
            }
            lock.lock();
            pending_ -= finished.size();
            changed_.notify_all();
            continue;
        }
        if (closings_.empty() && stopping_) return;
        const auto next = NextDeadlineLocked();
        if (next == std::chrono::steady_clock::time_point::max()) {
            changed_.wait(lock);
        } else {
            changed_.wait_until(lock, next);
        }
    }
}

std::vector<ClosingClients::Closing> ClosingClients::TakeFinishedLocked() {
    std::vector<Closing> finished;
    const auto now = std::chrono::steady_clock::now();
    for (auto it = closings_.begin(); it != closings_.end();) {
        ClientCore& core = *it->client->core_;
        if (core.NetworkThreadFinished()) {
            finished.push_back(std::move(*it));
            it = closings_.erase(it);
            continue;
        }
        if (!it->stopped && now >= it->deadline) {
            core.StopNetworkLoop();  // a peer that never finishes the close handshake
            it->stopped = true;
        }
        ++it;
    }
    return finished;
}

std::chrono::steady_clock::time_point ClosingClients::NextDeadlineLocked() const {
    auto next = std::chrono::steady_clock::time_point::max();
    for (const Closing& closing : closings_) {
        if (!closing.stopped && closing.deadline < next) next = closing.deadline;
    }
    return next;
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
