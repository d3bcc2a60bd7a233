#pragma once

#include <memory>
#include <string>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

class IBrush;
class IPath;
class IPen;

// The framework's drawing surface: a 32-bit off-screen bitmap in a memory DC. Controls paint
// into it in logical coordinates (the window origin shifts them); the window then copies or
// blends its pixels to the screen. Drawing failures are not reported: the affected part is
// simply not drawn. Nothing is visible before the first successful Resize.
//
// Colours are ARGB (alpha in the top byte). Rectangles have exclusive right and bottom.
// Text styles are Win32 DT_ flags; fonts are indices into the resource manager's font list.
// UI thread only; the context is owned by whoever made it (one per window).
class IRenderContext : public kbase::SupportWeakCallback {
 public:
  ~IRenderContext() override = default;

  // The memory DC, owned by the context.
  virtual HDC GetDC() = 0;
  // New pixels of width x height (contents undefined until cleared or painted). False, changing
  // nothing, when the size is already this one; otherwise whether the new bitmap was made.
  virtual bool Resize(int width, int height, bool flip_height = true) = 0;
  // Every pixel becomes transparent black.
  virtual void Clear() = 0;
  // A new context of the same size, top row first, with a copy of these pixels.
  virtual std::unique_ptr<IRenderContext> Clone() = 0;
  // Hands the bitmap to the caller and leaves the context without pixels; null when it has none.
  virtual HBITMAP DetachBitmap() = 0;
  // Pixels as blue, green, red, alpha bytes; null without a bitmap.
  virtual void* GetBits() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  // See IBitmap::ClearAlpha and IBitmap::RestoreAlpha.
  virtual void ClearAlpha(const RECT& rect, int value = 0) = 0;
  virtual void RestoreAlpha(const RECT& rect, const RECT& insets, int alpha = 0) = 0;
  // When true, every image part is alpha-blended, never stretched with a plain copy.
  virtual bool IsTransparent() = 0;
  // Returns the previous value.
  virtual bool SetTransparent(bool transparent) = 0;

  // Saves the DC state; RestoreDC returns to the state of the latest SaveDC of this context.
  virtual int SaveDC() = 0;
  virtual bool RestoreDC() = 0;
  // Each returns the origin before the call.
  virtual POINT OffsetWindowOrg(int dx, int dy) = 0;
  virtual POINT SetWindowOrg(int x, int y) = 0;
  virtual POINT GetWindowOrg() = 0;
  // Narrows the clip (nesting); each must be closed by one ClearClip, innermost first.
  virtual void SetClip(const RECT& rect) = 0;
  virtual void SetRoundClip(const RECT& rect, int width, int height) = 0;
  virtual void ClearClip() = 0;

  // Plain GDI blits into the context's DC.
  virtual BOOL BitBlt(int x, int y, int cx, int cy, HDC source, int x_source, int y_source,
                      DWORD rop = SRCCOPY) = 0;
  // Blends with per-pixel source alpha (premultiplied) times the constant alpha.
  virtual bool AlphaBlend(int x_dest, int y_dest, int width_dest, int height_dest, HDC source,
                          int x_source, int y_source, int width_source, int height_source,
                          BYTE alpha = 255) = 0;
  // Draws bitmap's source area into dest in nine parts: corners (source pixels, scaled to the
  // display for the destination) stay unstretched, edges stretch, the middle stretches or tiles.
  // Only parts meeting paint are drawn. alpha_channel tells whether the image has real alpha.
  virtual void DrawImage(const RECT& paint, HBITMAP bitmap, bool alpha_channel, const RECT& dest,
                         const RECT& source, const RECT& corners, BYTE fade = 255,
                         bool xtiled = false, bool ytiled = false) = 0;
  // A colour from the resource manager's colour table; nothing for an empty name.
  virtual void DrawColor(const RECT& rect, const std::wstring& color_name, BYTE alpha = 255) = 0;
  // Fills rect; alpha below 255 scales the colour's own alpha.
  virtual void DrawColor(const RECT& rect, Gdiplus::ARGB color, BYTE alpha = 255) = 0;
  virtual void DrawLine(const IPen* pen, int x1, int y1, int x2, int y2) = 0;
  // A line from the top-left to the bottom-right corner of rect.
  virtual void DrawLine(const RECT& rect, int width, Gdiplus::ARGB color) = 0;
  virtual void DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                          int y4) = 0;
  virtual void DrawRect(const RECT& rect, int width, Gdiplus::ARGB color) = 0;
  // Text inside rect. An index outside the font list uses the DC's current font. line_limit
  // shows only whole lines.
  virtual void DrawText(const RECT& rect, const std::wstring& text, Gdiplus::ARGB color,
                        int font_index, UINT style, BYTE alpha = 255, bool line_limit = false) = 0;
  virtual void DrawEllipse(const RECT& rect, int width, Gdiplus::ARGB color) = 0;
  virtual void FillEllipse(const RECT& rect, Gdiplus::ARGB color) = 0;
  // The box the text needs, one pixel added in each direction; width -1 means unbounded,
  // otherwise lines wrap at width (single line with DT_SINGLELINE).
  virtual RECT MeasureText(const std::wstring& text, int font_index, UINT style,
                           int width = -1) = 0;
  virtual void DrawPath(const IPath* path, const IPen* pen) = 0;
  virtual void FillPath(const IPath* path, const IBrush* brush) = 0;
};

}  // namespace ui
