#pragma once

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

// A 32-bit off-screen bitmap (a DIB section): 4 bytes per pixel in the order blue, green, red,
// alpha, rows of GetWidth() pixels back to back. It owns its HBITMAP until DetachBitmap.
// UI thread only.
class IBitmap : public kbase::SupportWeakCallback {
 public:
  ~IBitmap() override = default;

  // Drops the current pixels and makes width x height new ones (contents undefined), top row
  // first when flip_height is true. False, leaving the bitmap empty, for a null DC, a size that
  // is not positive, or when the system refuses the section.
  virtual bool Init(HDC dc, int width, int height, bool flip_height) = 0;
  // Sets every byte to zero (transparent black); nothing when empty.
  virtual void Clear() = 0;
  // Hands the HBITMAP to the caller and leaves this object empty (no bits, size 0).
  virtual HBITMAP DetachBitmap() = 0;
  virtual HBITMAP GetBitmap() = 0;
  // The first pixel, or null when empty.
  virtual void* GetBits() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  // Sets all four bytes of every pixel of rect (clipped to the bitmap) to value's low byte.
  // Used as an alpha marker before GDI draws, which leaves alpha untouched or zeroes it.
  virtual void ClearAlpha(const RECT& rect, int value) = 0;
  // The repair after GDI drawing for layered windows: inside rect (clipped), except the four
  // corner areas outside the insets, a pixel whose alpha equals alpha (when alpha is not 0)
  // becomes transparent and every other pixel opaque. Colour bytes are not touched.
  virtual void RestoreAlpha(const RECT& rect, const RECT& insets, int alpha) = 0;
};

}  // namespace ui
