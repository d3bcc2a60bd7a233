// The service candidates reached over HTTPS carry the access token, so their certificates are
// verified: a server that nobody vouches for must not see a single request. Also the back-end
// these tests start for themselves, which must leave the program's handles alone.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "support/recording_observer.h"
#include "support/service_library.h"
#include "support/test_backend.h"

namespace {

TEST(TlsTest, UntrustedHttpsServiceIsRefusedBeforeTheTokenIsSent) {
    TestBackend backend;
    ASSERT_TRUE(backend.Started()) << "the test back-end did not start";
    ASSERT_FALSE(backend.SecureUrl().empty());
    // Only the HTTPS service counts here: the plain proxies refuse every connection.
    for (int i = 1; i <= 5; ++i) backend.SetFault("proxy" + std::to_string(i), "refuse");
    ServiceLibrary library(backend.SecureUrl(), backend.SecureUrl(), backend.Proxies(),
                           backend.ProxyPort());
    ASSERT_TRUE(library.Loaded());
    library.init();
    library.setUserInfo("tok-secret", "20001", "Alice", "", "");

    RecordingObserver observer;
    library.joinRoom(&observer, "tls-room", "", "", "");
    ASSERT_TRUE(observer.WaitFinished());

    for (const TestBackend::Request& request : backend.Requests()) {
        EXPECT_NE(request.listener, "secure") << request.method << " " << request.path;
    }
    const std::vector<std::string> lines = observer.Lines();
    ASSERT_FALSE(lines.empty());
    // A failed transfer: the reported libcurl code is not CURLE_OK.
    EXPECT_EQ(lines.back().rfind("onHttpRetUpload(room/join,", 0), 0u) << lines.back();
    EXPECT_EQ(lines.back().find("onHttpRetUpload(room/join,0,"), std::string::npos) << lines.back();
    library.uninit();
}

// Fills the stack below the caller with value, so that what a callee reads uninitialised there
// is value.
__attribute__((noinline)) void FillStack(HANDLE value) {
    volatile HANDLE area[16384];
    for (auto& slot : area) slot = value;
}

// Wine starts the back-end, a Unix program, without process or thread objects and leaves the
// handles it reports as they were on its stack: with the stack full of a semaphore's handle, a
// back-end that took them for its own would close the semaphore.
TEST(TestBackendTest, StartingTheBackEndClosesNoHandleOfTheProgram) {
    const kestrum::common::ScopedHandle semaphore(CreateSemaphoreW(nullptr, 7, 100, nullptr));
    ASSERT_TRUE(semaphore);
    FillStack(semaphore.get());
    {
        TestBackend backend;
        ASSERT_TRUE(backend.Started()) << "the test back-end did not start";
    }
    // An object that took the value over would refuse or have another count.
    LONG count = 0;
    EXPECT_TRUE(ReleaseSemaphore(semaphore.get(), 1, &count));
    EXPECT_EQ(count, 7);
}

}  // namespace
