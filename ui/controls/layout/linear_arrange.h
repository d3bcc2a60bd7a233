#pragma once

#include <windows.h>

#include <vector>

namespace ui {

class Control;

// The row/column algorithm that HLayout and VLayout share, written once for a "main" axis
// (along which children follow each other) and a "cross" axis. Internal to the layouts.
namespace linear_arrange {

// What the last pass down one box's children left behind, so that children appended after
// them can be placed alone.
struct Placement {
  // The state below still describes the children (nothing stretches, floats or waits for a
  // second estimate, and the layout's generation has not moved since).
  bool kept = false;
  unsigned generation = 0;
  RECT rect = {0, 0, 0, 0};
  int child_margin = 0;
  size_t count = 0;               // children passed, hidden ones included
  const Control* last = nullptr;  // the last of them
  int flow_count = 0;
  int cursor = 0;
  int remaining = 0;
  int used = 0;
  int tallest = 0;
  int tallest_count = 0;  // flowing children of that cross length
  // How far past the start of rect the children stand along the main axis: the first ones were
  // taken out and the others left where they stood (DropFirst). 0 after every full pass.
  int lead = 0;
  // No flowing child starts or ends before the one in front of it along the main axis.
  bool stacked = true;
  int last_start = 0;
  int last_end = 0;
};

// Places the children in rect; the content size (used length along the main axis including
// child margins between children, tallest child across). With placement, children appended
// since the last call with the same rect and margin are placed alone, the others left where
// they stand; generation is the layout's count of placements that may move children (a full
// pass adds one).
SIZE Arrange(const std::vector<Control*>& items, RECT rect, int child_margin, bool vertical,
             Placement* placement = nullptr, unsigned* generation = nullptr);
// Takes items.front() out of placement while the others stay where they stand, when it and they
// are as the last pass left them: the length the content's start moved by (placement's lead grows
// by it, and children appended later follow the others as before). -1 when the others must be
// placed again, or when the length would reach limit: nothing changes then.
int DropFirst(const std::vector<Control*>& items, bool vertical, Placement* placement,
              unsigned generation, int limit);
// The size needed for the children, padding included.
SIZE Estimate(const std::vector<Control*>& items, SIZE available, int child_margin,
              const RECT& padding, bool vertical);

}  // namespace linear_arrange

}  // namespace ui
