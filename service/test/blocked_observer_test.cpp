// An observer that does not return from its call: the caller's next request and the library's
// shutdown must not hang on it.

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/testing/wait.h"
#include "support/service_fixture.h"

namespace {

// Records like RecordingObserver; its onConfigRoom does not return until Release.
class BlockingObserver : public RecordingObserver {
public:
    void onConfigRoom(bool success, const char* minimumVersion, const char* minimumUrl,
                      const char* latestVersion, const char* latestUrl, int maxRequestTimeout,
                      int unmuteRequestTimeout) override {
        RecordingObserver::onConfigRoom(success, minimumVersion, minimumUrl, latestVersion,
                                        latestUrl, maxRequestTimeout, unmuteRequestTimeout);
        std::unique_lock<std::mutex> guard(lock_);
        releasedChanged_.wait(guard, [&] { return released_; });
    }

    void Release() {
        std::lock_guard<std::mutex> guard(lock_);
        released_ = true;
        releasedChanged_.notify_all();
    }

private:
    std::mutex lock_;
    std::condition_variable releasedChanged_;
    bool released_ = false;
};

class BlockedObserverTest : public ServiceTest {
protected:
    void TearDown() override {
        EndBlockedWorker();
        // Returns once the worker has left the observer, which dies with the test.
        Library().releaseMeetingObserver(nullptr);
    }

    // Starts configRoom and waits until its worker is stuck in the observer.
    void BlockConfigWorker() {
        const HANDLE worker = Library().configRoom(&blocked_);
        ASSERT_NE(worker, nullptr);
        // The library closes its handle once a later stop finds the worker ended.
        HANDLE own = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker, GetCurrentProcess(), &own,
                                    SYNCHRONIZE, FALSE, 0));
        blockedWorker_.reset(own);
        ASSERT_TRUE(blocked_.WaitFor(1));
    }

    // Releases the observer and waits until the worker stuck in it has ended: after a stop has
    // timed out on it, requests of the kind are refused until then, without waiting for it.
    void EndBlockedWorker() {
        blocked_.Release();
        if (!blockedWorker_) return;
        const DWORD timeoutMs = static_cast<DWORD>(kestrum::testing_support::TestTimeout().count());
        ASSERT_EQ(WaitForSingleObject(blockedWorker_.get(), timeoutMs), WAIT_OBJECT_0);
    }

    // How many times uninit has released libcurl's global state since the library was loaded.
    static long GlobalCleanups() {
        using Count = long(__cdecl*)();
        const Count count = reinterpret_cast<Count>(reinterpret_cast<void*>(
            GetProcAddress(Library().Module(), "globalCleanupsForTesting")));
        return count ? count() : -1;
    }

    // Runs call on a thread of its own and tells whether it returned while the observer was
    // still blocked (which it stays for the tests' timeout). The observer is released afterwards
    // either way, so that a call waiting for it ends too.
    bool ReturnsWhileBlocked(std::function<void()> call) {
        std::future<void> done = std::async(std::launch::async, std::move(call));
        const bool returned =
            done.wait_for(kestrum::testing_support::TestTimeout()) == std::future_status::ready;
        blocked_.Release();
        done.get();
        return returned;
    }

    BlockingObserver blocked_;
    kestrum::common::ScopedHandle blockedWorker_;
};

TEST_F(BlockedObserverTest, NextRequestOfTheKindWaitsBoundedThenIsRefusedUntilTheWorkerEnds) {
    BlockConfigWorker();
    RecordingObserver refused;
    HANDLE worker = INVALID_HANDLE_VALUE;
    DWORD tookMs = 0;
    EXPECT_TRUE(ReturnsWhileBlocked([&] {
        const DWORD t0 = GetTickCount();
        worker = Library().configRoom(&refused);
        tookMs = GetTickCount() - t0;
    }));
    // It did give the worker its chance to stop.
    EXPECT_GE(tookMs, 2500u);
    EXPECT_EQ(worker, nullptr);

    // Once its observer returns, the left worker reports nothing more; the refused request
    // reports nothing at all.
    Sleep(500);
    EXPECT_EQ(blocked_.Lines().size(), 1u);
    EXPECT_TRUE(refused.Lines().empty());

    // The worker has ended: the kind takes requests again.
    EndBlockedWorker();
    RecordingObserver next;
    ASSERT_NE(Library().configRoom(&next), nullptr);
    EXPECT_TRUE(next.WaitFinished());
    EXPECT_EQ(next.Lines().size(), 2u);
}

TEST_F(BlockedObserverTest, LaterRequestsOfTheKindAreRefusedAtOnceUntilTheWorkerEnds) {
    BlockConfigWorker();
    RecordingObserver refused;
    ASSERT_EQ(Library().configRoom(&refused), nullptr);

    // That stop has waited its bound already: the caller is not held up again.
    const DWORD t0 = GetTickCount();
    EXPECT_EQ(Library().configRoom(&refused), nullptr);
    EXPECT_LT(GetTickCount() - t0, 1000u);

    EndBlockedWorker();
    RecordingObserver next;
    ASSERT_NE(Library().configRoom(&next), nullptr);
    EXPECT_TRUE(next.WaitFinished());
    EXPECT_TRUE(refused.Lines().empty());
}

TEST_F(BlockedObserverTest, UninitDoesNotWaitForAWorkerStuckInItsObserver) {
    BlockConfigWorker();
    EXPECT_TRUE(ReturnsWhileBlocked([] { Library().uninit(); }));
    EndBlockedWorker();
    Library().init();
    RecordingObserver next;
    ASSERT_NE(Library().configRoom(&next), nullptr);
    EXPECT_TRUE(next.WaitFinished());
}

// A clean-up under a running transfer would pull libcurl's global state from under it.
TEST_F(BlockedObserverTest, UninitLeavesLibcurlsGlobalStateToAWorkerStillRunning) {
    BlockConfigWorker();
    const long before = GlobalCleanups();
    ASSERT_GE(before, 0);
    EXPECT_TRUE(ReturnsWhileBlocked([] { Library().uninit(); }));
    EXPECT_EQ(GlobalCleanups(), before);
    Library().init();
}

TEST_F(BlockedObserverTest, UninitReleasesLibcurlsGlobalStateWhenNoWorkerRuns) {
    RecordingObserver done;
    ASSERT_NE(Library().configRoom(&done), nullptr);
    ASSERT_TRUE(done.WaitFinished());
    const long before = GlobalCleanups();
    ASSERT_GE(before, 0);
    Library().uninit();
    EXPECT_EQ(GlobalCleanups(), before + 1);
    Library().init();
}

}  // namespace
