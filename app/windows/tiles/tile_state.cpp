#include "app/windows/tiles/tile_state.h"

#include "app/windows/tiles/tile_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Tiles {

bool TileState::takeUser(const UserInfoRecord& record) {
    const bool another = record != user_;
    user_ = record;
    return another;
}

std::wstring TileState::name() const { return Util::Utf8ToCString(user_.name); }

bool TileState::micMarked() const { return (user_.status & kStatusMicOff) != 0; }

bool TileState::videoShown() const { return (user_.status & kStatusCameraOff) == 0; }

std::wstring TileState::badge() const {
    return Badge(hostUid_, roomShareId_, user_.uid, user_.shareId);
}

ModeLook TileState::modeLook(int roomMode) const {
    constexpr int kBoth = kStatusMicOff | kStatusCameraOff;
    ModeLook look;
    if (roomMode != 1) return look;
    look.applies = true;
    look.hidden = (user_.status & kBoth) == kBoth;
    look.picture = look.hidden ? L"file='live/default.png' dest='59,36,107,84'"
                               : L"file='tiles/No signal.png' dest='59,36,107,84'";
    return look;
}

std::unique_ptr<RemoteItemMenuBlock> MenuRequest(const TileState& tile, int32_t ownStreamId,
                                                 POINT at) {
    if (tile.isOwnStream(ownStreamId)) return nullptr;
    auto block = std::make_unique<RemoteItemMenuBlock>();
    block->user = tile.user();
    block->show = 1;
    block->at = at;
    return block;
}

TileKey KeyOf(const UserInfoRecord& record) {
    return TileKey{record.streamId, record.uid, record.shareId, record.isShareStream};
}

int32_t OwnStreamOf(const CKestrumData* data) { return data ? data->streamId : 0; }

int RoomModeOf(CKestrumData* data) { return data ? data->getChannelProfile() : -1; }

std::string RoomHostOf(CKestrumData* data) {
    return data ? Roles::FirstHostOf(*data) : std::string();
}

}  // namespace ZuvraKestrum::Tiles
