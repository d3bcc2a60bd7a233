#include "ui/controls/list/tree_view.h"

#include <cwchar>

#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/tree_node.h"

namespace ui {

TreeView::TreeView(AnimationClock* clock)
    : ListBox(new VLayout, clock), root_node_(std::make_unique<TreeNode>()) {
  root_node_->tree_view_ = this;
}

TreeView::~TreeView() {
  // Before the list deletes the nodes: the root lets go of the top-level nodes.
  root_node_.reset();
}

void TreeView::SetIndent(int indent) {
  indent_ = indent;
  for (Control* item : items_) {
    if (auto* node = dynamic_cast<TreeNode*>(item)) node->ApplyIndent();
  }
}

void TreeView::SetWindow(Window* window, Box* parent, bool init) {
  ListBox::SetWindow(window, parent, init);
  root_node_->SetWindow(window, parent, init);
}

void TreeView::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"indent") {
    SetIndent(_wtoi(value.c_str()));
  } else {
    ListBox::SetAttribute(name, value);
  }
}

// Nodes come in through the root node only. Refusing (rather than claiming success) leaves the
// control with the caller, so a markup child of a tree view is deleted, not leaked.
bool TreeView::Add(Control* /*control*/) { return false; }

bool TreeView::AddAt(Control* /*control*/, int /*index*/) { return false; }

bool TreeView::Remove(Control* /*control*/) { return false; }

bool TreeView::RemoveAt(int /*index*/) { return false; }

void TreeView::RemoveAll() {}

bool TreeView::InsertNodeItem(TreeNode* node, int index) { return ListBox::AddAt(node, index); }

void TreeView::RemoveNodeItem(TreeNode* node) { ListBox::Remove(node); }

}  // namespace ui
