#include "ui/controls/box/box.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "kestrum/common/check.h"
#include "ui/base/util/text_util.h"
#include "ui/controls/box/child_box.h"
#include "ui/controls/box/h_box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/testing/nested_markup.h"
#include "ui/windowing/markup/markup_builder.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace {

// A list element stand-in: the only kind of child a selection search stops at.
class SelectableControl : public Control {
 public:
  bool IsSelectableItem() const override { return true; }
};

Control* FirstHit(Control* control, void*) { return control; }

Control* HitTest(Box& box, int x, int y, UINT extra_flags = 0) {
  POINT point = {x, y};
  return box.FindControl(FirstHit, &point,
                         Control::kFindVisible | Control::kFindHitTest | extra_flags);
}

// Sets the watched flag when destroyed.
class WatchedControl : public Control {
 public:
  explicit WatchedControl(bool* destroyed) : destroyed_(destroyed) {}
  ~WatchedControl() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

TEST(BoxListTest, AddAtBoundsAndIndexQueries) {
  Box box;
  auto* a = new Control();
  auto* b = new Control();
  EXPECT_FALSE(box.Add(nullptr));
  EXPECT_TRUE(box.Add(a));
  EXPECT_TRUE(box.AddAt(b, 1));  // index == count appends
  auto* c = new Control();
  EXPECT_FALSE(box.AddAt(c, 3));
  EXPECT_FALSE(box.AddAt(c, -1));
  EXPECT_TRUE(box.AddAt(c, 0));
  EXPECT_EQ(3, box.GetCount());
  EXPECT_EQ(c, box.GetItemAt(0));
  EXPECT_EQ(nullptr, box.GetItemAt(-1));
  EXPECT_EQ(nullptr, box.GetItemAt(3));
  EXPECT_EQ(2, box.GetItemIndex(b));
  EXPECT_EQ(-1, box.GetItemIndex(nullptr));
  EXPECT_EQ(&box, static_cast<const PlaceHolder*>(a)->GetParent());
  EXPECT_TRUE(box.SetItemIndex(b, 0));
  EXPECT_EQ(b, box.GetItemAt(0));
  EXPECT_FALSE(box.SetItemIndex(b, 3));
  Control stranger;
  EXPECT_FALSE(box.SetItemIndex(&stranger, 0));
  EXPECT_FALSE(box.Remove(&stranger));
  EXPECT_FALSE(box.RemoveAt(7));
  EXPECT_TRUE(box.RemoveAt(0));
  EXPECT_EQ(2, box.GetCount());
}

TEST(BoxListTest, RemoveAllWithoutAutoDestroyOnlyUnlinks) {
  bool destroyed = false;
  auto keeper = std::make_unique<WatchedControl>(&destroyed);
  {
    Box box;
    box.SetAutoDestroyChild(false);
    box.Add(keeper.get());
    box.RemoveAll();
    EXPECT_EQ(0, box.GetCount());
    box.Add(keeper.get());
  }  // the box does not own its children now
  EXPECT_FALSE(destroyed);
}

TEST(BoxListTest, BoxDeletesItsChildren) {
  bool destroyed = false;
  {
    Box box;
    box.Add(new WatchedControl(&destroyed));
  }
  EXPECT_TRUE(destroyed);
}

TEST(BoxListTest, RemovedChildWaitsForTheWindowsDelayedDelete) {
  bool destroyed = false;
  Box* root = new Box();
  auto window = std::make_unique<Window>();
  window->InstallRoot(root);
  auto* child = new WatchedControl(&destroyed);
  root->Add(child);
  // Removing from inside the child's own handler must not delete it under the dispatch.
  child->AttachEvent(kEventMouseButtonUp, [root, child](EventArgs*) {
    root->Remove(child);
    return true;
  });
  child->SendEvent(kEventMouseButtonUp);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(0, root->GetCount());
  EXPECT_EQ(nullptr, static_cast<const PlaceHolder*>(child)->GetParent());
  window.reset();  // the window's queue owns it now
  EXPECT_TRUE(destroyed);
}

TEST(BoxSelectableTest, ForwardAndBackwardSearch) {
  Box box;
  EXPECT_EQ(-1, box.FindSelectable(0, true));
  box.Add(new Control());
  box.Add(new SelectableControl());
  auto* disabled = new SelectableControl();
  box.Add(disabled);
  disabled->SetEnabled(false);
  box.Add(new Control());
  EXPECT_EQ(1, box.FindSelectable(10, false));  // index clamped to the last child
  EXPECT_EQ(-1, box.FindSelectable(10, true));
  EXPECT_EQ(1, box.FindSelectable(-4, true));
  EXPECT_EQ(-1, box.FindSelectable(2, true));
}

TEST(BoxSelectableTest, BackwardSearchFallsBackToTheFirstSelectable) {
  Box box;
  box.Add(new Control());
  box.Add(new Control());
  box.Add(new SelectableControl());
  EXPECT_EQ(2, box.FindSelectable(0, false));
}

TEST(BoxHitTestTest, FindsTheChildUnderThePointOrTheBox) {
  HBox box;
  auto* left = new Control();
  auto* right = new Control();
  box.Add(left);
  box.Add(right);
  box.SetPos({0, 0, 100, 20});
  EXPECT_EQ(left, HitTest(box, 10, 10));
  EXPECT_EQ(right, HitTest(box, 60, 10));
  EXPECT_EQ(nullptr, HitTest(box, 150, 10));
  right->SetVisible(false);
  box.SetPos({0, 0, 100, 21});
  EXPECT_EQ(left, HitTest(box, 60, 10));  // a hidden child is skipped, left now fills the row
  left->SetMouseEnabled(false);
  EXPECT_EQ(&box, HitTest(box, 10, 10));
}

TEST(BoxHitTestTest, MouseChildFalseKeepsTheSearchOnTheBox) {
  Box box;
  box.Add(new Control());
  box.SetAttribute(L"mousechild", L"false");
  box.SetPos({0, 0, 10, 10});
  EXPECT_EQ(&box, HitTest(box, 5, 5));
}

TEST(BoxHitTestTest, PaddingHidesFlowChildrenButNotFloatingOnes) {
  Box box;
  box.SetAttribute(L"padding", L"5,5,5,5");
  auto* flow = new Control();
  box.Add(flow);
  auto* floating = new Control();
  floating->ApplyAttributeList(L"float=\"true\" width=\"3\" height=\"3\"");
  box.Add(floating);
  box.SetPos({0, 0, 30, 30});
  flow->SetPos({0, 0, 30, 30});  // reaches into the padding
  floating->SetPos({0, 0, 3, 3});
  EXPECT_EQ(floating, HitTest(box, 1, 1, Control::kFindTopFirst));
  box.Remove(floating);
  EXPECT_EQ(&box, HitTest(box, 1, 1));
  EXPECT_EQ(flow, HitTest(box, 10, 10));
}

TEST(BoxHitTestTest, TopFirstAndMeFirstOrder) {
  Box box;
  auto* bottom = new Control();
  auto* top = new Control();
  box.Add(bottom);
  box.Add(top);
  box.SetPos({0, 0, 10, 10});
  EXPECT_EQ(bottom, HitTest(box, 5, 5));
  EXPECT_EQ(top, HitTest(box, 5, 5, Control::kFindTopFirst));
  EXPECT_EQ(&box, HitTest(box, 5, 5, Control::kFindMeFirst));
}

TEST(BoxVisibilityTest, HidingABoxHidesDescendantsAndShowingRestoresThem) {
  Box root;
  auto* inner = new Box();
  auto* shown = new Control();
  auto* own_hidden = new Control();
  root.Add(inner);
  inner->Add(shown);
  inner->Add(own_hidden);
  own_hidden->SetVisible(false);
  root.SetVisible(false);
  EXPECT_FALSE(inner->IsVisible());
  EXPECT_FALSE(shown->IsVisible());
  root.SetVisible(true);
  EXPECT_TRUE(shown->IsVisible());
  EXPECT_FALSE(own_hidden->IsVisible());
  // A child added to a hidden box starts hidden.
  root.SetVisible(false);
  auto* late = new Control();
  inner->Add(late);
  EXPECT_FALSE(late->IsVisible());
}

TEST(BoxVisibilityTest, EnablingPropagates) {
  Box box;
  auto* child = new Control();
  box.Add(child);
  box.SetEnabled(false);
  EXPECT_FALSE(child->IsEnabled());
  EXPECT_EQ(kControlStateDisabled, child->GetState());
  box.SetEnabled(true);
  EXPECT_TRUE(child->IsEnabled());
}

TEST(BoxFocusTest, HidingTheFocusedControlTakesTheFocusAway) {
  Box* root = new Box();
  Window window;
  window.InstallRoot(root);
  auto* child = new Control();
  root->Add(child);
  window.FocusControl(child);
  ASSERT_EQ(child, window.GetFocusControl());
  EXPECT_TRUE(child->IsFocused());
  child->SetVisible(false);
  EXPECT_EQ(nullptr, window.GetFocusControl());
  EXPECT_FALSE(child->IsFocused());
}

TEST(ChildBoxTest, MarkupFileThatCannotBeBuiltLeavesNoChildren) {
  Box* root = new Box();
  Window window;
  window.InstallRoot(root);
  auto* child_box = new ChildBox();
  child_box->SetAttribute(L"xmlfile", L"no\\such\\file.xml");
  EXPECT_EQ(L"no\\such\\file.xml", child_box->GetChildXmlFile());
  child_box->Add(new Control());
  root->Add(child_box);
  EXPECT_EQ(0, child_box->GetCount());
}

// A markup file in the temp folder, named by absolute path so the resource path does not matter.
class ChildBoxMarkupTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    file_ = std::wstring(temp) + L"child_box_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++files_made_) + L".xml";
    Write(L"<Window><VBox name=\"content\"><Control /></VBox></Window>");
  }
  void TearDown() override { DeleteFileW(file_.c_str()); }
  void Write(const std::wstring& markup) {
    std::string bytes;
    TextUtil::WideToUtf8(markup, bytes);
    FILE* file = _wfopen(file_.c_str(), L"wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
  }

  std::wstring file_;
  static int files_made_;
};

int ChildBoxMarkupTest::files_made_ = 0;

TEST_F(ChildBoxMarkupTest, ASkinnedWindowHoldsTheChildTreeOnce) {
  // The skin is built against the window before it becomes the window's root, as a skinned
  // window does: the child box is attached while the tree is built and again at InstallRoot.
  Window window;
  MarkupBuilder builder;
  Control* root = builder.Load(
      L"<Window><Box><ChildBox name=\"child\" xmlfile=\"" + file_ + L"\"/></Box></Window>", nullptr,
      &window, nullptr);
  ASSERT_NE(nullptr, root);
  window.InstallRoot(root);
  auto* child_box = dynamic_cast<ChildBox*>(window.ControlByName(L"child"));
  ASSERT_NE(nullptr, child_box);
  ASSERT_EQ(1, child_box->GetCount());
  auto* content = dynamic_cast<Box*>(child_box->GetItemAt(0));
  ASSERT_NE(nullptr, content);
  EXPECT_EQ(L"content", content->GetName());
  EXPECT_EQ(1, content->GetCount());
  EXPECT_EQ(content, window.ControlByName(L"content"));
  EXPECT_EQ(child_box, content->GetParent());
}

TEST_F(ChildBoxMarkupTest, AttachingAgainKeepsTheTreeItBuilt) {
  Box* root = new Box();
  Window window;
  window.InstallRoot(root);
  auto* child_box = new ChildBox();
  child_box->SetAttribute(L"xmlfile", file_);
  root->Add(child_box);
  ASSERT_EQ(1, child_box->GetCount());
  Control* content = child_box->GetItemAt(0);
  // Moved to another box of the window: attached with init again.
  auto* other = new Box();
  root->Add(other);
  root->SetAutoDestroyChild(false);
  root->Remove(child_box);
  root->SetAutoDestroyChild(true);
  other->Add(child_box);
  ASSERT_EQ(1, child_box->GetCount());
  EXPECT_EQ(content, child_box->GetItemAt(0));
}

TEST_F(ChildBoxMarkupTest, AFileThatHoldsItselfStopsAtTheNestingCap) {
  Write(L"<Window><ChildBox xmlfile=\"" + file_ + L"\"/></Window>");
  Box* root = new Box();
  Window window;
  window.InstallRoot(root);
  auto* child_box = new ChildBox();
  child_box->SetAttribute(L"xmlfile", file_);
  root->Add(child_box);
  int nested = 0;
  for (const Box* box = child_box; box; box = dynamic_cast<const Box*>(box->GetItemAt(0))) {
    ++nested;
  }
  EXPECT_EQ(ChildBox::kMostNestedChildBoxes + 1, nested);
}

TEST_F(ChildBoxMarkupTest, NestedChildBoxesShareOneControlDepthLimit) {
  // Each level of the file adds its boxes and the child box they hold.
  constexpr int kBoxesPerFile = 20;
  Write(NestedBoxes(kBoxesPerFile, L"<ChildBox xmlfile=\"" + file_ + L"\"/>"));
  Box* root = new Box();
  Window window;
  window.InstallRoot(root);
  auto* child_box = new ChildBox();
  child_box->SetAttribute(L"xmlfile", file_);
  root->Add(child_box);
  // The root and the first child box, then as many whole levels of the file as fit.
  const int levels = (MarkupBuilder::kMostControlDepth - 2) / (kBoxesPerFile + 1);
  EXPECT_EQ(2 + levels * (kBoxesPerFile + 1), DepthOf(root));
}

TEST_F(ChildBoxMarkupTest, ASkinCountsTheChildTreeFromWhereItPlacesTheChildBox) {
  // The file alone is within the limit, but not under a child box this deep. While the skin is
  // built, the child box's parent is not yet linked to the boxes above it.
  constexpr int kDepth = 40;
  Write(NestedBoxes(kDepth, L""));
  Window window;
  MarkupBuilder builder;
  Control* root =
      builder.Load(NestedBoxes(kDepth, L"<ChildBox name=\"child\" xmlfile=\"" + file_ + L"\"/>"),
                   nullptr, &window, nullptr);
  ASSERT_NE(nullptr, root);
  window.InstallRoot(root);
  auto* child_box = dynamic_cast<ChildBox*>(window.ControlByName(L"child"));
  ASSERT_NE(nullptr, child_box);
  EXPECT_EQ(0, child_box->GetCount());
  EXPECT_EQ(kDepth + 1, DepthOf(root));
}

#if KESTRUM_CHECK_IS_ON()
// In a process of its own no window was ever made, so nothing installed the window layer.
TEST(ControlLinkDeathTest, ControlsReachingTheWindowLayerBeforeAnyWindowAreCaught) {
  EXPECT_DEATH(
      {
        Box parent;
        auto* child_box = new ChildBox();
        child_box->SetAttribute(L"xmlfile", L"child.xml");
        child_box->SetWindow(nullptr, &parent, true);
      },
      "check failed: .*no markup builder installed");
  EXPECT_DEATH(
      {
        Box box;
        // Never followed: the check comes first.
        box.SetWindow(reinterpret_cast<Window*>(&box), nullptr, false);
        box.Add(new Control());
      },
      "check failed: .*no window layer installed");
}
#endif

}  // namespace
}  // namespace ui
