#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls/core/event_type.h"

namespace ui {

class Box;
class Control;
class IRenderContext;
class Window;

// What the control tree asks of the window that owns it. Controls call nothing else of the
// window, so the tree can be driven without one. Each function forwards to the installed
// Provider below, which the window layer implements (with the ui::Window member of the same
// purpose) and installs, so the controls link without it. Every function is called on the
// window's thread with a non-null window.
namespace window_link {

HWND Handle(Window* window);
// Whether the window presents itself with UpdateLayeredWindow: invalidating it then also needs
// a posted WM_PAINT.
bool IsLayered(Window* window);
// The root of the window's control tree; null before one is installed.
Control* Root(Window* window);
// Asks for a layout pass of the tree before the next paint.
void NeedUpdate(Window* window);
// Asks for rect (client coordinates) to be drawn again: a control there looks different now.
void Invalidate(Window* window, const RECT& rect);
// The window drops every pointer it keeps to control (focus, hover, pushed, name map).
void ForgetControl(Window* window, Control* control);
// Moves the keyboard focus to control; null removes it.
void FocusControl(Window* window, Control* control);
Control* FocusedControl(Window* window);
// The control under the mouse, or null.
Control* HoverControl(Window* window);
// The last mouse position the window saw, in client coordinates.
POINT LastMousePos(Window* window);
// Raises an event of type from sender through the window's routing.
void DeliverEvent(Window* window, Control* sender, EventType type, WPARAM wParam, LPARAM lParam);
// The attribute list of a class defined in the window's markup; empty when unknown.
std::wstring ClassAttributes(Window* window, const std::wstring& name);
// The folder, below the resource path, that the window's markup came from.
std::wstring ResourceFolder(Window* window);
Control* ControlByName(Window* window, const std::wstring& name);
// The left and top widths of an attached shadow; zero without one.
SIZE ShadowOffset(Window* window);
// Attaches control below parent (SetWindow with init) and registers its names.
void BindControlTree(Window* window, Control* control, Box* parent);
// Queues control for deletion when the window handles WM_APP+1, which the window posts to
// itself; the window takes ownership.
void QueueDelayedDelete(Window* window, Control* control);
// The window's own render context; null before the window has a handle.
IRenderContext* RenderContext(Window* window);
// The window's option groups, by name: false when control is already a member; null for a group
// with no members.
bool JoinOptionGroup(Window* window, const std::wstring& group, Control* control);
const std::vector<Control*>* OptionGroupMembers(Window* window, const std::wstring& group);
void LeaveOptionGroup(Window* window, const std::wstring& group, Control* control);

// The window layer's side of the functions above: one member for each, with its contract.
class Provider {
 public:
  virtual HWND Handle(Window* window) = 0;
  virtual bool IsLayered(Window* window) = 0;
  virtual Control* Root(Window* window) = 0;
  virtual void NeedUpdate(Window* window) = 0;
  virtual void Invalidate(Window* window, const RECT& rect) = 0;
  virtual void ForgetControl(Window* window, Control* control) = 0;
  virtual void FocusControl(Window* window, Control* control) = 0;
  virtual Control* FocusedControl(Window* window) = 0;
  virtual Control* HoverControl(Window* window) = 0;
  virtual POINT LastMousePos(Window* window) = 0;
  virtual void DeliverEvent(Window* window, Control* sender, EventType type, WPARAM wParam,
                            LPARAM lParam) = 0;
  virtual std::wstring ClassAttributes(Window* window, const std::wstring& name) = 0;
  virtual std::wstring ResourceFolder(Window* window) = 0;
  virtual Control* ControlByName(Window* window, const std::wstring& name) = 0;
  virtual SIZE ShadowOffset(Window* window) = 0;
  virtual void BindControlTree(Window* window, Control* control, Box* parent) = 0;
  virtual void QueueDelayedDelete(Window* window, Control* control) = 0;
  virtual IRenderContext* RenderContext(Window* window) = 0;
  virtual bool JoinOptionGroup(Window* window, const std::wstring& group, Control* control) = 0;
  virtual const std::vector<Control*>* OptionGroupMembers(Window* window,
                                                          const std::wstring& group) = 0;
  virtual void LeaveOptionGroup(Window* window, const std::wstring& group, Control* control) = 0;

 protected:
  ~Provider() = default;
};

// Makes provider, which must live to process exit, the one the functions above forward to; any
// thread may install, and installing the same one again changes nothing. The window layer does
// it before it hands a control a window; a function above called with none installed fails its
// check.
void Install(Provider& provider);

}  // namespace window_link

}  // namespace ui
