#include "ui/controls/tab/tile_layout.h"

#include <algorithm>
#include <cwchar>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"

namespace ui {
namespace {

constexpr LONG kUnboundedHeight = 9999;

bool TakesCell(const Control* child) { return child->IsVisible() && !child->IsFloat(); }

}  // namespace

bool TileLayout::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"itemsize") {
    long size[2] = {0, 0};
    ReadNumbers(value.c_str(), size, 2);
    SetItemSize({size[0], size[1]});
    return true;
  }
  if (name == L"columns") {
    SetColumns(static_cast<int>(wcstol(value.c_str(), nullptr, 10)));
    return true;
  }
  return Layout::SetAttribute(name, value);
}

void TileLayout::SetItemSize(SIZE size) {
  int cx = static_cast<int>(size.cx);
  int cy = static_cast<int>(size.cy);
  DisplayScale::Instance().ScaleValue(cx);
  DisplayScale::Instance().ScaleValue(cy);
  if (item_size_.cx == cx && item_size_.cy == cy) return;
  item_size_ = {cx, cy};
  if (owner_) owner_->Arrange();
}

void TileLayout::SetColumns(int columns) {
  if (columns < 1) return;
  columns_ = columns;
  if (owner_) owner_->Arrange();
}

TileLayout::Cells TileLayout::CellsFor(int width) const {
  int columns = columns_;
  if (item_size_.cx > 0) columns = width / item_size_.cx;
  if (columns < 1) columns = 1;
  const int cell_width = width / columns;
  return {columns, cell_width, width - cell_width * columns};
}

int TileLayout::RowHeight(const std::vector<Control*>& items, size_t first,
                          const Cells& cells) const {
  const Control* leader = items[first];
  const int leader_cell = cells.width + (cells.extra > 0 ? 1 : 0);
  const int half_margin = child_margin_ / 2;
  int row_height = 0;
  int in_row = 0;
  for (size_t i = first; i < items.size() && in_row < cells.columns; ++i) {
    Control* child = items[i];
    if (!TakesCell(child)) continue;
    const RECT margin = child->GetMargin();
    const bool at_edge = in_row == 0 || in_row == cells.columns - 1;
    int width = leader_cell - margin.left - margin.right - (at_edge ? half_margin : child_margin_);
    width = ClampWidth(leader, width);
    const SIZE estimate = child->EstimateSize({width, kUnboundedHeight});
    const int height = ClampHeight(leader, estimate.cy);
    row_height = std::max<int>(row_height, height + margin.top + margin.bottom);
    ++in_row;
  }
  return row_height;
}

void TileLayout::PlaceInCell(Control* child, const RECT& cell) const {
  const RECT margin = child->GetMargin();
  const int half_margin = child_margin_ / 2;
  const int inner_left = cell.left + margin.left + half_margin;
  const int inner_right = cell.right - margin.right - half_margin;
  const int inner_top = cell.top + margin.top;
  const int row_bottom = cell.bottom;
  const SIZE estimate = child->EstimateSize({inner_right - inner_left, row_bottom - inner_top});
  int width = estimate.cx == kSizeStretch ? inner_right - inner_left : estimate.cx;
  int height = estimate.cy == kSizeStretch ? row_bottom - inner_top : estimate.cy;
  width = ClampWidth(child, width);
  height = ClampHeight(child, height);
  const int left = (inner_left + inner_right - width) / 2;
  const int top = (inner_top + row_bottom - height) / 2;
  child->SetPos({left, top, left + width, top + height});
}

SIZE TileLayout::ArrangeChild(const std::vector<Control*>& items, RECT rect) {
  const int width = rect.right - rect.left;
  const Cells cells = CellsFor(width);
  int extra = cells.extra;
  int x = rect.left;
  int y = rect.top;
  int count = 0;
  int row_height = 0;
  int bottom = rect.top;
  for (size_t i = 0; i < items.size(); ++i) {
    Control* child = items[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceChild(child, rect);
      continue;
    }
    if (count % cells.columns == 0) row_height = RowHeight(items, i, cells);
    int cell_right = x + cells.width;
    if (extra > 0) {
      ++cell_right;
      --extra;
    }
    PlaceInCell(child, {x, y, cell_right, y + row_height});
    bottom = y + row_height;
    ++count;
    if (count % cells.columns == 0) {
      x = rect.left;
      extra = cells.extra;
      y += row_height + child_margin_;
      row_height = 0;
    } else {
      x = cell_right;
    }
  }
  return {width, count == 0 ? 0 : bottom - rect.top};
}

SIZE TileLayout::EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) {
  SIZE size = owner_ ? owner_->Control::EstimateSize(available) : SIZE{0, 0};
  size.cy = 0;
  if (item_size_.cx > 0 && owner_) {
    columns_ = owner_->GetFixedWidth() / item_size_.cx;
    if (columns_ < 1) columns_ = 1;
  }
  const Control* first = nullptr;
  int visible = 0;
  for (Control* child : items) {
    if (!child->IsVisible()) continue;
    if (!first) first = child;
    ++visible;
  }
  if (visible == 0) return size;
  const int rows = (visible + columns_ - 1) / columns_;
  size.cy =
      first->GetFixedHeight() * rows + padding_.top + padding_.bottom + child_margin_ * (rows - 1);
  return size;
}

}  // namespace ui
