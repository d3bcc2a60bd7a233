#pragma once

#include <windows.h>

namespace ui {

// A hook that sees a window's messages before its controls do (Window::AddMessageFilter). The
// window does not own its filters; a filter must be removed before it is destroyed.
class IUIMessageFilter {
 public:
  virtual ~IUIMessageFilter() = default;
  // Sets handled to end the routing with the returned result. A filter that handles
  // WM_MOUSEMOVE does not stop hover tracking and mouse-move events.
  virtual LRESULT MessageFilter(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) = 0;
};

}  // namespace ui
