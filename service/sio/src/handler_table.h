#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "kestrum/sio/client.h"

namespace ksio {

// Event handlers by event name. Set from any thread; looked up by the network thread, which
// gets a shared reference so that a handler replaced meanwhile finishes its call safely.
class HandlerTable {
public:
    void Set(const std::string& event, EventHandler handler);
    void Clear();
    std::shared_ptr<const EventHandler> Find(const std::string& event) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const EventHandler>, std::less<>> handlers_;
};

}  // namespace ksio
