#include "kestrum/core/util_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
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
    const std::wstring app = GetAppLogPath("");
    const std::wstring media = GetMediaSdkLogPath("");
    const std::wstring logger = GetExeDirW() + L"logger\\";
    EXPECT_EQ(GetDirNameW(app), logger);
    EXPECT_TRUE(
        std::regex_match(GetFileNameW(app), std::wregex(L"20\\d{6}-\\d{6}_Kestrum_Windows\\.log")));
    EXPECT_TRUE(std::regex_match(GetFileNameW(media),
                                 std::wregex(L"20\\d{6}-\\d{6}_Kestrum_MediaSdk\\.log")));
    EXPECT_TRUE(std::regex_match(GetFileNameW(GetAppLogPath("Extra")),
                                 std::wregex(L"20\\d{6}-\\d{6}_Kestrum_WindowsExtra\\.log")));
    EXPECT_TRUE(IsFolder(logger));
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

// Ids come from the server: one that names anything but a file of the logo folder is unknown.
TEST_F(PortraitPathTest, IdsThatLeaveTheLogoFolderGiveTheDefault) {
    GetPortraitPath("");
    skin_->MakeFolder(L"logo\\a");
    WriteFileBytes(skin_->narrow() + "x.png", "png");
    WriteFileBytes(LogoFile("a\\b"), "png");
    for (const char* id : {"..\\x", "../x", "a/b", "a\\b"}) {
        EXPECT_EQ(GetPortraitPath(id), L"profile picture-light.png") << id;
    }
}

// Without a skin folder the cache lies beside the program, never in the working directory.
TEST_F(PortraitPathTest, NoSkinFolderKeepsTheWorkingDirectoryClean) {
    SetResourcePathSource(nullptr);
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(skin_->path().c_str());
    const std::wstring path = GetPortraitPath("abc123");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(path, L"profile picture-light.png");
    EXPECT_FALSE(IsFolder(skin_->path() + L"logo"));
    EXPECT_TRUE(IsFolder(GetExeDirW() + L"logo"));
}

// The download writes where the look-up reads, with no folder to make first.
TEST_F(PortraitPathTest, CachePathOfAPlainIdIsWhereTheLookUpReads) {
    const std::string accepted[] = {"p1",   "1",     "5f3c-9A_b.v2", "x.",
                                    "null", "com10", "console",      std::string(128, 'f')};
    for (const std::string& id : accepted) {
        EXPECT_EQ(GetPortraitCachePath(id), StringToCString(LogoFile(id))) << id;
    }
    WriteFileBytes(CStringToString(GetPortraitCachePath("p1")), "png");
    EXPECT_EQ(GetPortraitPath("p1"), GetPortraitCachePath("p1"));
}

// Anything else the server might send names no file at all, so nothing is read or written.
TEST_F(PortraitPathTest, CachePathRefusesIdsThatAreNotPlainNames) {
    const std::string refused[] = {
        "",
        ".",
        "..",
        "..\\x",
        "../x",
        ".hidden",
        "a/b",
        "a\\b",
        "C:x",
        "x:stream",
        "\\\\host\\share\\x",
        "abc*",
        "a?b",
        "a b",
        "a\tb",
        "a%2fb",
        "nul",
        "NUL",
        "Con",
        "aux.png",
        "com1",
        "LPT9.x",
        "prn",
        "\xE5\xA4\xB4\xE5\x83\x8F",
        "\xCD\xB7\xCF\xF1",
        "caf\xE9",  // UTF-8, GBK, Latin-1
        std::string("p1\0/../x", 8),
        std::string("p1\0", 3),
        std::string(129, 'f'),
    };
    for (const std::string& id : refused) {
        const std::string shown = ::testing::PrintToString(id);
        EXPECT_EQ(GetPortraitCachePath(id), L"") << shown;
        EXPECT_EQ(GetPortraitPath(id), L"profile picture-light.png") << shown;
    }
}

TEST_F(PortraitPathTest, RelativeSkinFolderLiesBelowTheProgramsFolder) {
    currentSkin = L"no-such-skin";
    EXPECT_EQ(GetPortraitCachePath("p1"), GetExeDirW() + L"no-such-skin\\logo\\p1.png");
    currentSkin = L"";
    EXPECT_EQ(GetPortraitCachePath("p1"), GetExeDirW() + L"logo\\p1.png");
    // Tied to the working directory's drive or folder, with no program-relative meaning.
    for (const wchar_t* skin : {L"C:skin\\", L"\\skin\\", L"/skin/"}) {
        currentSkin = skin;
        EXPECT_EQ(GetPortraitCachePath("p1"), L"") << CStringToString(skin);
        EXPECT_EQ(GetPortraitPath("1"), L"profile picture-light1.png");
    }
}

TEST_F(PortraitPathTest, CachePathMustFitMaxPath) {
    // "<skin><folder>\logo\<id>.png" is MAX_PATH - 1 characters long; its logo folder fits.
    const std::string id(100, 'p');
    const size_t folder =
        MAX_PATH - 1 - skin_->path().size() - std::wcslen(L"\\logo\\.png") - id.size();
    currentSkin = skin_->path() + std::wstring(folder, L'd') + L"\\";
    EXPECT_EQ(GetPortraitCachePath(id).size(), size_t{MAX_PATH - 1});
    EXPECT_EQ(GetPortraitCachePath(id + "p"), L"");
}

// The system creates no folder whose path leaves no room for an 8.3 name (MAX_PATH - 12
// characters or more): a cache path into such a logo folder would name a file never written.
TEST_F(PortraitPathTest, LogoFolderMustLeaveRoomForAShortName) {
    // "<skin><folder>\logo" is MAX_PATH - 13 characters long.
    const size_t folder = MAX_PATH - 13 - skin_->path().size() - std::wcslen(L"\\logo");
    skin_->MakeFolder(std::wstring(folder, L'd'));
    currentSkin = skin_->path() + std::wstring(folder, L'd') + L"\\";
    EXPECT_EQ(GetPortraitCachePath("p1"), currentSkin + L"logo\\p1.png");
    EXPECT_TRUE(IsFolder(currentSkin + L"logo"));

    skin_->MakeFolder(std::wstring(folder + 1, L'd'));
    currentSkin = skin_->path() + std::wstring(folder + 1, L'd') + L"\\";
    EXPECT_EQ(GetPortraitCachePath("p1"), L"");
    EXPECT_EQ(GetPortraitPath("p1"), L"profile picture-light.png");
    EXPECT_FALSE(IsFolder(currentSkin + L"logo"));
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
