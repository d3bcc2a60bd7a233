// The client against the real socket.io server: handshake, events both ways, heartbeat and
// what the server sees of the connection request.
#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "kestrum/sio/client.h"
#include "sio_test_support.h"

namespace ksio::test {
namespace {

Message Text(const std::string& text) { return Message::FromString(text); }

class ClientSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        origin_ = ServerOrigin();
        ASSERT_FALSE(origin_.empty());
        probe_.Watch("echo");
        probe_.Watch("welcome");
    }

    void ConnectAndWaitOpen(const std::map<std::string, std::string>& query = {}) {
        client_.Connect(origin_, query);
        ASSERT_TRUE(probe_.WaitFor("open"));
    }

    std::string origin_;
    Client client_;
    Probe probe_{client_};
};

TEST_F(ClientSessionTest, EmitRoundTripKeepsEveryArgumentKind) {
    ConnectAndWaitOpen();
    const Message::Array sent = {
        Text("h\xC3\xA9llo \xE4\xBD\xA0\xE5\xA5\xBD"),
        Message::FromInt(-1099511627776),
        Message::FromDouble(7.25),
        Message::FromBool(true),
        Message(),
        Message::FromArray({Message::FromInt(1), Text("two")}),
        Message::FromObject({{"uid", Text("u1")}, {"status", Message::FromInt(3)}})};
    client_.DefaultSocket().Emit("echo", sent);
    ASSERT_TRUE(probe_.WaitFor("event:echo"));
    EXPECT_EQ(probe_.Args("echo"), sent);
}

TEST_F(ClientSessionTest, EmitsMadeBeforeConnectArriveInOrderOnceConnected) {
    for (int i = 0; i < 50; ++i) client_.DefaultSocket().Emit("echo", {Message::FromInt(i)});
    client_.Connect(origin_);
    // Emits racing the handshake from another thread join the same queue.
    std::thread late([this] {
        for (int i = 50; i < 100; ++i) client_.DefaultSocket().Emit("echo", {Message::FromInt(i)});
    });
    late.join();
    ASSERT_TRUE(probe_.WaitFor("event:echo", 100));
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(probe_.Args("echo", static_cast<size_t>(i)), Message::Array{Message::FromInt(i)});
    }
    // Emits are only sent after the namespace connected, so "open" precedes every echo.
    EXPECT_EQ(probe_.Entries().front(), "open");
}

// An emit made on the network thread (from a handler) is sent at once rather than queued for
// later: it must still go out in the order made, and the handler's own event must finish first.
TEST_F(ClientSessionTest, EmitsFromInsideAHandlerGoOutInOrder) {
    constexpr int64_t kLast = 200;
    std::mutex mutex;
    std::vector<int64_t> seen;
    std::promise<void> done;
    client_.DefaultSocket().On("echo", [&](const Event& event) {
        const int64_t n = event.Arg(0).AsInt();
        {
            std::lock_guard<std::mutex> lock(mutex);
            seen.push_back(n);
        }
        // Each even value is answered with two emits in one call, the odd ones with none.
        if (n % 2 == 0 && n < kLast) {
            client_.DefaultSocket().Emit("echo", {Message::FromInt(n + 1)});
            client_.DefaultSocket().Emit("echo", {Message::FromInt(n + 2)});
        }
        if (n == kLast) done.set_value();
    });
    ConnectAndWaitOpen();
    client_.DefaultSocket().Emit("echo", {Message::FromInt(0)});
    ASSERT_EQ(done.get_future().wait_for(kestrum::testing_support::TestTimeout()),
              std::future_status::ready);
    client_.SyncClose();  // the handler refers to this function's locals
    std::vector<int64_t> expected;
    for (int64_t n = 0; n <= kLast; ++n) expected.push_back(n);
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(probe_.Count("reconnect:1"), 0);
}

// The open listener runs on the network thread too, after the waiting emits have gone out.
TEST_F(ClientSessionTest, EmitFromTheOpenListenerFollowsTheWaitingEmits) {
    client_.DefaultSocket().Emit("echo", {Text("queued")});
    client_.SetOpenListener([this] { client_.DefaultSocket().Emit("echo", {Text("from open")}); });
    client_.Connect(origin_);
    ASSERT_TRUE(probe_.WaitFor("event:echo", 2));
    EXPECT_EQ(probe_.Args("echo", 0), Message::Array{Text("queued")});
    EXPECT_EQ(probe_.Args("echo", 1), Message::Array{Text("from open")});
}

TEST_F(ClientSessionTest, ServerIntegersAndDoublesArriveApart) {
    probe_.Watch("types");
    ConnectAndWaitOpen();
    client_.DefaultSocket().Emit("fault", {Text("types")});
    ASSERT_TRUE(probe_.WaitFor("event:types"));
    const Message types = probe_.Args("types").at(0);
    EXPECT_EQ(types.Get("int").GetType(), Message::Type::Integer);
    EXPECT_EQ(types.Get("int").AsInt(), 42);
    EXPECT_EQ(types.Get("negative").AsInt(), -7);
    EXPECT_EQ(types.Get("big").AsInt(), int64_t{1} << 40);
    EXPECT_EQ(types.Get("double").GetType(), Message::Type::Double);
    EXPECT_EQ(types.Get("double").AsDouble(), 2.5);
    EXPECT_EQ(types.Get("double").AsInt(), 0);
    EXPECT_EQ(types.Get("negativeDouble").AsDouble(), -0.125);
    EXPECT_EQ(types.Get("yes").GetType(), Message::Type::Boolean);
    EXPECT_TRUE(types.Get("nothing").IsNull());
    EXPECT_EQ(types.Get("list").At(1).GetType(), Message::Type::Double);
    EXPECT_EQ(types.Get("object").Get("a").AsInt(), 1);
}

TEST_F(ClientSessionTest, QueryValuesReachTheServerExactlyAsGiven) {
    const std::map<std::string, std::string> query = {
        {"channel", "\xE4\xBC\x9A\xE8\xAE\xAE room #1"},  // UTF-8 and a space
        {"token", "a&b=c?d/e+f%g"},
        {"uid", "4294967295"},
        {"empty", ""}};
    ConnectAndWaitOpen(query);
    ASSERT_TRUE(probe_.WaitFor("event:welcome"));
    const Message received = probe_.Args("welcome").at(0).Get("query");
    for (const auto& [key, value] : query) EXPECT_EQ(received.Get(key).AsString(), value) << key;
    EXPECT_EQ(received.Get("EIO").AsString(), "4");
    EXPECT_EQ(received.Get("transport").AsString(), "websocket");
}

TEST_F(ClientSessionTest, EventWithAckIdIsDeliveredAndAnswered) {
    probe_.Watch("with-ack");
    probe_.Watch("acked");
    ConnectAndWaitOpen();
    client_.DefaultSocket().Emit("fault", {Text("ack")});
    ASSERT_TRUE(probe_.WaitFor("event:acked"));
    EXPECT_EQ(probe_.Args("with-ack"), Message::Array{Text("please ack")});
    EXPECT_EQ(probe_.Args("acked"), Message::Array{Message::FromArray({})});
}

TEST_F(ClientSessionTest, MalformedPacketsAreIgnoredAndTheConnectionCarriesOn) {
    probe_.Watch("after-malformed");
    ConnectAndWaitOpen();
    client_.DefaultSocket().Emit("fault", {Text("malformed")});
    ASSERT_TRUE(probe_.WaitFor("event:after-malformed"));
    client_.DefaultSocket().Emit("echo", {Text("still here")});
    ASSERT_TRUE(probe_.WaitFor("event:echo"));
    // The packet for another namespace carried an "echo" too; it must not have been delivered.
    EXPECT_EQ(probe_.Count("event:echo"), 1);
    EXPECT_EQ(probe_.Args("echo"), Message::Array{Text("still here")});
    EXPECT_EQ(probe_.Count("open"), 1);
    EXPECT_EQ(probe_.Count("reconnect:1"), 0);
}

// A pong goes ahead of the emits still waiting, so a burst of them does not make it late.
TEST_F(ClientSessionTest, AnsweredPingsKeepTheConnectionOpenEvenAcrossABurstOfSends) {
    ConnectAndWaitOpen();
    // The server pings every 400 ms and drops a client that does not answer within 600 ms.
    std::this_thread::sleep_for(2500ms);
    // One more ping a moment into the burst, whose pong the server awaits for 300 ms only.
    client_.DefaultSocket().Emit("fault",
                                 {Text("ping-in"), Message::FromInt(100), Message::FromInt(300)});
    const Message::Array chunk = {Text(std::string(256 * 1024, 'b'))};
    for (int i = 0; i < 400; ++i) client_.DefaultSocket().Emit("burst", chunk);
    client_.DefaultSocket().Emit("echo", {Text("alive")});
    ASSERT_TRUE(probe_.WaitFor("event:echo"));
    EXPECT_EQ(probe_.Entries(), (std::vector<std::string>{"open", "event:welcome", "event:echo"}));
}

TEST_F(ClientSessionTest, InvalidUtf8InAnEmitIsRepairedInsteadOfBreakingTheConnection) {
    ConnectAndWaitOpen();
    client_.DefaultSocket().Emit("echo", {Text("cut \xE4\xBD")});
    ASSERT_TRUE(probe_.WaitFor("event:echo"));
    EXPECT_EQ(probe_.Args("echo"), Message::Array{Text("cut \xEF\xBF\xBD")});
    EXPECT_EQ(probe_.Count("reconnect:1"), 0);
}

TEST_F(ClientSessionTest, SyncCloseReportsARequestedCloseOnceAndEndsTheSession) {
    ConnectAndWaitOpen();
    client_.SyncClose();
    EXPECT_EQ(probe_.Count("close:requested"), 1);
    client_.DefaultSocket().Emit("echo", {Text("after close")});
    client_.SyncClose();
    EXPECT_EQ(probe_.Count("close:requested"), 1);
    // A new session sends what was emitted while closed.
    client_.Connect(origin_);
    ASSERT_TRUE(probe_.WaitFor("event:echo"));
    EXPECT_EQ(probe_.Args("echo"), Message::Array{Text("after close")});
}

}  // namespace
}  // namespace ksio::test
