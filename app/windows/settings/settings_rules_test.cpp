// The rules of the settings windows, apart from any window.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows/settings/avatar_check.h"
#include "app/windows/settings/device_choice.h"
#include "app/windows/settings/log_upload.h"
#include "app/windows/settings/nickname_rules.h"
#include "app/windows/settings/video_quality.h"
#include "meeting_data_fixture.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Settings;

TEST(DeviceChoice, TheLastDeviceOfTheRememberedNameWinsElseTheFirst) {
    const std::vector<std::wstring> cameras = {L"Front", L"USB Cam", L"Back", L"USB Cam"};
    EXPECT_EQ(ChooseDeviceIndex(cameras, L"Back"), 2);
    EXPECT_EQ(ChooseDeviceIndex(cameras, L"USB Cam"), 3);
    // Names compare exactly: another case or a blank more is another device.
    EXPECT_EQ(ChooseDeviceIndex(cameras, L"back"), 0);
    EXPECT_EQ(ChooseDeviceIndex(cameras, L"Back "), 0);
    EXPECT_EQ(ChooseDeviceIndex(cameras, L""), 0);
    EXPECT_EQ(ChooseDeviceIndex({L"", L"Mic"}, L""), 0);
    EXPECT_EQ(ChooseDeviceIndex({}, L"Back"), -1);
}

// An engine's device list whose second entry cannot be read.
struct DeviceList {
    int getDeviceCount() { return 3; }
    bool getDevice(int index, std::wstring& name, std::wstring& id) {
        if (index == 1 || index >= 3) return false;
        name = index == 0 ? L"Front" : L"Back";
        id = L"id" + std::to_wstring(index);
        return true;
    }
};

TEST(DeviceChoice, AnEntryIsFoundOnlyWhereTheListCanBeReadAndAnUnreadableOneShowsEmpty) {
    DeviceList list;
    EXPECT_EQ(DeviceNames(&list), (std::vector<std::wstring>{L"Front", L"", L"Back"}));
    EXPECT_TRUE(DeviceNames<DeviceList>(nullptr).empty());
    const DeviceEntry back = DeviceAt(&list, 2);
    EXPECT_TRUE(back.found);
    EXPECT_EQ(back.name, L"Back");
    EXPECT_EQ(back.id, L"id2");
    for (const int index : {-1, 1, 3}) EXPECT_FALSE(DeviceAt(&list, index).found) << index;
    EXPECT_FALSE(DeviceAt<DeviceList>(nullptr, 0).found);
}

TEST(VideoQuality, EachStoredLevelHasItsOptionAndPictureHeight) {
    MeetingDataFixture meeting;
    const struct {
        int level;
        const wchar_t* option;
        int lines;
    } cases[] = {{30, L"lowop", 360}, {40, L"midop", 480}, {50, L"highop", 720}};
    for (const auto& expected : cases) {
        const VideoQualityOption* quality = VideoQualityOfLevel(expected.level);
        ASSERT_NE(quality, nullptr) << expected.level;
        EXPECT_STREQ(quality->option, expected.option);
        EXPECT_EQ(quality->lines, expected.lines);
        StoreVideoQuality(*quality, &meeting.data());
        EXPECT_EQ(VideoQualityOfLevel(meeting.data().videoQuality), quality);
    }
    StoreVideoQuality(kLowQuality, nullptr);
    for (int level : {0, 35, 60, -40}) EXPECT_EQ(VideoQualityOfLevel(level), nullptr) << level;
}

TEST(AvatarCheck, OnlyTheFileNamesOwnExtensionCountsInAnyCase) {
    for (const wchar_t* accepted :
         {L"photo.png", L"C:\\Users\\Ann\\photo.PNG", L"face.JpEg", L"D:/pics/face.jpg",
          L"C:\\a.b\\me.jpeg", L"\x5934\x50cf.Png"}) {
        EXPECT_TRUE(HasAvatarExtension(accepted)) << accepted;
    }
    for (const wchar_t* refused :
         {L"photo.gif", L"C:\\jpg\\face.gif", L"C:\\pics.png\\face", L"face.png.gif", L"facepng",
          L"face.jpgx", L"face.pn", L"C:\\x\\.png", L"face.", L""}) {
        EXPECT_FALSE(HasAvatarExtension(refused)) << refused;
    }
}

const std::string kPngHead("\x89PNG\r\n\x1A\n", 8);
const std::string kJpegHead("\xFF\xD8\xFF\xE0", 4);

TEST(AvatarCheck, PicturesFromSixTenthsOfAMebibyteAreTooLargeAndTheKindIsJudgedFirst) {
    EXPECT_EQ(CheckAvatar(L"a.png", 629145, kPngHead), AvatarVerdict::kAccepted);
    EXPECT_EQ(CheckAvatar(L"a.png", 629146, kPngHead), AvatarVerdict::kTooLarge);
    EXPECT_EQ(CheckAvatar(L"a.jpg", 0, kJpegHead), AvatarVerdict::kAccepted);
    // A size or content that cannot be read leaves the verdict to the upload.
    EXPECT_EQ(CheckAvatar(L"a.jpeg", std::nullopt, kJpegHead), AvatarVerdict::kAccepted);
    EXPECT_EQ(CheckAvatar(L"a.jpeg", 10, std::nullopt), AvatarVerdict::kAccepted);
    EXPECT_EQ(CheckAvatar(L"a.gif", 629146, kPngHead), AvatarVerdict::kWrongKind);
    EXPECT_EQ(CheckAvatar(L"a.gif", 10, kPngHead), AvatarVerdict::kWrongKind);
    // Each refusal shows its own code's text.
    EXPECT_EQ(AvatarRefusalCode(AvatarVerdict::kAccepted), 0);
    EXPECT_EQ(AvatarRefusalCode(AvatarVerdict::kWrongKind), kAvatarWrongKindCode);
    EXPECT_EQ(AvatarRefusalCode(AvatarVerdict::kTooLarge), kAvatarTooLargeCode);
}

// Only a picture everyone in the meeting can show goes up, whatever its name claims.
TEST(AvatarCheck, WhatTheFileHoldsDecidesItsKind) {
    const std::string webp("RIFF\x24\0\0\0WEBPVP8 ", 16);
    for (const std::string& head :
         {webp, std::string("GIF89a"), std::string(), kPngHead.substr(0, 7),
          std::string("\xFF\xD8", 2), std::string("<html>")}) {
        EXPECT_EQ(CheckAvatar(L"photo.jpg", 100, head), AvatarVerdict::kWrongKind) << head;
    }
    EXPECT_EQ(CheckAvatar(L"photo.jpg", 100, kPngHead), AvatarVerdict::kAccepted);
    EXPECT_EQ(CheckAvatar(L"photo.png", 100, kJpegHead), AvatarVerdict::kAccepted);

    TempFolder folder;
    WriteFileBytes(folder.narrow() + "saved.jpg", webp + std::string(100, 'x'));
    WriteFileBytes(folder.narrow() + "short.png", "\x89P");
    EXPECT_EQ(FileHeadOf(folder.path() + L"saved.jpg"), webp.substr(0, 8));
    EXPECT_EQ(FileHeadOf(folder.path() + L"short.png"), std::string("\x89P"));
    EXPECT_EQ(FileHeadOf(folder.path() + L"missing.png"), std::nullopt);
    EXPECT_EQ(FileHeadOf(folder.path()), std::nullopt);
}

TEST(AvatarCheck, FileSizeIsReadForThePathAsItStandsNeverAsAPattern) {
    TempFolder folder;
    const std::string picture = folder.narrow() + "big.png";
    WriteFileBytes(picture, std::string(629146, 'x'));
    EXPECT_EQ(FileSizeOf(folder.path() + L"big.png"), 629146u);
    EXPECT_EQ(FileSizeOf(folder.path() + L"*.png"), std::nullopt);
    EXPECT_EQ(FileSizeOf(folder.path() + L"b?g.png"), std::nullopt);
    EXPECT_EQ(FileSizeOf(folder.path() + L"missing.png"), std::nullopt);
    EXPECT_EQ(FileSizeOf(folder.path()), std::nullopt);
}

TEST(NicknameRules, ANameIsCutToEighteenUnitsWithoutSplittingACharacter) {
    std::wstring name = L"abcdefghijklmnopqrs";  // 19
    EXPECT_TRUE(CutNickname(name));
    EXPECT_EQ(name, L"abcdefghijklmnopqr");
    EXPECT_FALSE(CutNickname(name));

    std::wstring chinese(20, L'\x4f1a');
    EXPECT_TRUE(CutNickname(chinese));
    EXPECT_EQ(chinese, std::wstring(18, L'\x4f1a'));

    // An emoji (a surrogate pair) on units 18 and 19 goes whole.
    std::wstring emoji = std::wstring(17, L'a') + L"\xD83D\xDE00";
    EXPECT_TRUE(CutNickname(emoji));
    EXPECT_EQ(emoji, std::wstring(17, L'a'));
}

TEST(NicknameRules, AnEmptyEditOrTheStandingHintNamesNobody) {
    EXPECT_STREQ(NicknameHint(0), L"Your name");
    EXPECT_STREQ(NicknameHint(1), L"请输入昵称");
    EXPECT_TRUE(IsMissingNickname(L"", 0));
    EXPECT_TRUE(IsMissingNickname(L"Your name", 0));
    EXPECT_TRUE(IsMissingNickname(L"请输入昵称", 1));
    EXPECT_FALSE(IsMissingNickname(L"Your name", 1));
    EXPECT_FALSE(IsMissingNickname(L"your name", 0));
    EXPECT_FALSE(IsMissingNickname(L"\x5f20\x4e09", 0));
}

TEST(UploadAnswer, SuccessIsSaidInTheUsersLanguageAndAFailureInTheUploadersWords) {
    COPYDATASTRUCT answer = {};
    EXPECT_EQ(UploadAnswerText(answer, 0), L"Upload succeeded");
    EXPECT_EQ(UploadAnswerText(answer, 1), L"上传成功");

    char message[] = "Upload failed: no network";
    answer.dwData = 5;
    answer.cbData = sizeof message;
    answer.lpData = message;
    EXPECT_EQ(UploadAnswerText(answer, 1), L"Upload failed: no network");
    // A text that lacks its zero is read no further than the data goes.
    answer.cbData = 6;
    EXPECT_EQ(UploadAnswerText(answer, 0), L"Upload");
    answer.lpData = nullptr;
    EXPECT_EQ(UploadAnswerText(answer, 0), L"");
}

}  // namespace
