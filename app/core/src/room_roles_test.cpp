// The room's roles as each window decides them, side by side: the panels part ways only while
// the room has no host.

#include "kestrum/core/room_roles.h"

#include <gtest/gtest.h>

namespace {

using namespace ZuvraKestrum::Roles;

TEST(RoomRolesTest, TheFirstEntryOfTheHostListIsTheHost) {
    EXPECT_EQ(FirstHost({}), "");
    EXPECT_EQ(FirstHost({"boss", "me"}), "boss");
}

TEST(RoomRolesTest, WithoutHostThePanelsPartWays) {
    struct Case {
        const char* firstHost;
        const char* hostName;
        const char* uid;
        bool host;
        bool otherHost;
        bool manages;
        bool controls;
    };
    for (const Case& c : {
             Case{"me", "Me", "me", true, false, true, true},
             Case{"boss", "Boss", "me", false, true, false, false},
             Case{"boss", "", "me", false, true, false, false},
             Case{"", "", "me", false, false, true, true},
             Case{"", "Boss", "me", false, false, true, false},
             Case{"", "", "", false, false, true, true},  // an empty uid is never the host
         }) {
        SCOPED_TRACE(std::string(c.uid) + " with host '" + c.firstHost + "' named '" + c.hostName +
                     "'");
        EXPECT_EQ(IsHost(c.firstHost, c.uid), c.host);
        EXPECT_EQ(HasOtherHost(c.firstHost, c.uid), c.otherHost);
        EXPECT_EQ(ManagesParticipants(c.firstHost, c.uid), c.manages);
        EXPECT_EQ(ControlsParticipants(c.firstHost, c.hostName, c.uid), c.controls);
    }
}

}  // namespace
