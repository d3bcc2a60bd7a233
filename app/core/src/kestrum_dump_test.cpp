#include "kestrum/core/kestrum_dump.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include "temp_folder.h"

namespace {

void FixedClock(SYSTEMTIME* now) {
    *now = SYSTEMTIME{2019, 8, 1, 12, 10, 15, 0, 123};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos;
         start = end + 2, end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

class KestrumDumpTest : public ::testing::Test {
protected:
    void SetUp() override { CKestrumDump::setLocalTimeSource(FixedClock); }
    void TearDown() override { CKestrumDump::setLocalTimeSource(nullptr); }

    TempFolder folder_;
    std::string logPath_ = folder_.narrow() + "shared.log";
};

TEST_F(KestrumDumpTest, LineCarriesLevelStampNameAndSourceLine) {
    {
        CKestrumDump dump("CKestrumCourse", true, false, true, logPath_);
        dump.writeLine(Level_Info, 377, "CKestrumCourse::onSocketStatus_Open");
    }
    EXPECT_EQ(ReadFileBytes(logPath_),
              "[Level_Info] 20190812:101500:123 [CKestrumCourse:377] "
              "CKestrumCourse::onSocketStatus_Open\r\n");
}

TEST_F(KestrumDumpTest, LevelNamesComeFromTheTableAndUnknownLevelsHaveNone) {
    {
        CKestrumDump dump("T", true, false, false, logPath_);
        for (int level : {0, 1, 2, 3, 5, -1}) {
            dump.writeLine(level, 1, "x");
        }
    }
    EXPECT_EQ(Lines(ReadFileBytes(logPath_)),
              (std::vector<std::string>{
                  "[Level_Info] 20190812:101500:123 [T:1] x",
                  "[Level_Debug] 20190812:101500:123 [T:1] x",
                  "[Level_Warning] 20190812:101500:123 [T:1] x",
                  "[Level_Error] 20190812:101500:123 [T:1] x",
                  "[] 20190812:101500:123 [T:1] x",
                  "[] 20190812:101500:123 [T:1] x",
              }));
}

TEST_F(KestrumDumpTest, FormatTakesNarrowAndWideArguments) {
    {
        CKestrumDump dump("CKestrum", true, false, true, logPath_);
        dump.writeLine(Level_Info, 9, "%s(%d) Create %ls", "CKestrum::openDlg", 6, L"Live");
    }
    EXPECT_EQ(Lines(ReadFileBytes(logPath_)).at(0),
              "[Level_Info] 20190812:101500:123 [CKestrum:9] CKestrum::openDlg(6) Create Live");
}

TEST_F(KestrumDumpTest, LongMessageIsCutToTheLineBuffer) {
    {
        CKestrumDump dump("T", true, false, false, logPath_);
        dump.writeLine(Level_Info, 1, "%s", std::string(5000, 'a').c_str());
    }
    const std::vector<std::string> lines = Lines(ReadFileBytes(logPath_));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 1023u);
}

TEST_F(KestrumDumpTest, FirstPathOpensTheSharedFileForEveryObjectUntilTheLastGoes) {
    const std::string otherPath = folder_.narrow() + "other.log";
    {
        CKestrumDump first("First", true, false, true, logPath_);
        CKestrumDump second("Second", true, false, true, "");
        CKestrumDump third("Third", true, false, true, otherPath);
        second.writeLine(Level_Info, 2, "from second");
        third.writeLine(Level_Info, 3, "from third");
    }
    EXPECT_EQ(Lines(ReadFileBytes(logPath_)).size(), 2u);
    EXPECT_EQ(GetFileAttributesW(ZuvraKestrum::Util::StringToCString(otherPath).c_str()),
              INVALID_FILE_ATTRIBUTES);
    // Closed with the last object: a new first object opens its own path.
    {
        CKestrumDump next("Next", true, false, true, otherPath);
        next.writeLine(Level_Info, 4, "to other");
    }
    EXPECT_EQ(Lines(ReadFileBytes(otherPath)).size(), 1u);
    EXPECT_EQ(Lines(ReadFileBytes(logPath_)).size(), 2u);
}

TEST_F(KestrumDumpTest, LinesFromFourThreadsNeverInterleave) {
    constexpr int kThreads = 4;
    constexpr int kLinesPerThread = 500;
    {
        CKestrumDump owner("Owner", true, false, false, logPath_);
        std::vector<std::unique_ptr<CKestrumDump>> dumps;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            dumps.push_back(std::make_unique<CKestrumDump>("Thread" + std::to_string(t), true,
                                                           false, false, ""));
        }
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&dumps, t] {
                const std::string payload(200, static_cast<char>('a' + t));
                for (int i = 0; i < kLinesPerThread; ++i) {
                    dumps[t]->writeLine(Level_Debug, i, "%d %s", t, payload.c_str());
                }
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    const std::regex shape(
        "\\[Level_Debug\\] 20190812:101500:123 \\[Thread(\\d):(\\d+)\\] (\\d) ([a-d])\\4{199}");
    std::map<int, int> nextLine;
    const std::vector<std::string> lines = Lines(ReadFileBytes(logPath_));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesPerThread));
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        const int thread = std::stoi(match[1]);
        EXPECT_EQ(std::stoi(match[3]), thread);
        EXPECT_EQ(match[4].str()[0], 'a' + thread);
        EXPECT_EQ(std::stoi(match[2]), nextLine[thread]++);  // each thread's lines in order
    }
}

}  // namespace
