// The participants panel's rules, apart from any window: row views, the rows a new list keeps,
// clicks, and the invitations awaiting an answer.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/windows/participants/invitation_waits.h"
#include "app/windows/participants/participant_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/room_roles.h"

namespace {

using namespace ZuvraKestrum::Participants;

TEST(RowView, TheHostActsOnOthersRowsAndEveryoneOnTheirOwn) {
    const struct {
        const char* row;
        const char* own;
        const char* host;
        bool tick;
        bool options;
        const wchar_t* nick;
    } cases[] = {
        // The host sees others' rows open, the own row without a remove button; title counts
        // and texts are checked on the panel.
        {"bob", "alice", "alice", true, true, L"Bob"},
        {"alice", "alice", "alice", false, true, L"Bob(Host)"},
        // Someone else hosts: only the own options.
        {"bob", "carol", "alice", false, false, L"Bob"},
        {"alice", "carol", "alice", false, false, L"Bob(Host)"},
        {"carol", "carol", "alice", false, true, L"Bob"},
        // No host named yet: everyone acts as host.
        {"bob", "carol", "", true, true, L"Bob"},
        {"carol", "carol", "", false, true, L"Bob"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " seen by " + c.own + ", host " + c.host);
        const RowView view =
            ComputeRowView(c.row, "Bob", c.own, c.host,
                           ZuvraKestrum::Roles::ManagesParticipants(c.host, c.own), 0);
        EXPECT_EQ(view.tickEnabled, c.tick);
        EXPECT_EQ(view.optionsEnabled, c.options);
        EXPECT_EQ(view.nickText, c.nick);
        EXPECT_EQ(std::wstring(view.tickImage), c.tick ? kTickEnabledImage : kTickDisabledImage);
    }
}

TEST(RowStatus, ACameraReportedOffSetsItsBitOnTheRebuiltRow) {
    const std::map<std::string, bool> videoOn = {{"off", false}, {"on", true}};
    EXPECT_EQ(RowStatus(0, videoOn, "off"), kStatusCameraOff);
    EXPECT_EQ(RowStatus(kStatusMicOff, videoOn, "off"), kStatusMicOff | kStatusCameraOff);
    // A camera reported on does not clear what the signalling channel says.
    EXPECT_EQ(RowStatus(kStatusCameraOff, videoOn, "on"), kStatusCameraOff);
    EXPECT_EQ(RowStatus(kStatusMicOff, videoOn, "unknown"), kStatusMicOff);
}

TEST(MatchRows, EachListedParticipantKeepsItsRowAndTheNthRowOfAUidGoesToItsNthParticipant) {
    const struct {
        const char* what;
        std::vector<std::string_view> rows;
        std::vector<const char*> listed;
        std::vector<int> kept;
    } cases[] = {
        {"the same list", {"a", "b", "c"}, {"a", "b", "c"}, {0, 1, 2}},
        {"b left, x joined, order changed", {"a", "b", "c"}, {"c", "x", "a"}, {2, kNewRow, 0}},
        {"no rows yet", {}, {"a", "b"}, {kNewRow, kNewRow}},
        {"everyone left", {"a", "b"}, {}, {}},
        {"duplicates in order", {"a", "b", "a"}, {"a", "a", "a", "b"}, {0, 2, kNewRow, 1}},
        // A uid is exact bytes.
        {"case and prefixes differ", {"a", "ab"}, {"A", "ab", "a"}, {kNewRow, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<UserInfoRecord> participants;
        for (const char* uid : c.listed) participants.emplace_back(uid, "", "", 1, "", 0, -1, 1);
        EXPECT_EQ(MatchRows(c.rows, participants), c.kept);
    }
}

TEST(OptionClick, OwnRowsSwitchOthersAreMutedOrInvitedWhenTheirClientCanAnswer) {
    // The own device never leads to an invitation, whatever its state.
    for (bool off : {false, true}) {
        for (bool supported : {false, true}) {
            EXPECT_EQ(DecideOptionClick(true, off, supported), OptionAction::kSwitchOwn);
        }
    }
    EXPECT_EQ(DecideOptionClick(false, false, false), OptionAction::kMuteOther);
    EXPECT_EQ(DecideOptionClick(false, true, true), OptionAction::kInviteOther);
    EXPECT_EQ(DecideOptionClick(false, true, false), OptionAction::kNotSupported);
}

UserInfoRecord Participant(const std::string& uid, int status) {
    return UserInfoRecord(uid, uid, "", 1, "", status, -1, 1);
}

TEST(InvitationWaits, AnEntryEndsWhenItsDeviceIsSeenOnAndStaysWhileItIsOffOrUnknown) {
    InvitationWaits waits;
    waits.add(Device::kMicrophone, "bob");
    waits.add(Device::kCamera, "bob");
    waits.add(Device::kMicrophone, "carol");
    waits.add(Device::kCamera, "dave");

    // Bob's microphone is on now, his camera still off; Carol is still muted; Dave is not in
    // the list: his entry stays but his (missing) row gets no look.
    const std::vector<WaitEntry> again = waits.reconcile(
        {Participant("bob", kStatusCameraOff), Participant("carol", kStatusMicOff)});
    const std::vector<WaitEntry> expectedAgain = {{Device::kCamera, "bob"},
                                                  {Device::kMicrophone, "carol"}};
    EXPECT_EQ(again, expectedAgain);
    const std::vector<WaitEntry> expectedKept = {
        {Device::kCamera, "bob"}, {Device::kMicrophone, "carol"}, {Device::kCamera, "dave"}};
    EXPECT_EQ(waits.entries(), expectedKept);

    // The first record of a uid decides.
    waits.reconcile({Participant("carol", 0), Participant("carol", kStatusMicOff)});
    EXPECT_EQ(waits.entries().size(), 2u);

    // A refusal or time-out ends only the first entry of that device and uid.
    waits.add(Device::kCamera, "dave");
    EXPECT_TRUE(waits.stop(Device::kCamera, "dave"));
    EXPECT_FALSE(waits.stop(Device::kMicrophone, "dave"));
    EXPECT_EQ(waits.entries().size(), 2u);
    EXPECT_TRUE(waits.stop(Device::kCamera, "dave"));
    EXPECT_FALSE(waits.stop(Device::kCamera, "dave"));
}

}  // namespace
