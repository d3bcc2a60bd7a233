#include "app/windows/join/dui_set_nick_name.h"

#include "app/windows/join/join_results.h"
#include "app/windows/join/room_name_input.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/window_messages.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"

using namespace ZuvraKestrum::Join;

CDuiSetNickName::CDuiSetNickName(IJoinHost& host)
    : CKestrumDump("CDuiSetNickName", true, false, false, L""),
      host_(host),
      meeting_(host.meeting()) {}

CDuiMessageMap<CDuiSetNickName> CDuiSetNickName::MessageMap() {
    return StandardMessageMap(&CDuiSetNickName::OnCreate);
}

CDuiNotifyMap<CDuiSetNickName> CDuiSetNickName::NotifyMap() {
    CDuiNotifyMap<CDuiSetNickName> table;
    table.add(L"windowinit", L"MainFrame", &CDuiSetNickName::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiSetNickName::DoMin)
        .add(L"click", L"closebtn", &CDuiSetNickName::DoClose)
        .add(L"click", L"lastPagebtn", &CDuiSetNickName::DoClose)
        .add(L"click", L"surebtn", &CDuiSetNickName::DoSure)
        .add(L"textchanged", L"nickEdit", &CDuiSetNickName::DoNickEditChanged)
        .add(L"setfocus", L"nickEdit", &CDuiSetNickName::DoNickEditSetFocus);
    return table;
}

const JoinTexts& CDuiSetNickName::texts() const { return JoinTextsFor(g_language); }

void CDuiSetNickName::OnCreate() {
    if (!BuildLanguageSkin(L"NickName", nullptr, *this)) return;
    BindControls(*this,
                 {{L"lastPagebtn", &CDuiSetNickName::lastPage_},
                  {L"nickEdit", &CDuiSetNickName::nickEdit_},
                  {L"surebtn", &CDuiSetNickName::sure_},
                  {L"versionLab", &CDuiSetNickName::versionLab_}},
                 *this);
}

void CDuiSetNickName::DoInitWnd(DuiLib::TNotifyUI&) {
    if (!nickEdit_) return;
    std::wstring version;
    versionLab_->SetText(host_.engine().GetSdkVersion(version).c_str());
}

void CDuiSetNickName::DoMin(DuiLib::TNotifyUI&) {
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiSetNickName::DoClose(DuiLib::TNotifyUI&) {
    host_.dialogs().closeDialog(ProgramDialogs::kNickNameDlg);
}

void CDuiSetNickName::DoNickEditChanged(DuiLib::TNotifyUI&) {
    if (!nickEdit_) return;
    std::wstring cut = nickEdit_->GetText();
    if (!CutToLimit(cut, kMaxNicknameLength)) return;
    // Raises "textchanged" again, which finds the text short enough.
    nickEdit_->SetText(cut.c_str());
    const long end = static_cast<long>(cut.size());
    nickEdit_->SetSel(end, end);
    host_.dialogs().showMsgBox(GetHWND(), texts().nicknameTooLong, 0, ProgramDialogs::kErrorBox);
}

void CDuiSetNickName::DoNickEditSetFocus(DuiLib::TNotifyUI&) {
    if (nickEdit_ && nickEdit_->GetText() == texts().nicknameHint) nickEdit_->SetText(L"");
}

void CDuiSetNickName::DoSure(DuiLib::TNotifyUI&) {
    if (!nickEdit_) return;
    nickname_ = nickEdit_->GetText();
    if (nickname_.empty() || nickname_ == texts().nicknameHint) {
        nickname_.clear();
        nickEdit_->SetText(L"");
        host_.dialogs().showMsgBox(GetHWND(), texts().nicknameHint, 0, ProgramDialogs::kWarningBox);
        return;
    }
    CKestrumData& data = meeting_;
    ApplyNickname(nickname_, data);
    host_.updateInfo(host_.course(), "", data.nickname.c_str(), data.portraitId.c_str());
    writeLine(Level_Info, __LINE__, "%s(SetNickName: '%s',PortraitId: '%s')", "updateInfo",
              data.nickname.c_str(), data.portraitId.c_str());

    IDialogTable& dialogs = host_.dialogs();
    dialogs.closeDialog(ProgramDialogs::kNickNameDlg);
    PostEmpty<WM_NICKNAME_UPDATED>(dialogs.dialogWindow(ProgramDialogs::kLoginDlg));
}
