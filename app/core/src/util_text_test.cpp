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
