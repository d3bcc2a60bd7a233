#include <gtest/gtest.h>

#include <memory>

#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/controls/testing/paint_target.h"

namespace ui {
namespace {

constexpr DWORD kRed = 0xFFFF0000;

BYTE RedOf(DWORD pixel) { return static_cast<BYTE>(pixel >> 16); }

class ControlPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResourceHub::AddTextColor(L"ctl_paint_red", L"#FFFF0000");
    ASSERT_TRUE(paint_.Ready());
  }

  DWORD At(int x, int y) { return paint_.At(x, y); }

  PaintTarget paint_;
  RenderContext_GdiPlus& target_ = *paint_.Context();
  const RECT everywhere_ = paint_.Everywhere();
};

TEST_F(ControlPaintTest, OpaqueBackgroundFillsOnlyTheControl) {
  Control control;
  control.SetAttribute(L"bkcolor", L"ctl_paint_red");
  control.SetPos({4, 4, 14, 14});
  control.Paint(&target_, everywhere_);
  EXPECT_EQ(kRed, At(4, 4));
  EXPECT_EQ(kRed, At(13, 13));
  EXPECT_EQ(0u, At(14, 14));
  EXPECT_EQ(0u, At(3, 4));
}

TEST_F(ControlPaintTest, OddBorderIsInsetByHalfAndOneMoreOnTheFarSides) {
  Control control;
  control.SetAttribute(L"bordercolor", L"ctl_paint_red");
  control.SetAttribute(L"bordersize", L"3");
  control.SetPos({0, 0, 10, 10});
  control.Paint(&target_, everywhere_);
  EXPECT_EQ(kRed, At(0, 5));  // the 3-pixel line centred on x = 1 covers 0..2
  EXPECT_EQ(kRed, At(9, 5));  // and centred on x = 8 covers 7..9
  EXPECT_EQ(kRed, At(5, 0));
  EXPECT_EQ(0u, At(5, 5));
  EXPECT_EQ(0u, At(10, 5));
}

TEST_F(ControlPaintTest, ZeroAlphaPaintsNeitherTheControlNorItsChildren) {
  Box box;
  auto* child = new Control();
  child->SetAttribute(L"bkcolor", L"ctl_paint_red");
  box.Add(child);
  box.SetAttribute(L"bkcolor", L"ctl_paint_red");
  box.SetPos({0, 0, 10, 10});
  box.SetAttribute(L"alpha", L"0");
  box.Paint(&target_, everywhere_);
  EXPECT_EQ(0u, At(5, 5));
}

TEST_F(ControlPaintTest, TranslucentControlIsBlendedWithItsAlpha) {
  Control control;
  control.SetAttribute(L"bkcolor", L"ctl_paint_red");
  control.SetAttribute(L"alpha", L"128");
  control.SetPos({2, 2, 12, 12});
  control.Paint(&target_, everywhere_);
  const DWORD pixel = At(5, 5);
  EXPECT_NEAR(128, RedOf(pixel), 2);
  EXPECT_NEAR(128, static_cast<int>(pixel >> 24), 2);
  EXPECT_EQ(0u, At(1, 1));
}

TEST_F(ControlPaintTest, BoxPaintsVisibleChildrenOverItself) {
  Box box;
  auto* child = new Control();
  child->SetAttribute(L"bkcolor", L"ctl_paint_red");
  child->ApplyAttributeList(L"width=\"4\" height=\"4\" halign=\"right\"");
  box.Add(child);
  box.SetPos({0, 0, 10, 10});
  box.Paint(&target_, everywhere_);
  EXPECT_EQ(kRed, At(7, 1));
  EXPECT_EQ(0u, At(2, 1));
  child->SetVisible(false);
  target_.Clear();
  box.Paint(&target_, everywhere_);
  EXPECT_EQ(0u, At(7, 1));
}

}  // namespace
}  // namespace ui
