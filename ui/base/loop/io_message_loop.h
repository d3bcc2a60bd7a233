#pragma once

#include "ui/base/loop/message_loop.h"

namespace kbase {

class WinIOMessagePump;

// A MessageLoop that also delivers I/O completions of its pump's port. Same threading contract
// as MessageLoop.
class IOMessageLoop : public MessageLoop {
 public:
  IOMessageLoop();

  // For observer registration and the completion port; loop thread only.
  WinIOMessagePump* io_pump() const;
};

}  // namespace kbase
