#include "proxy_pool.h"

#include <gtest/gtest.h>

#include "api_names.h"

namespace kestrum::service {
namespace {

// Drives the rating steps the way the retry loop does, without transfers.
class RatedPool : public CProxyPool {
public:
    explicit RatedPool(const char* api = "room/join")
        : CProxyPool("https://host/kmrservice/", "kmrservice/", api, {"p1", "p2", "p3", "p4", "p5"},
                     4000) {}
    // True while another candidate is left for the next attempt.
    bool Fail(DWORD ms) { return MoveOnAfterFailure(ms); }
    void Done(DWORD ms) { RerateAfterRequest(ms); }
    const std::string& Url() const { return CurrentUrl(); }
    std::vector<float> Priorities() const {
        std::vector<float> p;
        for (const ProxyEntry& e : Candidates()) p.push_back(e.priority);
        return p;
    }
};

TEST(ProxyPoolTest, CandidatesAreTheBaseThenTheFiveProxiesOnTheirPort) {
    RatedPool pool;
    ASSERT_EQ(pool.Candidates().size(), 6u);
    EXPECT_EQ(pool.Candidates()[0].url, "https://host/kmrservice/room/join");
    EXPECT_EQ(pool.Candidates()[1].url, "http://p1:4000/kmrservice/room/join");
    EXPECT_EQ(pool.Candidates()[5].url, "http://p5:4000/kmrservice/room/join");
    EXPECT_EQ(pool.Url(), pool.Candidates()[0].url);
}

TEST(ProxyPoolTest, EveryCandidateTimingOutRatesEach3Point3AndTheFirst3Point15) {
    RatedPool pool;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(pool.Fail(3000)) << i;
    EXPECT_FALSE(pool.Fail(3000));
    EXPECT_EQ(pool.Url(), "https://host/kmrservice/room/join");
    pool.Done(3000);
    const std::vector<float> p = pool.Priorities();
    EXPECT_FLOAT_EQ(p[0], 3.15f);
    for (size_t i = 1; i < p.size(); ++i) EXPECT_FLOAT_EQ(p[i], 3.3f);
    EXPECT_EQ(pool.Candidates()[0].url, "https://host/kmrservice/room/join");
}

TEST(ProxyPoolTest, QuickSecondCandidateLeadsTheNextRequest) {
    RatedPool pool;
    EXPECT_TRUE(pool.Fail(1000));
    EXPECT_EQ(pool.Url(), "http://p1:4000/kmrservice/room/join");
    pool.Done(200);
    EXPECT_EQ(pool.Candidates()[0].url, "http://p1:4000/kmrservice/room/join");
    EXPECT_FLOAT_EQ(pool.Candidates()[0].priority, 1.6f);
    EXPECT_FLOAT_EQ(pool.Candidates()[1].priority, 2.1f);
    EXPECT_EQ(pool.Url(), "http://p1:4000/kmrservice/room/join");
}

TEST(ProxyPoolTest, AllHopelessRatingsStartOverAtThree) {
    RatedPool pool;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(pool.Fail(30000));
    EXPECT_FLOAT_EQ(pool.Priorities()[4], 19.5f);
    EXPECT_FALSE(pool.Fail(30000));  // the last one also sinks to 19.5: all start over
    for (float p : pool.Priorities()) EXPECT_FLOAT_EQ(p, 3.0f);
}

TEST(ProxyPoolTest, PortraitKindsWalkTheListButNeverRerate) {
    RatedPool pool(api::kPortrait);
    EXPECT_TRUE(pool.Fail(2500));
    EXPECT_TRUE(pool.Fail(100));
    EXPECT_EQ(pool.Url(), "http://p2:4000/kmrservice/account/portrait");
    pool.Done(100);
    for (float p : pool.Priorities()) EXPECT_FLOAT_EQ(p, 3.0f);
    EXPECT_EQ(pool.Url(), "https://host/kmrservice/account/portrait");
}

}  // namespace
}  // namespace kestrum::service
