// The connection owner with short reconnection delays, against the back-end's room server: what
// a reconnection looks like to the server and to the notifications.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

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

    bool WaitOpen(int count) {
        std::unique_lock<std::mutex> guard(lock_);
        return changed_.wait_for(guard, 8s, [&] { return opens_ >= count; });
    }
    int Reconnects() {
        std::lock_guard<std::mutex> guard(lock_);
        return reconnects_;
    }

protected:
    void onSocketStatus_Open() override { Bump(opens_); }
    void onSocketStatus_Reconnect() override { Bump(reconnects_); }

private:
    void Bump(int& counter) {
        std::lock_guard<std::mutex> guard(lock_);
        ++counter;
        changed_.notify_all();
    }

    std::mutex lock_;
    std::condition_variable changed_;
    int opens_ = 0;
    int reconnects_ = 0;
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
    // "authorize" went out once: a reconnected connection is a new, unauthorized one, which is
    // why the program replaces the handle when it hears of the reconnection.
    EXPECT_EQ(server_->Received("authorize").size(), 1u);
}

TEST_F(SocketReconnectTest, ConnectErrorsAreRetriedUntilAdmitted) {
    server_->Fault("connect-error", 2);
    CountingSocket socket(server_->Origin());
    socket.Connect({{"uid", "20001"}}, "tok-A");
    ASSERT_TRUE(socket.WaitOpen(1));
    EXPECT_EQ(socket.Reconnects(), 2);
    EXPECT_EQ(server_->AwaitReceived("authorize", 1).size(), 1u);
}

}  // namespace
}  // namespace kestrum::service
