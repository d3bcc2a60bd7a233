#include "ui/controls/core/control.h"

#include <shlwapi.h>

#include <algorithm>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/image/image_info.h"
#include "ui/base/lang/lang_table.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/util/text_util.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/window_link.h"

namespace ui {

namespace {

int Scaled(int value) { return DisplayScale::Instance().ScaleValue(value); }

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide;
  TextUtil::Utf8ToWide(text.c_str(), wide);
  return wide;
}

std::string ToUtf8(const std::wstring& text) {
  std::string narrow;
  TextUtil::WideToUtf8(text, narrow);
  return narrow;
}

}  // namespace

Control::Control() : animation_manager_(this) {
  state_colors_.SetOwner(this);
  for (StateImageKind kind : {kStateImageBackground, kStateImageFore, kStateImageSelectedBackground,
                              kStateImageSelectedFore}) {
    state_images_.KindFor(kind).SetOwner(this);
  }
}

Control::~Control() {
  if (window_) window_link::ForgetControl(window_, this);
}

ImageRef* Control::GetEstimateImage() {
  if (!bk_image_.spec.file_name.empty()) return &bk_image_;
  return state_images_.FirstPresentOfKind(kStateImageBackground);
}

std::wstring Control::GetToolTipText() const {
  if (tool_tip_text_.empty() && !tool_tip_text_id_.empty()) {
    return LangTable::Instance().Lookup(tool_tip_text_id_);
  }
  return tool_tip_text_;
}

std::string Control::GetUTF8ToolTipText() const { return ToUtf8(GetToolTipText()); }

void Control::SetToolTipText(const std::wstring& text) {
  std::wstring stored = text;
  TextUtil::ReplaceAll(L"<n>", L"\r\n", stored);
  tool_tip_text_ = stored;
  Invalidate();
}

void Control::SetUTF8ToolTipText(const std::string& text) {
  const std::wstring wide = FromUtf8(text);
  if (wide.empty()) {
    tool_tip_text_.clear();
    Invalidate();
  } else if (wide != tool_tip_text_) {
    SetToolTipText(wide);
  }
}

void Control::SetToolTipTextId(const std::wstring& id) {
  if (id == tool_tip_text_id_) return;
  tool_tip_text_id_ = id;
  Invalidate();
}

void Control::SetUTF8ToolTipTextId(const std::string& id) { SetToolTipTextId(FromUtf8(id)); }

void Control::SetToolTipWidth(int width) { tool_tip_width_ = Scaled(width); }

std::string Control::GetUTF8DataID() const { return ToUtf8(data_id_); }

void Control::SetUTF8DataID(const std::string& id) { data_id_ = FromUtf8(id); }

void Control::SetFadeVisible(bool visible) {
  if (visible) {
    animation_manager_.Appear();
  } else {
    animation_manager_.Disappear();
  }
}

void Control::SetInternVisible(bool visible) {
  intern_visible_ = visible;
  if (!visible && window_ && window_link::FocusedControl(window_) == this) {
    window_link::FocusControl(window_, nullptr);
  }
  if (!IsVisible()) SetImageFrame(-1);
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  const bool was_visible = IsVisible();
  focused_ = false;
  visible_ = visible;
  if (!visible && window_ && window_link::FocusedControl(window_) == this) {
    window_link::FocusControl(window_, nullptr);
  }
  if (IsVisible() != was_visible) ArrangeAncestor();
  if (!IsVisible()) SetImageFrame(-1);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    state_ = kControlStateNormal;
    hot_alpha_ = 0;
  } else {
    state_ = kControlStateDisabled;
  }
  Invalidate();
}

void Control::SetState(ControlState state) {
  state_ = state;
  if (state == kControlStateNormal) hot_alpha_ = 0;
  if (state == kControlStateHot) hot_alpha_ = 255;
  Invalidate();
}

void Control::SetFocus() {
  if (no_focus_ || !window_) return;
  window_link::FocusControl(window_, this);
}

void Control::SetMargin(RECT margin, bool scale_dpi) {
  if (scale_dpi) DisplayScale::Instance().ScaleRectangle(margin);
  if (SameRect(margin, margin_)) return;
  margin_ = margin;
  ArrangeAncestor();
}

SIZE Control::EstimateText(SIZE /*available*/, bool* /*re_estimate*/) { return {0, 0}; }

bool Control::HasHotState() {
  return !state_colors_.Color(kControlStateHot).empty() || state_images_.HasHotImage();
}

bool Control::HasHotAnimation() { return HotPlayer() != nullptr; }

AnimationPlayer* Control::HotPlayer() const {
  return animation_manager_.GetAnimationPlayer(kAnimationHot);
}

void Control::LoadImages() {
  if (bk_image_.spec.file_name.empty()) return;
  const std::wstring path = FullImagePath(bk_image_.spec.file_name);
  if (bk_image_.image && bk_image_.image->path() == path) return;
  std::shared_ptr<ImageInfo> cached = ResourceHub::CachedImage(path);
  if (cached) bk_image_.image = cached;
}

void Control::UnloadImages() { bk_image_.ClearDecoded(); }

void Control::ClearImages() {
  state_images_.ClearDecoded();
  bk_image_.ClearDecoded();
}

std::wstring Control::FullImagePath(const std::wstring& file) const {
  std::wstring path = file;
  if (PathIsRelativeW(file.c_str())) {
    path = ResourceHub::ResourcePath() +
           (window_ ? window_link::ResourceFolder(window_) : std::wstring()) + file;
  }
  return TextUtil::NormalizeSlashes(path);
}

void Control::LoadImage(ImageRef& image) {
  if (image.image) return;
  image.image = ResourceHub::ObtainImage(FullImagePath(image.spec.file_name));
}

IRenderContext* Control::GetCacheRenderContext() {
  if (!cache_render_context_) cache_render_context_ = ResourceHub::MakeRenderContext();
  return cache_render_context_.get();
}

void Control::SetBkColor(const std::wstring& name) {
  if (name == bk_color_) return;
  bk_color_ = name;
  Invalidate();
}

void Control::SetBorderColor(const std::wstring& name) {
  if (name == border_color_) return;
  border_color_ = name;
  Invalidate();
}

void Control::SetStateColor(ControlState state, const std::wstring& name) {
  if (name == state_colors_.Color(state)) return;
  if (state == kControlStateHot) animation_manager_.SetFadeHot(true);
  state_colors_.SetColor(state, name);
  Invalidate();
}

void Control::SetBkImage(const std::wstring& spec) {
  SetImageFrame(-1);
  bk_image_.SetSpecText(spec);
  play_image_ = bk_image_.spec.play_count != 0;
  RelayoutIfAuto();
}

void Control::SetStateImage(ControlState state, const std::wstring& spec) {
  if (state == kControlStateHot) animation_manager_.SetFadeHot(true);
  state_images_.KindFor(kStateImageBackground).ImageFor(state).SetSpecText(spec);
  RelayoutIfAuto();
}

void Control::SetForeStateImage(ControlState state, const std::wstring& spec) {
  if (state == kControlStateHot) animation_manager_.SetFadeHot(true);
  state_images_.KindFor(kStateImageFore).ImageFor(state).SetSpecText(spec);
  Invalidate();
}

void Control::RelayoutIfAuto() {
  if (IsAutoSized()) {
    ArrangeAncestor();
  } else {
    Invalidate();
  }
}

void Control::SetBorderSize(int size) {
  size = Scaled(size);
  if (size == border_size_) return;
  border_size_ = size;
  Invalidate();
}

void Control::SetBorderSize(RECT sizes) {
  DisplayScale::Instance().ScaleRectangle(sizes);
  border_sizes_ = sizes;
  Invalidate();
}

void Control::SetLeftBorderSize(int size) {
  border_sizes_.left = Scaled(size);
  Invalidate();
}

void Control::SetTopBorderSize(int size) {
  border_sizes_.top = Scaled(size);
  Invalidate();
}

void Control::SetRightBorderSize(int size) {
  border_sizes_.right = Scaled(size);
  Invalidate();
}

void Control::SetBottomBorderSize(int size) {
  border_sizes_.bottom = Scaled(size);
  Invalidate();
}

void Control::SetBorderRound(int cx, int cy) {
  border_round_ = {Scaled(cx), Scaled(cy)};
  Invalidate();
}

void Control::SetAlpha(int alpha) {
  // Values outside 0..255 would blend with their low byte: 300 would paint almost invisible.
  alpha_ = std::min(std::max(alpha, 0), 255);
  Invalidate();
}

void Control::SetHotAlpha(int alpha) {
  hot_alpha_ = alpha;
  Invalidate();
}

void Control::SetRenderOffsetX(int offset) {
  render_offset_.x = offset;
  Invalidate();
}

void Control::SetRenderOffsetY(int offset) {
  render_offset_.y = offset;
  Invalidate();
}

SIZE Control::EstimateSize(SIZE available) {
  if (!IsAutoSized()) return {fixed_width_, fixed_height_};
  if (!re_estimate_size_) return estimated_size_;
  SIZE image_size = {0, 0};
  if (ImageRef* image = GetEstimateImage()) {
    const RECT& source = image->spec.source;
    if (source.left >= 0 && source.top >= 0 && source.right >= 0 && source.bottom >= 0) {
      // A given source rectangle fixes the size for good: "auto" becomes that size.
      SetFixedWidth(source.right - source.left, true, true);
      SetFixedHeight(source.bottom - source.top, true);
      return {fixed_width_, fixed_height_};
    }
    LoadImage(*image);
    if (image->image) {
      image_size = {Scaled(image->image->width()), Scaled(image->image->height())};
    }
  }
  re_estimate_size_ = false;
  const SIZE text = EstimateText(available, &re_estimate_size_);
  SIZE result = {fixed_width_, fixed_height_};
  if (fixed_width_ == kSizeAuto) result.cx = std::max(image_size.cx, text.cx);
  if (fixed_height_ == kSizeAuto) result.cy = std::max(image_size.cy, text.cy);
  estimated_size_ = result;
  return result;
}

RECT Control::GetPos(bool contain_shadow) const {
  RECT pos = pos_;
  if (!contain_shadow && window_) {
    const SIZE shadow = window_link::ShadowOffset(window_);
    OffsetRect(&pos, -shadow.cx, -shadow.cy);
  }
  return pos;
}

void Control::SetPos(RECT rect) { UpdatePos(rect); }

bool Control::UpdatePos(RECT rect) {
  rect.right = std::max(rect.right, rect.left);
  rect.bottom = std::max(rect.bottom, rect.top);
  if (SameRect(rect, pos_)) {
    arrange_needed_ = false;
    return false;
  }
  RECT old = IsRectEmpty(&pos_) ? rect : pos_;
  pos_ = rect;
  if (!window_) return true;
  if (!in_pos_event_) {
    in_pos_event_ = true;
    const POINT mouse = window_link::LastMousePos(window_);
    std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
    SendEvent(kEventResize, 0, 0, 0, 0.0f, mouse.x, mouse.y);
    if (alive.expired()) return true;
    in_pos_event_ = false;
  }
  arrange_needed_ = false;
  RECT invalid;
  UnionRect(&invalid, &old, &pos_);
  const SIZE scroll = GetAncestorScrollPos();
  OffsetRect(&invalid, -scroll.cx, -scroll.cy);
  for (const Box* ancestor = parent_; ancestor; ancestor = ancestor->GetParent()) {
    const RECT bounds = ancestor->GetPos(true);
    if (!IntersectRect(&invalid, &invalid, &bounds)) return true;
  }
  InvalidateWindowRect(window_, invalid);
  return true;
}

}  // namespace ui
