#include "ui/base/image/state_color_map.h"

#include "ui/base/image/state_image_owner.h"
#include "ui/base/render/render_context.h"

namespace ui {

std::wstring StateColorMap::Color(ControlState state) const {
  const auto found = colors_.find(state);
  return found == colors_.end() ? std::wstring() : found->second;
}

void StateColorMap::SetColor(ControlState state, const std::wstring& name) {
  colors_[state] = name;
}

void StateColorMap::Paint(IRenderContext* render, const RECT& rect, ControlState state) const {
  const bool normal_or_hot = state == kControlStateNormal || state == kControlStateHot;
  if (owner_ && normal_or_hot && owner_->HasHotAnimation() && !Color(kControlStateNormal).empty()) {
    render->DrawColor(rect, Color(kControlStateNormal), 255);
    const int hot_alpha = owner_->HotAlpha();
    if (hot_alpha > 0)
      render->DrawColor(rect, Color(kControlStateHot), static_cast<BYTE>(hot_alpha));
    return;
  }
  if (state == kControlStatePushed && Color(kControlStatePushed).empty()) state = kControlStateHot;
  if (state == kControlStateHot && Color(kControlStateHot).empty()) state = kControlStateNormal;
  if (state == kControlStateDisabled && Color(kControlStateDisabled).empty()) {
    state = kControlStateNormal;
  }
  render->DrawColor(rect, Color(state), 255);
}

}  // namespace ui
