#include "ui/controls/shadow/window_shadow.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/controls/layout/layout.h"
#include "ui/controls/shadow/shadow_box.h"
#include "ui/controls/testing/scoped_display_scale.h"

namespace ui {
namespace {

// A root fixed at width x height, as a skin gives it.
Control* FixedRoot(int width, int height) {
  auto* root = new Control;
  root->SetFixedWidth(width, false, false);
  root->SetFixedHeight(height, false);
  return root;
}

void ExpectSides(const RECT& rect, LONG side) {
  EXPECT_EQ(side, rect.left);
  EXPECT_EQ(side, rect.top);
  EXPECT_EQ(side, rect.right);
  EXPECT_EQ(side, rect.bottom);
}

TEST(WindowShadowTest, DefaultShadowWidensTheRootByFourteenOnEachSide) {
  ScopedDisplayScale scale(100, false);
  WindowShadow shadow;
  Control* root = FixedRoot(300, 200);
  std::unique_ptr<Control> box(shadow.AttachShadow(root));
  ASSERT_EQ(shadow.GetShadowBox(), box.get());
  EXPECT_EQ(328, box->GetFixedWidth());
  EXPECT_EQ(228, box->GetFixedHeight());
  ExpectSides(shadow.GetShadowBox()->GetLayout()->GetPadding(), 14);
  ExpectSides(shadow.ShadowMargin(), 14);
  EXPECT_EQ(3, root->GetBorderRound().cx);
  EXPECT_EQ(root, shadow.GetShadowBox()->GetItemAt(0));
  EXPECT_EQ(std::wstring(WindowShadow::kDefaultImage), box->GetBkImage());
}

TEST(WindowShadowTest, StretchAndZeroSizesPassThrough) {
  WindowShadow shadow;
  std::unique_ptr<Control> box(shadow.AttachShadow(FixedRoot(0, kSizeStretch)));
  EXPECT_EQ(0, box->GetFixedWidth());
  EXPECT_EQ(kSizeStretch, box->GetFixedHeight());
}

TEST(WindowShadowTest, CornerIsScaledWithTheDisplay) {
  ScopedDisplayScale scale(150, true);
  WindowShadow shadow;
  ExpectSides(shadow.ShadowMargin(), 21);
}

TEST(WindowShadowTest, MaximisingRemovesMarginAndRoundingRestoringBringsThemBack) {
  ScopedDisplayScale scale(100, false);
  WindowShadow shadow;
  Control* root = FixedRoot(300, 200);
  std::unique_ptr<Control> box(shadow.AttachShadow(root));
  shadow.MaximizedOrRestored(true);
  ExpectSides(shadow.ShadowMargin(), 0);
  ExpectSides(shadow.GetShadowBox()->GetLayout()->GetPadding(), 0);
  EXPECT_EQ(0, root->GetBorderRound().cx);
  shadow.MaximizedOrRestored(false);
  ExpectSides(shadow.ShadowMargin(), 14);
  ExpectSides(shadow.GetShadowBox()->GetLayout()->GetPadding(), 14);
  EXPECT_EQ(3, root->GetBorderRound().cy);
}

TEST(WindowShadowTest, DpiChangeRescalesFromTheGivenCornerEvenWhenMaximised) {
  WindowShadow shadow;
  std::unique_ptr<Control> box(shadow.AttachShadow(FixedRoot(300, 200)));
  shadow.MaximizedOrRestored(true);
  ScopedDisplayScale scale(150, true);
  shadow.ChangeDpiScale();
  ExpectSides(shadow.ShadowMargin(), 21);
  ExpectSides(shadow.GetShadowBox()->GetLayout()->GetPadding(), 21);
}

TEST(WindowShadowTest, OwnImageKeepsTheRootsRounding) {
  WindowShadow shadow;
  shadow.SetShadowImage(L"file='mine.png'");
  Control* root = FixedRoot(300, 200);
  std::unique_ptr<Control> box(shadow.AttachShadow(root));
  EXPECT_EQ(0, root->GetBorderRound().cx);
  shadow.MaximizedOrRestored(false);
  EXPECT_EQ(0, root->GetBorderRound().cx);
}

TEST(WindowShadowTest, DetachedShadowKeepsTheRootAndHasNoMargin) {
  WindowShadow shadow;
  shadow.SetAttached(false);
  std::unique_ptr<Control> root(FixedRoot(300, 200));
  EXPECT_EQ(root.get(), shadow.AttachShadow(root.get()));
  EXPECT_EQ(nullptr, shadow.GetShadowBox());
  ExpectSides(shadow.ShadowMargin(), 0);
  shadow.MaximizedOrRestored(true);  // nothing to adjust
  EXPECT_EQ(300, root->GetFixedWidth());
}

// Counts the box's own layer passes instead of drawing them.
class CountingShadowBox : public ShadowBox {
 public:
  void PaintBkColor(IRenderContext* /*render*/) override { ++backgrounds; }
  void PaintBkImage(IRenderContext* /*render*/) override {}
  void PaintStateColors(IRenderContext* /*render*/) override {}
  void PaintStateImages(IRenderContext* /*render*/) override {}
  void PaintBorder(IRenderContext* /*render*/) override {}
  int backgrounds = 0;
};

TEST(ShadowBoxTest, RepaintInsideTheBodySkipsTheShadow) {
  ScopedDisplayScale scale(100, false);
  CountingShadowBox box;
  box.GetLayout()->SetPadding({14, 14, 14, 14}, false);
  box.SetPos({0, 0, 328, 228});
  box.PaintLayers(nullptr, {14, 14, 314, 214});
  EXPECT_EQ(0, box.backgrounds);
  box.PaintLayers(nullptr, {13, 14, 100, 100});
  EXPECT_EQ(1, box.backgrounds);
}

}  // namespace
}  // namespace ui
