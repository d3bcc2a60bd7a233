#include "ui/controls/render/auto_clip.h"

#include "ui/base/render/render_context.h"

namespace ui {

AutoClip::AutoClip(IRenderContext* render, const RECT& rect, bool clip) {
  if (!clip || !render) return;
  render_ = render;
  clip_ = true;
  render_->SetClip(rect);
}

AutoClip::AutoClip(IRenderContext* render, const RECT& rect, int width, int height, bool clip) {
  if (!clip || !render) return;
  render_ = render;
  clip_ = true;
  render_->SetRoundClip(rect, width, height);
}

AutoClip::~AutoClip() {
  if (clip_ && render_) render_->ClearClip();
}

}  // namespace ui
