#include "app/windows/settings/room_settings_page.h"

#include "app/windows/settings/log_upload.h"
#include "app/windows/settings/nickname_rules.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/common/scoped_restore.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Settings::RoomOptions;
using ZuvraKestrum::Util::Utf8ToCString;

}  // namespace

// The shared handlers log under the window's name ("CDuiSetRoom::DoInitWnd"), as the window's
// own members do through KESTRUM_LOG.

CRoomSettingsPage::CRoomSettingsPage(const char* logName, ISettingsHost& host, unsigned dialog,
                                     const wchar_t* skinStem, CObserverRelay& relay)
    : CKestrumDump(logName, true, false, false, L""),
      host_(host),
      meeting_(host.meeting()),
      dialog_(dialog),
      skinStem_(skinStem),
      relay_(relay) {}

void CRoomSettingsPage::OnCreate() {
    // Reports reach this window while it lives.
    registerWith(relay_, &AttachWindow);
    if (!BuildLanguageSkin(skinStem_, nullptr, *this)) return;
    // The handlers rely on every control, the window's own included (ready): a skin without them
    // leaves the window inert.
    if (BindControls(*this,
                     {{L"pwdEdit", &CRoomSettingsPage::pwdEdit_},
                      {L"tabRoomOpt", &CRoomSettingsPage::tabRoomOpt_},
                      {L"tabAVOpt", &CRoomSettingsPage::tabAVOpt_},
                      {L"enableVideoOp", &CRoomSettingsPage::enableVideoOp_},
                      {L"enableAudioOp", &CRoomSettingsPage::enableAudioOp_},
                      {L"speakerNameTxt", &CRoomSettingsPage::speakerNameTxt_},
                      {L"roomNameTxt", &CRoomSettingsPage::roomNameTxt_, ControlNeed::kOptional}},
                     *this)) {
        bindOwnControls();
    }
}

void CRoomSettingsPage::OnObserverEvent(std::unique_ptr<ObserverEventPayload> event) {
    switch (event->kind) {
    case ObserverEventPayload::Kind::kUpdateRoom:
        onUpdateRoom(event->code != 0);
        break;
    case ObserverEventPayload::Kind::kError:
        onCallBackError(event->api, event->text, event->code);
        break;
    case ObserverEventPayload::Kind::kLogUpload:
        writeLine(Level_Info, __LINE__, "%s::onLogUpload(%d)", name().c_str(), event->code);
        break;
    default:
        break;
    }
}

void CRoomSettingsPage::onUpdateRoom(bool success) {
    writeLine(Level_Info, __LINE__, "%s::onUpdateRoom(%d)", name().c_str(), success);
    if (!success) return;
    ZuvraKestrum::Settings::StoreConfirmedRoom(meeting_, roomStatus_, roomPassword_);
}

void CRoomSettingsPage::onCallBackError(const std::string& api, const std::string& message,
                                        int code) {
    writeLine(Level_Info, __LINE__, "%s::onCallBackError", name().c_str());
    const auto action = ZuvraKestrum::Settings::RoomErrorActionFor(api);
    HWND window = GetHWND();
    if (action.showBox)
        host_.showMsgBox(window, Utf8ToCString(message), code, ProgramDialogs::kErrorBox);
    // The box pumps messages: the window may be gone when it returns.
    if (action.restoreControls && IsWindow(window)) updateRoomInfo();
}

void CRoomSettingsPage::DoInitWnd(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s::DoInitWnd()", name().c_str());
    // The room tab is this window; it stays above all others.
    tabRoomOpt_->SetEnabled(false);
    RECT frame;
    GetWindowRect(GetHWND(), &frame);
    SetWindowPos(GetHWND(), HWND_TOPMOST, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_SHOWWINDOW);
    updateRoomInfo();
}

void CRoomSettingsPage::DoClose(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s::DoClose()", name().c_str());
    host_.closeDialog(dialog_);
}

void CRoomSettingsPage::DoOptTabRoom(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s::DoOptTabRoom(%d)", name().c_str(),
              tabRoomOpt_->IsSelected());
}

void CRoomSettingsPage::DoOptTabAV(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s::DoOptTabAV(%d)", name().c_str(), tabAVOpt_->IsSelected());
    const bool enabled = tabAVOpt_->IsEnabled();
    ISettingsHost& host = host_;
    const unsigned dialog = dialog_;
    OpenSettingsDialog(host, ProgramDialogs::kSetAVDlg, enabled);
    host.closeDialog(dialog);
}

void CRoomSettingsPage::DoPwdEditChanged(DuiLib::TNotifyUI&) {
    if (showingPassword_) return;
    passwordTyped_ = true;
    std::wstring text = passwordText();
    if (!ZuvraKestrum::Settings::CutToUnits(text, ZuvraKestrum::Settings::kRoomPasswordLimit)) {
        return;
    }
    pwdEdit_->SetText(text.c_str());
    pwdEdit_->SetSel(-1, -1);
    host_.showMsgBox(GetHWND(), ZuvraKestrum::Settings::RoomPasswordTooLongText(g_language), 0,
                     ProgramDialogs::kErrorBox);
}

void CRoomSettingsPage::DoUploadLog(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s::DoUploadLog()", name().c_str());
    if (!ZuvraKestrum::Settings::StartLogUpload(GetHWND(), meeting_)) {
        writeLine(Level_Warning, __LINE__, "%s::DoUploadLog() uploader not started",
                  name().c_str());
    }
}

void CRoomSettingsPage::setTabsEnabled(bool enabled) {
    if (tabAVOpt_) tabAVOpt_->SetEnabled(enabled);
    if (tabRoomOpt_) tabRoomOpt_->SetEnabled(enabled);
}

std::string CRoomSettingsPage::showRoomAndPassword(bool editable) {
    if (roomNameTxt_) roomNameTxt_->SetText(Utf8ToCString(meeting_.roomName).c_str());
    const std::string password = meeting_.roomPassword;
    // Room information comes whenever anybody changes the room: it must not wipe out what the
    // user is typing. A locked edit is no longer the user's, so it shows the room's again.
    if (passwordTyped_ && editable) return password;
    passwordTyped_ = false;
    const kestrum::common::ScopedRestore showing(showingPassword_, true);
    pwdEdit_->SetText(Utf8ToCString(password).c_str());
    return password;
}

std::string CRoomSettingsPage::takeTypedPassword() {
    passwordTyped_ = false;
    return ZuvraKestrum::Util::CStringToUtf8(passwordText());
}

void CRoomSettingsPage::showSpeaker(const std::string& hostUid) {
    showSpeakerText(Utf8ToCString(ZuvraKestrum::Settings::SpeakerLine(meeting_, hostUid)).c_str());
}

void CRoomSettingsPage::showSpeakerText(const wchar_t* text) { speakerNameTxt_->SetText(text); }

int CRoomSettingsPage::showStoredStatus() {
    const int status = meeting_.initialStatus;
    const RoomOptions options = ZuvraKestrum::Settings::RoomOptionsOfStatus(status);
    enableAudioOp_->Selected(options.audioSelected, true);
    enableVideoOp_->Selected(options.videoSelected, true);
    return status;
}

RoomOptions CRoomSettingsPage::shownOptions() const {
    RoomOptions options;
    options.audioSelected = enableAudioOp_->IsSelected();
    options.videoSelected = enableVideoOp_->IsSelected();
    return options;
}

void CRoomSettingsPage::enableOptions(bool enabled) {
    enableAudioOp_->SetEnabled(enabled);
    enableVideoOp_->SetEnabled(enabled);
}

void CRoomSettingsPage::sendUpdate(int status, const std::string& password) {
    roomStatus_ = status;
    roomPassword_ = password;
    const auto update = ZuvraKestrum::Settings::RoomUpdateOf(&meeting_, status, password);
    host_.updateRoom(relay_.observerFor(GetHWND()), update.room, update.hosts, update.status, "",
                     update.password);
}

bool CRoomSettingsPage::inMeeting() {
    return host_.dialogWindow(ProgramDialogs::kLiveDlg) != nullptr;
}
