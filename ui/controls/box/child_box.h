#pragma once

#include <string>

#include "ui/controls/box/box.h"

namespace ui {

// A box whose children come from another markup file ("xmlfile"), built at the first Init (the
// first attachment under a parent of a window). A box is attached again whenever a tree is
// bound to a window, as a skin is while it is built and again when it becomes the root, so
// later attachments keep that tree instead of adding another copy. The file's tree counts
// against the markup builder's control depth limit from the box's own depth, so a file too
// deep for where the box stands cannot be built. A file that cannot be built leaves the box
// empty; a file set after the first Init is not built. As Box otherwise.
class ChildBox : public Box {
 public:
  // A child box with this many child boxes above it builds nothing, so a file whose tree holds
  // a child box of the same file (or a cycle of files) ends, as markup includes do, instead of
  // building itself again at each attachment until the stack overflows.
  static constexpr int kMostNestedChildBoxes = 8;

  ChildBox();

  void Init() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  std::wstring GetChildXmlFile() const { return xml_file_; }
  void SetChildXmlFile(const std::wstring& file) { xml_file_ = file; }
  // How deep the markup build that makes this box places it (1 directly under the parent the
  // build fills): the box's depth before its links to the boxes above it are made.
  void SetBuildDepth(int depth) { build_depth_ = depth; }

 private:
  void BuildContent();

  std::wstring xml_file_;
  bool content_built_ = false;
  int build_depth_ = 0;
};

}  // namespace ui
