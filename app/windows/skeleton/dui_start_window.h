#pragma once

#include "app/windows/skeleton/dui_window.h"
#include "kestrum/core/kestrum_dump.h"

// The program's first window while the join window is not there: the skin "Start-en.xml" /
// "Start-zh.xml" with a title and the frame buttons. Its close button closes the program as a
// system close does. In smoke mode the window closes the program as soon as its skin has been
// laid out, so that a test can start the program and see it come up and go down in order.
//
// Created with new on the UI thread; deletes itself when its window is destroyed.
class CDuiStartWindow : public CDuiWindow<CDuiStartWindow>, public CKestrumDump {
public:
    explicit CDuiStartWindow(bool smoke);

    const wchar_t* GetWindowClassName() const override { return L"UIStartMainWnd"; }

    static CDuiMessageMap<CDuiStartWindow> MessageMap();
    static CDuiNotifyMap<CDuiStartWindow> NotifyMap();

    // True once the skin was built and laid out ("windowinit" arrived).
    static bool Initialised() { return initialised_; }

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoMin(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);

    bool smoke_;
    static bool initialised_;
};
