#include "kestrum/core/util_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "kestrum/core/util_text.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Util;

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(StringToCString(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(PathNameTest, SplitsAtTheLastBackslashAndDot) {
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
        const char* title;
    };
    const Case cases[] = {
        {"C:\\app\\bin\\Pelorin.exe", "C:\\app\\bin\\", "Pelorin.exe", "Pelorin"},
        {"C:\\my.folder\\readme", "C:\\my.folder\\", "readme", "readme"},
        {"archive.tar.gz", "", "archive.tar.gz", "archive.tar"},
        {"notes.txt", "", "notes.txt", "notes"},
        {"C:\\folder\\", "C:\\folder\\", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetDirName(c.path), c.dir) << c.path;
        EXPECT_EQ(GetFileName(c.path), c.name) << c.path;
        EXPECT_EQ(GetFileTitle(c.path), c.title) << c.path;
    }
}

// Window titles and executable names in any script, also outside the ANSI code page.
TEST(PathNameTest, WideFormsKeepEveryCharacter) {
    const std::wstring path = L"C:\\\x6587\x6863\\\x8BB0\x4E8B\x672C.v2.exe";
    EXPECT_EQ(GetFileNameW(path), L"\x8BB0\x4E8B\x672C.v2.exe");
    EXPECT_EQ(GetFileTitleW(path), L"\x8BB0\x4E8B\x672C.v2");
    EXPECT_EQ(GetFileNameW(L"Untitled - Notepad"), L"Untitled - Notepad");
}

TEST(ProgramPathTest, FolderAndPathAgree) {
    const std::string exe = GetExePath();
    const std::string dir = GetExeDir();
    EXPECT_EQ(GetFileName(exe), "kestrum_app_core_test.exe");
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(exe.compare(0, dir.size(), dir), 0);
    EXPECT_EQ(CStringToString(GetExeDirW()), dir);
    EXPECT_EQ(GetModuleDir(exe), dir);
}

TEST(ProgramPathTest, ModuleDirOfALoadedLibraryIsItsFolder) {
    EXPECT_EQ(GetModuleDir("BugTrapU.dll"), GetExeDir());
    EXPECT_EQ(GetModuleDir("no-such-module.dll"), GetExeDir());
}

TEST(LogPathTest, TimeStampHasDateDashTime) {
    EXPECT_TRUE(std::regex_match(GetTimeStamp(), std::regex("20\\d{6}-\\d{6}")));
}

TEST(LogPathTest, LogFilesLieInTheLoggerFolderWhichIsCreated) {
    const std::string app = GetAppLogPath("");
    const std::string media = GetMediaSdkLogPath("");
    const std::string logger = GetExeDir() + "logger\\";
    EXPECT_EQ(GetDirName(app), logger);
    EXPECT_TRUE(std::regex_match(GetFileName(app),
                                 std::regex("20\\d{6}-\\d{6}_Kestrum_Windows\\.log")));
    EXPECT_TRUE(std::regex_match(GetFileName(media),
                                 std::regex("20\\d{6}-\\d{6}_Kestrum_MediaSdk\\.log")));
    EXPECT_TRUE(std::regex_match(GetFileName(GetAppLogPath("Extra")),
                                 std::regex("20\\d{6}-\\d{6}_Kestrum_WindowsExtra\\.log")));
    EXPECT_TRUE(IsFolder(StringToCString(logger)));
}

TEST(LogPathTest, CrashFolderIsCreatedBesideTheProgram) {
    const std::wstring folder = GetCrashFolder();
    EXPECT_EQ(folder, GetExeDirW() + L"Faultpost");
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_EQ(GetCrashFolder(), folder);  // an existing folder is fine
}

class PortraitPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin_ = std::make_unique<TempFolder>();
        currentSkin = skin_->path();
        SetResourcePathSource([] { return currentSkin; });
    }
    void TearDown() override {
        SetResourcePathSource(nullptr);
        skin_.reset();
    }
    std::string LogoFile(const std::string& id) const {
        return skin_->narrow() + "logo\\" + id + ".png";
    }

    static inline std::wstring currentSkin;
    std::unique_ptr<TempFolder> skin_;
};

TEST_F(PortraitPathTest, MissingAvatarGivesTheDefaultAndCreatesTheLogoFolder) {
    EXPECT_EQ(GetPortraitPath("abc123"), L"profile picture-light.png");
    EXPECT_TRUE(IsFolder(skin_->path() + L"logo"));
}

TEST_F(PortraitPathTest, CachedAvatarIsFoundExceptForTheOwnDefaultId) {
    GetPortraitPath("");
    WriteFileBytes(LogoFile("abc123"), "png");
    WriteFileBytes(LogoFile("1"), "png");
    EXPECT_EQ(GetPortraitPath("abc123"), StringToCString(LogoFile("abc123")));
    EXPECT_EQ(GetPortraitPath("1"), L"profile picture-light1.png");
    EXPECT_EQ(GetPortraitPath("abc*"), L"profile picture-light.png");  // a name, not a pattern
}

TEST(FileExistsTest, MissingFileIsCreatedEmpty) {
    TempFolder folder;
    const std::string file = folder.narrow() + "new.ini";
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(IsFile(file));
    EXPECT_EQ(ReadFileBytes(file), "");
    WriteFileBytes(file, "kept");
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(ReadFileBytes(file), "kept");
    EXPECT_FALSE(FileExists(folder.narrow() + "no-such-folder\\x.ini"));
}

}  // namespace
