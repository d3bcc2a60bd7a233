#include "app/windows/settings/dui_set_room.h"

#include "app/kestrum/kestrum.h"
#include "app/windows/settings/log_upload.h"
#include "app/windows/settings/nickname_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Settings::RoomOption;
using ZuvraKestrum::Settings::RoomOptions;
using ZuvraKestrum::Util::CStringToUtf8;
using ZuvraKestrum::Util::Utf8ToCString;

template <class Control>
Control* FindAs(DuiLib::CPaintManagerUI& manager, const wchar_t* name, const wchar_t* kind) {
    DuiLib::CControlUI* control = manager.FindControl(name);
    return control ? static_cast<Control*>(control->GetInterface(kind)) : nullptr;
}

}  // namespace

// ---- The page both room settings windows share ---------------------------------------------

bool CRoomSettingsPage::find(DuiLib::CPaintManagerUI& manager) {
    pwdEdit = FindAs<DuiLib::CEditUI>(manager, L"pwdEdit", L"Edit");
    tabRoomOpt = FindAs<DuiLib::COptionUI>(manager, L"tabRoomOpt", L"Option");
    tabAVOpt = FindAs<DuiLib::COptionUI>(manager, L"tabAVOpt", L"Option");
    enableVideoOp = FindAs<DuiLib::COptionUI>(manager, L"enableVideoOp", L"Option");
    enableAudioOp = FindAs<DuiLib::COptionUI>(manager, L"enableAudioOp", L"Option");
    roomNameTxt_ = manager.FindControl(L"roomNameTxt");
    speakerNameTxt_ = manager.FindControl(L"speakerNameTxt");
    ready_ = pwdEdit && tabRoomOpt && tabAVOpt && enableVideoOp && enableAudioOp && speakerNameTxt_;
    return ready_;
}

void CRoomSettingsPage::init(HWND window) {
    tabRoomOpt->SetEnabled(false);
    RECT frame;
    GetWindowRect(window, &frame);
    SetWindowPos(window, HWND_TOPMOST, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_SHOWWINDOW);
}

void CRoomSettingsPage::setTabsEnabled(bool enabled) {
    if (tabAVOpt) tabAVOpt->SetEnabled(enabled);
    if (tabRoomOpt) tabRoomOpt->SetEnabled(enabled);
}

std::vector<std::string> CRoomSettingsPage::hosts() {
    if (!g_kestrumData) return {};
    ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
    return g_kestrumData->hosts;
}

std::string CRoomSettingsPage::showRoomAndPassword() {
    if (!g_kestrumData) return std::string();
    if (roomNameTxt_) roomNameTxt_->SetText(Utf8ToCString(g_kestrumData->roomName).c_str());
    const std::string password = g_kestrumData->roomPassword;
    pwdEdit->SetText(Utf8ToCString(password).c_str());
    return password;
}

void CRoomSettingsPage::showSpeaker(const std::string& hostUid) {
    std::string nickname;
    g_kestrumData->getUserNickName(hostUid, nickname);
    showSpeakerText(
        Utf8ToCString(ZuvraKestrum::Settings::SpeakerNameOf(nickname, g_kestrumData->hostName))
            .c_str());
}

void CRoomSettingsPage::showSpeakerText(const wchar_t* text) { speakerNameTxt_->SetText(text); }

int CRoomSettingsPage::showStoredStatus() {
    const int status = g_kestrumData ? g_kestrumData->initialStatus : 0;
    const RoomOptions options = ZuvraKestrum::Settings::RoomOptionsOfStatus(status);
    enableAudioOp->Selected(options.audioSelected, true);
    enableVideoOp->Selected(options.videoSelected, true);
    return status;
}

RoomOptions CRoomSettingsPage::shown() const {
    RoomOptions options;
    options.audioSelected = enableAudioOp->IsSelected();
    options.videoSelected = enableVideoOp->IsSelected();
    return options;
}

void CRoomSettingsPage::enableOptions(bool enabled) {
    enableAudioOp->SetEnabled(enabled);
    enableVideoOp->SetEnabled(enabled);
}

void CRoomSettingsPage::sendUpdate(CObserverRelay& observer, const std::vector<std::string>& hosts,
                                   int status, const std::string& password) {
    const std::string room = g_kestrumData ? g_kestrumData->roomName : std::string();
    host_.updateRoom(&observer, room, hosts, status, "", password);
}

void CRoomSettingsPage::storeConfirmed(int status, const std::string& password) {
    if (!g_kestrumData) return;
    ZuvraKestrum::Util::CLockGuard guard(&g_kestrumData->lock);
    g_kestrumData->initialStatus = status;
    g_kestrumData->roomPassword = password;
}

void CRoomSettingsPage::switchToAudioVideo() {
    const bool enabled = tabAVOpt->IsEnabled();
    host_.openDialog(CKestrum::kSetAVDlg);
    if (auto* audioVideo = dynamic_cast<ISettingsTabs*>(host_.dialog(CKestrum::kSetAVDlg))) {
        audioVideo->setTabsEnabled(enabled);
    }
    host_.closeDialog(dialog_);
}

bool CRoomSettingsPage::showError(HWND window, const std::string& api, const std::string& message,
                                  int code) {
    const auto action = ZuvraKestrum::Settings::RoomErrorActionFor(api);
    if (action.showBox) host_.showMsgBox(window, Utf8ToCString(message), code, CKestrum::kErrorBox);
    // The box pumps messages: the window may be gone when it returns.
    return action.restoreControls && IsWindow(window);
}

void CRoomSettingsPage::detach(HWND window, CObserverRelay& relay) {
    relay.detach(window);
    FreeQueuedPayloads(window, WM_SETTINGS_OBSERVER_EVENT, WM_SETTINGS_OBSERVER_EVENT,
                       FreeSettingsPayload);
}

bool CRoomSettingsPage::uploadLogs(HWND window) {
    return g_kestrumData && ZuvraKestrum::Settings::StartLogUpload(window, *g_kestrumData);
}

// ---- The participant's window ---------------------------------------------------------------

CDuiSetRoom::CDuiSetRoom(ISettingsHost& host)
    : CKestrumDump("CDuiSetRoom", true, false, false, ""),
      host_(host),
      page_(host, CKestrum::kSetRoomDlg) {}

CDuiMessageMap<CDuiSetRoom> CDuiSetRoom::MessageMap() {
    return RoomSettingsMessageMap<CDuiSetRoom>(&CDuiSetRoom::OnCreate, &CDuiSetRoom::OnDestroy,
                                               &CDuiSetRoom::OnRoomUpdated,
                                               &CDuiSetRoom::OnObserverEvent);
}

CDuiNotifyMap<CDuiSetRoom> CDuiSetRoom::NotifyMap() {
    CDuiNotifyMap<CDuiSetRoom> table;
    table.add(L"windowinit", L"MainFrame", &CDuiSetRoom::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiSetRoom::DoMin)
        .add(L"click", L"closebtn", &CDuiSetRoom::DoClose)
        .add(L"click", L"lastpagebtn", &CDuiSetRoom::DoLastPage)
        .add(L"click", L"tabRoomOpt", &CDuiSetRoom::DoOptTabRoom)
        .add(L"click", L"tabAVOpt", &CDuiSetRoom::DoOptTabAV)
        .add(L"setfocus", L"pwdEdit", &CDuiSetRoom::DoPwdEditSetFocus)
        .add(L"return", L"pwdEdit", &CDuiSetRoom::DoPwdEditReturn)
        .add(L"textchanged", L"pwdEdit", &CDuiSetRoom::DoPwdEditChanged)
        .add(L"click", L"enableAudioOp", &CDuiSetRoom::DoOptEnableAudio)
        .add(L"click", L"enableVideoOp", &CDuiSetRoom::DoOptEnableVideo)
        .add(L"click", L"appSpeakerBtn", &CDuiSetRoom::DoApplySpeaker)
        .add(L"click", L"uploadLogbtn", &CDuiSetRoom::DoUploadLog);
    return table;
}

void CDuiSetRoom::setTabsEnabled(bool enabled) { page_.setTabsEnabled(enabled); }

LRESULT CDuiSetRoom::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    Relay().attach(GetHWND());
    const std::wstring skin = SkinFile(L"Setting-Room");
    if (!BuildSkin(skin.c_str(), nullptr)) {
        KESTRUM_LOG(Level_Error, "(%s) skin missing", CStringToUtf8(skin).c_str());
        return 0;
    }
    appSpeakerBtn_ = FindAs<DuiLib::CButtonUI>(paintManager_, L"appSpeakerBtn", L"Button");
    if (!page_.find(paintManager_) || !appSpeakerBtn_) {
        // The handlers rely on every control: a skin without them leaves the window inert.
        KESTRUM_LOG(Level_Error, "(%s) controls missing", CStringToUtf8(skin).c_str());
        paintManager_.RemoveNotifier(this);
    }
    return 0;
}

LRESULT CDuiSetRoom::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    CRoomSettingsPage::detach(GetHWND(), Relay());
    return 0;
}

LRESULT CDuiSetRoom::OnRoomUpdated(UINT, WPARAM, LPARAM, bool&) {
    // The application for the speaker role went through: the host's window takes this one's
    // place, with the tabs as usable as they are here.
    const bool tabsEnabled = page_.tabAVOpt && page_.tabAVOpt->IsEnabled();
    ISettingsHost& host = host_;
    host.closeDialog(CKestrum::kSetRoomDlg);
    host.openDialog(CKestrum::kSetOwnRoomDlg);
    if (auto* own = dynamic_cast<ISettingsTabs*>(host.dialog(CKestrum::kSetOwnRoomDlg))) {
        own->setTabsEnabled(tabsEnabled);
    }
    return 0;
}

LRESULT CDuiSetRoom::OnObserverEvent(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto event = TakePayload<WM_SETTINGS_OBSERVER_EVENT>(wParam);
    if (!event) return 0;
    switch (event->kind) {
    case ObserverEventPayload::Kind::kUpdateRoom:
        onUpdateRoom(event->code != 0);
        break;
    case ObserverEventPayload::Kind::kError:
        onCallBackError(event->api, event->text, event->code);
        break;
    case ObserverEventPayload::Kind::kLogUpload:
        writeLine(Level_Info, __LINE__, "%s(%d)", "CDuiSetRoom::onLogUpload", event->code);
        break;
    default:
        break;
    }
    return 0;
}

void CDuiSetRoom::onUpdateRoom(bool success) {
    writeLine(Level_Info, __LINE__, "%s(%d)", "CDuiSetRoom::onUpdateRoom", success);
    if (success) CRoomSettingsPage::storeConfirmed(roomStatus_, CStringToUtf8(roomPassword_));
}

void CDuiSetRoom::onCallBackError(const std::string& api, const std::string& message, int code) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetRoom::onCallBackError");
    if (page_.showError(GetHWND(), api, message, code)) updateRoomInfo();
}

void CDuiSetRoom::updateRoomInfo() {
    if (!g_kestrumData || !page_.ready() || !appSpeakerBtn_) return;
    roomPassword_ = Utf8ToCString(page_.showRoomAndPassword());
    const std::vector<std::string> hosts = CRoomSettingsPage::hosts();
    const bool hasHost = !hosts.empty();
    if (hasHost) {
        page_.showSpeaker(hosts.front());
    } else {
        page_.showSpeakerText(ZuvraKestrum::Settings::NoSpeakerText(g_language));
    }
    // The speaker sets the room; without one anybody may, or apply for the role.
    appSpeakerBtn_->SetVisible(!hasHost);
    page_.enableOptions(!hasHost);
    page_.pwdEdit->SetEnabled(!hasHost);
    roomStatus_ = page_.showStoredStatus();
}

void CDuiSetRoom::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    page_.init(GetHWND());
    updateRoomInfo();
}

void CDuiSetRoom::DoMin(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiSetRoom::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.closeDialog(CKestrum::kSetRoomDlg);
}

void CDuiSetRoom::DoLastPage(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.closeDialog(CKestrum::kSetRoomDlg);
}

void CDuiSetRoom::DoOptTabRoom(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", page_.tabRoomOpt->IsSelected());
}

void CDuiSetRoom::DoOptTabAV(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "(%d)", page_.tabAVOpt->IsSelected());
    page_.switchToAudioVideo();
}

void CDuiSetRoom::DoPwdEditSetFocus(DuiLib::TNotifyUI&) {
    if (page_.passwordText() == ZuvraKestrum::Settings::RoomPasswordHint(g_language)) {
        page_.pwdEdit->SetText(L"");
    }
}

void CDuiSetRoom::DoPwdEditChanged(DuiLib::TNotifyUI&) {
    std::wstring text = page_.passwordText();
    if (!ZuvraKestrum::Settings::CutToUnits(text, ZuvraKestrum::Settings::kRoomPasswordLimit)) {
        return;
    }
    page_.pwdEdit->SetText(text.c_str());
    page_.pwdEdit->SetSel(-1, -1);
    host_.showMsgBox(GetHWND(), ZuvraKestrum::Settings::RoomPasswordTooLongText(g_language), 0,
                     CKestrum::kErrorBox);
}

void CDuiSetRoom::DoPwdEditReturn(DuiLib::TNotifyUI&) {
    roomPassword_ = page_.passwordText();
    page_.sendUpdate(Relay(), CRoomSettingsPage::hosts(), roomStatus_,
                     CStringToUtf8(roomPassword_));
    // A click on the window takes the focus out of the edit.
    const LPARAM at = MAKELPARAM(kFocusClickX, kFocusClickY);
    ::PostMessageW(GetHWND(), WM_LBUTTONDOWN, 0, at);
    ::PostMessageW(GetHWND(), WM_LBUTTONUP, 0, at);
}

void CDuiSetRoom::DoOptEnableAudio(DuiLib::TNotifyUI&) { sendOptionClick(RoomOption::kAudio); }

void CDuiSetRoom::DoOptEnableVideo(DuiLib::TNotifyUI&) { sendOptionClick(RoomOption::kVideo); }

void CDuiSetRoom::sendOptionClick(RoomOption clicked) {
    const std::vector<std::string> hosts = CRoomSettingsPage::hosts();
    roomStatus_ = ZuvraKestrum::Settings::RoomStatusAfterClick(page_.shown(), clicked);
    // The stored password goes along: one typed but not confirmed with Return is not sent.
    const std::string password = g_kestrumData ? g_kestrumData->roomPassword : std::string();
    roomPassword_ = Utf8ToCString(password);
    page_.sendUpdate(Relay(), hosts, roomStatus_, password);
}

void CDuiSetRoom::DoApplySpeaker(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.applySpeaker();
}

void CDuiSetRoom::DoUploadLog(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!CRoomSettingsPage::uploadLogs(GetHWND())) {
        KESTRUM_LOG(Level_Warning, "() uploader not started");
    }
}
