#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "recording_observer.h"
#include "service_library.h"
#include "test_backend.h"

// One back-end and one loaded library for a whole test suite; each test starts with the faults
// off, the records cleared and the user "tok-A" (uid 20001) signed in.
class ServiceTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    static constexpr const char* kToken = "tok-A";
    static constexpr const char* kUid = "20001";

    void SetUp() override;

    static TestBackend& Backend() { return *backend_; }
    static ServiceLibrary& Library() { return *library_; }

    // Requests recorded since the test began, on the service listeners.
    std::vector<TestBackend::Request> Requests() { return backend_->Requests(); }
    // The listeners the recorded requests reached, in order ("base,proxy1,...").
    std::string Route();
    // The bytes of the first recorded request's "endless" answer that the back-end had handed to
    // the connection when it closed; waits for the close, -1 when it did not come.
    long long EndlessAnswerBytes();
    // A file with the given bytes in the test's work folder; returns its Windows path.
    static std::string WriteFile(const std::string& name, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    // Uploads the file at path (UTF-8) as the user's portrait; returns its portrait id ("" on
    // failure).
    static std::string UploadPortrait(const std::string& path);
    // Downloads the portrait into target (UTF-8); returns the observer's lines.
    static std::vector<std::string> DownloadPortrait(const std::string& portraitId,
                                                     const std::string& target);
    // size bytes that begin as a JPEG file does.
    static std::string JpegBytes(size_t size);

    static std::unique_ptr<TestBackend> backend_;
    static std::unique_ptr<ServiceLibrary> library_;
};
