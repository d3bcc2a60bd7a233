#include "src/event_translation.h"

namespace DuiLib {
namespace event_translation {

namespace {

struct TypePair {
  ui::EventType framework;
  int layer;
};

// Events without a row here (touch, pointer, click, selection...) are the framework's own
// business and never reach DoEvent.
constexpr TypePair kTypes[] = {
    {ui::kEventKeyDown, UIEVENT_KEYDOWN},
    {ui::kEventKeyUp, UIEVENT_KEYUP},
    {ui::kEventChar, UIEVENT_CHAR},
    {ui::kEventSystemKey, UIEVENT_SYSKEY},
    {ui::kEventMouseMove, UIEVENT_MOUSEMOVE},
    {ui::kEventMouseLeave, UIEVENT_MOUSELEAVE},
    {ui::kEventMouseEnter, UIEVENT_MOUSEENTER},
    {ui::kEventMouseHover, UIEVENT_MOUSEHOVER},
    {ui::kEventMouseButtonDown, UIEVENT_BUTTONDOWN},
    {ui::kEventMouseButtonUp, UIEVENT_BUTTONUP},
    {ui::kEventMouseRightButtonDown, UIEVENT_RBUTTONDOWN},
    {ui::kEventMouseDoubleClick, UIEVENT_DBLCLICK},
    {ui::kEventMouseMenu, UIEVENT_CONTEXTMENU},
    {ui::kEventMouseScrollWheel, UIEVENT_SCROLLWHEEL},
    {ui::kEventKillFocus, UIEVENT_KILLFOCUS},
    {ui::kEventSetFocus, UIEVENT_SETFOCUS},
    {ui::kEventWindowSize, UIEVENT_WINDOWSIZE},
    {ui::kEventSetCursor, UIEVENT_SETCURSOR},
};

struct NotificationPair {
  ui::EventType framework;
  const wchar_t* text;
};

constexpr NotificationPair kNotifications[] = {
    {ui::kEventClick, L"click"},
    {ui::kEventSelect, L"selectchanged"},
    {ui::kEventUnSelect, L"selectchanged"},
    {ui::kEventTextChange, L"textchanged"},
    {ui::kEventReturn, L"return"},
    {ui::kEventSetFocus, L"setfocus"},
    {ui::kEventKillFocus, L"killfocus"},
    {ui::kEventMouseMenu, L"menu"},
};

constexpr int kWheelUp = 0;
constexpr int kWheelDown = 1;
constexpr int kWheelNotch = WHEEL_DELTA;

}  // namespace

int ToLayerType(ui::EventType type) {
  for (const TypePair& pair : kTypes) {
    if (pair.framework == type) return pair.layer;
  }
  return 0;
}

ui::EventType ToFrameworkType(int type) {
  for (const TypePair& pair : kTypes) {
    if (pair.layer == type) return pair.framework;
  }
  return ui::kEventNone;
}

bool ToLayerEvent(ui::EventArgs& args, TEventUI* event) {
  const int type = ToLayerType(args.type);
  if (type == 0) return false;
  event->Type = type;
  event->pSender = nullptr;
  event->dwTimestamp = args.timeStamp;
  event->ptMouse = args.ptMouse;
  event->chKey = args.chKey;
  event->wParam = args.wParam;
  event->lParam = args.lParam;
  event->pSource = &args;
  if (type == UIEVENT_SCROLLWHEEL) {
    // The framework carries the signed delta itself.
    const auto delta = static_cast<int>(static_cast<LONG_PTR>(args.wParam));
    event->wParam = MAKEWPARAM(delta > 0 ? kWheelUp : kWheelDown, static_cast<WORD>(delta));
  }
  return true;
}

bool ToFrameworkEvent(const TEventUI& event, ui::EventArgs* args) {
  const ui::EventType type = ToFrameworkType(event.Type);
  if (type == ui::kEventNone) return false;
  args->type = type;
  args->sender = nullptr;
  args->timeStamp = event.dwTimestamp;
  args->ptMouse = event.ptMouse;
  args->chKey = event.chKey;
  args->wParam = event.wParam;
  args->lParam = event.lParam;
  if (type == ui::kEventMouseScrollWheel) {
    int delta = static_cast<short>(HIWORD(event.wParam));
    if (delta == 0) delta = LOWORD(event.wParam) == kWheelUp ? kWheelNotch : -kWheelNotch;
    args->wParam = static_cast<WPARAM>(static_cast<LONG_PTR>(delta));
  }
  return true;
}

const wchar_t* DefaultNotification(int framework_event) {
  for (const NotificationPair& pair : kNotifications) {
    if (pair.framework == framework_event) return pair.text;
  }
  return nullptr;
}

}  // namespace event_translation
}  // namespace DuiLib
