// The window layer's side of the functions through which the control tree reaches its window.
#include "ui/controls/core/window_link.h"

#include "ui/windowing/window/control_links.h"
#include "ui/windowing/window/window.h"

namespace ui {

namespace {

// Controls reach their window only from its thread.
Window* Checked(Window* window) {
  KESTRUM_CHECK_MSG(window->CalledOnWindowThread(), "a control used off its window's thread");
  return window;
}

// Each member forwards to the window's own member of the same purpose.
class WindowProvider final : public window_link::Provider {
 public:
  HWND Handle(Window* window) override { return Checked(window)->GetHWND(); }
  bool IsLayered(Window* window) override { return Checked(window)->IsLayered(); }
  Control* Root(Window* window) override { return Checked(window)->GetRoot(); }
  void NeedUpdate(Window* window) override { Checked(window)->SetArrangeNeeded(); }

  void Invalidate(Window* window, const RECT& rect) override {
    Checked(window)->InvalidateContent(rect);
  }

  void ForgetControl(Window* window, Control* control) override {
    Checked(window)->ForgetControl(control);
  }

  void FocusControl(Window* window, Control* control) override {
    Checked(window)->FocusControl(control);
  }

  Control* FocusedControl(Window* window) override { return Checked(window)->GetFocusControl(); }
  Control* HoverControl(Window* window) override { return Checked(window)->GetHoverControl(); }
  POINT LastMousePos(Window* window) override { return Checked(window)->LastMousePoint(); }

  void DeliverEvent(Window* window, Control* sender, EventType type, WPARAM wParam,
                    LPARAM lParam) override {
    Checked(window)->DeliverEvent(sender, type, wParam, lParam);
  }

  std::wstring ClassAttributes(Window* window, const std::wstring& name) override {
    return Checked(window)->ClassAttributes(name);
  }

  std::wstring ResourceFolder(Window* window) override { return Checked(window)->ResourceFolder(); }

  Control* ControlByName(Window* window, const std::wstring& name) override {
    return Checked(window)->ControlByName(name);
  }

  SIZE ShadowOffset(Window* window) override {
    const RECT margin = Checked(window)->ShadowMargin();
    return SIZE{margin.left, margin.top};
  }

  void BindControlTree(Window* window, Control* control, Box* parent) override {
    Checked(window)->BindControlTree(control, parent);
  }

  void QueueDelayedDelete(Window* window, Control* control) override {
    Checked(window)->AddDelayedDelete(control);
  }

  IRenderContext* RenderContext(Window* window) override {
    return Checked(window)->GetRenderContext();
  }

  bool JoinOptionGroup(Window* window, const std::wstring& group, Control* control) override {
    return Checked(window)->JoinOptionGroup(group, control);
  }

  const std::vector<Control*>* OptionGroupMembers(Window* window,
                                                  const std::wstring& group) override {
    return Checked(window)->OptionGroupMembers(group);
  }

  void LeaveOptionGroup(Window* window, const std::wstring& group, Control* control) override {
    Checked(window)->LeaveOptionGroup(group, control);
  }
};

}  // namespace

void InstallWindowLink() {
  static WindowProvider provider;
  window_link::Install(provider);
}

}  // namespace ui
