// Touch (WM_TOUCH) and Windows 8 pointer input (WM_POINTER*) of the window.
#include "ui/base/dpi/user32_entry_points.h"
#include "ui/controls/core/control.h"
#include "ui/windowing/window/touch_input.h"
#include "ui/windowing/window/window.h"

#include <memory>

namespace ui {

namespace {

constexpr DWORD kPointerTouch = 2;
constexpr DWORD kPointerPen = 3;
constexpr UINT kPrimaryPointerFlag = 0x2000;
constexpr float kPressureScale = 1.0f / 1024;

const TouchInput kUser32Input = {&User32::GetTouchInputInfo, &User32::CloseTouchInputHandle,
                                 &User32::GetPointerType, &User32::GetPointerTouchInfo,
                                 &User32::GetPointerPenInfo};
const TouchInput* g_input = &kUser32Input;

// Reads the pixel location and pressure of a touch or pen pointer; false for other kinds or
// when the system refuses.
bool ReadPointer(UINT32 id, POINT* location, float* pressure) {
  const TouchInput& input = TouchInput::Current();
  DWORD type = 0;
  if (!input.get_pointer_type(id, &type)) return false;
  if (type == kPointerTouch) {
    PointerTouchRecord record = {};
    if (!input.get_pointer_touch_info(id, &record)) return false;
    *location = record.info.pixel_location;
    *pressure = record.pressure * kPressureScale;
    return true;
  }
  if (type == kPointerPen) {
    PointerPenRecord record = {};
    if (!input.get_pointer_pen_info(id, &record)) return false;
    *location = record.info.pixel_location;
    *pressure = record.pressure * kPressureScale;
    return true;
  }
  return false;
}

}  // namespace

const TouchInput& TouchInput::Current() { return *g_input; }

void TouchInput::ReplaceForTesting(const TouchInput* input) {
  g_input = input ? input : &kUser32Input;
}

void Window::OnTouch(WPARAM wparam, LPARAM lparam) {
  const TouchInput& input = TouchInput::Current();
  auto handle = reinterpret_cast<HTOUCHINPUT>(lparam);
  const UINT count = LOWORD(wparam);
  if (count > 0) {
    std::unique_ptr<TOUCHINPUT[]> records(new TOUCHINPUT[count]());
    if (input.get_touch_input_info(handle, count, records.get()) && records[0].dwID != 0) {
      HandleTouch(records[0], lparam);
    }
  }
  input.close_touch_input_handle(handle);
}

void Window::HandleTouch(const TOUCHINPUT& touch, LPARAM lparam) {
  POINT point = {touch.x / 100, touch.y / 100};
  ScreenToClient(hwnd_, &point);
  if (touch.dwFlags & TOUCHEVENTF_DOWN) {
    if (pressed_ || pointer_) return;
    ::SetFocus(hwnd_);
    last_touch_ = point;
    Control* control = FindControlAt(point);
    if (!BelongsHere(control)) return;
    touch_ = control;
    control->SetFocus();
    if (touch_ != control) return;
    SetCapture(hwnd_);
    mouse_captured_ = true;
    control->SendEvent(kEventTouchDown, 0, lparam, 0, 0.0f, point.x, point.y);
  } else if (touch.dwFlags & TOUCHEVENTF_MOVE) {
    if (pressed_ || pointer_ || !touch_) return;
    if (point.x == last_touch_.x && point.y == last_touch_.y) return;
    last_touch_ = point;
    if (UpdateHover(point, 0, 0) && touch_) {
      touch_->SendEvent(kEventTouchMove, 0, 0, 0, 0.0f, point.x, point.y);
    }
  } else if (touch.dwFlags & TOUCHEVENTF_UP) {
    last_touch_ = point;
    ReleaseMouse();
    Control* touched = touch_;
    touch_ = nullptr;
    if (touched) touched->SendEvent(kEventTouchUp, 0, lparam, 0, 0.0f, point.x, point.y);
  }
}

LRESULT Window::OnPointer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  if (!(HIWORD(wparam) & kPrimaryPointerFlag)) {
    handled = true;
    return 0;
  }
  POINT point = {};
  float pressure = 0;
  if (!ReadPointer(LOWORD(wparam), &point, &pressure)) return 0;
  ScreenToClient(hwnd_, &point);
  if ((message == kWmPointerDown || message == kWmPointerUpdate) && (pressed_ || touch_)) {
    handled = true;
    return 0;
  }
  last_mouse_ = point;
  Control* served = nullptr;
  std::weak_ptr<kbase::WeakFlag> alive;
  if (message == kWmPointerDown) {
    ::SetFocus(hwnd_);
    Control* control = FindControlAt(point);
    if (BelongsHere(control)) {
      pointer_ = control;
      control->SetFocus();
      if (pointer_ == control) {
        SetCapture(hwnd_);
        mouse_captured_ = true;
        served = control;
        alive = served->AcquireWeakFlag();
        control->SendEvent(kEventPointDown, 0, lparam, 0, pressure, point.x, point.y);
      }
    }
  } else if (message == kWmPointerUpdate) {
    if (!pointer_ || !UpdateHover(point, 0, 0) || !pointer_) return 0;
    served = pointer_;
    alive = served->AcquireWeakFlag();
    served->SendEvent(kEventPointMove, 0, 0, 0, pressure, point.x, point.y);
  } else {
    ReleaseMouse();
    served = pointer_;
    pointer_ = nullptr;
    if (served) alive = served->AcquireWeakFlag();
    if (served) served->SendEvent(kEventPointUp, 0, lparam, 0, pressure, point.x, point.y);
  }
  // A served control may be gone after its event; only a live one can claim the message.
  handled = served && !alive.expired() && served->IsReceivePointer();
  return 0;
}

}  // namespace ui
