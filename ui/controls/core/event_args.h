#pragma once

#include <windows.h>

#include "ui/controls/core/event_type.h"

namespace ui {

class Control;

// The record every event handler receives. The sender stays the control the event began at
// while the event bubbles to its ancestors. A plain value; the sender is not owned.
struct EventArgs {
  EventType type = kEventNone;
  Control* sender = nullptr;
  DWORD timeStamp = 0;     // GetTickCount when the event was made
  POINT ptMouse = {0, 0};  // window client coordinates
  wchar_t chKey = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  float pressure = 0.0f;
};

}  // namespace ui
