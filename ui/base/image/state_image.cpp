#include "ui/base/image/state_image.h"

#include "ui/base/image/state_image_owner.h"

namespace ui {

namespace {
constexpr int kOwnFade = -1;
constexpr int kFullFade = 255;
constexpr ControlState kStates[] = {kControlStateNormal, kControlStateHot, kControlStatePushed,
                                    kControlStateDisabled};
}  // namespace

ImageRef& StateImage::ImageFor(ControlState state) { return images_[state]; }

ImageRef* StateImage::FirstPresent() {
  for (ControlState state : kStates) {
    ImageRef& image = ImageFor(state);
    if (!image.spec.file_name.empty()) return &image;
  }
  return nullptr;
}

void StateImage::ClearDecoded() {
  for (auto& entry : images_) entry.second.ClearDecoded();
}

bool StateImage::PaintState(IRenderContext* render, ControlState state,
                            const std::wstring& modify) {
  const bool normal_or_hot = state == kControlStateNormal || state == kControlStateHot;
  if (owner_ && normal_or_hot && owner_->HasHotAnimation()) return CrossFade(render, modify);

  int fade = kOwnFade;
  if (state == kControlStatePushed && ImageFor(kControlStatePushed).spec.spec_text.empty()) {
    // Shown at full fade for this paint only: the hot image keeps its own fade for the hot state.
    state = kControlStateHot;
    fade = kFullFade;
  }
  if (state == kControlStateHot && ImageFor(kControlStateHot).spec.spec_text.empty()) {
    return Draw(render, ImageFor(kControlStateNormal), modify, kOwnFade);
  }
  if (state == kControlStateDisabled && ImageFor(kControlStateDisabled).spec.spec_text.empty()) {
    state = kControlStateNormal;
  }
  return Draw(render, ImageFor(state), modify, fade);
}

bool StateImage::CrossFade(IRenderContext* render, const std::wstring& modify) {
  ImageRef& normal = ImageFor(kControlStateNormal);
  ImageRef& hot = ImageFor(kControlStateHot);
  const int hot_alpha = owner_->HotAlpha();
  const std::wstring& normal_text = normal.spec.spec_text;
  if (!normal_text.empty() && normal_text == hot.spec.spec_text) {
    // One image for both looks: blend the two fades instead of drawing it twice.
    const int fade = (hot.spec.fade * hot_alpha + normal.spec.fade * (255 - hot_alpha)) / 255;
    return Draw(render, normal, modify, fade);
  }
  Draw(render, normal, modify, kOwnFade);
  return Draw(render, hot, modify, hot.spec.fade * hot_alpha / 255);
}

bool StateImage::Draw(IRenderContext* render, ImageRef& image, const std::wstring& modify,
                      int fade) {
  return owner_ && owner_->DrawStateImage(render, image, modify, fade);
}

}  // namespace ui
