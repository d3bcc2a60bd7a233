#include "kestrum/common/thread_affinity.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using kestrum::common::ThreadAffinity;

// The answer of CalledOnValidThread on a thread of its own.
bool AnswerElsewhere(const ThreadAffinity& affinity) {
    bool answer = true;
    std::thread([&] { answer = affinity.CalledOnValidThread(); }).join();
    return answer;
}

TEST(ThreadAffinityTest, IsBoundToTheThreadThatMadeIt) {
    ThreadAffinity affinity;
    EXPECT_TRUE(affinity.CalledOnValidThread());
    EXPECT_FALSE(AnswerElsewhere(affinity));
    EXPECT_TRUE(affinity.CalledOnValidThread());
}

TEST(ThreadAffinityTest, ADetachedMemberBindsToItsNextCaller) {
    ThreadAffinity affinity;
    affinity.Detach();
    EXPECT_TRUE(AnswerElsewhere(affinity));
    EXPECT_FALSE(affinity.CalledOnValidThread());

    affinity.Detach();
    EXPECT_TRUE(affinity.CalledOnValidThread());
}

TEST(ThreadAffinityTest, RacingFirstCallersAfterDetachBindOnlyOne) {
    ThreadAffinity affinity;
    affinity.Detach();
    std::atomic<bool> go{false};
    std::atomic<int> accepted{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] {
            while (!go) std::this_thread::yield();
            if (affinity.CalledOnValidThread()) ++accepted;
        });
    }
    go = true;
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(accepted, 1);
}

TEST(ThreadAffinityDeathTest, TheCheckFiresOffTheBoundThreadOnly) {
    ThreadAffinity owner;
    KESTRUM_CHECK_THREAD(owner);
    EXPECT_DEATH(std::thread([&] { KESTRUM_CHECK_THREAD(owner); }).join(),
                 "check failed: .*called off the thread of owner");
}

}  // namespace
