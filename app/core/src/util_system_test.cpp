#include "kestrum/core/util_system.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace ZuvraKestrum::Util;

TEST(OsProductNameTest, ReadsTheRegistryProductName) {
    const std::string name = GetOsProductName();
    EXPECT_FALSE(name.empty());
    EXPECT_NE(name.find("Windows"), std::string::npos) << name;
}

TEST(ShareWindowNameTest, ExecutableTitleWithTheLastPartOfTheWindowText) {
    EXPECT_EQ(DescribeShareWindow(L"notepad", L"Untitled - Notepad"),
              L"notepad[Untitled - Notepad]");
    EXPECT_EQ(DescribeShareWindow(L"explorer", L"C:\\Users\\me\\Documents"),
              L"explorer[Documents]");
    EXPECT_EQ(DescribeShareWindow(L"\x8BB0\x4E8B\x672C", L"\x6587\x6863"),
              L"\x8BB0\x4E8B\x672C[\x6587\x6863]");
}

TEST(ShareWindowNameTest, SkippedWindowsGetNoName) {
    EXPECT_EQ(DescribeShareWindow(L"ApplicationFrameHost", L"Settings"), L"");
    EXPECT_EQ(DescribeShareWindow(L"chrome", L"New Tab"), L"");
    EXPECT_EQ(DescribeShareWindow(L"googlechrome_proxy", L"New Tab"), L"");
    EXPECT_EQ(DescribeShareWindow(L"notepad", L""), L"");
    EXPECT_EQ(DescribeShareWindow(L"explorer", L"C:\\"), L"");
}

class ForegroundWindowTitleTest : public ::testing::Test {
protected:
    HWND Make(const wchar_t* title) {
        HWND window = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(window);
        return window;
    }
    void TearDown() override {
        for (HWND window : windows_) DestroyWindow(window);
    }
    std::vector<HWND> windows_;
};

TEST_F(ForegroundWindowTitleTest, NamesAWindowOfThisProcess) {
    HWND window = Make(L"C:\\docs\\report.txt - Editor");
    ASSERT_NE(window, nullptr);
    std::wstring title = L"stale";
    GetForegroundWindowTitle(title, window);
    EXPECT_EQ(title, L"kestrum_app_core_test[report.txt - Editor]");
}

TEST_F(ForegroundWindowTitleTest, UntitledOrInvalidWindowGivesEmptyText) {
    HWND window = Make(L"");
    ASSERT_NE(window, nullptr);
    std::wstring title = L"stale";
    GetForegroundWindowTitle(title, window);
    EXPECT_EQ(title, L"");
    title = L"stale";
    GetForegroundWindowTitle(title, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0)));
    EXPECT_EQ(title, L"");
}

}  // namespace
