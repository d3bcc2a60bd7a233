// How the client ends, fails and recovers: drops, dead connections, restarts, refusals, server
// disconnects, and closing or destroying it while a reconnection is pending.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "kestrum/sio/client.h"
#include "kestrum/sio/closing_clients.h"
#include "kestrum/testing/wait.h"
#include "sio_test_support.h"

namespace ksio::test {
namespace {

Message Text(const std::string& text) { return Message::FromString(text); }

class ClientReconnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        origin_ = ServerOrigin();
        ASSERT_FALSE(origin_.empty());
        client_->SetReconnectPolicy(FastRetries());
        probe_.Watch("echo");
        probe_.Watch("fault-set");
    }

    void ConnectAndWaitOpen() {
        client_->Connect(origin_);
        ASSERT_TRUE(probe_.WaitFor("open"));
    }

    void Fault(const std::string& name, int64_t arg = 0) {
        client_->DefaultSocket().Emit("fault", {Text(name), Message::FromInt(arg)});
    }

    // After a reconnection the same handlers must still receive events.
    void ExpectEchoWorks(int echoes_before) {
        client_->DefaultSocket().Emit("echo", {Text("again")});
        EXPECT_TRUE(probe_.WaitFor("event:echo", echoes_before + 1));
    }

    std::string origin_;
    std::unique_ptr<Client> client_ = std::make_unique<Client>();
    Probe probe_{*client_};
};

TEST_F(ClientReconnectTest, ServerDropIsFollowedByAnnouncedReconnection) {
    ConnectAndWaitOpen();
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("open", 2));
    EXPECT_EQ(probe_.Count("reconnect:1"), 1);
    EXPECT_EQ(probe_.ReconnectDelays().at(0), 100ms);
    EXPECT_EQ(probe_.Count("close:dropped"), 0);
    ExpectEchoWorks(0);
}

// A reconnection asks with the query as it stands then, not as it was at the first connect;
// a value set before any session is left to the Connect that brings the whole query.
TEST_F(ClientReconnectTest, ReconnectionAsksWithTheQueryValuesSetMeanwhile) {
    probe_.Watch("welcome");
    client_->SetQueryValue("status", "3");
    client_->Connect(origin_, {{"status", "0"}, {"uid", "u1"}});
    ASSERT_TRUE(probe_.WaitFor("open"));
    client_->SetQueryValue("status", "1");
    client_->SetQueryValue("reconnect", "true");
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("event:welcome", 2));
    const Message first = probe_.Args("welcome", 0).at(0).Get("query");
    const Message second = probe_.Args("welcome", 1).at(0).Get("query");
    EXPECT_EQ(first.Get("status").AsString(), "0");
    EXPECT_TRUE(first.Get("reconnect").IsNull());
    EXPECT_EQ(second.Get("status").AsString(), "1");
    EXPECT_EQ(second.Get("reconnect").AsString(), "true");
    EXPECT_EQ(second.Get("uid").AsString(), "u1");
}

// What a message costs is bounded by what it holds, the same whether the server escapes its text
// or not: a larger one is dropped and said so, and the connection carries on.
TEST_F(ClientReconnectTest, AMessageHoldingMoreThanTheCapIsDroppedAndTheConnectionStays) {
    probe_.Watch("big");
    ConnectAndWaitOpen();
    Fault("patient", 20000);  // the server's pings wait behind tens of megabytes
    constexpr size_t kPayloadOverhead = sizeof R"(["big",""])" - 1;
    constexpr int64_t kCapChars = static_cast<int64_t>(kMaxMessageBytes - kPayloadOverhead);
    constexpr int64_t kMebibyteOfCjk = (1 << 20) / 3;
    constexpr int64_t kTenMegabytesOfCjk = 10'000'000 / 3;
    Fault("big", kCapChars);
    Fault("big-cjk", kMebibyteOfCjk);
    Fault("big-cjk-escaped", kMebibyteOfCjk);  // 2 MiB on the wire
    Fault("big", kCapChars + 1);
    Fault("big-cjk", kTenMegabytesOfCjk);
    Fault("big-cjk-escaped", kTenMegabytesOfCjk);
    ASSERT_TRUE(probe_.WaitFor("drop", 3)) << ::testing::PrintToString(probe_.Entries());
    ExpectEchoWorks(0);
    ASSERT_EQ(probe_.Count("event:big"), 3);
    EXPECT_EQ(probe_.Args("big", 0).at(0).AsString().size(), static_cast<size_t>(kCapChars));
    const std::string mebibyte = [] {
        std::string text;
        for (int64_t i = 0; i < kMebibyteOfCjk; ++i) text += "\xE4\xB8\xAD";
        return text;
    }();
    EXPECT_EQ(probe_.Args("big", 1).at(0).AsString(), mebibyte);
    EXPECT_EQ(probe_.Args("big", 2).at(0).AsString(), mebibyte);
    EXPECT_EQ(probe_.Drops().at(0), "dropped the event \"big\" from the server: it holds " +
                                        std::to_string(kMaxMessageBytes + 1) +
                                        " bytes, more than the 2097152 this client takes");
    EXPECT_EQ(probe_.Drops().at(1), probe_.Drops().at(2));
    EXPECT_EQ(probe_.Count("open"), 1);
    EXPECT_EQ(probe_.Count("reconnect:1"), 0);
}

// A message the client does not even read ends its connection; a server that sends one on every
// connection is not asked again for ever.
TEST_F(ClientReconnectTest, AServerBreakingTheFrameLimitOnEveryConnectionEndsTheSession) {
    ConnectAndWaitOpen();
    client_->DefaultSocket().Emit(
        "fault", {Text("big-on-connect"), Message::FromInt(kMaxFrameBytes), Message::FromInt(3)});
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("fail")) << ::testing::PrintToString(probe_.Entries());
    EXPECT_EQ(probe_.Count("open"), 4);
    EXPECT_EQ(probe_.Count("reconnect:1"), 3);  // the drop's, then two breaks'
    ASSERT_EQ(probe_.FailReasons().size(), 1u);
    EXPECT_EQ(probe_.FailReasons()[0],
              "the server sent a message larger than 33554432 bytes, on 3 connections in a row");
}

TEST_F(ClientReconnectTest, SilentServerIsDetectedAsDeadAndReplaced) {
    ConnectAndWaitOpen();
    const auto silenced = std::chrono::steady_clock::now();
    Fault("silence");
    ASSERT_TRUE(probe_.WaitFor("reconnect:1"));
    // Nothing for pingInterval + pingTimeout (400 + 600 ms) means dead; not much sooner or later.
    const auto detected = std::chrono::steady_clock::now() - silenced;
    EXPECT_GE(detected, 900ms);
    EXPECT_LT(detected, 3000ms);
    ASSERT_TRUE(probe_.WaitFor("open", 2));
    ExpectEchoWorks(0);
}

TEST_F(ClientReconnectTest, ServerRestartIsRetriedWithGrowingDelaysUntilItIsBack) {
    ConnectAndWaitOpen();
    Fault("restart", 700);
    ASSERT_TRUE(probe_.WaitFor("open", 2));
    ASSERT_GE(probe_.Count("reconnect:2"), 1);  // the first retries found the port closed
    const auto delays = probe_.ReconnectDelays();
    EXPECT_EQ(delays.at(0), 100ms);
    EXPECT_EQ(delays.at(1), 200ms);
    ExpectEchoWorks(0);
    // After a successful connection the count starts again from 1.
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("open", 3));
    EXPECT_EQ(probe_.ReconnectDelays().back(), 100ms);
}

TEST_F(ClientReconnectTest, ServerDisconnectClosesWithoutReconnecting) {
    ConnectAndWaitOpen();
    Fault("disconnect");
    ASSERT_TRUE(probe_.WaitFor("close:server"));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(probe_.Entries(),
              (std::vector<std::string>{"open", "event:fault-set", "close:server"}));
}

TEST_F(ClientReconnectTest, ConnectErrorFailsAtOnceWithTheServersMessageAndIsNotRetried) {
    ASSERT_TRUE(SetServerSwitch("refuse-io", 1));
    client_->Connect(origin_);
    ASSERT_TRUE(probe_.WaitFor("fail"));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(probe_.Entries(), std::vector<std::string>{"fail"});
    ASSERT_EQ(probe_.FailReasons().size(), 1u);
    EXPECT_NE(probe_.FailReasons()[0].find("refused by the test"), std::string::npos)
        << probe_.FailReasons()[0];
    // The caller may ask again itself.
    client_->Close();
    ConnectAndWaitOpen();
    ExpectEchoWorks(0);
}

TEST_F(ClientReconnectTest, ConnectErrorWhileReconnectingEndsTheSession) {
    ConnectAndWaitOpen();
    Fault("refuse-io", 1);
    ASSERT_TRUE(probe_.WaitFor("event:fault-set"));
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("fail"));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(probe_.Count("open"), 1);
    EXPECT_EQ(probe_.Entries().back(), "fail");
}

TEST_F(ClientReconnectTest, EveryConnectionOpensWithTheGreetingBeforeWaitingEmits) {
    client_->DefaultSocket().EmitOnEveryConnect("echo", {Text("greeting")});
    client_->DefaultSocket().Emit("echo", {Text("queued")});
    ConnectAndWaitOpen();
    ASSERT_TRUE(probe_.WaitFor("event:echo", 2));
    EXPECT_EQ(probe_.Args("echo", 0), Message::Array{Text("greeting")});
    EXPECT_EQ(probe_.Args("echo", 1), Message::Array{Text("queued")});
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("open", 2));
    ASSERT_TRUE(probe_.WaitFor("event:echo", 3));
    EXPECT_EQ(probe_.Args("echo", 2), Message::Array{Text("greeting")});
}

TEST_F(ClientReconnectTest, ConnectErrorWithoutReconnectionFails) {
    ASSERT_TRUE(SetServerSwitch("refuse-io", 1));
    ReconnectPolicy off;
    off.enabled = false;
    client_->SetReconnectPolicy(off);
    client_->Connect(origin_);
    ASSERT_TRUE(probe_.WaitFor("fail"));
    EXPECT_EQ(probe_.Entries(), std::vector<std::string>{"fail"});
}

TEST_F(ClientReconnectTest, RejectedWebsocketHandshakeIsRetried) {
    ASSERT_TRUE(SetServerSwitch("refuse-http", 1));
    ConnectAndWaitOpen();
    EXPECT_EQ(probe_.Entries().at(0), "reconnect:1");
}

TEST_F(ClientReconnectTest, UnreachableServerFailsOnceTheAttemptsAreUsedUp) {
    client_->SetReconnectPolicy(FastRetries(2));
    client_->Connect(ClosedOrigin());
    ASSERT_TRUE(probe_.WaitFor("fail"));
    EXPECT_EQ(probe_.Entries(), (std::vector<std::string>{"reconnect:1", "reconnect:2", "fail"}));
}

TEST_F(ClientReconnectTest, DropWithoutReconnectionCloses) {
    ReconnectPolicy off;
    off.enabled = false;
    client_->SetReconnectPolicy(off);
    ConnectAndWaitOpen();
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("close:dropped"));
    EXPECT_EQ(probe_.Count("reconnect:1"), 0);
}

TEST_F(ClientReconnectTest, CloseWhileWaitingToReconnectCancelsTheAttempt) {
    ReconnectPolicy slow;
    slow.initial_delay = 10s;
    client_->SetReconnectPolicy(slow);
    ConnectAndWaitOpen();
    Fault("drop");
    ASSERT_TRUE(probe_.WaitFor("reconnect:1"));
    const auto start = std::chrono::steady_clock::now();
    client_->SyncClose();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_EQ(probe_.Entries().back(), "close:requested");
    EXPECT_EQ(probe_.Count("open"), 1);
}

TEST_F(ClientReconnectTest, DestroyingTheClientDuringReconnectionIsSafeAndQuick) {
    ReconnectPolicy slow;
    slow.initial_delay = 10s;
    client_->SetReconnectPolicy(slow);
    client_->Connect(ClosedOrigin());
    ASSERT_TRUE(probe_.WaitFor("reconnect:1"));
    const auto start = std::chrono::steady_clock::now();
    client_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_EQ(probe_.Count("reconnect:2"), 0);
}

TEST_F(ClientReconnectTest, AnAdoptedClientEndsAtOnceAndFinishesItsUnansweredCloseLater) {
    ConnectAndWaitOpen();
    Fault("freeze");
    ASSERT_TRUE(probe_.WaitFor("event:fault-set"));
    ClosingClients closes;
    closes.Adopt(std::move(client_));
    // Ended for its owner, close reported; the frozen server still owes the close its answer.
    EXPECT_EQ(probe_.Entries().back(), "close:requested");
    EXPECT_EQ(closes.Pending(), 1u);
    const HANDLE frozen = probe_.CloseThread();
    ASSERT_NE(frozen, nullptr);
    // A close that the server answers is over, its client gone, while the frozen one still waits
    // for its answer: it waits for no other.
    auto answered = std::make_unique<Client>();
    Probe answeredProbe(*answered);
    answered->Connect(origin_);
    ASSERT_TRUE(answeredProbe.WaitFor("open"));
    closes.Adopt(std::move(answered));
    ASSERT_TRUE(kestrum::testing_support::WaitUntil([&] { return closes.Pending() == 1; }));
    EXPECT_EQ(WaitForSingleObject(frozen, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    closes.FinishAll();
    EXPECT_EQ(closes.Pending(), 0u);
    EXPECT_EQ(WaitForSingleObject(frozen, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(probe_.Count("close:requested"), 1);
}

TEST_F(ClientReconnectTest, DestroyingTheClientFromItsOwnHandlerDoesNotHang) {
    probe_.Watch("welcome");
    Client* raw = client_.release();
    raw->DefaultSocket().On("echo", [raw](const Event&) { delete raw; });
    raw->Connect(origin_);
    raw->DefaultSocket().Emit("echo");
    ASSERT_TRUE(probe_.WaitFor("event:welcome"));
    // The delete lets the network thread finish on its own: it clears the listeners first, so
    // nothing more is reported, and the process neither hangs nor crashes.
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(probe_.Entries(), (std::vector<std::string>{"open", "event:welcome"}));
}

TEST_F(ClientReconnectTest, ListenerClosingWhileAnotherThreadWaitsInSyncCloseDoesNotDeadlock) {
    std::atomic<bool> entered{false};
    Client* client = client_.get();
    client_->SetReconnectListener(
        [&entered, client](unsigned, std::chrono::milliseconds, const std::string&) {
            entered = true;
            std::this_thread::sleep_for(300ms);
            client->Close();
        });
    client_->Connect(ClosedOrigin());
    while (!entered) std::this_thread::sleep_for(5ms);
    const auto start = std::chrono::steady_clock::now();
    client_->SyncClose();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
}

TEST_F(ClientReconnectTest, TlsOriginFailsAtOnce) {
    client_->Connect("https://127.0.0.1:1");
    ASSERT_TRUE(probe_.WaitFor("fail"));
    EXPECT_EQ(probe_.Entries(), std::vector<std::string>{"fail"});
}

}  // namespace
}  // namespace ksio::test
