#include "ui/controls/render/gdiplus/pen_gdiplus.h"

namespace ui {

Pen_GdiPlus::Pen_GdiPlus(Gdiplus::ARGB color, int width)
    : IPen(color),
      pen_(std::make_unique<Gdiplus::Pen>(Gdiplus::Color(color),
                                          static_cast<Gdiplus::REAL>(width))) {}

Pen_GdiPlus::Pen_GdiPlus(const Pen_GdiPlus& other) : IPen(other.color_), pen_(other.pen_->Clone()) {
  // A failed clone (out of memory) must not leave a pen that crashes every later call.
  if (!pen_) pen_ = std::make_unique<Gdiplus::Pen>(Gdiplus::Color(color_), other.pen_->GetWidth());
}

std::unique_ptr<IPen> Pen_GdiPlus::Clone() const { return std::make_unique<Pen_GdiPlus>(*this); }

Gdiplus::Status Pen_GdiPlus::SetWidth(int width) {
  return pen_->SetWidth(static_cast<Gdiplus::REAL>(width));
}

int Pen_GdiPlus::GetWidth() const { return static_cast<int>(pen_->GetWidth()); }

Gdiplus::Status Pen_GdiPlus::SetColor(Gdiplus::ARGB color) {
  color_ = color;
  return pen_->SetColor(Gdiplus::Color(color));
}

Gdiplus::Status Pen_GdiPlus::SetStartCap(Gdiplus::LineCap cap) { return pen_->SetStartCap(cap); }

Gdiplus::Status Pen_GdiPlus::SetEndCap(Gdiplus::LineCap cap) { return pen_->SetEndCap(cap); }

Gdiplus::Status Pen_GdiPlus::SetDashCap(Gdiplus::DashCap cap) { return pen_->SetDashCap(cap); }

Gdiplus::LineCap Pen_GdiPlus::GetStartCap() const { return pen_->GetStartCap(); }

Gdiplus::LineCap Pen_GdiPlus::GetEndCap() const { return pen_->GetEndCap(); }

Gdiplus::DashCap Pen_GdiPlus::GetDashCap() const { return pen_->GetDashCap(); }

Gdiplus::Status Pen_GdiPlus::SetLineJoin(Gdiplus::LineJoin join) { return pen_->SetLineJoin(join); }

Gdiplus::LineJoin Pen_GdiPlus::GetLineJoin() const { return pen_->GetLineJoin(); }

Gdiplus::Status Pen_GdiPlus::SetDashStyle(Gdiplus::DashStyle style) {
  return pen_->SetDashStyle(style);
}

Gdiplus::DashStyle Pen_GdiPlus::GetDashStyle() const { return pen_->GetDashStyle(); }

}  // namespace ui
