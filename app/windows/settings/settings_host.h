#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/service/vossary_api.h"

class CKestrumConfig;
class CKestrumData;
class CKestrumZuvra;

// What the settings windows need of the program around them: the dialog table with its message
// box (IDialogTable's members, called on the host itself), toasts, the configuration, the engine,
// the course bridge, the account requests of the service library and the file chooser. The
// program's own (ProgramSettingsHost) reaches the application singleton and the other
// singletons; tests give the windows one of their own, so the windows run without the rest of
// the program.
//
// Threads: the UI thread, the thread of the windows. Ownership: the host outlives every window
// given it; the program's lives as long as the program.
class ISettingsHost : public IDialogTable {
public:
    // The meeting data: the own profile, the room's settings and the video quality.
    virtual CKestrumData& meeting() = 0;
    // The configuration file (MicID, CameraID, EnableCamera, EnableMic).
    virtual CKestrumConfig& config() = 0;
    // The engine wrapper; null when the program has none.
    virtual CKestrumZuvra* engine() = 0;
    // A transient notice of text over the window `over` for durationMs.
    virtual void toast(HWND over, const std::wstring& text, int durationMs) = 0;

    // The observer of the nickname update: the course bridge, which reports it to the join
    // window.
    virtual ZuvraKestrum::ICallBack::CUserCallBack* courseObserver() = 0;
    // The account requests (vossary_api.h): name and path UTF-8.
    virtual void updateInfo(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                            const std::string& password, const std::string& name,
                            const std::string& portraitId) = 0;
    virtual void updatePhoto(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                             const std::string& filePath) = 0;

    // The room update of the room settings windows (vossary_api.h): room name and password
    // UTF-8, hosts as uids.
    virtual void updateRoom(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                            const std::string& rid, const std::vector<std::string>& hosts,
                            int initialStatus, const std::string& topic,
                            const std::string& pwd) = 0;
    // The speaker role through the course bridge; its answer reaches the asking room settings
    // window (asker) as WM_UPDATE_ROOM, and no other window.
    virtual void applySpeaker(HWND asker) = 0;
    virtual void giveupSpeaker(HWND asker) = 0;

    // Lets the user pick a picture for the avatar; the path, or empty when the user cancelled.
    // The process's current folder is the same afterwards.
    virtual std::wstring chooseAvatarFile(HWND owner) = 0;

protected:
    ~ISettingsHost() = default;
};

// The host of the running program. Its parts are reached on first use, on the UI thread.
ISettingsHost& ProgramSettingsHost();

// The one way to open a settings dialog: opens dialog id of the table (or brings the open one
// up) and then, when tabsEnabled is given and the dialog has tabs (ISettingsTabs), says whether
// its tab buttons lead anywhere. Without tabsEnabled the tabs stay as the dialog has them.
void OpenSettingsDialog(IDialogTable& dialogs, unsigned id,
                        std::optional<bool> tabsEnabled = std::nullopt);

// Implemented by the settings windows that sit side by side as tabs of one settings page (the
// audio/video window and the room settings windows): the opener says whether the tab buttons
// lead anywhere.
class ISettingsTabs {
public:
    virtual void setTabsEnabled(bool enabled) = 0;

protected:
    ~ISettingsTabs() = default;
};

// Implemented by the two room settings windows: the in-meeting window has the open one show the
// room information it just stored in the meeting data.
class IRoomSettingsView {
public:
    virtual void updateRoomInfo() = 0;

protected:
    ~IRoomSettingsView() = default;
};
