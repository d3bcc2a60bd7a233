#pragma once

#include <windows.h>

#include "ui/base/callback/weak_callback.h"

namespace ui {

// The control side of the control animations: the properties the players drive and what the
// manager needs besides. ui::Control implements it; the animations hold only weak references to
// the owner's flag, so a late tick after the control is gone does nothing.
class AnimationOwner : public virtual kbase::SupportWeakCallback {
 public:
  ~AnimationOwner() override = default;

  virtual void SetAlpha(int alpha) = 0;
  virtual void SetHotAlpha(int alpha) = 0;
  virtual void SetFixedWidth(int width, bool arrange, bool dpi_scale) = 0;
  virtual void SetFixedHeight(int height, bool dpi_scale) = 0;
  virtual void SetRenderOffsetX(int offset) = 0;
  virtual void SetRenderOffsetY(int offset) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void Invalidate() = 0;
  // The size the owner would take within available.
  virtual SIZE EstimateSize(SIZE available) = 0;
};

}  // namespace ui
