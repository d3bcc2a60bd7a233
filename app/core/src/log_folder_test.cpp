#include "kestrum/core/log_folder.h"

#include <gtest/gtest.h>

#include "kestrum/core/log_file.h"
#include "temp_folder.h"

namespace {

using ZuvraKestrum::Util::CLogFile;
using ZuvraKestrum::Util::LogFileInfo;
using ZuvraKestrum::Util::LogFilesBeyond;
using ZuvraKestrum::Util::LogFolderBound;

TEST(LogFolder, KeepsTheNewestThatFitAndAlwaysTheFileInUse) {
    const LogFolderBound bound{3, 100};
    const std::vector<LogFileInfo> files = {{L"a.log", 10, 1},
                                            {L"b.log", 10, 5},
                                            {L"c.log", 10, 3},
                                            {L"d.log", 10, 4},
                                            {L"e.log", 10, 2}};
    EXPECT_EQ(LogFilesBeyond(files, L"b.log", bound),
              (std::vector<std::wstring>{L"e.log", L"a.log"}));
    // The file in use counts first, however old or large.
    EXPECT_EQ(LogFilesBeyond(files, L"a.log", bound),
              (std::vector<std::wstring>{L"c.log", L"e.log"}));
    EXPECT_EQ(LogFilesBeyond({{L"big.log", 500, 9}, {L"x.log", 1, 1}}, L"big.log", bound),
              std::vector<std::wstring>{L"x.log"});
    // Bytes bound too; from the first file that does not fit, the older ones go as well.
    EXPECT_EQ(
        LogFilesBeyond({{L"new.log", 60, 9}, {L"mid.log", 50, 8}, {L"old.log", 1, 7}}, L"", bound),
        (std::vector<std::wstring>{L"mid.log", L"old.log"}));
    EXPECT_TRUE(LogFilesBeyond({{L"one.log", 100, 1}}, L"", bound).empty());
}

// Every start writes new files: opening the log keeps the folder within the bound.
TEST(LogFolder, OpeningTheLogPrunesItsFolder) {
    TempFolder folder;
    const LogFolderBound bound = ZuvraKestrum::Util::kLogFolderBound;
    for (size_t i = 0; i < bound.maxFiles + 2; ++i) {
        const std::string name = folder.narrow() + "old" + std::to_string(i) + ".log";
        WriteFileBytes(name, "x");
        HANDLE file = CreateFileW(ZuvraKestrum::Util::StringToCString(name).c_str(),
                                  FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const FILETIME written{static_cast<DWORD>(i) * 10000000u, 30000000u};
        SetFileTime(file, nullptr, nullptr, &written);
        CloseHandle(file);
    }
    WriteFileBytes(folder.narrow() + "notes.txt", "kept");
    CLogFile log;
    ASSERT_TRUE(log.Open(folder.path() + L"app.log", OPEN_ALWAYS));
    auto exists = [&](const std::string& name) {
        return GetFileAttributesW(
                   (folder.path() + ZuvraKestrum::Util::StringToCString(name)).c_str()) !=
               INVALID_FILE_ATTRIBUTES;
    };
    EXPECT_TRUE(exists("app.log"));
    EXPECT_TRUE(exists("notes.txt"));
    for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(exists("old" + std::to_string(i) + ".log")) << i;
    for (size_t i = 3; i < bound.maxFiles + 2; ++i)
        EXPECT_TRUE(exists("old" + std::to_string(i) + ".log")) << i;
}

}  // namespace
