#pragma once

#include "ui/base/loop/message_loop.h"

namespace kbase {

class WinUIMessagePump;

// A MessageLoop that also runs the thread's window messages (all framework windows of the
// thread are served by it). Same threading contract as MessageLoop.
class UIMessageLoop : public MessageLoop {
 public:
  UIMessageLoop();

  // For observer registration and the pump's window; loop thread only.
  WinUIMessagePump* ui_pump() const;
};

}  // namespace kbase
