// Unloading the library while a request runs.

#include <windows.h>

#include "kestrum/testing/wait.h"
#include "support/service_fixture.h"

namespace {

class LifecycleTest : public ServiceTest {};

TEST_F(LifecycleTest, UnloadWithRequestInFlightNeitherBlocksNorPullsCodeFromUnderTheWorker) {
    Backend().SetFault("base", "delay", 1, 1000);
    RecordingObserver observer;
    Library().joinRoom(&observer, "unload-room", "", "", "");
    const DWORD t0 = GetTickCount();
    Library().Unload();
    EXPECT_LT(GetTickCount() - t0, 500u);

    // The worker holds the module until its request has ended; then the library goes.
    EXPECT_TRUE(observer.WaitFinished());
    EXPECT_TRUE(kestrum::testing_support::WaitUntil(
        [] { return GetModuleHandleW(L"libVossary.dll") == nullptr; }));
}

// Uninit with one request of every kind in flight against servers that never answer.
class UninitTest : public ServiceTest {
protected:
    // How many times uninit has released libcurl's global state: only once none is left running.
    static long GlobalCleanups() {
        using Count = long(__cdecl*)();
        const Count count = reinterpret_cast<Count>(reinterpret_cast<void*>(
            GetProcAddress(Library().Module(), "globalCleanupsForTesting")));
        return count ? count() : -1;
    }
};

TEST_F(UninitTest, StopsEveryRunningRequestAtOnceWithinOneBound) {
    Backend().SetFault("base", "silent");
    for (int p = 1; p <= 5; ++p) Backend().SetFault("proxy" + std::to_string(p), "silent");
    const std::string picture = WriteFile("uninit-portrait.jpeg", "\xFF\xD8\xFF\xE0");
    const std::string log = WriteFile("uninit.log", "a line\n");
    const std::string target = WriteFile("uninit-target.png", "old picture");
    RecordingObserver observer;
    Library().getToken(&observer, 3, 0, "", "");
    Library().updateInfo(&observer, "", "Bob", "");
    Library().updatePhoto(&observer, picture.c_str());
    Library().getPhoto(&observer, "30003", "p1", target.c_str());
    Library().joinRoom(&observer, "uninit-room", "", "", "");
    Library().createRoom(&observer, "uninit-room", "", "", 0);
    Library().updateRoom(&observer, "uninit-room", {}, 0, "", "");
    Library().getRoom(&observer);
    Library().ctrlRoom(&observer, "muteAudio", {});
    Library().configRoom(&observer);
    LogUploadRecord record{};
    record.observer = &observer;
    snprintf(record.path, sizeof record.path, "%s", log.c_str());
    Library().uploadlog(record);
    ASSERT_TRUE(kestrum::testing_support::WaitUntil([&] { return Requests().size() >= 11; }));

    const long cleanups = GlobalCleanups();
    const DWORD t0 = GetTickCount();
    Library().uninit();
    const DWORD tookMs = GetTickCount() - t0;
    EXPECT_EQ(GlobalCleanups(), cleanups + 1) << "a worker was left running";
    // One after another they took 5.7 s; together, about the slowest one's second.
    EXPECT_LT(tookMs, 2000u);
    Library().init();
    // Stopped requests report nothing.
    Sleep(300);
    EXPECT_TRUE(observer.Lines().empty()) << observer.Lines()[0];
}

}  // namespace
