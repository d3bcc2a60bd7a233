#include "kestrum/core/kestrum_config.h"

#include <gtest/gtest.h>

#include "chinese_emoji_text.h"
#include "locale_expectation.h"
#include "temp_folder.h"

namespace {

// The accessors of one key.
struct Key {
    const char* name;
    bool (CKestrumConfig::*set)(const std::string&) const;
    std::string& (CKestrumConfig::*get)(std::string&) const;  // null: the program never reads it
};

// An installation: <install>version.txt beside the program folder <install>bin\, installed in a
// folder that the ANSI code page of an English system cannot spell.
class KestrumConfigTest : public ::testing::Test {
protected:
    std::string Value(const char* key) const {
        ZuvraKestrum::Util::CIniBase ini(iniPath_);
        std::string value;
        return ini.ReadString(value, "BaseInfo", key);
    }
    void Preset(const char* key, const std::string& value) const {
        ZuvraKestrum::Util::CIniBase(iniPath_).WriteString("BaseInfo", key, value);
    }

    TempFolder root_;
    std::wstring install_ = root_.MakeFolder(L"\x4F1A\x8BAE Kestrum");
    std::wstring bin_ = root_.MakeFolder(L"\x4F1A\x8BAE Kestrum\\bin");
    std::wstring iniPath_ = bin_ + L"KestrumConfig.ini";
    std::wstring versionPath_ = install_ + L"version.txt";
};

TEST_F(KestrumConfigTest, FreshInstallationGetsEveryDefault) {
    WriteFileBytes(versionPath_, "2.4.1");
    CKestrumConfig config(bin_);
    EXPECT_EQ(Value("AppID"), "5b1e7c9a20d64f3e8a7b6c5d4e3f2a10");
    EXPECT_EQ(Value("EnableCamera"), "0");
    EXPECT_EQ(Value("EnableMic"), "0");
    EXPECT_EQ(Value("PortraitPath"), "profile picture-light.png");
    EXPECT_EQ(Value("UploadText"), "Windows log upload.");
    EXPECT_EQ(Value("AppVersion"), "2.4.1");
    EXPECT_TRUE(Value("Language") == "0" || Value("Language") == "1");
    EXPECT_EQ(Value("Token"), "");
}

TEST_F(KestrumConfigTest, UserValuesAreKeptAndStartValuesRewritten) {
    WriteFileBytes(versionPath_, "3.0");
    Preset("AppID", "0123456789abcdef0123456789abcdef");
    Preset("EnableCamera", "1");
    Preset("EnableMic", "1");
    Preset("PortraitPath", "C:\\me.png");
    Preset("Language", "7");
    Preset("UploadText", "edited");
    Preset("AppVersion", "0.1");
    Preset("Token", "kept-token");
    CKestrumConfig config(bin_);
    EXPECT_EQ(Value("AppID"), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(Value("EnableCamera"), "1");
    EXPECT_EQ(Value("EnableMic"), "1");
    EXPECT_EQ(Value("PortraitPath"), "C:\\me.png");
    EXPECT_EQ(Value("Token"), "kept-token");
    EXPECT_NE(Value("Language"), "7");
    EXPECT_EQ(Value("UploadText"), "Windows log upload.");
    EXPECT_EQ(Value("AppVersion"), "3.0");
}

TEST_F(KestrumConfigTest, VersionIsTheFirstTenBytesWithoutTrailingLineEnd) {
    WriteFileBytes(versionPath_, "1.2.3.4567890123");
    { CKestrumConfig config(bin_); }
    EXPECT_EQ(Value("AppVersion"), "1.2.3.4567");
    WriteFileBytes(versionPath_, "1.0.0\r\n");
    { CKestrumConfig config(bin_); }
    EXPECT_EQ(Value("AppVersion"), "1.0.0");
    WriteFileBytes(versionPath_, std::string("1.1\0junk", 8));
    { CKestrumConfig config(bin_); }
    EXPECT_EQ(Value("AppVersion"), "1.1");
}

TEST_F(KestrumConfigTest, MissingVersionFileGivesEmptyVersionAndIsNotCreated) {
    CKestrumConfig config(bin_);
    EXPECT_EQ(Value("AppVersion"), "");
    EXPECT_EQ(GetFileAttributesW(versionPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Under an English locale the ANSI code page (1252) has no Chinese, and no code page has emoji:
// a name, a path in a folder named so, a device or a room keeps every character.
TEST_F(KestrumConfigTest, NamesAndPathsKeepEveryCharacterAfterReopening) {
    const Key keys[] = {
        {"Nickname", &CKestrumConfig::setNickname, &CKestrumConfig::getNickname},
        {"PortraitPath", &CKestrumConfig::setPortraitPath, &CKestrumConfig::getPortraitPath},
        {"MicID", &CKestrumConfig::setMicID, &CKestrumConfig::getMicID},
        {"CameraID", &CKestrumConfig::setCameraID, &CKestrumConfig::getCameraID},
        {"Classname", &CKestrumConfig::setClassname, nullptr},
        {"ClassPwd", &CKestrumConfig::setClassPwd, nullptr},
    };
    const std::string value = std::string("C:\\") + kChineseEmojiUtf8 + "\\a.png";
    {
        CKestrumConfig config(bin_);
        for (const Key& key : keys) ASSERT_TRUE((config.*key.set)(value)) << key.name;
    }
    CKestrumConfig reopened(bin_);
    for (const Key& key : keys) {
        std::string read;
        if (key.get) {
            EXPECT_EQ((reopened.*key.get)(read), value) << key.name;
        }
        std::wstring stored;
        EXPECT_EQ(ZuvraKestrum::Util::CIniBase(iniPath_).ReadString(stored, "BaseInfo", key.name),
                  std::wstring(L"C:\\") + kChineseEmojiWide + L"\\a.png")
            << key.name;
    }
}

// The file an older program wrote in the ANSI code page: its values stay, names come back as
// UTF-8, and a new name is kept whole from then on.
TEST_F(KestrumConfigTest, OlderAnsiFileKeepsItsValues) {
    std::string ansiName;
    std::string utf8Name;
    switch (CurrentTestLocale()) {
    case TestLocale::Chinese:
        ansiName = "\xCD\xF5\xD0\xA1\xC3\xF7";  // "王小明" in GBK
        utf8Name = "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E";
        break;
    case TestLocale::English:
        ansiName = "Ren\xE9";
        utf8Name = "Ren\xC3\xA9";
        break;
    case TestLocale::Other:
        GTEST_SKIP() << "not started under one of the test locales";
    }
    WriteFileBytes(iniPath_,
                   "[BaseInfo]\r\nAppID=0123456789abcdef0123456789abcdef\r\nNickname=" + ansiName +
                       "\r\nMicID=" + ansiName + "\r\nToken=kept-token\r\nEnableCamera=1\r\n");
    CKestrumConfig config(bin_);
    std::string value;
    EXPECT_EQ(config.getNickname(value), utf8Name);
    EXPECT_EQ(config.getMicID(value), utf8Name);
    EXPECT_EQ(config.getAppID(value), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(config.getToken(value), "kept-token");
    EXPECT_EQ(config.getEnableCamera(value), "1");
    EXPECT_EQ(config.getPortraitPath(value), "profile picture-light.png");
    ASSERT_TRUE(config.setNickname(kChineseEmojiUtf8));
    EXPECT_EQ(CKestrumConfig(bin_).getNickname(value), kChineseEmojiUtf8);
}

TEST_F(KestrumConfigTest, LanguageFollowsTheUserLocale) {
    CKestrumConfig config(bin_);
    std::string language;
    switch (CurrentTestLocale()) {
    case TestLocale::Chinese:
        EXPECT_EQ(config.getLanguage(language), "1");
        break;
    case TestLocale::English:
        EXPECT_EQ(config.getLanguage(language), "0");
        break;
    case TestLocale::Other:
        GTEST_SKIP() << "not started under one of the test locales";
    }
}

TEST(KestrumConfigLanguageTest, EveryChineseLocaleIsChinese) {
    for (LCID locale : {0x0804, 0x0404, 0x0C04, 0x1004, 0x1404}) {
        EXPECT_EQ(CKestrumConfig::LanguageOfLocale(locale), 1) << std::hex << locale;
    }
    for (LCID locale : {0x0409, 0x0809, 0x0411, 0x0412, 0x0407}) {
        EXPECT_EQ(CKestrumConfig::LanguageOfLocale(locale), 0) << std::hex << locale;
    }
}

// Each accessor reaches the key that other versions of the program read and write.
TEST_F(KestrumConfigTest, AccessorsUseTheStoredKeyNames) {
    const Key keys[] = {
        {"AppID", &CKestrumConfig::setAppID, &CKestrumConfig::getAppID},
        {"AppVersion", &CKestrumConfig::setAppVersion, &CKestrumConfig::getAppVersion},
        {"CameraID", &CKestrumConfig::setCameraID, &CKestrumConfig::getCameraID},
        {"ClassPwd", &CKestrumConfig::setClassPwd, nullptr},
        {"Classname", &CKestrumConfig::setClassname, nullptr},
        {"EnableCamera", &CKestrumConfig::setEnableCamera, &CKestrumConfig::getEnableCamera},
        {"EnableMic", &CKestrumConfig::setEnableMic, &CKestrumConfig::getEnableMic},
        {"Language", &CKestrumConfig::setLanguage, &CKestrumConfig::getLanguage},
        {"MediaVersion", &CKestrumConfig::setMediaVersion, nullptr},
        {"Mediatoken", &CKestrumConfig::setMediatoken, &CKestrumConfig::getMediatoken},
        {"MicID", &CKestrumConfig::setMicID, &CKestrumConfig::getMicID},
        {"Nickname", &CKestrumConfig::setNickname, &CKestrumConfig::getNickname},
        {"OsVersion", &CKestrumConfig::setOsVersion, nullptr},
        {"PortraitId", &CKestrumConfig::setPortraitId, &CKestrumConfig::getPortraitId},
        {"PortraitPath", &CKestrumConfig::setPortraitPath, &CKestrumConfig::getPortraitPath},
        {"ShareID", &CKestrumConfig::setShareID, nullptr},
        {"Sharetoken", &CKestrumConfig::setSharetoken, &CKestrumConfig::getSharetoken},
        {"Streamid", &CKestrumConfig::setStreamid, &CKestrumConfig::getStreamid},
        {"Token", &CKestrumConfig::setToken, &CKestrumConfig::getToken},
        {"Uid", &CKestrumConfig::setUid, &CKestrumConfig::getUid},
        {"UpdateOption", &CKestrumConfig::setUpdateOption, &CKestrumConfig::getUpdateOption},
        {"UpdateVersion", &CKestrumConfig::setUpdateVersion, &CKestrumConfig::getUpdateVersion},
        {"UploadText", &CKestrumConfig::setUploadText, nullptr},
    };
    CKestrumConfig config(bin_);
    for (const Key& key : keys) {
        const std::string value = std::string("value of ") + key.name;
        EXPECT_TRUE((config.*key.set)(value)) << key.name;
        EXPECT_EQ(Value(key.name), value) << key.name;
        if (key.get) {
            std::string read;
            EXPECT_EQ((config.*key.get)(read), value) << key.name;
        }
    }
}

}  // namespace
