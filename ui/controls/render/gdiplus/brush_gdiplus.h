#pragma once

#include <memory>

#include "ui/base/render/brush.h"

namespace ui {

// IBrush on a GDI+ solid brush (made from a colour) or texture brush (made from an HBITMAP,
// tiled). Exactly one of the two exists.
class Brush_Gdiplus : public IBrush {
 public:
  explicit Brush_Gdiplus(Gdiplus::ARGB color);
  // Copies the bitmap's pixels; the HBITMAP stays the caller's. An invalid bitmap gives a brush
  // that draws nothing.
  explicit Brush_Gdiplus(HBITMAP bitmap);
  Brush_Gdiplus(const Brush_Gdiplus& other);
  Brush_Gdiplus& operator=(const Brush_Gdiplus&) = delete;

  std::unique_ptr<IBrush> Clone() const override;

  // The brush to fill with: the solid one when there is one, else the texture.
  Gdiplus::Brush* GetBrush() const;

 private:
  std::unique_ptr<Gdiplus::SolidBrush> solid_;
  std::unique_ptr<Gdiplus::TextureBrush> texture_;
};

}  // namespace ui
