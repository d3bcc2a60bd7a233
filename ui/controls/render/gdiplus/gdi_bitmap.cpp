#include "ui/controls/render/gdiplus/gdi_bitmap.h"

#include <algorithm>
#include <cstring>

namespace ui {
namespace {

constexpr int kBytesPerPixel = 4;
constexpr int kAlphaByte = 3;

}  // namespace

GdiBitmap::~GdiBitmap() { Release(); }

bool GdiBitmap::Init(HDC dc, int width, int height, bool flip_height) {
  Release();
  if (!dc || width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  BITMAPINFOHEADER& header = info.bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = flip_height ? -height : height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * kBytesPerPixel;

  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) ::DeleteObject(bitmap);
    return false;
  }
  bitmap_ = bitmap;
  bits_ = bits;
  width_ = width;
  height_ = height;
  top_down_ = flip_height;
  return true;
}

void GdiBitmap::Clear() {
  if (!bits_) return;
  std::memset(bits_, 0, static_cast<size_t>(width_) * height_ * kBytesPerPixel);
}

HBITMAP GdiBitmap::DetachBitmap() {
  HBITMAP bitmap = bitmap_;
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
  return bitmap;
}

void GdiBitmap::ClearAlpha(const RECT& rect, int value) {
  RECT clipped;
  if (!ClipToBitmap(rect, clipped)) return;
  const BYTE byte = static_cast<BYTE>(value & 0xFF);
  const size_t row_bytes = static_cast<size_t>(clipped.right - clipped.left) * kBytesPerPixel;
  for (int y = clipped.top; y < clipped.bottom; ++y) {
    std::memset(PixelAt(clipped.left, y), byte, row_bytes);
  }
}

void GdiBitmap::RestoreAlpha(const RECT& rect, const RECT& insets, int alpha) {
  RECT clipped;
  if (!ClipToBitmap(rect, clipped)) return;
  const int inner_left = insets.left;
  const int inner_right = width_ - insets.right;
  const int inner_top = insets.top;
  const int inner_bottom = height_ - insets.bottom;
  const BYTE marker = static_cast<BYTE>(alpha & 0xFF);
  for (int y = clipped.top; y < clipped.bottom; ++y) {
    const bool in_row_band = y >= inner_top && y < inner_bottom;
    BYTE* pixel = PixelAt(clipped.left, y);
    for (int x = clipped.left; x < clipped.right; ++x, pixel += kBytesPerPixel) {
      const bool in_column_band = x >= inner_left && x < inner_right;
      // The corner areas belong to a shadow or rounded frame that painted its own alpha.
      if (!in_row_band && !in_column_band) continue;
      BYTE& a = pixel[kAlphaByte];
      a = (alpha != 0 && a == marker) ? 0 : 255;
    }
  }
}

void GdiBitmap::Release() {
  if (bitmap_) ::DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
}

bool GdiBitmap::ClipToBitmap(const RECT& rect, RECT& clipped) const {
  if (!bits_) return false;
  clipped.left = std::max<LONG>(rect.left, 0);
  clipped.top = std::max<LONG>(rect.top, 0);
  clipped.right = std::min<LONG>(rect.right, width_);
  clipped.bottom = std::min<LONG>(rect.bottom, height_);
  return clipped.left < clipped.right && clipped.top < clipped.bottom;
}

BYTE* GdiBitmap::PixelAt(int x, int y) const {
  return static_cast<BYTE*>(bits_) + (static_cast<size_t>(y) * width_ + x) * kBytesPerPixel;
}

}  // namespace ui
