#pragma once

#include <windows.h>

#include "app/windows/settings/room_settings_page.h"
#include "duilib/button_ui.h"

// The room settings window of a participant, dialog 3 of the dialog table: the room name and
// the speaker; while the room has no host the password (sent on Return) and whether microphone
// and camera are on for those who enter (sent on each click), and the application for the
// speaker role; with a host those are locked and the application hidden. A successful
// application (WM_UPDATE_ROOM from the course bridge) replaces this window by the host's
// (dialog 4). Also the tab to the audio/video settings and the log upload (CRoomSettingsPage).
//
// Skin "Setting-Room-en.xml" / "Setting-Room-zh.xml". The room update reports to the class's
// relay (SharedRelay<CDuiSetRoom>).
//
// Threads: the UI thread. Ownership: created with new (the dialog table's factory), deletes
// itself when its window is destroyed.
class CDuiSetRoom : public CDuiWindow<CDuiSetRoom, CRoomSettingsPage> {
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

    // Shows the meeting data's room: name, password, speaker, options and which of them are
    // free. Called at init, after a refused update and by the in-meeting window on new room
    // information.
    void updateRoomInfo() override;

    // The class's observer for the service library.
    static CObserverRelay& Relay() { return SharedRelay<CDuiSetRoom>(); }

private:
    bool bindOwnControls() override;
    void OnRoomUpdated();

    void DoMin(DuiLib::TNotifyUI& notification);
    void DoLastPage(DuiLib::TNotifyUI& notification);
    void DoPwdEditSetFocus(DuiLib::TNotifyUI& notification);
    void DoPwdEditReturn(DuiLib::TNotifyUI& notification);
    void DoOptEnableAudio(DuiLib::TNotifyUI& notification);
    void DoOptEnableVideo(DuiLib::TNotifyUI& notification);
    void DoApplySpeaker(DuiLib::TNotifyUI& notification);

    // Sends the options' status after the click with the stored password. roomStatus_ is the
    // status shown, or last sent.
    void sendOptionClick(ZuvraKestrum::Settings::RoomOption clicked);

    DuiLib::CButtonUI* appSpeakerBtn_ = nullptr;
};
