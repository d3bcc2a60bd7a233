#include "ui/controls/layout/linear_arrange.h"

#include <algorithm>

#include "ui/controls/core/control.h"
#include "ui/controls/layout/layout.h"

namespace ui {
namespace linear_arrange {

namespace {

// Dropped lengths add up over a long life; past this the children are placed from the start
// again, so that their coordinates stay far from what drawing can take.
constexpr int kMaxLead = 1 << 24;

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
  int MainEnd(const RECT& r) const { return vertical_ ? r.bottom : r.right; }
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

// Places one flowing child at the cursor of at and moves the cursor past it; share is what a
// stretching child gets, leftover the pixels the division left for the first of them.
void PlaceInFlow(Control* child, const RECT& rect, int child_margin, int share, int* leftover,
                 const Axis& axis, Placement& at) {
  const int cross_length = axis.CrossLength(rect);
  const RECT margin = child->GetMargin();
  const int before = axis.MainBefore(margin);
  const int after = axis.MainAfter(margin);
  at.remaining -= before;
  const SIZE size = child->EstimateSize(axis.Make(at.remaining, cross_length));
  int length = axis.Main(size);
  if (length == kSizeStretch) {
    length = share;
    // The first stretch children in list order take the pixels the division left over.
    if (*leftover > 0) {
      ++length;
      --*leftover;
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
  child->SetPos(axis.MakeRect(at.cursor + before, cross_pos, length, cross));
  if (cross > at.tallest) {
    at.tallest = cross;
    at.tallest_count = 0;
  }
  if (cross == at.tallest) ++at.tallest_count;
  at.used += before + length + after;
  at.cursor += before + length + after + child_margin;
  at.remaining -= length + after + child_margin;
  const RECT placed = child->GetPos(true);
  const int start = axis.MainStart(placed);
  const int end = axis.MainEnd(placed);
  if (at.flow_count > 0 && (start < at.last_start || end < at.last_end)) at.stacked = false;
  at.last_start = start;
  at.last_end = end;
  ++at.flow_count;
}

// A child whose size is measured and not yet final is measured again by every pass: the
// placement of those after it cannot be kept.
bool AwaitsEstimate(const Control* child) {
  const bool measured = child->GetFixedWidth() == kSizeAuto || child->GetFixedHeight() == kSizeAuto;
  return child->IsVisible() && measured && child->IsReEstimateSize();
}

// Whether the children from placement.count on can follow the kept ones without moving them:
// the same rect and margin, the kept children still in front, none of the new ones floating or
// stretching along the main axis.
bool CanAppend(const std::vector<Control*>& items, const RECT& rect, int child_margin,
               const Axis& axis, const Placement& placement, unsigned generation) {
  if (!placement.kept || placement.generation != generation) return false;
  if (!EqualRect(&rect, &placement.rect) || child_margin != placement.child_margin) return false;
  if (items.size() < placement.count) return false;
  if (placement.count > 0 && items[placement.count - 1] != placement.last) return false;
  const SIZE whole = axis.Make(axis.MainLength(rect), axis.CrossLength(rect));
  for (size_t i = placement.count; i < items.size(); ++i) {
    Control* child = items[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat() || axis.Main(child->EstimateSize(whole)) == kSizeStretch) return false;
  }
  return true;
}

SIZE Append(const std::vector<Control*>& items, const RECT& rect, int child_margin,
            const Axis& axis, Placement& placement, const unsigned* generation) {
  // The kept children stay as they are; one that holds a mark is the box's to lay out (it knows
  // from its own mark whether any does).
  int no_leftover = 0;
  bool awaits = false;
  for (size_t i = placement.count; i < items.size(); ++i) {
    Control* child = items[i];
    if (!child->IsVisible()) continue;
    PlaceInFlow(child, rect, child_margin, 0, &no_leftover, axis, placement);
    awaits = awaits || AwaitsEstimate(child);
  }
  placement.count = items.size();
  placement.last = items.empty() ? nullptr : items.back();
  // A child placed on the way may have changed one before it.
  placement.kept = !awaits && *generation == placement.generation;
  return axis.Make(placement.used + GapsTotal(child_margin, placement.flow_count),
                   placement.tallest);
}

// The first flowing child after items.front(), or items.size().
size_t NextInFlow(const std::vector<Control*>& items) {
  size_t next = 1;
  while (next < items.size() && !InFlow(items[next])) ++next;
  return next;
}

}  // namespace

SIZE Arrange(const std::vector<Control*>& items, RECT rect, int child_margin, bool vertical,
             Placement* placement, unsigned* generation) {
  const Axis axis(vertical);
  if (placement && generation &&
      CanAppend(items, rect, child_margin, axis, *placement, *generation)) {
    return Append(items, rect, child_margin, axis, *placement, generation);
  }
  unsigned own_generation = 0;
  if (!generation) generation = &own_generation;
  const unsigned pass = ++*generation;
  const int main_length = axis.MainLength(rect);
  const int cross_length = axis.CrossLength(rect);
  const SIZE whole = axis.Make(main_length, cross_length);
  const FlowTotals totals = MeasureFlow(items, whole, axis);
  const int fixed = totals.fixed_total + GapsTotal(child_margin, totals.count);
  int share = 0;
  if (totals.stretch_count > 0) share = std::max((main_length - fixed) / totals.stretch_count, 0);
  int leftover = main_length - share * totals.stretch_count - fixed;

  Placement at;
  at.cursor = axis.MainStart(rect);
  at.remaining = main_length;
  bool keepable = totals.stretch_count == 0;
  for (Control* child : items) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      Layout::PlaceChild(child, rect);
      keepable = false;
      continue;
    }
    PlaceInFlow(child, rect, child_margin, share, &leftover, axis, at);
    keepable = keepable && !AwaitsEstimate(child);
  }
  if (placement) {
    at.rect = rect;
    at.child_margin = child_margin;
    at.count = items.size();
    at.last = items.empty() ? nullptr : items.back();
    at.generation = pass;
    at.kept = keepable && *generation == pass;
    *placement = at;
  }
  return axis.Make(at.used + GapsTotal(child_margin, totals.count), at.tallest);
}

int DropFirst(const std::vector<Control*>& items, bool vertical, Placement* placement,
              unsigned generation, int limit) {
  if (!placement->kept || placement->generation != generation) return -1;
  if (placement->count < 2 || items.size() != placement->count || items.back() != placement->last) {
    return -1;
  }
  Control* first = items.front();
  if (!InFlow(first)) {
    // It took no room: the content starts where it did.
    --placement->count;
    return 0;
  }
  const size_t next = NextInFlow(items);
  if (next == items.size()) return -1;
  const Axis axis(vertical);
  // The content starts at the outer edge of the next flowing child from now on.
  const int start =
      axis.MainStart(items[next]->GetPos(true)) - axis.MainBefore(items[next]->GetMargin());
  const int length = start - (axis.MainStart(placement->rect) + placement->lead);
  if (length < 0 || length >= limit || placement->lead > kMaxLead - length) return -1;
  // The widest across may be the one that goes: the others' extent is then not known.
  if (axis.CrossLength(first->GetPos(true)) == placement->tallest) {
    if (placement->tallest_count < 2) return -1;
    --placement->tallest_count;
  }
  placement->lead += length;
  placement->used -= length - placement->child_margin;
  placement->remaining += length;
  --placement->flow_count;
  --placement->count;
  return length;
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
    main +=
        axis.MainBefore(margin) + axis.ClampMain(child, axis.Main(size)) + axis.MainAfter(margin);
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
