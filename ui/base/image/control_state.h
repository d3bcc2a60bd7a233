#pragma once

namespace ui {

// The look a control shows; state images and colours are kept per state.
enum ControlState {
  kControlStateNormal = 0,
  kControlStateHot = 1,  // the mouse is over it
  kControlStatePushed = 2,
  kControlStateDisabled = 3,
};

// The kinds of state images a control keeps.
enum StateImageKind {
  kStateImageBackground = 0,
  kStateImageFore = 1,
  kStateImageSelectedBackground = 2,
  kStateImageSelectedFore = 3,
};

}  // namespace ui
