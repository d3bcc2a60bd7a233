#include "app/windows/settings/dui_user_config.h"

#include "app/windows/settings/avatar_check.h"
#include "app/windows/settings/log_upload.h"
#include "app/windows/settings/nickname_rules.h"
#include "app/windows/settings/profile_change.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace {

using ZuvraKestrum::Util::CStringToUtf8;
using ZuvraKestrum::Util::Utf8ToCString;
namespace Settings = ZuvraKestrum::Settings;

}  // namespace

CDuiUserConfig::CDuiUserConfig(ISettingsHost& host)
    : CKestrumDump("CDuiUserConfig", true, false, false, L""),
      host_(host),
      meeting_(host.meeting()) {}

CDuiNotifyMap<CDuiUserConfig> CDuiUserConfig::NotifyMap() {
    CDuiNotifyMap<CDuiUserConfig> table;
    table.add(L"windowinit", L"MainFrame", &CDuiUserConfig::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiUserConfig::DoMin)
        .add(L"click", L"closebtn", &CDuiUserConfig::DoClose)
        .add(L"click", L"lastpagebtn", &CDuiUserConfig::DoLastPage)
        .add(L"click", L"photobtn", &CDuiUserConfig::DoUpdatePhoto)
        .add(L"selectchanged", L"MicOpt", &CDuiUserConfig::DoOptEnableMic)
        .add(L"selectchanged", L"CamOpt", &CDuiUserConfig::DoOptEnableCamera)
        .add(L"return", L"nickEdit", &CDuiUserConfig::DoNickEditReturn)
        .add(L"textchanged", L"nickEdit", &CDuiUserConfig::DoNickEditChanged)
        .add(L"click", L"surebtn", &CDuiUserConfig::DoSure)
        .add(L"click", L"uploadLogbtn", &CDuiUserConfig::DoUploadLog)
        .add(L"setfocus", L"nickEdit", &CDuiUserConfig::DoNickEditSetFocus);
    return table;
}

CDuiMessageMap<CDuiUserConfig> CDuiUserConfig::MessageMap() {
    auto table = StandardMessageMap(&CDuiUserConfig::OnCreate);
    table
        .on<WM_COPYDATA>(&CDuiUserConfig::OnCopyData, RowMode::kPassOn)
        // The avatar upload and the log upload end their waits alike.
        .on<WM_TIMER>(&CDuiFrameWindow::OnUploadWaitTimer, RowMode::kPassOn)
        .on<WM_SETTINGS_OBSERVER_EVENT>(&CDuiUserConfig::OnObserverEvent);
    return table;
}

void CDuiUserConfig::OnCreate() {
    // Reports reach this window while it lives.
    registerWith(Relay(), &AttachWindow);
    if (!BuildLanguageSkin(L"OwnerConfig", nullptr, *this)) return;
    // The handlers rely on every control: a skin without them leaves the window inert.
    BindControls(*this,
                 {{L"photobtn", &CDuiUserConfig::photoBtn_},
                  {L"nickEdit", &CDuiUserConfig::nickEdit_},
                  {L"CamOpt", &CDuiUserConfig::camOpt_},
                  {L"MicOpt", &CDuiUserConfig::micOpt_}},
                 *this);
}

void CDuiUserConfig::OnCopyData(const COPYDATASTRUCT* answer) {
    if (!answer) return;
    host_.toast(GetHWND(), Settings::UploadAnswerText(*answer, g_language), kToastMs);
    EnableWindow(GetHWND(), TRUE);
}

void CDuiUserConfig::OnObserverEvent(std::unique_ptr<ObserverEventPayload> event) {
    switch (event->kind) {
    case ObserverEventPayload::Kind::kUpdatePhoto:
        onUpdatePhoto(event->text);
        break;
    case ObserverEventPayload::Kind::kError:
        onCallBackError(*event);
        break;
    default:
        break;
    }
}

void CDuiUserConfig::onUpdatePhoto(const std::string& portraitId) {
    KESTRUM_LOG(Level_Info, "(%s)", portraitId.c_str());
    EnableWindow(GetHWND(), TRUE);
    switch (Settings::CacheUploadedAvatar(
        chosenPath_, ZuvraKestrum::Util::GetPortraitCachePath(portraitId), photoPath_, meeting_)) {
    case Settings::AvatarCaching::kCached:
        showPhoto(photoPath_);
        break;
    case Settings::AvatarCaching::kNoCacheFile:
        KESTRUM_LOG(Level_Warning, "(%s) no cache file for this id", portraitId.c_str());
        break;
    case Settings::AvatarCaching::kCopyFailed:
        KESTRUM_LOG(Level_Warning, "(%s) copy failed (%lu)", portraitId.c_str(), GetLastError());
        break;
    }
    PostPayload<WM_GET_PHOTO>(host_.dialogWindow(ProgramDialogs::kLoginDlg),
                              NewRecord<std::string>(portraitId));
    host_.updateInfo(host_.courseObserver(), "", meeting_.nickname, portraitId);
}

void CDuiUserConfig::onCallBackError(const ObserverEventPayload& error) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", error.api.c_str(), error.text.c_str(), error.code);
    EnableWindow(GetHWND(), TRUE);
    // Only the avatar upload is this window's own request.
    if (error.api != "account/portrait") return;
    HWND window = GetHWND();
    host_.showMsgBox(window, Utf8ToCString(error.text), error.code, ProgramDialogs::kErrorBox);
    // The box runs every window's messages: this one may have been closed and deleted meanwhile.
    if (IsWindow(window)) showPhoto(photoPath_);
}

void CDuiUserConfig::showPhoto(const std::wstring& picture) {
    // The relay's reports reach an inert window too.
    if (!photoBtn_) return;
    photoBtn_->SetBkImage(picture.c_str());
    if (Settings::IsPictureFile(picture)) photoBtn_->SetText(L"");
}

void CDuiUserConfig::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    photoPath_ = Utf8ToCString(meeting_.portraitPath);
    showPhoto(photoPath_);
    const std::wstring nickname = Utf8ToCString(meeting_.nickname);
    if (!nickname.empty()) nickEdit_->SetText(nickname.c_str());
    camOpt_->Selected(meeting_.cameraOff, true);
    micOpt_->Selected(meeting_.micOff, true);
}

void CDuiUserConfig::DoMin(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiUserConfig::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.closeDialog(ProgramDialogs::kUserConfigDlg);
}

void CDuiUserConfig::DoLastPage(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.closeDialog(ProgramDialogs::kUserConfigDlg);
}

void CDuiUserConfig::DoUpdatePhoto(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    const std::wstring path = host_.chooseAvatarFile(GetHWND());
    if (path.empty()) return;
    chosenPath_ = path;
    const int refusal = Settings::AvatarRefusalCode(
        Settings::CheckAvatar(path, Settings::FileSizeOf(path), Settings::FileHeadOf(path)));
    if (refusal != 0) {
        refuseAvatar(refusal);
        return;
    }
    EnableWindow(GetHWND(), FALSE);
    host_.updatePhoto(Relay().observerFor(GetHWND()), CStringToUtf8(path));
    SetTimer(GetHWND(), kUploadWaitTimer, kAvatarUploadWaitMs, nullptr);
}

void CDuiUserConfig::refuseAvatar(int code) {
    host_.showMsgBox(GetHWND(), Settings::AvatarFailedText(g_language), code,
                     ProgramDialogs::kErrorBox);
}

void CDuiUserConfig::DoOptEnableMic(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, "()"); }

void CDuiUserConfig::DoOptEnableCamera(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, "()"); }

void CDuiUserConfig::DoNickEditReturn(DuiLib::TNotifyUI&) {
    // Return does not confirm the window: only the confirm button saves.
    KESTRUM_LOG(Level_Info, "()");
}

void CDuiUserConfig::DoNickEditChanged(DuiLib::TNotifyUI&) {
    std::wstring text = nickEdit_->GetText();
    if (!Settings::CutNickname(text)) return;
    nickEdit_->SetText(text.c_str());
    nickEdit_->SetSel(-1, -1);
    host_.showMsgBox(GetHWND(), Settings::NicknameTooLongText(g_language), 0,
                     ProgramDialogs::kWarningBox);
}

void CDuiUserConfig::DoNickEditSetFocus(DuiLib::TNotifyUI&) {
    if (nickEdit_->GetText() == Settings::NicknameHint(g_language)) {
        nickEdit_->SetText(L"");
    }
}

void CDuiUserConfig::DoSure(DuiLib::TNotifyUI&) {
    const std::wstring text = nickEdit_->GetText();
    if (Settings::IsMissingNickname(text, g_language)) {
        nickEdit_->SetText(L"");
        host_.showMsgBox(GetHWND(), Settings::NicknameHint(g_language), 0,
                         ProgramDialogs::kWarningBox);
        return;
    }
    Settings::ApplyProfile({text, camOpt_->IsSelected(), micOpt_->IsSelected()}, meeting_,
                           host_.config());
    host_.updateInfo(host_.courseObserver(), "", meeting_.nickname, meeting_.portraitId);
    host_.closeDialog(ProgramDialogs::kUserConfigDlg);
}

void CDuiUserConfig::DoUploadLog(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!Settings::StartLogUpload(GetHWND(), meeting_)) {
        KESTRUM_LOG(Level_Warning, "() uploader not started");
    }
}
