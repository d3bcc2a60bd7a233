#include "kestrum/core/util_process.h"

#include <gtest/gtest.h>

#include <chrono>

#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Util;

const char kDummy[] = "kestrum_core_dummy.exe";

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
    void TearDown() override {
        int count = 0;
        KillProcessByName(kDummy, count);
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
    const DWORD id = StartProcess(kDummy, "--record " + record + " two  words");
    ASSERT_NE(id, 0u);
    EXPECT_EQ(RecordedCommandLine(record), L"\"" + GetExeDirW() + L"kestrum_core_dummy.exe\" " +
                                               L"--record " + StringToCString(record) +
                                               L" two  words");
    EXPECT_EQ(FindProcessIdByName(kDummy), id);
    EXPECT_EQ(FindProcessIdByName("KESTRUM_CORE_DUMMY.EXE"), kNoProcessId);  // case matters
}

TEST_F(ProcessTest, KillEndsEveryInstanceAndCountsThem) {
    const std::string first = folder_.narrow() + "1.txt";
    const std::string second = folder_.narrow() + "2.txt";
    ASSERT_NE(StartProcess(kDummy, "--record " + first), 0u);
    ASSERT_NE(StartProcess(kDummy, "--record " + second), 0u);
    ASSERT_FALSE(RecordedCommandLine(first).empty());
    ASSERT_FALSE(RecordedCommandLine(second).empty());
    int count = 0;
    EXPECT_TRUE(KillProcessByName(kDummy, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(FindProcessIdByName(kDummy), kNoProcessId);
}

TEST_F(ProcessTest, MissingProgramDoesNotStart) {
    EXPECT_EQ(StartProcess("no-such-program.exe", ""), 0u);
}

TEST_F(ProcessTest, TerminateSelfEndsTheProcessWithExitCodeZero) {
    std::wstring commandLine = L"\"" + GetExeDirW() + L"kestrum_core_dummy.exe\" --terminate-self";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started));
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 10000), WAIT_OBJECT_0);
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
