#pragma once

#include <map>
#include <string>

#include "ui/base/image/control_state.h"
#include "ui/base/image/state_image.h"

namespace ui {

class IRenderContext;

// A control's state images by kind (background, fore and their selected variants). The control
// that creates an entry sets its owner. UI thread only.
class StateImageMap {
 public:
  // The state images of kind, entered empty when absent.
  StateImage& KindFor(StateImageKind kind);
  // Whether any kind has a hot image.
  bool HasHotImage();
  // False when the kind is absent; otherwise StateImage::PaintState.
  bool PaintKind(IRenderContext* render, StateImageKind kind, ControlState state,
                 const std::wstring& modify);
  // Null when the kind is absent or has no image naming a file.
  ImageRef* FirstPresentOfKind(StateImageKind kind);
  void ClearDecoded();

 private:
  std::map<StateImageKind, StateImage> kinds_;
};

}  // namespace ui
