#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace ui {

struct EventArgs;

// An event handler: answers false to end the event (no further handler sees it).
using EventCallback = std::function<bool(EventArgs*)>;

// The ordered handlers of one event type of a control or window. Used on the thread that owns
// the control tree only.
class HandlerChain {
 public:
  // Appends a handler. An empty callable is refused (false), so a chain never holds one that
  // would throw when the event fires.
  bool Add(EventCallback handler);
  HandlerChain& operator+=(EventCallback handler);

  void Clear();
  bool Empty() const { return handlers_.empty(); }
  std::size_t Size() const { return handlers_.size(); }

  // Runs the handlers in order until one answers false. True when every handler answered true,
  // and for an empty chain. Handlers may add to or clear this chain while it runs: the run works
  // on the handlers present when it started.
  bool Invoke(EventArgs* args) const;

 private:
  std::vector<EventCallback> handlers_;
};

}  // namespace ui
