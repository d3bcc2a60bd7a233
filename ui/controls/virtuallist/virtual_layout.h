#pragma once

#include "ui/controls/layout/v_layout.h"

namespace ui {

// The layout of a virtual list box. While every row has its own element it is a plain vertical
// layout; otherwise it reports the size of all rows (so the scroll range covers them) and leaves
// placing the element pool to the list.
//
// Threads and ownership as Layout; the owner is a VirtualListBox (any other owner gets the plain
// vertical layout).
class VirtualLayout : public VLayout {
 public:
  // Always every element: the list moves pooled elements behind the layout's back.
  SIZE ArrangeChild(const std::vector<Control*>& items, RECT rect) override;
  bool IsColumn() const override { return false; }
  int DropFirst(const std::vector<Control*>& /*items*/, int /*limit*/) override { return -1; }
};

}  // namespace ui
