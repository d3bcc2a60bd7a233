#include "ui/controls/virtuallist/virtual_list_box.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "ui/controls/scroll/scroll_bar.h"
#include "ui/controls/virtuallist/virtual_layout.h"

namespace ui {

VirtualListBox::VirtualListBox(Layout* layout, AnimationClock* clock)
    : ListBox(layout ? layout : new VirtualLayout, clock) {}

int VirtualListBox::GetRowCount() const {
  return data_provider_ ? std::max(data_provider_->GetElementCount(), 0) : 0;
}

bool VirtualListBox::AddElement() {
  Control* element = data_provider_->CreateElement();
  return element && Add(element);
}

void VirtualListBox::FillElement(Control* element, int row) {
  if (data_provider_) data_provider_->FillElement(element, row);
}

void VirtualListBox::InitElement(int max_count) {
  max_element_count_ = max_count;
  if (!data_provider_) return;
  const int count = std::min(max_count, GetRowCount());
  for (int i = 0; i < count; ++i) {
    if (!AddElement()) return;
    FillElement(items_.back(), i);
  }
}

void VirtualListBox::Refresh() {
  const int rows = GetRowCount();
  const int pool_before = GetCount();
  if (rows < pool_before) {
    for (int i = rows; i < pool_before; ++i) RemoveItemAt(0);
  } else if (rows > pool_before) {
    const int wanted = std::min(rows, max_element_count_);
    while (GetCount() < wanted && AddElement()) {
    }
  }
  if (GetCount() < rows) {
    ReuseElements(true);
    Arrange();
    return;
  }
  // Every row has its own element again: a pool that was spread over the rows goes back into
  // plain order at once.
  if (pool_before == max_element_count_) layout_->ArrangeChild(items_, GetPaddingPos());
  for (int i = 0; i < GetCount(); ++i) FillElement(items_[i], i);
}

void VirtualListBox::RemoveAll() {
  ListBox::RemoveAll();
  ScrollBar* bar = GetVerticalScrollBar();
  if (bar && bar->GetScrollPos() != 0) {
    bar->SetScrollPos(0);
    Arrange();
  }
  last_scroll_y_ = 0;
  reuse_started_ = false;
}

void VirtualListBox::SetPos(RECT rect) {
  const RECT old = GetPos(true);
  ListBox::SetPos(rect);
  if (!EqualRect(&old, &rect) && HasMoreRowsThanElements()) ReuseElements(true);
}

void VirtualListBox::SetScrollPos(SIZE pos) {
  last_scroll_y_ = GetScrollOffset().cy;
  ListBox::SetScrollPos(pos);
  if (HasMoreRowsThanElements()) ReuseElements(false);
}

void VirtualListBox::HandleEvent(EventArgs& args) {
  if (ForwardMouseEventWhenDisabled(args)) return;
  const bool arrow = args.chKey == VK_UP || args.chKey == VK_DOWN;
  if (args.type == kEventKeyDown) {
    if (args.chKey == VK_END) {
      SetScrollPosY(GetScrollRange().cy);
      return;
    }
    if (args.chKey == VK_HOME) {
      SetScrollPosY(0);
      return;
    }
    if (arrow) {
      OnKeyDown(args.chKey);
      return;
    }
  } else if (args.type == kEventKeyUp && arrow) {
    OnKeyUp(args.chKey);
    return;
  }
  ListBox::HandleEvent(args);
}

// --- the pool ---

bool VirtualListBox::NeedReuse(int* direction) {
  *direction = -1;
  if (!reuse_started_) {
    reuse_started_ = true;
    return true;
  }
  const RECT list = GetPos(true);
  if (items_.empty() || !HasMoreRowsThanElements() || list.right - list.left <= 0) return false;
  const int y = GetScrollOffset().cy;
  if (y >= last_scroll_y_) {
    // The pool no longer reaches the bottom of the view.
    if (int64_t{items_.back()->GetPos(true).bottom} - list.bottom - y < 0) {
      *direction = 1;
      return true;
    }
    return false;
  }
  // The pool no longer reaches the top of the view.
  return y < items_.front()->GetPos(true).top - list.top;
}

void VirtualListBox::PlaceElement(Control* element, int row) const {
  const RECT list = GetPos(true);
  const int64_t top = int64_t{list.top} + int64_t{element_height_} * row;
  const int clamped = static_cast<int>(std::clamp<int64_t>(top, INT_MIN / 2, INT_MAX / 2));
  element->SetPos({list.left, clamped, list.right, clamped + element_height_});
}

void VirtualListBox::ReuseElements(bool force) {
  int direction = -1;
  if (!NeedReuse(&direction) && !force) return;
  if (force) direction = -1;
  const int pool = GetCount();
  if (pool == 0 || element_height_ <= 0) return;
  const int rows = GetRowCount();
  const int first = GetScrollOffset().cy / element_height_;
  if (direction > 0) {
    for (int j = 0; j < pool; ++j) {
      const int row = first + j;
      PlaceElement(items_[j], row);
      if (row < rows) FillElement(items_[j], row);
    }
    return;
  }
  const RECT list = GetPos(true);
  const int rows_in_view = (list.bottom - list.top) / element_height_;
  // Spare elements wait above the first row in view; a pool too small for the view has none.
  const int spare = std::max(pool - rows_in_view - 1, 0);
  for (int j = 0; j < pool; ++j) {
    const int row = first - spare + j;
    PlaceElement(items_[j], row);
    if (j < spare ? row >= 0 : row < rows) FillElement(items_[j], row);
  }
}

}  // namespace ui
