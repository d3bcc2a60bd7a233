#pragma once

#include "ui/controls/box/box.h"

namespace ui {

// A box whose children stand side by side (markup "HBox"). As Box otherwise.
class HBox : public Box {
 public:
  HBox();
};

}  // namespace ui
