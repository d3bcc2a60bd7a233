#pragma once

#include <windows.h>

namespace ui {

// The touch and pointer functions of user32 the window reads its WM_TOUCH and WM_POINTER*
// messages with. They are missing on older systems (the wrappers then answer false), and tests
// replace them to feed contacts no test display can produce.
struct TouchInput {
  bool (*get_touch_input_info)(HTOUCHINPUT input, UINT count, TOUCHINPUT* inputs);
  bool (*close_touch_input_handle)(HTOUCHINPUT input);
  bool (*get_pointer_type)(UINT32 pointer_id, DWORD* type);
  // Fill a pointer record (see PointerRecord); false when the pointer cannot be read.
  bool (*get_pointer_touch_info)(UINT32 pointer_id, void* touch_info);
  bool (*get_pointer_pen_info)(UINT32 pointer_id, void* pen_info);

  // The functions in use (process-wide): the user32 ones unless replaced. Replace them only
  // while no window handles touch or pointer input.
  static const TouchInput& Current();
  // Replaces them (null restores the user32 ones); for tests.
  static void ReplaceForTesting(const TouchInput* input);
};

// Windows 8 pointer messages, which the Windows 7 headers lack.
constexpr UINT kWmPointerUpdate = 0x0245;
constexpr UINT kWmPointerDown = 0x0246;
constexpr UINT kWmPointerUp = 0x0247;
constexpr UINT kWmPointerLeave = 0x024A;
constexpr UINT kWmPointerCaptureChanged = 0x024C;

// The records GetPointerTouchInfo and GetPointerPenInfo fill, laid out as the system lays them
// out; the Windows 7 headers this program builds with do not declare them.
struct PointerInfoRecord {
  DWORD pointer_type;
  UINT32 pointer_id;
  UINT32 frame_id;
  UINT32 pointer_flags;
  HANDLE source_device;
  HWND hwnd_target;
  POINT pixel_location;
  POINT himetric_location;
  POINT pixel_location_raw;
  POINT himetric_location_raw;
  DWORD time;
  UINT32 history_count;
  INT32 input_data;
  DWORD key_states;
  UINT64 performance_count;
  int button_change_type;
};

struct PointerTouchRecord {
  PointerInfoRecord info;
  UINT32 touch_flags;
  UINT32 touch_mask;
  RECT contact;
  RECT contact_raw;
  UINT32 orientation;
  UINT32 pressure;
};

struct PointerPenRecord {
  PointerInfoRecord info;
  UINT32 pen_flags;
  UINT32 pen_mask;
  UINT32 pressure;
  UINT32 rotation;
  INT32 tilt_x;
  INT32 tilt_y;
};

}  // namespace ui
