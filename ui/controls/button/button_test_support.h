#pragma once

#include <vector>

#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace testing_support {

// Counts into *count the events of type that reach control's handlers, keeping their wParam in
// *params when given. Both must outlive the control.
inline void Count(Control* control, EventType type, int* count,
                  std::vector<WPARAM>* params = nullptr) {
  control->AttachEvent(type, [count, params](EventArgs* args) {
    ++*count;
    if (params) params->push_back(args->wParam);
    return true;
  });
}

// A window without a handle whose root box holds one control of type T.
template <typename T>
class Attached {
 public:
  Attached() : root(new Box), control(new T) {
    window.InstallRoot(root);
    root->Add(control);
  }
  Window window;
  Box* root;
  T* control;
};

}  // namespace testing_support
}  // namespace ui
