#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/windows/notice/dui_message_box.h"

// Test helpers that read and work a notice box like a user: by what it shows and by mouse
// clicks on its controls. ShownBoxWatch acts from a timer of the test thread, so it works while
// the box's modal loop runs that thread.
namespace notice_testing {

// The bottom button named "closebtn" (the title bar's cross is the first control of that name).
inline DuiLib::CControlUI* BottomClose(CDuiMessageBox* box) {
    DuiLib::CPaintManagerUI& manager = box->paintManager();
    return manager.FindSubControlByName(manager.FindControl(L"buttons"), L"closebtn");
}

inline DuiLib::CControlUI* Find(CDuiMessageBox* box, const wchar_t* name) {
    return box->paintManager().FindControl(name);
}

inline bool LaidOut(DuiLib::CControlUI* control) {
    const RECT& pos = control->GetPos();
    return pos.right > pos.left && pos.bottom > pos.top;
}

// A left click at the centre of the control, as the mouse delivers it.
inline void Click(CDuiFrameWindow* window, DuiLib::CControlUI* control) {
    const RECT& pos = control->GetPos();
    const LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    ::SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, at);
    ::SendMessageW(window->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window->GetHWND(), WM_LBUTTONUP, 0, at);
}

// What the box shows.
struct NoticeSnapshot {
    bool seen = false;
    std::wstring title;
    std::wstring tips;
    std::wstring closeText;
    bool updateVisible = false;
    RECT window = {};
    bool topmost = false;
};

inline NoticeSnapshot Read(CDuiMessageBox* box) {
    NoticeSnapshot shown;
    shown.seen = true;
    shown.title = Find(box, L"TxtType")->GetText();
    shown.tips = Find(box, L"tipsTxt")->GetText();
    shown.closeText = BottomClose(box)->GetText();
    shown.updateVisible = Find(box, L"update")->IsVisible();
    GetWindowRect(box->GetHWND(), &shown.window);
    shown.topmost = (GetWindowLongW(box->GetHWND(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return shown;
}

// Watches for the box to be visible and laid out, then reads it and runs `then` on it once
// (clicks its close button, say). One watch at a time; the test thread must run messages (any
// loop will do, the box's modal loop too).
class ShownBoxWatch {
public:
    ShownBoxWatch(CDuiMessageBox* box, std::function<void(CDuiMessageBox*)> then)
        : box_(box), then_(std::move(then)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &ShownBoxWatch::OnTimer);
    }
    ~ShownBoxWatch() {
        if (timer_) KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ShownBoxWatch(const ShownBoxWatch&) = delete;
    ShownBoxWatch& operator=(const ShownBoxWatch&) = delete;

    const NoticeSnapshot& snapshot() const { return snapshot_; }

    // Clicks the bottom close button.
    static void CloseIt(CDuiMessageBox* box) { Click(box, BottomClose(box)); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        ShownBoxWatch* watch = current_;
        if (!watch || watch->snapshot_.seen) return;
        CDuiMessageBox* box = watch->box_;
        if (!IsWindowVisible(box->GetHWND()) || !LaidOut(Find(box, L"tipsTxt"))) return;
        KillTimer(nullptr, watch->timer_);
        watch->timer_ = 0;
        watch->snapshot_ = Read(box);
        if (watch->then_) watch->then_(box);
    }

    static inline ShownBoxWatch* current_ = nullptr;
    CDuiMessageBox* box_;
    std::function<void(CDuiMessageBox*)> then_;
    UINT_PTR timer_ = 0;
    NoticeSnapshot snapshot_;
};

}  // namespace notice_testing
