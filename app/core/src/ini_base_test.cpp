#include "kestrum/core/ini_base.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chinese_emoji_text.h"
#include "locale_expectation.h"
#include "temp_folder.h"

namespace {

using ZuvraKestrum::Util::CIniBase;

class IniBaseTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::wstring path_ = folder_.path() + L"test.ini";
};

TEST_F(IniBaseTest, ConstructionCreatesAnEmptyFileAndKeepsAnExistingOne) {
    { CIniBase ini(path_); }
    // Empty but for the UTF-16LE byte order mark, which the profile functions keep.
    EXPECT_EQ(ReadFileBytes(path_), "\xFF\xFE");
    WriteFileBytes(path_, "[BaseInfo]\r\nUid=42\r\n");
    CIniBase ini(path_);
    std::string value;
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Uid"), "42");
}

TEST_F(IniBaseTest, WrittenValueIsReadBackAndOverwrittenMissingKeyIsEmpty) {
    CIniBase ini(path_);
    std::string value = "stale";
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Nickname"), "");
    EXPECT_TRUE(ini.WriteString("BaseInfo", "Nickname", "Alice"));
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Nickname"), "Alice");
    EXPECT_TRUE(ini.WriteString("BaseInfo", "Nickname", "Bob"));
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Nickname"), "Bob");
    EXPECT_EQ(ini.ReadString(value, "Other", "Nickname"), "");
}

// Access tokens run to several hundred characters; a cut token breaks the next start.
TEST_F(IniBaseTest, LongValuesComeBackWhole) {
    CIniBase ini(path_);
    for (size_t length : {254u, 255u, 256u, 511u, 1000u, 5000u}) {
        std::string token;
        for (size_t i = 0; i < length; ++i) token += static_cast<char>('A' + i % 26);
        ASSERT_TRUE(ini.WriteString("BaseInfo", "Token", token));
        std::string value;
        EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Token"), token) << length;
    }
}

TEST_F(IniBaseTest, NamesKeepTheirCharactersInTheSystemCodePage) {
    std::string name;
    switch (CurrentTestLocale()) {
    case TestLocale::Chinese:
        name = "\xD5\xC5\xC8\xFD";  // a Chinese name in GBK
        break;
    case TestLocale::English:
        name = "Ren\xE9";
        break;
    case TestLocale::Other:
        GTEST_SKIP() << "not started under one of the test locales";
    }
    CIniBase ini(path_);
    ASSERT_TRUE(ini.WriteString("BaseInfo", "Nickname", name));
    std::string value;
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Nickname"), name);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A name in the ANSI code page of the locale the test runs under, narrow and wide.
struct CodePageName {
    std::string narrow;
    std::wstring wide;
};

bool NameOfTheLocale(CodePageName& name) {
    switch (CurrentTestLocale()) {
    case TestLocale::Chinese:
        name = {"\xD5\xC5\xC8\xFD", L"\x5F20\x4E09"};  // "张三" in GBK
        return true;
    case TestLocale::English:
        name = {"Ren\xE9", L"Ren\xE9"};
        return true;
    case TestLocale::Other:
        break;
    }
    return false;
}

// No ANSI code page holds an emoji, and Windows-1252 holds no Chinese: only a Unicode file keeps
// them.
TEST_F(IniBaseTest, WideValuesKeepEveryCharacterAcrossObjects) {
    ASSERT_TRUE(
        CIniBase(path_).WriteString("BaseInfo", "Nickname", std::wstring(kChineseEmojiWide)));
    EXPECT_EQ(ReadFileBytes(path_).substr(0, 2), "\xFF\xFE");
    CIniBase reopened(path_);
    std::wstring value;
    EXPECT_EQ(reopened.ReadString(value, "BaseInfo", "Nickname"), kChineseEmojiWide);
    ASSERT_TRUE(reopened.WriteString("BaseInfo", "Uid", "42"));
    EXPECT_EQ(reopened.ReadString(value, "BaseInfo", "Nickname"), kChineseEmojiWide);
}

// A file of an older installation, written in the ANSI code page or saved by an editor as UTF-8,
// is converted once and keeps its values; a converted file is not touched again.
TEST_F(IniBaseTest, OlderFilesAreConvertedOnceAndKeepTheirValues) {
    CodePageName name;
    if (!NameOfTheLocale(name)) GTEST_SKIP() << "not started under one of the test locales";
    const std::string ansi = "[BaseInfo]\r\nNickname=" + name.narrow + "\r\nUid=42\r\n";
    const std::string utf8 =
        "\xEF\xBB\xBF[BaseInfo]\r\nNickname=" + std::string(kChineseEmojiUtf8) + "\r\nUid=43\r\n";
    struct Old {
        std::string bytes;
        std::wstring nickname;
        const char* uid;
    };
    for (const Old& old : {Old{ansi, name.wide, "42"}, Old{utf8, kChineseEmojiWide, "43"}}) {
        WriteFileBytes(path_, old.bytes);
        CIniBase ini(path_);
        const std::string converted = ReadFileBytes(path_);
        EXPECT_EQ(converted.substr(0, 2), "\xFF\xFE");
        std::wstring nickname;
        EXPECT_EQ(ini.ReadString(nickname, "BaseInfo", "Nickname"), old.nickname);
        std::string uid;
        EXPECT_EQ(ini.ReadString(uid, "BaseInfo", "Uid"), old.uid);
        ASSERT_TRUE(ini.WriteString("BaseInfo", "Nickname", std::wstring(kChineseEmojiWide)));
        const std::string written = ReadFileBytes(path_);
        { CIniBase again(path_); }
        EXPECT_EQ(ReadFileBytes(path_), written);
        EXPECT_EQ(ini.ReadString(nickname, "BaseInfo", "Nickname"), kChineseEmojiWide);
        EXPECT_EQ(FilesIn(folder_.path()), std::vector<std::wstring>{L"test.ini"});
    }
}

TEST_F(IniBaseTest, FileInAMissingFolderFailsToWrite) {
    CIniBase ini(folder_.path() + L"missing\\test.ini");
    EXPECT_FALSE(ini.WriteString("BaseInfo", "Uid", "1"));
    std::string value = "stale";
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Uid"), "");
}

}  // namespace
