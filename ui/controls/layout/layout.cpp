#include "ui/controls/layout/layout.h"

#include <algorithm>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"

namespace ui {

namespace {

constexpr int kNoContent = -9999;

int Clamp(int value, int minimum, int maximum) {
  value = std::max(value, minimum);
  // A negative maximum means no limit, in both directions.
  if (maximum >= 0) value = std::min(value, maximum);
  return value;
}

// Where a length starts inside [start, end): 0 at the start, 1 centred, 2 at the end.
int AlignStart(int align, int start, int end, int length) {
  if (align == 2) return end - length;
  if (align == 1) return start + (end - length - start) / 2;
  return start;
}

}  // namespace

int Layout::ClampWidth(const Control* child, int width) {
  return Clamp(width, child->GetMinWidth(), child->GetMaxWidth());
}

int Layout::ClampHeight(const Control* child, int height) {
  return Clamp(height, child->GetMinHeight(), child->GetMaxHeight());
}

bool Layout::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"padding") {
    RECT padding = {0, 0, 0, 0};
    ReadRect(value.c_str(), padding);  // sides the value lacks are 0
    SetPadding(padding, true);
    return true;
  }
  if (name == L"childmargin") {
    SetChildMargin(static_cast<int>(wcstol(value.c_str(), nullptr, 10)));
    return true;
  }
  return false;
}

void Layout::SetPadding(RECT padding, bool scale) {
  if (scale) DisplayScale::Instance().ScaleRectangle(padding);
  padding_ = padding;
  if (owner_) owner_->Arrange();
}

void Layout::SetChildMargin(int margin) {
  DisplayScale::Instance().ScaleValue(margin);
  child_margin_ = margin;
  ForgetPlacement();
  if (owner_) owner_->Arrange();
}

SIZE Layout::PlaceChild(Control* child, RECT rect) {
  if (!child->IsVisible()) return {0, 0};
  const RECT margin = child->GetMargin();
  const RECT inner = {rect.left + margin.left, rect.top + margin.top, rect.right - margin.right,
                      rect.bottom - margin.bottom};
  const SIZE available = {inner.right - inner.left, inner.bottom - inner.top};
  const int room_width = std::max<int>(available.cx, 0);
  const int room_height = std::max<int>(available.cy, 0);
  SIZE size = child->EstimateSize(available);
  const bool fully_auto =
      child->GetFixedWidth() == kSizeAuto && child->GetFixedHeight() == kSizeAuto;
  if (fully_auto && child->GetMaxWidth() == kSizeStretch && size.cx > room_width) {
    // Measure again at the width there is, so text wraps, and stay "auto" for later passes.
    child->SetFixedWidth(room_width, false, false);
    size = child->EstimateSize(available);
    if (child->GetFixedWidth() != kSizeAuto) child->SetFixedWidth(kSizeAuto, false, false);
  }
  const int width = ClampWidth(child, size.cx == kSizeStretch ? room_width : size.cx);
  const int height = ClampHeight(child, size.cy == kSizeStretch ? room_height : size.cy);
  const int x = AlignStart(child->GetHorAlign(), inner.left, inner.right, width);
  const int y = AlignStart(child->GetVerAlign(), inner.top, inner.bottom, height);
  child->SetPos({x, y, x + width, y + height});
  return {width, height};
}

SIZE Layout::ArrangeChild(const std::vector<Control*>& items, RECT rect) {
  SIZE result = {0, 0};
  for (Control* child : items) {
    if (!child->IsVisible()) continue;
    const SIZE size = PlaceChild(child, rect);
    result.cx = std::max(result.cx, size.cx);
    result.cy = std::max(result.cy, size.cy);
  }
  return result;
}

SIZE Layout::EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) {
  SIZE result = {kNoContent, kNoContent};
  bool any_visible = false;
  for (Control* child : items) {
    if (!child->IsVisible()) continue;
    any_visible = true;
    const SIZE size = child->EstimateSize(available);
    const RECT margin = child->GetMargin();
    const int width = ClampWidth(child, size.cx);
    const int height = ClampHeight(child, size.cy);
    result.cx = std::max<LONG>(result.cx, margin.left + width + margin.right);
    result.cy = std::max<LONG>(result.cy, margin.top + height + margin.bottom);
  }
  // Without content the box needs its padding, not a negative size.
  if (!any_visible) result = {0, 0};
  result.cx += padding_.left + padding_.right;
  result.cy += padding_.top + padding_.bottom;
  return result;
}

}  // namespace ui
