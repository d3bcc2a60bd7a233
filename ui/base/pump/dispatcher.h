#pragma once

#include <windows.h>

namespace kbase {

// Takes over the dispatching of window messages in a UI loop run. Called on the loop's thread
// for every message the pump takes; answering false ends that run after the message.
class Dispatcher {
 public:
  virtual ~Dispatcher() = default;
  virtual bool Dispatch(const MSG& message) = 0;
};

}  // namespace kbase
