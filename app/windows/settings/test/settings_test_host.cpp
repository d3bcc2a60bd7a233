#include "settings_test_host.h"

#include <utility>

#include "app/windows/skeleton/dui_frame_window.h"
#include "kestrum/core/util_text.h"
#include "ui/windowing/toast/toast.h"

using ZuvraKestrum::Util::CStringToUtf8;

SettingsTestHost::SettingsTestHost(const std::wstring& folder, CKestrumData& meeting)
    : meeting_(meeting), config_(std::make_unique<CKestrumConfig>(folder)) {}

CDuiFrameWindow* SettingsTestHost::dialog(unsigned id) {
    const auto found = dialogs.find(id);
    return found == dialogs.end() ? nullptr : found->second;
}

HWND SettingsTestHost::dialogWindow(unsigned id) {
    if (CDuiFrameWindow* window = dialog(id)) return window->GetHWND();
    const auto found = windows.find(id);
    return found == windows.end() ? nullptr : found->second;
}

void SettingsTestHost::openDialog(unsigned id) {
    journal.push_back("open(" + std::to_string(id) + ")");
}

void SettingsTestHost::closeDialog(unsigned id) {
    journal.push_back("close(" + std::to_string(id) + ")");
    if (CDuiFrameWindow* window = dialog(id)) window->Close(1);
    dialogs.erase(id);
}

void SettingsTestHost::showMsgBox(HWND, const std::wstring& text, int code, int type) {
    journal.push_back("box(" + std::to_string(type) + "," + std::to_string(code) + "," +
                      CStringToUtf8(text) + ")");
    if (whileBoxShows) whileBoxShows();
}

void SettingsTestHost::updateInfo(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                                  const std::string& password, const std::string& name,
                                  const std::string& portraitId) {
    journal.push_back(std::string("updateInfo(") +
                      (observer && observer == courseObserver_ ? "course" : "other") + "," +
                      password + "," + name + "," + portraitId + ")");
    if (libraryUpdateInfo) {
        libraryUpdateInfo(observer, password.c_str(), name.c_str(), portraitId.c_str());
    }
}

void SettingsTestHost::updatePhoto(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                                   const std::string& filePath) {
    journal.push_back(std::string("updatePhoto(") +
                      (observer && observer != courseObserver_ ? "relay" : "course") + "," +
                      filePath + ")");
    if (libraryUpdatePhoto) libraryUpdatePhoto(observer, filePath.c_str());
}

void SettingsTestHost::updateRoom(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                                  const std::string& rid, const std::vector<std::string>& hosts,
                                  int initialStatus, const std::string& topic,
                                  const std::string& pwd) {
    std::string list;
    for (const std::string& host : hosts) list += (list.empty() ? "" : ",") + host;
    journal.push_back("updateRoom(" + rid + ",[" + list + "]," + std::to_string(initialStatus) +
                      "," + topic + "," + pwd + ")");
    roomObserver = observer;
    if (libraryUpdateRoom) {
        libraryUpdateRoom(observer, rid.c_str(), hosts, initialStatus, topic.c_str(), pwd.c_str());
    }
}

void SettingsTestHost::toast(HWND over, const std::wstring& text, int durationMs) {
    shared::Toast::Show(text, durationMs, over);
}

std::wstring SettingsTestHost::chooseAvatarFile(HWND) {
    journal.push_back("choose");
    return std::exchange(nextAvatarFile, std::wstring());
}
