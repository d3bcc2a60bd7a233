#include "service_fixture.h"

#include <fstream>
#include <sstream>

#include "kestrum/testing/wait.h"

std::unique_ptr<TestBackend> ServiceTest::backend_;
std::unique_ptr<ServiceLibrary> ServiceTest::library_;

void ServiceTest::SetUpTestSuite() {
    backend_ = std::make_unique<TestBackend>();
    if (!backend_->Started()) return;
    library_ = std::make_unique<ServiceLibrary>(backend_->BaseUrl(), backend_->BaseUrl(),
                                                backend_->Proxies(), backend_->ProxyPort());
    if (library_->Loaded()) library_->init();
}

void ServiceTest::TearDownTestSuite() {
    if (library_ && library_->Loaded()) library_->uninit();
    library_.reset();
    backend_.reset();
}

void ServiceTest::SetUp() {
    ASSERT_TRUE(backend_ && backend_->Started()) << "the test back-end did not start";
    ASSERT_TRUE(library_ && library_->Loaded()) << "libVossary.dll did not load";
    backend_->Reset();
    backend_->AddUser(kToken, kUid, "Alice");
    library_->setUserInfo(kToken, kUid, "Alice", "", "");
}

std::string ServiceTest::Route() {
    std::string route;
    for (const auto& request : Requests()) route += (route.empty() ? "" : ",") + request.listener;
    return route;
}

long long ServiceTest::EndlessAnswerBytes() {
    long long bytes = -1;
    kestrum::testing_support::WaitUntil([&] {
        const auto requests = Requests();
        bytes = requests.empty() ? -1 : requests[0].answerBytes;
        return bytes >= 0;
    });
    return bytes;
}

std::string ServiceTest::WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = WindowsPath(std::string(KESTRUM_TEST_WORKDIR) + "/" + name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return path;
}

std::string ServiceTest::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
