#include "ui/base/dpi/user32_entry_points.h"

namespace ui {
namespace User32 {

namespace {

// The address of one user32 export, looked up on the first call; null from then on when the
// system lacks it. Function-local statics make the lookup safe on any thread.
template <typename Function>
class EntryPoint {
 public:
  explicit EntryPoint(const char* name)
      : function_(reinterpret_cast<Function>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)))) {}
  Function get() const { return function_; }

 private:
  Function function_;
};

using SetAwarenessFn = HRESULT(WINAPI*)(int);
using SetAwareFn = BOOL(WINAPI*)();
using MonitorDpiFn = BOOL(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using RegisterTouchFn = BOOL(WINAPI*)(HWND, ULONG);
using UnregisterTouchFn = BOOL(WINAPI*)(HWND);
using CloseTouchFn = BOOL(WINAPI*)(HTOUCHINPUT);
using TouchInputFn = BOOL(WINAPI*)(HTOUCHINPUT, UINT, TOUCHINPUT*, int);
using PointerTypeFn = BOOL(WINAPI*)(UINT32, DWORD*);
using PointerInfoFn = BOOL(WINAPI*)(UINT32, void*);

}  // namespace

bool SetProcessDpiAwarenessInternal(int awareness) {
  static const EntryPoint<SetAwarenessFn> entry("SetProcessDpiAwarenessInternal");
  return entry.get() && entry.get()(awareness) == S_OK;
}

bool SetProcessDpiAware() {
  static const EntryPoint<SetAwareFn> entry("SetProcessDPIAware");
  return entry.get() && entry.get()() != FALSE;
}

BOOL GetDpiForMonitorInternal(HMONITOR monitor, int dpi_type, UINT* dpi_x, UINT* dpi_y) {
  static const EntryPoint<MonitorDpiFn> entry("GetDpiForMonitorInternal");
  return entry.get() ? entry.get()(monitor, dpi_type, dpi_x, dpi_y) : FALSE;
}

bool RegisterTouchWindow(HWND window, ULONG flags) {
  static const EntryPoint<RegisterTouchFn> entry("RegisterTouchWindow");
  return entry.get() && entry.get()(window, flags) != FALSE;
}

bool UnregisterTouchWindow(HWND window) {
  static const EntryPoint<UnregisterTouchFn> entry("UnregisterTouchWindow");
  return entry.get() && entry.get()(window) != FALSE;
}

bool CloseTouchInputHandle(HTOUCHINPUT input) {
  static const EntryPoint<CloseTouchFn> entry("CloseTouchInputHandle");
  return entry.get() && entry.get()(input) != FALSE;
}

bool GetTouchInputInfo(HTOUCHINPUT input, UINT count, TOUCHINPUT* inputs) {
  static const EntryPoint<TouchInputFn> entry("GetTouchInputInfo");
  return entry.get() && entry.get()(input, count, inputs, sizeof(TOUCHINPUT)) == 1;
}

bool GetPointerType(UINT32 pointer_id, DWORD* type) {
  static const EntryPoint<PointerTypeFn> entry("GetPointerType");
  return entry.get() && entry.get()(pointer_id, type) == 1;
}

bool GetPointerTouchInfo(UINT32 pointer_id, void* touch_info) {
  static const EntryPoint<PointerInfoFn> entry("GetPointerTouchInfo");
  return entry.get() && entry.get()(pointer_id, touch_info) == 1;
}

bool GetPointerPenInfo(UINT32 pointer_id, void* pen_info) {
  static const EntryPoint<PointerInfoFn> entry("GetPointerPenInfo");
  return entry.get() && entry.get()(pointer_id, pen_info) == 1;
}

}  // namespace User32
}  // namespace ui
