#include "ui/controls/box/v_box.h"

#include "ui/controls/layout/v_layout.h"

namespace ui {

VBox::VBox() : Box(new VLayout()) {}

}  // namespace ui
