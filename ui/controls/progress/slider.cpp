#include "ui/controls/progress/slider.h"

#include "ui/base/dpi/display_scale.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/core/window_link.h"

namespace ui {
namespace {

constexpr UINT kSliderTextStyle = DT_CENTER | DT_SINGLELINE;

}  // namespace

Slider::Slider() {
  text_style_ = kSliderTextStyle;
  thumb_images_.SetOwner(this);
}

void Slider::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const int state = StateAttribute(name, L"thumb", L"image");
  if (state >= 0) {
    SetThumbStateImage(static_cast<ControlState>(state), value);
  } else if (name == L"step") {
    step_ = static_cast<int>(wcstol(value.c_str(), nullptr, 10));
  } else if (name == L"thumbsize") {
    long size[2] = {0, 0};
    ReadNumbers(value.c_str(), size, 2);
    SetThumbSize({size[0], size[1]});
  } else if (name == L"progressbarpadding") {
    RECT padding = {0, 0, 0, 0};
    ReadRect(value.c_str(), padding);
    SetProgressBarPadding(padding);
  } else {
    Progress::SetAttribute(name, value);
  }
}

void Slider::SetThumbSize(SIZE size) {
  int cx = static_cast<int>(size.cx);
  int cy = static_cast<int>(size.cy);
  DisplayScale::Instance().ScaleValue(cx);
  DisplayScale::Instance().ScaleValue(cy);
  thumb_size_ = {cx, cy};
}

void Slider::SetProgressBarPadding(RECT padding) {
  DisplayScale::Instance().ScaleRectangle(padding);
  bar_padding_ = padding;
  if (IsAutoSized()) {
    ArrangeAncestor();
  } else {
    Invalidate();
  }
}

void Slider::SetThumbStateImage(ControlState state, const std::wstring& text) {
  thumb_images_.ImageFor(state).SetSpecText(text);
  Invalidate();
}

void Slider::ClearImages() {
  Progress::ClearImages();
  thumb_images_.ClearDecoded();
}

RECT Slider::GetProgressPos() {
  const double width = pos_.right - pos_.left;
  const double height = pos_.bottom - pos_.top;
  // Multiplied before dividing: a share taken first (0.7 as 0.69999...) truncates a whole pixel
  // short wherever the exact product is an integer.
  if (horizontal_) {
    const double right =
        (width - thumb_size_.cx) * (value_ - min_) / Range() + thumb_size_.cx / 2 + 0.5;
    return {0, 0, static_cast<LONG>(right), pos_.bottom - pos_.top};
  }
  const double top =
      (max_ - value_) * (height - thumb_size_.cy) / Range() + thumb_size_.cy / 2 + 0.5;
  return {0, static_cast<LONG>(top), pos_.right - pos_.left, pos_.bottom - pos_.top};
}

RECT Slider::GetThumbRect() const {
  const RECT& pos = pos_;
  const double offset = value_ - min_;
  RECT thumb;
  if (horizontal_) {
    thumb.left =
        static_cast<LONG>(pos.left + (pos.right - pos.left - thumb_size_.cx) * offset / Range());
    thumb.top = (pos.top + pos.bottom - thumb_size_.cy) / 2;
  } else {
    thumb.left = (pos.left + pos.right - thumb_size_.cx) / 2;
    thumb.top = static_cast<LONG>((pos.bottom - thumb_size_.cy) -
                                  (pos.bottom - thumb_size_.cy - pos.top) * offset / Range());
  }
  thumb.right = thumb.left + thumb_size_.cx;
  thumb.bottom = thumb.top + thumb_size_.cy;
  return thumb;
}

void Slider::PaintStateImages(IRenderContext* render) {
  const RECT whole = pos_;
  pos_.left += bar_padding_.left;
  pos_.top += bar_padding_.top;
  pos_.right -= bar_padding_.right;
  pos_.bottom -= bar_padding_.bottom;
  Progress::PaintStateImages(render);
  pos_ = whole;

  RECT thumb = GetThumbRect();
  OffsetRect(&thumb, -pos_.left, -pos_.top);
  thumb_image_modify_ = DestModify(thumb);
  if (IsMouseFocused() &&
      DrawImage(render, thumb_images_.ImageFor(kControlStatePushed), thumb_image_modify_, -1)) {
    return;
  }
  DrawImage(render, thumb_images_.ImageFor(kControlStateNormal), thumb_image_modify_, -1);
}

void Slider::HandleEvent(EventArgs& args) {
  if (!IsMouseEnabled() && IsMouseEvent(args.type)) {
    if (parent_) {
      parent_->DispatchEvent(args);
    } else {
      Progress::HandleEvent(args);
    }
    return;
  }
  switch (args.type) {
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
    case kEventPointDown:
      OnPress(args);
      return;
    case kEventMouseButtonUp:
    case kEventPointUp:
      OnRelease(args);
      return;
    case kEventInternalMenu:
      return;
    case kEventMouseScrollWheel:
      OnWheel(args);
      return;
    case kEventMouseMove:
    case kEventPointMove:
      if (!IsMouseFocused()) return;
      value_ = ValueAt(args.ptMouse);
      Invalidate();
      return;
    default:
      Progress::HandleEvent(args);
  }
}

void Slider::OnPress(const EventArgs& args) {
  if (!IsEnabled()) return;
  pressed_ = true;
  POINT point = args.ptMouse;
  const SIZE scroll = GetAncestorScrollPos();
  point.x += scroll.cx;
  point.y += scroll.cy;
  const RECT thumb = GetThumbRect();
  if (PtInRect(&thumb, point)) SetMouseFocused(true);
}

bool Slider::IsCleanUpRelease(const EventArgs& args) {
  return args.wParam == 0 && args.lParam == 0 && args.ptMouse.x == 0 && args.ptMouse.y == 0;
}

void Slider::OnRelease(const EventArgs& args) {
  const bool was_dragging = IsMouseFocused();
  if (was_dragging) SetMouseFocused(false);
  const bool was_pressed = pressed_;
  pressed_ = false;
  if (!IsEnabled() || !was_pressed || IsCleanUpRelease(args)) {
    // The thumb may have been drawn pushed; a drag ended without a commit keeps its value.
    if (was_dragging) Invalidate();
    return;
  }
  value_ = ValueAt(args.ptMouse);
  NotifyValueChange();
  Invalidate();
}

void Slider::OnWheel(const EventArgs& args) {
  const auto delta = static_cast<LONG_PTR>(args.wParam);
  value_ += delta > 0 ? step_ : -step_;
  ClampValue();
  Invalidate();
  NotifyValueChange();
}

void Slider::NotifyValueChange() {
  if (window_) window_link::DeliverEvent(window_, this, kEventValueChange, 0, 0);
}

double Slider::ValueAt(POINT point) const {
  const int half_x = thumb_size_.cx / 2;
  const int half_y = thumb_size_.cy / 2;
  const int range = max_ - min_;
  if (horizontal_) {
    if (point.x >= pos_.right - half_x) return max_;
    if (point.x <= pos_.left + half_x) return min_;
    return min_ + (point.x - pos_.left - half_x) * range /
                      static_cast<double>(pos_.right - pos_.left - thumb_size_.cx);
  }
  if (point.y >= pos_.bottom - half_y) return min_;
  if (point.y <= pos_.top + half_y) return max_;
  return min_ + range * (pos_.bottom - half_y - point.y) /
                    static_cast<double>(pos_.bottom - pos_.top - thumb_size_.cy);
}

}  // namespace ui
