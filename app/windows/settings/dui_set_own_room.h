#pragma once

#include <windows.h>

#include "app/windows/settings/room_settings_page.h"

// The room settings window of the host (the speaker), dialog 4 of the dialog table: the room
// name and the speaker, the room password and whether microphone and camera are on for those
// who enter (sent on each option click, on Return and with the confirm button; the window stays
// open), and giving the speaker role up, after which (WM_UPDATE_ROOM from the course bridge) the
// participant's window (dialog 3) takes this one's place. Also the tab to the audio/video
// settings and the log upload (CRoomSettingsPage).
//
// Skin "Setting-OwnRoom-en.xml" / "Setting-OwnRoom-zh.xml". The room update reports to the
// class's relay (SharedRelay<CDuiSetOwnRoom>).
//
// Threads: the UI thread. Ownership: created with new (the dialog table's factory), deletes
// itself when its window is destroyed.
class CDuiSetOwnRoom : public CDuiWindow<CDuiSetOwnRoom, CRoomSettingsPage> {
public:
    // The program's window (ProgramSettingsHost).
    CDuiSetOwnRoom();
    explicit CDuiSetOwnRoom(ISettingsHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UISetOwnRoomMainWnd"; }

    static CDuiMessageMap<CDuiSetOwnRoom> MessageMap();
    static CDuiNotifyMap<CDuiSetOwnRoom> NotifyMap();

    // Shows the meeting data's room: name, password, speaker and options. Called at init, after
    // a refused update and by the in-meeting window on new room information.
    void updateRoomInfo() override;

    // The class's observer for the service library.
    static CObserverRelay& Relay() { return SharedRelay<CDuiSetOwnRoom>(); }

private:
    void OnRoomUpdated();

    void DoPwdEditReturn(DuiLib::TNotifyUI& notification);
    void DoOptEnableVideo(DuiLib::TNotifyUI& notification);
    void DoOptEnableAudio(DuiLib::TNotifyUI& notification);
    void DoGiveupSpeaker(DuiLib::TNotifyUI& notification);
    void DoSure(DuiLib::TNotifyUI& notification);

    // Sends the edit's password and the options' status; `status` as the options stand for it.
    // roomStatus_ is the last sent.
    void send(int status);
};
