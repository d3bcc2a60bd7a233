#include "ui/base/loop/io_message_loop.h"

#include <memory>

#include "ui/base/pump/win_io_message_pump.h"

namespace kbase {

IOMessageLoop::IOMessageLoop() : MessageLoop(kIO, std::make_shared<WinIOMessagePump>()) {}

WinIOMessagePump* IOMessageLoop::io_pump() const {
  return static_cast<WinIOMessagePump*>(pump().get());
}

}  // namespace kbase
