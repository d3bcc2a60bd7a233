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

}  // namespace
