#include "listener_set.h"

#include <utility>

namespace ksio {

void ListenerSet::SetOpen(OpenListener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = std::move(listener);
}

void ListenerSet::SetClose(CloseListener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    close_ = std::move(listener);
}

void ListenerSet::SetFail(FailListener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    fail_ = std::move(listener);
}

void ListenerSet::SetReconnect(ReconnectListener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    reconnect_ = std::move(listener);
}

void ListenerSet::SetDrop(DropListener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    drop_ = std::move(listener);
}

void ListenerSet::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = nullptr;
    close_ = nullptr;
    fail_ = nullptr;
    reconnect_ = nullptr;
    drop_ = nullptr;
}

void ListenerSet::NotifyOpen() const {
    if (const auto listener = Copy(open_)) listener();
}

void ListenerSet::NotifyClose(CloseReason reason) const {
    if (const auto listener = Copy(close_)) listener(reason);
}

void ListenerSet::NotifyFail(const std::string& reason) const {
    if (const auto listener = Copy(fail_)) listener(reason);
}

void ListenerSet::NotifyReconnect(unsigned attempt, std::chrono::milliseconds delay,
                                  const std::string& cause) const {
    if (const auto listener = Copy(reconnect_)) listener(attempt, delay, cause);
}

void ListenerSet::NotifyDrop(const std::string& what) const {
    if (const auto listener = Copy(drop_)) listener(what);
}

}  // namespace ksio
