#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/windows/skeleton/window_creation.h"

// What the in-meeting window's files (dui_live.cpp, dui_live_signalling.cpp, dui_live_media.cpp)
// share of their window helpers. The window's thread only.
namespace ZuvraKestrum::Live {

// The panels' windows: visible children that clip, with a frame the skins paint over.
inline constexpr DWORD kPanelStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;

inline void MoveTo(HWND window, const RECT& place) {
    if (window) {
        MoveWindow(window, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, TRUE);
    }
}

template <class Window>
HWND HandleOf(Window* window) {
    return window ? window->GetHWND() : nullptr;
}

// Creates window as a child panel of parent; null when it has no window, and the object is
// gone then, deleted once whether or not its creation had begun.
template <class Window>
Window* CreatePanel(Window* window, HWND parent, const wchar_t* name, int width, int height) {
    return ZuvraKestrum::Frame::CreateOrDelete(window, parent, name, kPanelStyle, 0, 0, 0, width,
                                               height)
               ? window
               : nullptr;
}

// The user list of a room-control request about one user.
inline std::vector<std::string> Only(const std::string& uid) { return {uid}; }

}  // namespace ZuvraKestrum::Live
