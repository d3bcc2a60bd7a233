#include "kestrum/core/util_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <string>

#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"
#include "kestrum/testing/win_wait.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Util;

// The tests find and kill the dummy by name, and so do these tests in the other build and in other
// checkouts, which may run at the same time under the same Wine server; a dummy killed while it
// starts fails the CreateProcessW that started it. So each program starts a copy of the dummy of
// its own, named for its process, made beside the original while ProcessTest runs.
const std::string& Dummy() {
    static const std::string name =
        "kestrum_core_dummy-" + std::to_string(GetCurrentProcessId()) + ".exe";
    return name;
}

std::wstring InProgramFolder(const std::string& name) {
    return GetExeDirW() + StringToCString(name);
}

// Waits up to 10 s for the dummy to record its command line.
std::wstring RecordedCommandLine(const std::string& file) {
    for (int i = 0; i < 200; ++i) {
        const std::string bytes = ReadFileBytes(file);
        if (!bytes.empty()) {
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        }
        Sleep(50);
    }
    return std::wstring();
}

class ProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(CopyFileW(InProgramFolder("kestrum_core_dummy.exe").c_str(),
                              InProgramFolder(Dummy()).c_str(), FALSE));
    }
    static void TearDownTestSuite() { DeleteFileW(InProgramFolder(Dummy()).c_str()); }
    void TearDown() override {
        int count = 0;
        KillProcessByName(Dummy(), count);
    }
    TempFolder folder_;
};

TEST_F(ProcessTest, NothingToKillReturnsAtOnceWithCountZero) {
    int count = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(KillProcessByName("no-such-program.exe", count));
    EXPECT_EQ(count, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(FindProcessIdByName("no-such-program.exe"), kNoProcessId);
}

TEST_F(ProcessTest, StartedProgramRunsFromTheProgramFolderWithAQuotedPath) {
    const std::string record = folder_.narrow() + "cmd.txt";
    const DWORD id = StartProcess(Dummy(), "--record " + record + " two  words");
    ASSERT_NE(id, 0u);
    EXPECT_EQ(RecordedCommandLine(record), L"\"" + InProgramFolder(Dummy()) + L"\" " +
                                               L"--record " + StringToCString(record) +
                                               L" two  words");
    EXPECT_EQ(FindProcessIdByName(Dummy()), id);
    std::string upper = Dummy();
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    EXPECT_EQ(FindProcessIdByName(upper), kNoProcessId);  // case matters
}

TEST_F(ProcessTest, KillEndsEveryInstanceAndCountsThem) {
    const std::string first = folder_.narrow() + "1.txt";
    const std::string second = folder_.narrow() + "2.txt";
    ASSERT_NE(StartProcess(Dummy(), "--record " + first), 0u);
    ASSERT_NE(StartProcess(Dummy(), "--record " + second), 0u);
    ASSERT_FALSE(RecordedCommandLine(first).empty());
    ASSERT_FALSE(RecordedCommandLine(second).empty());
    int count = 0;
    EXPECT_TRUE(KillProcessByName(Dummy(), count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(FindProcessIdByName(Dummy()), kNoProcessId);
}

TEST_F(ProcessTest, MissingProgramDoesNotStart) {
    EXPECT_EQ(StartProcess("no-such-program.exe", ""), 0u);
}

TEST_F(ProcessTest, TerminateSelfEndsTheProcessWithExitCodeZero) {
    std::wstring commandLine = L"\"" + InProgramFolder(Dummy()) + L"\" --terminate-self";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started));
    EXPECT_TRUE(kestrum::testing_support::WaitForHandle(started.hProcess));
    DWORD exitCode = 99;
    GetExitCodeProcess(started.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

TEST_F(ProcessTest, ImagePathOfARunningProcessAndOfNone) {
    const std::wstring own = GetProcessImagePath(GetCurrentProcessId());
    EXPECT_EQ(GetFileNameW(own), L"kestrum_app_core_program_test.exe");
    EXPECT_EQ(GetProcessImagePath(0xFFFFFFF0u), L"");
}

}  // namespace
