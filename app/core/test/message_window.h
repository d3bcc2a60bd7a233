#pragma once

#include <windows.h>

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

    // The next posted message in [first, last], waiting up to timeoutMs; false when none came.
    bool take(MSG& message, UINT first, UINT last, DWORD timeoutMs = 0) const {
        const DWORD start = GetTickCount();
        for (;;) {
            if (PeekMessageW(&message, window_, first, last, PM_REMOVE)) return true;
            if (GetTickCount() - start >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
        }
    }

private:
    HWND window_;
};
