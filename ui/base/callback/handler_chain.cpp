#include "ui/base/callback/handler_chain.h"

#include <utility>

namespace ui {

bool HandlerChain::Add(EventCallback handler) {
  if (!handler) return false;
  handlers_.push_back(std::move(handler));
  return true;
}

HandlerChain& HandlerChain::operator+=(EventCallback handler) {
  Add(std::move(handler));
  return *this;
}

void HandlerChain::Clear() { handlers_.clear(); }

bool HandlerChain::Invoke(EventArgs* args) const {
  if (handlers_.empty()) return true;
  // A handler commonly closes a window or removes a control, which may clear or grow this very
  // chain; iterating over a snapshot keeps the running handler and the iteration valid.
  const std::vector<EventCallback> snapshot = handlers_;
  for (const EventCallback& handler : snapshot) {
    if (!handler(args)) return false;
  }
  return true;
}

}  // namespace ui
