// Showing, centring, fading and closing a window, and its last hook after destruction.
#include "ui/base/dpi/user32_entry_points.h"
#include "ui/base/dpi/windows_version.h"
#include "ui/base/timer/timer_manager.h"
#include "ui/controls/animation/animation_player.h"
#include "ui/controls/core/control.h"
#include "ui/windowing/window/window.h"

namespace ui {

void Window::Close(UINT code) {
  // The fade's timer runs on the caller's timer manager.
  KESTRUM_CHECK_THREAD(thread_);
  if (!IsWindow(hwnd_)) return;
  if (root_ && IsWindowsVistaOrLater()) {
    root_->SetFadeVisible(false);
    HWND hwnd = hwnd_;
    TimerManager::Instance().Schedule(
        weak_flag_.AcquireWeakFlag(), [hwnd, code]() { PostMessageW(hwnd, WM_CLOSE, code, 0); },
        kCloseDelayMs, 1);
    return;
  }
  PostMessageW(hwnd_, WM_CLOSE, code, 0);
}

void Window::Show(bool show, bool take_focus) {
  if (!IsWindow(hwnd_)) return;
  if (!show) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  ShowWindow(hwnd_, take_focus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
}

void Window::CenterWindow() {
  RECT window_rect = {};
  GetWindowRect(hwnd_, &window_rect);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT reference = work;
  if (owner && !IsIconic(owner)) GetWindowRect(owner, &reference);

  const int width = window_rect.right - window_rect.left;
  const int height = window_rect.bottom - window_rect.top;
  int x = (reference.left + reference.right) / 2 - width / 2;
  int y = (reference.top + reference.bottom) / 2 - height / 2;
  if (x < work.left) {
    x = work.left;
  } else if (x + width > work.right) {
    x = work.right - width;
  }
  if (y < work.top) {
    y = work.top;
  } else if (y + height > work.bottom) {
    y = work.bottom - height;
  }
  SetWindowPos(hwnd_, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::InvalidateContent(const RECT& rect) {
  if (!hwnd_) return;
  // A control not placed yet (a tree being built) has nothing on the screen to draw again, and
  // each call would cost a trip to the window server. A layered window still gets its paint,
  // which also runs the layout such a change may ask for.
  if ((rect.left == rect.right || rect.top == rect.bottom) && !layered_) return;
  UnionRect(&changed_, &changed_, &rect);
  InvalidateRect(hwnd_, &rect, FALSE);
  // A layered window paints only when asked: it has no system-driven WM_PAINT.
  if (layered_) PostMessageW(hwnd_, WM_PAINT, 0, 0);
}

void Window::SetWindowAlpha(int alpha) {
  window_alpha_ = alpha;
  // Only a layered window shows its alpha: an ordinary one would repaint at every step of its
  // fade for nothing on screen.
  if (!root_ || !layered_) return;
  const RECT rect = root_->GetPos(true);
  InvalidateRect(hwnd_, &rect, FALSE);
  // Invalidation alone does not paint a layered window.
  PostMessageW(hwnd_, WM_PAINT, 0, 0);
}

void Window::FadeIn() {
  if (!root_ || !IsWindowsVistaOrLater()) return;
  AnimationPlayer* player = root_->GetAnimationManager().SetFadeAlpha(true);
  if (!player) return;
  SetWindowAlpha(0);
  player->SetValueCallback(weak_flag_.ToWeakCallback([this](int value) { SetWindowAlpha(value); }));
  root_->SetFadeVisible(true);
}

void Window::OnDestroyed(HWND hwnd) {
  User32::UnregisterTouchWindow(hwnd);
  EventArgs args;
  args.type = kEventWindowClose;
  args.timeStamp = GetTickCount();
  args.ptMouse = last_mouse_;
  for (EventType type : {kEventWindowClose, kEventAll}) {
    auto it = window_events_.find(type);
    if (it != window_events_.end()) it->second.Invoke(&args);
  }
}

}  // namespace ui
