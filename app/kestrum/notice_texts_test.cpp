#include "app/kestrum/notice_texts.h"

#include <gtest/gtest.h>

namespace {

using namespace ZuvraKestrum::Shell;

constexpr int kEnglish = 0;
constexpr int kChinese = 1;

TEST(NoticeTextsTest, KnownCodesHaveATextInEachLanguageAndOthersNone) {
    EXPECT_STREQ(ErrorText(2006, kEnglish), L"Room join failed, incorrect password");
    EXPECT_STREQ(ErrorText(2006, kChinese), L"无法加入房间，密码错误");
    EXPECT_STREQ(ErrorText(1010, 7), L"头像格式不支持(png,jpeg,jpg)");  // any nonzero flag
    for (int code : {0, -1, 1000, 2004, 2007, 2010}) EXPECT_EQ(ErrorText(code, kEnglish), nullptr);
}

TEST(NoticeTextsTest, WarningsAndErrorsPreferTheBuiltInTextAndCarryNoArgument) {
    NoticeContent content = ComposeNotice(L"server said no", 2006, 1, kChinese);
    EXPECT_STREQ(content.title, L"Error");
    EXPECT_EQ(content.tips, L"无法加入房间，密码错误");
    EXPECT_TRUE(content.setType);  // no update button of an earlier offer stays
    EXPECT_EQ(content.argument, L"");

    content = ComposeNotice(L"Room name too long", 0, 0, kEnglish);
    EXPECT_STREQ(content.title, L"Warning");
    EXPECT_EQ(content.tips, L"Room name too long");
    EXPECT_EQ(ComposeNotice(nullptr, 0, 1, kEnglish).tips, L"");
}

TEST(NoticeTextsTest, UpgradeOffersAskForTheUpgradeAndKeepTheCallersTextAsArgument) {
    NoticeContent content = ComposeNotice(L"--to 1.2.0", 0, 3, kEnglish);
    EXPECT_STREQ(content.title, L"ForceUpdate");
    EXPECT_EQ(content.tips, L"Please update app to new version.");
    EXPECT_TRUE(content.setType);
    EXPECT_EQ(content.argument, L"--to 1.2.0");

    content = ComposeNotice(L"--to 1.2.0", 0, 4, kChinese);
    EXPECT_STREQ(content.title, L"OptionUpdate");
    EXPECT_EQ(content.tips, L"版本过旧，请升级到最新版本。");
}

TEST(NoticeTextsTest, TypeTwoOnlyHidesAndUnknownTypesKeepWhatTheBoxShows) {
    EXPECT_TRUE(ComposeNotice(L"Reconnected", 0, 2, kEnglish).hide);
    for (int type : {2, -1, 5}) {
        SCOPED_TRACE(type);
        const NoticeContent content = ComposeNotice(L"text", 2006, type, kEnglish);
        EXPECT_EQ(content.title, nullptr);
        EXPECT_FALSE(content.setTips);
        EXPECT_FALSE(content.setType);
        EXPECT_EQ(content.hide, type == 2);
    }
}

}  // namespace
