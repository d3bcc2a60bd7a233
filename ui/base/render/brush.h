#pragma once

#include <memory>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/bitmap.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

// A fill for paths: a solid colour or a tiled texture. UI thread only.
class IBrush : public kbase::SupportWeakCallback {
 public:
  explicit IBrush(Gdiplus::ARGB color) : color_(color) {}
  ~IBrush() override = default;

  // A new brush of the same colour or texture, owned by the caller.
  virtual std::unique_ptr<IBrush> Clone() const = 0;
  // The solid colour; 0 for a texture brush.
  Gdiplus::ARGB GetColor() const { return color_; }
  // A bitmap kept by the brush, or null; the brush keeps ownership.
  IBitmap* GetBitmap() const { return bitmap_.get(); }

 protected:
  Gdiplus::ARGB color_;
  std::unique_ptr<IBitmap> bitmap_;
};

}  // namespace ui
