#pragma once

#include <map>
#include <string>

#include "ui/base/image/control_state.h"
#include "ui/base/image/image_ref.h"

namespace ui {

class IRenderContext;
class StateImageOwner;

// A control's images by control state, painted with fallbacks for missing states and with the
// normal and hot looks cross-faded while the owner's hot animation runs. UI thread only; the
// owner is not owned and must outlive the painting.
class StateImage {
 public:
  void SetOwner(StateImageOwner* owner) { owner_ = owner; }
  StateImageOwner* owner() const { return owner_; }

  // The image of state, entered empty when it has none.
  ImageRef& ImageFor(ControlState state);
  // The first state image, in the order normal, hot, pushed, disabled, that names a file.
  ImageRef* FirstPresent();
  // Releases the decoded images; their specs stay.
  void ClearDecoded();
  // Paints the image of state through the owner; a missing pushed image shows the hot one at
  // full fade, a missing hot or disabled image the normal one. The result of the last draw.
  bool PaintState(IRenderContext* render, ControlState state, const std::wstring& modify);

 private:
  bool Draw(IRenderContext* render, ImageRef& image, const std::wstring& modify, int fade);
  bool CrossFade(IRenderContext* render, const std::wstring& modify);

  StateImageOwner* owner_ = nullptr;
  std::map<ControlState, ImageRef> images_;
};

}  // namespace ui
