#pragma once

#include <windows.h>

#include "ui/controls/core/event_args.h"

namespace ui {

// The list side of a list element: what an element asks of the list that holds it. A list box
// implements it as a second base; the element keeps a plain pointer to it (not owned).
//
// Threads: the window's thread only.
class IListOwner {
 public:
  virtual ~IListOwner() = default;

  // Index of the selected item, -1 when none.
  virtual int GetCurSel() const = 0;
  // Selects the item at index (a negative index only clears the selection); false when nothing
  // is selected afterwards.
  virtual bool SelectItem(int index, bool take_focus, bool trigger) = 0;
  // An element hands over an event it does not handle itself.
  virtual void HandleItemEvent(EventArgs& args) = 0;
  // Scrolls so that rect (content coordinates of the list) is inside the list's view.
  virtual void EnsureVisible(RECT rect) = 0;
  // Ends the list's smooth-scroll animation.
  virtual void StopScroll() = 0;
  // Where the indexes the elements store count from: when the first item goes, the origin moves
  // by one and every element's index with it, instead of each element being renumbered.
  virtual int GetIndexOrigin() const = 0;
};

}  // namespace ui
