// Starts each stand-in the way the program does and reads back what it recorded.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/common/utf.h"
#include "kestrum/testing/wait.h"
#include "kestrum/testing/win_wait.h"
#include "sibling_record.h"

namespace {

constexpr wchar_t kAnswerVariable[] = L"KESTRUM_BRISKLOG_ANSWER";

// The record line of these arguments: tab-separated UTF-8 with its line end.
std::string RecordLine(const std::vector<std::wstring>& arguments) {
    std::string line;
    for (const std::wstring& argument : arguments)
        line += (line.empty() ? "" : "\t") + kestrum::common::WideToUtf8(argument);
    return line + "\n";
}

std::wstring Hex(HWND window) {
    wchar_t text[32];
    swprintf(text, 32, L"%llx",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

// The last WM_COPYDATA sent to the answer window; the test thread must pump messages to get it.
struct Answer {
    int count = 0;
    ULONG_PTR code = 0;
    std::string text;
} g_answer;

LRESULT CALLBACK AnswerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    ++g_answer.count;
    g_answer.code = data->dwData;
    g_answer.text.assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
}

// Each test gets a folder whose path has blanks and Chinese characters, holding the record file
// and the copies of the stand-ins it starts from there.
class SiblingTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        folder_ = std::wstring(base) + L"kestrum siblings \x6d4b\x8bd5 " +
                  std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        SetEnvironmentVariableW(sibling::kRecordVariable, (folder_ + L"record.txt").c_str());
        g_answer = Answer();
    }
    void TearDown() override {
        for (const Started& started : started_) {
            TerminateProcess(started.process.get(), 9);
            WaitForSingleObject(started.process.get(), 10000);
        }
        started_.clear();
        SetEnvironmentVariableW(sibling::kRecordVariable, nullptr);
        SetEnvironmentVariableW(kAnswerVariable, nullptr);
        for (const wchar_t* file :
             {L"record.txt", L"Faultpost.exe", L"Brisklog.exe", L"Updrift.exe"}) {
            DeleteFileW((folder_ + file).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    // Copies the stand-in from the test program's folder into the test's folder.
    std::wstring Copy(const wchar_t* program) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring source = self;
        source = source.substr(0, source.rfind(L'\\') + 1) + program;
        EXPECT_TRUE(CopyFileW(source.c_str(), (folder_ + program).c_str(), FALSE));
        return folder_ + program;
    }

    HANDLE Start(std::wstring commandLine) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &started)) {
            return nullptr;
        }
        started_.push_back({kestrum::common::ScopedHandle(started.hProcess),
                            kestrum::common::ScopedHandle(started.hThread)});
        return started.hProcess;
    }

    // Waits for the process to end, delivering the messages sent to this thread's windows
    // meanwhile; its exit code, -1 when it did not end by the tests' timeout.
    static int WaitPumping(HANDLE process) {
        const bool ended = kestrum::testing_support::PumpUntil(
            [process] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
        if (!ended) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        return static_cast<int>(code);
    }

    // The record file once something is in it ("" when nothing is by the tests' timeout).
    std::string Recorded() const {
        std::string content;
        kestrum::testing_support::WaitUntil([&] {
            content = ReadRecord();
            return !content.empty();
        });
        return content;
    }

    // What the record file holds now ("" when there is none).
    std::string ReadRecord() const {
        const kestrum::common::ScopedHandle file(CreateFileW(
            (folder_ + L"record.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string content;
        if (!file) return content;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
            content.append(buffer, read);
        }
        return content;
    }

    std::wstring folder_;

private:
    struct Started {
        kestrum::common::ScopedHandle process;
        kestrum::common::ScopedHandle thread;
    };
    std::vector<Started> started_;
};

TEST_F(SiblingTest, UpgraderRecordsItsArgumentsFromAFolderWithBlanksAndChineseCharacters) {
    const std::wstring program = Copy(L"Updrift.exe");
    HANDLE process = Start(L"\"" + program + L"\" \"--package=\x5347\x7ea7 2.zip\" v2");
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitPumping(process), 0);
    EXPECT_EQ(Recorded(), RecordLine({program, L"--package=\x5347\x7ea7 2.zip", L"v2"}));
}

TEST_F(SiblingTest, CrashReporterRecordsItsStartAndStaysUntilTerminated) {
    const std::wstring program = Copy(L"Faultpost.exe");
    HANDLE process = Start(L"\"" + program + L"\" ");  // the program's empty argument text
    ASSERT_TRUE(process);
    EXPECT_EQ(Recorded(), RecordLine({program}));
    EXPECT_EQ(WaitForSingleObject(process, 500), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_TRUE(TerminateProcess(process, 5));
    EXPECT_TRUE(kestrum::testing_support::WaitForHandle(process));
}

// The program's line: the folder with its backslash and a second one, the fixed first argument,
// four bare log names, the window in hexadecimal and an empty last field.
TEST_F(SiblingTest, LogUploaderRecordsItsArgumentsAndAnswersSuccessOrTheChosenFailure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &AnswerProcedure;
    windowClass.lpszClassName = L"KestrumSiblingAnswer";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    Copy(L"Brisklog.exe");
    const std::wstring line = L"\"" + folder_ + L"\\Brisklog.exe\" quorvadine app.log engine.log " +
                              L"VideoSourceStream.txt ScreenSDK.log " + Hex(window) + L" ";

    HANDLE process = Start(line);
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitPumping(process), 0);
    EXPECT_EQ(g_answer.count, 1);
    EXPECT_EQ(g_answer.code, 0u);
    EXPECT_EQ(Recorded(),
              RecordLine({folder_ + L"\\Brisklog.exe", L"quorvadine", L"app.log", L"engine.log",
                          L"VideoSourceStream.txt", L"ScreenSDK.log", Hex(window)}));

    SetEnvironmentVariableW(kAnswerVariable, L"Upload failed: no network");
    process = Start(line);
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitPumping(process), 0);
    EXPECT_EQ(g_answer.count, 2);
    EXPECT_NE(g_answer.code, 0u);
    EXPECT_EQ(g_answer.text, std::string("Upload failed: no network", 26));  // with its zero
    DestroyWindow(window);
}

}  // namespace
