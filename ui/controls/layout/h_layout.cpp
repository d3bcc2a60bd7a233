#include "ui/controls/layout/h_layout.h"

#include "ui/controls/layout/linear_arrange.h"

namespace ui {

SIZE HLayout::ArrangeChild(const std::vector<Control*>& items, RECT rect) {
  return linear_arrange::Arrange(items, rect, child_margin_, false, &placement_,
                                 &placement_generation_);
}

SIZE HLayout::EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) {
  return linear_arrange::Estimate(items, available, child_margin_, padding_, false);
}

}  // namespace ui
