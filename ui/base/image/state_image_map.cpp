#include "ui/base/image/state_image_map.h"

namespace ui {

StateImage& StateImageMap::KindFor(StateImageKind kind) { return kinds_[kind]; }

bool StateImageMap::HasHotImage() {
  for (auto& entry : kinds_) {
    if (!entry.second.ImageFor(kControlStateHot).spec.spec_text.empty()) return true;
  }
  return false;
}

bool StateImageMap::PaintKind(IRenderContext* render, StateImageKind kind, ControlState state,
                              const std::wstring& modify) {
  const auto found = kinds_.find(kind);
  if (found == kinds_.end()) return false;
  return found->second.PaintState(render, state, modify);
}

ImageRef* StateImageMap::FirstPresentOfKind(StateImageKind kind) {
  const auto found = kinds_.find(kind);
  return found == kinds_.end() ? nullptr : found->second.FirstPresent();
}

void StateImageMap::ClearDecoded() {
  for (StateImageKind kind : {kStateImageBackground, kStateImageFore, kStateImageSelectedBackground,
                              kStateImageSelectedFore}) {
    KindFor(kind).ClearDecoded();
  }
}

}  // namespace ui
