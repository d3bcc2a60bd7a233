#include "kestrum/core/util_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "locale_expectation.h"

namespace {

using namespace ZuvraKestrum::Util;

// "中文 Café" in UTF-8 and UTF-16.
const char kMixedUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87 Caf\xC3\xA9";
const wchar_t kMixedWide[] = L"\x4E2D\x6587 Caf\x00E9";

TEST(TestLocaleTest, AnsiCodePageFollowsTheLocaleTheTestRunsUnder) {
    switch (CurrentTestLocale()) {
    case TestLocale::Chinese:
        EXPECT_EQ(GetACP(), 936u);
        break;
    case TestLocale::English:
        EXPECT_EQ(GetACP(), 1252u);
        break;
    case TestLocale::Other:
        GTEST_SKIP() << "not started under one of the test locales";
    }
}

TEST(Utf8WideTest, MixedScriptsSurviveWhateverTheAnsiCodePage) {
    EXPECT_EQ(Utf8ToCString(kMixedUtf8), kMixedWide);
    EXPECT_EQ(CStringToUtf8(kMixedWide), kMixedUtf8);
}

TEST(Utf8WideTest, EmptyAndMalformedInput) {
    EXPECT_EQ(Utf8ToCString(""), L"");
    EXPECT_EQ(CStringToUtf8(L""), "");
    EXPECT_EQ(Utf8ToCString("a\xFF"
                            "b"),
              L"a\xFFFD"
              L"b");
}

// A name cannot turn a notice around or break it over two lines.
TEST(DisplayNameTest, ShowsANameOnOneLineWithItsDirectionIsolated) {
    const std::string fsi = "\xE2\x81\xA8", pdi = "\xE2\x81\xA9", bad = "\xEF\xBF\xBD";
    const std::string rlo = "\xE2\x80\xAE", shalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
    const std::string arabic = "\xD8\xB9\xD9\x84\xD9\x8A", hanifi = "\xF0\x90\xB4\x80";
    const struct {
        std::string name, shown;
    } cases[] = {
        {"Bob", "Bob"},
        {kMixedUtf8, kMixedUtf8},
        {"Eve\r\n[Level_Info] x", "Eve" + bad + bad + "[Level_Info] x"},
        {"a\x1B[2J\a\t\xC2\x85", "a" + bad + "[2J" + bad + bad + bad},  // C1 NEL too
        {"x\xE2\x80\xA8y\xE2\x80\xA9", "x" + bad + "y" + bad},          // line, paragraph separator
        // Marks of its own go, a closing isolate first of all; the letters stay in their order.
        {rlo + "nimda" + pdi + rlo + "\xE2\x80\x8F", "nimda"},
        {"\xE2\x81\xA6"
         "a\xE2\x80\xAA"
         "b\xE2\x80\xAC",
         "ab"},
        // Right-to-left letters keep their direction to themselves.
        {shalom + " 12", fsi + shalom + " 12" + pdi},
        {"Ann " + arabic, fsi + "Ann " + arabic + pdi},
        {rlo + shalom, fsi + shalom + pdi},
        {hanifi, fsi + hanifi + pdi},
        {"", ""},
        {rlo + pdi, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayName(c.name), c.shown) << c.name;
        EXPECT_EQ(DisplayName(c.shown), c.shown) << c.name;
    }
    // Cut to fit, before a whole character and never the closing mark.
    EXPECT_EQ(DisplayName(std::string(300, 'a'), 255), std::string(255, 'a'));
    EXPECT_EQ(DisplayName(shalom + std::string(300, 'a'), 255),
              fsi + shalom + std::string(241, 'a') + pdi);
    EXPECT_EQ(DisplayName("ab\xE4\xB8\xAD", 4), "ab");
    EXPECT_EQ(DisplayName(shalom, 9), fsi + "\xD7\xA9" + pdi);
}

TEST(AnsiUtf8Test, NullTextGivesEmptyText) {
    EXPECT_EQ(Utf8ToGbk(nullptr), "");
    EXPECT_EQ(GbkToUtf8(std::string()), "");
}

TEST(AnsiUtf8Test, AsciiPassesUnchanged) {
    EXPECT_EQ(Utf8ToGbk("Alice 42"), "Alice 42");
    EXPECT_EQ(GbkToUtf8("Alice 42"), "Alice 42");
}

// The names a user of this system can type reach the wire and come back intact: GBK bytes on
// a Chinese system, Windows-1252 bytes on a Western one.
TEST(AnsiUtf8Test, NamesRoundTripInTheSystemCodePage) {
    switch (CurrentTestLocale()) {
    case TestLocale::Chinese:
        EXPECT_EQ(Utf8ToGbk("\xE4\xB8\xAD\xE6\x96\x87"), "\xD6\xD0\xCE\xC4");
        EXPECT_EQ(GbkToUtf8("\xD6\xD0\xCE\xC4"), "\xE4\xB8\xAD\xE6\x96\x87");
        break;
    case TestLocale::English:
        EXPECT_EQ(Utf8ToGbk("Caf\xC3\xA9 Ren\xC3\xA9"), "Caf\xE9 Ren\xE9");
        EXPECT_EQ(GbkToUtf8("Caf\xE9 Ren\xE9"), "Caf\xC3\xA9 Ren\xC3\xA9");
        break;
    case TestLocale::Other:
        GTEST_SKIP() << "not started under one of the test locales";
    }
}

TEST(AnsiWideTest, ConvertsInTheSystemCodePage) {
    EXPECT_EQ(StringToCString("plain"), L"plain");
    EXPECT_EQ(CStringToString(L"plain"), "plain");
    if (GetACP() == 936) {
        EXPECT_EQ(StringToCString("\xD6\xD0"), L"\x4E2D");
        EXPECT_EQ(CStringToString(L"\x4E2D"), "\xD6\xD0");
    } else if (GetACP() == 1252) {
        EXPECT_EQ(StringToCString("\xE9"), L"\x00E9");
        EXPECT_EQ(CStringToString(L"\x4E2D"), "?");
    }
}

// UpdateVersion is stored with FloatToString and compared after StringToFloat.
TEST(NumberTextTest, StoredNumbersReadBack) {
    EXPECT_EQ(IntToString(INT_MIN), "-2147483648");
    EXPECT_EQ(IntToCString(1234567), L"1234567");
    EXPECT_EQ(FloatToString(1.1f), "1.100000");
    EXPECT_FLOAT_EQ(StringToFloat(FloatToString(1.1f)), 1.1f);
    EXPECT_EQ(StringToInt("12abc"), 12);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(CStringToInt(L"\x4E2D"), 0);
}

// Logs are uploaded: four characters are a hint for support, unless they are the whole secret.
TEST(MaskSecretTest, ShowsTheStartOfALongSecretAndNothingOfAShortOne) {
    EXPECT_EQ(MaskSecret("eyJhbGciOiJIUzI1NiJ9"), "eyJh***");
    EXPECT_EQ(MaskSecret("abcde"), "abcd***");
    for (const char* secret : {"a", "ab", "abc", "abcd"}) {
        EXPECT_EQ(MaskSecret(secret), "***") << secret;
    }
    EXPECT_EQ(MaskSecret(""), "");
}

}  // namespace
