#include "kestrum/common/utf.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

using kestrum::common::Utf8ToWide;
using kestrum::common::WideToUtf8;

const std::string kReplacementUtf8 = "\xEF\xBF\xBD";

TEST(UtfTest, ValidTextRoundTripsWithEmbeddedNuls) {
    const std::string utf8("a\0\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80", 13);
    const std::wstring wide{L'a', 0, 0x4E2D, 0x6587, L' ', 0xD83D, 0xDE00};
    EXPECT_EQ(Utf8ToWide(utf8), wide);
    EXPECT_EQ(WideToUtf8(wide), utf8);
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(WideToUtf8(L""), "");
}

// The fast path (Win32) and the code that converts invalid text must agree on what is valid,
// or the same characters would convert differently next to an invalid byte.
TEST(UtfTest, EveryKindOfCharacterConvertsAlikeBesideAnInvalidByte) {
    const char32_t samples[] = {0x1,    0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
    for (const char32_t c : samples) {
        std::string utf8;
        kestrum::common::utf_detail::AppendUtf8(utf8, c);
        const std::wstring wide = Utf8ToWide(utf8);
        EXPECT_EQ(WideToUtf8(wide), utf8) << std::hex << c;
        EXPECT_EQ(Utf8ToWide(utf8 + "\xFF"), wide + L"\xFFFD") << std::hex << c;
        EXPECT_EQ(WideToUtf8(wide + wchar_t(0xDC00)), utf8 + kReplacementUtf8) << std::hex << c;
    }
}

TEST(UtfTest, EachMaximalIllFormedUtf8SequenceBecomesOneReplacement) {
    struct Case {
        const char* name;
        std::string utf8;
        std::wstring wide;
    } const cases[] = {
        {"stray continuation byte",
         "a\x80"
         "b",
         L"a\xFFFD"
         L"b"},
        {"never a lead byte", "\xFF\xFE", L"\xFFFD\xFFFD"},
        {"overlong two bytes", "\xC0\xAF", L"\xFFFD\xFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", L"\xFFFD\xFFFD\xFFFD"},
        {"truncated then text",
         "\xE4\xB8"
         "x",
         L"\xFFFD"
         L"x"},
        {"truncated at the end", "\xE4\xB8\xAD\xE4\xB8", L"\x4E2D\xFFFD"},
        {"truncated four bytes", "\xF0\x9F\x98!", L"\xFFFD!"},
        {"encoded surrogate", "\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"five-byte form", "\xF8\x88\x80\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"bad byte between characters", "\xE4\xB8\xAD\xFF\xE6\x96\x87", L"\x4E2D\xFFFD\x6587"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.name;
}

// UTF-16 code units, unpaired surrogates included.
std::wstring Units(std::initializer_list<unsigned> units) {
    std::wstring text;
    for (const unsigned unit : units) text += static_cast<wchar_t>(unit);
    return text;
}

TEST(UtfTest, EachUnpairedSurrogateBecomesOneReplacement) {
    const std::string r = kReplacementUtf8;
    EXPECT_EQ(WideToUtf8(Units({'a', 0xD800, 'b'})), "a" + r + "b");
    EXPECT_EQ(WideToUtf8(Units({0xDC00, 0xD800})), r + r);
    EXPECT_EQ(WideToUtf8(Units({'x', 0xD83D})), "x" + r);
    EXPECT_EQ(WideToUtf8(Units({0xD83D, 0xD83D, 0xDE00})), r + "\xF0\x9F\x98\x80");
}

}  // namespace
