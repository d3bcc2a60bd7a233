// The signalling handle of libVossary.dll under Wine against the back-end's room server: the
// join road, every event into its observer call, the emits as the server receives them, and
// what happens when the connection breaks.
#include <windows.h>

#include <functional>

#include "kestrum/common/scoped_handle.h"
#include "signal_fixture.h"

namespace {

using ksio::Message;

const std::string kAlice = "20001|Alice|||3|-1|20001|0";

class SocketJoinTest : public SignalTest {};

TEST_F(SocketJoinTest, JoinGivesOpenOwnJoinUserListAndRoomInfoInOrder) {
    Join();
    const std::vector<std::string> lines = observer_.Lines();
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0], "open");
    EXPECT_EQ(lines[1], "joinSuccess(" + kAlice + ")");
    EXPECT_EQ(lines[2], "list[" + kAlice + "]");
    EXPECT_EQ(lines[3], std::string("room(") + kRoom + "||" + kRoom + "|[]||0|1|[]|[])");
}

TEST_F(SocketJoinTest, QueryIsPercentEncodedAndAuthorizeCarriesTheStoredToken) {
    Join();
    const std::vector<std::string> urls = Server().ConnectionUrls();
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_NE(urls[0].find("channel=Raum%20%C3%BC%20%E4%BC%9A"), std::string::npos) << urls[0];
    for (const char* pair : {"uid=20001", "streamId=20001", "status=3", "appversion=1.0.0",
                             "platform=win", "EIO=4", "transport=websocket"}) {
        EXPECT_NE(urls[0].find(pair), std::string::npos) << pair << " in " << urls[0];
    }
    const auto authorize = Server().Received("authorize");
    ASSERT_EQ(authorize.size(), 1u);
    EXPECT_EQ(authorize[0].args, Message::FromArray({Message::FromString(kToken)}));
}

TEST_F(SocketJoinTest, UnknownTokenIsReportedAsUserError) {
    Library().setUserInfo("tok-unknown", kUid, "Alice", kRoom, "");
    handle_ = Create(&observer_);
    handle_->connect(Query(), kToken);
    ASSERT_TRUE(observer_.WaitFor("error("));
    EXPECT_EQ(observer_.First("error("), "error(4001,)");
    EXPECT_EQ(observer_.Count("joinSuccess("), 0u);
}

TEST_F(SocketJoinTest, SecondCreateReturnsTheSameHandleWithItsFirstObserver) {
    handle_ = Create(&observer_);
    SignalObserver other;
    EXPECT_EQ(Create(&other), handle_);
    handle_->connect(Query(), "");
    ASSERT_TRUE(observer_.WaitFor("room("));
    EXPECT_TRUE(other.Lines().empty());

    // After destruction the next handle starts afresh with its own observer.
    Destroy(handle_);
    handle_ = Create(&other);
    handle_->connect(Query(), "");
    EXPECT_TRUE(other.WaitFor("joinSuccess("));
    Destroy(nullptr);  // ignored
    // other goes before TearDown: its handle must go first.
    Destroy(handle_);
    handle_ = nullptr;
}

TEST_F(SocketJoinTest, HandleWithoutObserverDropsEveryNotification) {
    handle_ = Create(nullptr);
    handle_->connect(Query(), "");
    Peer bob(Origin(), kPeerUid, kRoom, kPeerToken);
    // Bob sees Alice join, so her connection worked; nobody was there to be told.
    ASSERT_TRUE(bob.WaitFor("user-list"));
    EXPECT_GE(Server().AwaitReceived("authorize", 2).size(), 2u);
}

class SocketPeerTest : public SignalTest {};

TEST_F(SocketPeerTest, OtherUsersJoinAndLeave) {
    Join();
    {
        Peer bob(Origin(), kPeerUid, kRoom, kPeerToken);
        ASSERT_TRUE(observer_.WaitFor("join("));
        EXPECT_EQ(observer_.First("join("), "join(20002|Bob|||0|-1|20002|0)");
    }
    ASSERT_TRUE(observer_.WaitFor("leave("));
    EXPECT_EQ(observer_.First("leave("), "leave(20002)");
    EXPECT_EQ(observer_.Count("joinSuccess("), 1u);
}

TEST_F(SocketPeerTest, BroadcastReachesTheRoomAsSentText) {
    Join();
    Peer bob(Origin(), kPeerUid, kRoom, kPeerToken);
    ASSERT_TRUE(bob.WaitFor("user-list"));
    const std::string text = "h\xC3\xA9llo \"you\"\n{\\}";
    handle_->broadcast(text.c_str());
    ASSERT_TRUE(bob.WaitFor("user-recv-msg"));
    EXPECT_EQ(bob.Arg("user-recv-msg").Get("msg").AsString(), text);
    ASSERT_TRUE(observer_.WaitFor("msg("));
    EXPECT_EQ(observer_.First("msg("), "msg(20001," + text + ")");
    const auto broadcast = Server().Received("broadcast");
    ASSERT_EQ(broadcast.size(), 1u);
    EXPECT_EQ(broadcast[0].args, Message::FromArray({Message::FromString(text)}));
}

TEST_F(SocketPeerTest, OwnRequestIsSentAsCompactTextAndItsRefusalComesBack) {
    Join();
    Peer bob(Origin(), kPeerUid, kRoom, kPeerToken);
    ASSERT_TRUE(bob.WaitFor("user-list"));
    handle_->sendRequest("unmuteAudio", kPeerUid, kRoom);
    ASSERT_TRUE(observer_.WaitFor("result("));
    EXPECT_EQ(observer_.First("result("), "result(unmuteAudio,req-1,20002)");
    ASSERT_TRUE(bob.WaitFor("user-request"));
    EXPECT_EQ(bob.Arg("user-request").Get("sender").AsString(), kUid);

    const auto sent = Server().Received("send-request");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].args.At(0).AsString(),
              std::string(R"({"op":"unmuteAudio","target":"20002","rid":")") + kRoom + "\"}");

    bob.Emit("send-response", R"({"requestId":"req-1","accept":0,"rid":"x"})");
    ASSERT_TRUE(observer_.WaitFor("response("));
    EXPECT_EQ(observer_.First("response("), "response(0,req-1,,REFUSED,20001,20002)");
}

TEST_F(SocketPeerTest, AnsweringARequestSendsIndentedTextWithIntegerAccept) {
    Join();
    Peer bob(Origin(), kPeerUid, kRoom, kPeerToken);
    ASSERT_TRUE(bob.WaitFor("user-list"));
    bob.Emit("send-request", std::string(R"({"op":"unmuteVideo","target":"20001","rid":"r"})"));
    ASSERT_TRUE(observer_.WaitFor("request("));
    EXPECT_EQ(observer_.First("request("), "request(unmuteVideo,20002,req-1)");
    handle_->sendResponse("req-1", true, kRoom);
    ASSERT_TRUE(bob.WaitFor("user-response"));
    EXPECT_TRUE(bob.Arg("user-response").Get("success").AsBool());

    const auto sent = Server().Received("send-response");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].args.At(0).AsString(), std::string("{\n\t\"requestId\":\t\"req-1\",\n\t"
                                                         "\"accept\":\t1,\n\t\"rid\":\t\"") +
                                                 kRoom + "\"\n}");
}

TEST_F(SocketPeerTest, RoomControlReachesTheRoomAsUserOperation) {
    Join();
    // The REST side knows the room once joined through it; the control call is then echoed.
    struct Done : ZuvraKestrum::ICallBack::CUserCallBack {
        kestrum::common::ScopedHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        void onHttpRetUpload(const char*, int, unsigned, const char*) override {
            SetEvent(event.get());
        }
    } joined, controlled;
    Library().joinRoom(&joined, kRoom, "", "", "");
    ASSERT_EQ(WaitForSingleObject(joined.event.get(), 10000), WAIT_OBJECT_0);
    Library().ctrlRoom(&controlled, "unmuteAudio", {kUid});
    ASSERT_EQ(WaitForSingleObject(controlled.event.get(), 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(observer_.WaitFor("operator("));
    EXPECT_EQ(observer_.First("operator("),
              "operator(20001,unmuteAudio,20001,[20001|Alice|||2|-1|20001|0])");
}

// Payloads composed by the test, sent to Alice only.
class SocketEventTest : public SignalTest {
protected:
    // Sends the event with one argument and waits for the line it gives.
    std::string Deliver(const std::string& event, const std::string& payloadJson,
                        const std::string& expectedPrefix) {
        const size_t before = observer_.Count(expectedPrefix);
        EXPECT_EQ(Server().Inject(event, "[" + payloadJson + "]", kUid), 1);
        if (!observer_.WaitFor(expectedPrefix, before + 1)) return "";
        const std::vector<std::string> lines = observer_.Lines();
        return lines.back();
    }
};

TEST_F(SocketEventTest, UserErrorByPayloadKind) {
    Join();
    EXPECT_EQ(Deliver("user-error", R"({"code":4003})", "error("), "error(4003,)");
    EXPECT_EQ(Deliver("user-error", R"("kicked")", "error("), "error(-1,kicked)");
    EXPECT_EQ(Deliver("user-error", "4003", "error("), "error(0,)");
}

TEST_F(SocketEventTest, OwnUidMatchesOnlyByteForByte) {
    Join();
    EXPECT_EQ(Deliver("user-join", R"({"uid":"20001 ","status":"2"})", "join("),
              "join(20001 ||||2|0|0|0)");
    EXPECT_EQ(Deliver("user-join", R"({"uid":"020001","status":true})", "join("),
              "join(020001||||0|0|0|0)");
    // A stream id that is no whole number is no stream.
    EXPECT_EQ(
        Deliver("user-join", R"({"uid":"20001","status":"x1","streamId":3.5})", "joinSuccess("),
        "joinSuccess(20001||||0|0|-1|0)");
}

TEST_F(SocketEventTest, UserListArraysOnly) {
    Join();
    EXPECT_EQ(Server().Inject("user-list", R"([{"uid":"a"}])", kUid), 1);
    EXPECT_EQ(Deliver("user-list", "[]", "list"), "list[]");
    // An object is ignored: the message sent after it is the next thing the observer hears.
    Server().Inject("user-list", R"([{"uid":"a"}])", kUid);
    EXPECT_EQ(Deliver("user-recv-msg", R"({"uid":"u","msg":"after"})", "msg("), "msg(u,after)");
    EXPECT_EQ(observer_.Count("list"), 2u);  // the join's list and the empty one
}

TEST_F(SocketEventTest, UserInfoWithoutShareIdGivesZeroAndNoFeature) {
    Join();
    EXPECT_EQ(Deliver("user-info", R"({"uid":"u9","name":"N","streamId":9,"feature":5,"status":1})",
                      "info("),
              "info(u9|N|||1|0|9|0)");
}

TEST_F(SocketEventTest, RoomInfoWithoutOptionalPartsHasNoProfile) {
    Join();
    EXPECT_EQ(Deliver("room-info",
                      R"({"rid":"r","pwd":"p","hosts":["h"],"initialStatus":2,"hostsDetails":[]})",
                      "room("),
              "room(r|p||[h]||2|-1|[]|[])");
    EXPECT_EQ(Deliver("room-info",
                      R"({"rid":"r","pwd":"","topic":"T","hosts":[],"initialStatus":0,)"
                      R"("hostsDetails":[{"name":"Hal"}],"sdkConfigs":{"channelProfile":0,)"
                      R"("parameters":["{\"che.audio\":1}"],"shareParameters":["s1","s2"]}})",
                      "room("),
              "room(r||T|[]|Hal|0|0|[{\"che.audio\":1}]|[s1,s2])");
}

TEST_F(SocketEventTest, UserOperationWithAndWithoutTargets) {
    Join();
    EXPECT_EQ(Deliver("user-operation",
                      R"({"operator":"h","original":{"targets":[],"type":"interrupt"},"users":[]})",
                      "operator("),
              "operator(h,interrupt,,[])");
    EXPECT_EQ(Deliver("user-operation",
                      R"({"operator":"h","original":{"targets":["t1","t2"],"type":"ban"},)"
                      R"("users":[{"uid":"t2","status":3,"shareId":4}]})",
                      "operator("),
              "operator(h,ban,t1,[t2||||3|4|0|0])");
}

TEST_F(SocketEventTest, TextEventsReadWrongTypesAsEmpty) {
    Join();
    EXPECT_EQ(Deliver("user-leave", R"({"uid":5})", "leave("), "leave()");
    EXPECT_EQ(Deliver("user-recv-msg", R"({"uid":"u","msg":null})", "msg("), "msg(u,)");
    EXPECT_EQ(
        Deliver("request-result", R"({"op":"unmuteAudio","requestId":7,"target":"t"})", "result("),
        "result(unmuteAudio,,t)");
    EXPECT_EQ(
        Deliver("user-request", R"({"op":"unmuteVideo","sender":"s","requestId":"q"})", "request("),
        "request(unmuteVideo,s,q)");
    EXPECT_EQ(Deliver("user-response",
                      R"({"success":1,"requestId":"q","reason":404,"sender":"s","target":"t"})",
                      "response("),
              "response(0,q,,,s,t)");
    EXPECT_EQ(
        Deliver("user-response",
                R"({"success":true,"requestId":"q","reason":"TIMEOUT","sender":"s","target":"t"})",
                "response("),
        "response(1,q,,TIMEOUT,s,t)");
}

TEST_F(SocketEventTest, LongTextsArriveCutTo255Bytes) {
    Join();
    const std::string name(300, 'n');
    EXPECT_EQ(Deliver("user-join", R"({"uid":"u","name":")" + name + "\"}", "join("),
              "join(u|" + std::string(255, 'n') + "|||0|0|0|0)");
}

class SocketConnectionTest : public SignalTest {};

TEST_F(SocketConnectionTest, DroppedConnectionSchedulesAReconnection) {
    Join();
    Server().Fault("drop");
    EXPECT_TRUE(observer_.WaitFor("reconnect"));
}

TEST_F(SocketConnectionTest, SilentServerIsNoticedAfterPingIntervalAndTimeout) {
    Join();
    const DWORD t0 = GetTickCount();
    Server().Fault("silence");
    ASSERT_TRUE(observer_.WaitFor("reconnect"));
    // 400 ms interval + 800 ms timeout on the server; the first silent ping may be that late.
    EXPECT_LT(GetTickCount() - t0, 4000u);
}

TEST_F(SocketConnectionTest, RefusedConnectionSchedulesAReconnection) {
    Server().Fault("refuse");
    handle_ = Create(&observer_);
    handle_->connect(Query(), "");
    EXPECT_TRUE(observer_.WaitFor("reconnect"));
    EXPECT_EQ(observer_.Count("open"), 0u);
}

// A refusal is the server's answer, not a lost network: the program must hear it as a failure,
// or its reconnection road would knock on the closed door for ever.
TEST_F(SocketConnectionTest, NamespaceRefusalIsAFailureThatIsNotRetried) {
    Server().Fault("connect-error", 2);
    handle_ = Create(&observer_);
    handle_->connect(Query(), "");
    ASSERT_TRUE(observer_.WaitFor("fail"));
    Sleep(500);
    EXPECT_EQ(observer_.Lines(), std::vector<std::string>{"fail"});
    EXPECT_TRUE(Server().ConnectionUrls().empty());
}

// An oversized message too: it is dropped (and said so in the library's trace), not the link.
TEST_F(SocketConnectionTest, MalformedAndOversizedPacketsLeaveTheConnectionUp) {
    Join();
    Server().Fault("malformed");
    Server().Fault("big-msg", 1'000'000);  // 3 MB of UTF-8
    ASSERT_EQ(Server().Inject("user-recv-msg", R"([{"uid":"u","msg":"still here"}])", kUid), 1);
    ASSERT_TRUE(observer_.WaitFor("msg("));
    EXPECT_EQ(observer_.First("msg("), "msg(u,still here)");
    EXPECT_EQ(observer_.Count("reconnect"), 0u);
    EXPECT_EQ(observer_.Count("close"), 0u);
}

// Leaving must not wait for the network: not for a server that has gone deaf (the close is never
// answered), nor for one that never took the connection in. The close finishes in the background
// and is over once the library stops, with nothing more reported.
TEST_F(SocketConnectionTest, DestroyReturnsWithoutWaitingForTheServerAndReportsNothingMore) {
    const std::function<void()> joinThenFreeze = [this] {
        Join();
        Server().Fault("freeze");
    };
    const std::function<void()> connectUnanswered = [this] {
        Server().Fault("hold");
        handle_ = Create(&observer_);
        handle_->connect(Query(), "");
    };
    for (const std::function<void()>& reach : {joinThenFreeze, connectUnanswered}) {
        reach();
        Destroy(handle_);
        handle_ = nullptr;
        // The network thread that reported the close is still finishing it (a close that waited
        // for the server would have ended it), until the library stops.
        const HANDLE network = observer_.CloseThread();
        ASSERT_NE(network, nullptr);
        EXPECT_EQ(WaitForSingleObject(network, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        const std::vector<std::string> reported = observer_.Lines();
        Library().uninit();
        EXPECT_EQ(WaitForSingleObject(network, 0), WAIT_OBJECT_0);
        Library().init();
        EXPECT_EQ(observer_.Lines(), reported);
        Server().Reset();
    }
}

TEST_F(SocketConnectionTest, DestroyWhileWaitingToReconnectIsQuickAndFinal) {
    Join();
    Server().Fault("restart", 1, 300);
    ASSERT_TRUE(observer_.WaitFor("reconnect"));
    const DWORD t0 = GetTickCount();
    Destroy(handle_);
    handle_ = nullptr;
    EXPECT_LT(GetTickCount() - t0, 1000u);
    const size_t after = observer_.Lines().size();
    Sleep(500);
    EXPECT_EQ(observer_.Lines().size(), after);
    EXPECT_EQ(observer_.Count("open"), 1u);
    EXPECT_EQ(Server().ConnectionUrls().size(), 1u);
}

}  // namespace
