#pragma once

#include "ui/base/callback/weak_callback.h"
#include "ui/base/render/gdiplus_headers.h"

namespace ui {

// Narrows a DC's clip to a rectangle given in the DC's logical coordinates (its window origin is
// taken into account). Each Create saves the DC state first and each ClearClip restores the
// latest one, so clips nest and must be closed in last-in first-out order on the same DC.
// Every operation does nothing for a null DC. UI thread only.
class IClip : public kbase::SupportWeakCallback {
 public:
  ~IClip() override = default;

  virtual void CreateClip(HDC dc, const RECT& rect) = 0;
  // A rectangle with corners rounded by a width x height ellipse.
  virtual void CreateRoundClip(HDC dc, const RECT& rect, int width, int height) = 0;
  virtual void ClearClip(HDC dc) = 0;
};

}  // namespace ui
