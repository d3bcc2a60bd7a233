// The rules of the room settings windows, apart from any window.

#include <gtest/gtest.h>

#include <string>

#include "app/windows/settings/nickname_rules.h"
#include "app/windows/settings/room_change.h"
#include "app/windows/settings/room_settings_rules.h"
#include "meeting_data_fixture.h"

namespace {

using namespace ZuvraKestrum::Settings;

TEST(RoomStatus, EveryStatusShowsItsOptionsAndTheOptionsGiveItBack) {
    const struct {
        int status;
        bool audio;
        bool video;
    } cases[] = {{0, true, true}, {1, false, true}, {2, true, false}, {3, false, false}};
    for (const auto& expected : cases) {
        const RoomOptions options = RoomOptionsOfStatus(expected.status);
        EXPECT_EQ(options.audioSelected, expected.audio) << expected.status;
        EXPECT_EQ(options.videoSelected, expected.video) << expected.status;
        EXPECT_EQ(RoomStatusOf(options), expected.status);
    }
    // Bits the windows do not show are not theirs to send back.
    EXPECT_EQ(RoomStatusOf(RoomOptionsOfStatus(4 | 1)), 1);
}

TEST(RoomStatus, AClickCountsTheClickedOptionToggledAndTheOtherAsShown) {
    const RoomOptions both = RoomOptionsOfStatus(0);
    EXPECT_EQ(RoomStatusAfterClick(both, RoomOption::kAudio), 1);
    EXPECT_EQ(RoomStatusAfterClick(both, RoomOption::kVideo), 2);
    const RoomOptions none = RoomOptionsOfStatus(3);
    EXPECT_EQ(RoomStatusAfterClick(none, RoomOption::kAudio), 2);
    EXPECT_EQ(RoomStatusAfterClick(none, RoomOption::kVideo), 1);
    const RoomOptions videoOnly = RoomOptionsOfStatus(1);
    EXPECT_EQ(RoomStatusAfterClick(videoOnly, RoomOption::kAudio), 0);
    EXPECT_EQ(RoomStatusAfterClick(videoOnly, RoomOption::kVideo), 3);
}

TEST(RoomErrors, OnlyARefusedRoomUpdatePutsTheStoredValuesBackButEveryErrorIsShown) {
    EXPECT_TRUE(RoomErrorActionFor("room/update").restoreControls);
    for (const char* other :
         {"room/join", "room/ctrl", "account/portrait", "room/update/", "ROOM/UPDATE", ""}) {
        const RoomErrorAction action = RoomErrorActionFor(other);
        EXPECT_FALSE(action.restoreControls) << other;
        EXPECT_TRUE(action.showBox) << other;
    }
    EXPECT_TRUE(RoomErrorActionFor("room/update").showBox);
}

TEST(RoomTexts, SpeakerNameFallsBackToTheHostNameAndPasswordsAreCutAt18) {
    EXPECT_EQ(SpeakerNameOf("Ann", "host text"), "Ann");
    EXPECT_EQ(SpeakerNameOf("", "host text"), "host text");
    EXPECT_STREQ(NoSpeakerText(0), L"None");
    EXPECT_STREQ(NoSpeakerText(1), L"无");

    std::wstring password = L"abcdefghijklmnopqrs";
    EXPECT_TRUE(CutToUnits(password, kRoomPasswordLimit));
    EXPECT_EQ(password, L"abcdefghijklmnopqr");
    EXPECT_FALSE(CutToUnits(password, kRoomPasswordLimit));
    // A character outside the basic plane is kept whole or not at all.
    std::wstring wide = std::wstring(17, L'a') + L"\xD83D\xDE00";
    EXPECT_TRUE(CutToUnits(wide, kRoomPasswordLimit));
    EXPECT_EQ(wide, std::wstring(17, L'a'));
    std::wstring none = L"x";
    EXPECT_TRUE(CutToUnits(none, 0));
    EXPECT_EQ(none, L"");
}

TEST(RoomChange, AnUpdateCarriesTheRoomAndItsHostsAndOnlyItsConfirmationIsKept) {
    const RoomUpdate alone = RoomUpdateOf(nullptr, 3, "pw");
    EXPECT_EQ(alone.room, "");
    EXPECT_TRUE(alone.hosts.empty());
    EXPECT_EQ(alone.status, 3);
    EXPECT_EQ(alone.password, "pw");

    MeetingDataFixture meeting;
    CKestrumData& data = meeting.data();
    data.roomName = "room-1";
    data.hosts = {"boss", "me"};
    data.hostName = "Host text";
    data.roomPassword = "old";
    data.userList.emplace_back("boss", "Boss", "", 7, "", 0, -1, 0);
    const RoomUpdate update = RoomUpdateOf(&data, 2, "new");
    EXPECT_EQ(update.room, "room-1");
    EXPECT_EQ(update.hosts, RoomHosts(&data));
    EXPECT_EQ(update.hosts, data.hosts);
    EXPECT_EQ(data.roomPassword, "old");  // sending writes nothing
    StoreConfirmedRoom(data, update.status, update.password);
    EXPECT_EQ(data.initialStatus, 2);
    EXPECT_EQ(data.roomPassword, "new");

    EXPECT_EQ(SpeakerLine(data, "boss"), "Boss");
    EXPECT_EQ(SpeakerLine(data, "gone"), "Host text");
}

}  // namespace
