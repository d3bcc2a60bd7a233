#pragma once

#include <string>

namespace ui {

// What an event is about. The values are stable: markup names map onto them and the window's
// message routing raises them. Values 0 to 3 are internal and bypass every handler.
enum EventType {
  kEventInternalDoubleClick = 0,
  kEventInternalMenu = 1,
  kEventInternalSetFocus = 2,
  kEventInternalKillFocus = 3,
  kEventNone = 4,  // unknown markup name; also the image-play-end event
  kEventAll = 6,   // as a handler key: every type
  kEventKeyDown = 8,
  kEventKeyUp = 9,
  kEventChar = 10,
  kEventSystemKey = 11,
  kEventMouseMove = 14,
  kEventMouseEnter = 15,
  kEventMouseLeave = 16,
  kEventMouseHover = 17,
  kEventMouseButtonDown = 18,
  kEventMouseButtonUp = 19,
  kEventMouseRightButtonDown = 20,
  kEventMouseRightButtonUp = 21,
  kEventMouseDoubleClick = 22,
  kEventMouseMenu = 23,
  kEventMouseScrollWheel = 24,
  kEventTouchDown = 27,
  kEventTouchMove = 28,
  kEventTouchUp = 29,
  kEventPointDown = 32,
  kEventPointMove = 33,
  kEventPointUp = 34,
  kEventSetFocus = 36,
  kEventKillFocus = 37,
  kEventWindowSize = 38,
  kEventWindowClose = 39,
  kEventSetCursor = 40,
  kEventClick = 41,
  kEventSelect = 42,
  kEventUnSelect = 43,
  kEventTextChange = 44,
  kEventReturn = 45,
  kEventTab = 46,
  kEventCustomLinkClick = 47,
  kEventImeStartComposition = 48,
  kEventImeEndComposition = 49,
  kEventScrollChange = 50,
  kEventValueChange = 51,
  kEventResize = 52,  // the control's position changed
};

// The first and last mouse events: a control with mouse input disabled passes these up.
constexpr EventType kEventMouseBegin = kEventMouseMove;
constexpr EventType kEventMouseEnd = kEventMouseScrollWheel;

inline bool IsMouseEvent(EventType type) {
  return type >= kEventMouseBegin && type <= kEventMouseEnd;
}

// The type for a markup "Event"/"BubbledEvent" type name, compared exactly; kEventNone for an
// unknown name. Click (41) has no markup name.
EventType EventTypeFromString(const std::wstring& name);

}  // namespace ui
