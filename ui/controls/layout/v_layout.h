#pragma once

#include "ui/controls/layout/layout.h"

namespace ui {

// Children one below the other from top to bottom; the mirror image of HLayout.
// Threads and ownership as Layout.
class VLayout : public Layout {
 public:
  SIZE ArrangeChild(const std::vector<Control*>& items, RECT rect) override;
  SIZE EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) override;
};

}  // namespace ui
