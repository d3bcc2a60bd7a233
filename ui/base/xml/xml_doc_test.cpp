#include "ui/base/xml/xml_doc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/base/resource/resource_hub.h"

namespace ui {
namespace {

std::wstring Names(XmlNode node) {
  std::wstring names;
  for (; node.IsValid(); node = node.NextSibling()) {
    names += node.Name();
    XmlNode child = node.FirstChild();
    if (child.IsValid()) names += L"(" + Names(child) + L")";
    if (node.NextSibling().IsValid()) names += L",";
  }
  return names;
}

TEST(XmlDocTest, ReadsElementsAttributesAndText) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(
      L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      L"<!-- a window -->\n"
      L"<Window size=\"300,200\" caption = \"0,0,0,30\">\n"
      L"  <VBox><Label name=\"title\" text=\"Hi\" /><Button name=\"ok\"/></VBox>\n"
      L"  <Text>plain text</Text>\n"
      L"</Window>"))
      << doc.ErrorMessage();
  XmlNode root = doc.Root();
  EXPECT_EQ(Names(root), L"Window(VBox(Label,Button),Text)");
  EXPECT_EQ(root.AttributeCount(), 2);
  EXPECT_STREQ(root.AttributeName(0), L"size");
  EXPECT_STREQ(root.AttributeValue(0), L"300,200");
  EXPECT_STREQ(root.AttributeName(1), L"caption");
  EXPECT_STREQ(root.AttributeValue(1), L"0,0,0,30");
  EXPECT_STREQ(root.AttributeName(2), L"");
  EXPECT_STREQ(root.AttributeValue(-1), L"");

  XmlNode label = root.FirstChild().FirstChild();
  wchar_t buffer[500];
  ASSERT_TRUE(label.AttributeValue(L"text", buffer, 500));
  EXPECT_STREQ(buffer, L"Hi");
  EXPECT_FALSE(label.AttributeValue(L"Text", buffer, 500));  // names compare exactly
  EXPECT_STREQ(label.Text(), L"");
  EXPECT_STREQ(root.FirstChild().NextSibling().Text(), L"plain text");
}

TEST(XmlDocTest, InvalidNodesAnswerNothing) {
  XmlNode invalid;
  EXPECT_FALSE(invalid.IsValid());
  EXPECT_EQ(invalid.Name(), nullptr);
  EXPECT_EQ(invalid.AttributeValue(0), nullptr);
  EXPECT_EQ(invalid.AttributeCount(), 0);
  EXPECT_FALSE(invalid.HasAttributes());
  EXPECT_FALSE(invalid.FirstChild().IsValid());
  wchar_t buffer[8];
  EXPECT_FALSE(invalid.AttributeValue(L"x", buffer, 8));

  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(L"  <!-- nothing but a comment -->  "));
  EXPECT_FALSE(doc.Root().IsValid());
  ASSERT_TRUE(doc.LoadFromString(L""));
  EXPECT_FALSE(doc.Root().IsValid());
}

TEST(XmlDocTest, SlashRightAfterANameDoesNotCloseTheElement) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(L"<a><b/><c /><d x=\"1\"/></b></a>")) << doc.ErrorMessage();
  EXPECT_EQ(Names(doc.Root()), L"a(b(c,d))");

  // Left open to the end of the text, it takes what follows as children and ends there.
  ASSERT_TRUE(doc.LoadFromString(L"<a><b/>text"));
  EXPECT_EQ(Names(doc.Root()), L"a(b)");
  EXPECT_STREQ(doc.Root().FirstChild().Text(), L"text");

  // Its end tag is then needed where the parent's stands.
  EXPECT_FALSE(doc.LoadFromString(L"<a><b/></a>"));
  EXPECT_STREQ(doc.ErrorMessage(), L"Unmatched closing tag");
}

TEST(XmlDocTest, OpenElementsEndWithTheTextOnlyAtTheTwoOuterLevels) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(L"<root><child>text"));
  EXPECT_EQ(Names(doc.Root()), L"root(child)");
  EXPECT_FALSE(doc.LoadFromString(L"<a><b><c>"));
  EXPECT_STREQ(doc.ErrorMessage(), L"Expected end-tag start");
}

TEST(XmlDocTest, EntitiesAndWhitespace) {
  XmlDoc doc;
  ASSERT_TRUE(
      doc.LoadFromString(L"<a v=\"&quot;q&quot; &lt;&gt; &apos;\">x &amp; y &#38; z &bogus;</a>"));
  XmlNode root = doc.Root();
  EXPECT_STREQ(root.Text(), L"x & y &#38; z &bogus;");
  EXPECT_STREQ(root.AttributeValue(0), L"\"q\" <> '");

  ASSERT_TRUE(doc.LoadFromString(L"<a>one  \t two\n\tthree</a>"));
  EXPECT_STREQ(doc.Root().Text(), L"one  \t two\n\tthree");

  XmlDoc collapsing(false);
  ASSERT_TRUE(collapsing.LoadFromString(L"<a t=\"p  q\">one  \t two\n\tthree</a>"));
  EXPECT_STREQ(collapsing.Root().Text(), L"one two\n\tthree");  // a run must begin with a space
  EXPECT_STREQ(collapsing.Root().AttributeValue(0), L"p q");
}

TEST(XmlDocTest, AttributesAfterShortenedValuesAreStillFound) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(L"<a first=\"&amp;&amp;&amp;\" second=\"2\" third=\"\"/>"));
  XmlNode root = doc.Root();
  ASSERT_EQ(root.AttributeCount(), 3);
  EXPECT_STREQ(root.AttributeValue(0), L"&&&");
  EXPECT_STREQ(root.AttributeName(1), L"second");
  EXPECT_STREQ(root.AttributeValue(1), L"2");
  EXPECT_STREQ(root.AttributeValue(2), L"");
}

TEST(XmlDocTest, OnlyTheFirst64AttributesAreSeen) {
  std::wstring text = L"<a";
  for (int i = 0; i < 70; ++i)
    text += L" n" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
  text += L" />";
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(text.c_str()));
  XmlNode root = doc.Root();
  EXPECT_EQ(root.AttributeCount(), 64);
  EXPECT_STREQ(root.AttributeName(63), L"n63");
  wchar_t buffer[16];
  EXPECT_TRUE(root.AttributeValue(L"n63", buffer, 16));
  EXPECT_FALSE(root.AttributeValue(L"n64", buffer, 16));
}

TEST(XmlDocTest, CopiedValuesAreBoundedByTheBuffer) {
  const std::wstring long_value(600, L'v');
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString((L"<a v=\"" + long_value + L"\" s=\"abcdef\"/>").c_str()));
  XmlNode root = doc.Root();
  std::vector<wchar_t> big(1000, L'#');
  ASSERT_TRUE(root.AttributeValue(L"v", big.data(), big.size()));
  EXPECT_EQ(std::wstring(big.data()), std::wstring(499, L'v'));
  wchar_t small[4] = {L'#', L'#', L'#', L'#'};
  ASSERT_TRUE(root.AttributeValue(L"s", small, 4));
  EXPECT_STREQ(small, L"abc");
  EXPECT_FALSE(root.AttributeValue(L"s", small, 0));
}

struct ErrorCase {
  const wchar_t* text;
  const wchar_t* message;
  const wchar_t* location;
};

class XmlDocErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(XmlDocErrorTest, FailsWithTheStatedMessageAndLeavesTheDocumentEmpty) {
  XmlDoc doc;
  EXPECT_FALSE(doc.LoadFromString(GetParam().text));
  EXPECT_STREQ(doc.ErrorMessage(), GetParam().message);
  EXPECT_STREQ(doc.ErrorLocation(), GetParam().location);
  EXPECT_FALSE(doc.Root().IsValid());
}

INSTANTIATE_TEST_SUITE_P(
    EveryParseError, XmlDocErrorTest,
    testing::Values(ErrorCase{L"text", L"Expected start tag", L"text"},
                    ErrorCase{L"<a><b>x</b>y</a>", L"Expected start tag", L"y</a>"},
                    ErrorCase{L"<abc", L"Error parsing element name", L""},
                    ErrorCase{L"<a x=\"1\" <b>", L"Error while parsing attributes", L"<b>"},
                    ErrorCase{L"<a = x>", L"Expected attribute value", L"x>"},
                    ErrorCase{L"<a x='1'/>", L"Expected attribute value", L"'1'/>"},
                    ErrorCase{L"<a x=\"1", L"Error while parsing attribute string", L""},
                    ErrorCase{L"<a x=\"1\"/x>", L"Expected start-tag closing", L"/x>"},
                    ErrorCase{L"<a><b><c>", L"Expected end-tag start", L""},
                    ErrorCase{L"<a></b>", L"Unmatched closing tag", L"b>"},
                    ErrorCase{L"<a></a x>", L"Unmatched closing tag", L"x>"}));

TEST(XmlDocTest, ErrorLocationHoldsAtMost49Characters) {
  const std::wstring tail(80, L'z');
  XmlDoc doc;
  EXPECT_FALSE(doc.LoadFromString((L"<a></b" + tail + L">").c_str()));
  EXPECT_EQ(std::wstring(doc.ErrorLocation()), L"b" + std::wstring(48, L'z'));
}

TEST(XmlDocTest, DocumentTypeWithoutCommentEndSwallowsTheText) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(L"<!DOCTYPE html><a></a>"));
  EXPECT_FALSE(doc.Root().IsValid());
}

TEST(XmlDocTest, ASecondLoadStartsFromAnEmptyTable) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(L"<one><two /><three x=\"1\"/></one>"));
  EXPECT_FALSE(doc.LoadFromString(L"<bad"));
  ASSERT_TRUE(doc.LoadFromString(L"<fresh a=\"1\"/>"));
  EXPECT_EQ(Names(doc.Root()), L"fresh");
  EXPECT_STREQ(doc.ErrorMessage(), L"");
}

TEST(XmlDocTest, ManyElementsGrowTheTable) {
  std::wstring text = L"<list>";
  for (int i = 0; i < 3000; ++i) text += L"<item i=\"" + std::to_wstring(i) + L"\" />";
  text += L"</list>";
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(text.c_str()));
  int count = 0;
  XmlNode last;
  for (XmlNode item = doc.Root().FirstChild(); item.IsValid(); item = item.NextSibling()) {
    last = item;
    ++count;
  }
  EXPECT_EQ(count, 3000);
  EXPECT_STREQ(last.AttributeValue(0), L"2999");
}

std::wstring NestedElements(int depth) {
  std::wstring text;
  for (int i = 0; i < depth; ++i) text += L"<e>";
  for (int i = 0; i < depth; ++i) text += L"</e>";
  return text;
}

TEST(XmlDocDepthTest, ElementsNestUpToTheLimit) {
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromString(NestedElements(XmlDoc::kMostElementDepth).c_str()))
      << doc.ErrorMessage();
  int depth = 0;
  for (XmlNode node = doc.Root(); node.IsValid(); node = node.FirstChild()) ++depth;
  EXPECT_EQ(depth, XmlDoc::kMostElementDepth);
}

TEST(XmlDocDepthTest, OneLevelDeeperFailsAtThatElement) {
  XmlDoc doc;
  EXPECT_FALSE(doc.LoadFromString(NestedElements(XmlDoc::kMostElementDepth + 1).c_str()));
  EXPECT_STREQ(doc.ErrorMessage(), L"Elements nested too deeply");
  EXPECT_EQ(std::wstring(doc.ErrorLocation()).substr(0, 6), L"e></e>");
  EXPECT_FALSE(doc.Root().IsValid());
  // Siblings do not add up: only open elements count.
  std::wstring wide = L"<list>";
  for (int i = 0; i < 3; ++i) wide += NestedElements(XmlDoc::kMostElementDepth - 1);
  ASSERT_TRUE(doc.LoadFromString((wide + L"</list>").c_str())) << doc.ErrorMessage();
}

TEST(XmlDocDepthTest, HostileNestingFailsWithoutExhaustingTheStack) {
  // 50,000 open elements, about 150 KB, with and without their end tags.
  std::wstring open;
  for (int i = 0; i < 50000; ++i) open += L"<a>";
  XmlDoc doc;
  EXPECT_FALSE(doc.LoadFromString(open.c_str()));
  EXPECT_STREQ(doc.ErrorMessage(), L"Elements nested too deeply");
  std::wstring closed = open;
  for (int i = 0; i < 50000; ++i) closed += L"</a>";
  EXPECT_FALSE(doc.LoadFromString(closed.c_str()));
  EXPECT_STREQ(doc.ErrorMessage(), L"Elements nested too deeply");
}

TEST(XmlDocTest, MemoryIsUtf8WithOptionalByteOrderMark) {
  const char text[] = "\xEF\xBB\xBF<a t=\"\xE6\x8F\x90\xE7\xA4\xBA\"/>";
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromMemory(reinterpret_cast<const BYTE*>(text), sizeof(text) - 1));
  EXPECT_STREQ(doc.Root().AttributeValue(0), L"\u63d0\u793a");

  // UTF-16 is not recognised: its bytes read as UTF-8 start with something other than "<".
  const wchar_t wide[] = L"\uFEFF<a/>";
  EXPECT_FALSE(doc.LoadFromMemory(reinterpret_cast<const BYTE*>(wide), sizeof(wide) - 2));
  EXPECT_STREQ(doc.ErrorMessage(), L"Expected start tag");
}

// Files in a fresh temp folder, which also serves as the resource path for relative names.
class XmlDocFileTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"xmldoc_test_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    saved_path_ = ResourceHub::ResourcePath();
    ResourceHub::SetResourcePath(folder_);
  }
  void TearDown() override {
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder_.c_str());
    ResourceHub::SetResourcePath(saved_path_);
  }
  std::wstring Write(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = folder_ + name;
    FILE* file = _wfopen(path.c_str(), L"wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    files_.push_back(path);
    return path;
  }

  std::wstring folder_;
  std::wstring saved_path_;
  std::vector<std::wstring> files_;
};

TEST_F(XmlDocFileTest, RelativePathsComeFromTheResourcePath) {
  const std::wstring absolute = Write(L"skin.xml", "<Window a=\"1\"></Window>");
  XmlDoc doc;
  ASSERT_TRUE(doc.LoadFromFile(L"skin.xml")) << doc.ErrorMessage();
  EXPECT_STREQ(doc.Root().Name(), L"Window");
  ASSERT_TRUE(doc.LoadFromFile(absolute.c_str()));
  EXPECT_STREQ(doc.Root().Name(), L"Window");
}

TEST_F(XmlDocFileTest, FileErrors) {
  XmlDoc doc;
  EXPECT_FALSE(doc.LoadFromFile(L"missing.xml"));
  EXPECT_STREQ(doc.ErrorMessage(), L"Error opening file");
  EXPECT_STREQ(doc.ErrorLocation(), L"");

  Write(L"empty.xml", "");
  EXPECT_FALSE(doc.LoadFromFile(L"empty.xml"));
  EXPECT_STREQ(doc.ErrorMessage(), L"File is empty");
}

TEST_F(XmlDocFileTest, FilesUpTo4MiBLoad) {
  // An element whose text fills the file up to the limit.
  const std::string head = "<a>";
  const std::string tail = "</a>";
  std::string bytes =
      head + std::string(XmlDoc::kLargestFile - head.size() - tail.size(), 'x') + tail;
  Write(L"limit.xml", bytes);
  XmlDoc doc;
  EXPECT_TRUE(doc.LoadFromFile(L"limit.xml")) << doc.ErrorMessage();

  bytes.insert(head.size(), "y");
  Write(L"over.xml", bytes);
  EXPECT_FALSE(doc.LoadFromFile(L"over.xml"));
  EXPECT_STREQ(doc.ErrorMessage(), L"File too large");
  EXPECT_FALSE(doc.Root().IsValid());
}

}  // namespace
}  // namespace ui
