#include "ui/base/util/text_util.h"

#include <gtest/gtest.h>

#include <list>
#include <string>

namespace ui {
namespace {

TEST(TextUtilTest, NormalizeSlashes) {
  struct Case {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"a/b", L"a\\b"},
      {L"a//b", L"a\\b"},          // two slashes fold into one backslash
      {L"a\\\\\\b", L"a\\\\b"},    // three backslashes become two
      {L"a\\\\\\\\b", L"a\\\\b"},  // four become two
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(TextUtil::NormalizeSlashes(c.in), c.out) << c.in;
}

TEST(TextUtilTest, SplitDropsEmptyPieces) {
  using Pieces = std::list<std::wstring>;
  EXPECT_EQ(TextUtil::Split(L"  one  two  ", L" "), (Pieces{L"one", L"two"}));
  EXPECT_EQ(TextUtil::Split(L"=word", L"="), (Pieces{L"word"}));
  EXPECT_EQ(TextUtil::Split(L"key=a=b", L"="), (Pieces{L"key", L"a", L"b"}));
  EXPECT_EQ(TextUtil::Split(L"a,b;c", L",;"), (Pieces{L"a", L"b", L"c"}));
  EXPECT_TRUE(TextUtil::Split(L"   ", L" ").empty());
  EXPECT_TRUE(TextUtil::Split(L"", L" ").empty());
}

TEST(TextUtilTest, ReplaceAllCountsNonOverlappingOccurrences) {
  std::wstring text = L"abababab";
  EXPECT_EQ(TextUtil::ReplaceAll(L"ab", L"c", text), 4u);
  EXPECT_EQ(text, L"cccc");
  text = L"aaaa";
  EXPECT_EQ(TextUtil::ReplaceAll(L"aa", L"b", text), 2u);
  EXPECT_EQ(text, L"bb");
  text = L"x-y";
  EXPECT_EQ(TextUtil::ReplaceAll(L"-", L"<->", text), 1u);
  EXPECT_EQ(text, L"x<->y");
  EXPECT_EQ(TextUtil::ReplaceAll(L"", L"z", text), 0u);
  EXPECT_EQ(TextUtil::ReplaceAll(L"q", L"z", text), 0u);
  EXPECT_EQ(text, L"x<->y");
  std::wstring empty;
  EXPECT_EQ(TextUtil::ReplaceAll(L"a", L"b", empty), 0u);
}

TEST(TextUtilTest, TrimRightKeepsCodes30And31) {
  std::wstring text = L"word \t\r\n ";
  TextUtil::TrimRight(text);
  EXPECT_EQ(text, L"word");
  text = L"word\x1e";
  TextUtil::TrimRight(text);
  EXPECT_EQ(text, L"word\x1e");
  text = L"word\x1f \x1d";
  TextUtil::TrimRight(text);
  EXPECT_EQ(text, L"word\x1f");
}

TEST(TextUtilTest, FormatUsesC99Conversions) {
  EXPECT_EQ(TextUtil::Format(L"%ls joined, %s left, %d", L"\u5f20\u4e09", "bob", 3),
            L"\u5f20\u4e09 joined, bob left, 3");
}

TEST(TextUtilTest, FormatGrowsBeyondTheStackBuffer) {
  const std::wstring exact(1024, L'x');
  EXPECT_EQ(TextUtil::Format(L"%ls", exact.c_str()), exact);
  const std::wstring just_below(1023, L'y');
  EXPECT_EQ(TextUtil::Format(L"%ls", just_below.c_str()), just_below);
  const std::wstring long_text(70000, L'z');
  EXPECT_EQ(TextUtil::Format(L"<%ls>", long_text.c_str()), L"<" + long_text + L">");
  EXPECT_EQ(TextUtil::Format(nullptr), L"");
}

TEST(TextUtilTest, Utf8Conversions) {
  std::wstring wide;
  EXPECT_TRUE(TextUtil::Utf8ToWide("\xe5\xbe\xae\xe8\xbd\xaf a", wide));
  EXPECT_EQ(wide, L"\u5fae\u8f6f a");
  EXPECT_TRUE(TextUtil::Utf8ToWide("", wide));
  EXPECT_EQ(wide, L"");
  EXPECT_FALSE(TextUtil::Utf8ToWide(nullptr, wide));

  std::string narrow;
  EXPECT_TRUE(TextUtil::WideToUtf8(L"\u5fae\u8f6f a", narrow));
  EXPECT_EQ(narrow, "\xe5\xbe\xae\xe8\xbd\xaf a");

  EXPECT_TRUE(TextUtil::MultiByteToWide(std::string("a\0b", 3), wide, CP_UTF8));
  EXPECT_EQ(wide, std::wstring(L"a\0b", 3));
  EXPECT_TRUE(TextUtil::MultiByteToWide(std::string(), wide, CP_UTF8));
  EXPECT_TRUE(wide.empty());
}

// The C-string form ends at the first NUL, the string forms carry it; bad input is replaced, not
// refused or cut, the same way by every form.
TEST(TextUtilTest, Utf8ConversionsEndAtNulOnlyForCStringsAndReplaceInvalidSequences) {
  std::wstring wide;
  EXPECT_TRUE(TextUtil::Utf8ToWide("a\0b", wide));
  EXPECT_EQ(wide, L"a");
  EXPECT_TRUE(TextUtil::Utf8ToWide("a\xff\xe5\xbe b", wide));
  EXPECT_EQ(wide, L"a\xfffd\xfffd b");
  EXPECT_TRUE(TextUtil::MultiByteToWide("a\xff\xe5\xbe b", wide, CP_UTF8));
  EXPECT_EQ(wide, L"a\xfffd\xfffd b");

  std::string narrow;
  EXPECT_TRUE(TextUtil::WideToUtf8(std::wstring(L"a\0\xd800"
                                                L"b",
                                                4),
                                   narrow));
  EXPECT_EQ(narrow, std::string("a\0\xef\xbf\xbd"
                                "b",
                                6));
}

}  // namespace
}  // namespace ui
