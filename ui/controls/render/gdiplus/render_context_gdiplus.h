#pragma once

#include "ui/base/render/render_context.h"
#include "ui/controls/render/gdiplus/gdi_bitmap.h"
#include "ui/controls/render/gdiplus/gdi_clip.h"
#include "ui/controls/render/gdiplus/gdiplus_text.h"

namespace ui {

// The render context on a top-down 32-bit DIB in a memory DC. Images are drawn with GDI blits;
// opaque colours are written into the pixels; other colours, shapes, paths and text are drawn
// with GDI+ on a graphics object made for each call, so that no drawing state (origin, clip)
// outlives one operation. What is costly to make and never changes once made is kept: the GDI+
// fonts and the memory DC that image sources are selected into.
class RenderContext_GdiPlus : public IRenderContext {
 public:
  RenderContext_GdiPlus();
  ~RenderContext_GdiPlus() override;
  RenderContext_GdiPlus(const RenderContext_GdiPlus&) = delete;
  RenderContext_GdiPlus& operator=(const RenderContext_GdiPlus&) = delete;

  HDC GetDC() override { return dc_; }
  bool Resize(int width, int height, bool flip_height = true) override;
  void Clear() override;
  std::unique_ptr<IRenderContext> Clone() override;
  HBITMAP DetachBitmap() override;
  void* GetBits() override { return bitmap_.GetBits(); }
  int GetWidth() override { return bitmap_.GetWidth(); }
  int GetHeight() override { return bitmap_.GetHeight(); }
  void ClearAlpha(const RECT& rect, int value = 0) override;
  void RestoreAlpha(const RECT& rect, const RECT& insets, int alpha = 0) override;
  bool IsTransparent() override { return transparent_; }
  bool SetTransparent(bool transparent) override;

  int SaveDC() override;
  bool RestoreDC() override;
  POINT OffsetWindowOrg(int dx, int dy) override;
  POINT SetWindowOrg(int x, int y) override;
  POINT GetWindowOrg() override;
  void SetClip(const RECT& rect) override;
  void SetRoundClip(const RECT& rect, int width, int height) override;
  void ClearClip() override;

  BOOL BitBlt(int x, int y, int cx, int cy, HDC source, int x_source, int y_source,
              DWORD rop = SRCCOPY) override;
  bool AlphaBlend(int x_dest, int y_dest, int width_dest, int height_dest, HDC source, int x_source,
                  int y_source, int width_source, int height_source, BYTE alpha = 255) override;
  void DrawImage(const RECT& paint, HBITMAP bitmap, bool alpha_channel, const RECT& dest,
                 const RECT& source, const RECT& corners, BYTE fade = 255, bool xtiled = false,
                 bool ytiled = false) override;
  void DrawColor(const RECT& rect, const std::wstring& color_name, BYTE alpha = 255) override;
  void DrawColor(const RECT& rect, Gdiplus::ARGB color, BYTE alpha = 255) override;
  void DrawLine(const IPen* pen, int x1, int y1, int x2, int y2) override;
  void DrawLine(const RECT& rect, int width, Gdiplus::ARGB color) override;
  void DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                  int y4) override;
  void DrawRect(const RECT& rect, int width, Gdiplus::ARGB color) override;
  void DrawText(const RECT& rect, const std::wstring& text, Gdiplus::ARGB color, int font_index,
                UINT style, BYTE alpha = 255, bool line_limit = false) override;
  void DrawEllipse(const RECT& rect, int width, Gdiplus::ARGB color) override;
  void FillEllipse(const RECT& rect, Gdiplus::ARGB color) override;
  RECT MeasureText(const std::wstring& text, int font_index, UINT style, int width = -1) override;
  void DrawPath(const IPath* path, const IPen* pen) override;
  void FillPath(const IPath* path, const IBrush* brush) override;

 private:
  // One image part: a plain stretch where that cannot change the result (an opaque image
  // without fade on an opaque surface), a blend otherwise. Empty parts are skipped.
  void BlitPart(const RECT& dest, HDC source_dc, const RECT& source, bool alpha_channel, BYTE fade);
  void DrawMiddle(const RECT& dest, HDC source_dc, const RECT& source, bool alpha_channel,
                  BYTE fade, bool xtiled, bool ytiled);

  // Writes an opaque colour into the pixels of each part that the clip lets through; false,
  // having drawn nothing or parts that GDI+ may draw over again, when the colour is not opaque
  // or the pixels cannot be written directly.
  bool FillOpaqueParts(const RECT* parts, int count, Gdiplus::ARGB color);

  // A memory DC of this context's, for each image while it is drawn; made when first needed.
  HDC SourceDC();

  HDC dc_;
  HDC source_dc_ = nullptr;
  int saved_dc_ = 0;
  HGDIOBJ previous_bitmap_ = nullptr;
  bool transparent_ = false;
  GdiClip clip_;
  GdiBitmap bitmap_;
  gdiplus_text::FontCache fonts_;
};

}  // namespace ui
