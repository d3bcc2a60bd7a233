#pragma once

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

// An affine transform for paths. Every operation is applied before the existing transform
// (prepend order), so the last one called acts first on a point. Returns the GDI+ status.
// UI thread only.
class IMatrix : public kbase::SupportWeakCallback {
 public:
  ~IMatrix() override = default;

  virtual Gdiplus::Status Translate(int dx, int dy) = 0;
  virtual Gdiplus::Status Scale(int sx, int sy) = 0;
  // Angles in degrees, clockwise on screen (y grows downwards).
  virtual Gdiplus::Status Rotate(float angle) = 0;
  virtual Gdiplus::Status RotateAt(float angle, const POINT& center) = 0;
};

}  // namespace ui
