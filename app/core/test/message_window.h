#pragma once

#include <windows.h>

#include "kestrum/testing/wait.h"

// A message-only window that receives posted messages for a test: nothing dispatches them, the
// test takes them from the queue. Lives on the thread that made it.
class MessageWindow {
public:
    MessageWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr)) {}
    ~MessageWindow() {
        if (window_) DestroyWindow(window_);
    }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return window_; }

    // The next posted message in [first, last] if one is queued; false when none is.
    bool take(MSG& message, UINT first, UINT last) const {
        return PeekMessageW(&message, window_, first, last, PM_REMOVE) != FALSE;
    }
    // The next posted message in [first, last], waiting for one; false when none came by the
    // tests' timeout.
    bool await(MSG& message, UINT first, UINT last) const {
        return kestrum::testing_support::WaitUntil([&] { return take(message, first, last); });
    }

private:
    HWND window_;
};
