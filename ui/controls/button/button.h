#pragma once

#include "ui/controls/button/label.h"

namespace ui {

// A label that clicks: activation (mouse release inside, Space or Enter while it has keyboard
// input) raises a click event (41) at the control; a context-menu request raises "menu" (23)
// when the control uses context menus. Text is centred on one line by default.
//
// Threads: the window's thread only. Click handlers may destroy the button; nothing of it is
// touched after the dispatch.
template <typename Base>
class ButtonTemplate : public LabelTemplate<Base> {
 public:
  ButtonTemplate();

  // Dispatches a click to the control when it is activatable and attached to a window.
  void Activate() override;
  void HandleEvent(EventArgs& args) override;

 protected:
  // Dispatches an event of type to this control, stamped with the window's last mouse point
  // and the tick count. The control has a window.
  void DispatchStamped(EventType type, WPARAM wParam = 0, LPARAM lParam = 0);
};

using Button = ButtonTemplate<Control>;
using ButtonBox = ButtonTemplate<Box>;

extern template class ButtonTemplate<Control>;
extern template class ButtonTemplate<Box>;

}  // namespace ui
