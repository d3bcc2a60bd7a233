#include "curl_object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kestrum/testing/wait.h"
#include "kestrum/testing/win_wait.h"

namespace kestrum::service {
namespace {

// Records, as it goes, whether the run of the kind that holds it had ended by then.
class EndWitness {
public:
    EndWitness(const std::atomic<bool>& runEnded, bool& endedFirst)
        : runEnded_(runEnded), endedFirst_(endedFirst) {}
    ~EndWitness() { endedFirst_ = runEnded_.load(); }

private:
    const std::atomic<bool>& runEnded_;
    bool& endedFirst_;
};

// A kind whose attempts never transfer: SetOptions fails at once, or holds the attempt until a
// stop is asked for. Every step it sees is recorded in order.
class ProbeKind final : public CCurlObject {
public:
    enum class Attempt { FailAtOnce, HoldUntilStopped };

    ProbeKind(Attempt attempt, bool& endedBeforeTeardown)
        : attempt_(attempt), witness_(runEnded_, endedBeforeTeardown) {}

    HANDLE Start() {
        return Restart([] {});
    }
    bool Holding() const { return holding_.load(); }
    void RestartWhenDone() { restartWhenDone_ = true; }
    std::vector<std::string> Steps() {
        std::lock_guard<std::mutex> guard(stepsLock_);
        return steps_;
    }

protected:
    CURLcode SetOptions() override {
        if (attempt_ == Attempt::FailAtOnce) return CURLE_COULDNT_CONNECT;
        holding_ = true;
        while (!StopRequested()) Sleep(1);
        return CURLE_ABORTED_BY_CALLBACK;
    }
    void OnCurlError(const char*, int) override { Record("error"); }
    void OnAttemptEnded() override { Record("attempt ended"); }
    void OnFinished() override { Record("finished"); }
    void OnDone() override {
        Record("done");
        if (restartWhenDone_) Record(Start() ? "restarted" : "restart refused");
        runEnded_ = true;
    }
    void OnStopped() override {
        Record("stopped");
        runEnded_ = true;
    }

private:
    void Record(const char* step) {
        std::lock_guard<std::mutex> guard(stepsLock_);
        steps_.push_back(step);
    }

    const Attempt attempt_;
    std::atomic<bool> holding_{false};
    std::atomic<bool> runEnded_{false};
    bool restartWhenDone_ = false;
    std::mutex stepsLock_;
    std::vector<std::string> steps_;
    EndWitness witness_;
    Worker worker_{*this};
};

using Steps = std::vector<std::string>;

bool WaitUntilHolding(const ProbeKind& kind) {
    return kestrum::testing_support::WaitUntil([&kind] { return kind.Holding(); });
}

TEST(CurlObjectTest, AFailedAttemptEndsBeforeTheRunReportsItsEnd) {
    bool endedFirst = false;
    ProbeKind kind(ProbeKind::Attempt::FailAtOnce, endedFirst);
    const HANDLE worker = kind.Start();
    ASSERT_NE(worker, nullptr);
    ASSERT_TRUE(kestrum::testing_support::WaitForHandle(worker));
    EXPECT_EQ(kind.Steps(), (Steps{"error", "attempt ended", "finished", "done"}));
}

TEST(CurlObjectTest, AStoppedAttemptReportsOnlyTheStop) {
    bool endedFirst = false;
    ProbeKind kind(ProbeKind::Attempt::HoldUntilStopped, endedFirst);
    ASSERT_NE(kind.Start(), nullptr);
    ASSERT_TRUE(WaitUntilHolding(kind));
    EXPECT_TRUE(kind.StopWithin());
    EXPECT_EQ(kind.Steps(), Steps{"stopped"});
}

TEST(CurlObjectTest, ARestartFromTheWorkerItselfIsRefused) {
    bool endedFirst = false;
    ProbeKind kind(ProbeKind::Attempt::FailAtOnce, endedFirst);
    kind.RestartWhenDone();
    const HANDLE worker = kind.Start();
    ASSERT_NE(worker, nullptr);
    ASSERT_TRUE(kestrum::testing_support::WaitForHandle(worker));
    EXPECT_EQ(kind.Steps().back(), "restart refused");
}

TEST(CurlObjectTest, TheWorkerDeclaredLastEndsBeforeTheKindsOtherMembersGo) {
    bool endedFirst = false;
    auto kind = std::make_unique<ProbeKind>(ProbeKind::Attempt::HoldUntilStopped, endedFirst);
    ASSERT_NE(kind->Start(), nullptr);
    ASSERT_TRUE(WaitUntilHolding(*kind));
    kind.reset();  // no stop asked for: going is enough
    EXPECT_TRUE(endedFirst);
}

}  // namespace
}  // namespace kestrum::service
