// The program's start-up and its two endings, on real processes: the staged Pelorin.exe copied
// into a folder of its own, its sibling stand-ins recording their starts, the stand-in crash
// handler keeping a journal, and the local back-end behind the service library.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "kestrum/common/utf.h"
#include "kestrum/testing/wait.h"
#include "staged_program.h"
#include "support/test_backend.h"

namespace {

using kestrum::testing_support::WaitUntil;

// The back-end for every test of the program; the service library of each started program
// reads its address from the inherited environment.
TestBackend* g_backend = nullptr;

class BackendEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        g_backend = new TestBackend;
        ASSERT_TRUE(g_backend->Started());
        std::string proxies;
        for (const std::string& proxy : g_backend->Proxies())
            proxies += (proxies.empty() ? "" : ",") + proxy;
        Set(L"KESTRUM_SERVICE_URL", g_backend->BaseUrl());
        Set(L"KESTRUM_FEEDBACK_URL", g_backend->BaseUrl());
        Set(L"KESTRUM_PROXIES", proxies);
        Set(L"KESTRUM_PROXY_PORT", std::to_string(g_backend->ProxyPort()));
    }
    void TearDown() override {
        delete g_backend;
        g_backend = nullptr;
    }

    static void Set(const wchar_t* name, const std::string& value) {
        SetEnvironmentVariableW(name, kestrum::common::Utf8ToWide(value).c_str());
    }
};

const ::testing::Environment* const kBackend =
    ::testing::AddGlobalTestEnvironment(new BackendEnvironment);

constexpr wchar_t kJoinWindow[] = L"LoginHome";
// The latest version the back-end offers.
constexpr char kLatestVersion[] = "1.2.0";
// The middle line of the join window's caption band (36 pixels high).
constexpr int kCaptionMiddle = 18;
constexpr char kHolderTypes[][24] = {
    "CKestrum",       "CKestrumZuvra",         "CKestrumConfig",
    "CKestrumCourse", "CKestrumQualityUpload", "CVideoSourceTransfer"};

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool UserLanguageIsChinese() {
    return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_CHINESE;
}

// The traces of the program's own holders, "CSingleton<class CKestrum>::CGrabo::~CGrabo" and the
// like, as "CKestrum ~" or "CKestrum +" (construction), in the order printed. Holders of the
// service library and other lines are left out.
std::vector<std::string> HolderTraces(const std::string& output) {
    std::vector<std::string> traces;
    for (const std::string& line : Lines(output)) {
        for (const char* type : kHolderTypes) {
            const std::string prefix = std::string("CSingleton<class ") + type + ">::CGrabo::";
            if (line.compare(0, prefix.size(), prefix) != 0) continue;
            const bool destroyed = line.compare(prefix.size(), 7, "~CGrabo") == 0;
            traces.push_back(std::string(type) + (destroyed ? " ~" : " +"));
        }
    }
    return traces;
}

// The centre of the rightmost button in a window's caption band (the band's middle line at y,
// client coordinates): the frame answers HTCLIENT over a button and HTCAPTION elsewhere in the
// band. {-1, -1} when the band has no button.
POINT RightmostCaptionButton(HWND window, int y) {
    RECT client;
    GetClientRect(window, &client);
    auto hit = [&](int x) {
        POINT at = {x, y};
        ClientToScreen(window, &at);
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    };
    int right = client.right - 1;
    while (right >= 0 && hit(right) != HTCLIENT) --right;
    if (right < 0) return {-1, -1};
    int left = right;
    while (left > 0 && hit(left - 1) == HTCLIENT) --left;
    return {(left + right) / 2, y};
}

// A copy of the installation per test, with the sibling stand-ins' record and a crash-handler
// journal per program in it.
class ProgramStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(copy_.ready());
        // The back-end's latest version: no upgrade offer takes the join window's place.
        ASSERT_TRUE(copy_.setVersion(kLatestVersion));
        records_ = copy_.bin() + L"siblings.txt";
        SetEnvironmentVariableW(L"KESTRUM_SIBLING_LOG", records_.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"KESTRUM_SIBLING_LOG", nullptr);
        SetEnvironmentVariableW(L"KESTRUM_BUGTRAP_JOURNAL", nullptr);
        SetEnvironmentVariableW(L"KESTRUM_ENGINE_JOURNAL", nullptr);
    }

    // Starts the program with journals of its own (crash handler "<name>.journal", engine
    // "<name>.engine") and its output in "<name>.out".
    std::unique_ptr<StartedProgram> start(const std::wstring& name) {
        SetEnvironmentVariableW(L"KESTRUM_BUGTRAP_JOURNAL", journal(name).c_str());
        SetEnvironmentVariableW(L"KESTRUM_ENGINE_JOURNAL",
                                (copy_.bin() + name + L".engine").c_str());
        return std::make_unique<StartedProgram>(copy_.program(), copy_.bin() + name + L".out");
    }
    std::wstring journal(const std::wstring& name) const {
        return copy_.bin() + name + L".journal";
    }
    // What the stand-in engine of a program was asked so far.
    std::string engineCalls(const std::wstring& name) const {
        return ReadWholeFile(copy_.bin() + name + L".engine");
    }
    // Waits until the join window has been initialised: it makes the engine then.
    bool awaitEngine(const std::wstring& name) const {
        return WaitUntil([&] { return Contains(engineCalls(name), "engine.initialize("); });
    }
    // A value of the program's configuration file.
    std::string configValue(const char* key) const {
        wchar_t value[256] = {};
        GetPrivateProfileStringW(L"BaseInfo", kestrum::common::Utf8ToWide(key).c_str(), L"", value,
                                 256, (copy_.bin() + L"KestrumConfig.ini").c_str());
        return kestrum::common::WideToUtf8(value);
    }

    // The sibling stand-ins' starts so far, one line each (program path and arguments, tabs).
    std::vector<std::string> siblingStarts() const { return Lines(ReadWholeFile(records_)); }
    std::string faultpost() const {
        return kestrum::common::WideToUtf8(copy_.bin() + L"Faultpost.exe");
    }
    // Waits until count starts have been recorded.
    bool awaitSiblingStarts(size_t count) const {
        return WaitUntil([&] { return siblingStarts().size() >= count; });
    }
    // Waits until no crash reporter of the copy runs: it goes with the program that started it.
    bool awaitNoCrashReporter() const {
        return WaitUntil([&] { return copy_.processes(L"Faultpost.exe").empty(); });
    }

    // The crash-handler calls of a program, with the log files that the meeting data hands over
    // (there may be several) as one "BT_AddLogFile" line; logFiles counts them.
    std::vector<std::string> crashHandlerCalls(const std::wstring& name, int* logFiles) const {
        std::vector<std::string> calls;
        *logFiles = 0;
        for (const std::string& line : Lines(ReadWholeFile(journal(name)))) {
            if (line.compare(0, 14, "BT_AddLogFile(") == 0) {
                ++*logFiles;
                if (calls.empty() || calls.back() != "BT_AddLogFile")
                    calls.push_back("BT_AddLogFile");
            } else {
                calls.push_back(line);
            }
        }
        return calls;
    }

    // How often a meeting data object opened the log: once per started program that got so far.
    int logOpenings() const {
        const std::string log = copy_.log();
        int count = 0;
        for (size_t at = log.find("[Kestrum] AppId:"); at != std::string::npos;
             at = log.find("[Kestrum] AppId:", at + 1))
            ++count;
        return count;
    }

    // Installed in a folder that the ANSI code page of an English system cannot spell: every file
    // beside the program must still be found.
    StagedCopy copy_{L"\x4F1A\x8BAE Kestrum"};
    std::wstring records_;
};

TEST_F(ProgramStartupTest, ASecondInstanceWarnsInTheUserLanguageAndLeavesTheFirstRunning) {
    std::unique_ptr<StartedProgram> first = start(L"first");
    const HWND joinWindow = first->awaitWindow(kJoinWindow);
    ASSERT_NE(joinWindow, nullptr);
    ASSERT_EQ(logOpenings(), 1);

    std::unique_ptr<StartedProgram> second = start(L"second");
    const HWND warning = second->awaitWindow(L"Warning");
    ASSERT_NE(warning, nullptr);
    const std::wstring expected = UserLanguageIsChinese()
                                      ? L"Kestrum 程序已经启动."
                                      : L"Kestrum Application Already Running..";
    const std::vector<std::wstring> texts = ChildTexts(warning);
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end())
        << kestrum::common::WideToUtf8(texts.empty() ? L"(no text)" : texts.front());
    EXPECT_EQ(second->findWindow(kJoinWindow), nullptr);

    PostMessageW(warning, WM_CLOSE, 0, 0);
    EXPECT_EQ(second->waitForExit(), 0);
    // It went before the crash handler, the configuration and the log.
    EXPECT_EQ(ReadWholeFile(journal(L"second")), "");
    EXPECT_EQ(logOpenings(), 1);

    EXPECT_TRUE(first->running());
    EXPECT_TRUE(IsWindowVisible(joinWindow));
}

TEST_F(ProgramStartupTest, StartUpSetsUpTheCrashHandlerAndReplacesAStaleCrashReporter) {
    StartedProgram stale(copy_.bin() + L"Faultpost.exe", copy_.bin() + L"stale.out");
    ASSERT_TRUE(stale.started());
    ASSERT_TRUE(awaitSiblingStarts(1));

    std::unique_ptr<StartedProgram> program = start(L"program");
    ASSERT_NE(program->awaitWindow(kJoinWindow), nullptr);
    // The join window, not the upgrade box: the version beside the installation was read, and
    // the configuration, the log and the engine's log lie in the program's folder.
    EXPECT_EQ(configValue("AppVersion"), kLatestVersion);
    EXPECT_EQ(logOpenings(), 1);
    ASSERT_TRUE(awaitEngine(L"program"));
    // The join window hands the engine its log file after the engine's start.
    const std::string logFile =
        "rtc.log_file," + kestrum::common::WideToUtf8(copy_.bin() + L"logger\\");
    EXPECT_TRUE(WaitUntil([&] { return Contains(engineCalls(L"program"), logFile.c_str()); }));
    EXPECT_EQ(stale.waitForExit(), 0);  // ended by the program, exit code 0
    ASSERT_TRUE(awaitSiblingStarts(2));
    // The fresh one, from the program folder, without arguments; and only that one runs.
    EXPECT_EQ(siblingStarts()[1], faultpost());
    std::vector<DWORD> running;
    WaitUntil([&] {
        running = copy_.processes(L"Faultpost.exe");
        return running.size() == 1;
    });
    EXPECT_EQ(running.size(), 1u);

    // The join window hands over the engine's log once it is up, after start-up's own calls.
    int logFileCalls = 0;
    const std::string reports =
        "BT_SetReportFilePath(" + kestrum::common::WideToUtf8(copy_.bin() + L"Faultpost") + ")";
    const std::vector<std::string> expected = {"BT_SetAppName(Pelorin Bugtrap)",
                                               "BT_SetFlags(5)",
                                               "BT_InstallSehFilter()",
                                               "BT_AddLogFile",  // the meeting data's log files
                                               "BT_SetAppName(Pelorin Bugtrap)",
                                               "BT_InstallSehFilter()",
                                               "BT_SetFlags(5)",
                                               "BT_SetActivityType(2)",
                                               reports,
                                               "BT_AddLogFile"};  // the engine's
    WaitUntil([&] { return crashHandlerCalls(L"program", &logFileCalls) == expected; });
    EXPECT_EQ(crashHandlerCalls(L"program", &logFileCalls), expected);
    EXPECT_GE(logFileCalls, 2);
    EXPECT_NE(GetFileAttributesW((copy_.bin() + L"Faultpost").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProgramStartupTest, ASystemCloseDeletesTheSingletonsInTheReverseOrderOfTheirHolders) {
    std::unique_ptr<StartedProgram> program = start(L"program");
    const HWND joinWindow = program->awaitWindow(kJoinWindow);
    ASSERT_NE(joinWindow, nullptr);
    // Once the crash reporter runs, WinMain has reached its message loop. With none stale, the
    // restart only starts one.
    ASSERT_TRUE(awaitSiblingStarts(1));
    ASSERT_TRUE(awaitEngine(L"program"));
    EXPECT_EQ(siblingStarts(), std::vector<std::string>{faultpost()});
    // Signed in on the back-end: the service library's answer found its way to the join window,
    // which keeps the token.
    EXPECT_TRUE(WaitUntil([&] { return !configValue("Token").empty(); }));

    PostMessageW(joinWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(program->waitForExit(), 0);
    EXPECT_TRUE(awaitNoCrashReporter());
    const std::vector<std::string> expected = {"CKestrum +",
                                               "CKestrumZuvra +",
                                               "CKestrumConfig +",
                                               "CKestrumCourse +",
                                               "CKestrumQualityUpload +",
                                               "CVideoSourceTransfer +",
                                               "CVideoSourceTransfer ~",
                                               "CKestrumQualityUpload ~",
                                               "CKestrumCourse ~",
                                               "CKestrumConfig ~",
                                               "CKestrumZuvra ~",
                                               "CKestrum ~"};
    const std::string output = program->output();
    EXPECT_EQ(HolderTraces(output), expected) << output;
    // The engine wrapper's holder gave the engine back.
    EXPECT_TRUE(Contains(engineCalls(L"program"), "engine.release(0)"));
    // The application singleton's holder is the last holder of the whole process to speak.
    std::string lastHolderLine;
    for (const std::string& line : Lines(output)) {
        if (line.find("::CGrabo::") != std::string::npos) lastHolderLine = line;
    }
    EXPECT_EQ(lastHolderLine, "CSingleton<class CKestrum>::CGrabo::~CGrabo");
}

TEST_F(ProgramStartupTest, TheJoinWindowsCloseButtonEndsTheProcessAtOnce) {
    std::unique_ptr<StartedProgram> program = start(L"program");
    const HWND joinWindow = program->awaitWindow(kJoinWindow);
    ASSERT_NE(joinWindow, nullptr);
    ASSERT_TRUE(awaitEngine(L"program"));
    // Another window of the program exists: the hidden notice box.
    EXPECT_NE(program->findWindow(L"DuiMsgBox", true), nullptr);

    const POINT close = RightmostCaptionButton(joinWindow, kCaptionMiddle);
    ASSERT_GE(close.x, 0);
    ClickAt(joinWindow, close);
    EXPECT_EQ(program->waitForExit(), 0);
    EXPECT_TRUE(awaitNoCrashReporter());

    EXPECT_TRUE(Contains(copy_.log(), "CDuiLogin::DoClose"));
    // Nothing was torn down on the way: no holder deleted the engine wrapper.
    EXPECT_FALSE(Contains(engineCalls(L"program"), "engine.release"));
    for (const std::string& trace : HolderTraces(program->output()))
        EXPECT_EQ(trace.back(), '+') << trace;
}

}  // namespace
