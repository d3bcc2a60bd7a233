#pragma once

#include <memory>
#include <string>

#include "ui/controls/list/list_box.h"

namespace ui {

class TreeNode;

// A vertical list of tree nodes. Nodes enter and leave through the root node (GetRootNode()
// ->AddChildNode and the node operations); the list's own add and remove operations do nothing
// on a tree view and answer false (an added control stays the caller's).
//
// Threads: the window's thread only.
// Ownership: the view owns its root node and, through its list, every node added below it.
class TreeView : public ListBox {
 public:
  // clock null means the real clock.
  explicit TreeView(AnimationClock* clock = nullptr);
  ~TreeView() override;

  // The invisible node (depth -1) above the top-level nodes.
  TreeNode* GetRootNode() const { return root_node_.get(); }
  // Pixels of indent per depth (not DPI-scaled).
  int GetIndent() const { return indent_; }
  void SetIndent(int indent);

  // ListBox overrides.
  void SetWindow(Window* window, Box* parent, bool init) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  bool Add(Control* control) override;
  bool AddAt(Control* control, int index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

 private:
  friend class TreeNode;

  bool InsertNodeItem(TreeNode* node, int index);
  void RemoveNodeItem(TreeNode* node);

  int indent_ = 0;
  std::unique_ptr<TreeNode> root_node_;
};

}  // namespace ui
