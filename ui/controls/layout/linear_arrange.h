#pragma once

#include <windows.h>

#include <vector>

namespace ui {

class Control;

// The row/column algorithm that HLayout and VLayout share, written once for a "main" axis
// (along which children follow each other) and a "cross" axis. Internal to the layouts.
namespace linear_arrange {

// Places the children in rect; the content size (used length along the main axis including
// child margins between children, tallest child across).
SIZE Arrange(const std::vector<Control*>& items, RECT rect, int child_margin, bool vertical);
// The size needed for the children, padding included.
SIZE Estimate(const std::vector<Control*>& items, SIZE available, int child_margin,
              const RECT& padding, bool vertical);

}  // namespace linear_arrange

}  // namespace ui
