// The functions through which the control tree reaches its window.
#include "ui/controls/core/window_link.h"

#include "ui/windowing/window/window.h"

namespace ui {
namespace window_link {

namespace {

// Controls reach their window only from its thread.
Window* Checked(Window* window) {
  KESTRUM_CHECK_MSG(window->CalledOnWindowThread(), "a control used off its window's thread");
  return window;
}

}  // namespace

HWND Handle(Window* window) { return Checked(window)->GetHWND(); }
bool IsLayered(Window* window) { return Checked(window)->IsLayered(); }
Control* Root(Window* window) { return Checked(window)->GetRoot(); }
void NeedUpdate(Window* window) { Checked(window)->SetArrangeNeeded(); }
void Invalidate(Window* window, const RECT& rect) { Checked(window)->InvalidateContent(rect); }
void ForgetControl(Window* window, Control* control) { Checked(window)->ForgetControl(control); }
void FocusControl(Window* window, Control* control) { Checked(window)->FocusControl(control); }
Control* FocusedControl(Window* window) { return Checked(window)->GetFocusControl(); }
Control* HoverControl(Window* window) { return Checked(window)->GetHoverControl(); }
POINT LastMousePos(Window* window) { return Checked(window)->LastMousePoint(); }

void DeliverEvent(Window* window, Control* sender, EventType type, WPARAM wParam, LPARAM lParam) {
  Checked(window)->DeliverEvent(sender, type, wParam, lParam);
}

std::wstring ClassAttributes(Window* window, const std::wstring& name) {
  return Checked(window)->ClassAttributes(name);
}

std::wstring ResourceFolder(Window* window) { return Checked(window)->ResourceFolder(); }

Control* ControlByName(Window* window, const std::wstring& name) {
  return Checked(window)->ControlByName(name);
}

SIZE ShadowOffset(Window* window) {
  const RECT margin = Checked(window)->ShadowMargin();
  return SIZE{margin.left, margin.top};
}

void BindControlTree(Window* window, Control* control, Box* parent) {
  Checked(window)->BindControlTree(control, parent);
}

void QueueDelayedDelete(Window* window, Control* control) {
  Checked(window)->AddDelayedDelete(control);
}

IRenderContext* RenderContext(Window* window) { return Checked(window)->GetRenderContext(); }

bool JoinOptionGroup(Window* window, const std::wstring& group, Control* control) {
  return Checked(window)->JoinOptionGroup(group, control);
}

const std::vector<Control*>* OptionGroupMembers(Window* window, const std::wstring& group) {
  return Checked(window)->OptionGroupMembers(group);
}

void LeaveOptionGroup(Window* window, const std::wstring& group, Control* control) {
  Checked(window)->LeaveOptionGroup(group, control);
}

}  // namespace window_link
}  // namespace ui
