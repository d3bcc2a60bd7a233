#include "app/windows/settings/dui_set_own_room.h"

#include <string>
#include <vector>

#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/core/kestrum_data.h"

namespace {

using ZuvraKestrum::Settings::RoomOption;

}  // namespace

CDuiSetOwnRoom::CDuiSetOwnRoom(ISettingsHost& host)
    : CDuiWindow("CDuiSetOwnRoom", host, ProgramDialogs::kSetOwnRoomDlg, L"Setting-OwnRoom",
                 Relay()) {}

CDuiMessageMap<CDuiSetOwnRoom> CDuiSetOwnRoom::MessageMap() {
    return RoomMessageMap<CDuiSetOwnRoom>(&CDuiSetOwnRoom::OnRoomUpdated);
}

CDuiNotifyMap<CDuiSetOwnRoom> CDuiSetOwnRoom::NotifyMap() {
    CDuiNotifyMap<CDuiSetOwnRoom> table = RoomNotifyMap<CDuiSetOwnRoom>();
    table.add(L"return", L"pwdEdit", &CDuiSetOwnRoom::DoPwdEditReturn)
        .add(L"click", L"enableVideoOp", &CDuiSetOwnRoom::DoOptEnableVideo)
        .add(L"click", L"enableAudioOp", &CDuiSetOwnRoom::DoOptEnableAudio)
        .add(L"click", L"GiveupSpeakerBtn", &CDuiSetOwnRoom::DoGiveupSpeaker)
        .add(L"click", L"surebtn", &CDuiSetOwnRoom::DoSure);
    return table;
}

void CDuiSetOwnRoom::OnRoomUpdated() {
    if (!inMeeting()) return;
    // The speaker role was given up: the participant's window takes this one's place.
    ISettingsHost& host = host_;
    host.closeDialog(ProgramDialogs::kSetOwnRoomDlg);
    OpenSettingsDialog(host, ProgramDialogs::kSetRoomDlg);
}

void CDuiSetOwnRoom::updateRoomInfo() {
    if (!ready()) return;
    roomPassword_ = showRoomAndPassword(true);
    const std::vector<std::string> hosts = ZuvraKestrum::Settings::RoomHosts(&meeting_);
    // Without a host the speaker line keeps the skin's text and the options their state.
    if (!hosts.empty()) {
        showSpeaker(hosts.front());
        enableOptions(true);
    }
    showStoredStatus();
}

void CDuiSetOwnRoom::DoPwdEditReturn(DuiLib::TNotifyUI& notification) {
    KESTRUM_LOG(Level_Info, "()");
    DoSure(notification);
}

void CDuiSetOwnRoom::DoOptEnableVideo(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::DoOptEnableVideo");
    send(ZuvraKestrum::Settings::RoomStatusAfterClick(shownOptions(), RoomOption::kVideo));
}

void CDuiSetOwnRoom::DoOptEnableAudio(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::DoOptEnableAudio");
    send(ZuvraKestrum::Settings::RoomStatusAfterClick(shownOptions(), RoomOption::kAudio));
}

void CDuiSetOwnRoom::DoSure(DuiLib::TNotifyUI&) {
    send(ZuvraKestrum::Settings::RoomStatusOf(shownOptions()));
}

void CDuiSetOwnRoom::send(int status) { sendUpdate(status, takeTypedPassword()); }

void CDuiSetOwnRoom::DoGiveupSpeaker(DuiLib::TNotifyUI&) {
    writeLine(Level_Info, __LINE__, "%s", "CDuiSetOwnRoom::DoGiveupSpeaker");
    host_.giveupSpeaker(GetHWND());
}
