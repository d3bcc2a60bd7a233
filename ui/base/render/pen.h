#pragma once

#include <memory>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

// A pen for lines, outlines and path hit tests. Widths are in world units (pixels without a
// transform). Cap, join and dash values are GDI+'s, passed through unchanged. Setters return the
// GDI+ status (Ok = 0) and never throw. UI thread only.
class IPen : public kbase::SupportWeakCallback {
 public:
  explicit IPen(Gdiplus::ARGB color) : color_(color) {}
  ~IPen() override = default;

  // A new pen with the same colour, width, caps, join and dash style; owned by the caller.
  virtual std::unique_ptr<IPen> Clone() const = 0;
  virtual Gdiplus::Status SetWidth(int width) = 0;
  // The width truncated towards zero.
  virtual int GetWidth() const = 0;
  virtual Gdiplus::Status SetColor(Gdiplus::ARGB color) = 0;
  // The colour last given, not read back from the drawing library.
  Gdiplus::ARGB GetColor() const { return color_; }

  virtual Gdiplus::Status SetStartCap(Gdiplus::LineCap cap) = 0;
  virtual Gdiplus::Status SetEndCap(Gdiplus::LineCap cap) = 0;
  virtual Gdiplus::Status SetDashCap(Gdiplus::DashCap cap) = 0;
  virtual Gdiplus::LineCap GetStartCap() const = 0;
  virtual Gdiplus::LineCap GetEndCap() const = 0;
  virtual Gdiplus::DashCap GetDashCap() const = 0;
  virtual Gdiplus::Status SetLineJoin(Gdiplus::LineJoin join) = 0;
  virtual Gdiplus::LineJoin GetLineJoin() const = 0;
  virtual Gdiplus::Status SetDashStyle(Gdiplus::DashStyle style) = 0;
  virtual Gdiplus::DashStyle GetDashStyle() const = 0;

 protected:
  Gdiplus::ARGB color_;
};

}  // namespace ui
