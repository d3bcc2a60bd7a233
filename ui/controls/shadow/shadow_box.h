#pragma once

#include "ui/controls/box/box.h"

namespace ui {

// The box that wraps a window's real root to draw the shadow: its layout padding is the shadow
// width and its background image the nine-patch shadow bitmap. Its one child is the root.
//
// Threads: the window's thread only. Ownership: the window owns it as its root control.
class ShadowBox : public Box {
 public:
  ShadowBox();

  // The shadow bitmap lies only in the margin, so a dirty rectangle inside the body (the
  // padding rectangle) paints nothing of the box itself.
  void PaintLayers(IRenderContext* render, const RECT& paint_rect) override;
};

}  // namespace ui
