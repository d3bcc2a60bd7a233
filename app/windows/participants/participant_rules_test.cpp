// The participants panel's rules, apart from any window: row views, the rows a new list keeps
// and how it moves them, clicks, and the invitations awaiting an answer.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/windows/participants/invitation_waits.h"
#include "app/windows/participants/participant_rules.h"
#include "app/windows/participants/roster.h"
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
        bool hostMark;
        const wchar_t* toolTip;
    } cases[] = {
        // The host sees others' rows open, the own row without a remove button; title counts
        // and texts are checked on the panel.
        {"bob", "alice", "alice", true, true, false, L"Bob"},
        {"alice", "alice", "alice", false, true, true, L"Bob(Host)"},
        // Someone else hosts: only the own options.
        {"bob", "carol", "alice", false, false, false, L"Bob"},
        {"alice", "carol", "alice", false, false, true, L"Bob(Host)"},
        {"carol", "carol", "alice", false, true, false, L"Bob"},
        // No host named yet: everyone acts as host.
        {"bob", "carol", "", true, true, false, L"Bob"},
        {"carol", "carol", "", false, true, false, L"Bob"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " seen by " + c.own + ", host " + c.host);
        const RowView view =
            ComputeRowView(c.row, "Bob", c.own, c.host,
                           ZuvraKestrum::Roles::ManagesParticipants(c.host, c.own), 0);
        EXPECT_EQ(view.tickEnabled, c.tick);
        EXPECT_EQ(view.optionsEnabled, c.options);
        // The mark stands beside the name, never cut with it.
        EXPECT_EQ(view.nickText, L"Bob");
        EXPECT_EQ(view.hostMark, c.hostMark);
        EXPECT_EQ(view.toolTip, c.toolTip);
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
    constexpr Device kMic = Device::kMicrophone;
    constexpr Device kCam = Device::kCamera;
    const struct {
        Device device;
        bool own, off, supported;
        OptionAction action;
        bool disables, clears, mute;
    } cases[] = {
        // The own option waits for the room's echo either way.
        {kMic, true, false, false, OptionAction::kSwitchOwn, true, false, true},
        {kCam, true, true, false, OptionAction::kSwitchOwn, true, false, false},
        // Another's camera waits for the echo too, another's microphone not.
        {kMic, false, false, false, OptionAction::kMuteOther, false, false, true},
        {kCam, false, false, true, OptionAction::kMuteOther, true, false, true},
        // A device that is off stays shown off until the participant answers.
        {kMic, false, true, true, OptionAction::kInviteOther, false, true, false},
        {kCam, false, true, false, OptionAction::kNotSupported, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.device == kMic ? "mic" : "camera") + (c.own ? " own" : "") +
                     (c.off ? " off" : " on"));
        const OptionClick click = PlanOptionClick(c.device, c.own, c.off, c.supported);
        EXPECT_EQ(click.action, c.action);
        EXPECT_EQ(click.disablesOption, c.disables);
        EXPECT_EQ(click.clearsSelection, c.clears);
        if (c.action == OptionAction::kSwitchOwn || c.action == OptionAction::kMuteOther) {
            EXPECT_EQ(click.mute, c.mute);
        }
    }
}

TEST(RowsViewer, KeptRowsAreForTheViewerOnlyWhileEveryRowWasSetForIt) {
    const Viewer host{"me", "me", 0};
    const Viewer guest{"me", "bob", 0};
    RowsViewer rows;
    EXPECT_FALSE(rows.allRowsFor(host));
    rows.noteNewRow(host, 1);
    rows.noteNewRow(host, 2);
    EXPECT_TRUE(rows.allRowsFor(host));
    EXPECT_FALSE(rows.allRowsFor(guest));
    EXPECT_FALSE(rows.allRowsFor({"me", "me", 1}));
    // A row for another viewer mixes the rows until every row is set again.
    rows.noteNewRow(guest, 3);
    EXPECT_FALSE(rows.allRowsFor(guest));
    EXPECT_FALSE(rows.allRowsFor(host));
    rows.noteAllRows(guest);
    EXPECT_TRUE(rows.allRowsFor(guest));
    // The list's only row sets the viewer anew.
    rows.noteNewRow(host, 1);
    EXPECT_TRUE(rows.allRowsFor(host));
}

struct FakeRow {
    std::string uid;
    std::string nickname;
    int status = 0;
};

// A list that applies the roster's steps to its records and writes each down; rows of uid
// `failing` cannot be added.
class RecordingRows : public Roster<FakeRow>::View {
public:
    void apply(const std::vector<UserInfoRecord>& participants,
               const std::map<std::string, bool>& videoOn = {},
               const std::vector<size_t>* places = nullptr) {
        steps.clear();
        roster.apply(participants, videoOn, *this, places);
    }
    std::vector<std::string> order() {
        std::vector<std::string> uids;
        for (const FakeRow& row : roster) uids.push_back(row.uid);
        return uids;
    }

    Roster<FakeRow> roster;
    std::vector<std::string> steps;
    std::string failing;

private:
    using Item = Roster<FakeRow>::Item;
    void removeAllRows() override {
        steps.push_back("clear");
        roster.clear();
    }
    void removeRow(Item item) override {
        steps.push_back("remove " + item->uid);
        roster.erase(item);
    }
    bool insertRow(Item before, int index, const UserInfoRecord& participant) override {
        steps.push_back("new " + std::string(participant.uid) + " at " + std::to_string(index));
        if (participant.uid == failing) return false;
        roster.insert(before, {participant.uid, participant.name, participant.status});
        return true;
    }
    bool moveRow(Item item, Item before, int index) override {
        steps.push_back("move " + item->uid + " to " + std::to_string(index));
        roster.move(item, before);
        if (item->uid != failing) return true;
        roster.erase(item);
        return false;
    }
    void refreshRow(FakeRow& row, const UserInfoRecord& participant, int status) override {
        row.nickname = participant.name;
        row.status = status;
    }
    void logRowStatus(const UserInfoRecord& participant, int status) override {
        steps.push_back("log " + std::string(participant.uid) + " " + std::to_string(status));
    }
};

UserInfoRecord Listed(const std::string& uid, const std::string& name = "", int status = 0) {
    return UserInfoRecord(uid, name, "", 1, "", status, -1, 1);
}

TEST(Roster, AListMovesKeptRowsIntoPlaceBuildsNewOnesAndLogsOnlyWhatChanged) {
    RecordingRows rows;
    // A list that keeps no row clears the list in one step.
    rows.apply({Listed("a"), Listed("b"), Listed("c")});
    EXPECT_EQ(rows.steps, (std::vector<std::string>{"clear", "log a 0", "new a at 0", "log b 0",
                                                    "new b at 1", "log c 0", "new c at 2"}));
    // b left, x joined, c first; a's camera was reported off, c was renamed.
    rows.apply({Listed("c", "C"), Listed("x"), Listed("a")}, {{"a", false}});
    EXPECT_EQ(rows.steps, (std::vector<std::string>{"remove b", "log c 0", "move c to 0", "log x 0",
                                                    "new x at 1", "log a 2"}));
    EXPECT_EQ(rows.order(), (std::vector<std::string>{"c", "x", "a"}));
    EXPECT_EQ(rows.roster.find("a")->status, kStatusCameraOff);
    EXPECT_EQ(rows.roster.find("c")->nickname, "C");
    EXPECT_EQ(rows.roster.find("b"), nullptr);
    // The same list again says nothing.
    rows.apply({Listed("c", "C"), Listed("x"), Listed("a", "", kStatusCameraOff)});
    EXPECT_TRUE(rows.steps.empty());
    // Applied in place, only the rows of its places; rows that are not the list's one by one
    // take the whole list.
    const std::vector<size_t> second{1};
    rows.apply({Listed("c", "C"), Listed("x", "X"), Listed("a", "A")}, {}, &second);
    EXPECT_EQ(rows.steps, (std::vector<std::string>{"log x 0"}));
    rows.apply({Listed("x", "X"), Listed("a", "A")}, {}, &second);
    EXPECT_EQ(rows.steps, (std::vector<std::string>{"remove c", "log a 0"}));
}

TEST(Roster, TheFirstRowOfAUidIsFoundAndARowThatCannotBeAddedTakesNoPlace) {
    RecordingRows rows;
    rows.apply({Listed("a", "A1"), Listed("b"), Listed("a", "A2")});
    EXPECT_EQ(rows.roster.find("a")->nickname, "A1");
    rows.roster.erase(rows.roster.first("a"));
    EXPECT_EQ(rows.roster.find("a")->nickname, "A2");
    // The first a goes to the front with the first listed a; the second is new after it.
    rows.apply({Listed("a", "A3"), Listed("b"), Listed("a", "A4")});
    EXPECT_EQ(rows.order(), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_EQ(rows.roster.find("a")->nickname, "A3");

    rows.failing = "x";
    rows.apply({Listed("x"), Listed("a", "A3"), Listed("b")});
    EXPECT_EQ(rows.steps, (std::vector<std::string>{"remove a", "log x 0", "new x at 0"}));
    EXPECT_EQ(rows.order(), (std::vector<std::string>{"a", "b"}));
    // A kept row that cannot be added again is gone; the next takes its place.
    rows.failing = "b";
    rows.apply({Listed("b"), Listed("a", "A3")});
    EXPECT_EQ(rows.steps, (std::vector<std::string>{"move b to 0"}));
    EXPECT_EQ(rows.order(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(rows.roster.find("b"), nullptr);
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
