// The roster's decisions for the in-meeting window, event by event, and a seeded crowd that joins
// and leaves in random orders while a stand-in window applies every decision.

#include "app/windows/live/meeting_roster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/core/test/chinese_emoji_text.h"
#include "app/core/test/temp_folder.h"
#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"

namespace {

using namespace ZuvraKestrum::Live;

constexpr int32_t kOwnStream = 100;

UserInfoRecord User(const std::string& uid, const std::string& name, int32_t stream,
                    int32_t share = -1) {
    return UserInfoRecord(uid, name, "portrait-" + uid, stream, "acct", 0, share, 0);
}

// One entry per decision, so a whole answer reads as one string.
std::string Describe(const RosterActions& actions) {
    static const char* const kNames[] = {"row+ ",     "row- ",   "rows",    "mirror", "toast ",
                                         "replay ",   "avatars", "self+",   "self-",  "big ",
                                         "big local", "strip",   "noshare", "share",  "tile+ ",
                                         "tile- ",    "swap ",   "arrange"};
    std::string text;
    for (const RosterAction& a : actions) {
        text += (text.empty() ? "" : "; ") + std::string(kNames[a.kind]);
        if (a.kind == RosterAction::kPanelAdd) text += a.record.uid;
        if (a.kind == RosterAction::kPanelRemove) text += a.uid;
        if (a.kind == RosterAction::kToast) text += a.text;
        if (a.kind == RosterAction::kBigViewRemote || a.kind == RosterAction::kStripAdd ||
            a.kind == RosterAction::kStripSwitch) {
            text += std::to_string(a.record.streamId);
        }
        if (a.kind == RosterAction::kStripSwitch) text += "->" + std::to_string(a.other.streamId);
        if (a.kind == RosterAction::kStripRemove) text += std::to_string(a.streamId);
        if (a.kind == RosterAction::kReplayEngineUser) {
            text += std::to_string(a.streamId) + "@" + std::to_string(a.elapsed);
        }
    }
    return text;
}

std::vector<int32_t> TileStreams(const MeetingRoster& roster) {
    std::vector<int32_t> streams;
    for (const UserInfoRecord& tile : roster.tiles()) streams.push_back(tile.streamId);
    return streams;
}

// A roster in a meeting: the own user has joined the signalling and the engine.
struct InMeeting {
    explicit InMeeting(int language = 0) : roster(language, kOwnStream) {
        static_cast<void>(roster.onOwnJoin(User("me", "Me", kOwnStream)));
        roster.onOwnEngineJoin(0);
    }
    std::string join(const UserInfoRecord& user) { return Describe(roster.onUserJoin(user)); }
    std::string engine(int32_t uid, int32_t elapsed = 0) {
        return Describe(roster.onEngineUserJoined(uid, elapsed));
    }
    std::string offline(int32_t uid) { return Describe(roster.onEngineUserOffline(uid)); }
    // Ann (camera 101, share 201 announced) in the big view, Bob (102) in the strip.
    void annAndBob() {
        join(User("ann", "Ann", 101, 201));
        join(User("bob", "Bob", 102));
        engine(101);
        engine(102);
    }
    MeetingRoster roster;
};

TEST(MeetingRoster, EngineUserBeforeItsRecordIsParkedWithTheNewestElapsedAndReplayed) {
    InMeeting m;
    EXPECT_STREQ(m.roster.bigViewUser().uid, "me");
    // Oneself reported as a remote engine user (uid 0 is oneself) changes nothing.
    EXPECT_EQ(m.engine(0, 5) + m.engine(kOwnStream, 5), "");
    EXPECT_EQ(m.engine(101, 40), "");
    EXPECT_EQ(m.engine(101, 70), "");
    EXPECT_EQ(m.roster.parkedEngineUsers().at(101), 70);
    EXPECT_TRUE(m.roster.tiles().empty());
    EXPECT_EQ(m.join(User("ann", "Ann", 101)),
              "mirror; avatars; row+ ann; replay 101@70; toast Ann joined");
    EXPECT_TRUE(m.roster.parkedEngineUsers().empty());
    // The window posts the replay back to itself; it arrives as an engine user.
    EXPECT_EQ(m.engine(101, 70), "self+; big 101");
    EXPECT_EQ(m.roster.mediaList(), (std::vector<int32_t>{kOwnStream, 101}));
}

TEST(MeetingRoster, RecordBeforeEngineUserShowsItAtOnceLaterOnesGoToTheStripDuplicatesNowhere) {
    InMeeting m;
    EXPECT_EQ(m.join(User("ann", "Ann", 101)), "mirror; avatars; row+ ann; toast Ann joined");
    EXPECT_EQ(m.join(User("bob", "Bob", 102)), "mirror; avatars; row+ bob; toast Bob joined");
    EXPECT_EQ(m.engine(101), "self+; big 101");
    EXPECT_EQ(m.engine(102), "strip; tile+ 102");
    EXPECT_EQ(m.join(User("ann", "Ann again", 101)) + m.engine(101) + m.engine(102), "");
    EXPECT_EQ(Describe(m.roster.onOwnJoin(User("me", "Me", kOwnStream))), "");
    // A list that names someone twice lists them once.
    static_cast<void>(m.roster.onUserList({User("me", "Me", kOwnStream), User("ann", "Ann", 101),
                                           User("ann", "Ann", 101), User("bob", "Bob", 102)}));
    EXPECT_EQ(m.roster.socketList().size(), 3u);
    EXPECT_EQ(m.roster.mediaList(), (std::vector<int32_t>{kOwnStream, 101, 102}));
}

TEST(MeetingRoster, ChineseToastsAndShareNames) {
    InMeeting m(1);
    EXPECT_EQ(m.join(User("ann", "安娜", 101, 201)),
              "mirror; avatars; row+ ann; toast 安娜 进入了房间");
    m.engine(101);
    m.engine(201);
    EXPECT_STREQ(m.roster.bigViewUser().name, "安娜的课件流");
    EXPECT_EQ(Describe(m.roster.onUserLeave("ann")).rfind("toast 安娜 离开了房间;", 0), 0u);
}

TEST(MeetingRoster, AShareStreamTakesTheBigViewAsItsOwnRecordInFrontOfItsOwner) {
    InMeeting m;
    m.annAndBob();
    EXPECT_EQ(m.engine(201), "strip; noshare; tile+ 101; big 201");
    const UserInfoRecord& share = m.roster.bigViewUser();
    EXPECT_STREQ(share.name, "Ann's ShareScreen Stream.");
    ASSERT_EQ(m.roster.socketList().size(), 4u);
    EXPECT_EQ(m.roster.socketList()[1], share);
    EXPECT_EQ(TileStreams(m.roster), (std::vector<int32_t>{102, 101}));
    // The meeting data and the panel never see the share: names looked up there stay the owner's.
    EXPECT_EQ(m.roster.participants().size(), 3u);

    // The share ends: its record goes with its stream, the first tile takes the big view.
    EXPECT_EQ(m.offline(201), "tile- 102; big 102");
    EXPECT_EQ(m.roster.socketList().size(), 3u);
}

// A share carries video whatever the owner's camera does: its record never says the camera is
// off, so the big view and the tile show the shared screen.
TEST(MeetingRoster, AShareShowsTheScreenWithTheOwnersCameraOff) {
    InMeeting m;
    UserInfoRecord ann = User("ann", "Ann", 101, 201);
    ann.status = kStatusMicOff | kStatusCameraOff;
    m.join(ann);
    m.engine(101);
    EXPECT_EQ(m.engine(201), "strip; noshare; tile+ 101; big 201");
    EXPECT_EQ(m.roster.bigViewUser().status, kStatusMicOff);
    static_cast<void>(m.roster.onUserList({User("me", "Me", kOwnStream), ann}));
    EXPECT_EQ(m.roster.socketList()[1].isShareStream, 1);
    EXPECT_EQ(m.roster.socketList()[1].status, kStatusMicOff);
    EXPECT_EQ(m.roster.socketList()[2].status, kStatusMicOff | kStatusCameraOff);
}

// Whoever else shares, as each list says, holds the share button; the own share does not.
TEST(MeetingRoster, TheShareButtonFollowsWhoElseSharesInEachList) {
    InMeeting m;
    const std::string noshare = "mirror; rows; noshare; avatars";
    const std::string share = "mirror; rows; share; avatars";
    EXPECT_EQ(
        Describe(m.roster.onUserList({User("me", "Me", kOwnStream), User("ann", "Ann", 101, 201)})),
        noshare);
    EXPECT_EQ(
        Describe(m.roster.onUserList({User("me", "Me", kOwnStream), User("ann", "Ann", 101)})),
        share);
    EXPECT_EQ(Describe(m.roster.onUserList({User("me", "Me", kOwnStream, 300)})), share);
}

TEST(MeetingRoster, TheOwnShareStreamIsNeverShown) {
    InMeeting m;
    m.join(User("ann", "Ann", 101));
    m.engine(101);
    m.roster.setOwnShareId(300);
    EXPECT_EQ(m.engine(300), "");
    // Also when only the own record knows the share (the own share id not set yet).
    m.roster.setOwnShareId(-1);
    static_cast<void>(
        m.roster.onUserList({User("me", "Me", kOwnStream, 301), User("ann", "Ann", 101)}));
    EXPECT_EQ(m.engine(301), "");
    EXPECT_EQ(m.roster.socketList().size(), 2u);
    EXPECT_TRUE(m.roster.parkedEngineUsers().empty());
}

TEST(MeetingRoster, TheBigViewIsHandedToTheFirstTileThenBackToTheLocalPreview) {
    InMeeting m;
    for (int i = 1; i <= 3; ++i) {
        m.join(User("u" + std::to_string(i), "U", 100 + i));
        m.engine(100 + i);
    }
    EXPECT_EQ(TileStreams(m.roster), (std::vector<int32_t>{102, 103}));
    EXPECT_EQ(m.offline(103), "tile- 103");
    EXPECT_EQ(m.offline(101), "tile- 102; big 102");
    EXPECT_EQ(m.offline(102), "big local; self-");
    EXPECT_STREQ(m.roster.bigViewUser().uid, "me");
    EXPECT_FALSE(m.roster.hasSelfTile());
    EXPECT_EQ(m.offline(102), "");
    // The next participant opens the self tile again.
    EXPECT_EQ(m.engine(101), "self+; big 101");
}

TEST(MeetingRoster, ExchangeSwapsTheChosenTileWithTheBigView) {
    InMeeting m;
    m.join(User("ann", "Ann", 101));
    m.join(User("bob", "Bob", 102));
    m.engine(101);
    m.engine(102);
    EXPECT_EQ(Describe(m.roster.onExchangeBig(User("bob", "Bob", 102))),
              "big 102; swap 102->101; arrange");
    EXPECT_EQ(m.roster.bigViewUser().streamId, 102);
    EXPECT_EQ(TileStreams(m.roster), std::vector<int32_t>{101});
    // The big-view user itself, oneself or a stranger: only the strip re-arranges.
    EXPECT_EQ(Describe(m.roster.onExchangeBig(User("bob", "Bob", 102))), "arrange");
    EXPECT_EQ(Describe(m.roster.onExchangeBig(User("me", "Me", kOwnStream))), "arrange");
    EXPECT_EQ(Describe(m.roster.onExchangeBig(User("zed", "Zed", 109))), "arrange");
}

TEST(MeetingRoster, ALeaverLosesEveryRecordAndTileAndComesBackOnRejoin) {
    InMeeting m;
    m.annAndBob();
    m.engine(201);  // share big, 102 and 101 tiles
    // Ann left while sharing, without ending the share: the share button is free again.
    EXPECT_EQ(Describe(m.roster.onUserLeave("ann")),
              "toast Ann left; tile- 101; tile- 102; big 102; mirror; row- ann; share");
    for (const UserInfoRecord& user : m.roster.socketList()) EXPECT_STRNE(user.uid, "ann");
    EXPECT_EQ(m.roster.mediaList(), (std::vector<int32_t>{kOwnStream, 102}));
    EXPECT_EQ(m.roster.parkedEngineUsers().size(), 2u);
    // Leaving twice, or someone never listed: nothing.
    EXPECT_EQ(Describe(m.roster.onUserLeave("ann")), "");
    EXPECT_EQ(Describe(m.roster.onUserLeave("nobody")), "");

    EXPECT_EQ(m.join(User("ann", "Ann", 101, 201)),
              "mirror; avatars; row+ ann; replay 101@0; replay 201@0; toast Ann joined");
    EXPECT_EQ(m.engine(101), "strip; tile+ 101");
    EXPECT_EQ(m.engine(201), "strip; noshare; tile+ 102; big 201");
    // The engine leaving first forgets the parked stream, so a rejoin replays nothing.
    static_cast<void>(m.roster.onUserLeave("bob"));
    EXPECT_EQ(m.offline(102), "");
    EXPECT_EQ(m.join(User("bob", "Bob", 102)), "mirror; avatars; row+ bob; toast Bob joined");
    // Oneself leaving takes the row, not the views.
    EXPECT_EQ(Describe(m.roster.onUserLeave("me")), "mirror; row- me; noshare");
}

TEST(MeetingRoster, ARecordWithoutUidIsNeverListedShownOrMadeTheBigView) {
    MeetingRoster roster(0, kOwnStream);
    EXPECT_EQ(Describe(roster.onOwnJoin(User("", "Ghost", kOwnStream))), "");
    EXPECT_EQ(roster.bigViewUser().uid[0], '\0');
    static_cast<void>(roster.onOwnJoin(User("me", "Me", kOwnStream)));
    roster.onOwnEngineJoin(0);
    EXPECT_EQ(Describe(roster.onUserJoin(User("", "Ghost", 101, 201))), "");
    static_cast<void>(roster.onUserList({User("me", "Me", kOwnStream), User("", "Ghost", 102)}));
    EXPECT_EQ(roster.socketList().size(), 1u);
    for (int32_t stream : {101, 102, 201}) {
        EXPECT_EQ(Describe(roster.onEngineUserJoined(stream, 1)), "") << stream;
    }
    EXPECT_EQ(roster.parkedEngineUsers().size(), 3u);
    EXPECT_EQ(Describe(roster.onUserLeave("")), "");
    EXPECT_EQ(Describe(roster.onExchangeBig(User("", "Ghost", 101))), "arrange");
    EXPECT_EQ(roster.portraitQueue().count(""), 0u);
    EXPECT_EQ(roster.portraitQueue().size(), 1u);  // oneself, from the list
}

TEST(MeetingRoster, AFullListReplacesTheRecordsAndPairsTheStreamsAgain) {
    InMeeting m;
    m.annAndBob();
    m.engine(201);
    m.engine(103, 9);  // nobody's yet
    UserInfoRecord annMuted = User("ann", "Ann", 101, 201);
    annMuted.status = 1;
    // Bob is gone from the list, Cid claims the parked stream, Ann still shares.
    EXPECT_EQ(Describe(m.roster.onUserList(
                  {User("me", "Me", kOwnStream), annMuted, User("cid", "Cid", 103)})),
              "mirror; rows; noshare; avatars; tile- 102; replay 103@9");
    const auto& list = m.roster.socketList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].isShareStream, 1);
    EXPECT_STREQ(list[1].name, "Ann's ShareScreen Stream.");
    EXPECT_EQ(m.roster.tiles().at(0).status, 1);
    EXPECT_EQ(m.roster.parkedEngineUsers().count(102), 1u);
    EXPECT_EQ(m.roster.portraitQueue().size(), 4u);  // me, ann, bob (earlier), cid
    // A list that names people twice, apart or in a row, lists each once.
    const UserInfoRecord me = User("me", "Me", kOwnStream);
    static_cast<void>(
        m.roster.onUserList({me, me, annMuted, User("cid", "Cid", 103), annMuted, me}));
    EXPECT_EQ(m.roster.socketList().size(), 4u);
    // Once those are fetched, a list that keeps its entries in place asks for its new pictures.
    m.offline(201);
    while (m.roster.onAvatarTick().kind == AvatarTick::kFetch) m.roster.onAvatarSkipped();
    UserInfoRecord cid = User("cid", "Cid", 103);
    CopyRecordText(cid.portraitId, "pc2");
    static_cast<void>(m.roster.onUserList({User("me", "Me", kOwnStream), annMuted, cid}));
    EXPECT_EQ(m.roster.portraitQueue(), (std::map<std::string, std::string>{{"cid", "pc2"}}));
}

TEST(MeetingRoster, AvatarsAreFetchedOneAtATimeAndADownloadEndsOnlyWithItsOwnResult) {
    MeetingRoster roster(0, kOwnStream);
    EXPECT_EQ(roster.onAvatarTick().kind, AvatarTick::kStopTimer);
    roster.queuePortraitFetch("bob", "pb");
    roster.queuePortraitFetch("ann", "pa");
    roster.queuePortraitFetch("ann", "other");
    roster.queuePortraitFetch("cid", "");  // no avatar to fetch
    roster.queuePortraitFetch("", "px");
    EXPECT_EQ(roster.portraitQueue().size(), 2u);

    AvatarTick tick = roster.onAvatarTick();
    EXPECT_EQ(tick.kind, AvatarTick::kFetch);
    EXPECT_EQ(tick.uid, "ann");
    EXPECT_EQ(tick.portraitId, "pa");
    // While the download runs the timer keeps ticking and asks for nothing; another request's
    // failure and another id's file leave it running.
    EXPECT_EQ(roster.onAvatarTick().kind, AvatarTick::kWait);
    EXPECT_EQ(roster.onRequestFailed("room/ctrl"), "");
    EXPECT_EQ(roster.onAvatarArrived("pb"), "");
    EXPECT_EQ(roster.onAvatarTick().kind, AvatarTick::kWait);
    EXPECT_EQ(roster.onAvatarArrived("pa"), "ann");
    EXPECT_EQ(roster.onAvatarArrived("pa"), "");

    // A failed download ends too: the next entry is asked for.
    tick = roster.onAvatarTick();
    EXPECT_EQ(tick.uid, "bob");
    roster.queuePortraitFetch("dan", "pd");
    roster.queuePortraitFetch("eve", "pe");
    EXPECT_EQ(roster.onAvatarTick().kind, AvatarTick::kWait);
    EXPECT_EQ(roster.onRequestFailed("account/portrait"), "bob");
    EXPECT_EQ(roster.onRequestFailed("account/portrait"), "");
    // Its id is never asked for again in this meeting, whichever list names it.
    roster.queuePortraitFetch("bob", "pb");
    roster.queuePortraitFetch("fay", "pb");
    EXPECT_EQ(roster.portraitQueue().size(), 2u);
    EXPECT_EQ(roster.onAvatarTick().uid, "dan");
    // One that needs no download is skipped.
    roster.onAvatarSkipped();
    EXPECT_EQ(roster.onAvatarTick().uid, "eve");
    EXPECT_EQ(roster.onAvatarArrived("pe"), "eve");
    EXPECT_EQ(roster.onAvatarTick().kind, AvatarTick::kStopTimer);
    EXPECT_TRUE(roster.portraitQueue().empty());
    // A new picture of the same user is another id.
    roster.queuePortraitFetch("bob", "pb2");
    EXPECT_EQ(roster.portraitQueue().at("bob"), "pb2");
}

// The download's target is the look-up's cache file, handed on as UTF-8 whatever the ANSI code
// page (the folder's name has characters no code page holds); a cached file and an id that is
// no plain file name need no download.
TEST(AvatarDownloadTarget, IsTheCacheFileInUtf8UnlessCachedOrNoFileName) {
    const TempFolder folder;
    static std::wstring skin;
    skin = folder.path() + kChineseEmojiWide + L"\\";
    ASSERT_TRUE(CreateDirectoryW(skin.c_str(), nullptr));
    ZuvraKestrum::Util::SetResourcePathSource([] { return skin; });

    const std::string target = AvatarDownloadTarget("p-1");
    EXPECT_EQ(target, kestrum::common::WideToUtf8(skin + L"logo\\p-1.png"));
    HANDLE file = CreateFileW(kestrum::common::Utf8ToWide(target).c_str(), GENERIC_WRITE, 0,
                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(AvatarDownloadTarget("p-1"), "");
    for (const char* id : {"..\\..\\x", "a:b", "../x", "", "nul"}) {
        EXPECT_EQ(AvatarDownloadTarget(id), "") << id;
    }
    ZuvraKestrum::Util::SetResourcePathSource(nullptr);
}

// What the window shows, built only from the decisions it was given.
struct StandInWindow {
    void apply(const RosterActions& actions) {
        for (const RosterAction& a : actions) {
            if (a.kind == RosterAction::kOpenSelfTile || a.kind == RosterAction::kCloseSelfTile) {
                ASSERT_NE(selfTile, a.kind == RosterAction::kOpenSelfTile);
                selfTile = !selfTile;
            }
            if (a.kind == RosterAction::kBigViewRemote) big = a.record.streamId;
            if (a.kind == RosterAction::kBigViewLocal) big = kOwnStream;
            if (a.kind == RosterAction::kStripAdd) tiles.push_back(a.record.streamId);
            if (a.kind == RosterAction::kReplayEngineUser) replays.push_back(a);
            if (a.kind == RosterAction::kMirror) mirror(a, roster->participants());
            if (a.kind == RosterAction::kStripRemove || a.kind == RosterAction::kStripSwitch) {
                const int32_t stream =
                    a.kind == RosterAction::kStripRemove ? a.streamId : a.record.streamId;
                auto tile = std::find(tiles.begin(), tiles.end(), stream);
                ASSERT_NE(tile, tiles.end()) << stream;
                if (a.kind == RosterAction::kStripSwitch) {
                    *tile = a.other.streamId;
                } else {
                    tiles.erase(tile);
                }
            }
        }
    }
    // The meeting data's list, taking only the places a list kept in place says changed.
    void mirror(const RosterAction& a, const std::vector<UserInfoRecord>& from) {
        if (!a.inPlace || mirrored.size() != from.size()) mirrored = from;
        for (size_t at : a.places) mirrored[at] = from[at];
    }
    const MeetingRoster* roster = nullptr;
    std::vector<UserInfoRecord> mirrored;
    bool selfTile = false;
    int32_t big = kOwnStream;
    std::vector<int32_t> tiles;
    std::vector<RosterAction> replays;
};

void ExpectConsistent(const MeetingRoster& roster, const StandInWindow& window) {
    const auto& list = roster.socketList();
    const auto& media = roster.mediaList();
    auto listed = [&](const UserInfoRecord& r) {
        return std::find(list.begin(), list.end(), r) != list.end();
    };
    auto inMedia = [&](int32_t s) {
        return std::find(media.begin(), media.end(), s) != media.end();
    };
    const auto& participants = roster.participants();
    ASSERT_EQ(window.mirrored.size(), participants.size());
    for (size_t i = 0; i < participants.size(); ++i) {
        ASSERT_TRUE(SameRecord(window.mirrored[i], participants[i])) << participants[i].uid;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        ASSERT_NE(list[i].uid[0], '\0');
        ASSERT_EQ(std::count(list.begin(), list.end(), list[i]), 1);
    }
    std::vector<int32_t> shown = TileStreams(roster);
    for (const UserInfoRecord& tile : roster.tiles()) {
        ASSERT_TRUE(listed(tile)) << tile.uid;
        // A tile says what its entry says.
        ASSERT_TRUE(SameRecord(tile, *std::find(list.begin(), list.end(), tile))) << tile.uid;
        ASSERT_TRUE(inMedia(tile.streamId)) << tile.streamId;
        ASSERT_EQ(std::count(shown.begin(), shown.end(), tile.streamId), 1);
    }
    const UserInfoRecord& big = roster.bigViewUser();
    if (big != roster.ownUser()) {
        ASSERT_TRUE(listed(big) && inMedia(big.streamId)) << big.uid << " " << big.streamId;
        ASSERT_EQ(std::count(shown.begin(), shown.end(), big.streamId), 0);
        shown.push_back(big.streamId);
    }
    // Every remote stream is shown exactly once; the self tile exactly while someone else is.
    for (int32_t stream : media) {
        if (stream != kOwnStream) {
            ASSERT_EQ(std::count(shown.begin(), shown.end(), stream), 1) << stream;
        }
        ASSERT_EQ(roster.parkedEngineUsers().count(stream), 0u);
    }
    // Oneself fills the big view exactly while nobody else is in the engine's channel.
    const bool alone =
        std::all_of(media.begin(), media.end(), [](int32_t s) { return s == kOwnStream; });
    ASSERT_EQ(big == roster.ownUser(), alone);
    ASSERT_EQ(roster.hasSelfTile(), !alone);
    // A parked stream waits only while no record claims it.
    for (const auto& parked : roster.parkedEngineUsers()) {
        for (const UserInfoRecord& r : list) {
            ASSERT_NE(r.streamId, parked.first) << r.uid;
            if (!r.isShareStream) {
                ASSERT_NE(r.shareId, parked.first) << r.uid;
            }
        }
    }
    for (const UserInfoRecord& user : roster.participants()) ASSERT_EQ(user.isShareStream, 0);
    // The window, fed only the decisions, shows what the roster believes.
    ASSERT_EQ(window.tiles, TileStreams(roster));
    ASSERT_EQ(window.big, big.streamId);
    ASSERT_EQ(window.selfTile, roster.hasSelfTile());
}

TEST(MeetingRoster, FiftyParticipantsJoiningAndLeavingInRandomOrdersKeepTheListsConsistent) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        MeetingRoster roster(0, kOwnStream);
        StandInWindow window;
        window.roster = &roster;
        window.apply(roster.onOwnJoin(User("me", "Me", kOwnStream)));
        roster.onOwnEngineJoin(0);
        constexpr int kPeople = 50;
        auto uid = [](int i) { return "u" + std::to_string(i); };
        auto camera = [](int i) { return 1000 + i; };
        auto share = [](int i) { return 2000 + i; };
        for (int step = 0; step < 1500; ++step) {
            const int person = static_cast<int>(random() % kPeople);
            const uint32_t event = random() % 10;
            const bool shares = person % 5 == 0;
            if (event < 2) {
                window.apply(roster.onUserJoin(
                    User(uid(person), "N", camera(person), shares ? share(person) : -1)));
            } else if (event == 2) {
                window.apply(roster.onUserLeave(uid(person)));
            } else if (event < 6) {
                // Cameras come and go; so do shares, which only some records announce.
                const int32_t stream = event == 5 ? share(person) : camera(person);
                if (random() % 3) {
                    window.apply(roster.onEngineUserJoined(stream, step));
                } else {
                    window.apply(roster.onEngineUserOffline(stream));
                }
            } else if (event == 6 && !roster.tiles().empty()) {
                const UserInfoRecord chosen = roster.tiles()[random() % roster.tiles().size()];
                window.apply(roster.onExchangeBig(chosen));
            } else if (event == 7) {
                // The server's whole list: whoever it names, with or without a share.
                std::vector<UserInfoRecord> users{User("me", "Me", kOwnStream)};
                for (int i = 0; i < kPeople; ++i) {
                    if (random() % 3 == 0) users.push_back(User(uid(i), "N", camera(i), share(i)));
                }
                window.apply(roster.onUserList(users));
            } else if (event == 8) {
                // The room as listed, someone's microphone switched: a mute's list (now and then
                // with the share records the roster made, which no server sends).
                const bool withShares = random() % 2;
                std::vector<UserInfoRecord> users;
                for (const UserInfoRecord& r : roster.socketList()) {
                    if (withShares || !r.isShareStream) users.push_back(r);
                }
                users[random() % users.size()].status ^= kStatusMicOff;
                window.apply(roster.onUserList(users));
            }
            // The window posts replays to itself; they arrive a little later.
            while (!window.replays.empty()) {
                const RosterAction replay = window.replays.front();
                window.replays.erase(window.replays.begin());
                window.apply(roster.onEngineUserJoined(replay.streamId, replay.elapsed));
            }
            ExpectConsistent(roster, window);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
