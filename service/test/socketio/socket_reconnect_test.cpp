// The connection owner with short reconnection delays, against the back-end's room server: what
// a reconnection looks like to the server and to the notifications.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "kestrum/testing/line_recorder.h"
#include "signal_fixture.h"
#include "socketio/socket_io_object.h"

namespace kestrum::service {
namespace {

using namespace std::chrono_literals;

ksio::ReconnectPolicy FastRetries() {
    ksio::ReconnectPolicy policy;
    policy.initial_delay = 100ms;
    policy.max_delay = 400ms;
    return policy;
}

// Counts the connection notifications.
class CountingSocket : public CSocketIOObject {
public:
    explicit CountingSocket(const std::string& origin) : CSocketIOObject(origin, FastRetries()) {}
    ~CountingSocket() override { Disconnect(); }

    bool WaitOpen(int count) { return notes_.WaitFor("open", static_cast<size_t>(count)); }
    bool WaitFail() { return notes_.WaitFor("fail"); }
    int Opens() { return static_cast<int>(notes_.Count("open")); }
    int Reconnects() { return static_cast<int>(notes_.Count("reconnect")); }

protected:
    void onSocketStatus_Open() override { notes_.Add("open"); }
    void onSocketStatus_Fail() override { notes_.Add("fail"); }
    void onSocketStatus_Reconnect() override { notes_.Add("reconnect"); }

private:
    kestrum::testing_support::LineRecorder notes_;
};

class SocketReconnectTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        backend_ = std::make_unique<TestBackend>();
        if (backend_->Started()) server_ = std::make_unique<SignalServer>(*backend_);
    }
    static void TearDownTestSuite() {
        server_.reset();
        backend_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(server_) << "the test back-end did not start";
        server_->Reset();
        backend_->AddUser("tok-A", "20001", "Alice");
    }

    static std::unique_ptr<TestBackend> backend_;
    static std::unique_ptr<SignalServer> server_;
};

std::unique_ptr<TestBackend> SocketReconnectTest::backend_;
std::unique_ptr<SignalServer> SocketReconnectTest::server_;

TEST_F(SocketReconnectTest, AfterARestartTheSameQueryReconnectsAndOpensAgain) {
    CountingSocket socket(server_->Origin());
    socket.Connect({{"uid", "20001"}, {"channel", "r"}, {"reconnect", "true"}}, "tok-A");
    ASSERT_TRUE(socket.WaitOpen(1));
    // The restart must not swallow the first connection's own authorization.
    ASSERT_EQ(server_->AwaitReceived("authorize", 1).size(), 1u);
    server_->Fault("restart", 1, 300);
    ASSERT_TRUE(socket.WaitOpen(2));
    EXPECT_GE(socket.Reconnects(), 1);
    const std::vector<std::string> urls = server_->ConnectionUrls();
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0], urls[1]);
    // The restarted server knows nothing of the old connection's authorization.
    EXPECT_EQ(server_->AwaitReceived("authorize", 2).size(), 2u);
}

TEST_F(SocketReconnectTest, AReconnectedConnectionIsAuthorizedAgain) {
    CountingSocket socket(server_->Origin());
    socket.Connect({{"uid", "20001"}, {"channel", "r"}}, "tok-A");
    ASSERT_TRUE(socket.WaitOpen(1));
    ASSERT_EQ(server_->AwaitReceived("authorize", 1).size(), 1u);
    server_->Fault("drop");
    ASSERT_TRUE(socket.WaitOpen(2));
    const std::vector<SignalServer::Packet> authorize = server_->AwaitReceived("authorize", 2);
    ASSERT_EQ(authorize.size(), 2u);
    EXPECT_EQ(authorize[1].args, ksio::Message::FromArray({ksio::Message::FromString("tok-A")}));
    // The server holds the new connection as Alice's: an event for her reaches it.
    EXPECT_EQ(server_->Inject("user-recv-msg", R"([{"uid":"u","msg":"m"}])", "20001"), 1);
}

TEST_F(SocketReconnectTest, ANamespaceRefusalFailsAtOnceAndIsNotRetried) {
    server_->Fault("connect-error", 2);
    CountingSocket socket(server_->Origin());
    socket.Connect({{"uid", "20001"}}, "tok-A");
    ASSERT_TRUE(socket.WaitFail());
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(socket.Reconnects(), 0);
    EXPECT_EQ(socket.Opens(), 0);
    EXPECT_TRUE(server_->Received("authorize").empty());
}

}  // namespace
}  // namespace kestrum::service
