#include "ui/base/dpi/display_scale.h"

#include "ui/base/dpi/user32_entry_points.h"
#include "ui/base/dpi/windows_version.h"

namespace ui {

namespace {
constexpr int kPerMonitorAware = 2;
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
}  // namespace

DisplayScale& DisplayScale::Instance() {
  static DisplayScale instance;
  return instance;
}

int DisplayScale::ScaleValue(int& value) const {
  if (Scales()) value = MulDiv(value, scale_, 100);
  return value;
}

void DisplayScale::ScaleRectangle(RECT& rect) const {
  if (!Scales()) return;
  const int width = MulDiv(rect.right - rect.left, scale_, 100);
  const int height = MulDiv(rect.bottom - rect.top, scale_, 100);
  rect.left = MulDiv(rect.left, scale_, 100);
  rect.top = MulDiv(rect.top, scale_, 100);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
}

int DisplayScale::MonitorDpi(HMONITOR monitor) {
  if (IsWindows8OrLater()) {
    UINT dpi_x = 0;
    UINT dpi_y = 0;
    if (!User32::GetDpiForMonitorInternal(monitor, kEffectiveDpi, &dpi_x, &dpi_y)) {
      return kDefaultDpi;
    }
    return static_cast<int>(dpi_x);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

void DisplayScale::SetScaleFromDpi(int dpi) {
  if (adapt_) scale_ = MulDiv(dpi, 100, kDefaultDpi);
}

void DisplayScale::EnableAdaptation() {
  if (!adapt_) {
    // Before Vista the system never scales a window behind its back, so no opt-in is needed.
    adapt_ = !IsWindowsVistaOrLater() || User32::SetProcessDpiAwarenessInternal(kPerMonitorAware) ||
             User32::SetProcessDpiAware();
  }
  const POINT top_left = {1, 1};
  const int dpi = MonitorDpi(MonitorFromPoint(top_left, MONITOR_DEFAULTTONEAREST));
  SetScaleFromDpi(dpi);
}

void DisplayScale::OverrideForTesting(int scale, bool adapt) {
  scale_ = scale;
  adapt_ = adapt;
}

}  // namespace ui
