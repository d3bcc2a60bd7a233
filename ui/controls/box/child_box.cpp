#include "ui/controls/box/child_box.h"

#include <algorithm>

#include "ui/controls/core/markup_link.h"

namespace ui {

namespace {

int ChildBoxesAbove(const Control* control) {
  int count = 0;
  for (const Box* box = control->GetParent(); box; box = box->GetParent()) {
    if (dynamic_cast<const ChildBox*>(box)) ++count;
  }
  return count;
}

// 1 for a control without a parent.
int DepthInTree(const Control* control) {
  int depth = 1;
  for (const Box* box = control->GetParent(); box; box = box->GetParent()) ++depth;
  return depth;
}

}  // namespace

ChildBox::ChildBox() = default;

void ChildBox::Init() {
  if (!xml_file_.empty() && !content_built_ && ChildBoxesAbove(this) < kMostNestedChildBoxes) {
    BuildContent();
  }
  Box::Init();
}

void ChildBox::BuildContent() {
  content_built_ = true;
  // The file's tree goes on from this box's depth, so nested child boxes share one depth limit
  // instead of each starting afresh. While a skin is being built, the box's parent is not yet
  // linked to the boxes above it; the builder said how deep it places the box.
  const int depth = std::max(build_depth_, DepthInTree(this));
  Control* content = markup_link::BuildBoxFromMarkup(xml_file_, depth);
  if (content) {
    Add(content);
  } else {
    RemoveAll();
  }
}

void ChildBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"xmlfile") {
    xml_file_ = value;
    return;
  }
  Box::SetAttribute(name, value);
}

}  // namespace ui
