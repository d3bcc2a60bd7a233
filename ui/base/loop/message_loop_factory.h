#pragma once

#include <memory>

#include "ui/base/loop/message_loop.h"

namespace kbase {

// Makes the loop of a framework thread run with loop kind 3 (custom). Called once, on the
// thread that will run the loop, which also destroys the loop.
class MessageLoopFactory {
 public:
  virtual ~MessageLoopFactory() = default;
  virtual std::unique_ptr<MessageLoop> CreateMessageLoop() = 0;
};

}  // namespace kbase
