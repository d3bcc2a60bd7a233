#pragma once

#include "ui/controls/layout/layout.h"
#include "ui/controls/layout/linear_arrange.h"

namespace ui {

// Children side by side from left to right; stretch children share what the fixed ones leave,
// the first ones taking the leftover pixels. Floating children are placed on their own.
// Threads and ownership as Layout.
class HLayout : public Layout {
 public:
  SIZE ArrangeChild(const std::vector<Control*>& items, RECT rect) override;
  SIZE EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) override;

 private:
  linear_arrange::Placement placement_;
};

}  // namespace ui
