// The skinned window's frame: no system non-client area, hit testing for the caption band and
// resize borders, maximising into the monitor's work area, DPI changes and round corners.
#include <windowsx.h>

#include "ui/base/dpi/display_scale.h"
#include "ui/controls/button/button.h"
#include "ui/controls/core/control.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/windowing/window_impl/window_hit_test.h"
#include "ui/windowing/window_impl/window_impl_base.h"

namespace ui {

namespace {

// Buttons and text boxes inside the caption band stay usable instead of dragging the window.
bool KeepsClientInCaption(Control* control) {
  return dynamic_cast<Button*>(control) || dynamic_cast<ButtonBox*>(control) ||
         dynamic_cast<RichEdit*>(control);
}

MONITORINFO MonitorInfoOf(HMONITOR monitor) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  return info;
}

// A limit of 0 is no limit; one that is only the shadow margin limits nothing either.
void ApplyTrackLimit(LONG limit, LONG margin, LONG& target) {
  if (limit != 0 && limit != margin) target = limit;
}

}  // namespace

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wparam, LPARAM, bool& handled) {
  if (IsIconic(GetHWND())) {
    handled = false;
    return 0;
  }
  // Answered here so that the system never paints a caption of its own.
  return wparam ? FALSE : TRUE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcLButtonDblClk(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnWindowPosChanging(UINT, WPARAM, LPARAM lparam, bool& handled) {
  handled = false;
  auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
  HWND hwnd = GetHWND();
  if (!IsZoomed(hwnd) || !(pos->flags & SWP_FRAMECHANGED)) return 0;
  HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY);
  if (monitor == MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)) return 0;
  // On a secondary monitor the system's maximised placement would not fill its work area.
  const RECT work = MonitorInfoOf(monitor).rcWork;
  pos->x = work.left;
  pos->y = work.top;
  pos->cx = work.right - work.left;
  pos->cy = work.bottom - work.top;
  return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lparam, bool&) {
  HWND hwnd = GetHWND();
  POINT point = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  ScreenToClient(hwnd, &point);
  WindowFrame frame;
  GetClientRect(hwnd, &frame.client);
  frame.shadow = ShadowMargin();
  frame.size_box = GetSizeBox();
  frame.caption = GetCaptionRect();
  frame.maximized = IsZoomed(hwnd) != FALSE;
  const LRESULT code = HitTestWindowFrame(frame, point);
  if (code != HTCAPTION) return code;
  Control* control = FindControlAt(point);
  return !control || KeepsClientInCaption(control) ? HTCLIENT : HTCAPTION;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lparam, bool& handled) {
  handled = false;
  auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
  const MONITORINFO monitor = MonitorInfoOf(MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTONEAREST));
  RECT work = monitor.rcWork;
  OffsetRect(&work, -monitor.rcMonitor.left, -monitor.rcMonitor.top);
  info->ptMaxPosition = POINT{work.left, work.top};
  info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
  const RECT margin = ShadowMargin();
  const LONG margin_x = margin.left + margin.right;
  const LONG margin_y = margin.top + margin.bottom;
  ApplyTrackLimit(GetMaxInfo().cx, margin_x, info->ptMaxTrackSize.x);
  ApplyTrackLimit(GetMaxInfo().cy, margin_y, info->ptMaxTrackSize.y);
  ApplyTrackLimit(GetMinInfo().cx, margin_x, info->ptMinTrackSize.x);
  ApplyTrackLimit(GetMinInfo().cy, margin_y, info->ptMinTrackSize.y);
  return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDpiChanged(UINT, WPARAM wparam, LPARAM, bool& handled) {
  handled = false;
  DisplayScale::Instance().SetScaleFromDpi(LOWORD(wparam));  // only with adaptation on
  if (ShadowBoxIsCurrent()) GetShadow().ChangeDpiScale();
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  HWND hwnd = GetHWND();
  const SIZE round = GetRoundCorner();
  if (IsIconic(hwnd) || (round.cx == 0 && round.cy == 0)) return 0;
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  HRGN region = CreateRoundRectRgn(0, 0, rect.right + 1, rect.bottom + 1, round.cx, round.cy);
  // The system owns the region from here on; a refused one is still ours to free.
  if (region && !SetWindowRgn(hwnd, region, TRUE)) DeleteObject(region);
  return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wparam, LPARAM lparam, bool&) {
  // The low four bits of the command are the system's own.
  if ((wparam & 0xFFF0) == SC_CLOSE) {
    SendMessageW(GetHWND(), WM_CLOSE, 0, 0);
    return 0;
  }
  bool routed = false;
  const LRESULT result = RouteMessage(message, wparam, lparam, routed);
  return routed ? result : CallChainedProc(message, wparam, lparam);
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

}  // namespace ui
