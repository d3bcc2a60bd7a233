#include "app/windows/tiles/tile_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/core/kestrum_data.h"

namespace {

using namespace ZuvraKestrum::Tiles;

TEST(TileRulesTest, TheBadgeShowsTheTilesOwnShareElseItsHostMark) {
    EXPECT_EQ(Badge("u1", 0, "u1", -1), L"tiles/host.png");
    EXPECT_EQ(Badge("u2", 0, "u1", -1), L"");
    EXPECT_EQ(Badge("", 0, "", -1), L"");  // a room without hosts marks nobody

    EXPECT_EQ(Badge("u2", 5, "u1", 5), L"tiles/share.png");
    EXPECT_EQ(Badge("u1", 1, "u1", 1), L"tiles/share.png");  // the sharing host
    EXPECT_EQ(Badge("u1", 5, "u1", 6), L"tiles/host.png");   // somebody else shares
    EXPECT_EQ(Badge("u2", 5, "u1", 6), L"");
    EXPECT_EQ(Badge("u2", 0, "u1", 0), L"");    // share ids start at 1
    EXPECT_EQ(Badge("u2", -1, "u1", -1), L"");  // the id of no share
}

TEST(TileRulesTest, NetworkQualitiesMapToTheirIconsAndOthersLeaveTheIcon) {
    EXPECT_EQ(NetworkIcon(-1), L"unknown.png");
    EXPECT_EQ(NetworkIcon(0), L"signal-weak.png");
    EXPECT_EQ(NetworkIcon(1), L"signal-normal.png");
    EXPECT_EQ(NetworkIcon(2), L"signal-good.png");
    EXPECT_EQ(NetworkIcon(3), L"");
    EXPECT_EQ(NetworkIcon(-2), L"");
}

UserInfoRecord Participant(int status, uint8_t isShare = 0) {
    UserInfoRecord user("u1", "Ann", "", 7, "", status, -1, 0);
    user.isShareStream = isShare;
    return user;
}

TEST(TileRulesTest, AHostSwitchesOnlyDevicesThatAreOnAndNeverActsOnAShare) {
    struct Case {
        const char* name;
        bool host;
        UserInfoRecord user;
        MenuItemStates expected;
    };
    const Case cases[] = {
        {"host, both on", true, Participant(0), {false, true, false, true, true}},
        {"host, microphone off",
         true,
         Participant(kStatusMicOff),
         {true, false, false, true, true}},
        {"host, camera off", true, Participant(kStatusCameraOff), {false, true, true, false, true}},
        {"host, both off",
         true,
         Participant(kStatusMicOff | kStatusCameraOff),
         {true, false, true, false, true}},
        {"host, share entry", true, Participant(0, 1), {false, false, false, false, false}},
        {"participant", false, Participant(0), {false, false, false, false, false}},
        {"participant, both off",
         false,
         Participant(kStatusMicOff | kStatusCameraOff),
         {true, false, true, false, false}},
    };
    for (const Case& c : cases) {
        const MenuItemStates states = MenuStatesFor(c.host, c.user);
        EXPECT_EQ(states.micSelected, c.expected.micSelected) << c.name;
        EXPECT_EQ(states.micEnabled, c.expected.micEnabled) << c.name;
        EXPECT_EQ(states.cameraSelected, c.expected.cameraSelected) << c.name;
        EXPECT_EQ(states.cameraEnabled, c.expected.cameraEnabled) << c.name;
        EXPECT_EQ(states.removeEnabled, c.expected.removeEnabled) << c.name;
    }
}

TEST(TileRulesTest, ADeviceItemAsksToSwitchOffTheDeviceItShowedOnAndThenLocks) {
    const DeviceSwitch on = SwitchDevice(Participant(0), false);
    EXPECT_TRUE(on.mute);
    EXPECT_EQ(on.uids, std::vector<std::string>{"u1"});
    EXPECT_FALSE(on.itemEnabled);
    const DeviceSwitch off = SwitchDevice(Participant(kStatusMicOff), true);
    EXPECT_FALSE(off.mute);
    EXPECT_TRUE(off.itemEnabled);
    EXPECT_FALSE(OwnUserControls(nullptr));  // no meeting: nobody controls anybody
}

TEST(TileRulesTest, TheRemoveQuestionNamesTheParticipantInTheWindowLanguage) {
    EXPECT_EQ(RemoveQuestion(0, L"Ann"), L"Remove Ann from the room?");
    EXPECT_EQ(RemoveQuestion(1, L"\x738B\x5C0F\x660E"),
              L"\x5C06 \x738B\x5C0F\x660E \x79FB\x51FA\x623F\x95F4\xFF1F");
}

}  // namespace
