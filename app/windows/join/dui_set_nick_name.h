#pragma once

#include <string>

#include "app/windows/join/join_form.h"
#include "app/windows/join/join_host.h"
#include "app/windows/skeleton/dui_window.h"
#include "duilib/edit_ui.h"
#include "duilib/label_ui.h"
#include "kestrum/core/kestrum_dump.h"

// The nickname window, dialog 1 ("SettingNickName", over the join window, which it disables while
// open): asks for the display name when the user joins without one. Its confirm button stores
// the name, sends it to the account service with the course bridge as observer (the result
// reaches the join window), closes the window and posts WM_NICKNAME_UPDATED to the join window,
// which joins at once, before the service has confirmed the name.
//
// Skin "NickName-en.xml" / "NickName-zh.xml" by the language flag; the standard message rows. A
// skin without every control of the window is logged and leaves the window inert.
//
// Text: the name goes to the meeting data and to the service as UTF-8 straight from the edit's
// UTF-16, so that any script survives whatever the ANSI code page. The configuration file keeps
// it (as UTF-16) once the service has confirmed it, which the join window sees to.
//
// Threads: UI thread only. Ownership: created with new (by the dialog factory), deletes itself
// with its window.
class CDuiSetNickName : public CDuiWindow<CDuiSetNickName>, public CKestrumDump {
public:
    // The program's window: ProgramJoinHost().
    CDuiSetNickName();
    explicit CDuiSetNickName(IJoinHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UINickMainWnd"; }

    static CDuiMessageMap<CDuiSetNickName> MessageMap();
    static CDuiNotifyMap<CDuiSetNickName> NotifyMap();

private:
    void OnCreate();

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoMin(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoSure(DuiLib::TNotifyUI& notification);
    void DoNickEditChanged(DuiLib::TNotifyUI& notification);
    void DoNickEditSetFocus(DuiLib::TNotifyUI& notification);

    const ZuvraKestrum::Join::JoinTexts& texts() const;

    IJoinHost& host_;
    CKestrumData& meeting_;
    DuiLib::CControlUI* lastPage_ = nullptr;
    DuiLib::CEditUI* nickEdit_ = nullptr;
    DuiLib::CControlUI* sure_ = nullptr;
    DuiLib::CLabelUI* versionLab_ = nullptr;
    std::wstring nickname_;
};
