#include "app/windows/tiles/tile_state.h"

#include <gtest/gtest.h>

#include "kestrum/core/kestrum_data.h"

namespace {

using ZuvraKestrum::Tiles::MenuRequest;
using ZuvraKestrum::Tiles::TileState;

UserInfoRecord Record(const char* uid, int32_t streamId, int32_t status = 0, int32_t shareId = -1,
                      uint8_t isShare = 0) {
    UserInfoRecord record(uid, "\xE7\x8E\x8B Ann", "", streamId, "", status, shareId, 0);
    record.isShareStream = isShare;
    return record;
}

TEST(TileStateTest, TheTileShowsTheLatestRecordWithTheRoomsHostAndShareItWasGiven) {
    struct Case {
        const char* name;
        UserInfoRecord record;
        const char* host;
        int32_t roomShare;
        bool micMarked;
        bool videoShown;
        const wchar_t* badge;
    };
    const Case cases[] = {
        {"host, both on", Record("u1", 7), "u1", 0, false, true, L"tiles/host.png"},
        {"microphone off", Record("u1", 7, kStatusMicOff), "u2", 0, true, true, L""},
        {"camera off, sharing", Record("u1", 7, kStatusCameraOff, 5), "u1", 5, false, false,
         L"tiles/share.png"},
        {"both off, another share", Record("u1", 7, kStatusMicOff | kStatusCameraOff, 5), "u1", 6,
         true, false, L"tiles/host.png"},
    };
    TileState tile(Record("u0", 3));
    for (const Case& c : cases) {
        tile.setHost(c.host);
        tile.setRoomShare(c.roomShare);
        static_cast<void>(tile.takeUser(c.record));
        EXPECT_EQ(tile.micMarked(), c.micMarked) << c.name;
        EXPECT_EQ(tile.videoShown(), c.videoShown) << c.name;
        EXPECT_EQ(tile.badge(), c.badge) << c.name;
    }
    EXPECT_EQ(tile.name(), L"\x738B Ann");
    // The host and the share stay with the tile when a record comes without them.
    ASSERT_FALSE(tile.takeUser(Record("u1", 7, 0, 6)));
    EXPECT_EQ(tile.badge(), L"tiles/share.png");
}

// In a room of mode 1 a listener (microphone and camera off) has no tile to see; in any other
// mode the tile shows whatever the devices do.
TEST(TileStateTest, InARoomOfModeOneAListenersTileHides) {
    struct Case {
        int mode;
        int32_t status;
        bool applies;
        bool hidden;
        const wchar_t* picture;
    };
    const Case cases[] = {
        {1, kStatusMicOff | kStatusCameraOff, true, true, L"live/default.png"},
        {1, kStatusCameraOff, true, false, L"tiles/No signal.png"},
        {1, kStatusMicOff, true, false, L"tiles/No signal.png"},
        {0, kStatusMicOff | kStatusCameraOff, false, false, L""},
        {-1, kStatusMicOff | kStatusCameraOff, false, false, L""},
    };
    for (const Case& c : cases) {
        const TileState tile(Record("u1", 7, c.status));
        const ZuvraKestrum::Tiles::ModeLook look = tile.modeLook(c.mode);
        EXPECT_EQ(look.applies, c.applies) << c.mode << " " << c.status;
        EXPECT_EQ(look.hidden, c.hidden) << c.mode << " " << c.status;
        EXPECT_NE(std::wstring(look.picture).find(c.picture), std::wstring::npos) << c.mode;
    }
}

TEST(TileStateTest, OnlyAnotherEntryAsksForTheVideoToBeBoundAgain) {
    TileState tile(Record("u1", 7));
    EXPECT_FALSE(tile.takeUser(Record("u1", 7, kStatusCameraOff, 9)));
    EXPECT_FALSE(tile.videoShown());  // the status is taken all the same
    EXPECT_TRUE(tile.takeUser(Record("u1", 8)));
    EXPECT_TRUE(tile.takeUser(Record("u2", 8)));
    EXPECT_TRUE(tile.takeUser(Record("u2", 8, 0, -1, 1)));
    EXPECT_EQ(tile.user().isShareStream, 1);
}

TEST(TileStateTest, ARightClickAsksForTheMenuOfOthersOnlyAtTheScreenPoint) {
    const TileState own(Record("me", 1));
    EXPECT_TRUE(own.isOwnStream(1));
    EXPECT_EQ(MenuRequest(own, 1, POINT{5, 6}), nullptr);

    const TileState other(Record("u1", 7, kStatusMicOff));
    const auto block = MenuRequest(other, 1, POINT{-5, 600});
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->user, other.user());
    EXPECT_EQ(block->user.status, kStatusMicOff);
    EXPECT_EQ(block->show, 1);
    EXPECT_EQ(block->at.x, -5);
    EXPECT_EQ(block->at.y, 600);
}

}  // namespace
