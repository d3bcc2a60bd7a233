#include "ui/base/lang/lang_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace ui {
namespace {

// Writes the bytes to a fresh file in the temp folder, removed when the test ends.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    wchar_t folder[MAX_PATH];
    wchar_t name[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"lng", 0, name);
    path_ = name;
    FILE* file = _wfopen(path_.c_str(), L"wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
  }
  ~TempFile() { DeleteFileW(path_.c_str()); }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

class LangTableTest : public testing::Test {
 protected:
  static LangTable& table() { return LangTable::Instance(); }
  static void Load(const std::string& bytes) {
    TempFile file(bytes);
    ASSERT_TRUE(table().LoadFromFile(file.path()));
  }
};

TEST_F(LangTableTest, LaterLinesReplaceEarlierOnesAndBlanksAroundPartsGo) {
  Load("ok = Done\r\nok=Fine\r\n  name\t=\tvalue with  inner  blanks \r\n");
  EXPECT_EQ(table().Lookup(L"ok"), L"Fine");
  EXPECT_EQ(table().Lookup(L"name"), L"value with  inner  blanks");
}

TEST_F(LangTableTest, OnlyLinesWithExactlyTwoPiecesDefineTexts) {
  Load("[section]\na=b=c\nkey=\n=text\ndouble==text\n;title=x\nti;tle=x\nplain\n");
  EXPECT_EQ(table().Lookup(L"a"), L"");
  EXPECT_EQ(table().Lookup(L"key"), L"");
  EXPECT_EQ(table().Lookup(L"double"), L"text");
  EXPECT_EQ(table().Lookup(L";title"), L"");
  EXPECT_EQ(table().Lookup(L"ti;tle"), L"");
  EXPECT_EQ(table().Lookup(L"[section]"), L"");
}

TEST_F(LangTableTest, LookupExpandsLineBreakEscapesOnly) {
  Load("two=Line1\\nLine2\ncr=a\\rb\nother=C:\\temp\\\\x\n");
  EXPECT_EQ(table().Lookup(L"two"), L"Line1\nLine2");
  EXPECT_EQ(table().Lookup(L"cr"), L"a\rb");
  EXPECT_EQ(table().Lookup(L"other"), L"C:\\temp\\\\x");
  EXPECT_EQ(table().Lookup(L"two"), L"Line1\nLine2");  // the stored text is unchanged
  EXPECT_EQ(table().Lookup(L""), L"");
  EXPECT_EQ(table().Lookup(L"missing"), L"");
}

TEST_F(LangTableTest, ReadsUtf8Texts) {
  Load("title=\xE6\x8F\x90\xE7\xA4\xBA\n\xE9\x94\xAE=v\n");
  EXPECT_EQ(table().Lookup(L"title"), L"\u63d0\u793a");
  EXPECT_EQ(table().Lookup(L"\u952e"), L"v");
}

TEST_F(LangTableTest, ByteOrderMarkIsNotPartOfTheFirstId) {
  Load(
      "\xEF\xBB\xBF"
      "first=1\nsecond=2\n");
  EXPECT_EQ(table().Lookup(L"first"), L"1");
  EXPECT_EQ(table().Lookup(L"\uFEFF"
                           L"first"),
            L"");
}

TEST_F(LangTableTest, LongLinesAreReadWhole) {
  const std::string text(5000, 'x');
  Load("long=" + text + "\nafter=ok\n" + std::string(4094, 'y') + "=z\n");
  EXPECT_EQ(table().Lookup(L"long"), std::wstring(5000, L'x'));
  EXPECT_EQ(table().Lookup(L"after"), L"ok");
  EXPECT_EQ(table().Lookup(std::wstring(4094, L'y')), L"z");
}

TEST_F(LangTableTest, ZeroByteEndsALine) {
  Load(std::string("a=1\0b=2\n", 8));
  EXPECT_EQ(table().Lookup(L"a"), L"1");
  EXPECT_EQ(table().Lookup(L"b"), L"2");
}

TEST_F(LangTableTest, LoadingAFileReplacesTheTable) {
  Load("old=1\n");
  Load("new=2\n");
  EXPECT_EQ(table().Lookup(L"old"), L"");
  EXPECT_EQ(table().Lookup(L"new"), L"2");

  EXPECT_FALSE(table().LoadFromFile(L"Z:\\no\\such\\folder\\strings.ini"));
  EXPECT_EQ(table().Lookup(L"new"), L"");

  Load("");  // an empty file still loads
  EXPECT_EQ(table().Lookup(L"new"), L"");
}

TEST_F(LangTableTest, AnotherLanguageFileIsReadByTheSameRulesWithoutTouchingTheTable) {
  Load("kept=1\n");
  TempFile other("\xEF\xBB\xBF;gone=x\r\nmsg = two\\nlines \r\nodd=a=b\n");
  EXPECT_EQ(LangTable::LookupInFile(other.path(), L"msg"), L"two\nlines");
  EXPECT_EQ(LangTable::LookupInFile(other.path(), L";gone"), L"");
  EXPECT_EQ(LangTable::LookupInFile(other.path(), L"odd"), L"");
  EXPECT_EQ(LangTable::LookupInFile(L"Z:\\no\\such\\strings.ini", L"msg"), L"");
  EXPECT_EQ(table().Lookup(L"kept"), L"1");
  EXPECT_EQ(table().Lookup(L"msg"), L"");
}

TEST_F(LangTableTest, MemoryBlocksAddToTheTable) {
  Load("kept=1\nreplaced=old\n");
  const char bytes[] = "replaced=new\nadded=2";  // the last line needs no line feed
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(bytes) - 1);
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), bytes, sizeof(bytes) - 1);
  GlobalUnlock(block);
  EXPECT_TRUE(table().LoadFromMemory(block));
  GlobalFree(block);
  EXPECT_EQ(table().Lookup(L"kept"), L"1");
  EXPECT_EQ(table().Lookup(L"replaced"), L"new");
  EXPECT_EQ(table().Lookup(L"added"), L"2");
}

TEST_F(LangTableTest, ParseLinesOfAnEmptyListIsFalse) {
  EXPECT_FALSE(table().ParseLines({}));
  EXPECT_TRUE(table().ParseLines({L"x=y"}));
  EXPECT_EQ(table().Lookup(L"x"), L"y");
}

}  // namespace
}  // namespace ui
