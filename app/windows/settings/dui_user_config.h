#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/windows/settings/observer_relay.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/dui_window.h"
#include "duilib/button_ui.h"
#include "duilib/edit_ui.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_dump.h"

struct ObserverEventPayload;

// The user's profile window, dialog 5 of the dialog table: the nickname (saved through the
// account service with the course bridge as observer), a new avatar picture (checked, uploaded,
// then placed in the avatar cache and announced to the join window with WM_GET_PHOTO), whether
// camera and microphone start off when joining, and the log upload with the uploader's answer
// as a toast.
//
// Skin "OwnerConfig-en.xml" / "OwnerConfig-zh.xml", with the usual message rows. The avatar
// upload reports to the class's relay (SharedRelay<CDuiUserConfig>), which posts the result
// here; the window is disabled from the upload's start until its result or the upload wait
// timer.
//
// Texts: the edit's UTF-16 becomes the meeting data's UTF-8 nickname directly, which goes to the
// service as it is; the avatar's source file and the meeting data's portrait path are UTF-8 too.
// No ANSI code page lies on the way.
//
// Threads: the UI thread. Ownership: created with new (the dialog table's factory), deletes
// itself when its window is destroyed.
class CDuiUserConfig : public CDuiWindow<CDuiUserConfig>, public CKestrumDump {
public:
    // How long an avatar upload may take before the window is usable again.
    static constexpr UINT kAvatarUploadWaitMs = 10000;
    // How long the uploader's answer shows.
    static constexpr int kToastMs = 3000;

    // The program's window (ProgramSettingsHost).
    CDuiUserConfig();
    explicit CDuiUserConfig(ISettingsHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UIUserConfigWnd"; }
    static CDuiMessageMap<CDuiUserConfig> MessageMap();
    static CDuiNotifyMap<CDuiUserConfig> NotifyMap();

    // The class's observer for the service library.
    static CObserverRelay& Relay() { return SharedRelay<CDuiUserConfig>(); }

private:
    void OnCreate();
    void OnCopyData(const COPYDATASTRUCT* answer);
    void OnObserverEvent(std::unique_ptr<ObserverEventPayload> event);
    void onUpdatePhoto(const std::string& portraitId);
    void onCallBackError(const ObserverEventPayload& error);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoMin(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoLastPage(DuiLib::TNotifyUI& notification);
    void DoUpdatePhoto(DuiLib::TNotifyUI& notification);
    void DoOptEnableMic(DuiLib::TNotifyUI& notification);
    void DoOptEnableCamera(DuiLib::TNotifyUI& notification);
    void DoNickEditReturn(DuiLib::TNotifyUI& notification);
    void DoNickEditChanged(DuiLib::TNotifyUI& notification);
    void DoSure(DuiLib::TNotifyUI& notification);
    void DoUploadLog(DuiLib::TNotifyUI& notification);
    void DoNickEditSetFocus(DuiLib::TNotifyUI& notification);

    // Shows picture on the avatar button; the button's own text stays only over the default
    // picture.
    void showPhoto(const std::wstring& picture);
    // The avatar's refusal box (Error, with code, whose built-in text the box shows).
    void refuseAvatar(int code);

    ISettingsHost& host_;
    CKestrumData& meeting_;
    DuiLib::CButtonUI* photoBtn_ = nullptr;
    DuiLib::CEditUI* nickEdit_ = nullptr;
    DuiLib::COptionUI* camOpt_ = nullptr;  // selected: join with the camera off
    DuiLib::COptionUI* micOpt_ = nullptr;  // selected: join with the microphone off
    std::wstring photoPath_;               // the avatar shown now
    std::wstring chosenPath_;              // the picture being uploaded
};
