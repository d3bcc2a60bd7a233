#pragma once

#include <string>

#include "app/windows/join/room_name_input.h"

// The rules of the two room settings windows (the host's and the participant's), apart from any
// window. Pure.
//
// The room's initial status says which devices of a participant start off on entering: bit 0
// (kRoomMicOff) the microphone, bit 1 (kRoomCameraOff) the camera. The windows show it as two
// options, "audio enabled" and "video enabled", each selected exactly when its bit is clear.
namespace ZuvraKestrum::Settings {

constexpr int kRoomMicOff = 1;
constexpr int kRoomCameraOff = 2;

// The most UTF-16 units a room password may have: what joining a room accepts, so that whoever
// enters the room can type the password it is given.
constexpr size_t kRoomPasswordLimit = ZuvraKestrum::Join::kMaxPasswordLength;

// What the two options show for a status.
struct RoomOptions {
    bool audioSelected = true;
    bool videoSelected = true;
};
RoomOptions RoomOptionsOfStatus(int status);

// The status the options stand for.
int RoomStatusOf(const RoomOptions& options);

// The option a click landed on.
enum class RoomOption { kAudio, kVideo };

// The status to send for a click on one option, given what both show when the click arrives
// (an option reports its click before it toggles): the clicked one counts as toggled.
int RoomStatusAfterClick(const RoomOptions& shown, RoomOption clicked);

// What a failed request of a room settings window puts right: every failure shows the error box;
// a refused room update (api "room/update", 2003 among them) also puts the meeting data's
// password and options back into the window, since the window shows what the user chose and the
// service kept the old values. Failures of other requests leave the controls alone.
struct RoomErrorAction {
    bool showBox = true;
    bool restoreControls = false;
};
RoomErrorAction RoomErrorActionFor(const std::string& api);

// The speaker line: the host's nickname, else the room's host-name text (UTF-8 both).
const std::string& SpeakerNameOf(const std::string& nickname, const std::string& hostName);

// The speaker line of a room without host: "None" (language 0) or its Chinese form.
const wchar_t* NoSpeakerText(int language);

// The hint an empty password edit shows.
const wchar_t* RoomPasswordHint(int language);

// The error shown when a typed password was cut to kRoomPasswordLimit.
const wchar_t* RoomPasswordTooLongText(int language);

}  // namespace ZuvraKestrum::Settings
