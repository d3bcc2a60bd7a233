#include "ui/controls/list/list_box.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "ui/controls/core/window_link.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {

namespace {

ListContainerElement* AsElement(Control* control) {
  return dynamic_cast<ListContainerElement*>(control);
}

}  // namespace

ListBox::ListBox(Layout* layout, AnimationClock* clock) : ScrollableBox(layout, clock) {}

ListContainerElement* ListBox::ElementAt(int index) const { return AsElement(GetItemAt(index)); }

void ListBox::RenumberElements(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, GetCount() - 1);
  for (int i = first; i <= last; ++i) {
    if (ListContainerElement* element = ElementAt(i)) element->SetIndex(i);
  }
}

void ListBox::ReleaseElement(Control* control) {
  if (ListContainerElement* element = AsElement(control)) {
    element->SetOwner(nullptr);
    element->SetIndex(-1);
  }
}

// --- selection ---

bool ListBox::SelectItem(int index, bool take_focus, bool trigger) {
  const int old_sel = cur_sel_;
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  if (old_sel >= 0) {
    cur_sel_ = -1;
    // The option's own operation: the element's override would only ask the list again.
    if (ListContainerElement* old_item = ElementAt(old_sel)) {
      old_item->OptionTemplate<Box>::Selected(false, trigger);
      if (alive.expired()) return false;
    }
  }
  if (index < 0) return false;
  Control* item = GetItemAt(index);
  ListContainerElement* element = AsElement(item);
  if (!element || !item->IsVisible() || !item->IsEnabled()) return false;
  cur_sel_ = index;
  element->OptionTemplate<Box>::Selected(true, trigger);
  if (alive.expired()) return false;
  EnsureVisible(item->GetPos(true));
  if (take_focus) {
    item->SetFocus();
    if (alive.expired()) return false;
  }
  if (trigger && GetWindow()) {
    window_link::DeliverEvent(GetWindow(), this, kEventSelect, static_cast<WPARAM>(index),
                              static_cast<LPARAM>(old_sel));
  }
  return true;
}

int ListBox::NextSelectable() const {
  const int next = FindSelectable(cur_sel_ + 1, true);
  return next >= 0 ? next : FindSelectable(cur_sel_, false);
}

int ListBox::PreviousSelectable() const { return FindSelectable(cur_sel_ - 1, false); }

void ListBox::HandleItemEvent(EventArgs& args) { DispatchEvent(args); }

void ListBox::StopScroll() { StopScrollAnimation(); }

// --- scrolling items into view ---

void ListBox::EnsureVisible(RECT rect) {
  const SIZE scroll = GetScrollOffset();
  OffsetRect(&rect, -scroll.cx, -scroll.cy);
  RECT area = GetPaddingPos();
  const ScrollBar* horizontal = GetHorizontalScrollBar();
  if (horizontal && horizontal->IsVisible()) area.bottom -= horizontal->GetFixedHeight();
  if (rect.left >= area.left && rect.top >= area.top && rect.right <= area.right &&
      rect.bottom <= area.bottom) {
    // A list inside a list item: the outer list scrolls that item into its own view.
    auto* parent_element = dynamic_cast<ListContainerElement*>(GetParent());
    if (parent_element && parent_element->GetOwner()) {
      parent_element->GetOwner()->EnsureVisible(rect);
    }
    return;
  }
  int dx = rect.left < area.left ? rect.left - area.left : 0;
  if (rect.right > area.right) dx = rect.right - area.right;
  int dy = rect.top < area.top ? rect.top - area.top : 0;
  if (rect.bottom > area.bottom) dy = rect.bottom - area.bottom;
  const SIZE pos = GetScrollPos();
  SetScrollPos({pos.cx + dx, pos.cy + dy});
}

bool ListBox::ScrollItemToTop(const std::wstring& name) {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&name](Control* child) { return child->GetName() == name; });
  if (it == items_.end() || GetScrollRange().cy == 0) return false;
  // The content starts below the top by the layout's lead (children kept where they stood).
  const int content_top = GetPos(true).top + layout_->GetPadding().top + layout_->GetLead();
  const int y = (*it)->GetPos(true).top - content_top;
  if (y < 0) return false;
  SetScrollPos({GetScrollPos().cx, y});
  return true;
}

Control* ListBox::GetTopItem() {
  // Bottoms are exclusive: an item that ends at the view's top is wholly scrolled out.
  const int view_top = GetPos(true).top + layout_->GetPadding().top + GetScrollOffset().cy;
  for (Control* child : items_) {
    if (child->IsVisible() && !child->IsFloat() && child->GetPos(true).bottom > view_top) {
      return child;
    }
  }
  return nullptr;
}

// --- attributes and events ---

void ListBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"scrollselect") {
    scroll_select_ = value == L"true";
  } else {
    ScrollableBox::SetAttribute(name, value);
  }
}

void ListBox::DispatchEvent(EventArgs& args) { Box::DispatchEvent(args); }

bool ListBox::ForwardMouseEventWhenDisabled(EventArgs& args) {
  if (IsMouseEnabled() || !IsMouseEvent(args.type)) return false;
  if (GetParent()) {
    GetParent()->DispatchEvent(args);
  } else {
    ScrollableBox::HandleEvent(args);
  }
  return true;
}

void ListBox::HandleEvent(EventArgs& args) {
  if (ForwardMouseEventWhenDisabled(args)) return;
  switch (args.type) {
    case kEventKeyDown:
      switch (args.chKey) {
        case VK_UP:
          SelectItem(PreviousSelectable(), true, true);
          return;
        case VK_DOWN:
          SelectItem(NextSelectable(), true, true);
          return;
        case VK_HOME:
          SelectItem(FindSelectable(0, false), true, true);
          return;
        // Backward from the last item: a hidden or disabled last item must not clear the
        // selection.
        case VK_END:
          SelectItem(FindSelectable(GetCount() - 1, false), true, true);
          return;
        default:
          break;
      }
      break;
    case kEventMouseButtonDown:
    case kEventMouseButtonUp:
      return;
    case kEventMouseScrollWheel:
      if (!scroll_select_) break;
      if (static_cast<int>(args.wParam) > 0) {
        SelectItem(PreviousSelectable(), true, true);
      } else {
        SelectItem(NextSelectable(), true, true);
      }
      return;
    default:
      break;
  }
  ScrollableBox::HandleEvent(args);
}

bool ListBox::ButtonDown(EventArgs& args) {
  const bool result = Control::ButtonDown(args);
  StopScroll();
  return result;
}

// --- items ---

bool ListBox::SetItemIndex(Control* control, int new_index) {
  const int old_index = GetItemIndex(control);
  if (old_index < 0) return false;
  if (old_index == new_index) return true;
  Control* selected = cur_sel_ >= 0 ? GetItemAt(cur_sel_) : nullptr;
  if (!Box::SetItemIndex(control, new_index)) return false;
  RenumberElements(std::min(old_index, new_index), std::max(old_index, new_index));
  if (selected) cur_sel_ = GetItemIndex(selected);
  return true;
}

bool ListBox::Add(Control* control) {
  if (ListContainerElement* element = AsElement(control)) {
    element->SetOwner(this);
    element->SetIndex(GetCount());
  }
  return Box::Add(control);
}

bool ListBox::AddAt(Control* control, int index) {
  if (!control || index < 0 || index > GetCount()) return false;
  if (ListContainerElement* element = AsElement(control)) element->SetOwner(this);
  if (!Box::AddAt(control, index)) return false;
  RenumberElements(index, GetCount() - 1);
  if (cur_sel_ >= index) ++cur_sel_;
  return true;
}

bool ListBox::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  return RemoveItemAt(index);
}

bool ListBox::RemoveAt(int index) { return RemoveItemAt(index); }

bool ListBox::RemoveItemAt(int index) {
  Control* item = GetItemAt(index);
  if (!item) return false;
  ReleaseElement(item);
  if (!Box::Remove(item)) return false;
  if (index == 0 && index_origin_ < INT_MAX) {
    // Every index moves down by one; a long list that loses its oldest item on every add does
    // not renumber all of them each time.
    ++index_origin_;
  } else {
    RenumberElements(index, GetCount() - 1);
  }
  if (index == cur_sel_) {
    // The selected item is gone: nothing may be deselected in its name, so the list is
    // without selection until the neighbour is chosen.
    cur_sel_ = -1;
    if (select_next_when_active_removed_) SelectItem(FindSelectable(index, false), false, true);
  } else if (index < cur_sel_) {
    --cur_sel_;
  }
  return true;
}

void ListBox::RemoveAll() {
  cur_sel_ = -1;
  for (Control* child : items_) ReleaseElement(child);
  Box::RemoveAll();
  index_origin_ = 0;
}

}  // namespace ui
