#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/settings/settings_host.h"
#include "kestrum/core/kestrum_config.h"

// The settings windows' host in the tests: a configuration of its own, the test's engine, a
// dialog table the test fills, the framework's toasts as the program shows them, and a journal
// of what the windows asked for that has no effect here (message boxes, opened dialogs, account
// requests without a library).
//
// Threads: the test thread, which runs the windows.
class SettingsTestHost : public ISettingsHost {
public:
    using UpdateInfo = decltype(&::updateInfo);
    using UpdatePhoto = decltype(&::updatePhoto);
    using UpdateRoom = decltype(&::updateRoom);

    // The configuration file lives in folder (ending in a backslash); meeting is the test's
    // meeting data, which outlives the host.
    SettingsTestHost(const std::wstring& folder, CKestrumData& meeting);

    CKestrumData& meeting() override { return meeting_; }
    CKestrumConfig& config() override { return *config_; }
    CKestrumZuvra* engine() override { return engine_; }
    void toast(HWND over, const std::wstring& text, int durationMs) override;
    CDuiFrameWindow* dialog(unsigned id) override;
    HWND dialogWindow(unsigned id) override;
    void openDialog(unsigned id) override;
    // Closes the window registered under id as the dialog table does (WM_CLOSE) and forgets it.
    void closeDialog(unsigned id) override;
    void showMsgBox(HWND owner, const std::wstring& text, int code, int type) override;
    ZuvraKestrum::ICallBack::CUserCallBack* courseObserver() override { return courseObserver_; }
    void updateInfo(ZuvraKestrum::ICallBack::CUserCallBack* observer, const std::string& password,
                    const std::string& name, const std::string& portraitId) override;
    void updatePhoto(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                     const std::string& filePath) override;
    void updateRoom(ZuvraKestrum::ICallBack::CUserCallBack* observer, const std::string& rid,
                    const std::vector<std::string>& hosts, int initialStatus,
                    const std::string& topic, const std::string& pwd) override;
    void applySpeaker(HWND) override { journal.push_back("applySpeaker"); }
    void giveupSpeaker(HWND) override { journal.push_back("giveupSpeaker"); }
    std::wstring chooseAvatarFile(HWND owner) override;

    // What the test sets up.
    CKestrumZuvra* engine_ = nullptr;
    std::map<unsigned, CDuiFrameWindow*> dialogs;  // window objects by dialog id
    std::map<unsigned, HWND> windows;              // plain windows by dialog id (the join window)
    ZuvraKestrum::ICallBack::CUserCallBack* courseObserver_ = nullptr;
    UpdateInfo libraryUpdateInfo = nullptr;    // null: updateInfo is only written down
    UpdatePhoto libraryUpdatePhoto = nullptr;  // null: updatePhoto is only written down
    UpdateRoom libraryUpdateRoom = nullptr;    // null: updateRoom is only written down
    // The observer of the latest updateRoom, through which a test answers it.
    ZuvraKestrum::ICallBack::CUserCallBack* roomObserver = nullptr;
    std::wstring nextAvatarFile;  // what the file chooser gives, once
    // What runs while a message box is up, as the real box's modal loop runs the thread's
    // messages; null: the box returns at once.
    std::function<void()> whileBoxShows;

    // "box(type,code,text)", "open(id)", "close(id)", "updateInfo(observer,password,name,id)"
    // with observer "course" or "other", "updatePhoto(observer,path)" with "relay" when it is
    // not the course bridge, "choose", "updateRoom(rid,[hosts],status,topic,pwd)",
    // "applySpeaker", "giveupSpeaker". Texts in UTF-8.
    std::vector<std::string> journal;

private:
    CKestrumData& meeting_;
    std::unique_ptr<CKestrumConfig> config_;
};
