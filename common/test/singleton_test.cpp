#include "kestrum/common/singleton.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Counts constructions, Init calls and destructions across the tests of one type.
struct Counters {
    std::atomic<int> built{0};
    std::atomic<int> inits{0};
    std::atomic<int> destroyed{0};
    void* lastArgument = nullptr;
};

Counters counters;

class CProbe : public CSingleton<CProbe> {
public:
    CProbe() {
        ++counters.built;
        // Widens the window in which a racing getInstance could build a second object.
        Sleep(20);
    }
    ~CProbe() override { ++counters.destroyed; }
    void Init(void* argument) override {
        counters.lastArgument = argument;
        ++counters.inits;
    }
};

class CPlain : public CSingleton<CPlain> {};

TEST(SingletonTest, DestroyingAnotherObjectOfTheTypeKeepsTheInstance) {
    CSingleton<CPlain>::CGrabo holder;
    CPlain* instance = CPlain::getInstance();
    { CPlain other; }
    EXPECT_EQ(CPlain::existingInstance(), instance);
    EXPECT_EQ(CPlain::getInstance(), instance);
}

TEST(SingletonTest, ConcurrentFirstUseBuildsOneInstanceAndInitsItOnce) {
    const int before = counters.built;
    CSingleton<CProbe>::CGrabo holder;
    std::vector<std::thread> threads;
    std::vector<CProbe*> seen(8);
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&seen, i] { seen[i] = CProbe::getInstance(&seen); });
    }
    for (auto& t : threads) t.join();
    for (CProbe* p : seen) EXPECT_EQ(p, seen[0]);
    EXPECT_EQ(counters.built - before, 1);
    EXPECT_EQ(counters.inits, counters.built);
    EXPECT_EQ(counters.lastArgument, &seen);
}

TEST(SingletonTest, HolderDeletesTheInstanceAndALaterUseBuildsAFreshOne) {
    const int destroyedBefore = counters.destroyed;
    {
        CSingleton<CProbe>::CGrabo holder;
        ASSERT_NE(CProbe::getInstance(), nullptr);
    }
    EXPECT_EQ(counters.destroyed - destroyedBefore, 1);
    EXPECT_EQ(CProbe::existingInstance(), nullptr);

    // Without a holder the lock is made on demand; the next holder cleans up after it.
    CSingleton<CProbe>::CGrabo holder;
    EXPECT_NE(CProbe::getInstance(), nullptr);
}

TEST(SingletonTest, ExistingInstanceNeverCreates) {
    CSingleton<CPlain>::CGrabo holder;
    EXPECT_EQ(CPlain::existingInstance(), nullptr);
    CPlain* made = CPlain::getInstance();
    EXPECT_EQ(CPlain::existingInstance(), made);
}

TEST(SingletonTest, TracesNameTheClassAsTheCompilerSpellsIt) {
    EXPECT_EQ(kestrum::common::SingletonTrace<CPlain>("CGrabo::~CGrabo"),
              "CSingleton<class {anonymous}::CPlain>::CGrabo::~CGrabo");
    EXPECT_EQ(kestrum::common::SingletonTypeName<int>(), "int");
}

}  // namespace
