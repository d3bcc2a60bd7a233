#pragma once

#include "ui/base/dpi/display_scale.h"

namespace ui {

// Sets the display scale for one test and puts 100 % without adaptation back afterwards.
class ScopedDisplayScale {
 public:
  ScopedDisplayScale(int scale, bool adapt) {
    DisplayScale::Instance().OverrideForTesting(scale, adapt);
  }
  ~ScopedDisplayScale() { DisplayScale::Instance().OverrideForTesting(100, false); }
  ScopedDisplayScale(const ScopedDisplayScale&) = delete;
  ScopedDisplayScale& operator=(const ScopedDisplayScale&) = delete;
};

}  // namespace ui
