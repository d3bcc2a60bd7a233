#pragma once

#include "ui/controls/layout/layout.h"
#include "ui/controls/layout/linear_arrange.h"

namespace ui {

// Children one below the other from top to bottom; the mirror image of HLayout. Children
// appended since the last pass are placed alone, below the others, while those keep their
// rules and the box its rectangle; the first child may go while the others stay (DropFirst).
// Threads and ownership as Layout.
class VLayout : public Layout {
 public:
  SIZE ArrangeChild(const std::vector<Control*>& items, RECT rect) override;
  SIZE EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) override;
  bool IsColumn() const override;
  int DropFirst(const std::vector<Control*>& items, int limit) override;
  int GetLead() const override { return placement_.lead; }

 private:
  linear_arrange::Placement placement_;
};

}  // namespace ui
