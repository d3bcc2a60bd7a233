#include "kestrum/core/ini_base.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "locale_expectation.h"
#include "temp_folder.h"

namespace {

using ZuvraKestrum::Util::CIniBase;

class IniBaseTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::string path_ = folder_.narrow() + "test.ini";
};

TEST_F(IniBaseTest, ConstructionCreatesAnEmptyFileAndKeepsAnExistingOne) {
    { CIniBase ini(path_); }
    EXPECT_EQ(ReadFileBytes(path_), "");
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

TEST_F(IniBaseTest, FileInAMissingFolderFailsToWrite) {
    CIniBase ini(folder_.narrow() + "missing\\test.ini");
    EXPECT_FALSE(ini.WriteString("BaseInfo", "Uid", "1"));
    std::string value = "stale";
    EXPECT_EQ(ini.ReadString(value, "BaseInfo", "Uid"), "");
}

}  // namespace
