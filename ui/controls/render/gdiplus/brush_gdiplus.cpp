#include "ui/controls/render/gdiplus/brush_gdiplus.h"

namespace ui {

Brush_Gdiplus::Brush_Gdiplus(Gdiplus::ARGB color)
    : IBrush(color), solid_(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(color))) {}

Brush_Gdiplus::Brush_Gdiplus(HBITMAP bitmap) : IBrush(0) {
  // The texture keeps its own copy of the pixels, so the temporary image can go at once.
  Gdiplus::Bitmap image(bitmap, nullptr);
  texture_ = std::make_unique<Gdiplus::TextureBrush>(&image, Gdiplus::WrapModeTile);
}

Brush_Gdiplus::Brush_Gdiplus(const Brush_Gdiplus& other) : IBrush(other.color_) {
  if (other.solid_) solid_.reset(other.solid_->Clone());
  if (other.texture_) texture_.reset(other.texture_->Clone());
}

std::unique_ptr<IBrush> Brush_Gdiplus::Clone() const {
  return std::make_unique<Brush_Gdiplus>(*this);
}

Gdiplus::Brush* Brush_Gdiplus::GetBrush() const {
  if (solid_) return solid_.get();
  return texture_.get();
}

}  // namespace ui
