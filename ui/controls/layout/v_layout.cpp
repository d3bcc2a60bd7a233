#include "ui/controls/layout/v_layout.h"

#include "ui/controls/layout/linear_arrange.h"

namespace ui {

SIZE VLayout::ArrangeChild(const std::vector<Control*>& items, RECT rect) {
  return linear_arrange::Arrange(items, rect, child_margin_, true);
}

SIZE VLayout::EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) {
  return linear_arrange::Estimate(items, available, child_margin_, padding_, true);
}

}  // namespace ui
