#pragma once

#include <windows.h>

namespace ui {
struct EventArgs;
}

namespace DuiLib {

class CControlUI;

// The event numbers of this window layer. Mouse events lie strictly between
// UIEVENT__MOUSEBEGIN and UIEVENT__MOUSEEND; key events between the key markers.
enum UiEventType {
  UIEVENT__FIRST = 1,
  UIEVENT__KEYBEGIN = 2,
  UIEVENT_KEYDOWN = 3,
  UIEVENT_KEYUP = 4,
  UIEVENT_CHAR = 5,
  UIEVENT_SYSKEY = 6,
  UIEVENT__KEYEND = 7,
  UIEVENT__MOUSEBEGIN = 8,
  UIEVENT_MOUSEMOVE = 9,
  UIEVENT_MOUSELEAVE = 10,
  UIEVENT_MOUSEENTER = 11,
  UIEVENT_MOUSEHOVER = 12,
  UIEVENT_BUTTONDOWN = 13,
  UIEVENT_BUTTONUP = 14,
  UIEVENT_RBUTTONDOWN = 15,
  UIEVENT_DBLCLICK = 16,
  UIEVENT_CONTEXTMENU = 17,
  UIEVENT_SCROLLWHEEL = 18,  // wParam: LOWORD 0 up, 1 down; HIWORD the signed wheel delta
  UIEVENT__MOUSEEND = 19,
  UIEVENT_KILLFOCUS = 20,
  UIEVENT_SETFOCUS = 21,
  UIEVENT_WINDOWSIZE = 22,
  UIEVENT_SETCURSOR = 23,
  UIEVENT_TIMER = 24,  // wParam: the control timer's id
  UIEVENT__LAST = 25,
};

// One event as a control's DoEvent sees it. A plain value; the sender is not owned.
struct TEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};  // client coordinates of the window
  wchar_t chKey = 0;
  WORD wKeyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  // The framework event this one was made from; null for events the program made itself.
  // Default handling hands the original on while Type still matches it.
  ui::EventArgs* pSource = nullptr;
};

}  // namespace DuiLib
