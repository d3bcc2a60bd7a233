#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls/layout/layout.h"

namespace ui {

// Places the visible children in a grid, row by row from the left, in cells of equal width:
// either a fixed number of columns ("columns") or as many columns of the item width
// ("itemsize") as fit. Pixels the columns cannot share evenly go one each to the leftmost cells
// of every row. A row is as tall as its tallest child (margins included); each child is centred
// in its cell. Minimum and maximum sizes clamp as in the other layouts: a negative maximum
// ("stretch", "auto") is no limit. Floating children take no cell and are placed over the whole
// rectangle.
//
// Threads and ownership as Layout.
class TileLayout : public Layout {
 public:
  // "itemsize" (width,height; DPI-scaled) and "columns" (values below 1 are ignored); both are
  // reported as handled. Other names go to Layout.
  bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SIZE ArrangeChild(const std::vector<Control*>& items, RECT rect) override;
  // The owner's own size with the height of the rows: the first visible child's fixed height
  // per row, with padding and child margins. With an item width, the columns are derived from
  // the owner's fixed width and stored.
  SIZE EstimateSizeByChild(const std::vector<Control*>& items, SIZE available) override;

  SIZE GetItemSize() const { return item_size_; }
  // DPI-scales both values; a change re-arranges the owner.
  void SetItemSize(SIZE size);
  int GetColumns() const { return columns_; }
  // Values below 1 are ignored; a change re-arranges the owner.
  void SetColumns(int columns);

 private:
  // Cell widths of one row: the plain width, and how many of the leftmost cells get one more.
  struct Cells {
    int columns;
    int width;
    int extra;
  };
  Cells CellsFor(int width) const;
  // The height the row starting at items[first] needs.
  int RowHeight(const std::vector<Control*>& items, size_t first, const Cells& cells) const;
  // Places child centred in its cell; cell holds the cell's left, top and right and the row
  // bottom.
  void PlaceInCell(Control* child, const RECT& cell) const;

  int columns_ = 1;
  SIZE item_size_ = {0, 0};
};

}  // namespace ui
