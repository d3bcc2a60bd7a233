#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include "kestrum/sio/client.h"

namespace ksio {

// The connection listeners. Set from any thread; the Notify calls run on the network thread
// and invoke a copy taken under the lock, so a listener may replace or clear listeners.
class ListenerSet {
public:
    void SetOpen(OpenListener listener);
    void SetClose(CloseListener listener);
    void SetFail(FailListener listener);
    void SetReconnect(ReconnectListener listener);
    void SetDrop(DropListener listener);
    void Clear();

    void NotifyOpen() const;
    void NotifyClose(CloseReason reason) const;
    void NotifyFail(const std::string& reason) const;
    void NotifyReconnect(unsigned attempt, std::chrono::milliseconds delay,
                         const std::string& cause) const;
    void NotifyDrop(const std::string& what) const;

private:
    template <typename Listener>
    Listener Copy(const Listener& listener) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return listener;
    }

    mutable std::mutex mutex_;
    OpenListener open_;
    CloseListener close_;
    FailListener fail_;
    ReconnectListener reconnect_;
    DropListener drop_;
};

}  // namespace ksio
