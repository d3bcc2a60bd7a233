#include "handler_table.h"

#include <utility>

namespace ksio {

void HandlerTable::Set(const std::string& event, EventHandler handler) {
    auto shared = handler ? std::make_shared<const EventHandler>(std::move(handler)) : nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    if (shared) {
        handlers_[event] = std::move(shared);
    } else {
        handlers_.erase(event);
    }
}

void HandlerTable::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    handlers_.clear();
}

std::shared_ptr<const EventHandler> HandlerTable::Find(const std::string& event) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = handlers_.find(event);
    return it == handlers_.end() ? nullptr : it->second;
}

}  // namespace ksio
