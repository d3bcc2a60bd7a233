#include "app/windows/settings/room_settings_rules.h"

namespace ZuvraKestrum::Settings {

RoomOptions RoomOptionsOfStatus(int status) {
    RoomOptions options;
    options.audioSelected = (status & kRoomMicOff) == 0;
    options.videoSelected = (status & kRoomCameraOff) == 0;
    return options;
}

int RoomStatusOf(const RoomOptions& options) {
    return (options.audioSelected ? 0 : kRoomMicOff) | (options.videoSelected ? 0 : kRoomCameraOff);
}

int RoomStatusAfterClick(const RoomOptions& shown, RoomOption clicked) {
    RoomOptions after = shown;
    if (clicked == RoomOption::kAudio) after.audioSelected = !after.audioSelected;
    if (clicked == RoomOption::kVideo) after.videoSelected = !after.videoSelected;
    return RoomStatusOf(after);
}

RoomErrorAction RoomErrorActionFor(const std::string& api) {
    RoomErrorAction action;
    action.restoreControls = api == "room/update";
    return action;
}

const std::string& SpeakerNameOf(const std::string& nickname, const std::string& hostName) {
    return nickname.empty() ? hostName : nickname;
}

const wchar_t* NoSpeakerText(int language) { return language == 0 ? L"None" : L"无"; }

const wchar_t* RoomPasswordHint(int language) {
    return language == 0 ? L"Room password" : L"房间密码";
}

const wchar_t* RoomPasswordTooLongText(int language) {
    return language == 0 ? L"Room Password must not exceed 18 characters"
                         : L"房间密码长度不能大于18位";
}

}  // namespace ZuvraKestrum::Settings
