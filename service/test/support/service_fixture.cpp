#include "service_fixture.h"

#include <fstream>
#include <sstream>

#include "kestrum/testing/wait.h"

namespace {

// The programs that look at what the shipped library keeps to itself load the tests' own build.
#if defined(KESTRUM_SERVICE_TESTING_LIBRARY)
const wchar_t* const kLibraryFile = L"testing\\libVossary.dll";
#else
const wchar_t* const kLibraryFile = L"libVossary.dll";
#endif

}  // namespace

std::unique_ptr<TestBackend> ServiceTest::backend_;
std::unique_ptr<ServiceLibrary> ServiceTest::library_;

void ServiceTest::SetUpTestSuite() {
    backend_ = std::make_unique<TestBackend>();
    if (!backend_->Started()) return;
    library_ =
        std::make_unique<ServiceLibrary>(backend_->BaseUrl(), backend_->BaseUrl(),
                                         backend_->Proxies(), backend_->ProxyPort(), kLibraryFile);
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

std::string ServiceTest::UploadPortrait(const std::string& path) {
    RecordingObserver upload;
    EXPECT_NE(Library().updatePhoto(&upload, path.c_str()), nullptr);
    EXPECT_TRUE(upload.WaitFinished());
    const std::string line = upload.Lines().at(0);
    if (line.rfind("onUpdatePhoto(p", 0) != 0) {
        ADD_FAILURE() << line;
        return std::string();
    }
    return line.substr(14, line.size() - 15);
}

std::vector<std::string> ServiceTest::DownloadPortrait(const std::string& portraitId,
                                                       const std::string& target) {
    RecordingObserver download;
    EXPECT_NE(Library().getPhoto(&download, "30003", portraitId.c_str(), target.c_str()), nullptr);
    EXPECT_TRUE(download.WaitFinished());
    return download.Lines();
}

std::string ServiceTest::JpegBytes(size_t size) {
    std::string image(size, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7);
    image.replace(0, 4, "\xFF\xD8\xFF\xE0");
    return image;
}
