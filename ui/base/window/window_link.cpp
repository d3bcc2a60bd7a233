// The functions through which the control tree reaches its window.
#include "ui/controls/core/window_link.h"

#include "ui/base/window/window.h"

namespace ui {
namespace window_link {

HWND Handle(Window* window) { return window->GetHWND(); }
bool IsLayered(Window* window) { return window->IsLayered(); }
Control* Root(Window* window) { return window->GetRoot(); }
void NeedUpdate(Window* window) { window->SetArrangeNeeded(); }
void ForgetControl(Window* window, Control* control) { window->ForgetControl(control); }
void FocusControl(Window* window, Control* control) { window->FocusControl(control); }
Control* FocusedControl(Window* window) { return window->GetFocusControl(); }
Control* HoverControl(Window* window) { return window->GetHoverControl(); }
POINT LastMousePos(Window* window) { return window->LastMousePoint(); }

void DeliverEvent(Window* window, Control* sender, EventType type, WPARAM wParam,
                  LPARAM lParam) {
  window->DeliverEvent(sender, type, wParam, lParam);
}

std::wstring ClassAttributes(Window* window, const std::wstring& name) {
  return window->ClassAttributes(name);
}

std::wstring ResourceFolder(Window* window) { return window->ResourceFolder(); }

Control* ControlByName(Window* window, const std::wstring& name) {
  return window->ControlByName(name);
}

SIZE ShadowOffset(Window* window) {
  const RECT margin = window->ShadowMargin();
  return SIZE{margin.left, margin.top};
}

void BindControlTree(Window* window, Control* control, Box* parent) {
  window->BindControlTree(control, parent);
}

void QueueDelayedDelete(Window* window, Control* control) { window->AddDelayedDelete(control); }

IRenderContext* RenderContext(Window* window) { return window->GetRenderContext(); }

}  // namespace window_link
}  // namespace ui
