#include "ui/controls/core/place_holder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/testing/scoped_display_scale.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace {

// Records which boxes were asked to lay themselves out again.
class RecordingBox : public Box {
 public:
  explicit RecordingBox(std::vector<const Box*>* log) : log_(log) {}
  void ArrangeSelf() override {
    log_->push_back(this);
    Box::ArrangeSelf();
  }

 private:
  std::vector<const Box*>* log_;
};

TEST(PlaceHolderSizeTest, FixedWidthAcceptsMarkersAndNonNegativeValues) {
  ScopedDisplayScale scale(200, true);
  Control control;
  control.SetFixedWidth(-3, true, true);
  EXPECT_EQ(kSizeStretch, control.GetFixedWidth());
  control.SetFixedWidth(0, true, true);
  EXPECT_EQ(0, control.GetFixedWidth());
  control.SetFixedWidth(kSizeAuto, true, true);
  EXPECT_EQ(kSizeAuto, control.GetFixedWidth());
  control.SetFixedWidth(5, true, true);
  EXPECT_EQ(10, control.GetFixedWidth());
  control.SetFixedWidth(5, true, false);
  EXPECT_EQ(5, control.GetFixedWidth());
  control.SetFixedHeight(7, true);
  EXPECT_EQ(14, control.GetFixedHeight());
}

TEST(PlaceHolderSizeTest, FixedWidthWithoutArrangeOnlyMarksReEstimation) {
  std::vector<const Box*> log;
  RecordingBox parent(&log);
  Control* child = new Control();
  parent.Add(child);
  log.clear();
  child->SetReEstimateSize(false);
  child->SetFixedWidth(30, false, false);
  EXPECT_TRUE(child->IsReEstimateSize());
  EXPECT_TRUE(log.empty());
  child->SetFixedWidth(40, true, false);
  EXPECT_EQ(1u, log.size());
}

TEST(PlaceHolderSizeTest, MinimumAndMaximumRules) {
  Control control;
  control.SetMinWidth(-5);
  EXPECT_EQ(-1, control.GetMinWidth());
  control.SetMaxWidth(-1);
  EXPECT_EQ(-1, control.GetMaxWidth());
  control.SetMaxHeight(-7);
  EXPECT_EQ(-7, control.GetMaxHeight());
}

TEST(PlaceHolderArrangeTest, WalksPastAutoAncestorsToTheFirstFixedOne) {
  std::vector<const Box*> log;
  Window window;
  auto* root = new RecordingBox(&log);
  auto* outer = new RecordingBox(&log);
  auto* middle = new RecordingBox(&log);
  auto* inner = new RecordingBox(&log);
  window.InstallRoot(root);
  root->Add(outer);
  outer->Add(middle);
  middle->Add(inner);
  Control* leaf = new Control();
  inner->Add(leaf);
  middle->SetAttribute(L"width", L"auto");
  inner->SetAttribute(L"height", L"auto");
  middle->SetReEstimateSize(false);
  inner->SetReEstimateSize(false);
  log.clear();

  leaf->ArrangeAncestor();
  ASSERT_EQ(1u, log.size());
  EXPECT_EQ(outer, log[0]);
  EXPECT_TRUE(inner->IsReEstimateSize());
  EXPECT_TRUE(middle->IsReEstimateSize());

  outer->SetAttribute(L"width", L"auto");
  log.clear();
  root->SetAttribute(L"width", L"auto");
  log.clear();
  leaf->ArrangeAncestor();
  ASSERT_EQ(1u, log.size());
  EXPECT_EQ(root, log[0]);  // every ancestor is auto: the root lays out
}

TEST(PlaceHolderArrangeTest, HiddenNodesNeitherArrangeNorInvalidate) {
  std::vector<const Box*> log;
  Window window;
  auto* root = new RecordingBox(&log);
  window.InstallRoot(root);
  auto* hidden = new Box();
  root->Add(hidden);
  hidden->SetVisible(false);
  hidden->SetPos({0, 0, 10, 10});
  window.SetArrangeNeeded();
  // Clear the window's flag by asking it indirectly: a hidden node must not set it again.
  hidden->SetReEstimateSize(false);
  hidden->ArrangeSelf();
  EXPECT_FALSE(hidden->IsReEstimateSize());
  hidden->Invalidate();
  EXPECT_FALSE(hidden->IsCacheDirty());
}

TEST(PlaceHolderArrangeTest, WithoutAWindowTheParentLaysOut) {
  std::vector<const Box*> log;
  RecordingBox parent(&log);
  Control* child = new Control();
  parent.Add(child);
  log.clear();
  child->ArrangeAncestor();
  ASSERT_EQ(1u, log.size());
  EXPECT_EQ(&parent, log[0]);
}

// A box scrolled by a fixed amount, standing in for the scrollable box.
class ScrolledBox : public Box {
 public:
  SIZE GetScrollOffset() const override { return {0, 20}; }
  bool HasScrollRange(bool /*vertical_only*/) const override { return true; }
};

TEST(PlaceHolderScrollTest, HitsAreShiftedByTheScrollPositionExceptForFloatChildren) {
  ScrolledBox box;
  auto* flow = new Control();
  auto* floating = new Control();
  floating->SetAttribute(L"float", L"true");
  box.Add(flow);
  box.Add(floating);
  flow->SetPos({0, 30, 10, 40});
  floating->SetPos({0, 30, 10, 40});
  EXPECT_EQ(20, flow->GetAncestorScrollPos().cy);
  EXPECT_TRUE(flow->IsPointInWithScrollOffset({5, 15}));
  EXPECT_EQ(0, floating->GetAncestorScrollPos().cy);
  EXPECT_TRUE(floating->IsPointInWithScrollOffset({5, 35}));
}

TEST(ControlEstimateTest, AutoControlWithASourceRectangleTakesTheSourceSize) {
  Control control;
  control.SetAttribute(L"width", L"auto");
  control.SetAttribute(L"height", L"auto");
  control.SetAttribute(L"bkimage", L"file='x.png' source='2,3,12,8'");
  const SIZE size = control.EstimateSize({100, 100});
  EXPECT_EQ(10, size.cx);
  EXPECT_EQ(5, size.cy);
  EXPECT_EQ(10, control.GetFixedWidth());
  EXPECT_EQ(5, control.GetFixedHeight());
}

TEST(ControlEstimateTest, AutoControlWithoutContentEstimatesZero) {
  Control control;
  control.SetAttribute(L"width", L"auto");
  const SIZE size = control.EstimateSize({100, 100});
  EXPECT_EQ(0, size.cx);
  EXPECT_EQ(kSizeStretch, size.cy);
}

}  // namespace
}  // namespace ui
