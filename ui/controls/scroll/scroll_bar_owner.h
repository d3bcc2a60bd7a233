#pragma once

#include <windows.h>

namespace ui {

class Control;

// What a scroll bar asks of the control whose content it scrolls. The scrolling box implements
// it and attaches itself to the bars it creates; the bar forwards every scrolling action here
// and the owner writes range and position back into the bar.
//
// Threads: the window's thread only. The owner outlives its bars (it destroys them).
class ScrollBarOwner {
 public:
  // The owner as a control: focus, layout, hit rectangle and event forwarding go through it.
  virtual Control* OwnerControl() = 0;
  virtual SIZE GetScrollPos() = 0;
  // Clamps pos into the owner's ranges.
  virtual void SetScrollPos(SIZE pos) = 0;
  // delta -1 means one full step.
  virtual void LineUp(int delta, bool with_animation) = 0;
  virtual void LineDown(int delta, bool with_animation) = 0;
  virtual void LineLeft(int delta) = 0;
  virtual void LineRight(int delta) = 0;
  virtual void PageUp() = 0;
  virtual void PageDown() = 0;
  virtual void PageLeft() = 0;
  virtual void PageRight() = 0;

 protected:
  ~ScrollBarOwner() = default;
};

}  // namespace ui
