#include "curl_object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
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
    // A held attempt takes this long to end once the stop is seen.
    void LingerAfterStop(DWORD ms) { lingerMs_ = ms; }
    std::vector<std::string> Steps() {
        std::lock_guard<std::mutex> guard(stepsLock_);
        return steps_;
    }

protected:
    CURLcode SetOptions() override {
        if (attempt_ == Attempt::FailAtOnce) return CURLE_COULDNT_CONNECT;
        holding_ = true;
        while (!StopRequested()) Sleep(1);
        Sleep(lingerMs_);
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
    DWORD lingerMs_ = 0;
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

TEST(CurlObjectTest, StopTogetherStopsEveryKindAtOnce) {
    bool endedFirst = false;
    std::vector<std::unique_ptr<ProbeKind>> kinds;
    for (int i = 0; i < 5; ++i) {
        kinds.push_back(
            std::make_unique<ProbeKind>(ProbeKind::Attempt::HoldUntilStopped, endedFirst));
        kinds.back()->LingerAfterStop(400);
        ASSERT_NE(kinds.back()->Start(), nullptr);
    }
    for (const auto& kind : kinds) ASSERT_TRUE(WaitUntilHolding(*kind));
    const DWORD t0 = GetTickCount();
    EXPECT_TRUE(CCurlObject::StopTogether(
        {kinds[0].get(), nullptr, kinds[1].get(), kinds[2].get(), kinds[3].get(), kinds[4].get()}));
    // One after another they would take 2 s.
    EXPECT_LT(GetTickCount() - t0, 1200u);
    for (const auto& kind : kinds) EXPECT_EQ(kind->Steps(), Steps{"stopped"});
}

TEST(CurlObjectTest, StopTogetherWaitsForAllOfThemWithinOneBound) {
    bool endedFirst = false;
    ProbeKind first(ProbeKind::Attempt::HoldUntilStopped, endedFirst);
    ProbeKind second(ProbeKind::Attempt::HoldUntilStopped, endedFirst);
    first.LingerAfterStop(2500);
    second.LingerAfterStop(2500);
    ASSERT_NE(first.Start(), nullptr);
    ASSERT_NE(second.Start(), nullptr);
    ASSERT_TRUE(WaitUntilHolding(first));
    ASSERT_TRUE(WaitUntilHolding(second));
    const DWORD t0 = GetTickCount();
    EXPECT_FALSE(CCurlObject::StopTogether({&first, &second}, 800));
    const DWORD tookMs = GetTickCount() - t0;
    EXPECT_GE(tookMs, 750u);
    // A bound for each of them would come to 1600 ms; the margin is for a loaded machine.
    EXPECT_LT(tookMs, 1500u);
}

// A kind that reads a local file through libcurl, as if it were an answer.
class FileKind final : public CCurlObject {
public:
    FileKind(std::string url, size_t answerLimit)
        : CCurlObject("file", answerLimit), url_(std::move(url)) {}

    HANDLE Start() {
        return Restart([] {});
    }
    std::vector<std::string> Steps() {
        std::lock_guard<std::mutex> guard(stepsLock_);
        return steps_;
    }
    CURLcode Result() const { return LastResult(); }

protected:
    CURLcode SetOptions() override { return SetTransferBasics(url_, 5); }
    void OnResponse(const std::string& body) override {
        Record("answer of " + std::to_string(body.size()));
    }
    void OnAnswerTooLarge() override { Record("too large"); }
    void OnCurlError(const char*, int code) override { Record("error " + std::to_string(code)); }
    void OnAttemptEnded() override {
        Record(AnswerCapacity() <= std::string().capacity() ? "memory given back" : "memory kept");
    }

private:
    void Record(const std::string& step) {
        std::lock_guard<std::mutex> guard(stepsLock_);
        steps_.push_back(step);
    }

    const std::string url_;
    std::mutex stepsLock_;
    std::vector<std::string> steps_;
    Worker worker_{*this};
};

// A file of the given size in the temporary folder, as a file:// URL.
std::string FileUrl(const char* name, size_t size) {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    // Named by process, so that copies of this program running side by side keep to their own.
    std::string path =
        std::string(folder, length) + std::to_string(GetCurrentProcessId()) + "-" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        const std::string bytes(size, 'x');
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return "file:///" + path;
}

TEST(CurlObjectTest, AnAnswerWithinTheLimitIsReadWholeAndItsMemoryGivenBack) {
    FileKind kind(FileUrl("kestrum-answer-within.txt", 300000), 1 << 20);
    const HANDLE worker = kind.Start();
    ASSERT_NE(worker, nullptr);
    ASSERT_TRUE(kestrum::testing_support::WaitForHandle(worker));
    EXPECT_EQ(kind.Steps(), (Steps{"answer of 300000", "memory given back"}));
}

TEST(CurlObjectTest, AnAnswerPastTheLimitIsRefusedAsTooLarge) {
    FileKind kind(FileUrl("kestrum-answer-past.txt", 300000), 64 << 10);
    const HANDLE worker = kind.Start();
    ASSERT_NE(worker, nullptr);
    ASSERT_TRUE(kestrum::testing_support::WaitForHandle(worker));
    EXPECT_EQ(kind.Steps(), (Steps{"too large", "memory given back"}));
    EXPECT_EQ(kind.Result(), CURLE_FILESIZE_EXCEEDED);
}

}  // namespace
}  // namespace kestrum::service
