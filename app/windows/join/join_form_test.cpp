#include "app/windows/join/join_form.h"

#include <gtest/gtest.h>

namespace {

using namespace ZuvraKestrum::Join;

TEST(JoinFormTest, HintsCountAsEmptyAndShortRoomNamesDoNotJoin) {
    for (int language : {0, 1}) {
        const JoinTexts& texts = JoinTextsFor(language);
        JoinForm form = ReadJoinForm(texts.roomHint, texts.passwordHint, texts);
        EXPECT_EQ(form.room, L"");
        EXPECT_EQ(form.password, L"");
        EXPECT_TRUE(form.roomTooShort);

        form = ReadJoinForm(L"AB", L"secret", texts);
        EXPECT_TRUE(form.roomTooShort);
        EXPECT_EQ(form.password, L"secret");

        form = ReadJoinForm(L"ABC", L"", texts);
        EXPECT_FALSE(form.roomTooShort);
        EXPECT_EQ(form.room, L"ABC");
    }
    // The other language's hint is an ordinary text.
    const JoinForm form = ReadJoinForm(JoinTextsFor(1).roomHint, L"", JoinTextsFor(0));
    EXPECT_EQ(form.room, JoinTextsFor(1).roomHint);
}

TEST(SignalLookTest, EachLevelHasItsPictureAndTextAndUnknownKeepsTheText) {
    const JoinTexts& texts = JoinTextsFor(0);
    struct Case {
        unsigned quality;
        bool known;
        const wchar_t* image;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, false, L"unknown.png", nullptr},
        {1, true, L"signal-good.png", L"Network quality good"},
        {2, true, L"signal-good.png", L"Network quality good"},
        {3, true, L"signal-normal.png", L"Network quality normal"},
        {4, true, L"signal-normal.png", L"Network quality normal"},
        {5, true, L"signal-weak.png", L"Network quality weak"},
        {6, true, L"signal-weak.png", L"Network quality weak"},
        {7, false, L"unknown.png", nullptr},
    };
    for (const Case& c : cases) {
        const SignalLook look = SignalLookOf(c.quality, texts);
        EXPECT_EQ(look.known, c.known) << c.quality;
        EXPECT_STREQ(look.image, c.image) << c.quality;
        EXPECT_STREQ(look.text, c.text) << c.quality;
    }
    EXPECT_STREQ(SignalLookOf(2, JoinTextsFor(1)).text, L"网络质量良好");
}

TEST(VersionLabelTest, AlternatesStartingWithTheEngine) {
    CVersionLabel label;
    EXPECT_EQ(label.next(L"4.2.1", L"1.0.0"), L"RTC:4.2.1");
    EXPECT_EQ(label.next(L"4.2.1", L"1.0.0"), L"V1.0.0");
    EXPECT_EQ(label.next(L"4.2.1", L"1.0.1"), L"RTC:4.2.1");
}

}  // namespace
