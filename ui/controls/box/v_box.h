#pragma once

#include "ui/controls/box/box.h"

namespace ui {

// A box whose children stand one below the other (markup "VBox"). As Box otherwise.
class VBox : public Box {
 public:
  VBox();
};

}  // namespace ui
