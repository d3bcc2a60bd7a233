#include "app/windows/tiles/tile_rules.h"

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"

namespace ZuvraKestrum::Tiles {

std::wstring Badge(const std::string& hostUid, int32_t roomShareId, const std::string& tileUid,
                   int32_t tileShareId) {
    if (roomShareId >= 1 && roomShareId == tileShareId) return L"tiles/share.png";
    if (ZuvraKestrum::Roles::IsHost(hostUid, tileUid)) return L"tiles/host.png";
    return L"";
}

std::wstring NetworkIcon(int32_t quality) {
    switch (quality) {
    case -1:
        return L"unknown.png";
    case 0:
        return L"signal-weak.png";
    case 1:
        return L"signal-normal.png";
    case 2:
        return L"signal-good.png";
    default:
        return L"";
    }
}

MenuItemStates MenuStatesFor(bool ownUserIsHost, const UserInfoRecord& user) {
    const bool canControl = ownUserIsHost && user.isShareStream == 0;
    const bool micOff = (user.status & kStatusMicOff) != 0;
    const bool cameraOff = (user.status & kStatusCameraOff) != 0;
    return MenuItemStates{micOff, canControl && !micOff, cameraOff, canControl && !cameraOff,
                          canControl};
}

bool OwnUserControls(CKestrumData* data) {
    return data && Roles::ControlsParticipants(Roles::FirstHost(data->getHosts()), data->hostName,
                                               data->uid);
}

DeviceSwitch SwitchDevice(const UserInfoRecord& user, bool selected) {
    return DeviceSwitch{!selected, {std::string(user.uid)}, selected};
}

std::wstring RemoveQuestion(int language, const std::wstring& name) {
    if (language != 0) return L"\x5C06 " + name + L" \x79FB\x51FA\x623F\x95F4\xFF1F";
    return L"Remove " + name + L" from the room?";
}

}  // namespace ZuvraKestrum::Tiles
