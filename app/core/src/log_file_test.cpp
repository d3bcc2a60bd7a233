#include "kestrum/core/log_file.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace {

using ZuvraKestrum::Util::CLogFile;

size_t CountLines(const std::string& text) {
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

class LogFileTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::wstring path_ = folder_.path() + L"app.log";
};

TEST_F(LogFileTest, LinesAreAppendedAfterExistingContent) {
    WriteFileBytes(path_, "old\r\n");
    CLogFile file;
    ASSERT_TRUE(file.Open(path_, OPEN_ALWAYS));
    EXPECT_EQ(file.Write("first"), 7u);
    file.Write("second");
    file.Close();
    EXPECT_EQ(ReadFileBytes(path_), "old\r\nfirst\r\nsecond\r\n");
}

TEST_F(LogFileTest, FailedOpenLeavesNoHandleAndWritesGoNowhere) {
    CLogFile file;
    EXPECT_FALSE(file.Open(folder_.path() + L"missing\\app.log", OPEN_ALWAYS));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Write("lost"), 0u);
    file.Close();
}

// A flood of lines must not wipe the history before it: a full file moves aside whole.
TEST_F(LogFileTest, TheLimitLineStartsANewFileAndTheFullOnesAreKeptBeside) {
    CLogFile file;
    ASSERT_TRUE(file.Open(path_, OPEN_ALWAYS));
    for (int i = 1; i < CLogFile::kMaxLines; ++i) file.Write("line " + std::to_string(i));
    EXPECT_EQ(CountLines(ReadFileBytes(path_)), 9999u);
    file.Write("line 10000");
    EXPECT_EQ(ReadFileBytes(path_), "line 10000\r\n");
    const std::string first = ReadFileBytes(folder_.narrow() + "app.1.log");
    EXPECT_EQ(CountLines(first), 9999u);
    EXPECT_EQ(first.substr(0, 8), "line 1\r\n");
    // A part name an earlier run left is skipped, never overwritten.
    WriteFileBytes(folder_.narrow() + "app.2.log", "earlier\r\n");
    for (int i = 1; i < CLogFile::kMaxLines; ++i) file.Write("again");
    EXPECT_EQ(CountLines(ReadFileBytes(path_)), 10000u);
    file.Write("after");
    EXPECT_EQ(ReadFileBytes(path_), "after\r\n");
    EXPECT_EQ(ReadFileBytes(folder_.narrow() + "app.2.log"), "earlier\r\n");
    EXPECT_EQ(CountLines(ReadFileBytes(folder_.narrow() + "app.3.log")), 10000u);
    EXPECT_EQ(CLogFile::PartPath(L"C:\\x\\trace", 4), L"C:\\x\\trace.4");
}

TEST_F(LogFileTest, ReadingOpensAnExistingFileAtItsStart) {
    WriteFileBytes(path_, "1.2.3");
    CLogFile file;
    ASSERT_TRUE(file.OpenForReading(path_));
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "1.2.3");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

TEST_F(LogFileTest, ReadingNeverCreatesTheFile) {
    CLogFile file;
    EXPECT_FALSE(file.OpenForReading(path_));
    EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    char buffer[4];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

}  // namespace
