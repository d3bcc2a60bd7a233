#pragma once

#include <windows.h>

// user32 functions that older systems lack, looked up by name on first use (once per process)
// and never imported, so the program still starts where they are missing. Each wrapper answers
// false (or 0) when its function is missing. Safe on any thread.
namespace ui {
namespace User32 {

// SetProcessDpiAwarenessInternal(awareness) returned S_OK (2 = per-monitor aware).
bool SetProcessDpiAwarenessInternal(int awareness);
// SetProcessDPIAware() returned non-zero.
bool SetProcessDpiAware();
// GetDpiForMonitorInternal(monitor, dpi_type, &x, &y); its own result, 0 when missing.
BOOL GetDpiForMonitorInternal(HMONITOR monitor, int dpi_type, UINT* dpi_x, UINT* dpi_y);
// RegisterTouchWindow(window, flags) returned non-zero.
bool RegisterTouchWindow(HWND window, ULONG flags);
// UnregisterTouchWindow(window) returned non-zero.
bool UnregisterTouchWindow(HWND window);

// CloseTouchInputHandle(input) returned non-zero.
bool CloseTouchInputHandle(HTOUCHINPUT input);

// The following answer true only when the function returned exactly 1.
bool GetTouchInputInfo(HTOUCHINPUT input, UINT count, TOUCHINPUT* inputs);
bool GetPointerType(UINT32 pointer_id, DWORD* type);
// touch_info and pen_info point at POINTER_TOUCH_INFO and POINTER_PEN_INFO records, which the
// Windows 7 headers this program builds with do not declare.
bool GetPointerTouchInfo(UINT32 pointer_id, void* touch_info);
bool GetPointerPenInfo(UINT32 pointer_id, void* pen_info);

}  // namespace User32
}  // namespace ui
