#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/records/user_info_record.h"

class CKestrumData;

// What the video tile and the per-user menu show, and what the menu's items request, decided
// without a window. Images are the names the skins take (relative to the skin folder); texts
// are wide.
namespace ZuvraKestrum::Tiles {

// The one badge of a tile: the share mark while the room's screen share (ids start at 1) is the
// participant's own, else the host mark when the participant is the room's (first) host, else
// none. The share mark wins: the host's tile shows the host mark again once the share ends.
std::wstring Badge(const std::string& hostUid, int32_t roomShareId, const std::string& tileUid,
                   int32_t tileShareId);
// The network icon of a signal level (-1 unknown, 0 weak, 1 normal, 2 good), on the tiles and
// on the in-meeting window's big view; empty for any other value, which leaves the icon as it
// is.
std::wstring NetworkIcon(int32_t quality);

// The per-user menu's device and remove items for a participant. A host may switch a device
// off (never on: that goes through an invitation) and remove a participant, but never acts on
// a screen-share entry.
struct MenuItemStates {
    bool micSelected;  // the microphone is off
    bool micEnabled;
    bool cameraSelected;  // the camera is off
    bool cameraEnabled;
    bool removeEnabled;
};
MenuItemStates MenuStatesFor(bool ownUserIsHost, const UserInfoRecord& user);

// The own user may use the menu's device and remove items: Roles::ControlsParticipants over the
// meeting data, read under its lock; false without meeting data.
bool OwnUserControls(CKestrumData* data);

// What a click on the microphone or camera item requests. The click is reported before the
// option toggles, so selected is what the user saw: the device off.
struct DeviceSwitch {
    bool mute;                      // the request: switch the device off, or on
    std::vector<std::string> uids;  // whose: the menu's participant
    bool itemEnabled;               // the item stays usable only while it showed the device off
};
DeviceSwitch SwitchDevice(const UserInfoRecord& user, bool selected);

// The remove question for a participant's name, in the window language (0 English).
std::wstring RemoveQuestion(int language, const std::wstring& name);

}  // namespace ZuvraKestrum::Tiles
