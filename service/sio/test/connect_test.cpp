// The connection request's address and the reconnection schedule.
#include <gtest/gtest.h>

#include "connect_uri.h"
#include "kestrum/sio/reconnect_policy.h"

namespace ksio {
namespace {

using std::chrono::milliseconds;

TEST(PercentEncodeTest, KeepsOnlyUnreservedBytes) {
    EXPECT_EQ(PercentEncode("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(PercentEncode("a b&c=d?e/f+g%h#"), "a%20b%26c%3Dd%3Fe%2Ff%2Bg%25h%23");
    EXPECT_EQ(PercentEncode("\xE4\xBC\x9A"), "%E4%BC%9A");
    EXPECT_EQ(PercentEncode(std::string("\0\xFF", 2)), "%00%FF");
}

TEST(ConnectUriTest, BuildsTheEngineIoWebsocketAddress) {
    std::string uri, error;
    ASSERT_TRUE(
        BuildConnectUri("http://host:3000", {{"uid", "7"}, {"channel", "a b"}}, uri, error));
    EXPECT_EQ(uri, "ws://host:3000/socket.io/?EIO=4&transport=websocket&channel=a%20b&uid=7");
    ASSERT_TRUE(BuildConnectUri("ws://host/", {}, uri, error));
    EXPECT_EQ(uri, "ws://host/socket.io/?EIO=4&transport=websocket");
    ASSERT_TRUE(BuildConnectUri("host", {}, uri, error));
    EXPECT_EQ(uri, "ws://host/socket.io/?EIO=4&transport=websocket");
}

TEST(ConnectUriTest, RefusesWhatItCannotConnectTo) {
    std::string uri = "unchanged", error;
    for (const char* bad :
         {"", "http://", "https://host", "wss://host", "http://host/path", "http://host?x=1"}) {
        error.clear();
        EXPECT_FALSE(BuildConnectUri(bad, {}, uri, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_EQ(uri, "unchanged");
}

TEST(ReconnectPolicyTest, DefaultDelaysDoubleFromFiveToTwentyFiveSeconds) {
    const ReconnectPolicy policy;
    EXPECT_EQ(policy.DelayBefore(1), milliseconds(5000));
    EXPECT_EQ(policy.DelayBefore(2), milliseconds(10000));
    EXPECT_EQ(policy.DelayBefore(3), milliseconds(20000));
    EXPECT_EQ(policy.DelayBefore(4), milliseconds(25000));
    EXPECT_EQ(policy.DelayBefore(4000000000u), milliseconds(25000));
    EXPECT_TRUE(policy.Allows(4000000000u));
}

TEST(ReconnectPolicyTest, LimitsAndOddSettings) {
    ReconnectPolicy policy;
    policy.max_attempts = 2;
    EXPECT_TRUE(policy.Allows(2));
    EXPECT_FALSE(policy.Allows(3));
    policy.enabled = false;
    EXPECT_FALSE(policy.Allows(1));

    ReconnectPolicy odd;
    odd.initial_delay = milliseconds(0);
    EXPECT_EQ(odd.DelayBefore(10), milliseconds(0));
    odd.initial_delay = milliseconds(300);
    odd.max_delay = milliseconds(100);  // a cap below the start keeps the start
    EXPECT_EQ(odd.DelayBefore(5), milliseconds(300));
}

}  // namespace
}  // namespace ksio
