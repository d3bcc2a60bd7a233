#pragma once

#include <memory>

#include "ui/base/render/pen.h"

namespace ui {

// IPen on a GDI+ pen in world units.
class Pen_GdiPlus : public IPen {
 public:
  Pen_GdiPlus(Gdiplus::ARGB color, int width);
  Pen_GdiPlus(const Pen_GdiPlus& other);
  Pen_GdiPlus& operator=(const Pen_GdiPlus&) = delete;

  std::unique_ptr<IPen> Clone() const override;
  Gdiplus::Status SetWidth(int width) override;
  int GetWidth() const override;
  Gdiplus::Status SetColor(Gdiplus::ARGB color) override;
  Gdiplus::Status SetStartCap(Gdiplus::LineCap cap) override;
  Gdiplus::Status SetEndCap(Gdiplus::LineCap cap) override;
  Gdiplus::Status SetDashCap(Gdiplus::DashCap cap) override;
  Gdiplus::LineCap GetStartCap() const override;
  Gdiplus::LineCap GetEndCap() const override;
  Gdiplus::DashCap GetDashCap() const override;
  Gdiplus::Status SetLineJoin(Gdiplus::LineJoin join) override;
  Gdiplus::LineJoin GetLineJoin() const override;
  Gdiplus::Status SetDashStyle(Gdiplus::DashStyle style) override;
  Gdiplus::DashStyle GetDashStyle() const override;

  // The drawing library's pen, for the render context and paths.
  Gdiplus::Pen* GetPen() const { return pen_.get(); }

 private:
  std::unique_ptr<Gdiplus::Pen> pen_;
};

}  // namespace ui
