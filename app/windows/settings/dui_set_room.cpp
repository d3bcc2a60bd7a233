#include "app/windows/settings/dui_set_room.h"

#include <string>
#include <vector>

#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/core/kestrum_data.h"

namespace {

using ZuvraKestrum::Settings::RoomOption;

}  // namespace

CDuiSetRoom::CDuiSetRoom(ISettingsHost& host)
    : CDuiWindow("CDuiSetRoom", host, ProgramDialogs::kSetRoomDlg, L"Setting-Room", Relay()) {}

CDuiMessageMap<CDuiSetRoom> CDuiSetRoom::MessageMap() {
    return RoomMessageMap<CDuiSetRoom>(&CDuiSetRoom::OnRoomUpdated);
}

CDuiNotifyMap<CDuiSetRoom> CDuiSetRoom::NotifyMap() {
    CDuiNotifyMap<CDuiSetRoom> table = RoomNotifyMap<CDuiSetRoom>();
    table.add(L"click", L"minbtn", &CDuiSetRoom::DoMin)
        .add(L"click", L"lastpagebtn", &CDuiSetRoom::DoLastPage)
        .add(L"setfocus", L"pwdEdit", &CDuiSetRoom::DoPwdEditSetFocus)
        .add(L"return", L"pwdEdit", &CDuiSetRoom::DoPwdEditReturn)
        .add(L"click", L"enableAudioOp", &CDuiSetRoom::DoOptEnableAudio)
        .add(L"click", L"enableVideoOp", &CDuiSetRoom::DoOptEnableVideo)
        .add(L"click", L"appSpeakerBtn", &CDuiSetRoom::DoApplySpeaker);
    return table;
}

bool CDuiSetRoom::bindOwnControls() {
    return BindControls(*this, {{L"appSpeakerBtn", &CDuiSetRoom::appSpeakerBtn_}}, *this);
}

void CDuiSetRoom::OnRoomUpdated() {
    if (!inMeeting()) return;
    // The application for the speaker role went through: the host's window takes this one's
    // place, with the tabs as usable as they are here.
    const bool tabsEnabled = tabAVOpt_ && tabAVOpt_->IsEnabled();
    ISettingsHost& host = host_;
    host.closeDialog(ProgramDialogs::kSetRoomDlg);
    OpenSettingsDialog(host, ProgramDialogs::kSetOwnRoomDlg, tabsEnabled);
}

void CDuiSetRoom::updateRoomInfo() {
    if (!ready()) return;
    const std::vector<std::string> hosts = ZuvraKestrum::Settings::RoomHosts(&meeting_);
    const bool hasHost = !hosts.empty();
    roomPassword_ = showRoomAndPassword(!hasHost);
    if (hasHost) {
        showSpeaker(hosts.front());
    } else {
        showSpeakerText(ZuvraKestrum::Settings::NoSpeakerText(g_language));
    }
    // The speaker sets the room; without one anybody may, or apply for the role.
    appSpeakerBtn_->SetVisible(!hasHost);
    enableOptions(!hasHost);
    pwdEdit_->SetEnabled(!hasHost);
    roomStatus_ = showStoredStatus();
}

void CDuiSetRoom::DoMin(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiSetRoom::DoLastPage(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.closeDialog(ProgramDialogs::kSetRoomDlg);
}

void CDuiSetRoom::DoPwdEditSetFocus(DuiLib::TNotifyUI&) {
    if (passwordText() == ZuvraKestrum::Settings::RoomPasswordHint(g_language)) {
        pwdEdit_->SetText(L"");
    }
}

void CDuiSetRoom::DoPwdEditReturn(DuiLib::TNotifyUI&) {
    sendUpdate(roomStatus_, takeTypedPassword());
    // A click on the window takes the focus out of the edit.
    const LPARAM at = MAKELPARAM(kFocusClickX, kFocusClickY);
    ::PostMessageW(GetHWND(), WM_LBUTTONDOWN, 0, at);
    ::PostMessageW(GetHWND(), WM_LBUTTONUP, 0, at);
}

void CDuiSetRoom::DoOptEnableAudio(DuiLib::TNotifyUI&) { sendOptionClick(RoomOption::kAudio); }

void CDuiSetRoom::DoOptEnableVideo(DuiLib::TNotifyUI&) { sendOptionClick(RoomOption::kVideo); }

void CDuiSetRoom::sendOptionClick(RoomOption clicked) {
    const int status = ZuvraKestrum::Settings::RoomStatusAfterClick(shownOptions(), clicked);
    // The stored password goes along: one typed but not confirmed with Return is not sent.
    sendUpdate(status, meeting_.roomPassword);
}

void CDuiSetRoom::DoApplySpeaker(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    host_.applySpeaker(GetHWND());
}
