#include "ui/controls/shadow/shadow_box.h"

#include "ui/controls/layout/layout.h"

namespace ui {

ShadowBox::ShadowBox() : Box(new Layout) {}

void ShadowBox::PaintLayers(IRenderContext* render, const RECT& paint_rect) {
  const RECT body = GetPaddingPos();
  const bool inside_body = paint_rect.left >= body.left && paint_rect.top >= body.top &&
                           paint_rect.right <= body.right && paint_rect.bottom <= body.bottom;
  if (inside_body) return;
  Control::PaintLayers(render, paint_rect);
}

}  // namespace ui
