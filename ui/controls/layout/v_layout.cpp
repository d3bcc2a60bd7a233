#include "ui/controls/layout/v_layout.h"

#include "ui/controls/box/box.h"
#include "ui/controls/layout/linear_arrange.h"

namespace ui {

SIZE VLayout::ArrangeChild(const std::vector<Control*>& items, RECT rect) {
  return linear_arrange::Arrange(items, rect, child_margin_, true, &placement_,
                                 &placement_generation_);
}

SIZE VLayout::EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) {
  return linear_arrange::Estimate(items, available, child_margin_, padding_, true);
}

int VLayout::DropFirst(const std::vector<Control*>& items, int limit) {
  return linear_arrange::DropFirst(items, true, &placement_, placement_generation_, limit);
}

bool VLayout::IsColumn() const {
  // Children added since the last pass have not been placed yet.
  return placement_.kept && placement_.stacked && placement_.generation == placement_generation_ &&
         owner_ && owner_->items().size() == placement_.count;
}

}  // namespace ui
