#include "app/windows/settings/room_change.h"

#include "app/windows/settings/room_settings_rules.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_lock_guard.h"

namespace ZuvraKestrum::Settings {

std::vector<std::string> RoomHosts(CKestrumData* data) {
    return data ? data->getHosts() : std::vector<std::string>();
}

RoomUpdate RoomUpdateOf(CKestrumData* data, int status, const std::string& password) {
    return {data ? data->roomName : std::string(), RoomHosts(data), status, password};
}

void StoreConfirmedRoom(CKestrumData& data, int status, const std::string& password) {
    ZuvraKestrum::Util::CLockGuard guard(&data.lock);
    data.initialStatus = status;
    data.roomPassword = password;
}

unsigned RoomSettingsDialogOf(CKestrumData* data) {
    const bool host = data && Roles::IsHost(Roles::FirstHostOf(*data), data->uid);
    return host ? ProgramDialogs::kSetOwnRoomDlg : ProgramDialogs::kSetRoomDlg;
}

std::string SpeakerLine(CKestrumData& data, const std::string& hostUid) {
    std::string nickname;
    data.getUserNickName(hostUid, nickname);
    return SpeakerNameOf(nickname, data.hostName);
}

}  // namespace ZuvraKestrum::Settings
