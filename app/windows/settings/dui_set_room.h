#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/windows/settings/observer_relay.h"
#include "app/windows/settings/room_settings_rules.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/dui_window.h"
#include "duilib/button_ui.h"
#include "duilib/edit_ui.h"
#include "duilib/option_ui.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_dump.h"

// What the two room settings windows (CDuiSetRoom here, CDuiSetOwnRoom of the host) share: the
// controls both skins have and the steps on them. Each window owns one.
//
// Texts: the meeting data keeps room name, password and nicknames in UTF-8; they go to the
// controls and back without the ANSI code page.
//
// Threads: the window's thread. Reads the meeting data (g_kestrumData) when it exists; the host
// list only under its lock.
class CRoomSettingsPage {
public:
    CRoomSettingsPage(ISettingsHost& host, unsigned dialog) : host_(host), dialog_(dialog) {}

    // Looks the controls up; false when one the handlers need is missing ("roomNameTxt" may be).
    bool find(DuiLib::CPaintManagerUI& manager);
    // Whether find found them all; the other members need that.
    bool ready() const { return ready_; }

    // The window's start: its own tab unusable, the window above all others.
    void init(HWND window);
    void setTabsEnabled(bool enabled);

    // The meeting data's hosts, copied under its lock; empty without meeting data.
    static std::vector<std::string> hosts();
    // Shows the room name and puts the meeting data's password into the edit; returns that
    // password (UTF-8).
    std::string showRoomAndPassword();
    // The speaker line: the host's nickname, else the room's host-name text.
    void showSpeaker(const std::string& hostUid);
    void showSpeakerText(const wchar_t* text);
    // The options of the room's stored status, with their selection notifications; returns the
    // status.
    int showStoredStatus();
    ZuvraKestrum::Settings::RoomOptions shown() const;
    void enableOptions(bool enabled);
    std::wstring passwordText() const { return std::wstring(pwdEdit->GetText()); }

    // updateRoom of the meeting data's room with these values (password UTF-8); observer is the
    // window class's relay.
    void sendUpdate(CObserverRelay& observer, const std::vector<std::string>& hosts, int status,
                    const std::string& password);
    // The service confirmed an update: the meeting data takes the values sent.
    static void storeConfirmed(int status, const std::string& password);

    // A failed request: the Error box over window with the service's message and code (known
    // codes show their built-in text). True when the window should show the stored room again:
    // a refused room update, with the window still there after the box.
    bool showError(HWND window, const std::string& api, const std::string& message, int code);
    // The window goes: no more reports reach it and those queued for it are freed.
    static void detach(HWND window, CObserverRelay& relay);

    // The audio/video tab: opens dialog 2, hands it the state of this page's tab to it and
    // closes this page's dialog.
    void switchToAudioVideo();
    // Starts the log uploader for window; false when it did not start.
    static bool uploadLogs(HWND window);

    DuiLib::CEditUI* pwdEdit = nullptr;
    DuiLib::COptionUI* tabRoomOpt = nullptr;
    DuiLib::COptionUI* tabAVOpt = nullptr;
    DuiLib::COptionUI* enableVideoOp = nullptr;
    DuiLib::COptionUI* enableAudioOp = nullptr;

private:
    ISettingsHost& host_;
    const unsigned dialog_;
    DuiLib::CControlUI* roomNameTxt_ = nullptr;  // optional
    DuiLib::CControlUI* speakerNameTxt_ = nullptr;
    bool ready_ = false;
};

// The message table of both room settings windows: the usual rows with the window's own
// creation and destruction, keys going on to the paint manager (the password edit needs Return,
// Backspace and the arrows), the upload wait timer, the course bridge's confirmation of the
// speaker change (WM_UPDATE_ROOM) and the relay's reports.
template <class Window>
CDuiMessageMap<Window> RoomSettingsMessageMap(
    typename CDuiMessageMap<Window>::Handler onCreate,
    typename CDuiMessageMap<Window>::Handler onDestroy,
    typename CDuiMessageMap<Window>::Handler onRoomUpdated,
    typename CDuiMessageMap<Window>::Handler onEvent) {
    auto table = CDuiWindow<Window>::StandardMessageMap(onCreate);
    table.remove(WM_KEYDOWN)
        .replace(WM_DESTROY, onDestroy)
        .add(WM_TIMER, &CDuiFrameWindow::OnUploadWaitTimer)
        .add(WM_UPDATE_ROOM, onRoomUpdated)
        .add(WM_SETTINGS_OBSERVER_EVENT, onEvent);
    return table;
}

// The room settings window of a participant, dialog 3 of the dialog table: the room name and
// the speaker; while the room has no host the password (sent on Return) and whether microphone
// and camera are on for those who enter (sent on each click), and the application for the
// speaker role; with a host those are locked and the application hidden. A successful
// application (WM_UPDATE_ROOM from the course bridge) replaces this window by the host's
// (dialog 4). Also the tab to the audio/video settings and the log upload.
//
// Skin "Setting-Room-en.xml" / "Setting-Room-zh.xml". The room update reports to the class's
// relay (SharedRelay<CDuiSetRoom>): a confirmation stores the sent values in the meeting data, a
// refusal shows the error box and puts the stored values back.
//
// Threads: the UI thread. Ownership: created with new (the dialog table's factory), deletes
// itself when its window is destroyed.
class CDuiSetRoom : public CDuiWindow<CDuiSetRoom>,
                    public ISettingsTabs,
                    public IRoomSettingsView,
                    public CKestrumDump {
public:
    // Where the synthetic click after Return in the password edit lands (client point): it takes
    // the focus away from the edit.
    static constexpr int kFocusClickX = 50;
    static constexpr int kFocusClickY = 5;

    // The program's window (ProgramSettingsHost).
    CDuiSetRoom();
    explicit CDuiSetRoom(ISettingsHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UISetRoomMainWnd"; }

    static CDuiMessageMap<CDuiSetRoom> MessageMap();
    static CDuiNotifyMap<CDuiSetRoom> NotifyMap();

    void setTabsEnabled(bool enabled) override;
    // Shows the meeting data's room: name, password, speaker, options and which of them are
    // free. Called at init, after a refused update and by the in-meeting window on new room
    // information.
    void updateRoomInfo() override;

    // The class's observer for the service library.
    static CObserverRelay& Relay() { return SharedRelay<CDuiSetRoom>(); }

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnRoomUpdated(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnObserverEvent(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void onUpdateRoom(bool success);
    void onCallBackError(const std::string& api, const std::string& message, int code);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoMin(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoLastPage(DuiLib::TNotifyUI& notification);
    void DoOptTabRoom(DuiLib::TNotifyUI& notification);
    void DoOptTabAV(DuiLib::TNotifyUI& notification);
    void DoPwdEditSetFocus(DuiLib::TNotifyUI& notification);
    void DoPwdEditReturn(DuiLib::TNotifyUI& notification);
    void DoPwdEditChanged(DuiLib::TNotifyUI& notification);
    void DoOptEnableAudio(DuiLib::TNotifyUI& notification);
    void DoOptEnableVideo(DuiLib::TNotifyUI& notification);
    void DoApplySpeaker(DuiLib::TNotifyUI& notification);
    void DoUploadLog(DuiLib::TNotifyUI& notification);

    void sendOptionClick(ZuvraKestrum::Settings::RoomOption clicked);

    ISettingsHost& host_;
    CRoomSettingsPage page_;
    DuiLib::CButtonUI* appSpeakerBtn_ = nullptr;
    int roomStatus_ = 0;         // shown, or last sent
    std::wstring roomPassword_;  // last shown or sent
};
