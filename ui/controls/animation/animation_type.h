#pragma once

namespace ui {

// The kinds of control animation, one player each (the keys of AnimationManager).
enum AnimationType {
  kAnimationNone = 0,
  kAnimationAlpha = 1,
  kAnimationHeight = 2,
  kAnimationWidth = 3,
  kAnimationHot = 4,
  kAnimationInoutXFromLeft = 5,
  kAnimationInoutXFromRight = 6,
  kAnimationInoutYFromTop = 7,
  kAnimationInoutYFromBottom = 8,
};

}  // namespace ui
