#pragma once

#include <windows.h>

#include <memory>

#include "app/windows/meeting/meeting_host.h"
#include "app/windows/skeleton/dui_window.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/records/user_info_record.h"

// The per-user menu of a video tile: show the participant in the big view (WM_EXCHANGE_BIG
// with a copy of the record to host.meetingWindow()), switch the participant's microphone or
// camera off, or remove the participant after a question over the meeting window (the menu
// hides first; no removal once the menu went, or was dismissed, meanwhile). The device and
// remove items are for the host only, never for a screen-share entry
// (ZuvraKestrum::Tiles::MenuStatesFor). The menu hides itself after every item and whenever it
// loses the focus; the strip dismisses it when its participant's tile goes.
//
// Skin "MenuVer-en.xml" / "MenuVer-zh.xml". Threads: the UI thread. Ownership: created with new
// by the tile strip, which shows it again for every right click and closes it at its end; the
// object deletes itself when its window is destroyed. The host outlives the menu.
class CDuiMenuVer : public CDuiWindow<CDuiMenuVer>, public CKestrumDump {
public:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 160;

    explicit CDuiMenuVer(IMeetingHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UIMenuWnd"; }

    static CDuiMessageMap<CDuiMenuVer> MessageMap();
    static CDuiNotifyMap<CDuiMenuVer> NotifyMap();

    // The participant the items act on from now on; the items follow the record's status and
    // the meeting data's host.
    void setUser(const UserInfoRecord& record);
    // The participant is gone (its tile closed, or it left): the menu hides and forgets it, and a
    // removal question still open about it removes nobody.
    void dismiss();

private:
    void OnCreate();
    void OnKillFocus();

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoExchangeBigBtn(DuiLib::TNotifyUI& notification);
    void DoTickOutBtn(DuiLib::TNotifyUI& notification);
    void DoCameraOpt(DuiLib::TNotifyUI& notification);
    void DoMicOpt(DuiLib::TNotifyUI& notification);

    // Sends the device request for the option's state before the click and hides the menu.
    void switchDeviceOff(DuiLib::TNotifyUI& notification, DuiLib::COptionUI* option,
                         void (IMeetingHost::*request)(bool, const std::vector<std::string>&));
    void hide();

    IMeetingHost& host_;
    CKestrumData& meeting_;
    // Expires with the object, and is renewed when the menu is dismissed: what ran a modal loop
    // learns whether the menu and its participant outlived it.
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
    DuiLib::CControlUI* exchangeBig_ = nullptr;
    DuiLib::CControlUI* tickout_ = nullptr;
    DuiLib::COptionUI* cameraOpt_ = nullptr;
    DuiLib::COptionUI* micOpt_ = nullptr;
    DuiLib::CControlUI* menuList_ = nullptr;
    UserInfoRecord user_;
};
