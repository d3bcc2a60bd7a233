#pragma once

#include <vector>

#include "ui/controls/list/list_container_element.h"

namespace ui {

class TreeView;

// A list element with child nodes and an expand flag. The nodes of a tree view are all items of
// the view's list, in tree order (each node before its descendants); a node is shown only while
// every node above it is expanded. Its depth indents its content by the view's indent (added to
// its own left padding).
//
// Threads: the window's thread only.
// Ownership: a node in a view is owned by the view's list like any item; a subtree that is not
// in a view is owned by its top node, which deletes its child nodes with itself. Removing a node
// from a view removes its whole subtree, and the removed nodes are unlinked from each other.
class TreeNode : public ListContainerElement {
 public:
  TreeNode() = default;
  ~TreeNode() override;

  // Appends (or inserts at index among the child nodes) node with its subtree; false for null,
  // a node that already has a parent node, or an index out of range. Under a node in a view the
  // subtree enters the view's list below this node.
  bool AddChildNode(TreeNode* node);
  bool AddChildNodeAt(TreeNode* node, int index);
  // Takes node (with its subtree) out of the tree and destroys it; false when it is not a child
  // node of this one.
  bool RemoveChildNode(TreeNode* node);
  bool RemoveChildNodeAt(int index);
  void RemoveAllChildNodes();

  int GetChildNodeCount() const { return static_cast<int>(child_nodes_.size()); }
  // Null when index is out of range.
  TreeNode* GetChildNode(int index) const;
  // -1 when node is not a child node of this one.
  int GetChildNodeIndex(const TreeNode* node) const;
  TreeNode* GetParentNode() const { return parent_node_; }
  // -1 for a view's root node, 0 for the nodes below it.
  int GetDepth() const { return depth_; }
  TreeView* GetTreeView() const { return tree_view_; }
  bool IsExpand() const { return expanded_; }
  // Shows or hides the subtree below this node and re-lays out the view.
  void SetExpand(bool expand);

  // Inverts the expand flag of the event's sender node and re-lays out its view; always true, so
  // it may be attached as a handler to any node.
  virtual bool OnClickItem(EventArgs* args);

  // Base overrides.
  // The node's own controls are attached below it; child nodes in a view are items of the view
  // and keep the view as their parent.
  void SetWindow(Window* window, Box* parent, bool init) override;
  // Own visibility, and every node above expanded and visible.
  bool IsVisible() const override;
  // The node's own controls follow its plain visibility, not the expand state above it.
  void SetInternVisible(bool visible) override;

 private:
  friend class TreeView;

  // Depth and view for node and its subtree; the content indent follows the depth.
  void AttachSubtree(TreeView* view, int depth);
  // Clears the links of the subtree so that its nodes can be destroyed in any order.
  void UnlinkSubtree();
  void InsertIntoView(int* view_index);
  void RemoveFromView();
  // The view's list position right after this node's last descendant (0 for the root node).
  int ViewIndexAfterSubtree() const;
  void ApplyIndent();

  int depth_ = -1;
  bool expanded_ = true;
  TreeView* tree_view_ = nullptr;
  TreeNode* parent_node_ = nullptr;
  std::vector<TreeNode*> child_nodes_;
  int applied_indent_ = 0;
};

}  // namespace ui
