#include "ui/controls/virtuallist/virtual_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "ui/controls/virtuallist/virtual_list_box.h"

namespace ui {

SIZE VirtualLayout::ArrangeChild(const std::vector<Control*>& items, RECT rect) {
  ForgetPlacement();
  auto* list = dynamic_cast<VirtualListBox*>(GetOwner());
  if (!list || list->GetRowCount() <= static_cast<int>(items.size())) {
    return VLayout::ArrangeChild(items, rect);
  }
  // Taken in 64 bits: a huge row count must not wrap the scroll range negative.
  const int64_t height = int64_t{list->GetElementHeight()} * list->GetRowCount();
  const SIZE needed = {rect.right - rect.left,
                       static_cast<LONG>(std::clamp<int64_t>(height, 0, INT_MAX))};
  list->ReuseElements(false);
  return needed;
}

}  // namespace ui
