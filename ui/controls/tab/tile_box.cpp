#include "ui/controls/tab/tile_box.h"

#include "ui/controls/tab/tile_layout.h"

namespace ui {

TileBox::TileBox() : Box(new TileLayout) {}

}  // namespace ui
