#pragma once

#include "ui/base/render/bitmap.h"

namespace ui {

// IBitmap on a 32-bit DIB section. Owns the section until DetachBitmap; the pixel memory belongs
// to the section.
class GdiBitmap : public IBitmap {
 public:
  GdiBitmap() = default;
  ~GdiBitmap() override;
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;

  bool Init(HDC dc, int width, int height, bool flip_height) override;
  void Clear() override;
  HBITMAP DetachBitmap() override;
  HBITMAP GetBitmap() override { return bitmap_; }
  void* GetBits() override { return bits_; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  // Whether the first row of the pixels is the top one (flip_height at Init).
  bool IsTopDown() const { return top_down_; }
  void ClearAlpha(const RECT& rect, int value) override;
  void RestoreAlpha(const RECT& rect, const RECT& insets, int alpha) override;

 private:
  void Release();
  // rect limited to the pixels; false when nothing is left or there are no pixels.
  bool ClipToBitmap(const RECT& rect, RECT& clipped) const;
  BYTE* PixelAt(int x, int y) const;

  HBITMAP bitmap_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool top_down_ = true;
};

}  // namespace ui
