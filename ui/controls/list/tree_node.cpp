#include "ui/controls/list/tree_node.h"

#include <algorithm>

#include "ui/controls/layout/layout.h"
#include "ui/controls/list/tree_view.h"

namespace ui {

TreeNode::~TreeNode() {
  if (parent_node_) {
    auto& siblings = parent_node_->child_nodes_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  std::vector<TreeNode*> children;
  children.swap(child_nodes_);
  for (TreeNode* child : children) {
    child->parent_node_ = nullptr;
    // Nodes in a view belong to its list; a loose subtree belongs to its top node.
    if (!tree_view_) delete child;
  }
}

TreeNode* TreeNode::GetChildNode(int index) const {
  if (static_cast<unsigned>(index) >= child_nodes_.size()) return nullptr;
  return child_nodes_[index];
}

int TreeNode::GetChildNodeIndex(const TreeNode* node) const {
  auto it = std::find(child_nodes_.begin(), child_nodes_.end(), node);
  return it == child_nodes_.end() ? -1 : static_cast<int>(it - child_nodes_.begin());
}

bool TreeNode::AddChildNode(TreeNode* node) { return AddChildNodeAt(node, GetChildNodeCount()); }

bool TreeNode::AddChildNodeAt(TreeNode* node, int index) {
  if (!node || node == this || node->parent_node_ || node->tree_view_ || index < 0 ||
      index > GetChildNodeCount()) {
    return false;
  }
  int view_index = index == 0 ? (tree_view_ ? tree_view_->GetItemIndex(this) + 1 : 0)
                              : child_nodes_[index - 1]->ViewIndexAfterSubtree();
  child_nodes_.insert(child_nodes_.begin() + index, node);
  node->parent_node_ = this;
  node->AttachSubtree(tree_view_, depth_ + 1);
  if (tree_view_) node->InsertIntoView(&view_index);
  return true;
}

bool TreeNode::RemoveChildNode(TreeNode* node) {
  return RemoveChildNodeAt(GetChildNodeIndex(node));
}

bool TreeNode::RemoveChildNodeAt(int index) {
  TreeNode* node = GetChildNode(index);
  if (!node) return false;
  child_nodes_.erase(child_nodes_.begin() + index);
  node->parent_node_ = nullptr;
  if (node->tree_view_) {
    // The list destroys each removed item (possibly later, from the window's queue), so the
    // nodes must not reach each other any more.
    node->RemoveFromView();
  } else {
    delete node;
  }
  return true;
}

void TreeNode::RemoveAllChildNodes() {
  while (!child_nodes_.empty()) RemoveChildNodeAt(GetChildNodeCount() - 1);
}

void TreeNode::SetExpand(bool expand) {
  if (expand == expanded_) return;
  expanded_ = expand;
  if (tree_view_) tree_view_->Arrange();
}

bool TreeNode::OnClickItem(EventArgs* args) {
  auto* node = args ? dynamic_cast<TreeNode*>(args->sender) : nullptr;
  if (node) {
    node->expanded_ = !node->expanded_;
    if (node->tree_view_) node->tree_view_->Arrange();
  }
  return true;
}

// --- view membership ---

void TreeNode::AttachSubtree(TreeView* view, int depth) {
  tree_view_ = view;
  depth_ = depth;
  ApplyIndent();
  for (TreeNode* child : child_nodes_) child->AttachSubtree(view, depth + 1);
}

void TreeNode::UnlinkSubtree() {
  std::vector<TreeNode*> children;
  children.swap(child_nodes_);
  for (TreeNode* child : children) {
    child->parent_node_ = nullptr;
    child->UnlinkSubtree();
  }
  tree_view_ = nullptr;
}

void TreeNode::InsertIntoView(int* view_index) {
  tree_view_->InsertNodeItem(this, (*view_index)++);
  for (TreeNode* child : child_nodes_) child->InsertIntoView(view_index);
}

void TreeNode::RemoveFromView() {
  // In list order: each node before its descendants, subtrees one after the other.
  std::vector<TreeNode*> subtree;
  std::vector<TreeNode*> pending = {this};
  while (!pending.empty()) {
    TreeNode* node = pending.back();
    pending.pop_back();
    subtree.push_back(node);
    pending.insert(pending.end(), node->child_nodes_.rbegin(), node->child_nodes_.rend());
  }
  TreeView* view = tree_view_;
  UnlinkSubtree();
  // From the end of the subtree: when a selected node goes, the rest of the subtree after it is
  // already gone, so the selection moves straight to the node after the subtree instead of
  // passing (with a select event each) through nodes that are about to be removed.
  for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) view->RemoveNodeItem(*it);
}

int TreeNode::ViewIndexAfterSubtree() const {
  const TreeNode* last = this;
  while (!last->child_nodes_.empty()) last = last->child_nodes_.back();
  if (!tree_view_) return 0;
  return tree_view_->GetItemIndex(const_cast<TreeNode*>(last)) + 1;
}

void TreeNode::ApplyIndent() {
  const int indent = tree_view_ && depth_ > 0 ? tree_view_->GetIndent() * depth_ : 0;
  if (indent == applied_indent_) return;
  RECT padding = layout_->GetPadding();
  padding.left += indent - applied_indent_;
  applied_indent_ = indent;
  layout_->SetPadding(padding, false);
}

// --- window and visibility ---

void TreeNode::SetWindow(Window* window, Box* parent, bool init) {
  // A loose subtree goes along with its top node; nodes in a view get the window from the view.
  for (TreeNode* child : child_nodes_) {
    if (!child->tree_view_) child->SetWindow(window, this, init);
  }
  ListContainerElement::SetWindow(window, parent, init);
}

bool TreeNode::IsVisible() const {
  if (!visible_ || !intern_visible_) return false;
  return !parent_node_ || (parent_node_->expanded_ && parent_node_->IsVisible());
}

void TreeNode::SetInternVisible(bool visible) {
  Control::SetInternVisible(visible);
  const bool own = visible_ && intern_visible_;
  for (Control* child : items_) child->SetInternVisible(own);
}

}  // namespace ui
