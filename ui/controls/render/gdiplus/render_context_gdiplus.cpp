#include "ui/controls/render/gdiplus/render_context_gdiplus.h"

#include "kestrum/common/scope_exit.h"
#include "ui/base/dpi/display_scale.h"
#include "ui/controls/render/gdiplus/brush_gdiplus.h"
#include "ui/controls/render/gdiplus/gdiplus_text.h"
#include "ui/controls/render/gdiplus/nine_part_layout.h"
#include "ui/controls/render/gdiplus/opaque_fill.h"
#include "ui/controls/render/gdiplus/path_gdiplus.h"
#include "ui/controls/render/gdiplus/pen_gdiplus.h"
#include "ui/controls/render/gdiplus/render_resources.h"

namespace ui {
namespace {

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

Gdiplus::RectF ToRectF(const RECT& rect) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(Width(rect)),
                        static_cast<Gdiplus::REAL>(Height(rect)));
}

Gdiplus::Rect ToRect(const RECT& rect) {
  return Gdiplus::Rect(rect.left, rect.top, Width(rect), Height(rect));
}

Gdiplus::ARGB ScaleAlpha(Gdiplus::ARGB color, BYTE alpha) {
  if (alpha >= 255) return color;
  const Gdiplus::ARGB color_alpha = (color >> 24) & 0xFF;
  return ((color_alpha * alpha / 255) << 24) | (color & 0x00FFFFFF);
}

Gdiplus::Pen* NativePen(const IPen* pen) {
  auto* gdiplus_pen = dynamic_cast<const Pen_GdiPlus*>(pen);
  return gdiplus_pen ? gdiplus_pen->GetPen() : nullptr;
}

Gdiplus::GraphicsPath* NativePath(const IPath* path) {
  auto* gdiplus_path = dynamic_cast<const Path_Gdiplus*>(path);
  return gdiplus_path ? gdiplus_path->GetPath() : nullptr;
}

Gdiplus::Brush* NativeBrush(const IBrush* brush) {
  auto* gdiplus_brush = dynamic_cast<const Brush_Gdiplus*>(brush);
  return gdiplus_brush ? gdiplus_brush->GetBrush() : nullptr;
}

// A GDI+ graphics object over the DC for one drawing operation.
class ScopedGraphics {
 public:
  ScopedGraphics(HDC dc, bool antialias) : graphics_(dc) {
    if (antialias) graphics_.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  }
  Gdiplus::Graphics* operator->() { return &graphics_; }

 private:
  Gdiplus::Graphics graphics_;
};

// Selects a bitmap into a memory DC for the duration of a blit. A bitmap can be selected into one
// DC at a time, so it is never left in the DC afterwards.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HBITMAP bitmap)
      : dc_(dc), previous_(dc ? ::SelectObject(dc, bitmap) : nullptr) {}
  ~ScopedSelection() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  // False when the bitmap could not be selected (another DC holds it, or it is no bitmap).
  bool ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

RenderContext_GdiPlus::RenderContext_GdiPlus() : dc_(::CreateCompatibleDC(nullptr)) {}

RenderContext_GdiPlus::~RenderContext_GdiPlus() {
  if (previous_bitmap_) ::SelectObject(dc_, previous_bitmap_);
  if (dc_) ::DeleteDC(dc_);
  if (source_dc_) ::DeleteDC(source_dc_);
}

HDC RenderContext_GdiPlus::SourceDC() {
  if (!source_dc_) source_dc_ = ::CreateCompatibleDC(dc_);
  return source_dc_;
}

bool RenderContext_GdiPlus::Resize(int width, int height, bool flip_height) {
  if (bitmap_.GetWidth() == width && bitmap_.GetHeight() == height) return false;
  // The DIB must leave the DC before it can be deleted.
  if (previous_bitmap_) ::SelectObject(dc_, previous_bitmap_);
  if (!bitmap_.Init(dc_, width, height, flip_height)) return false;
  HGDIOBJ replaced = ::SelectObject(dc_, bitmap_.GetBitmap());
  if (!previous_bitmap_) previous_bitmap_ = replaced;
  return true;
}

void RenderContext_GdiPlus::Clear() { bitmap_.Clear(); }

std::unique_ptr<IRenderContext> RenderContext_GdiPlus::Clone() {
  auto clone = std::make_unique<RenderContext_GdiPlus>();
  const int width = GetWidth();
  const int height = GetHeight();
  if (!clone->Resize(width, height, true)) return clone;
  // The origin may be moved while a control paints; the copy starts at device pixel (0, 0).
  const POINT origin = GetWindowOrg();
  ::BitBlt(clone->GetDC(), 0, 0, width, height, dc_, origin.x, origin.y, SRCCOPY);
  return clone;
}

HBITMAP RenderContext_GdiPlus::DetachBitmap() {
  if (!previous_bitmap_) return nullptr;
  ::SelectObject(dc_, previous_bitmap_);
  previous_bitmap_ = nullptr;
  return bitmap_.DetachBitmap();
}

void RenderContext_GdiPlus::ClearAlpha(const RECT& rect, int value) {
  bitmap_.ClearAlpha(rect, value);
}

void RenderContext_GdiPlus::RestoreAlpha(const RECT& rect, const RECT& insets, int alpha) {
  bitmap_.RestoreAlpha(rect, insets, alpha);
}

bool RenderContext_GdiPlus::SetTransparent(bool transparent) {
  const bool previous = transparent_;
  transparent_ = transparent;
  return previous;
}

int RenderContext_GdiPlus::SaveDC() {
  saved_dc_ = ::SaveDC(dc_);
  return saved_dc_;
}

bool RenderContext_GdiPlus::RestoreDC() { return ::RestoreDC(dc_, saved_dc_) != FALSE; }

POINT RenderContext_GdiPlus::OffsetWindowOrg(int dx, int dy) {
  POINT previous = GetWindowOrg();
  ::SetWindowOrgEx(dc_, previous.x + dx, previous.y + dy, nullptr);
  return previous;
}

POINT RenderContext_GdiPlus::SetWindowOrg(int x, int y) {
  POINT previous{};
  ::SetWindowOrgEx(dc_, x, y, &previous);
  return previous;
}

POINT RenderContext_GdiPlus::GetWindowOrg() {
  POINT origin{};
  ::GetWindowOrgEx(dc_, &origin);
  return origin;
}

void RenderContext_GdiPlus::SetClip(const RECT& rect) { clip_.CreateClip(dc_, rect); }

void RenderContext_GdiPlus::SetRoundClip(const RECT& rect, int width, int height) {
  clip_.CreateRoundClip(dc_, rect, width, height);
}

void RenderContext_GdiPlus::ClearClip() { clip_.ClearClip(dc_); }

BOOL RenderContext_GdiPlus::BitBlt(int x, int y, int cx, int cy, HDC source, int x_source,
                                   int y_source, DWORD rop) {
  return ::BitBlt(dc_, x, y, cx, cy, source, x_source, y_source, rop);
}

bool RenderContext_GdiPlus::AlphaBlend(int x_dest, int y_dest, int width_dest, int height_dest,
                                       HDC source, int x_source, int y_source, int width_source,
                                       int height_source, BYTE alpha) {
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return ::AlphaBlend(dc_, x_dest, y_dest, width_dest, height_dest, source, x_source, y_source,
                      width_source, height_source, blend) != FALSE;
}

void RenderContext_GdiPlus::DrawImage(const RECT& paint, HBITMAP bitmap, bool alpha_channel,
                                      const RECT& dest, const RECT& source, const RECT& corners,
                                      BYTE fade, bool xtiled, bool ytiled) {
  RECT common;
  if (!bitmap || !::IntersectRect(&common, &dest, &paint)) return;
  HDC source_dc = SourceDC();
  const ScopedSelection selection(source_dc, bitmap);
  if (!selection.ok()) return;
  const int previous_mode = ::SetStretchBltMode(dc_, HALFTONE);  // 0: it failed, nothing to undo
  const kestrum::common::ScopeExit restore_mode([this, previous_mode] {
    if (previous_mode) ::SetStretchBltMode(dc_, previous_mode);
  });

  RECT dest_corners = corners;
  DisplayScale::Instance().ScaleRectangle(dest_corners);
  for (const ImagePart& part :
       LayOutNinePartImage(paint, dest, source, corners, dest_corners, xtiled, ytiled)) {
    BlitPart(part.dest, source_dc, part.source, alpha_channel, fade);
  }
}

void RenderContext_GdiPlus::BlitPart(const RECT& dest, HDC source_dc, const RECT& source,
                                     bool alpha_channel, BYTE fade) {
  // Corners wider than the image leave empty or inverted parts, which would mirror the image.
  if (Width(dest) <= 0 || Height(dest) <= 0 || Width(source) <= 0 || Height(source) <= 0) return;
  const bool stretched = Width(dest) != Width(source) || Height(dest) != Height(source);
  if (!transparent_ && !alpha_channel && fade == 255 && stretched) {
    ::StretchBlt(dc_, dest.left, dest.top, Width(dest), Height(dest), source_dc, source.left,
                 source.top, Width(source), Height(source), SRCCOPY);
    return;
  }
  AlphaBlend(dest.left, dest.top, Width(dest), Height(dest), source_dc, source.left, source.top,
             Width(source), Height(source), fade);
}

void RenderContext_GdiPlus::DrawColor(const RECT& rect, const std::wstring& color_name,
                                      BYTE alpha) {
  if (color_name.empty()) return;
  DrawColor(rect, render_resources::ColorValue(color_name), alpha);
}

void RenderContext_GdiPlus::DrawColor(const RECT& rect, Gdiplus::ARGB color, BYTE alpha) {
  const Gdiplus::ARGB scaled = ScaleAlpha(color, alpha);
  const Gdiplus::ARGB scaled_alpha = scaled >> 24;
  RECT drawable;
  // A transparent colour blends to nothing; outside the clip nothing is drawn either.
  if (scaled_alpha == 0 || !ClipToDrawable(dc_, rect, drawable)) return;
  if (scaled_alpha == 0xFF && bitmap_.IsTopDown() &&
      FillOpaque(dc_, bitmap_.GetBits(), bitmap_.GetWidth(), bitmap_.GetHeight(), drawable,
                 scaled)) {
    return;
  }
  ScopedGraphics graphics(dc_, false);
  Gdiplus::SolidBrush brush(Gdiplus::Color{scaled});
  graphics->FillRectangle(&brush, ToRectF(drawable));
}

void RenderContext_GdiPlus::DrawLine(const IPen* pen, int x1, int y1, int x2, int y2) {
  Gdiplus::Pen* native = NativePen(pen);
  if (!native) return;
  ScopedGraphics graphics(dc_, true);
  graphics->DrawLine(native, x1, y1, x2, y2);
}

bool RenderContext_GdiPlus::FillOpaqueParts(const RECT* parts, int count, Gdiplus::ARGB color) {
  if ((color >> 24) != 0xFF || !bitmap_.IsTopDown()) return false;
  for (int i = 0; i < count; ++i) {
    RECT drawable;
    if (!ClipToDrawable(dc_, parts[i], drawable)) continue;
    if (!FillOpaque(dc_, bitmap_.GetBits(), bitmap_.GetWidth(), bitmap_.GetHeight(), drawable,
                    color)) {
      return false;
    }
  }
  return true;
}

void RenderContext_GdiPlus::DrawLine(const RECT& rect, int width, Gdiplus::ARGB color) {
  RECT body;
  if (StraightLinePart(rect, width, body) && FillOpaqueParts(&body, 1, color)) return;
  ScopedGraphics graphics(dc_, false);
  Gdiplus::Pen pen(Gdiplus::Color(color), static_cast<Gdiplus::REAL>(width));
  graphics->DrawLine(&pen, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                     static_cast<INT>(rect.right), static_cast<INT>(rect.bottom));
}

void RenderContext_GdiPlus::DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3,
                                       int y3, int x4, int y4) {
  Gdiplus::Pen* native = NativePen(pen);
  if (!native) return;
  ScopedGraphics graphics(dc_, true);
  graphics->DrawBezier(native, x1, y1, x2, y2, x3, y3, x4, y4);
}

void RenderContext_GdiPlus::DrawRect(const RECT& rect, int width, Gdiplus::ARGB color) {
  RECT parts[4];
  if (OutlineParts(rect, width, parts) && FillOpaqueParts(parts, 4, color)) return;
  ScopedGraphics graphics(dc_, false);
  Gdiplus::Pen pen(Gdiplus::Color(color), static_cast<Gdiplus::REAL>(width));
  graphics->DrawRectangle(&pen, ToRect(rect));
}

void RenderContext_GdiPlus::DrawText(const RECT& rect, const std::wstring& text,
                                     Gdiplus::ARGB color, int font_index, UINT style, BYTE alpha,
                                     bool line_limit) {
  gdiplus_text::Draw(dc_, fonts_, rect, text, color, font_index, style, alpha, line_limit);
}

void RenderContext_GdiPlus::DrawEllipse(const RECT& rect, int width, Gdiplus::ARGB color) {
  ScopedGraphics graphics(dc_, true);
  Gdiplus::Pen pen(Gdiplus::Color(color), static_cast<Gdiplus::REAL>(width));
  graphics->DrawEllipse(&pen, ToRect(rect));
}

void RenderContext_GdiPlus::FillEllipse(const RECT& rect, Gdiplus::ARGB color) {
  ScopedGraphics graphics(dc_, true);
  Gdiplus::SolidBrush brush(Gdiplus::Color{color});
  graphics->FillEllipse(&brush, ToRect(rect));
}

RECT RenderContext_GdiPlus::MeasureText(const std::wstring& text, int font_index, UINT style,
                                        int width) {
  return gdiplus_text::Measure(dc_, fonts_, text, font_index, style, width);
}

void RenderContext_GdiPlus::DrawPath(const IPath* path, const IPen* pen) {
  Gdiplus::GraphicsPath* native_path = NativePath(path);
  Gdiplus::Pen* native_pen = NativePen(pen);
  if (!native_path || !native_pen) return;
  ScopedGraphics graphics(dc_, true);
  graphics->DrawPath(native_pen, native_path);
}

void RenderContext_GdiPlus::FillPath(const IPath* path, const IBrush* brush) {
  Gdiplus::GraphicsPath* native_path = NativePath(path);
  Gdiplus::Brush* native_brush = NativeBrush(brush);
  if (!native_path || !native_brush) return;
  ScopedGraphics graphics(dc_, true);
  graphics->FillPath(native_brush, native_path);
}

}  // namespace ui
