#include "ui/controls/scrollbox/scrollable_box.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/render/render_context.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {
namespace {

// The first scrollable box painted in the process loads the images of its view once; later
// boxes get their pass from scrolling.
bool g_first_paint_pass = true;

// The end slide: accelerate over 30 % of the time, decelerate over the rest.
constexpr double kEndSlideSpeedUp = 0.3;
constexpr double kEndSlideSlowDown = 0.7;
constexpr double kEndSlideAcceleration = 0.003;

// The player derives a total time but has no cap of its own below its global maximum, so the
// end slide's time is derived here: with no constant phase the distance is
// a/2 * t1 * (t1 + t2) = a/2 * speed_up * T^2.
int EndSlideMilliseconds(int distance) {
  const double t = std::sqrt(distance / (0.5 * kEndSlideAcceleration * kEndSlideSpeedUp));
  return static_cast<int>(std::min<double>(std::ceil(t), ScrollableBox::kEndSlideMaxMilliseconds));
}

bool Flowing(const Control* child) { return child->IsVisible() && !child->IsFloat(); }

// Loads the images of a child that meets the band, unloads those of one that does not.
void PassImages(Control* child, const RECT& band) {
  const RECT child_pos = child->GetPos(true);
  RECT meet;
  if (IntersectRect(&meet, &child_pos, &band)) {
    child->LoadImages();
  } else {
    child->UnloadImages();
  }
}

RECT Inset(RECT rect, const RECT& padding) {
  rect.left += padding.left;
  rect.top += padding.top;
  rect.right -= padding.right;
  rect.bottom -= padding.bottom;
  return rect;
}

}  // namespace

ScrollableBox::ScrollableBox(Layout* layout, AnimationClock* clock)
    : Box(layout), scroll_animation_(clock), render_offset_animation_(clock) {
  scroll_animation_.Reset();
  render_offset_animation_.Reset();
}

ScrollableBox::~ScrollableBox() {
  // Players first: no tick may reach a half-destroyed box.
  scroll_animation_.Reset();
  render_offset_animation_.Reset();
  vertical_bar_.reset();
  horizontal_bar_.reset();
}

bool ScrollableBox::HasRange(const ScrollBar* bar) { return bar && bar->GetScrollRange() != 0; }

bool ScrollableBox::HasScrollRange(bool vertical_only) const {
  return HasRange(vertical_bar_.get()) || (!vertical_only && HasRange(horizontal_bar_.get()));
}

SIZE ScrollableBox::ScrollPos() const {
  SIZE pos = {0, 0};
  if (HasRange(horizontal_bar_.get())) pos.cx = static_cast<LONG>(horizontal_bar_->GetScrollPos());
  if (HasRange(vertical_bar_.get())) pos.cy = static_cast<LONG>(vertical_bar_->GetScrollPos());
  return pos;
}

SIZE ScrollableBox::ContentOffset() const {
  SIZE offset = ScrollPos();
  offset.cy += layout_->GetLead();
  return offset;
}

SIZE ScrollableBox::GetScrollRange() const {
  SIZE range = {0, 0};
  if (HasRange(horizontal_bar_.get())) {
    range.cx = static_cast<LONG>(horizontal_bar_->GetScrollRange());
  }
  if (HasRange(vertical_bar_.get())) range.cy = static_cast<LONG>(vertical_bar_->GetScrollRange());
  return range;
}

// --- bars and attributes ---

std::unique_ptr<ScrollBar> ScrollableBox::MakeBar(bool horizontal) {
  auto bar = std::make_unique<ScrollBar>();
  bar->SetVisible(false);
  bar->SetScrollRange(0);
  if (horizontal) bar->SetHorizontal(true);
  bar->SetOwner(this);
  bar->SetWindow(GetWindow(), nullptr, false);
  bar->SetClass(horizontal ? L"hscrollbar" : L"vscrollbar");
  return bar;
}

void ScrollableBox::EnableScrollBar(bool vertical, bool horizontal) {
  if (vertical && !vertical_bar_) vertical_bar_ = MakeBar(false);
  if (!vertical) vertical_bar_.reset();
  if (horizontal && !horizontal_bar_) horizontal_bar_ = MakeBar(true);
  if (!horizontal) horizontal_bar_.reset();
  Arrange();
}

void ScrollableBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool on = value == L"true";
  if (name == L"vscrollbar") {
    EnableScrollBar(on, horizontal_bar_ != nullptr);
  } else if (name == L"vscrollbarstyle") {
    EnableScrollBar(true, horizontal_bar_ != nullptr);
    vertical_bar_->ApplyAttributeList(value);
  } else if (name == L"hscrollbar") {
    EnableScrollBar(vertical_bar_ != nullptr, on);
  } else if (name == L"hscrollbarstyle") {
    EnableScrollBar(vertical_bar_ != nullptr, true);
    horizontal_bar_->ApplyAttributeList(value);
  } else if (name == L"scrollbarpadding") {
    RECT padding = {0, 0, 0, 0};
    ReadRect(value.c_str(), padding);
    DisplayScale::Instance().ScaleRectangle(padding);
    scroll_bar_padding_ = padding;
  } else if (name == L"vscrollunit") {
    ver_scroll_unit_ = _wtoi(value.c_str());
    DisplayScale::Instance().ScaleValue(ver_scroll_unit_);
  } else if (name == L"hscrollunit") {
    hor_scroll_unit_ = _wtoi(value.c_str());
    DisplayScale::Instance().ScaleValue(hor_scroll_unit_);
  } else if (name == L"scrollbarfloat") {
    scroll_bar_float_ = on;
  } else if (name == L"defaultdisplayscrollbar") {
    default_display_scroll_bar_ = on;
  } else if (name == L"holdend") {
    hold_end_ = on;
  } else {
    Box::SetAttribute(name, value);
  }
}

void ScrollableBox::SetWindow(Window* window, Box* parent, bool init) {
  if (vertical_bar_) vertical_bar_->SetWindow(window, this, init);
  if (horizontal_bar_) horizontal_bar_->SetWindow(window, this, init);
  Box::SetWindow(window, parent, init);
}

void ScrollableBox::SetMouseEnabled(bool enabled) {
  if (vertical_bar_) vertical_bar_->SetMouseEnabled(enabled);
  if (horizontal_bar_) horizontal_bar_->SetMouseEnabled(enabled);
  Control::SetMouseEnabled(enabled);
}

void ScrollableBox::LoadImages() {
  image_pass_.valid = false;
  Box::LoadImages();
}

void ScrollableBox::UnloadImages() {
  image_pass_.valid = false;
  Box::UnloadImages();
}

void ScrollableBox::ClearImages() {
  image_pass_.valid = false;
  Box::ClearImages();
  if (horizontal_bar_) horizontal_bar_->ClearImages();
  if (vertical_bar_) vertical_bar_->ClearImages();
}

// --- layout ---

void ScrollableBox::SetPos(RECT rect) {
  const bool at_end =
      hold_end_ && HasRange(vertical_bar_.get()) && ScrollPos().cy == GetScrollRange().cy;
  ArrangeInner(rect);
  if (at_end && HasRange(vertical_bar_.get())) EndDown(false, false);
}

void ScrollableBox::ArrangeInner(RECT rect) {
  Control::SetPos(rect);
  const SIZE required = CalcRequiredSize(Inset(rect, layout_->GetPadding()));
  ProcessVScrollBar(rect, required.cy);
  ProcessHScrollBar(rect, required.cx);
}

SIZE ScrollableBox::CalcRequiredSize(RECT inner) {
  if (items_.empty()) return {0, 0};
  if (!scroll_bar_float_) {
    if (HasRange(vertical_bar_.get())) inner.right -= vertical_bar_->GetFixedWidth();
    if (HasRange(horizontal_bar_.get())) inner.bottom -= horizontal_bar_->GetFixedHeight();
  }
  return ArrangeChildren(inner);
}

bool ScrollableBox::KeepPlacesWithoutFirst() {
  // The view must still scroll over where the others stand, so the content must still overflow
  // it without the first child.
  if (!HasRange(vertical_bar_.get())) return false;
  const int64_t range = vertical_bar_->GetScrollRange();
  const int length =
      layout_->DropFirst(items_, static_cast<int>(std::min<int64_t>(range, INT_MAX)));
  if (length < 0) return false;
  const int64_t pos = vertical_bar_->GetScrollPos();
  vertical_bar_->SetScrollRange(range - length);
  vertical_bar_->SetScrollPos(std::max<int64_t>(pos - length, 0));
  if (scroll_animation_.IsPlaying()) {
    scroll_animation_.SetStartValue(scroll_animation_.GetStartValue() - length);
    scroll_animation_.SetEndValue(scroll_animation_.GetEndValue() - length);
  }
  // The last image pass met the same children, one place further up the list now.
  if (image_pass_.valid && image_pass_.count > 0) {
    --image_pass_.count;
    image_pass_.first = std::max(image_pass_.first - 1, 0);
    image_pass_.last = std::max(image_pass_.last - 1, 0);
  }
  return true;
}

void ScrollableBox::ProcessVScrollBar(RECT rect, int required_height) {
  if (!vertical_bar_) return;
  RECT bar_rect;
  bar_rect.right = rect.right - scroll_bar_padding_.right;
  bar_rect.top = rect.top + scroll_bar_padding_.top;
  bar_rect.bottom = rect.bottom - scroll_bar_padding_.bottom;
  bar_rect.left = bar_rect.right - vertical_bar_->GetFixedWidth();
  const RECT padding = layout_->GetPadding();
  const int view = (rect.bottom - rect.top) - padding.top - padding.bottom;
  UpdateBar(vertical_bar_.get(), bar_rect, int64_t{required_height} - view);
}

void ScrollableBox::ProcessHScrollBar(RECT rect, int required_width) {
  if (!horizontal_bar_) return;
  RECT bar_rect;
  bar_rect.left = rect.left + scroll_bar_padding_.left;
  bar_rect.right = rect.right - scroll_bar_padding_.right;
  bar_rect.bottom = rect.bottom - scroll_bar_padding_.bottom;
  bar_rect.top = bar_rect.bottom - horizontal_bar_->GetFixedHeight();
  const RECT padding = layout_->GetPadding();
  const int view = (rect.right - rect.left) - padding.left - padding.right;
  UpdateBar(horizontal_bar_.get(), bar_rect, int64_t{required_width} - view);
}

void ScrollableBox::UpdateBar(ScrollBar* bar, const RECT& bar_rect, int64_t diff) {
  if (diff > 0 && !HasRange(bar)) {
    bar->SetScrollRange(diff);
    bar->SetScrollPos(0);
    // The bar now has a range, so a non-floating bar narrows the children: lay out again.
    scroll_bar_relayout_ = true;
    SetPos(GetPos(true));
    scroll_bar_relayout_ = false;
    return;
  }
  if (!HasRange(bar)) return;
  if (diff <= 0 && !scroll_bar_relayout_) {
    bar->SetScrollPos(0);
    bar->SetScrollRange(0);
    SetPos(GetPos(true));
    return;
  }
  bar->SetPos(bar_rect);
  if (bar->GetScrollRange() != diff) {
    const int64_t old = bar->GetScrollPos();
    bar->SetScrollRange(std::abs(diff));
    if (bar->GetScrollRange() == 0) bar->SetScrollPos(0);
    if (old > bar->GetScrollPos()) SetPos(GetPos(true));
  }
}

// --- scroll position ---

void ScrollableBox::StopScrollAnimation() { scroll_animation_.Reset(); }

void ScrollableBox::SetScrollPos(SIZE pos) {
  const SIZE range = GetScrollRange();
  if (pos.cy < 0) {
    StopScrollAnimation();
    pos.cy = 0;
  } else if (pos.cy > range.cy) {
    pos.cy = range.cy;
    StopScrollAnimation();
  }
  int64_t dx = 0;
  int64_t dy = 0;
  if (HasRange(vertical_bar_.get())) {
    const int64_t old = vertical_bar_->GetScrollPos();
    vertical_bar_->SetScrollPos(pos.cy);
    dy = vertical_bar_->GetScrollPos() - old;
  }
  if (HasRange(horizontal_bar_.get())) {
    const int64_t old = horizontal_bar_->GetScrollPos();
    horizontal_bar_->SetScrollPos(pos.cx);
    dx = horizontal_bar_->GetScrollPos() - old;
  }
  if (dx == 0 && dy == 0) return;
  RunImagePass(dy > 0);
  Invalidate();
  if (GetWindow()) SendScrollChange();
}

void ScrollableBox::SendScrollChange() {
  EventArgs args;
  args.type = kEventScrollChange;
  args.sender = this;
  args.timeStamp = ::GetTickCount();
  args.ptMouse = window_link::LastMousePos(GetWindow());
  DispatchEvent(args);
}

void ScrollableBox::SetScrollPosY(int y) { SetScrollPos({ScrollPos().cx, y}); }

void ScrollableBox::SetScrollPosX(int x) { SetScrollPos({x, ScrollPos().cy}); }

int ScrollableBox::LineStep(int unit, int delta) const {
  const int step = unit == 0 ? kFallbackScrollUnit : unit;
  return delta == -1 ? step : std::min(step, delta);
}

void ScrollableBox::AnimateLine(int step) {
  const int y = ScrollPos().cy;
  const int end = scroll_animation_.GetEndValue();
  // A running step in the same direction is extended rather than restarted from y.
  const bool extend = scroll_animation_.IsPlaying() && (step < 0 ? end <= y : end >= y);
  // A huge unit must not wrap the target round to the other side; the clamp of SetScrollPos
  // ends the step at the edge anyway.
  const int64_t target = int64_t{extend ? end : y} + step;
  scroll_animation_.SetStartValue(y);
  scroll_animation_.SetEndValue(static_cast<int>(std::clamp<int64_t>(target, INT_MIN, INT_MAX)));
  scroll_animation_.SetSpeedUpRatio(0);
  scroll_animation_.SetSpeedDownRatio(0.5);
  scroll_animation_.SetDecelerationFactor(-0.012);
  scroll_animation_.SetTotalMilliseconds(AnimationPlayerBase::kTimeNotSet);
  scroll_animation_.SetValueCallback(
      kbase::Bind(&ScrollableBox::SetScrollPosY, this, std::placeholders::_1));
  scroll_animation_.PlayFromStart();
}

void ScrollableBox::LineUp(int delta, bool with_animation) {
  const int step = LineStep(ver_scroll_unit_, delta);
  const SIZE pos = ScrollPos();
  if (pos.cy <= 0) return;
  if (with_animation) {
    AnimateLine(-step);
  } else {
    SetScrollPos({pos.cx, std::max<LONG>(pos.cy - step, 0)});
  }
}

void ScrollableBox::LineDown(int delta, bool with_animation) {
  const int step = LineStep(ver_scroll_unit_, delta);
  const SIZE pos = ScrollPos();
  if (pos.cy >= GetScrollRange().cy) return;
  if (with_animation) {
    AnimateLine(step);
  } else {
    // Near INT_MAX the sum is taken in 64 bits; SetScrollPos clamps it to the range anyway.
    const int64_t y = std::min<int64_t>(int64_t{pos.cy} + step, GetScrollRange().cy);
    SetScrollPos({pos.cx, static_cast<LONG>(y)});
  }
}

void ScrollableBox::LineLeft(int delta) {
  const int step = LineStep(hor_scroll_unit_, delta);
  const SIZE pos = ScrollPos();
  if (pos.cx < 1) return;
  SetScrollPos({std::max<LONG>(pos.cx - step, 0), pos.cy});
}

void ScrollableBox::LineRight(int delta) {
  const int step = LineStep(hor_scroll_unit_, delta);
  const SIZE pos = ScrollPos();
  const LONG range = GetScrollRange().cx;
  if (pos.cx >= range) return;
  SetScrollPos({static_cast<LONG>(std::min<int64_t>(int64_t{pos.cx} + step, range)), pos.cy});
}

void ScrollableBox::PageUp() {
  const RECT padding = layout_->GetPadding();
  int page = (pos_.bottom - pos_.top) - padding.top - padding.bottom;
  if (HasRange(horizontal_bar_.get())) page -= horizontal_bar_->GetFixedHeight();
  const SIZE pos = ScrollPos();
  SetScrollPos({pos.cx, pos.cy - page});
}

void ScrollableBox::PageDown() {
  const RECT padding = layout_->GetPadding();
  int page = (pos_.bottom - pos_.top) - padding.top - padding.bottom;
  if (HasRange(horizontal_bar_.get())) page -= horizontal_bar_->GetFixedHeight();
  const SIZE pos = ScrollPos();
  SetScrollPos({pos.cx, static_cast<LONG>(std::min<int64_t>(int64_t{pos.cy} + page, LONG_MAX))});
}

void ScrollableBox::PageLeft() {
  const RECT padding = layout_->GetPadding();
  const int page = (pos_.right - pos_.left) - padding.left - padding.right;
  const SIZE pos = ScrollPos();
  SetScrollPos({pos.cx - page, pos.cy});
}

void ScrollableBox::PageRight() {
  const RECT padding = layout_->GetPadding();
  const int page = (pos_.right - pos_.left) - padding.left - padding.right;
  const SIZE pos = ScrollPos();
  SetScrollPos({static_cast<LONG>(std::min<int64_t>(int64_t{pos.cx} + page, LONG_MAX)), pos.cy});
}

void ScrollableBox::HomeUp() { SetScrollPos({ScrollPos().cx, 0}); }

void ScrollableBox::HomeLeft() { SetScrollPos({0, ScrollPos().cy}); }

void ScrollableBox::EndRight() { SetScrollPos({GetScrollRange().cx, ScrollPos().cy}); }

void ScrollableBox::EndDown(bool arrange, bool with_animation) {
  if (arrange) ArrangeInner(GetPos(true));
  const int64_t distance = int64_t{GetScrollRange().cy} - ScrollPos().cy - render_offset_.y +
                           render_offset_animation_.GetEndValue();
  if (with_animation && HasRange(vertical_bar_.get()) && distance > 0) {
    const int d = static_cast<int>(std::min<int64_t>(distance, INT_MAX));
    render_offset_animation_.SetStartValue(-d);
    render_offset_animation_.SetEndValue(0);
    render_offset_animation_.SetSpeedUpRatio(kEndSlideSpeedUp);
    render_offset_animation_.SetSpeedDownRatio(kEndSlideSlowDown);
    render_offset_animation_.SetTotalMilliseconds(EndSlideMilliseconds(d));
    render_offset_animation_.SetValueCallback(
        kbase::Bind(&ScrollableBox::SetRenderOffsetY, this, std::placeholders::_1));
    render_offset_animation_.PlayFromStart();
  }
  SetScrollPos({ScrollPos().cx, GetScrollRange().cy});
}

void ScrollableBox::TouchUp(int delta) {
  const SIZE pos = ScrollPos();
  if (pos.cy < 1) return;
  SetScrollPos({pos.cx, pos.cy - delta});
}

void ScrollableBox::TouchDown(int delta) {
  const SIZE pos = ScrollPos();
  if (pos.cy >= GetScrollRange().cy) return;
  SetScrollPos({pos.cx, static_cast<LONG>(std::min<int64_t>(int64_t{pos.cy} + delta, LONG_MAX))});
}

// --- images ---

RECT ScrollableBox::ImageBand() const {
  const SIZE scroll = ContentOffset();
  RECT band = GetPos(true);
  OffsetRect(&band, scroll.cx + render_offset_.x, scroll.cy + render_offset_.y);
  band.top -= kImageMargin;
  band.bottom += kImageMargin;
  return band;
}

bool ScrollableBox::ImagePassCarriesOn(const RECT& band) const {
  return image_pass_.valid && layout_->IsColumn() &&
         image_pass_.generation == layout_->GetPlacementGeneration() &&
         image_pass_.count <= static_cast<int>(items_.size()) &&
         band.left == image_pass_.band.left && band.right == image_pass_.band.right;
}

template <typename Reaches>
int ScrollableBox::FirstReaching(int start, int floor, Reaches reaches) const {
  const int count = static_cast<int>(items_.size());
  int at = std::clamp(start, floor, count);
  for (int i = at - 1; i >= floor; --i) {
    if (!Flowing(items_[i])) continue;
    if (!reaches(items_[i]->GetPos(true))) break;
    at = i;
  }
  while (at < count && (!Flowing(items_[at]) || !reaches(items_[at]->GetPos(true)))) ++at;
  return at;
}

std::pair<int, int> ScrollableBox::ReachingBand(const RECT& band) const {
  const int first = FirstReaching(image_pass_.first, 0,
                                  [&band](const RECT& pos) { return pos.bottom > band.top; });
  const int last = FirstReaching(std::max(image_pass_.last, first), first,
                                 [&band](const RECT& pos) { return pos.top >= band.bottom; });
  return {first, last};
}

std::vector<int> ScrollableBox::ChangedImageChildren(int first, int last) const {
  const auto met = [this](int i) { return i >= image_pass_.first && i < image_pass_.last; };
  std::vector<int> changed;
  for (int i = image_pass_.first; i < image_pass_.last; ++i) {
    if (i < first || i >= last) changed.push_back(i);
  }
  for (int i = first; i < std::min(last, image_pass_.count); ++i) {
    if (!met(i)) changed.push_back(i);
  }
  for (int i = image_pass_.count; i < static_cast<int>(items_.size()); ++i) changed.push_back(i);
  std::sort(changed.begin(), changed.end());
  return changed;
}

void ScrollableBox::RunImagePass(bool forward) {
  const RECT band = ImageBand();
  const int count = static_cast<int>(items_.size());
  const bool carries_on = ImagePassCarriesOn(band);
  const std::pair<int, int> reaching =
      carries_on ? ReachingBand(band) : std::pair<int, int>{0, count};
  std::vector<int> order;
  if (carries_on) {
    order = ChangedImageChildren(reaching.first, reaching.second);
  } else {
    order.resize(count);
    for (int i = 0; i < count; ++i) order[i] = i;
  }
  if (!forward) std::reverse(order.begin(), order.end());
  for (int i : order) {
    if (Flowing(items_[i])) PassImages(items_[i], band);
  }
  image_pass_.valid = layout_->IsColumn();
  if (!image_pass_.valid) return;
  image_pass_.generation = layout_->GetPlacementGeneration();
  image_pass_.count = count;
  if (!carries_on) image_pass_.first = image_pass_.last = 0;
  std::tie(image_pass_.first, image_pass_.last) = carries_on ? reaching : ReachingBand(band);
  image_pass_.band = band;
}

// --- painting and hit testing ---

void ScrollableBox::PaintChild(IRenderContext* render, const RECT& paint_rect) {
  RECT meet;
  if (!IntersectRect(&meet, &paint_rect, &pos_)) return;
  const SIZE scroll = ContentOffset();
  RECT moved = paint_rect;
  OffsetRect(&moved, scroll.cx + render_offset_.x, scroll.cy + render_offset_.y);
  const std::pair<int, int> meeting = ChildrenMeeting(moved.top, moved.bottom);
  for (int i = meeting.first; i < meeting.second; ++i) {
    Control* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      child->Paint(render, paint_rect);
      continue;
    }
    // A child scrolled out of view paints nothing; a long list has many, and each origin change
    // is a round of DC calls.
    const RECT child_pos = child->GetPos();
    RECT visible;
    if (!IntersectRect(&visible, &moved, &child_pos)) continue;
    const POINT old_org = render->OffsetWindowOrg(scroll.cx, scroll.cy);
    child->Paint(render, moved);
    render->SetWindowOrg(old_org.x, old_org.y);
  }
  if (horizontal_bar_ && horizontal_bar_->IsVisible()) horizontal_bar_->Paint(render, paint_rect);
  if (vertical_bar_ && vertical_bar_->IsVisible()) vertical_bar_->Paint(render, paint_rect);
  if (g_first_paint_pass) {
    g_first_paint_pass = false;
    RunImagePass(true);
  }
}

Control* ScrollableBox::FindControl(FindProc proc, void* data, UINT flags, int /*scroll_x*/,
                                    int /*scroll_y*/) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if (flags & kFindHitTest) {
    if (!PtInRect(&pos_, *static_cast<const POINT*>(data))) return nullptr;
    if (!mouse_child_enabled_) {
      if (vertical_bar_) {
        if (Control* found = vertical_bar_->FindControl(proc, data, flags, 0, 0)) return found;
      }
      if (horizontal_bar_) {
        if (Control* found = horizontal_bar_->FindControl(proc, data, flags, 0, 0)) return found;
      }
      return Control::FindControl(proc, data, flags);
    }
  }
  if (vertical_bar_) {
    if (Control* found = vertical_bar_->FindControl(proc, data, flags, 0, 0)) return found;
  }
  if (horizontal_bar_) {
    if (Control* found = horizontal_bar_->FindControl(proc, data, flags, 0, 0)) return found;
  }
  const SIZE scroll = ContentOffset();
  return Box::FindControl(proc, data, flags, scroll.cx, scroll.cy);
}

template <typename Reaches>
int ScrollableBox::FirstReachingAnywhere(Reaches reaches) const {
  // Whether the first flowing child from an index on reaches goes from false to true once down
  // the list; hidden children take no part.
  int low = 0;
  int high = static_cast<int>(items_.size());
  while (low < high) {
    const int middle = low + (high - low) / 2;
    int flowing = middle;
    while (flowing < high && !Flowing(items_[flowing])) ++flowing;
    if (flowing == high || reaches(items_[flowing]->GetPos(true))) {
      high = middle;
    } else {
      low = flowing + 1;
    }
  }
  return low;
}

std::pair<int, int> ScrollableBox::ChildrenMeeting(int top, int bottom) const {
  if (!layout_->IsColumn()) return {0, static_cast<int>(items_.size())};
  const int first = FirstReachingAnywhere([top](const RECT& pos) { return pos.bottom > top; });
  const int last = FirstReachingAnywhere([bottom](const RECT& pos) { return pos.top >= bottom; });
  return {first, std::max(first, last)};
}

std::pair<int, int> ScrollableBox::ChildrenAt(POINT point) const {
  return ChildrenMeeting(point.y, point.y + 1);
}

// --- input ---

bool ScrollableBox::MouseEnter(EventArgs& args) {
  const bool result = Control::MouseEnter(args);
  if (result) {
    for (ScrollBar* bar : {vertical_bar_.get(), horizontal_bar_.get()}) {
      if (HasRange(bar) && bar->IsEnabled() && bar->IsAutoHideScroll()) bar->SetFadeVisible(true);
    }
  }
  return result;
}

bool ScrollableBox::MouseLeave(EventArgs& args) {
  const bool result = Control::MouseLeave(args);
  if (result) {
    for (ScrollBar* bar : {vertical_bar_.get(), horizontal_bar_.get()}) {
      if (HasRange(bar) && bar->IsEnabled() && bar->IsAutoHideScroll() &&
          bar->GetThumbState() == kControlStateNormal) {
        bar->SetFadeVisible(false);
      }
    }
  }
  return result;
}

bool ScrollableBox::HandleVerticalEvent(EventArgs& args) {
  switch (args.type) {
    case kEventKeyDown:
      switch (args.chKey) {
        case VK_PRIOR:
          PageUp();
          return true;
        case VK_NEXT:
          PageDown();
          return true;
        case VK_END:
          EndDown(true, true);
          return true;
        case VK_HOME:
          HomeUp();
          return true;
        case VK_UP:
          LineUp(-1, true);
          return true;
        case VK_DOWN:
          LineDown(-1, true);
          return true;
        default:
          return false;
      }
    case kEventMouseScrollWheel: {
      // The magnitude in 64 bits: |INT_MIN| does not fit an int.
      const int wheel = static_cast<int>(args.wParam);
      const int d = static_cast<int>(std::min<int64_t>(std::llabs(int64_t{wheel}), INT_MAX));
      if (wheel > 0) {
        LineUp(d, true);
      } else {
        LineDown(d, true);
      }
      return true;
    }
    case kEventTouchDown:
    case kEventPointDown:
      if (IsEnabled()) {
        SetMouseFocused(true);
        last_touch_point_ = args.ptMouse;
      }
      return true;
    case kEventTouchMove:
    case kEventPointMove: {
      if (!IsMouseFocused()) return true;
      const int dy = args.ptMouse.y - last_touch_point_.y;
      if (dy == 0) return true;
      last_touch_point_ = args.ptMouse;
      if (dy < 0) {
        TouchDown(-dy);
      } else {
        TouchUp(dy);
      }
      return true;
    }
    case kEventTouchUp:
    case kEventPointUp:
      if (IsMouseFocused()) {
        SetMouseFocused(false);
        last_touch_point_ = args.ptMouse;
      }
      return true;
    default:
      return false;
  }
}

bool ScrollableBox::HandleHorizontalEvent(EventArgs& args) {
  if (args.type == kEventKeyDown) {
    switch (args.chKey) {
      case VK_PRIOR:
        PageLeft();
        return true;
      case VK_NEXT:
        PageRight();
        return true;
      case VK_END:
        EndRight();
        return true;
      case VK_HOME:
        HomeLeft();
        return true;
      case VK_UP:
        LineLeft(-1);
        return true;
      case VK_DOWN:
        LineRight(-1);
        return true;
      default:
        return false;
    }
  }
  if (args.type == kEventMouseScrollWheel) {
    if (static_cast<int>(args.wParam) > 0) {
      LineLeft(-1);
    } else {
      LineRight(-1);
    }
    return true;
  }
  return false;
}

void ScrollableBox::HandleEvent(EventArgs& args) {
  if (!IsMouseEnabled() && args.type >= kEventMouseBegin && args.type <= kEventMouseEnd) {
    if (GetParent()) {
      GetParent()->DispatchEvent(args);
    } else {
      Control::HandleEvent(args);
    }
    return;
  }
  if (HasRange(vertical_bar_.get()) && vertical_bar_->IsEnabled()) {
    if (!HandleVerticalEvent(args)) Control::HandleEvent(args);
    return;
  }
  if (HasRange(horizontal_bar_.get()) && horizontal_bar_->IsEnabled()) {
    if (!HandleHorizontalEvent(args)) Control::HandleEvent(args);
    return;
  }
  Control::HandleEvent(args);
}

}  // namespace ui
