// The service candidates reached over HTTPS carry the access token, so their certificates are
// verified: a server that nobody vouches for must not see a single request.

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
