#pragma once

#include "ui/controls/box/box.h"

namespace ui {

// A box whose children sit in a grid (see TileLayout). Markup class "TileBox".
// Threads and ownership as Box.
class TileBox : public Box {
 public:
  TileBox();
};

}  // namespace ui
