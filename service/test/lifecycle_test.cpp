// Unloading the library while a request runs.

#include <windows.h>

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
    bool gone = false;
    for (int i = 0; i < 60 && !gone; ++i) {
        gone = GetModuleHandleW(L"libVossary.dll") == nullptr;
        if (!gone) Sleep(50);
    }
    EXPECT_TRUE(gone);
}

}  // namespace
