// RouteMessage: Win32 messages of the window become events of its controls.
#include <windowsx.h>

#include <memory>

#include "ui/controls/core/control.h"
#include "ui/windowing/window/message_filter.h"
#include "ui/windowing/window/touch_input.h"
#include "ui/windowing/window/window.h"

namespace ui {

namespace {

constexpr UINT kReflectOffset = 0x2000;
constexpr UINT kDefaultHoverMs = 400;

// The common controls library is loaded with the first tooltip rather than with the program:
// loading it at start costs every start-up about 20 ms under Wine, for a tooltip that most runs
// never show. Its load registers the tooltip class; InitCommonControlsEx asks for the class by
// name where the library's version wants that too.
bool TooltipClassReady() {
  static const bool ready = [] {
    HMODULE library = LoadLibraryW(L"comctl32.dll");
    if (!library) return false;
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    if (init) init(&classes);
    return true;
  }();
  return ready;
}

POINT PointOf(LPARAM lparam) { return POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; }

Control* HitTestVisitor(Control* control, void* data) {
  const POINT* point = static_cast<const POINT*>(data);
  const RECT rect = control->GetPos(true);
  return PtInRect(&rect, *point) ? control : nullptr;
}

void Send(Control* control, EventType type, WPARAM wparam, LPARAM lparam, POINT point,
          wchar_t key = 0) {
  control->SendEvent(type, wparam, lparam, key, 0.0f, point.x, point.y);
}

}  // namespace

LRESULT Window::RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  handled = false;
  for (IUIMessageFilter* filter : std::vector<IUIMessageFilter*>(message_filters_)) {
    bool filtered = false;
    LRESULT result = filter->MessageFilter(message, wparam, lparam, filtered);
    if (filtered && message != WM_MOUSEMOVE) {
      handled = true;
      return result;
    }
  }
  switch (message) {
    case WM_CLOSE:
      OnClose();
      break;
    case WM_SHOWWINDOW:
      if (wparam) shown_again_ = picture_kept_;
      break;
    case WM_ERASEBKGND:
      handled = true;
      return 1;
    case WM_PAINT:
      PaintWindow();
      handled = true;
      break;
    case WM_SIZE:
      OnSize(wparam);
      handled = true;
      break;
    case WM_KILLFOCUS:
      OnKillFocus(wparam, lparam);
      break;
    case WM_CONTEXTMENU:
      OnContextMenu(wparam, lparam);
      break;
    case WM_CHAR:
      if (focus_) Send(focus_, kEventChar, wparam, lparam, POINT{}, static_cast<wchar_t>(wparam));
      break;
    case WM_KEYDOWN:
      OnKeyDown(wparam, lparam);
      break;
    case WM_KEYUP:
      OnKeyUp(wparam, lparam);
      break;
    case WM_SETCURSOR:
      if (OnSetCursor(wparam, lparam)) handled = true;
      break;
    case WM_NOTIFY:
      return OnNotify(wparam, lparam, handled);
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
      if (!lparam) break;
      handled = true;
      return SendMessageW(reinterpret_cast<HWND>(lparam), message + kReflectOffset, wparam, lparam);
    case WM_IME_STARTCOMPOSITION:
      if (focus_) {
        Send(focus_, kEventImeStartComposition, wparam, lparam, POINT{},
             static_cast<wchar_t>(LOWORD(wparam)));
      }
      break;
    case WM_IME_ENDCOMPOSITION:
      if (focus_) {
        Send(focus_, kEventImeEndComposition, wparam, lparam, POINT{},
             static_cast<wchar_t>(wparam));
      }
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(wparam, lparam);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(message, wparam, lparam);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      OnButtonUp(message, wparam, lparam);
      break;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wparam, lparam);
      break;
    case WM_MOUSEHOVER:
      if (OnMouseHover(lparam)) handled = true;
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      break;
    case WM_TOUCH:
      OnTouch(wparam, lparam);
      break;
    case kWmPointerUpdate:
    case kWmPointerDown:
    case kWmPointerUp:
    case kWmPointerLeave:
    case kWmPointerCaptureChanged:
      return OnPointer(message, wparam, lparam, handled);
    case kDelayedDeleteMessage:
      DeleteQueuedControls();
      break;
    default:
      break;
  }
  return 0;
}

bool Window::BelongsHere(const Control* control) const {
  return control && control->GetWindow() == this;
}

void Window::ReleaseMouse() {
  ReleaseCapture();
  mouse_captured_ = false;
}

Control* Window::FindControlAt(POINT point) const {
  if (!root_) return nullptr;
  return root_->FindControl(&HitTestVisitor, &point,
                            Control::kFindVisible | Control::kFindHitTest | Control::kFindTopFirst);
}

bool Window::DeliverEvent(Control* control, EventType type, WPARAM wparam, LPARAM lparam) {
  if (!control) return true;
  EventArgs args;
  args.type = type;
  args.sender = control;
  args.timeStamp = GetTickCount();
  args.ptMouse = last_mouse_;
  args.wParam = wparam;
  args.lParam = lparam;
  control->DispatchEvent(args);
  return true;
}

void Window::FocusControl(Control* control) {
  if (GetFocus() != hwnd_ && control && control != focus_) ::SetFocus(hwnd_);
  if (control == focus_) return;
  // The old focus's handlers may destroy the control that is to take the focus.
  std::weak_ptr<kbase::WeakFlag> alive;
  if (control) alive = control->AcquireWeakFlag();
  if (focus_) BlurFocusControl();
  if (!control || alive.expired()) return;
  if (!BelongsHere(control) || !control->IsVisible() || !control->IsEnabled()) return;
  focus_ = control;
  Send(control, kEventInternalSetFocus, 0, 0, POINT{});
  if (focus_) DeliverEvent(focus_, kEventSetFocus, 0, 0);
}

void Window::BlurFocusControl() {
  Control* old = focus_;
  const std::weak_ptr<kbase::WeakFlag> alive = old->AcquireWeakFlag();
  Send(old, kEventInternalKillFocus, 0, 0, POINT{});
  focus_ = nullptr;
  // A control may destroy itself as it loses the focus.
  if (!alive.expired()) DeliverEvent(old, kEventKillFocus, 0, 0);
}

void Window::OnClose() {
  if (hovered_) Send(hovered_, kEventMouseLeave, 0, 0, POINT{});
  for (Control* target : {pressed_, touch_, pointer_}) {
    if (target) Send(target, kEventMouseButtonUp, 0, 0, POINT{});
  }
  FocusControl(nullptr);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  if (owner) ::SetFocus(owner);
}

void Window::OnSize(WPARAM wparam) {
  if (focus_) Send(focus_, kEventWindowSize, 0, 0, POINT{});
  if (root_) root_->Arrange();
  if (wparam != SIZE_MAXIMIZED && wparam != SIZE_RESTORED) return;
  if (ShadowBoxIsCurrent()) shadow_.MaximizedOrRestored(wparam == SIZE_MAXIMIZED);
}

void Window::OnKillFocus(WPARAM wparam, LPARAM lparam) {
  Control* target = pointer_ ? pointer_ : (touch_ ? touch_ : pressed_);
  // lParam is the window that gains the focus, not a point: take where the cursor is.
  POINT cursor = {};
  if (GetCursorPos(&cursor) && ScreenToClient(hwnd_, &cursor)) last_mouse_ = cursor;
  if (!target || !target->IsReleaseCaptureOnKillFocus()) return;
  ReleaseMouse();
  Send(target, kEventMouseButtonUp, wparam, lparam, last_mouse_);
  pressed_ = touch_ = pointer_ = nullptr;
}

void Window::OnContextMenu(WPARAM wparam, LPARAM lparam) {
  POINT point = PointOf(lparam);
  ScreenToClient(hwnd_, &point);
  last_mouse_ = point;
  if (!pressed_) return;
  ReleaseMouse();
  Control* pressed = pressed_;
  pressed_ = nullptr;
  Send(pressed, kEventInternalMenu, wparam, reinterpret_cast<LPARAM>(pressed), point);
}

void Window::OnKeyDown(WPARAM wparam, LPARAM lparam) {
  key_down_ = focus_;
  if (focus_) Send(focus_, kEventKeyDown, wparam, lparam, POINT{}, static_cast<wchar_t>(wparam));
}

void Window::OnKeyUp(WPARAM wparam, LPARAM lparam) {
  // The control that saw the key go down sees it come up, even if the focus moved meanwhile.
  Control* target = key_down_;
  key_down_ = nullptr;
  if (target) Send(target, kEventKeyUp, wparam, lparam, POINT{}, static_cast<wchar_t>(wparam));
}

bool Window::OnSetCursor(WPARAM wparam, LPARAM lparam) {
  if (LOWORD(lparam) != HTCLIENT) return false;
  if (pressed_ || touch_ || pointer_) return true;
  POINT cursor = {};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd_, &cursor);
  last_mouse_ = cursor;
  Control* control = FindControlAt(cursor);
  if (!control) return false;
  Send(control, kEventSetCursor, wparam, lparam, cursor);
  return true;
}

LRESULT Window::OnNotify(WPARAM wparam, LPARAM lparam, bool& handled) {
  if (!lparam) {
    handled = true;
    return 0;
  }
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
  SendMessageW(header->hwndFrom, WM_NOTIFY + kReflectOffset, wparam, lparam);
  return 0;
}

void Window::TrackMouse() {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = hwnd_;
  track.dwHoverTime =
      tooltip_ ? static_cast<DWORD>(SendMessageW(tooltip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
               : kDefaultHoverMs;
  TrackMouseEvent(&track);
  mouse_tracking_ = true;
}

bool Window::UpdateHover(POINT point, WPARAM wparam, LPARAM lparam) {
  under_mouse_ = FindControlAt(point);
  if (under_mouse_ && !BelongsHere(under_mouse_)) return false;
  if (hovered_ && hovered_ != under_mouse_) {
    Control* left = hovered_;
    hovered_ = nullptr;
    Send(left, kEventMouseLeave, 0, 0, point);
    HideToolTip();
  }
  if (under_mouse_ && under_mouse_ != hovered_) {
    hovered_ = under_mouse_;
    Send(hovered_, kEventMouseEnter, wparam, lparam, point);
  }
  return true;
}

void Window::OnMouseMove(WPARAM wparam, LPARAM lparam) {
  if (touch_ || pointer_) return;
  if (!mouse_tracking_) TrackMouse();
  const POINT point = PointOf(lparam);
  last_mouse_ = point;
  if (!UpdateHover(point, wparam, lparam)) return;
  Control* target = pressed_ ? pressed_ : under_mouse_;
  if (target) Send(target, kEventMouseMove, wparam, lparam, point);
}

void Window::OnButtonDown(UINT message, WPARAM wparam, LPARAM lparam) {
  if (touch_ || pointer_) return;
  ::SetFocus(hwnd_);
  const POINT point = PointOf(lparam);
  last_mouse_ = point;
  Control* control = FindControlAt(point);
  if (!BelongsHere(control)) return;
  pressed_ = control;
  if (message != WM_LBUTTONDBLCLK) control->SetFocus();
  // SetFocus may have run handlers that destroyed the control.
  if (pressed_ != control) return;
  SetCapture(hwnd_);
  mouse_captured_ = true;
  const EventType type = message == WM_LBUTTONDOWN   ? kEventMouseButtonDown
                         : message == WM_RBUTTONDOWN ? kEventMouseRightButtonDown
                                                     : kEventInternalDoubleClick;
  Send(control, type, wparam, lparam, point);
}

void Window::OnButtonUp(UINT message, WPARAM wparam, LPARAM lparam) {
  const POINT point = PointOf(lparam);
  last_mouse_ = point;
  ReleaseMouse();
  if (!pressed_) return;
  if (message == WM_RBUTTONUP) {
    // The WM_CONTEXTMENU that follows ends the press.
    Send(pressed_, kEventMouseRightButtonUp, wparam, lparam, point);
    return;
  }
  Control* pressed = pressed_;
  pressed_ = nullptr;
  Send(pressed, kEventMouseButtonUp, wparam, lparam, point);
}

void Window::OnMouseWheel(WPARAM wparam, LPARAM lparam) {
  POINT point = PointOf(lparam);
  ScreenToClient(hwnd_, &point);
  last_mouse_ = point;
  Control* control = FindControlAt(point);
  if (!BelongsHere(control)) return;
  const auto delta = static_cast<short>(HIWORD(wparam));
  Send(control, kEventMouseScrollWheel, static_cast<WPARAM>(static_cast<LONG_PTR>(delta)), lparam,
       point);
}

bool Window::OnMouseHover(LPARAM lparam) {
  mouse_tracking_ = false;
  const POINT point = PointOf(lparam);
  Control* control = FindControlAt(point);
  if (!control) return false;
  if (hovered_) Send(hovered_, kEventMouseHover, 0, 0, point);
  // The hover event may have removed the control from the tree.
  if (FindControlAt(point) != control) return true;
  ShowToolTip(control);
  return true;
}

void Window::OnMouseLeave() {
  HideToolTip();
  // A move to (-1, -1) hits nothing, so the hovered control gets its mouseleave.
  if (mouse_tracking_) SendMessageW(hwnd_, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
  mouse_tracking_ = false;
}

void Window::ShowToolTip(Control* control) {
  const std::wstring text = control->GetToolTipText();
  tool_tip_text_ = text;
  tool_info_ = TOOLINFOW{};
  tool_info_.cbSize = sizeof(TOOLINFOW);
  tool_info_.uFlags = TTF_IDISHWND;
  tool_info_.hwnd = hwnd_;
  tool_info_.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool_info_.rect = control->GetPos(true);
  tool_info_.hinst = GetModuleHandleW(nullptr);
  tool_info_.lpszText = const_cast<wchar_t*>(tool_tip_text_.c_str());
  if (!tooltip_ && TooltipClassReady()) {
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_info_));
  }
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
  SendMessageW(tooltip_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool_info_));
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_info_));
}

void Window::HideToolTip() {
  if (tooltip_)
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_info_));
}

}  // namespace ui
