#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {
namespace {

constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kBlue = 0x0000FF;

// Writes a 4 x 4 bitmap file of one colour (0xRRGGBB) into the temporary folder; its path.
std::wstring WriteSolidBitmap(const wchar_t* name, DWORD rgb) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + name;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  std::vector<DWORD> pixels(16, rgb);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * sizeof(DWORD));
  info.biSize = sizeof(info);
  info.biWidth = 4;
  info.biHeight = 4;
  info.biPlanes = 1;
  info.biBitCount = 32;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return std::wstring();
  fwrite(&file, sizeof(file), 1, out);
  fwrite(&info, sizeof(info), 1, out);
  fwrite(pixels.data(), sizeof(DWORD), pixels.size(), out);
  fclose(out);
  return path;
}

TEST(ScrollBarPaintTest, PartsArePaintedAtTheirRectsWithFallbackToTheNormalImage) {
  const std::wstring blue = WriteSolidBitmap(L"scroll_bar_paint_blue.bmp", 0x0000FF);
  const std::wstring red = WriteSolidBitmap(L"scroll_bar_paint_red.bmp", 0xFF0000);
  ASSERT_FALSE(blue.empty());
  ASSERT_FALSE(red.empty());
  RenderContext_GdiPlus target;
  ASSERT_TRUE(target.Resize(16, 64));
  target.Clear();
  ScrollBar bar;
  bar.SetAttribute(L"button1normalimage", L"file='" + blue + L"'");
  bar.SetAttribute(L"thumbnormalimage", L"file='" + red + L"'");
  bar.SetPos({0, 0, 16, 64});  // thumb at its minimum length: 16..46
  // A pushed button without pushed or hot images shows its normal one.
  bar.SendEvent(kEventMouseButtonDown, 0, 0, 0, 0.0f, 8, 8);
  bar.Paint(&target, {0, 0, 16, 64});
  const DWORD* bits = static_cast<const DWORD*>(target.GetBits());
  // Bitmap files carry no alpha, so only the colour is compared.
  auto at = [bits](int x, int y) { return bits[y * 16 + x] & 0xFFFFFFu; };
  EXPECT_EQ(kBlue, at(8, 8));
  EXPECT_EQ(kRed, at(8, 16));
  EXPECT_EQ(kRed, at(8, 45));
  EXPECT_EQ(0u, at(8, 47));  // rail between thumb and button 2: no image
  EXPECT_EQ(0u, at(8, 56));  // button 2: no image
  DeleteFileW(blue.c_str());
  DeleteFileW(red.c_str());
}

}  // namespace
}  // namespace ui
