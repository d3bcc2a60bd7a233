#include "ui/base/loop/ui_message_loop.h"

#include <memory>

#include "ui/base/pump/win_ui_message_pump.h"

namespace kbase {

UIMessageLoop::UIMessageLoop() : MessageLoop(kUI, std::make_shared<WinUIMessagePump>()) {}

WinUIMessagePump* UIMessageLoop::ui_pump() const {
  return static_cast<WinUIMessagePump*>(pump().get());
}

}  // namespace kbase
