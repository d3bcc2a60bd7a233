#include "ui/controls/core/place_holder.h"

#include "ui/base/dpi/display_scale.h"
#include "ui/base/render/render_context.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/window_link.h"

namespace ui {

namespace {

bool IsSizeRule(int value) { return value >= 0 || value == kSizeStretch || value == kSizeAuto; }

// Sizes of 1 and more scale; 0 and the markers stay as they are.
int ScaleSize(int value, bool scale_dpi) {
  if (scale_dpi && value >= 1) DisplayScale::Instance().ScaleValue(value);
  return value;
}

// Maximum sizes keep the "stretch" and "auto" markers unscaled: scaling -1 at 150% would turn
// "no limit" into -2, a different rule.
int ScaleMaxSize(int value) {
  if (value != kSizeStretch && value != kSizeAuto) DisplayScale::Instance().ScaleValue(value);
  return value;
}

}  // namespace

PlaceHolder::PlaceHolder() = default;
PlaceHolder::~PlaceHolder() = default;

void PlaceHolder::SetWindow(Window* window, Box* parent, bool init) {
  window_ = window;
  parent_ = parent;
  if (IsArrangePending()) NoteArrangePendingAbove();
  if (init && parent_) Init();
}

SIZE PlaceHolder::EstimateSize(SIZE /*available*/) { return {fixed_width_, fixed_height_}; }

RECT PlaceHolder::GetPos(bool /*contain_shadow*/) const { return pos_; }

void PlaceHolder::SetPos(RECT rect) { pos_ = rect; }

void PlaceHolder::Arrange() {
  if (fixed_width_ == kSizeAuto || fixed_height_ == kSizeAuto) {
    ArrangeAncestor();
  } else {
    ArrangeSelf();
  }
}

void PlaceHolder::ArrangeAncestor() {
  re_estimate_size_ = true;
  ForgetPlacementAbove();
  // A node shown again may hold marks that the window's search passed over while it was hidden.
  if (IsArrangePending()) NoteArrangePendingAbove();
  Control* root = window_ ? window_link::Root(window_) : nullptr;
  if (!root) {
    if (parent_) {
      parent_->ArrangeSelf();
    } else {
      ArrangeSelf();
    }
    return;
  }
  PlaceHolder* ancestor = parent_;
  while (ancestor &&
         (ancestor->fixed_width_ == kSizeAuto || ancestor->fixed_height_ == kSizeAuto)) {
    ancestor->re_estimate_size_ = true;
    ancestor = ancestor->parent_;
  }
  (ancestor ? ancestor : root)->ArrangeSelf();
}

void PlaceHolder::ArrangeSelf() {
  if (!IsVisible()) return;
  re_estimate_size_ = true;
  arrange_needed_ = true;
  NoteArrangePendingAbove();
  Invalidate();
  if (window_) window_link::NeedUpdate(window_);
}

void PlaceHolder::Invalidate() {
  if (!IsVisible()) return;
  cache_dirty_ = true;
  RECT rect = GetPos(true);
  const SIZE scroll = GetAncestorScrollPos();
  OffsetRect(&rect, -scroll.cx, -scroll.cy);
  if (window_) InvalidateWindowRect(window_, rect);
}

void PlaceHolder::InvalidateWindowRect(Window* window, const RECT& rect) {
  window_link::Invalidate(window, rect);
}

SIZE PlaceHolder::GetAncestorScrollPos() const {
  if (parent_ && is_float_ && parent_->HasScrollRange(true)) return {0, 0};
  for (const Box* ancestor = parent_; ancestor; ancestor = ancestor->GetParent()) {
    if (ancestor->HasScrollRange(false)) return ancestor->GetScrollOffset();
  }
  return {0, 0};
}

void PlaceHolder::SetFixedWidth(int width, bool arrange, bool scale_dpi) {
  if (!IsSizeRule(width)) return;
  width = ScaleSize(width, scale_dpi);
  if (width == fixed_width_) return;
  fixed_width_ = width;
  if (arrange) {
    ArrangeAncestor();
  } else {
    re_estimate_size_ = true;
  }
}

void PlaceHolder::SetFixedHeight(int height, bool scale_dpi) {
  if (!IsSizeRule(height)) return;
  height = ScaleSize(height, scale_dpi);
  if (height == fixed_height_) return;
  fixed_height_ = height;
  ArrangeAncestor();
}

void PlaceHolder::SetMinWidth(int width) {
  DisplayScale::Instance().ScaleValue(width);
  if (width < 0 || width == min_width_) return;
  min_width_ = width;
  ArrangeForSizeRule();
}

void PlaceHolder::SetMinHeight(int height) {
  DisplayScale::Instance().ScaleValue(height);
  if (height < 0 || height == min_height_) return;
  min_height_ = height;
  ArrangeForSizeRule();
}

void PlaceHolder::SetMaxWidth(int width) {
  width = ScaleMaxSize(width);
  if (width == max_width_) return;
  max_width_ = width;
  ArrangeForSizeRule();
}

void PlaceHolder::SetMaxHeight(int height) {
  height = ScaleMaxSize(height);
  if (height == max_height_) return;
  max_height_ = height;
  ArrangeForSizeRule();
}

void PlaceHolder::SetHorAlign(int align) {
  if (align == hor_align_) return;
  hor_align_ = align;
  ForgetPlacementAbove();
}

void PlaceHolder::SetVerAlign(int align) {
  if (align == ver_align_) return;
  ver_align_ = align;
  ForgetPlacementAbove();
}

void PlaceHolder::ForgetPlacementAbove() {
  for (Box* box = parent_; box; box = box->GetParent()) {
    box->ForgetChildPlacement();
    if (box->fixed_width_ != kSizeAuto && box->fixed_height_ != kSizeAuto) return;
  }
}

void PlaceHolder::NoteArrangePendingAbove() {
  // Up to the root every time: the search clears marks top-down, so one set on the way up does
  // not mean those above it are.
  for (PlaceHolder* node = parent_; node; node = node->parent_) node->arrange_pending_below_ = true;
}

void PlaceHolder::ArrangeForSizeRule() {
  if (is_float_) {
    Arrange();
  } else {
    ArrangeAncestor();
  }
}

}  // namespace ui
