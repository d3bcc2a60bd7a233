#include "kestrum/core/log_uploader.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/core/kestrum_data.h"
#include "meeting_data_fixture.h"

namespace {

using ZuvraKestrum::Util::LogUploaderCommandLine;

HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }

std::vector<std::wstring> Split(const std::wstring& commandLine) {
    int count = 0;
    wchar_t** split = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> arguments(split, split + count);
    LocalFree(split);
    return arguments;
}

class LogUploaderCommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        data().appLogPath = L"C:\\App\\logger\\20190812-101500_Kestrum_Windows.log";
        data().setEngineLogPath(L"C:\\App\\logger\\20190812-101500_Kestrum_MediaSdk.log");
    }
    CKestrumData& data() { return fixture_.data(); }
    MeetingDataFixture fixture_;
};

TEST_F(LogUploaderCommandLineTest, NamesTheLogsBareAndTheWindowInLowerCaseHex) {
    EXPECT_EQ(LogUploaderCommandLine(L"C:\\App\\", data(), Handle(0x1A2B3C)),
              L"\"C:\\App\\\\Brisklog.exe\" quorvadine 20190812-101500_Kestrum_Windows.log "
              L"20190812-101500_Kestrum_MediaSdk.log VideoSourceStream.txt ScreenSDK.log 1a2b3c ");
    data().setEngineLogPath(L"");
    EXPECT_EQ(LogUploaderCommandLine(L"D:\\", data(), Handle(0x10)),
              L"\"D:\\\\Brisklog.exe\" quorvadine 20190812-101500_Kestrum_Windows.log  "
              L"VideoSourceStream.txt ScreenSDK.log 10 ");
}

TEST_F(LogUploaderCommandLineTest, FolderWithBlanksAndChineseCharactersStaysOneArgument) {
    const std::wstring folder = L"C:\\Program Files\\Kestrum \x4f1a\x8bae\\";
    const std::vector<std::wstring> arguments =
        Split(LogUploaderCommandLine(folder, data(), Handle(0xBEEF)));
    ASSERT_EQ(arguments.size(), 7u);
    EXPECT_EQ(arguments[0], folder + L"\\Brisklog.exe");
    EXPECT_EQ(arguments[1], L"quorvadine");
    EXPECT_EQ(arguments[6], L"beef");
}

}  // namespace
