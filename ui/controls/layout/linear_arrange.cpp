#include "ui/controls/layout/linear_arrange.h"

#include <algorithm>

#include "ui/controls/core/control.h"
#include "ui/controls/layout/layout.h"

namespace ui {
namespace linear_arrange {

namespace {

int Clamp(int value, int minimum, int maximum) {
  value = std::max(value, minimum);
  if (maximum >= 0) value = std::min(value, maximum);  // negative: no limit
  return value;
}

// Reads sizes, margins and rules of a child along the main or the cross axis.
class Axis {
 public:
  explicit Axis(bool vertical) : vertical_(vertical) {}

  int Main(SIZE size) const { return vertical_ ? size.cy : size.cx; }
  int Cross(SIZE size) const { return vertical_ ? size.cx : size.cy; }
  SIZE Make(int main, int cross) const { return vertical_ ? SIZE{cross, main} : SIZE{main, cross}; }
  int MainLength(const RECT& r) const { return vertical_ ? r.bottom - r.top : r.right - r.left; }
  int CrossLength(const RECT& r) const { return vertical_ ? r.right - r.left : r.bottom - r.top; }
  int MainStart(const RECT& r) const { return vertical_ ? r.top : r.left; }
  int CrossStart(const RECT& r) const { return vertical_ ? r.left : r.top; }
  int CrossEnd(const RECT& r) const { return vertical_ ? r.right : r.bottom; }
  int MainBefore(const RECT& m) const { return vertical_ ? m.top : m.left; }
  int MainAfter(const RECT& m) const { return vertical_ ? m.bottom : m.right; }
  int CrossBefore(const RECT& m) const { return vertical_ ? m.left : m.top; }
  int CrossAfter(const RECT& m) const { return vertical_ ? m.right : m.bottom; }
  RECT MakeRect(int main, int cross, int main_length, int cross_length) const {
    return vertical_ ? RECT{cross, main, cross + cross_length, main + main_length}
                     : RECT{main, cross, main + main_length, cross + cross_length};
  }
  int ClampMain(const Control* c, int v) const {
    return vertical_ ? Clamp(v, c->GetMinHeight(), c->GetMaxHeight())
                     : Clamp(v, c->GetMinWidth(), c->GetMaxWidth());
  }
  int ClampCross(const Control* c, int v) const {
    return vertical_ ? Clamp(v, c->GetMinWidth(), c->GetMaxWidth())
                     : Clamp(v, c->GetMinHeight(), c->GetMaxHeight());
  }
  // 0 at the cross start, 1 centred, 2 at the cross end.
  int CrossAlign(const Control* c) const { return vertical_ ? c->GetHorAlign() : c->GetVerAlign(); }

 private:
  bool vertical_;
};

bool InFlow(const Control* child) { return child->IsVisible() && !child->IsFloat(); }

int GapsTotal(int child_margin, int count) { return count >= 2 ? child_margin * (count - 1) : 0; }

// What the first pass learns: how many children flow, how many stretch, and the fixed total.
struct FlowTotals {
  int count = 0;
  int stretch_count = 0;
  int fixed_total = 0;
};

FlowTotals MeasureFlow(const std::vector<Control*>& items, SIZE whole, const Axis& axis) {
  FlowTotals totals;
  for (Control* child : items) {
    if (!InFlow(child)) continue;
    ++totals.count;
    const SIZE size = child->EstimateSize(whole);
    const RECT margin = child->GetMargin();
    totals.fixed_total += axis.MainBefore(margin) + axis.MainAfter(margin);
    if (axis.Main(size) == kSizeStretch) {
      ++totals.stretch_count;
    } else {
      totals.fixed_total += axis.ClampMain(child, axis.Main(size));
    }
  }
  return totals;
}

}  // namespace

SIZE Arrange(const std::vector<Control*>& items, RECT rect, int child_margin, bool vertical) {
  const Axis axis(vertical);
  const int main_length = axis.MainLength(rect);
  const int cross_length = axis.CrossLength(rect);
  const SIZE whole = axis.Make(main_length, cross_length);
  const FlowTotals totals = MeasureFlow(items, whole, axis);
  const int fixed = totals.fixed_total + GapsTotal(child_margin, totals.count);
  int share = 0;
  if (totals.stretch_count > 0) share = std::max((main_length - fixed) / totals.stretch_count, 0);
  int leftover = main_length - share * totals.stretch_count - fixed;

  int cursor = axis.MainStart(rect);
  int remaining = main_length;
  int used = 0;
  int tallest = 0;
  for (Control* child : items) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      Layout::PlaceChild(child, rect);
      continue;
    }
    const RECT margin = child->GetMargin();
    const int before = axis.MainBefore(margin);
    const int after = axis.MainAfter(margin);
    remaining -= before;
    const SIZE size = child->EstimateSize(axis.Make(remaining, cross_length));
    int length = axis.Main(size);
    if (length == kSizeStretch) {
      length = share;
      // The first stretch children in list order take the pixels the division left over.
      if (leftover > 0) {
        ++length;
        --leftover;
      }
    }
    length = axis.ClampMain(child, length);
    const int cross_before = axis.CrossBefore(margin);
    const int cross_after = axis.CrossAfter(margin);
    int cross = axis.Cross(size);
    if (cross == kSizeStretch) cross = cross_length - cross_before - cross_after;
    cross = axis.ClampCross(child, std::max(cross, 0));
    int cross_pos = axis.CrossStart(rect) + cross_before;
    if (axis.CrossAlign(child) == 2) {
      cross_pos = axis.CrossEnd(rect) - cross_after - cross;
    } else if (axis.CrossAlign(child) == 1) {
      cross_pos = axis.CrossStart(rect) + (cross_length + cross_before - cross_after - cross) / 2;
    }
    child->SetPos(axis.MakeRect(cursor + before, cross_pos, length, cross));
    tallest = std::max(tallest, cross);
    used += before + length + after;
    cursor += before + length + after + child_margin;
    remaining -= length + after + child_margin;
  }
  return axis.Make(used + GapsTotal(child_margin, totals.count), tallest);
}

SIZE Estimate(const std::vector<Control*>& items, SIZE available, int child_margin,
              const RECT& padding, bool vertical) {
  const Axis axis(vertical);
  int main = 0;
  int cross = 0;
  int count = 0;
  for (Control* child : items) {
    if (!InFlow(child)) continue;
    ++count;
    const SIZE size = child->EstimateSize(available);
    const RECT margin = child->GetMargin();
    main += axis.MainBefore(margin) + axis.ClampMain(child, axis.Main(size)) +
            axis.MainAfter(margin);
    cross = std::max(cross, axis.CrossBefore(margin) + axis.ClampCross(child, axis.Cross(size)) +
                                axis.CrossAfter(margin));
  }
  main += GapsTotal(child_margin, count);
  SIZE result = axis.Make(main, cross);
  result.cx += padding.left + padding.right;
  result.cy += padding.top + padding.bottom;
  return result;
}

}  // namespace linear_arrange
}  // namespace ui
