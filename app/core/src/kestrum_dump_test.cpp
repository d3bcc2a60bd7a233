#include "kestrum/core/kestrum_dump.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "temp_folder.h"

using ZuvraKestrum::Util::LogFunctionName;

// Stores the log name of the function around it, worked out while compiling.
#define STORE_LOG_NAME(out)                                                   \
    do {                                                                      \
        static constexpr auto logName = LogFunctionName(__PRETTY_FUNCTION__); \
        (out) = logName.text;                                                 \
    } while (0)

namespace logname {

template <typename T>
class CList {
public:
    explicit CList(std::string* out) : out_(out) { STORE_LOG_NAME(*out_); }
    ~CList() { STORE_LOG_NAME(*out_); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    bool operator==(const CList&) const {
        STORE_LOG_NAME(*out_);
        return true;
    }
    bool operator<(const CList&) const {
        STORE_LOG_NAME(*out_);
        return false;
    }
    CList& operator<<(const T&) {
        STORE_LOG_NAME(*out_);
        return *this;
    }
    void operator()(int) { STORE_LOG_NAME(*out_); }
    explicit operator bool() const {
        STORE_LOG_NAME(*out_);
        return true;
    }
    template <typename U>
    void add(const U&) {
        STORE_LOG_NAME(*out_);
    }
    void forEach() {
        [this] { STORE_LOG_NAME(*out_); }();
    }
    std::map<T, std::vector<T>>* index() {
        STORE_LOG_NAME(*out_);
        return nullptr;
    }
    const char* label() const {
        STORE_LOG_NAME(*out_);
        return "";
    }
    static void make(std::string* out) { STORE_LOG_NAME(*out); }

    struct CItem {
        void touch(std::string* out) const { STORE_LOG_NAME(*out); }
    };

private:
    std::string* out_;
};

void LoadAll(std::string* out) { STORE_LOG_NAME(*out); }

}  // namespace logname

void LoadGlobal(std::string* out) { STORE_LOG_NAME(*out); }

namespace {

void LoadHidden(std::string* out) { STORE_LOG_NAME(*out); }

class CHidden {
public:
    int* operator->() {
        STORE_LOG_NAME(name);
        return nullptr;
    }
    std::string name;
};

constexpr bool SameText(const char* left, const char* right) {
    for (; *left == *right; ++left, ++right) {
        if (!*left) return true;
    }
    return false;
}

static_assert(
    SameText(LogFunctionName("void ns::CList<T>::add(const U&) [with U = char; T = int]").text,
             "CList::add"));

TEST(LogFunctionNameTest, MembersGiveTheirClassAndName) {
    std::string name;
    {
        logname::CList<int> list(&name);
        EXPECT_EQ(name, "CList::CList");
        list.add(std::make_pair(1, 'x'));
        EXPECT_EQ(name, "CList::add");
        list.index();
        EXPECT_EQ(name, "CList::index");
        list.label();
        EXPECT_EQ(name, "CList::label");
        logname::CList<int>::make(&name);
        EXPECT_EQ(name, "CList::make");
        logname::CList<int>::CItem().touch(&name);
        EXPECT_EQ(name, "CItem::touch");
    }
    EXPECT_EQ(name, "CList::~CList");
}

TEST(LogFunctionNameTest, OperatorsKeepTheirSymbols) {
    std::string name;
    logname::CList<std::string> list(&name);
    static_cast<void>(list == list);
    EXPECT_EQ(name, "CList::operator==");
    static_cast<void>(list < list);
    EXPECT_EQ(name, "CList::operator<");
    list << "x";
    EXPECT_EQ(name, "CList::operator<<");
    list(1);
    EXPECT_EQ(name, "CList::operator()");
    static_cast<void>(static_cast<bool>(list));
    EXPECT_EQ(name, "CList::operator bool");
    CHidden hidden;
    hidden.operator->();
    EXPECT_EQ(hidden.name, "CHidden::operator->");
}

TEST(LogFunctionNameTest, LambdaLogsAsTheFunctionAroundIt) {
    std::string name;
    logname::CList<int> list(&name);
    list.forEach();
    EXPECT_EQ(name, "CList::forEach");
}

TEST(LogFunctionNameTest, FreeFunctionsShowTheirNamedNamespaceOnly) {
    std::string name;
    logname::LoadAll(&name);
    EXPECT_EQ(name, "logname::LoadAll");
    LoadGlobal(&name);
    EXPECT_EQ(name, "LoadGlobal");
    LoadHidden(&name);
    EXPECT_EQ(name, "LoadHidden");
}

void FixedClock(SYSTEMTIME* now) { *now = SYSTEMTIME{2019, 8, 1, 12, 10, 15, 0, 123}; }

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
    std::wstring logPath_ = folder_.path() + L"shared.log";
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

// Writes each line twice: through KESTRUM_LOG, then spelled out with the macro's source line.
class CCourseProbe : public CKestrumDump {
public:
    explicit CCourseProbe(const std::wstring& logPath)
        : CKestrumDump("CKestrumCourse", true, false, true, logPath) {}

    void onJoinRoom(const char* rid, int count) {
        KESTRUM_LOG(Level_Info, "(%s,%d)", rid, count);
        writeLine(Level_Info, __LINE__ - 1, "%s(%s,%d)", "CCourseProbe::onJoinRoom", rid, count);
    }

    void onSocketStatus_Open() {
        KESTRUM_LOG(Level_Warning, "");
        writeLine(Level_Warning, __LINE__ - 1, "%s", "CCourseProbe::onSocketStatus_Open");
    }

    void onSocketUserJoin(const char* uid, const std::wstring& nickname) {
        KESTRUM_LOG(Level_Error, "(%s,%ls): a message long enough to wrap the call in two", uid,
                    nickname.c_str());
        writeLine(Level_Error, __LINE__ - 2,
                  "%s(%s,%ls): a message long enough to wrap the call in two",
                  "CCourseProbe::onSocketUserJoin", uid, nickname.c_str());
    }
};

TEST_F(KestrumDumpTest, LogMacroWritesTheLineThatTheSpelledOutCallWrites) {
    {
        CCourseProbe probe(logPath_);
        probe.onJoinRoom("r1", 3);
        probe.onSocketStatus_Open();
        probe.onSocketUserJoin("u7", L"Ann");
    }
    const std::vector<std::string> lines = Lines(ReadFileBytes(logPath_));
    ASSERT_EQ(lines.size(), 6u);
    for (size_t i = 0; i < lines.size(); i += 2) EXPECT_EQ(lines[i], lines[i + 1]);
    const std::regex shape(
        "\\[Level_Info\\] 20190812:101500:123 \\[CKestrumCourse:\\d+\\] "
        "CCourseProbe::onJoinRoom\\(r1,3\\)");
    EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0];
    EXPECT_NE(lines[2].find("] CCourseProbe::onSocketStatus_Open"), std::string::npos) << lines[2];
    EXPECT_NE(lines[4].find("] CCourseProbe::onSocketUserJoin(u7,Ann): a message"),
              std::string::npos)
        << lines[4];
}

TEST_F(KestrumDumpTest, LevelNamesComeFromTheTableAndUnknownLevelsHaveNone) {
    {
        CKestrumDump dump("T", true, false, false, logPath_);
        for (int level : {0, 1, 2, 3, 5, -1}) {
            dump.writeLine(level, 1, "x");
        }
    }
    EXPECT_EQ(Lines(ReadFileBytes(logPath_)), (std::vector<std::string>{
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

// A name is the caller's text, not the log's: it can neither add a line nor command a terminal.
TEST_F(KestrumDumpTest, ControlCharactersOfTheMessageAreEscapedSoOneCallIsOneLine) {
    const std::string prefix = "[Level_Info] 20190812:101500:123 [T:2] ";
    {
        CKestrumDump dump("T", true, false, false, logPath_);
        dump.writeLine(Level_Info, 1, "join(%s)",
                       "Eve\r\n[Level_Error] 20190812:101500:123 [CKestrum:1] "
                       "fake\x1B[2J\a\x7F\t\xE4\xBD\xA0");
        // An escape that would cross the line's end is left out whole.
        dump.writeLine(Level_Info, 2, "%s\n", std::string(1022 - prefix.size(), 'a').c_str());
    }
    const std::vector<std::string> lines = Lines(ReadFileBytes(logPath_));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(
        lines[0],
        "[Level_Info] 20190812:101500:123 [T:1] join(Eve\\r\\n[Level_Error] 20190812:101500:123 "
        "[CKestrum:1] fake\\x1B[2J\\x07\\x7F\\t\xE4\xBD\xA0)");
    EXPECT_EQ(lines[1], prefix + std::string(1022 - prefix.size(), 'a'));
}

TEST_F(KestrumDumpTest, FirstPathOpensTheSharedFileForEveryObjectUntilTheLastGoes) {
    const std::wstring otherPath = folder_.path() + L"other.log";
    {
        CKestrumDump first("First", true, false, true, logPath_);
        CKestrumDump second("Second", true, false, true, L"");
        CKestrumDump third("Third", true, false, true, otherPath);
        second.writeLine(Level_Info, 2, "from second");
        third.writeLine(Level_Info, 3, "from third");
    }
    EXPECT_EQ(Lines(ReadFileBytes(logPath_)).size(), 2u);
    EXPECT_EQ(GetFileAttributesW(otherPath.c_str()), INVALID_FILE_ATTRIBUTES);
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
                                                           false, false, L""));
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
