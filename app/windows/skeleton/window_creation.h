#pragma once

#include <windows.h>

#include <utility>

#include "duilib/window_wnd.h"

// Creating the window of an object that deletes itself with its window (CDuiFrameWindow) hands
// the object over half-way: once the system has begun the window, its end deletes the object,
// also when the creation then fails (a WM_CREATE that refuses, say); a creation that fails
// before leaves the object to its creator. CreateOrDelete tells the two apart, so that a failed
// creation neither leaks the object nor deletes it twice.
//
// Threads: the thread that creates the window, as for Create itself.
namespace ZuvraKestrum::Frame {

namespace detail {

struct Watch {
    const DuiLib::CWindowWnd* object;
    bool begun;
};

inline thread_local Watch* t_watch = nullptr;

inline LRESULT CALLBACK NoteBegin(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT refused = CallNextHookEx(nullptr, code, wParam, lParam);
    if (code == HCBT_CREATEWND && !refused && t_watch) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create->lpcs->lpCreateParams == t_watch->object) t_watch->begun = true;
    }
    return refused;
}

}  // namespace detail

// window->Create(args...) for an object made with new that deletes itself with its window.
// Returns the window; null when it was not created, and the object is gone then either way:
// deleted here unless its window's end already did. The caller never touches it after a null.
// (Should the watch itself fail to start, a failed object is left rather than risked twice.)
template <class Window, class... Args>
HWND CreateOrDelete(Window* window, Args&&... args) {
    detail::Watch watch{static_cast<const DuiLib::CWindowWnd*>(window), false};
    detail::Watch* const outer = std::exchange(detail::t_watch, &watch);
    HHOOK hook = SetWindowsHookExW(WH_CBT, &detail::NoteBegin, nullptr, GetCurrentThreadId());
    const HWND made = window->Create(std::forward<Args>(args)...);
    if (hook) UnhookWindowsHookEx(hook);
    detail::t_watch = outer;
    if (!made && hook && !watch.begun) delete window;
    return made;
}

}  // namespace ZuvraKestrum::Frame
