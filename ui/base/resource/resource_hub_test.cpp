#include "ui/base/resource/resource_hub.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/dpi/windows_version.h"
#include "ui/base/image/image_info.h"
#include "ui/base/resource/image_preload.h"
#include "ui/base/testing/gdiplus_environment.h"

namespace ui {
namespace {

using testing_support::FixtureFolder;

TEST(ResourceHubTest, ResourcePathEndsInASeparator) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {{L"D:\\res", L"D:\\res\\"},
               {L"D:\\res/", L"D:\\res/"},
               {L"D:\\res\\", L"D:\\res\\"},
               {L"", L""}};
  for (const auto& c : cases) {
    ResourceHub::SetResourcePath(c.in);
    EXPECT_EQ(ResourceHub::ResourcePath(), c.out) << c.in;
  }
}

TEST(ResourceHubTest, TextColorsAreHexadecimalArgbAfterTheFirstCharacter) {
  const struct {
    const wchar_t* value;
    DWORD argb;
  } cases[] = {
      {L"#FFFFFFFF", 0xFFFFFFFF},
      {L"#FF000000", 0xFF000000},
      {L"#00FFFFFF", 0x00FFFFFF},
      {L"#336699", 0x00336699},
      {L"x80ff0000", 0x80FF0000},
      {L"#12zz", 0x12},
      {L"#", 0},
      {L"", 0},
      {L"#1FFFFFFFF", 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    ResourceHub::AddTextColor(L"probe", c.value);
    EXPECT_EQ(ResourceHub::ColorValue(L"probe"), c.argb) << c.value;
  }
}

TEST(ResourceHubTest, UnknownColorNamesAreEnteredAsTransparent) {
  EXPECT_EQ(ResourceHub::ColorValue(L"never defined"), 0u);
  ResourceHub::AddTextColor(L"never defined", L"#11223344");  // a later definition counts
  EXPECT_EQ(ResourceHub::ColorValue(L"never defined"), 0x11223344u);
  EXPECT_EQ(ResourceHub::DefaultTextColor(), L"textdefaultcolor");
  EXPECT_EQ(ResourceHub::DefaultDisabledTextColor(), L"textdefaultdisablecolor");
}

TEST(ResourceHubTest, ClassesAreEnteredOrReplaced) {
  EXPECT_EQ(ResourceHub::ClassAttributes(L"btn"), L"");
  ResourceHub::AddClass(L"btn", L"width=\"10\"");
  ResourceHub::AddClass(L"btn", L"width=\"20\"");
  EXPECT_EQ(ResourceHub::ClassAttributes(L"btn"), L"width=\"20\"");
}

TEST(ResourceHubTest, KeyLessOrdersByLengthThenFromTheEnd) {
  EXPECT_TRUE(ResourceHub::KeyLess(L"z.png", L"aa.png"));
  EXPECT_FALSE(ResourceHub::KeyLess(L"aa.png", L"z.png"));
  EXPECT_TRUE(ResourceHub::KeyLess(L"ba", L"ab"));
  EXPECT_FALSE(ResourceHub::KeyLess(L"ab", L"ba"));
  EXPECT_FALSE(ResourceHub::KeyLess(L"same", L"same"));
  EXPECT_TRUE(ResourceHub::KeyLess(L"", L"a"));
}

// Fonts are never released before Stop, so each test adds its own and reads them by id.
class ResourceHubFontTest : public testing::Test {
 protected:
  ~ResourceHubFontTest() override { DisplayScale::Instance().OverrideForTesting(100, false); }
  static LOGFONTW LogFont(HFONT font) {
    LOGFONTW log = {};
    GetObjectW(font, sizeof(log), &log);
    return log;
  }
};

TEST_F(ResourceHubFontTest, IdsAreListPositions) {
  const int first = ResourceHub::FontCount();
  HFONT a = ResourceHub::AddFont(L"Arial", 12, false, false, false);
  HFONT b = ResourceHub::AddFont(L"Tahoma", 14, true, true, true);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(ResourceHub::FontHandle(first), a);
  EXPECT_EQ(ResourceHub::FontHandle(first + 1), b);
  EXPECT_EQ(ResourceHub::FontHandle(first + 2), nullptr);
  EXPECT_EQ(ResourceHub::FontHandle(-1), nullptr);
  EXPECT_EQ(ResourceHub::FontInfo(first + 2), nullptr);

  const FontRecord* record = ResourceHub::FontInfo(first + 1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->face, L"Tahoma");
  EXPECT_EQ(record->size, 14);
  EXPECT_TRUE(record->bold && record->underline && record->italic);
}

TEST_F(ResourceHubFontTest, StyleStartsFromTheStockGuiFont) {
  LOGFONTW stock = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
  const LOGFONTW bold = LogFont(ResourceHub::AddFont(L"Arial", 12, true, false, true));
  EXPECT_EQ(bold.lfWeight, stock.lfWeight + 700);
  EXPECT_EQ(bold.lfHeight, -12);
  EXPECT_TRUE(bold.lfItalic);
  EXPECT_EQ(bold.lfUnderline, stock.lfUnderline);
  EXPECT_EQ(bold.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(bold.lfFaceName, L"Arial");
}

TEST_F(ResourceHubFontTest, SystemFaceAndScaledSize) {
  DisplayScale::Instance().OverrideForTesting(150, true);
  const int id = ResourceHub::FontCount();
  HFONT font = ResourceHub::AddFont(L"system", 12, false, false, false);
  ASSERT_NE(font, nullptr);
  const FontRecord* record = ResourceHub::FontInfo(id);
  EXPECT_EQ(record->face,
            IsWindowsVistaOrLater() ? L"\u5fae\u8f6f\u96c5\u9ed1" : L"\u65b0\u5b8b\u4f53");
  EXPECT_EQ(record->size, 18);
  EXPECT_EQ(LogFont(font).lfHeight, -18);
}

TEST_F(ResourceHubFontTest, LongFacesAreCutToTheFaceField) {
  const std::wstring face(40, L'F');
  const int id = ResourceHub::FontCount();
  HFONT font = ResourceHub::AddFont(face, 12, false, false, false);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(ResourceHub::FontInfo(id)->face, std::wstring(31, L'F'));
  EXPECT_EQ(std::wstring(LogFont(font).lfFaceName), std::wstring(31, L'F'));
}

TEST(ResourceHubImageTest, ImagesAreSharedWhileHeldAndDecodedAgainAfterwards) {
  const std::wstring folder = FixtureFolder();
  const std::wstring slashed = folder + L"cache/translucent.png";
  const std::wstring backslashed = folder + L"cache\\\\translucent.png";
  const std::wstring key = folder + L"cache\\translucent.png";
  EXPECT_FALSE(ResourceHub::CachedImage(key));  // never decodes

  std::shared_ptr<ImageInfo> first = ResourceHub::ObtainImage(slashed);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->cached());
  EXPECT_EQ(first->path(), key);
  std::shared_ptr<ImageInfo> second = ResourceHub::ObtainImage(backslashed);
  EXPECT_EQ(first, second);
  EXPECT_EQ(ResourceHub::CachedImage(key), first);

  first.reset();
  EXPECT_TRUE(ResourceHub::CachedImage(key));  // still held by the second holder
  second.reset();
  EXPECT_FALSE(ResourceHub::CachedImage(key));

  std::shared_ptr<ImageInfo> again = ResourceHub::ObtainImage(key);
  ASSERT_TRUE(again);
  EXPECT_EQ(ResourceHub::CachedImage(slashed), again);
}

// A window's pictures decoded ahead on another thread: its paint finds them decoded, however
// long nothing else holds them, until the preload goes.
TEST(ResourceHubImageTest, PreloadedImagesStayDecodedWhileThePreloadLives) {
  const std::wstring folder = FixtureFolder();
  const std::wstring opaque = folder + L"opaque24.png";
  const std::wstring animated = folder + L"animated.gif";
  const std::wstring broken = folder + L"not_an_image.png";
  std::shared_ptr<ImageInfo> decoded_before;
  {
    ImagePreload preload;
    preload.Start({folder + L"opaque24.png", folder + L"animated.gif", broken});
    preload.Start({folder + L"opaque32.png"});  // one list per preload
    ASSERT_TRUE(preload.Wait(10000));
    const std::shared_ptr<ImageInfo> held = ResourceHub::CachedImage(opaque);
    ASSERT_TRUE(held);
    EXPECT_EQ(ResourceHub::ObtainImage(opaque), held);
    ASSERT_TRUE(ResourceHub::CachedImage(animated));
    EXPECT_EQ(ResourceHub::CachedImage(animated)->FrameCount(), 5);
    EXPECT_FALSE(ResourceHub::CachedImage(broken));
    EXPECT_FALSE(ResourceHub::CachedImage(folder + L"opaque32.png"));
    decoded_before = ResourceHub::CachedImage(animated);
  }
  EXPECT_FALSE(ResourceHub::CachedImage(opaque));
  EXPECT_TRUE(ResourceHub::CachedImage(animated));  // still held here
  ImagePreload never_started;
  EXPECT_TRUE(never_started.Wait(0));
}

// What a preload decodes for a window: the files its markup's image attributes name, in the
// order the markup names them, each once; bare names and key='value' lists alike.
TEST(ResourceHubImageTest, MarkupNamesTheImagesToPreloadInItsOrder) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring markup =
      std::wstring(temp) + L"preload_" + std::to_wstring(GetCurrentProcessId()) + L".xml";
  FILE* file = _wfopen(markup.c_str(), L"wb");
  ASSERT_TRUE(file);
  fputs(
      "<Window bkimage=\"bk.png\"><HBox><Button normalimage=\"file='a/n.png' corner='1,1,1,1'\" "
      "hotimage=\"file='C:\\x\\h.png'\" text=\"image\" foreimage=\"\"/></HBox>"
      "<Label BkImage=\"bk.png\" pushedimage=\"dest='1,1,2,2' file='p.png'\"/></Window>",
      file);
  fclose(file);
  EXPECT_EQ(ImagePreload::FilesNamedBy(markup, L"D:\\skin\\"),
            (std::vector<std::wstring>{L"D:\\skin\\bk.png", L"D:\\skin\\a/n.png", L"C:\\x\\h.png",
                                       L"D:\\skin\\p.png"}));
  DeleteFileW(markup.c_str());
  EXPECT_TRUE(ImagePreload::FilesNamedBy(markup, L"D:\\skin\\").empty());
}

// Threads that want the same file at once each decode it, but all of them get the one image
// that was cached first.
TEST(ResourceHubImageTest, ThreadsDecodingOneFileShareOneImage) {
  const std::wstring path = FixtureFolder() + L"opaque32.png";
  ImagePreload preloads[4];
  for (ImagePreload& preload : preloads) preload.Start({path});
  std::shared_ptr<ImageInfo> here = ResourceHub::ObtainImage(path);
  for (ImagePreload& preload : preloads) ASSERT_TRUE(preload.Wait(10000));
  EXPECT_EQ(ResourceHub::CachedImage(path), here);
  EXPECT_EQ(ResourceHub::ObtainImage(path), here);
}

TEST(ResourceHubImageTest, UndecodableFilesAreNotCached) {
  const std::wstring path = FixtureFolder() + L"not_an_image.png";
  EXPECT_FALSE(ResourceHub::ObtainImage(path));
  EXPECT_FALSE(ResourceHub::CachedImage(path));
  EXPECT_FALSE(ResourceHub::ObtainImage(FixtureFolder() + L"missing.png"));
}

}  // namespace
}  // namespace ui
