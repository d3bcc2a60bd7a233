#include "ui/controls/button/button.h"

#include "ui/controls/core/window_link.h"

namespace ui {

template <typename Base>
ButtonTemplate<Base>::ButtonTemplate() {
  this->text_style_ = kTextStyleButton;
}

template <typename Base>
void ButtonTemplate<Base>::DispatchStamped(EventType type, WPARAM wParam, LPARAM lParam) {
  EventArgs args;
  args.type = type;
  args.sender = this;
  args.timeStamp = GetTickCount();
  args.ptMouse = window_link::LastMousePos(this->GetWindow());
  args.wParam = wParam;
  args.lParam = lParam;
  this->DispatchEvent(args);
}

template <typename Base>
void ButtonTemplate<Base>::Activate() {
  if (!this->IsActivatable() || !this->GetWindow()) return;
  DispatchStamped(kEventClick);
}

template <typename Base>
void ButtonTemplate<Base>::HandleEvent(EventArgs& args) {
  // Mouse events of a button without mouse input are passed up by Control::HandleEvent.
  if (args.type == kEventKeyDown) {
    if (this->IsKeyboardEnabled() && (args.chKey == VK_SPACE || args.chKey == VK_RETURN)) {
      Activate();
      return;
    }
  } else if (args.type == kEventInternalMenu) {
    // The request stops here either way: a button decides about its own menu.
    if (this->IsContextMenuUsed() && this->GetWindow()) {
      DispatchStamped(kEventMouseMenu, args.wParam, args.lParam);
    }
    return;
  }
  Control::HandleEvent(args);
}

template class ButtonTemplate<Control>;
template class ButtonTemplate<Box>;

}  // namespace ui
