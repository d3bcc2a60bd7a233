#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/windows/skeleton/window_messages.h"
#include "app/windows/tiles/strip_layout.h"
#include "kestrum/records/user_info_record.h"

class CKestrumData;

// What one video tile shows and asks for, apart from its window.
namespace ZuvraKestrum::Tiles {

// What a tile shows under its video, and whether it shows at all, in a room of the given mode
// (the channel profile of the room's record). Only mode 1 decides: a participant with neither
// microphone nor camera on only listens, and its tile shows the person picture and hides; any
// other shows the camera-off picture and the tile. Other modes leave both as they are.
struct ModeLook {
    bool applies = false;
    const wchar_t* picture = L"";
    bool hidden = false;
};

// A tile's participant with the room's host and the room's screen share it was last given, and
// what the tile shows of them: the name, the microphone mark, the video and one badge. A plain
// value; no thread affinity (the tile keeps its own on its window's thread).
class TileState {
public:
    explicit TileState(const UserInfoRecord& user) : user_(user) {}

    const UserInfoRecord& user() const { return user_; }
    // Takes the record; true when it is another entry (UserInfoRecord's equality: uid text,
    // stream and share flag), whose stream the video must then be bound to.
    [[nodiscard]] bool takeUser(const UserInfoRecord& record);
    void setHost(const std::string& hostUid) { hostUid_ = hostUid; }
    // The room's screen share; 0 (the start) and below are no share.
    void setRoomShare(int32_t shareId) { roomShareId_ = shareId; }

    // The name label's text and tooltip: the record's UTF-8 name, converted directly.
    std::wstring name() const;
    // The microphone mark is selected: the participant's microphone is off.
    bool micMarked() const;
    // The video shows unless the participant's camera is off.
    bool videoShown() const;
    // Badge() of the host, the room's share and the participant.
    std::wstring badge() const;
    ModeLook modeLook(int roomMode) const;
    // The stream is the user's own (ownStreamId, the meeting data's): the tile shows the local
    // preview instead of a received stream and takes no input.
    bool isOwnStream(int32_t ownStreamId) const { return user_.streamId == ownStreamId; }

private:
    UserInfoRecord user_;
    std::string hostUid_;
    int32_t roomShareId_ = 0;
};

// What a right click at the screen point asks the strip for: the per-user menu of the tile's
// participant. Null for the user's own stream: the menu acts on others, so the owner of the own
// tile (the in-meeting window, which takes no such request) is never sent one.
std::unique_ptr<RemoteItemMenuBlock> MenuRequest(const TileState& tile, int32_t ownStreamId,
                                                 POINT at);

// The strip's key of the record's tile.
TileKey KeyOf(const UserInfoRecord& record);

// The meeting data's own stream id; 0 without meeting data.
int32_t OwnStreamOf(const CKestrumData* data);
// The room's mode (its record's channel profile), read under the meeting data's lock; -1 without
// meeting data or record.
int RoomModeOf(CKestrumData* data);
// The room's host as the meeting data's host list gives it (Roles::FirstHost), read under its
// lock; empty without meeting data.
std::string RoomHostOf(CKestrumData* data);

}  // namespace ZuvraKestrum::Tiles
