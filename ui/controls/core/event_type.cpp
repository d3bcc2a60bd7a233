#include "ui/controls/core/event_type.h"

#include <iterator>

namespace ui {

namespace {

struct EventName {
  const wchar_t* name;
  EventType type;
};

// Searched in this order; the first exact match wins.
constexpr EventName kEventNames[] = {
    {L"all", kEventAll},
    {L"keydown", kEventKeyDown},
    {L"keyup", kEventKeyUp},
    {L"char", kEventChar},
    {L"syskey", kEventSystemKey},
    {L"setfocus", kEventSetFocus},
    {L"killfocus", kEventKillFocus},
    {L"setcursor", kEventSetCursor},
    {L"mousemove", kEventMouseMove},
    {L"mouseenter", kEventMouseEnter},
    {L"mouseleave", kEventMouseLeave},
    {L"mousehover", kEventMouseHover},
    {L"buttondown", kEventMouseButtonDown},
    {L"buttonup", kEventMouseButtonUp},
    {L"rbuttondown", kEventMouseRightButtonDown},
    {L"doubleclick", kEventMouseDoubleClick},
    {L"select", kEventSelect},
    {L"unselect", kEventUnSelect},
    {L"menu", kEventMouseMenu},
    {L"scrollwheel", kEventMouseScrollWheel},
    {L"scrollchange", kEventScrollChange},
    {L"valuechange", kEventValueChange},
    {L"return", kEventReturn},
    {L"tab", kEventTab},
    {L"windowclose", kEventWindowClose},
};

}  // namespace

EventType EventTypeFromString(const std::wstring& name) {
  for (const EventName& entry : kEventNames) {
    if (name == entry.name) return entry.type;
  }
  return kEventNone;
}

}  // namespace ui
