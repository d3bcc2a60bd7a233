// The control tree's calls into its window, forwarded to the provider the window layer installs.
#include "ui/controls/core/window_link.h"

#include <atomic>

#include "kestrum/common/check.h"

namespace ui {
namespace window_link {

namespace {

std::atomic<Provider*> installed_provider{nullptr};

Provider& Installed() {
  Provider* provider = installed_provider.load(std::memory_order_acquire);
  KESTRUM_CHECK_MSG(provider, "a control reached for its window with no window layer installed");
  return *provider;
}

}  // namespace

void Install(Provider& provider) { installed_provider.store(&provider, std::memory_order_release); }

HWND Handle(Window* window) { return Installed().Handle(window); }
bool IsLayered(Window* window) { return Installed().IsLayered(window); }
Control* Root(Window* window) { return Installed().Root(window); }
void NeedUpdate(Window* window) { Installed().NeedUpdate(window); }
void Invalidate(Window* window, const RECT& rect) { Installed().Invalidate(window, rect); }
void ForgetControl(Window* window, Control* control) { Installed().ForgetControl(window, control); }
void FocusControl(Window* window, Control* control) { Installed().FocusControl(window, control); }
Control* FocusedControl(Window* window) { return Installed().FocusedControl(window); }
Control* HoverControl(Window* window) { return Installed().HoverControl(window); }
POINT LastMousePos(Window* window) { return Installed().LastMousePos(window); }

void DeliverEvent(Window* window, Control* sender, EventType type, WPARAM wParam, LPARAM lParam) {
  Installed().DeliverEvent(window, sender, type, wParam, lParam);
}

std::wstring ClassAttributes(Window* window, const std::wstring& name) {
  return Installed().ClassAttributes(window, name);
}

std::wstring ResourceFolder(Window* window) { return Installed().ResourceFolder(window); }

Control* ControlByName(Window* window, const std::wstring& name) {
  return Installed().ControlByName(window, name);
}

SIZE ShadowOffset(Window* window) { return Installed().ShadowOffset(window); }

void BindControlTree(Window* window, Control* control, Box* parent) {
  Installed().BindControlTree(window, control, parent);
}

void QueueDelayedDelete(Window* window, Control* control) {
  Installed().QueueDelayedDelete(window, control);
}

IRenderContext* RenderContext(Window* window) { return Installed().RenderContext(window); }

bool JoinOptionGroup(Window* window, const std::wstring& group, Control* control) {
  return Installed().JoinOptionGroup(window, group, control);
}

const std::vector<Control*>* OptionGroupMembers(Window* window, const std::wstring& group) {
  return Installed().OptionGroupMembers(window, group);
}

void LeaveOptionGroup(Window* window, const std::wstring& group, Control* control) {
  Installed().LeaveOptionGroup(window, group, control);
}

}  // namespace window_link
}  // namespace ui
