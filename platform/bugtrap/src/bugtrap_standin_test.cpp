#include "kestrum/bugtrap/bugtrap_journal.h"

#include <gtest/gtest.h>

#include <string>

#include "kestrum/common/scoped_handle.h"

namespace {

std::wstring Journal() {
    const size_t length = KestrumBugTrapJournal(nullptr, 0);
    std::wstring text(length + 1, L'\0');
    KestrumBugTrapJournal(&text[0], text.size());
    text.resize(length);
    return text;
}

class BugTrapStandInTest : public ::testing::Test {
protected:
    void SetUp() override { KestrumBugTrapJournalClear(); }
};

TEST_F(BugTrapStandInTest, RecordsEachCallWithItsArgumentsInOrder) {
    BT_SetAppName(L"Pelorin Bugtrap");
    BT_SetFlags(5);
    BT_InstallSehFilter();
    BT_SetActivityType(2);
    BT_SetReportFilePath(L"C:\\app\\Faultpost");
    BT_AddLogFile(L"C:\\app\\logger\\\x65e5\x5fd7.log");
    EXPECT_EQ(Journal(),
              L"BT_SetAppName(Pelorin Bugtrap)\nBT_SetFlags(5)\nBT_InstallSehFilter()\n"
              L"BT_SetActivityType(2)\nBT_SetReportFilePath(C:\\app\\Faultpost)\n"
              L"BT_AddLogFile(C:\\app\\logger\\\x65e5\x5fd7.log)\n");
}

TEST_F(BugTrapStandInTest, NullTextIsRecordedNotDereferenced) {
    BT_AddLogFile(nullptr);
    EXPECT_EQ(Journal(), L"BT_AddLogFile((null))\n");
}

// A test that starts the program follows its crash-handler set-up through this file.
TEST_F(BugTrapStandInTest, CallsAreAlsoAppendedToTheNamedJournalFile) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = folder + std::wstring(L"bugtrap-journal-") +
                              std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(file.c_str());
    SetEnvironmentVariableW(L"KESTRUM_BUGTRAP_JOURNAL", file.c_str());
    BT_SetAppName(L"\x4E2D");
    BT_SetFlags(5);
    SetEnvironmentVariableW(L"KESTRUM_BUGTRAP_JOURNAL", nullptr);
    BT_SetFlags(6);
    char bytes[256] = {};
    {
        const kestrum::common::ScopedHandle handle(
            CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(handle.get(), INVALID_HANDLE_VALUE);
        DWORD read = 0;
        ReadFile(handle.get(), bytes, sizeof bytes - 1, &read, nullptr);
    }
    DeleteFileW(file.c_str());
    EXPECT_STREQ(bytes, "BT_SetAppName(\xE4\xB8\xAD)\r\nBT_SetFlags(5)\r\n");
}

TEST_F(BugTrapStandInTest, ExportsCarryPlainNames) {
    HMODULE module = GetModuleHandleW(L"BugTrapU.dll");
    ASSERT_NE(module, nullptr);
    for (const char* name : {"BT_SetAppName", "BT_SetFlags", "BT_InstallSehFilter",
                             "BT_SetActivityType", "BT_SetReportFilePath", "BT_AddLogFile"}) {
        EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
    }
}

}  // namespace
