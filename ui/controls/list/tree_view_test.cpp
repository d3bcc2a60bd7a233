#include "ui/controls/list/tree_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls/layout/layout.h"
#include "ui/controls/list/list_test_support.h"
#include "ui/controls/list/tree_node.h"

namespace ui {
namespace {

using list_testing::kRowHeight;

TreeNode* MakeNode(const std::wstring& name) {
  auto* node = new TreeNode;
  node->SetName(name);
  node->SetFixedHeight(kRowHeight, false);
  return node;
}

// A (B, C (D)), E below the root of a view with an indent of 10.
class TreeViewTest : public testing::Test, public list_testing::ListFixture<TreeView> {
 protected:
  TreeViewTest() : ListFixture(new TreeView) {
    list->SetAttribute(L"indent", L"10");
    a_ = MakeNode(L"A");
    c_ = MakeNode(L"C");
    d_ = MakeNode(L"D");
    e_ = MakeNode(L"E");
    list->GetRootNode()->AddChildNode(a_);
    a_->AddChildNode(MakeNode(L"B"));
    // A loose subtree joins as a whole.
    c_->AddChildNode(d_);
    a_->AddChildNode(c_);
    list->GetRootNode()->AddChildNode(e_);
    Layout();
  }

  // Names of the view's items in list order, each followed by its index.
  std::wstring Order() const {
    std::wstring order;
    for (int i = 0; i < list->GetCount(); ++i) {
      auto* node = static_cast<TreeNode*>(list->GetItemAt(i));
      order += node->GetName() + std::to_wstring(node->GetIndex());
    }
    return order;
  }

  // Names of the visible items, top to bottom.
  std::wstring Shown() const {
    std::wstring shown;
    int top = -1;
    for (Control* item : list->items()) {
      if (!item->IsVisible()) continue;
      EXPECT_GT(item->GetPos().top, top);
      top = item->GetPos().top;
      shown += item->GetName();
    }
    return shown;
  }

  TreeNode* a_;
  TreeNode* c_;
  TreeNode* d_;
  TreeNode* e_;
};

TEST_F(TreeViewTest, NodesEnterTheListInTreeOrderWithDepthAndIndent) {
  EXPECT_EQ(L"A0B1C2D3E4", Order());
  EXPECT_EQ(2, d_->GetDepth());
  EXPECT_EQ(a_, c_->GetParentNode());
  EXPECT_EQ(20, d_->GetLayout()->GetPadding().left);
  EXPECT_EQ(0, e_->GetLayout()->GetPadding().left);
  list->SetIndent(16);
  EXPECT_EQ(32, d_->GetLayout()->GetPadding().left);

  ASSERT_TRUE(a_->AddChildNodeAt(MakeNode(L"F"), 1));
  EXPECT_EQ(L"A0B1F2C3D4E5", Order());
  ASSERT_TRUE(list->GetRootNode()->AddChildNodeAt(MakeNode(L"G"), 0));
  EXPECT_EQ(L"G0A1B2F3C4D5E6", Order());
  EXPECT_FALSE(a_->AddChildNode(d_));  // already placed
  TreeNode* late = MakeNode(L"H");
  EXPECT_FALSE(a_->AddChildNodeAt(late, 9));
  delete late;

  // The list's own operations take nothing.
  TreeNode* stray = MakeNode(L"S");
  EXPECT_FALSE(list->Add(stray));
  EXPECT_EQ(7, list->GetCount());
  delete stray;
}

TEST_F(TreeViewTest, CollapsingHidesTheSubtreeAndExpandingRestoresIt) {
  EXPECT_EQ(L"ABCDE", Shown());
  c_->SetExpand(false);
  Layout();
  EXPECT_FALSE(d_->IsVisible());
  EXPECT_EQ(L"ABCE", Shown());
  EXPECT_EQ(3 * kRowHeight, e_->GetPos().top);

  a_->SetExpand(false);
  Layout();
  EXPECT_EQ(L"AE", Shown());
  a_->SetExpand(true);  // C stays collapsed
  Layout();
  EXPECT_EQ(L"ABCE", Shown());

  EventArgs click;
  click.sender = c_;
  EXPECT_TRUE(d_->OnClickItem(&click));  // any node's handler toggles the sender
  Layout();
  EXPECT_TRUE(c_->IsExpand());
  EXPECT_EQ(L"ABCDE", Shown());
}

TEST_F(TreeViewTest, KeysSkipCollapsedNodes) {
  c_->SetExpand(false);
  list->SelectItem(2, false, false);  // C
  Key(VK_DOWN);
  EXPECT_EQ(e_, list->GetItemAt(list->GetCurSel()));
  Key(VK_UP);
  EXPECT_EQ(c_, list->GetItemAt(list->GetCurSel()));
}

TEST_F(TreeViewTest, RemovingANodeRemovesItsSubtreeAndKeepsTheSelection) {
  list->SelectItem(4, false, false);  // E
  ASSERT_TRUE(a_->RemoveChildNode(c_));
  EXPECT_EQ(L"A0B1E2", Order());
  EXPECT_EQ(2, list->GetCurSel());
  EXPECT_EQ(1, a_->GetChildNodeCount());
  EXPECT_FALSE(a_->RemoveChildNode(e_));

  list->GetRootNode()->RemoveAllChildNodes();
  EXPECT_EQ(0, list->GetCount());
  EXPECT_EQ(-1, list->GetCurSel());
}

TEST_F(TreeViewTest, RemovingTheSelectedSubtreeSelectsOnlyTheNodeAfterIt) {
  list->SelectItem(1, false, false);  // B, within A's subtree
  std::vector<Control*> chosen;
  list->AttachEvent(kEventSelect, [this, &chosen](EventArgs* args) {
    chosen.push_back(list->GetItemAt(static_cast<int>(args->wParam)));
    return true;
  });
  ASSERT_TRUE(list->GetRootNode()->RemoveChildNode(a_));
  // One select event, for E; none for C or D on their way out.
  EXPECT_EQ((std::vector<Control*>{e_}), chosen);
  EXPECT_EQ(e_, list->GetItemAt(list->GetCurSel()));
}

}  // namespace
}  // namespace ui
