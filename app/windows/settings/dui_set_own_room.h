#pragma once

#include <windows.h>

#include <string>

#include "app/windows/settings/dui_set_room.h"

// The room settings window of the host (the speaker), dialog 4 of the dialog table: the room
// name and the speaker, the room password and whether microphone and camera are on for those
// who enter (sent on each option click, on Return and with the confirm button; the window stays
// open), and giving the speaker role up, after which (WM_UPDATE_ROOM from the course bridge) the
// participant's window (dialog 3) takes this one's place. Also the tab to the audio/video
// settings and the log upload.
//
// Skin "Setting-OwnRoom-en.xml" / "Setting-OwnRoom-zh.xml". The room update reports to the
// class's relay (SharedRelay<CDuiSetOwnRoom>): a confirmation stores the sent values in the
// meeting data, a refusal shows the error box and puts the stored values back.
//
// Threads: the UI thread. Ownership: created with new (the dialog table's factory), deletes
// itself when its window is destroyed.
class CDuiSetOwnRoom : public CDuiWindow<CDuiSetOwnRoom>,
                       public ISettingsTabs,
                       public IRoomSettingsView,
                       public CKestrumDump {
public:
    // The program's window (ProgramSettingsHost).
    CDuiSetOwnRoom();
    explicit CDuiSetOwnRoom(ISettingsHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UISetOwnRoomMainWnd"; }

    static CDuiMessageMap<CDuiSetOwnRoom> MessageMap();
    static CDuiNotifyMap<CDuiSetOwnRoom> NotifyMap();

    void setTabsEnabled(bool enabled) override;
    // Shows the meeting data's room: name, password, speaker and options. Called at init, after
    // a refused update and by the in-meeting window on new room information.
    void updateRoomInfo() override;

    // The class's observer for the service library.
    static CObserverRelay& Relay() { return SharedRelay<CDuiSetOwnRoom>(); }

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnRoomUpdated(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnObserverEvent(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void onUpdateRoom(bool success);
    void onCallBackError(const std::string& api, const std::string& message, int code);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoOptTabRoom(DuiLib::TNotifyUI& notification);
    void DoOptTabAV(DuiLib::TNotifyUI& notification);
    void DoPwdEditReturn(DuiLib::TNotifyUI& notification);
    void DoOptEnableVideo(DuiLib::TNotifyUI& notification);
    void DoOptEnableAudio(DuiLib::TNotifyUI& notification);
    void DoGiveupSpeaker(DuiLib::TNotifyUI& notification);
    void DoUploadLog(DuiLib::TNotifyUI& notification);
    void DoSure(DuiLib::TNotifyUI& notification);

    // Sends the edit's password and the options' status; `status` as the options stand for it.
    void send(int status);

    ISettingsHost& host_;
    CRoomSettingsPage page_;
    int roomStatus_ = 0;        // last sent
    std::string roomPassword_;  // last shown or sent, UTF-8
};
