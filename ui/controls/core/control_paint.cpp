// Painting of Control: the paint paths, the layers, the border and the animated background.
#include <algorithm>

#include "ui/base/image/image_info.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/timer/timer_manager.h"
#include "ui/controls/core/control.h"
#include "ui/controls/render/auto_clip.h"

namespace ui {

namespace {

constexpr int kLastFrame = 65535;

bool IsSet(const RECT& rect) {
  return rect.left >= 0 && rect.top >= 0 && rect.right >= 0 && rect.bottom >= 0;
}

}  // namespace

void Control::Paint(IRenderContext* render, const RECT& paint_rect) {
  RECT visible;
  if (alpha_ == 0 || !IntersectRect(&visible, &paint_rect, &pos_)) return;
  if (alpha_ != 255 || use_cache_) {
    PaintOffscreen(render, paint_rect, alpha_ != 255);
    return;
  }
  const bool round = border_round_.cx > 0 || border_round_.cy > 0;
  AutoClip clip(render, pos_, clip_to_rect_);
  AutoClip round_clip(render, pos_, border_round_.cx, border_round_.cy, round);
  const POINT old_origin = render->OffsetWindowOrg(render_offset_.x, render_offset_.y);
  PaintLayers(render, paint_rect);
  PaintChild(render, paint_rect);
  render->SetWindowOrg(old_origin.x, old_origin.y);
}

void Control::PaintOffscreen(IRenderContext* render, const RECT& paint_rect, bool translucent) {
  IRenderContext* offscreen = GetCacheRenderContext();
  if (!offscreen) return;
  const int width = pos_.right - pos_.left;
  const int height = pos_.bottom - pos_.top;
  if (offscreen->Resize(width, height, true)) cache_dirty_ = true;
  if (cache_dirty_) {
    offscreen->Clear();
    const RECT local = {0, 0, width, height};
    const bool round = border_round_.cx > 0 || border_round_.cy > 0;
    AutoClip clip(offscreen, local, clip_to_rect_);
    AutoClip round_clip(offscreen, local, border_round_.cx, border_round_.cy, round);
    const bool was_transparent = offscreen->SetTransparent(true);
    const POINT old_origin =
        offscreen->OffsetWindowOrg(pos_.left + render_offset_.x, pos_.top + render_offset_.y);
    PaintLayers(offscreen, pos_);
    offscreen->SetWindowOrg(old_origin.x, old_origin.y);
    offscreen->SetTransparent(was_transparent);
    cache_dirty_ = false;
  }
  RECT part;
  IntersectRect(&part, &paint_rect, &pos_);
  const int part_width = part.right - part.left;
  const int part_height = part.bottom - part.top;
  render->AlphaBlend(part.left, part.top, part_width, part_height, offscreen->GetDC(),
                     part.left - pos_.left, part.top - pos_.top, part_width, part_height,
                     static_cast<BYTE>(translucent ? alpha_ & 0xFF : 255));
  // Children are not part of the off-screen image: they paint over the blended control.
  if (translucent) cache_render_context_.reset();
  PaintChild(render, paint_rect);
}

void Control::PaintLayers(IRenderContext* render, const RECT& paint_rect) {
  if (!IntersectRect(&paint_rect_, &paint_rect, &pos_)) return;
  PaintBkColor(render);
  PaintBkImage(render);
  PaintStateColors(render);
  PaintStateImages(render);
  PaintText(render);
  PaintBorder(render);
}

void Control::PaintBkColor(IRenderContext* render) {
  if (bk_color_.empty()) return;
  const DWORD color = ResourceHub::ColorValue(bk_color_);
  if (color == 0) return;
  // A translucent colour covers the whole control so partial repaints blend the same way.
  render->DrawColor(color >= 0xFF000000 ? paint_rect_ : pos_, static_cast<Gdiplus::ARGB>(color),
                    255);
}

void Control::PaintBkImage(IRenderContext* render) { DrawImage(render, bk_image_, L"", -1); }

void Control::PaintStateColors(IRenderContext* render) {
  state_colors_.Paint(render, paint_rect_, state_);
}

void Control::PaintStateImages(IRenderContext* render) {
  state_images_.PaintKind(render, kStateImageBackground, state_, L"");
  state_images_.PaintKind(render, kStateImageFore, state_, L"");
}

void Control::PaintBorder(IRenderContext* render) {
  if (border_color_.empty()) return;
  const Gdiplus::ARGB color = ResourceHub::ColorValue(border_color_);
  if (color == 0) return;
  const RECT& sides = border_sizes_;
  if (sides.left < 1 && sides.top < 1 && sides.right < 1 && sides.bottom < 1) {
    if (border_size_ < 1) return;
    const int inset = border_size_ / 2;
    const int far_inset = inset + (border_size_ % 2);
    const RECT rect = {pos_.left + inset, pos_.top + inset, pos_.right - far_inset,
                       pos_.bottom - far_inset};
    render->DrawRect(rect, border_size_, color);
    return;
  }
  if (sides.left >= 1) {
    const int x = pos_.left + sides.left / 2;
    render->DrawLine(RECT{x, pos_.top, x, pos_.bottom}, sides.left, color);
  }
  if (sides.top >= 1) {
    const int y = pos_.top + sides.top / 2;
    render->DrawLine(RECT{pos_.left, y, pos_.right, y}, sides.top, color);
  }
  if (sides.right >= 1) {
    const int x = pos_.right - (sides.right + 1) / 2;
    render->DrawLine(RECT{x, pos_.top, x, pos_.bottom}, sides.right, color);
  }
  if (sides.bottom >= 1) {
    const int y = pos_.bottom - (sides.bottom + 1) / 2;
    render->DrawLine(RECT{pos_.left, y, pos_.right, y}, sides.bottom, color);
  }
}

bool Control::DrawImage(IRenderContext* render, ImageRef& image, const std::wstring& modify,
                        int fade) {
  if (image.spec.file_name.empty()) return false;
  LoadImage(image);
  if (!image.image) {
    // Not found or not decodable: forget the name so the file is not tried on every paint.
    image.spec.Reset();
    return false;
  }
  ImageSpec spec = image.spec;
  if (!modify.empty()) spec.Parse(modify);
  RECT dest = pos_;
  if (IsSet(spec.dest)) {
    dest = spec.dest;
    OffsetRect(&dest, pos_.left, pos_.top);
  }
  RECT source = spec.source;
  if (!IsSet(source)) source = {0, 0, image.image->width(), image.image->height()};
  if (&image == &bk_image_ && image.image->FrameCount() > 1 && play_image_ && !image.status) {
    PlayImageAnimation();
    return false;
  }
  const BYTE opacity = static_cast<BYTE>(fade == -1 ? spec.fade : fade);
  HBITMAP bitmap = image.image->Frame(image.frame_index);
  render->DrawImage(paint_rect_, bitmap, image.image->has_alpha(), dest, source, spec.corner,
                    opacity, spec.xtiled, spec.ytiled);
  return true;
}

void Control::SetImageFrame(int frame) {
  if (!bk_image_.image || bk_image_.image->FrameCount() < 2) return;
  bk_image_.status = 0;
  image_timer_flag_.Cancel();
  const int last = bk_image_.image->FrameCount() - 1;
  if (frame == -1) {
    // keep the current frame
  } else if (frame >= last) {
    bk_image_.frame_index = last;  // 65535 and any index past the end show the last frame
  } else if (frame >= 0) {
    bk_image_.frame_index = frame;
  }
  Invalidate();
}

void Control::ScheduleImageTimer(int delay_ms) {
  image_timer_flag_.Cancel();
  TimerManager::Instance().Schedule(
      image_timer_flag_.AcquireWeakFlag(), [this] { PlayImageAnimation(); }, delay_ms, -1);
}

void Control::PlayImageAnimation() {
  ImageRef& image = bk_image_;
  const int play_count = image.spec.play_count;
  const bool finished =
      (play_count > 0 && image.loop_count >= play_count) || (play_count == 0 && !image.status);
  if (!image.image || image.image->FrameCount() < 2 || finished) {
    image.status = 0;
    image_timer_flag_.Cancel();
    return;
  }
  if (!image.status) {
    image.frame_index = 0;
    image_timer_flag_.Cancel();
    const int delay = image.FrameDelay();
    if (delay == 0) return;
    image.status = 1;
    ScheduleImageTimer(delay);
    Invalidate();
    return;
  }
  const int old_delay = image.FrameDelay();
  if (++image.frame_index >= image.image->FrameCount()) {
    image.frame_index = 0;
    ++image.loop_count;
  }
  const int new_delay = image.FrameDelay();
  if (play_count > 0 && image.loop_count >= play_count) {
    play_image_ = false;
    SetImageFrame(kLastFrame);
    EventArgs args;
    args.type = kEventNone;
    args.sender = this;
    const std::weak_ptr<kbase::WeakFlag> alive = AcquireWeakFlag();
    auto chain = image_play_end_handlers_.find(1);
    if (chain != image_play_end_handlers_.end()) {
      const HandlerChain handlers = chain->second;
      handlers.Invoke(&args);
    }
    if (!alive.expired()) Invalidate();
    return;
  }
  if (old_delay == 0 || new_delay == 0) {
    image.status = 0;
    image_timer_flag_.Cancel();
    return;
  }
  if (old_delay != new_delay) ScheduleImageTimer(new_delay);
  Invalidate();
}

}  // namespace ui
