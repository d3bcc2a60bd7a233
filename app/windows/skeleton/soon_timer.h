#pragma once

#include <windows.h>

// A step that runs once the input and paint messages its thread has waiting are handled (a
// zero-delay timer comes after them): a burst of requests within one pass asks for one step.
//
//     void CStrip::placeSoon() { if (!soon_.ask(GetHWND())) place(); }
//     void CStrip::OnPlaceTimer() { soon_.fired(GetHWND()); place(); }
//
// Threads: the window's thread only.
class CSoonTimer {
public:
    explicit CSoonTimer(UINT_PTR id) : id_(id) {}

    // True when the step will come from the timer (asked now or before); false when no timer
    // could be set, and the caller runs the step itself.
    bool ask(HWND window) {
        if (!pending_) pending_ = SetTimer(window, id_, USER_TIMER_MINIMUM, nullptr) != 0;
        return pending_;
    }
    // From the timer's row, before the step: a later ask sets the timer again.
    void fired(HWND window) {
        KillTimer(window, id_);
        pending_ = false;
    }
    bool pending() const { return pending_; }

private:
    UINT_PTR id_;
    bool pending_ = false;
};
