#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/windows/settings/observer_relay.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/video_surface.h"
#include "duilib/combo_ui.h"
#include "duilib/option_ui.h"
#include "kestrum/core/kestrum_dump.h"

class CAudioDeviceHelper;
class CKestrumConfig;
class CVideoDeviceHelper;

namespace ZuvraKestrum::Settings {
struct DeviceEntry;
struct VideoQualityOption;
}  // namespace ZuvraKestrum::Settings

// The audio/video settings window, dialog 2 of the dialog table: the microphones and cameras
// the engine lists, the remembered ones (MicID, CameraID) or else the first shown and applied to
// the engine, and a device the user chooses applied and its name remembered; a camera test in a
// child window while no meeting runs; the video quality level (low, mid, high); the tab to the
// room settings; the log upload.
//
// Skin "Setting-AV-en.xml" / "Setting-AV-zh.xml". The service library reports to the class's
// relay (SharedRelay<CDuiSetAV>), never to the window itself; the window only logs the reports.
//
// Threads: the UI thread. Ownership: created with new (the dialog table's factory), deletes
// itself when its window is destroyed. The camera test is off whenever the window is gone.
class CDuiSetAV : public CDuiWindow<CDuiSetAV>, public ISettingsTabs, public CKestrumDump {
public:
    // The program's window (ProgramSettingsHost).
    CDuiSetAV();
    explicit CDuiSetAV(ISettingsHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UISetAVMainWnd"; }

    static CDuiMessageMap<CDuiSetAV> MessageMap();
    static CDuiNotifyMap<CDuiSetAV> NotifyMap();

    // Enables or disables both tab options: disabled when opened from the join window (no
    // room to set before a meeting). The window's own tab is disabled again at init.
    void setTabsEnabled(bool enabled) override;

    // The class's observer for the service library.
    static CObserverRelay& Relay() { return SharedRelay<CDuiSetAV>(); }

private:
    void OnCreate();
    void OnDestroy();
    void OnObserverEvent(std::unique_ptr<ObserverEventPayload> event);

    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoMin(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoLastPage(DuiLib::TNotifyUI& notification);
    void DoOptTabRoom(DuiLib::TNotifyUI& notification);
    void DoOptTabAV(DuiLib::TNotifyUI& notification);
    void DoComboSelectVideo(DuiLib::TNotifyUI& notification);
    void DoComboSelectAudio(DuiLib::TNotifyUI& notification);
    void DoOptPreview(DuiLib::TNotifyUI& notification);
    void DoOptLow(DuiLib::TNotifyUI& notification);
    void DoOptMid(DuiLib::TNotifyUI& notification);
    void DoOptHigh(DuiLib::TNotifyUI& notification);
    void DoSure(DuiLib::TNotifyUI& notification);
    void DoUploadLog(DuiLib::TNotifyUI& notification);

    // The engine's device objects; null without an engine. Asked anew each time, since the
    // engine may go before the window does.
    CAudioDeviceHelper* audioHelper();
    CVideoDeviceHelper* videoHelper();
    // The configuration's setter of a device's name (setMicID, setCameraID).
    using RememberDevice = bool (CKestrumConfig::*)(const std::string&) const;
    // Applies the device chosen in combo to the engine's list (helper) and returns it; logs as
    // caller.
    template <class Helper>
    ZuvraKestrum::Settings::DeviceEntry applyChosenDevice(Helper* helper, DuiLib::CComboUI& combo,
                                                          const char* caller);
    // Remembers the name of a device the user chose, when there is one.
    void rememberDevice(const ZuvraKestrum::Settings::DeviceEntry& device, RememberDevice remember);
    // Stops the camera test and closes dialog 2 (the close, back and confirm buttons).
    void closeWindow();
    void createPreviewWindow();
    void applyQuality(const ZuvraKestrum::Settings::VideoQualityOption& quality);
    void stopCameraTest();

    ISettingsHost& host_;
    CKestrumData& meeting_;
    DuiLib::CComboUI* audioCombo_ = nullptr;
    DuiLib::CComboUI* videoCombo_ = nullptr;
    DuiLib::COptionUI* previewOpt_ = nullptr;
    DuiLib::CControlUI* previewLab_ = nullptr;
    DuiLib::COptionUI* tabRoomOpt_ = nullptr;
    DuiLib::COptionUI* tabAVOpt_ = nullptr;
    CVideoSurface previewWnd_;
    bool cameraTesting_ = false;
};
