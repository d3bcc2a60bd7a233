#pragma once

#include <string>

#include "ui/controls/box/box.h"

namespace ui {

// Markup of boxes nested depth deep under the root element, the innermost holding inner.
inline std::wstring NestedBoxes(int depth, const std::wstring& inner = L"") {
  std::wstring markup = L"<Window>";
  for (int i = 0; i < depth; ++i) markup += L"<Box>";
  markup += inner;
  for (int i = 0; i < depth; ++i) markup += L"</Box>";
  return markup + L"</Window>";
}

// How deep the tree under control goes along first children; 1 for a control alone.
inline int DepthOf(const Control* control) {
  const auto* box = dynamic_cast<const Box*>(control);
  if (!box || box->GetCount() == 0) return 1;
  return 1 + DepthOf(box->GetItemAt(0));
}

}  // namespace ui
