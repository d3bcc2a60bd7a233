#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/windows/settings/observer_relay.h"
#include "app/windows/settings/room_change.h"
#include "app/windows/settings/room_settings_rules.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/dui_window.h"
#include "duilib/edit_ui.h"
#include "duilib/option_ui.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_dump.h"

// What the two room settings windows (CDuiSetRoom of a participant, CDuiSetOwnRoom of the host)
// are alike in: the controls both skins have and the steps on them, the relay's reports (a
// confirmation stores the sent values in the meeting data, a refusal shows the error box and
// puts the stored values back), the tab to the audio/video settings and the log upload. A window
// derives from CDuiWindow<Window, CRoomSettingsPage>, builds its tables on RoomMessageMap and
// RoomNotifyMap, and shows the room its own way (updateRoomInfo).
//
// Texts: the meeting data keeps room name, password and nicknames in UTF-8; they go to the
// controls and back without the ANSI code page.
//
// Threads: the UI thread. Reads the host's meeting data; the host list only under its lock.
// Ownership: like every window, created with new (the dialog table's factory) and deleted when its
// window is destroyed.
class CRoomSettingsPage : public CDuiFrameWindow,
                          public ISettingsTabs,
                          public IRoomSettingsView,
                          public CKestrumDump {
public:
    void setTabsEnabled(bool enabled) override;

protected:
    // logName: the window's logging name; dialog: its id in the dialog table; skinStem: its skin
    // (SkinFile); relay: the window class's relay (SharedRelay<Window>), which outlives it.
    CRoomSettingsPage(const char* logName, ISettingsHost& host, unsigned dialog,
                      const wchar_t* skinStem, CObserverRelay& relay);

    // The message table of both windows: the usual rows with the page's creation and
    // destruction, keys going on to the paint manager (the password edit needs Return, Backspace
    // and the arrows), the upload wait timer, the relay's reports, and the course bridge's
    // confirmation of the speaker change (WM_UPDATE_ROOM) to the window's own onRoomUpdated.
    template <class Window>
    static CDuiMessageMap<Window> RoomMessageMap(void (Window::*onRoomUpdated)()) {
        auto table =
            CDuiWindow<Window, CRoomSettingsPage>::StandardMessageMap(&CRoomSettingsPage::OnCreate);
        table.remove(WM_KEYDOWN)
            .template on<WM_TIMER>(&CDuiFrameWindow::OnUploadWaitTimer, RowMode::kPassOn)
            .template on<WM_UPDATE_ROOM>(onRoomUpdated)
            .template on<WM_SETTINGS_OBSERVER_EVENT>(&CRoomSettingsPage::OnObserverEvent);
        return table;
    }
    // The notify rows of both windows: "windowinit", the close button, the two tabs, the
    // password's length rule and the log upload. The window adds its own.
    template <class Window>
    static CDuiNotifyMap<Window> RoomNotifyMap() {
        CDuiNotifyMap<Window> table;
        table.add(L"windowinit", L"MainFrame", &CRoomSettingsPage::DoInitWnd)
            .add(L"click", L"closebtn", &CRoomSettingsPage::DoClose)
            .add(L"click", L"tabRoomOpt", &CRoomSettingsPage::DoOptTabRoom)
            .add(L"click", L"tabAVOpt", &CRoomSettingsPage::DoOptTabAV)
            .add(L"textchanged", L"pwdEdit", &CRoomSettingsPage::DoPwdEditChanged)
            .add(L"click", L"uploadLogbtn", &CRoomSettingsPage::DoUploadLog);
        return table;
    }

    // Binds the controls the window's own skin adds (BindControls), once the shared ones are
    // bound; false when one its handlers need is missing, which leaves the window inert.
    virtual bool bindOwnControls() { return true; }

    // Shows the room name and puts the meeting data's password into the edit, unless the user
    // is typing one there that has not been sent and the edit stays editable; returns the
    // meeting data's password (UTF-8).
    std::string showRoomAndPassword(bool editable);
    // The speaker line: the host's nickname, else the room's host-name text.
    void showSpeaker(const std::string& hostUid);
    void showSpeakerText(const wchar_t* text);
    // The options of the room's stored status, with their selection notifications; returns the
    // status.
    int showStoredStatus();
    ZuvraKestrum::Settings::RoomOptions shownOptions() const;
    void enableOptions(bool enabled);
    std::wstring passwordText() const { return std::wstring(pwdEdit_->GetText()); }
    // The edit's password (UTF-8) to send: what the user typed is no longer pending.
    std::string takeTypedPassword();

    // updateRoom of the meeting data's room and hosts with these values (password UTF-8),
    // reporting to the relay; they are the last sent values (roomStatus_, roomPassword_) from
    // now on.
    void sendUpdate(int status, const std::string& password);
    // The speaker request's answer may come after the meeting has ended, queued as this window
    // closed with it: the window takes it only while the meeting's window is open.
    bool inMeeting();

    ISettingsHost& host_;
    CKestrumData& meeting_;
    const unsigned dialog_;
    DuiLib::CEditUI* pwdEdit_ = nullptr;
    DuiLib::COptionUI* tabRoomOpt_ = nullptr;
    DuiLib::COptionUI* tabAVOpt_ = nullptr;
    int roomStatus_ = 0;        // what the window shows or last sent, see each window
    std::string roomPassword_;  // last shown or sent, UTF-8

private:
    void OnCreate();
    void OnObserverEvent(std::unique_ptr<ObserverEventPayload> event);
    // The service's answer to the update: a confirmation stores the last sent values.
    void onUpdateRoom(bool success);
    // A failed request: the Error box with the service's message and code (known codes show
    // their built-in text); after a refused room update the stored room is shown again.
    void onCallBackError(const std::string& api, const std::string& message, int code);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoOptTabRoom(DuiLib::TNotifyUI& notification);
    // Opens the audio/video settings (dialog 2) with this tab's state and closes this window.
    void DoOptTabAV(DuiLib::TNotifyUI& notification);
    // A typed password longer than joining accepts is cut, with one Error box. The stored
    // password the window shows is left as it is: the rule is for what the user types.
    void DoPwdEditChanged(DuiLib::TNotifyUI& notification);
    void DoUploadLog(DuiLib::TNotifyUI& notification);

    const wchar_t* const skinStem_;
    CObserverRelay& relay_;
    DuiLib::COptionUI* enableVideoOp_ = nullptr;
    DuiLib::COptionUI* enableAudioOp_ = nullptr;
    DuiLib::CControlUI* roomNameTxt_ = nullptr;  // optional
    DuiLib::CControlUI* speakerNameTxt_ = nullptr;
    // Set while the window itself writes the password edit.
    bool showingPassword_ = false;
    // The user has typed in the password edit since it last showed the room's or was sent.
    bool passwordTyped_ = false;
};
