#include "ui/controls/scroll/scroll_bar.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/timer/timer_manager.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/scroll/scaled_div.h"
#include "ui/controls/scroll/scroll_bar_owner.h"

namespace ui {
namespace {

// A stretch of the bar along its axis.
struct Span {
  int64_t begin;
  int64_t end;
};

int ReadInt(const std::wstring& value) {
  return static_cast<int>(wcstol(value.c_str(), nullptr, 10));
}

bool IsZeroRect(const RECT& rect) {
  return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

// A span along the axis combined with the cross extent into a rectangle.
RECT ToRect(bool horizontal, Span along, LONG cross_begin, LONG cross_end) {
  const LONG begin = static_cast<LONG>(along.begin);
  const LONG end = static_cast<LONG>(along.end);
  if (horizontal) return {begin, cross_begin, end, cross_end};
  return {cross_begin, begin, cross_end, end};
}

int ClampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

struct StateWord {
  const wchar_t* suffix;
  ControlState state;
};

constexpr StateWord kStateWords[] = {
    {L"normalimage", kControlStateNormal},
    {L"hotimage", kControlStateHot},
    {L"pushedimage", kControlStatePushed},
    {L"disabledimage", kControlStateDisabled},
};

}  // namespace

ScrollBar::ScrollBar() {
  fixed_width_ = kDefaultThickness;
  fixed_height_ = 0;
  is_float_ = true;
  release_capture_on_kill_focus_ = true;
  for (StateImage* images :
       {&bk_images_, &button1_images_, &button2_images_, &thumb_images_, &rail_images_}) {
    images->SetOwner(this);
  }
}

ScrollBar::~ScrollBar() = default;

void ScrollBar::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  if (horizontal && fixed_height_ == 0) {
    fixed_width_ = 0;
    fixed_height_ = kDefaultThickness;
  } else if (!horizontal && fixed_width_ == 0) {
    fixed_width_ = kDefaultThickness;
    fixed_height_ = 0;
  }
  if (owner_) {
    owner_->OwnerControl()->Arrange();
  } else {
    ArrangeAncestor();
  }
}

void ScrollBar::SetScrollRange(int64_t range) {
  if (range == range_) return;
  range_ = std::max<int64_t>(range, 0);
  if (scroll_pos_ > range_) scroll_pos_ = range_;
  if (range_ == 0) {
    SetVisible(false);
  } else if (!auto_hide_scroll_ && !IsVisible()) {
    SetFadeVisible(true);
  }
  SetPos(pos_);
}

void ScrollBar::SetScrollPos(int64_t pos) {
  if (pos == scroll_pos_) return;
  scroll_pos_ = std::clamp<int64_t>(pos, 0, range_);
  SetPos(pos_);
}

void ScrollBar::SetLineSize(int size) {
  DisplayScale::Instance().ScaleValue(size);
  line_size_ = size;
}

void ScrollBar::SetThumbMinLength(int length) {
  DisplayScale::Instance().ScaleValue(length);
  thumb_min_length_ = length;
}

void ScrollBar::SetPos(RECT rect) {
  Control::SetPos(rect);
  PlaceParts(pos_);
}

void ScrollBar::PlaceParts(const RECT& rect) {
  const int64_t begin = horizontal_ ? rect.left : rect.top;
  const int64_t end = horizontal_ ? rect.right : rect.bottom;
  const LONG cross = horizontal_ ? rect.top : rect.left;
  const int64_t length = end - begin;
  const int64_t button = ButtonSize();
  const int64_t rail = length - (show_button1_ ? button : 0) - (show_button2_ ? button : 0);
  // Too short for a thumb: the buttons share the length and nothing else is drawn.
  const int64_t button_length = rail > button ? button : std::min<int64_t>(button, length / 2);
  const Span button1 = {begin, show_button1_ ? begin + button_length : begin};
  const Span button2 = {show_button2_ ? end - button_length : end, end};
  const LONG cross_end = static_cast<LONG>(cross + button);
  button1_rect_ = ToRect(horizontal_, button1, cross, show_button1_ ? cross_end : cross);
  button2_rect_ = ToRect(horizontal_, button2, cross, show_button2_ ? cross_end : cross);
  if (rail <= button) {
    thumb_rect_ = {0, 0, 0, 0};
    return;
  }
  Span thumb = {button1.end, button2.begin};
  if (range_ != 0) {
    // The range may be close to the 64-bit limit, so neither the sum nor the product below may
    // be formed directly.
    const int64_t total = length > INT64_MAX - range_ ? INT64_MAX : length + range_;
    const int64_t thumb_length =
        std::max<int64_t>(ScaledDiv(length, rail, total), thumb_min_length_);
    thumb.begin = ScaledDiv(rail - thumb_length, scroll_pos_, range_) + button1.end;
    thumb.end = thumb.begin + thumb_length;
    if (thumb.end > button2.begin) {
      thumb.end = button2.begin;
      thumb.begin = button2.begin - thumb_length;
    }
  }
  thumb_rect_ = ToRect(horizontal_, thumb, cross, cross_end);
}

void ScrollBar::SetVisible(bool visible) {
  if (visible == visible_) return;
  const bool was_visible = IsVisible();
  visible_ = visible;
  focused_ = false;
  if (!visible && window_ && window_link::FocusedControl(window_) == this) {
    window_link::FocusControl(window_, nullptr);
  }
  if (IsVisible() != was_visible) ArrangeSelf();
}

void ScrollBar::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  SetPartStates(enabled ? kControlStateNormal : kControlStateDisabled);
}

void ScrollBar::SetFocus() {
  if (owner_) {
    owner_->OwnerControl()->SetFocus();
  } else {
    Control::SetFocus();
  }
}

void ScrollBar::SetPartStates(ControlState state) {
  button1_state_ = state;
  button2_state_ = state;
  thumb_state_ = state;
}

bool ScrollBar::MouseEnter(EventArgs& args) {
  if (!Control::MouseEnter(args)) return false;
  SetPartStates(kControlStateHot);
  return true;
}

bool ScrollBar::MouseLeave(EventArgs& args) {
  if (!Control::MouseLeave(args)) return false;
  SetPartStates(kControlStateNormal);
  return true;
}

bool ScrollBar::ButtonUp(EventArgs& args) {
  const bool inside = Control::ButtonUp(args);
  if (auto_hide_scroll_ && owner_) {
    const RECT owner_rect = owner_->OwnerControl()->GetPos();
    if (!PtInRect(&owner_rect, args.ptMouse)) SetFadeVisible(false);
  }
  return inside;
}

void ScrollBar::ClearImages() {
  Control::ClearImages();
  for (StateImage* images :
       {&bk_images_, &button1_images_, &button2_images_, &thumb_images_, &rail_images_}) {
    images->ClearDecoded();
  }
}

// --- attributes ---

StateImage* ScrollBar::ImageSetFor(const std::wstring& prefix) {
  if (prefix == L"button1") return &button1_images_;
  if (prefix == L"button2") return &button2_images_;
  if (prefix == L"thumb") return &thumb_images_;
  if (prefix == L"rail") return &rail_images_;
  if (prefix == L"bk") return &bk_images_;
  return nullptr;
}

bool ScrollBar::SetPartImageAttribute(const std::wstring& name, const std::wstring& value) {
  for (const StateWord& word : kStateWords) {
    const size_t suffix_length = wcslen(word.suffix);
    if (name.size() <= suffix_length ||
        name.compare(name.size() - suffix_length, suffix_length, word.suffix) != 0) {
      continue;
    }
    StateImage* images = ImageSetFor(name.substr(0, name.size() - suffix_length));
    if (!images) return false;
    images->ImageFor(word.state).SetSpecText(value);
    Invalidate();
    return true;
  }
  return false;
}

void ScrollBar::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (SetPartImageAttribute(name, value)) return;
  if (name == L"hor") {
    SetHorizontal(value == L"true");
  } else if (name == L"linesize") {
    SetLineSize(ReadInt(value));
  } else if (name == L"thumbminlength") {
    SetThumbMinLength(ReadInt(value));
  } else if (name == L"range") {
    SetScrollRange(ReadInt(value));
  } else if (name == L"value") {
    SetScrollPos(ReadInt(value));
  } else if (name == L"showbutton1") {
    show_button1_ = value == L"true";
    SetPos(pos_);
  } else if (name == L"showbutton2") {
    show_button2_ = value == L"true";
    SetPos(pos_);
  } else if (name == L"autohidescroll") {
    auto_hide_scroll_ = value == L"true";
  } else {
    Control::SetAttribute(name, value);
  }
}

// --- events ---

void ScrollBar::HandleEvent(EventArgs& args) {
  const bool mouse_event = args.type >= kEventMouseBegin && args.type <= kEventMouseEnd;
  if (mouse_event && !IsMouseEnabled()) {
    if (owner_) owner_->OwnerControl()->DispatchEvent(args);
    return;
  }
  switch (args.type) {
    case kEventInternalMenu:
    case kEventInternalSetFocus:
    case kEventInternalKillFocus:
      return;
    case kEventInternalDoubleClick:
    case kEventMouseButtonDown:
    case kEventPointDown:
      OnButtonDown(args);
      return;
    case kEventMouseButtonUp:
    case kEventPointUp:
      OnButtonUp(args);
      return;
    case kEventMouseEnter:
      MouseEnter(args);
      return;
    case kEventMouseLeave:
      MouseLeave(args);
      return;
    case kEventMouseMove:
    case kEventPointMove:
      OnMouseMove(args);
      return;
    case kEventSetCursor:
      if (cursor_type_ == kCursorHand || cursor_type_ == kCursorArrow) {
        ::SetCursor(LoadCursorW(nullptr, cursor_type_ == kCursorHand ? IDC_HAND : IDC_ARROW));
        return;
      }
      break;
    default:
      break;
  }
  if (owner_) owner_->OwnerControl()->DispatchEvent(args);
}

void ScrollBar::OnButtonDown(EventArgs& args) {
  if (!IsEnabled()) return;
  drag_offset_ = 0;
  repeat_ticks_ = 0;
  StartRepeatTimer();
  const POINT point = args.ptMouse;
  if (PtInRect(&button1_rect_, point)) {
    button1_state_ = kControlStatePushed;
    ScrollBackward();
  } else if (PtInRect(&button2_rect_, point)) {
    button2_state_ = kControlStatePushed;
    ScrollForward();
  } else if (PtInRect(&thumb_rect_, point)) {
    thumb_state_ = kControlStatePushed;
    SetMouseFocused(true);
    drag_start_point_ = point;
    drag_start_pos_ = static_cast<int>(scroll_pos_);
  } else {
    PageTowards(point);
  }
  Control::ButtonDown(args);
}

void ScrollBar::OnButtonUp(EventArgs& args) {
  drag_offset_ = 0;
  repeat_ticks_ = 0;
  repeat_flag_.Cancel();
  if (thumb_state_ == kControlStatePushed) {
    thumb_state_ = PtInRect(&pos_, args.ptMouse) ? kControlStateHot : kControlStateNormal;
  } else if (button1_state_ == kControlStatePushed) {
    button1_state_ = kControlStateNormal;
    Invalidate();
  } else if (button2_state_ == kControlStatePushed) {
    button2_state_ = kControlStateNormal;
    Invalidate();
  }
  ButtonUp(args);
}

void ScrollBar::OnMouseMove(const EventArgs& args) {
  if (!IsMouseFocused()) return;
  const int buttons = (show_button1_ ? 1 : 0) + (show_button2_ ? 1 : 0);
  const int64_t bar = horizontal_ ? pos_.right - pos_.left : pos_.bottom - pos_.top;
  const int64_t thumb =
      horizontal_ ? thumb_rect_.right - thumb_rect_.left : thumb_rect_.bottom - thumb_rect_.top;
  const int64_t travel = bar - thumb - int64_t{ButtonSize()} * buttons;
  if (travel == 0) return;
  const int64_t moved =
      horizontal_ ? args.ptMouse.x - drag_start_point_.x : args.ptMouse.y - drag_start_point_.y;
  drag_offset_ = ClampToInt(ScaledDiv(moved, range_, travel));
}

void ScrollBar::StartRepeatTimer() {
  // A second press without a release in between (a double click) must not add a second timer.
  repeat_flag_.Cancel();
  TimerManager& timers = timer_manager_ ? *timer_manager_ : TimerManager::Instance();
  timers.Schedule(
      repeat_flag_.AcquireWeakFlag(), [this] { OnRepeatTick(); }, kRepeatPeriodMs, -1);
}

void ScrollBar::OnRepeatTick() {
  ++repeat_ticks_;
  if (thumb_state_ == kControlStatePushed) {
    ApplyDrag();
    return;
  }
  if (repeat_ticks_ <= kRepeatDelayTicks) return;
  if (button1_state_ == kControlStatePushed) {
    ScrollBackward();
  } else if (button2_state_ == kControlStatePushed) {
    ScrollForward();
  } else if (window_ && window_link::Handle(window_)) {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(window_link::Handle(window_), &cursor);
    PageTowards(cursor);
  }
}

void ScrollBar::ApplyDrag() {
  // Summed in 64 bits: a start near the int32 limit plus a long drag must not overflow.
  const int64_t target = int64_t{drag_start_pos_} + drag_offset_;
  if (!owner_) {
    SetScrollPos(target);
    return;
  }
  SIZE pos = owner_->GetScrollPos();
  (horizontal_ ? pos.cx : pos.cy) = ClampToInt(target);
  owner_->SetScrollPos(pos);
}

void ScrollBar::ScrollBackward() {
  if (!owner_) {
    SetScrollPos(scroll_pos_ - line_size_);
  } else if (horizontal_) {
    owner_->LineLeft(-1);
  } else {
    owner_->LineUp(-1, true);
  }
}

void ScrollBar::ScrollForward() {
  if (!owner_) {
    SetScrollPos(scroll_pos_ + line_size_);
  } else if (horizontal_) {
    owner_->LineRight(-1);
  } else {
    owner_->LineDown(-1, true);
  }
}

void ScrollBar::PageTowards(POINT point) {
  const LONG along = horizontal_ ? point.x : point.y;
  const LONG thumb_begin = horizontal_ ? thumb_rect_.left : thumb_rect_.top;
  const LONG thumb_end = horizontal_ ? thumb_rect_.right : thumb_rect_.bottom;
  const int64_t page = horizontal_ ? pos_.right - pos_.left : pos_.bottom - pos_.top;
  if (along < thumb_begin) {
    if (!owner_) {
      SetScrollPos(scroll_pos_ - page);
    } else if (horizontal_) {
      owner_->PageLeft();
    } else {
      owner_->PageUp();
    }
  } else if (along > thumb_end) {
    if (!owner_) {
      SetScrollPos(scroll_pos_ + page);
    } else if (horizontal_) {
      owner_->PageRight();
    } else {
      owner_->PageDown();
    }
  }
}

// --- painting ---

void ScrollBar::PaintLayers(IRenderContext* render, const RECT& paint_rect) {
  if (!IntersectRect(&paint_rect_, &paint_rect, &pos_)) return;
  bk_images_.PaintState(render, state_, std::wstring());
  if (show_button1_) PaintButton(render, button1_images_, button1_rect_, button1_state_);
  if (show_button2_) PaintButton(render, button2_images_, button2_rect_, button2_state_);
  if (IsZeroRect(thumb_rect_)) return;
  thumb_images_.PaintState(render, thumb_state_, DestModify(thumb_rect_));
  PaintRail(render);
}

void ScrollBar::PaintButton(IRenderContext* render, StateImage& images, const RECT& part,
                            ControlState state) {
  // A dragged thumb keeps the buttons lit even where the mouse has left them.
  if (state == kControlStateNormal && thumb_state_ == kControlStatePushed) {
    state = kControlStateHot;
  }
  PaintByState(render, images, part, state);
}

void ScrollBar::PaintByState(IRenderContext* render, StateImage& images, const RECT& part,
                             ControlState state) {
  static constexpr ControlState kDisabled[] = {kControlStateDisabled, kControlStateNormal};
  static constexpr ControlState kPushed[] = {kControlStatePushed, kControlStateHot,
                                             kControlStateNormal};
  static constexpr ControlState kHot[] = {kControlStateHot, kControlStateNormal};
  static constexpr ControlState kNormal[] = {kControlStateNormal};
  switch (state) {
    case kControlStateDisabled:
      PaintPart(render, images, part, kDisabled, 2);
      break;
    case kControlStatePushed:
      PaintPart(render, images, part, kPushed, 3);
      break;
    case kControlStateHot:
      PaintPart(render, images, part, kHot, 2);
      break;
    default:
      PaintPart(render, images, part, kNormal, 1);
      break;
  }
}

void ScrollBar::PaintRail(IRenderContext* render) {
  const LONG button = ButtonSize();
  RECT rail = thumb_rect_;
  if (horizontal_) {
    rail.left = (thumb_rect_.left + thumb_rect_.right) / 2 - button / 2;
    rail.right = rail.left + button;
  } else {
    rail.top = (thumb_rect_.top + thumb_rect_.bottom) / 2 - button / 2;
    rail.bottom = rail.top + button;
  }
  PaintByState(render, rail_images_, rail, thumb_state_);
}

void ScrollBar::PaintPart(IRenderContext* render, StateImage& images, const RECT& part,
                          const ControlState* order, int count) {
  const std::wstring& modify = DestModify(part);
  for (int i = 0; i < count; ++i) {
    if (DrawImage(render, images.ImageFor(order[i]), modify, -1)) return;
  }
}

const std::wstring& ScrollBar::DestModify(const RECT& part) {
  wchar_t text[96];
  swprintf(text, sizeof(text) / sizeof(text[0]), L"destscale='false' dest='%d,%d,%d,%d'",
           static_cast<int>(part.left - pos_.left), static_cast<int>(part.top - pos_.top),
           static_cast<int>(part.right - pos_.left), static_cast<int>(part.bottom - pos_.top));
  modify_text_ = text;
  return modify_text_;
}

}  // namespace ui
