#pragma once

#include <utility>
#include <vector>

#include "ui/controls/box/box.h"
#include "ui/controls/list/list_box.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace list_testing {

constexpr int kRowHeight = 20;

// A list of the given kind, kRect in size, inside a window without a handle. Records the list's
// own select events as (new, old) pairs.
template <typename List>
class ListFixture {
 public:
  static constexpr RECT kRect = {0, 0, 100, 100};

  explicit ListFixture(List* list) : root(new Box), list(list) {
    window.InstallRoot(root);
    root->Add(list);
    list->EnableScrollBar(true, false);
    list->AttachEvent(kEventSelect, [this](EventArgs* args) {
      selects.emplace_back(static_cast<int>(args->wParam), static_cast<int>(args->lParam));
      return true;
    });
  }

  void Layout() { list->SetPos(kRect); }

  void Key(wchar_t key) {
    EventArgs args;
    args.type = kEventKeyDown;
    args.sender = list;
    args.chKey = key;
    list->DispatchEvent(args);
  }

  void Wheel(int delta) {
    EventArgs args;
    args.type = kEventMouseScrollWheel;
    args.sender = list;
    args.wParam = static_cast<WPARAM>(delta);
    list->DispatchEvent(args);
  }

  int ScrollY() const { return list->GetScrollOffset().cy; }

  Window window;
  Box* root;
  List* list;
  std::vector<std::pair<int, int>> selects;
};

}  // namespace list_testing
}  // namespace ui
