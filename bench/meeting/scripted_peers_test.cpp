// The back-end's scripted peers as the program meets them: through the signalling server's own
// records, seen by a member connected as the program's signalling client connects, and through
// the stand-in engine's channel folder.
#include "scripted_peers.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "kestrum/engine/channel_folder.h"
#include "kestrum/json/json_document.h"
#include "kestrum/sio/client.h"
#include "kestrum/testing/line_recorder.h"
#include "kestrum/testing/wait.h"
#include "support/test_backend.h"

namespace {

using bench_peers::Peer;
using bench_peers::PeerGroup;
using kestrum::testing_support::WaitUntil;

constexpr char kMemberUid[] = "30001";
constexpr char kMemberToken[] = "member-token";

// A member of a room with the program's handshake query and authorization; what the room tells
// it, one line per event: "join <uid> <streamId>", "leave <uid>", "msg <uid> <text>".
class RoomMember {
public:
    RoomMember(const std::string& origin, const std::string& room) {
        ksio::Socket& socket = client_.DefaultSocket();
        socket.On("user-join", [this](const ksio::Event& event) {
            const ksio::Message& user = event.Arg(0);
            lines.Add("join " + user.Get("uid").AsString() + " " +
                      std::to_string(user.Get("streamId").AsInt()));
        });
        socket.On("user-leave", [this](const ksio::Event& event) {
            lines.Add("leave " + event.Arg(0).Get("uid").AsString());
        });
        socket.On("user-recv-msg", [this](const ksio::Event& event) {
            lines.Add("msg " + event.Arg(0).Get("uid").AsString() + " " +
                      event.Arg(0).Get("msg").AsString());
        });
        socket.EmitOnEveryConnect("authorize", {ksio::Message::FromString(kMemberToken)});
        client_.Connect(origin, {{"uid", kMemberUid},
                                 {"channel", room},
                                 {"streamId", kMemberUid},
                                 {"status", "0"},
                                 {"appversion", "1.2.0"},
                                 {"platform", "win"}});
    }

    void Say(const std::string& text) {
        client_.DefaultSocket().Emit("broadcast", {ksio::Message::FromString(text)});
    }

    kestrum::testing_support::LineRecorder lines;

private:
    ksio::Client client_;
};

class ScriptedPeersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = std::make_unique<bench_peers::ChannelRoot>();
        backend_ = std::make_unique<TestBackend>();
        jdoc::CJsonDocument info(backend_->Call("GET", "info"));
        info.ReadStringMember("signal", origin_);
        backend_->AddUser(kMemberToken, kMemberUid, "Member");
    }
    static void TearDownTestSuite() {
        backend_.reset();
        root_.reset();
    }

    void SetUp() override { ASSERT_FALSE(origin_.empty()) << "the back-end did not start"; }

    // A member of room, once the room has it.
    std::unique_ptr<RoomMember> Member(const std::string& room) {
        auto member = std::make_unique<RoomMember>(origin_, room);
        EXPECT_TRUE(member->lines.WaitForPrefix(std::string("join ") + kMemberUid));
        return member;
    }

    // The handshake query keys of each connection of the uids, as the server saw them.
    static std::vector<std::set<std::string>> QueryKeys(const std::set<std::string>& uids) {
        jdoc::CJsonDocument answer(backend_->Call("GET", "signal/connections"));
        std::vector<std::set<std::string>> keys;
        const JsonNode* list =
            answer.Node() ? json_find_member(answer.Node(), "connections") : nullptr;
        for (const JsonNode* connection = list ? list->child : nullptr; connection;
             connection = connection->next) {
            const JsonNode* query = json_find_member(connection, "query");
            const JsonNode* uid = query ? json_find_member(query, "uid") : nullptr;
            if (!uid || !uid->valuestring || !uids.count(uid->valuestring)) continue;
            std::set<std::string> names;
            for (const JsonNode* pair = query->child; pair; pair = pair->next)
                names.insert(pair->key);
            keys.push_back(names);
        }
        return keys;
    }

    static std::unique_ptr<bench_peers::ChannelRoot> root_;
    static std::unique_ptr<TestBackend> backend_;
    static std::string origin_;
};

std::unique_ptr<bench_peers::ChannelRoot> ScriptedPeersTest::root_;
std::unique_ptr<TestBackend> ScriptedPeersTest::backend_;
std::string ScriptedPeersTest::origin_;

TEST_F(ScriptedPeersTest, JoinAsTheProgramsClientDoesEachAUserWithAStreamOfItsOwn) {
    const auto member = Member("ROOM-A");
    PeerGroup group(*backend_);
    ASSERT_TRUE(group.Start("ROOM-A", 3, "", false));
    ASSERT_TRUE(member->lines.WaitForPrefix("join ", 4));

    std::set<std::string> joined;
    for (const std::string& line : member->lines.Lines()) joined.insert(line);
    std::set<std::string> uids;
    std::set<int> streams = {30001};
    for (const Peer& peer : group.peers()) {
        EXPECT_EQ(joined.count("join " + peer.uid + " " + std::to_string(peer.streamId)), 1u);
        uids.insert(peer.uid);
        streams.insert(peer.streamId);
    }
    EXPECT_EQ(uids.size(), 3u);
    EXPECT_EQ(streams.size(), 4u);

    const std::vector<std::set<std::string>> memberKeys = QueryKeys({kMemberUid});
    ASSERT_EQ(memberKeys.size(), 1u);
    const std::vector<std::set<std::string>> peerKeys = QueryKeys(uids);
    ASSERT_EQ(peerKeys.size(), 3u);
    for (const std::set<std::string>& keys : peerKeys) EXPECT_EQ(keys, memberKeys[0]);
}

TEST_F(ScriptedPeersTest, AreUsersOfTheEnginesChannelUntilTheyEnd) {
    // A channel name that only survives as one folder once escaped.
    const std::string room = "Room 7/\xC3\xBC%";
    const auto member = Member(room);
    kestrum::standin::ChannelFolder engine;
    ASSERT_TRUE(engine.enter(room, 30001));
    PeerGroup group(*backend_);
    ASSERT_TRUE(group.Start(room, 2, root_->unixPath(), false));
    std::set<uint32_t> streams;
    for (const Peer& peer : group.peers()) streams.insert(static_cast<uint32_t>(peer.streamId));
    EXPECT_TRUE(WaitUntil([&] { return engine.others() == streams; }));

    const std::vector<Peer> peers = group.peers();
    group.End();
    EXPECT_TRUE(WaitUntil([&] { return engine.others().empty(); }));
    for (const Peer& peer : peers) EXPECT_TRUE(member->lines.WaitFor("leave " + peer.uid));
    engine.leave();
}

TEST_F(ScriptedPeersTest, EchoingPeersAnswerTheProgramButNeverEachOther) {
    const auto member = Member("ROOM-ECHO");
    PeerGroup group(*backend_);
    ASSERT_TRUE(group.Start("ROOM-ECHO", 2, "", true));
    ASSERT_TRUE(member->lines.WaitForPrefix("join ", 3));
    member->Say("hello \xE4\xBD\xA0\xE5\xA5\xBD");

    EXPECT_TRUE(member->lines.WaitFor(std::string("msg ") + kMemberUid +
                                      " hello \xE4\xBD\xA0\xE5\xA5\xBD"));
    for (const Peer& peer : group.peers()) {
        EXPECT_TRUE(member->lines.WaitFor("msg " + peer.uid + " hello \xE4\xBD\xA0\xE5\xA5\xBD"));
    }
    // Peers that answered each other would go on for ever: half a second shows no more.
    EXPECT_FALSE(member->lines.WaitForPrefix("msg ", 4, std::chrono::milliseconds(500)));
}

TEST_F(ScriptedPeersTest, BurstComesFromThePeersInTurn) {
    const auto member = Member("ROOM-BURST");
    PeerGroup group(*backend_);
    ASSERT_TRUE(group.Start("ROOM-BURST", 2, "", false));
    ASSERT_TRUE(member->lines.WaitForPrefix("join ", 3));
    ASSERT_TRUE(group.Chat(4));

    // Each peer's messages keep their order; two sockets' messages need not.
    ASSERT_TRUE(member->lines.WaitForPrefix("msg ", 4));
    std::set<std::string> said;
    for (const std::string& line : member->lines.Lines()) {
        if (line.rfind("msg ", 0) == 0) said.insert(line);
    }
    std::set<std::string> expected;
    for (int i = 0; i < 4; ++i) {
        expected.insert("msg " + group.peers()[i % 2].uid + " burst " + std::to_string(i + 1));
    }
    EXPECT_EQ(said, expected);
}

}  // namespace
