#include "ui/controls/box/h_box.h"

#include "ui/controls/layout/h_layout.h"

namespace ui {

HBox::HBox() : Box(new HLayout()) {}

}  // namespace ui
