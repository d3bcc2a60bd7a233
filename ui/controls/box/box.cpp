#include "ui/controls/box/box.h"

#include <algorithm>

#include "ui/controls/core/window_link.h"
#include "ui/controls/layout/layout.h"

namespace ui {

namespace {

bool IsAuto(int size) { return size == kSizeAuto; }

// A child measured again by every pass may come out of the next one at another size.
bool AwaitsEstimate(const Control* child) {
  const bool measured = IsAuto(child->GetFixedWidth()) || IsAuto(child->GetFixedHeight());
  return child->IsVisible() && measured && child->IsReEstimateSize();
}

}  // namespace

Box::Box(Layout* layout) : layout_(layout ? layout : new Layout()) { layout_->SetOwner(this); }

Box::~Box() {
  // Nothing is handled any more: children go at once, not through the window's queue.
  delayed_destroy_ = false;
  std::vector<Control*> children;
  children.swap(items_);
  if (!auto_destroy_child_) return;
  for (Control* child : children) delete child;
}

void Box::SetWindow(Window* window, Box* parent, bool init) {
  for (Control* child : items_) child->SetWindow(window, this, init);
  Control::SetWindow(window, parent, init);
}

SIZE Box::EstimateSize(SIZE available) {
  if (!IsAuto(fixed_width_) && !IsAuto(fixed_height_)) return {fixed_width_, fixed_height_};
  if (!re_estimate_size_) return estimated_size_;
  const RECT padding = layout_->GetPadding();
  available.cx -= padding.left + padding.right;
  available.cy -= padding.top + padding.bottom;
  const SIZE content = layout_->EstimateSizeByChild(items_, available);
  SIZE result = {fixed_width_, fixed_height_};
  if (IsAuto(fixed_width_)) result.cx = content.cx;
  if (IsAuto(fixed_height_)) result.cy = content.cy;
  re_estimate_size_ = false;
  for (Control* child : items_) {
    const bool child_auto = IsAuto(child->GetFixedWidth()) || IsAuto(child->GetFixedHeight());
    if (child->IsVisible() && child_auto && child->IsReEstimateSize()) {
      re_estimate_size_ = true;
      break;
    }
  }
  estimated_size_ = result;
  return result;
}

void Box::SetPos(RECT rect) {
  const bool marked = arrange_needed_;
  const bool moved = UpdatePos(rect);
  if (items_.empty()) return;
  // Nothing below marked either: the window's walk and a parent's pass reach marks alike.
  if (!moved && !marked && children_placed_ && !arrange_pending_below_) return;
  // Set before the pass: a child that changes on the way undoes it.
  children_placed_ = true;
  ArrangeChildren(GetPaddingPos());
  if (std::any_of(items_.begin(), items_.end(), AwaitsEstimate)) children_placed_ = false;
}

SIZE Box::ArrangeChildren(RECT rect) {
  // Cleared before the pass: a child that changes on the way marks the box again.
  const bool marks_below = arrange_pending_below_;
  arrange_pending_below_ = false;
  const SIZE size = layout_->ArrangeChild(items_, rect);
  if (!marks_below) return size;
  // A child the pass left where it stood (the layout only appended) has not laid out what it
  // holds, and the window's search no longer passes through this box to find it.
  for (size_t i = 0; i < items_.size(); ++i) {
    Control* child = items_[i];
    if (child->IsVisible() && child->IsArrangePending()) child->SetPos(child->GetPos(true));
  }
  return size;
}

void Box::Arrange() {
  ForgetOwnPlacement();
  Control::Arrange();
}

void Box::ArrangeSelf() {
  ForgetOwnPlacement();
  Control::ArrangeSelf();
}

void Box::ForgetOwnPlacement() {
  // Even while hidden: the box may be shown again at the same rectangle.
  children_placed_ = false;
  // A box asked to lay itself out may have children that changed without saying so (a tree
  // node's visibility follows its parent's expansion); only an append keeps the others' places.
  if (!keeping_places_) layout_->ForgetPlacement();
}

void Box::ForgetChildPlacement() {
  children_placed_ = false;
  layout_->ForgetPlacement();
}

void Box::PropagateInternVisible() {
  const bool visible = IsVisible();
  for (Control* child : items_) child->SetInternVisible(visible);
}

void Box::SetInternVisible(bool visible) {
  Control::SetInternVisible(visible);
  PropagateInternVisible();
}

void Box::SetVisible(bool visible) {
  Control::SetVisible(visible);
  PropagateInternVisible();
}

void Box::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  Control::SetEnabled(enabled);
  for (Control* child : items_) child->SetEnabled(enabled);
  if (!items_.empty()) Invalidate();
}

Control* Box::FindControl(FindProc proc, void* data, UINT flags, int scroll_x, int scroll_y) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  const bool hit_test = (flags & kFindHitTest) != 0;
  if (hit_test) {
    const POINT* point = static_cast<const POINT*>(data);
    if (!PtInRect(&pos_, *point)) return nullptr;
    if (!mouse_child_enabled_) return Control::FindControl(proc, data, flags);
  }
  const bool pending_only = (flags & kFindArrangePending) != 0;
  if (pending_only && !arrange_pending_below_) return Control::FindControl(proc, data, flags);
  if (flags & kFindMeFirst) {
    if (Control* found = Control::FindControl(proc, data, flags)) return found;
  }
  const RECT inner = GetPaddingPos();
  POINT moved = {0, 0};
  void* child_data = data;
  if (hit_test) {
    moved = *static_cast<const POINT*>(data);
    moved.x += scroll_x;
    moved.y += scroll_y;
    child_data = &moved;
  }
  // The box's own children, whatever a subclass counts as its items (a combo counts its list's).
  const std::pair<int, int> range =
      hit_test ? ChildrenAt(moved) : std::pair<int, int>{0, static_cast<int>(items_.size())};
  const bool top_first = (flags & kFindTopFirst) != 0;
  for (int i = range.first; i < range.second; ++i) {
    Control* child = items_[top_first ? range.first + range.second - 1 - i : i];
    if (pending_only && !child->IsArrangePending()) continue;
    Control* found = child->FindControl(proc, child_data, flags, 0, 0);
    if (!found) continue;
    // A child reaching into the padding is hit there only when it floats over it.
    if (!hit_test || found->IsFloat() || PtInRect(&inner, *static_cast<const POINT*>(data))) {
      return found;
    }
  }
  if (pending_only) arrange_pending_below_ = false;
  if (flags & kFindMeFirst) return nullptr;
  return Control::FindControl(proc, data, flags);
}

void Box::DispatchEvent(EventArgs& args) {
  if (args.type <= kEventInternalKillFocus) {
    HandleEvent(args);
    return;
  }
  const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
  bool result = true;
  if (args.sender == this || !args.sender) {
    if (!RunChains(events_, args.type, args, alive, &result)) return;
    if (result && !RunChains(xml_events_, args.type, args, alive, &result)) return;
  }
  if (!RunChains(bubbled_events_, args.type, args, alive, &result)) return;
  if (result && !RunChains(xml_bubbled_events_, args.type, args, alive, &result)) return;
  if (result) HandleEvent(args);
}

void Box::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (layout_->SetAttribute(name, value)) return;
  if (name == L"mousechild") {
    SetMouseChildEnabled(value == L"true");
    return;
  }
  Control::SetAttribute(name, value);
}

void Box::PaintChild(IRenderContext* render, const RECT& paint_rect) {
  RECT overlap;
  if (!IntersectRect(&overlap, &paint_rect, &pos_)) return;
  for (Control* child : items_) {
    if (child->IsVisible()) child->Paint(render, paint_rect);
  }
}

void Box::LoadImages() {
  Control::LoadImages();
  for (Control* child : items_) child->LoadImages();
}

void Box::UnloadImages() {
  Control::UnloadImages();
  for (Control* child : items_) child->UnloadImages();
}

void Box::ClearImages() {
  Control::ClearImages();
  for (Control* child : items_) child->ClearImages();
}

int Box::FindSelectable(int index, bool forward) const {
  const int count = GetCount();
  if (count == 0) return -1;
  index = std::min(std::max(index, 0), count - 1);
  auto selectable = [this](int i) {
    const Control* child = items_[i];
    return child->IsSelectableItem() && child->IsVisible() && child->IsEnabled();
  };
  if (forward) {
    for (int i = index; i < count; ++i) {
      if (selectable(i)) return i;
    }
    return -1;
  }
  for (int i = index; i >= 0; --i) {
    if (selectable(i)) return i;
  }
  // Nothing before: the first selectable item overall (Home lands on the first item).
  return FindSelectable(0, true);
}

Control* Box::GetItemAt(int index) const {
  if (static_cast<unsigned>(index) >= items_.size()) return nullptr;
  return items_[index];
}

int Box::GetItemIndex(Control* control) const {
  auto it = std::find(items_.begin(), items_.end(), control);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool Box::SetItemIndex(Control* control, int new_index) {
  const int old_index = GetItemIndex(control);
  if (static_cast<unsigned>(new_index) >= items_.size() || old_index < 0) return false;
  ForgetChildPlacement();
  Arrange();
  items_.erase(items_.begin() + old_index);
  items_.insert(items_.begin() + new_index, control);
  return true;
}

void Box::AdoptChild(Control* control) {
  children_placed_ = false;
  // The box's next pass places the new child, which then lays out what it holds: its marks are
  // not the box's to keep, or a pass that only appends would look through every child for them.
  const bool marks_below = arrange_pending_below_;
  if (window_) {
    window_link::BindControlTree(window_, control, this);
  } else {
    // A tree built before it has a window still needs its parent links, so events bubble and
    // size changes reach the parent; the window's attachment later runs Init.
    control->SetWindow(nullptr, this, false);
  }
  arrange_pending_below_ = marks_below;
  if (!IsVisible()) {
    control->SetInternVisible(false);
  } else {
    keeping_places_ = true;
    Arrange();
    keeping_places_ = false;
  }
}

bool Box::Add(Control* control) {
  if (!control) return false;
  AdoptChild(control);
  items_.push_back(control);
  return true;
}

bool Box::AddAt(Control* control, int index) {
  if (!control || index < 0 || index > static_cast<int>(items_.size())) return false;
  // Those after the new child move down; one at the end only follows them.
  if (index < static_cast<int>(items_.size())) ForgetChildPlacement();
  AdoptChild(control);
  items_.insert(items_.begin() + index, control);
  return true;
}

void Box::DestroyChild(Control* child) {
  if (delayed_destroy_ && window_) {
    child->SetWindow(window_, nullptr, false);
    window_link::QueueDelayedDelete(window_, child);
  } else {
    delete child;
  }
}

bool Box::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (!control || index < 0) return false;
  const bool keeps_places = index == 0 && KeepPlacesWithoutFirst();
  if (!keeps_places) ForgetChildPlacement();
  keeping_places_ = keeps_places;
  Arrange();
  keeping_places_ = false;
  items_.erase(items_.begin() + index);
  if (auto_destroy_child_) DestroyChild(control);
  return true;
}

bool Box::RemoveAt(int index) {
  Control* control = GetItemAt(index);
  return control ? Remove(control) : false;
}

void Box::RemoveAll() {
  ForgetChildPlacement();
  std::vector<Control*> children;
  children.swap(items_);
  if (auto_destroy_child_) {
    for (Control* child : children) DestroyChild(child);
  }
  Arrange();
}

void Box::ReSetLayout(Layout* layout) {
  layout_.reset(layout ? layout : new Layout());
  layout_->SetOwner(this);
  children_placed_ = false;
}

RECT Box::GetPaddingPos() const {
  RECT pos = GetPos(true);
  const RECT padding = layout_->GetPadding();
  pos.left += padding.left;
  pos.top += padding.top;
  pos.right -= padding.right;
  pos.bottom -= padding.bottom;
  return pos;
}

void Box::AttachBubbledEvent(EventType type, EventCallback handler) {
  bubbled_events_[type].Add(std::move(handler));
}

void Box::AttachXmlBubbledEvent(EventType type, EventCallback handler) {
  xml_bubbled_events_[type].Add(std::move(handler));
}

}  // namespace ui
