#include "app/windows/settings/dui_set_av.h"

#include <string>
#include <utility>
#include <vector>

#include "app/windows/settings/device_choice.h"
#include "app/windows/settings/log_upload.h"
#include "app/windows/settings/room_change.h"
#include "app/windows/settings/video_quality.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "duilib/list_label_element_ui.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Settings::DeviceAt;
using ZuvraKestrum::Settings::DeviceEntry;
using ZuvraKestrum::Settings::DeviceNames;
using ZuvraKestrum::Settings::VideoQualityOption;
using ZuvraKestrum::Util::CStringToUtf8;

// A device's row in the drop-down list: the list sizes itself by its rows' heights. The text
// keeps clear of the combo's arrow, since the combo shows the chosen row's text with its padding.
constexpr int kDeviceRowHeight = 30;
constexpr std::pair<const wchar_t*, const wchar_t*> kDeviceRowLook[] = {
    {L"textpadding", L"10,0,30,0"},
    {L"font", L"1"},
    {L"normaltextcolor", L"textdefaultcolor"},
    {L"hotcolor", L"window_title_bk"},
    {L"selectedtextcolor", L"blue"},
};

DuiLib::CListLabelElementUI* DeviceRow(const std::wstring& name) {
    auto* item = new DuiLib::CListLabelElementUI;
    item->SetFixedHeight(kDeviceRowHeight);
    for (const auto& [attribute, value] : kDeviceRowLook) item->SetAttribute(attribute, value);
    item->SetText(name.c_str());
    return item;
}

// Lists the names and selects the remembered device (UTF-8, as the configuration gives it), or
// the first one, without the item-select notification: that one stands for the user's choice.
void FillCombo(DuiLib::CComboUI* combo, const std::vector<std::wstring>& names,
               const std::string& remembered) {
    combo->RemoveAll();
    for (const std::wstring& name : names) combo->Add(DeviceRow(name));
    const int chosen = ZuvraKestrum::Settings::ChooseDeviceIndex(
        names, ZuvraKestrum::Util::Utf8ToCString(remembered));
    if (chosen >= 0) combo->SelectItem(chosen, false, false);
}

}  // namespace

CDuiSetAV::CDuiSetAV(ISettingsHost& host)
    : CKestrumDump("CDuiSetAV", true, false, false, L""), host_(host), meeting_(host.meeting()) {}

CDuiMessageMap<CDuiSetAV> CDuiSetAV::MessageMap() {
    auto table = StandardMessageMap(&CDuiSetAV::OnCreate);
    table.on<WM_DESTROY>(&CDuiSetAV::OnDestroy, RowMode::kPassOn)
        .on<WM_TIMER>(&CDuiFrameWindow::OnUploadWaitTimer, RowMode::kPassOn)
        .on<WM_SETTINGS_OBSERVER_EVENT>(&CDuiSetAV::OnObserverEvent);
    return table;
}

CDuiNotifyMap<CDuiSetAV> CDuiSetAV::NotifyMap() {
    CDuiNotifyMap<CDuiSetAV> table;
    table.add(L"windowinit", L"MainFrame", &CDuiSetAV::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiSetAV::DoMin)
        .add(L"click", L"closebtn", &CDuiSetAV::DoClose)
        .add(L"click", L"lastpagebtn", &CDuiSetAV::DoLastPage)
        .add(L"selectchanged", L"tabRoomOpt", &CDuiSetAV::DoOptTabRoom)
        .add(L"selectchanged", L"tabAVOpt", &CDuiSetAV::DoOptTabAV)
        .add(L"itemselect", L"videocom", &CDuiSetAV::DoComboSelectVideo)
        .add(L"itemselect", L"audiocom", &CDuiSetAV::DoComboSelectAudio)
        .add(L"click", L"previewOp", &CDuiSetAV::DoOptPreview)
        .add(L"click", L"lowop", &CDuiSetAV::DoOptLow)
        .add(L"click", L"midop", &CDuiSetAV::DoOptMid)
        .add(L"click", L"highop", &CDuiSetAV::DoOptHigh)
        .add(L"click", L"surebtn", &CDuiSetAV::DoSure)
        .add(L"click", L"uploadLogbtn", &CDuiSetAV::DoUploadLog);
    return table;
}

void CDuiSetAV::setTabsEnabled(bool enabled) {
    if (tabAVOpt_) tabAVOpt_->SetEnabled(enabled);
    if (tabRoomOpt_) tabRoomOpt_->SetEnabled(enabled);
}

void CDuiSetAV::OnCreate() {
    // Reports reach this window while it lives.
    registerWith(Relay(), &AttachWindow);
    if (!BuildLanguageSkin(L"Setting-AV", nullptr, *this)) return;
    // The handlers rely on every control: a skin without them leaves the window inert.
    BindControls(*this,
                 {{L"audiocom", &CDuiSetAV::audioCombo_},
                  {L"videocom", &CDuiSetAV::videoCombo_},
                  {L"previewOp", &CDuiSetAV::previewOpt_},
                  {L"previewLab", &CDuiSetAV::previewLab_},
                  {L"tabRoomOpt", &CDuiSetAV::tabRoomOpt_},
                  {L"tabAVOpt", &CDuiSetAV::tabAVOpt_}},
                 *this);
}

void CDuiSetAV::OnDestroy() { stopCameraTest(); }

void CDuiSetAV::OnObserverEvent(std::unique_ptr<ObserverEventPayload> event) {
    // The window starts no request of its own; what arrives is only written down.
    switch (event->kind) {
    case ObserverEventPayload::Kind::kError:
        writeLine(Level_Info, __LINE__, "%s(%s,%s,%d)", "CDuiSetAV::onCallBackError",
                  event->api.c_str(), event->text.c_str(), event->code);
        break;
    case ObserverEventPayload::Kind::kLogUpload:
        writeLine(Level_Info, __LINE__, "%s(%d)", "CDuiSetAV::onLogUpload", event->code);
        break;
    default:
        break;
    }
}

void CDuiSetAV::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    std::string remembered;
    FillCombo(audioCombo_, DeviceNames(audioHelper()), host_.config().getMicID(remembered));
    FillCombo(videoCombo_, DeviceNames(videoHelper()), host_.config().getCameraID(remembered));
    // The engine uses what the lists show. A remembered device that is unplugged now stays
    // remembered: the first device stands in for it only until the program ends.
    applyChosenDevice(audioHelper(), *audioCombo_, "CDuiSetAV::DoComboSelectAudio");
    applyChosenDevice(videoHelper(), *videoCombo_, "CDuiSetAV::DoComboSelectVideo");
    // During a meeting the camera belongs to the meeting.
    previewOpt_->SetEnabled(host_.dialog(ProgramDialogs::kLiveDlg) == nullptr);
    createPreviewWindow();
    tabAVOpt_->SetEnabled(false);
    RECT frame;
    GetWindowRect(GetHWND(), &frame);
    SetWindowPos(GetHWND(), HWND_TOPMOST, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_SHOWWINDOW);
    const VideoQualityOption* quality =
        ZuvraKestrum::Settings::VideoQualityOfLevel(meeting_.videoQuality);
    if (!quality) return;
    if (auto* option =
            FindControlAs<DuiLib::COptionUI>(paintManager_, quality->option, L"Option")) {
        option->Selected(true, true);
    }
}

void CDuiSetAV::createPreviewWindow() {
    const RECT& area = previewLab_->GetPos();
    previewWnd_.create(GetHWND(), area);
}

void CDuiSetAV::DoMin(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiSetAV::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    closeWindow();
}

void CDuiSetAV::DoLastPage(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    closeWindow();
}

// Every choice took effect when it was made: confirming only ends the window.
void CDuiSetAV::DoSure(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    closeWindow();
}

void CDuiSetAV::closeWindow() {
    stopCameraTest();
    host_.closeDialog(ProgramDialogs::kSetAVDlg);
}

void CDuiSetAV::DoOptTabRoom(DuiLib::TNotifyUI&) {
    const bool selected = tabRoomOpt_->IsSelected();
    KESTRUM_LOG(Level_Info, "(%d)", selected);
    if (!selected) return;
    OpenSettingsDialog(host_, ZuvraKestrum::Settings::RoomSettingsDialogOf(&meeting_),
                       tabRoomOpt_->IsEnabled());
    host_.closeDialog(ProgramDialogs::kSetAVDlg);
}

void CDuiSetAV::DoOptTabAV(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", tabAVOpt_->IsSelected());
}

void CDuiSetAV::DoComboSelectVideo(DuiLib::TNotifyUI&) {
    rememberDevice(applyChosenDevice(videoHelper(), *videoCombo_, "CDuiSetAV::DoComboSelectVideo"),
                   &CKestrumConfig::setCameraID);
}

void CDuiSetAV::DoComboSelectAudio(DuiLib::TNotifyUI&) {
    rememberDevice(applyChosenDevice(audioHelper(), *audioCombo_, "CDuiSetAV::DoComboSelectAudio"),
                   &CKestrumConfig::setMicID);
}

template <class Helper>
DeviceEntry CDuiSetAV::applyChosenDevice(Helper* helper, DuiLib::CComboUI& combo,
                                         const char* caller) {
    DeviceEntry device = DeviceAt(helper, combo.GetCurSel());
    writeLine(Level_Info, __LINE__, "%s(%s,%s)", caller, CStringToUtf8(device.name).c_str(),
              CStringToUtf8(device.id).c_str());
    if (device.found) helper->setDevice(device.id);
    return device;
}

void CDuiSetAV::rememberDevice(const DeviceEntry& device, RememberDevice remember) {
    // A device the engine refuses is still remembered: it may work at the next start.
    if (device.found) (host_.config().*remember)(CStringToUtf8(device.name));
}

void CDuiSetAV::DoOptPreview(DuiLib::TNotifyUI&) {
    // The click arrives before the option changes its state.
    const bool on = !previewOpt_->IsSelected();
    KESTRUM_LOG(Level_Info, "(%d)", on);
    if (!on) {
        stopCameraTest();
        return;
    }
    previewWnd_.show(true);
    if (CVideoDeviceHelper* helper = videoHelper())
        helper->enableDeviceTest(previewWnd_.handle(), true);
    cameraTesting_ = true;
}

void CDuiSetAV::stopCameraTest() {
    if (!cameraTesting_) return;
    cameraTesting_ = false;
    previewWnd_.show(false);
    if (previewLab_) previewLab_->Invalidate();
    if (CVideoDeviceHelper* helper = videoHelper()) helper->enableDeviceTest(nullptr, false);
}

void CDuiSetAV::DoOptLow(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", ZuvraKestrum::Settings::kLowQuality.lines);
    applyQuality(ZuvraKestrum::Settings::kLowQuality);
}

void CDuiSetAV::DoOptMid(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", ZuvraKestrum::Settings::kMidQuality.lines);
    applyQuality(ZuvraKestrum::Settings::kMidQuality);
}

void CDuiSetAV::DoOptHigh(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", ZuvraKestrum::Settings::kHighQuality.lines);
    applyQuality(ZuvraKestrum::Settings::kHighQuality);
}

void CDuiSetAV::applyQuality(const VideoQualityOption& quality) {
    ZuvraKestrum::Settings::StoreVideoQuality(quality, &meeting_);
    // Outside a meeting the level waits for the meeting window, which applies it at its start.
    if (!host_.dialog(ProgramDialogs::kLiveDlg)) return;
    if (CKestrumZuvra* engine = host_.engine()) engine->SetVideoQuality(quality.level);
}

void CDuiSetAV::DoUploadLog(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!ZuvraKestrum::Settings::StartLogUpload(GetHWND(), meeting_)) {
        KESTRUM_LOG(Level_Warning, "() uploader not started");
    }
}

CAudioDeviceHelper* CDuiSetAV::audioHelper() {
    CKestrumZuvra* engine = host_.engine();
    return engine ? engine->getAudioDeviceHelper() : nullptr;
}

CVideoDeviceHelper* CDuiSetAV::videoHelper() {
    CKestrumZuvra* engine = host_.engine();
    return engine ? engine->getVideoDeviceHelper() : nullptr;
}
