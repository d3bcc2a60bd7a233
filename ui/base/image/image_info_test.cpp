#include "ui/base/image/image_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/base/image/image_ref.h"
#include "ui/base/testing/gdiplus_environment.h"

namespace ui {
namespace {

using testing_support::FixtureFolder;

std::unique_ptr<ImageInfo> Decode(const wchar_t* name) {
  return ImageInfo::LoadFromFile(FixtureFolder() + name);
}

BYTE AlphaAt(HBITMAP frame, int x, int y) {
  DIBSECTION section = {};
  EXPECT_EQ(GetObjectW(frame, sizeof(section), &section), static_cast<int>(sizeof(section)));
  const BYTE* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
  return bits[y * section.dsBm.bmWidthBytes + x * 4 + 3];
}

TEST(ImageInfoTest, DecodesAPngWithTranslucentPixels) {
  const std::wstring path = FixtureFolder() + L"translucent.png";
  std::unique_ptr<ImageInfo> image = ImageInfo::LoadFromFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 6);
  EXPECT_EQ(image->height(), 4);
  EXPECT_EQ(image->path(), path);
  EXPECT_TRUE(image->has_alpha());
  EXPECT_EQ(image->FrameCount(), 1);
  EXPECT_TRUE(image->frame_delays().empty());
  EXPECT_EQ(AlphaAt(image->Frame(0), 0, 0), 128);
  EXPECT_EQ(image->Frame(1), nullptr);
  EXPECT_EQ(image->Frame(-1), nullptr);
  EXPECT_FALSE(image->cached());
}

TEST(ImageInfoTest, AlphaFlagFollowsThePixelsOrTheFormat) {
  std::unique_ptr<ImageInfo> opaque_argb = Decode(L"opaque32.png");
  ASSERT_TRUE(opaque_argb);
  EXPECT_FALSE(opaque_argb->has_alpha());  // 32-bit ARGB, but every pixel is opaque

  std::unique_ptr<ImageInfo> rgb = Decode(L"opaque24.png");
  ASSERT_TRUE(rgb);
  EXPECT_FALSE(rgb->has_alpha());
}

TEST(ImageInfoTest, AnimatedGifKeepsEveryFrameAndItsDelay) {
  std::unique_ptr<ImageInfo> image = Decode(L"animated.gif");
  ASSERT_TRUE(image);
  ASSERT_EQ(image->FrameCount(), 5);
  EXPECT_EQ(image->frame_delays(), (std::vector<uint32_t>{7, 0, 2, 4, 10}));
  for (int i = 0; i < 5; ++i) EXPECT_NE(image->Frame(i), nullptr);

  // Each frame is its own bitmap: the first is red, the second green (blue, green, red order).
  DIBSECTION first = {};
  DIBSECTION second = {};
  GetObjectW(image->Frame(0), sizeof(first), &first);
  GetObjectW(image->Frame(1), sizeof(second), &second);
  const BYTE* red = static_cast<const BYTE*>(first.dsBm.bmBits);
  const BYTE* green = static_cast<const BYTE*>(second.dsBm.bmBits);
  EXPECT_GT(red[2], 200);
  EXPECT_LT(red[1], 50);
  EXPECT_GT(green[1], 100);
  EXPECT_LT(green[2], 50);
}

TEST(ImageInfoTest, FrameDelayRule) {
  ImageRef ref;
  EXPECT_EQ(ref.FrameDelay(), 0);  // nothing decoded
  ref.image = Decode(L"animated.gif");
  ASSERT_TRUE(ref.image);
  const int expected[] = {70, 100, 100, 50, 100};  // 7, 0, 2, 4 and 10 hundredths
  for (int i = 0; i < 5; ++i) {
    ref.frame_index = i;
    EXPECT_EQ(ref.FrameDelay(), expected[i]) << i;
  }
  ref.frame_index = 5;
  EXPECT_EQ(ref.FrameDelay(), 0);
  ref.frame_index = -1;
  EXPECT_EQ(ref.FrameDelay(), 0);

  ref.image = Decode(L"translucent.png");  // a single frame has no delays
  ref.frame_index = 0;
  EXPECT_EQ(ref.FrameDelay(), 0);
}

TEST(ImageInfoTest, UndecodableFilesGiveNothing) {
  EXPECT_FALSE(Decode(L"missing.png"));
  EXPECT_FALSE(Decode(L"not_an_image.png"));
}

std::vector<char> ReadFile(const std::wstring& path) {
  std::vector<char> bytes;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return bytes;
  char chunk[4096];
  std::size_t count;
  while ((count = fread(chunk, 1, sizeof(chunk), file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + count);
  fclose(file);
  return bytes;
}

TEST(ImageInfoTest, DecodesFromAMemoryBlockItTakesOver) {
  const std::vector<char> bytes = ReadFile(FixtureFolder() + L"translucent.png");
  ASSERT_FALSE(bytes.empty());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  std::unique_ptr<ImageInfo> image = ImageInfo::LoadFromMemory(block, L"memory.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 6);
  EXPECT_EQ(image->path(), L"memory.png");
  EXPECT_TRUE(image->has_alpha());

  EXPECT_FALSE(ImageInfo::LoadFromMemory(nullptr, L"none.png"));
  HGLOBAL garbage = GlobalAlloc(GMEM_MOVEABLE, 16);
  std::memset(GlobalLock(garbage), 0x5A, 16);
  GlobalUnlock(garbage);
  EXPECT_FALSE(ImageInfo::LoadFromMemory(garbage, L"garbage.png"));
}

}  // namespace
}  // namespace ui
