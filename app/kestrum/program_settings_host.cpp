// The settings windows in the running program: the host over the application singleton and the
// other singletons, and the windows' default constructors that the dialog table's factory
// calls. Kept apart so that tests, which give the windows a host of their own, link without
// the rest of the program.

#include "app/kestrum/kestrum.h"
#include "app/windows/settings/avatar_file_dialog.h"
#include "app/windows/settings/dui_set_av.h"
#include "app/windows/settings/dui_set_own_room.h"
#include "app/windows/settings/dui_set_room.h"
#include "app/windows/settings/dui_user_config.h"
#include "app/windows/settings/settings_host.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "ui/windowing/toast/toast.h"

namespace {

class CProgramSettingsHost final : public ISettingsHost {
public:
    CKestrumData& meeting() override { return *g_kestrumData; }
    CKestrumConfig& config() override { return *CSingleton<CKestrumConfig>::getInstance(); }
    // Made by start-up and the join window on the UI thread; never made from here.
    CKestrumZuvra* engine() override { return CSingleton<CKestrumZuvra>::existingInstance(); }
    void toast(HWND over, const std::wstring& text, int durationMs) override {
        shared::Toast::Show(text, durationMs, over);
    }

    CDuiFrameWindow* dialog(unsigned id) override { return dialogs().dialog(id); }
    HWND dialogWindow(unsigned id) override { return dialogs().dialogWindow(id); }
    void openDialog(unsigned id) override { dialogs().openDialog(id); }
    void closeDialog(unsigned id) override { dialogs().closeDialog(id); }
    void showMsgBox(HWND owner, const std::wstring& text, int code, int type) override {
        dialogs().showMsgBox(owner, text, code, type);
    }

    ZuvraKestrum::ICallBack::CUserCallBack* courseObserver() override {
        return CSingleton<CKestrumCourse>::getInstance();
    }
    void updateInfo(ZuvraKestrum::ICallBack::CUserCallBack* observer, const std::string& password,
                    const std::string& name, const std::string& portraitId) override {
        ::updateInfo(observer, password.c_str(), name.c_str(), portraitId.c_str());
    }
    void updatePhoto(ZuvraKestrum::ICallBack::CUserCallBack* observer,
                     const std::string& filePath) override {
        // The worker's handle stays the library's.
        ::updatePhoto(observer, filePath.c_str());
    }

    void updateRoom(ZuvraKestrum::ICallBack::CUserCallBack* observer, const std::string& rid,
                    const std::vector<std::string>& hosts, int initialStatus,
                    const std::string& topic, const std::string& pwd) override {
        ::updateRoom(observer, rid.c_str(), hosts, initialStatus, topic.c_str(), pwd.c_str());
    }
    void applySpeaker(HWND asker) override {
        CSingleton<CKestrumCourse>::getInstance()->applySpeaker(asker);
    }
    void giveupSpeaker(HWND asker) override {
        CSingleton<CKestrumCourse>::getInstance()->giveupSpeaker(asker);
    }

    std::wstring chooseAvatarFile(HWND owner) override {
        return ZuvraKestrum::Settings::ChooseAvatarFile(owner, g_language);
    }

private:
    static IDialogTable& dialogs() { return ProgramDialogTable(); }
};

}  // namespace

ISettingsHost& ProgramSettingsHost() {
    static CProgramSettingsHost host;
    return host;
}

CDuiSetAV::CDuiSetAV() : CDuiSetAV(ProgramSettingsHost()) {}

CDuiUserConfig::CDuiUserConfig() : CDuiUserConfig(ProgramSettingsHost()) {}

CDuiSetRoom::CDuiSetRoom() : CDuiSetRoom(ProgramSettingsHost()) {}

CDuiSetOwnRoom::CDuiSetOwnRoom() : CDuiSetOwnRoom(ProgramSettingsHost()) {}
