#include "ui/controls/render/gdiplus/gdi_clip.h"

#include <gtest/gtest.h>

#include "ui/controls/render/auto_clip.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"

namespace ui {
namespace {

class ClipTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(context_.Resize(100, 100)); }

  RECT ClipBox() {
    RECT box{};
    ::GetClipBox(context_.GetDC(), &box);
    return box;
  }

  static void ExpectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
  }

  RenderContext_GdiPlus context_;
};

TEST_F(ClipTest, NestedScopesRestoreTheOuterClipAndThenNone) {
  {
    AutoClip outer(&context_, RECT{10, 10, 80, 80});
    ExpectRect({10, 10, 80, 80}, ClipBox());
    {
      AutoClip inner(&context_, RECT{50, 0, 100, 60});
      ExpectRect({50, 10, 80, 60}, ClipBox());  // intersected with the outer clip
    }
    ExpectRect({10, 10, 80, 80}, ClipBox());
  }
  ExpectRect({0, 0, 100, 100}, ClipBox());
}

TEST_F(ClipTest, ScopeWithoutClipLeavesTheDcUntouched) {
  const int level = ::SaveDC(context_.GetDC());
  ::RestoreDC(context_.GetDC(), level);
  {
    AutoClip none(&context_, RECT{10, 10, 20, 20}, false);
    ExpectRect({0, 0, 100, 100}, ClipBox());
    EXPECT_EQ(level, ::SaveDC(context_.GetDC()));  // no level was pushed
    ::RestoreDC(context_.GetDC(), -1);
  }
  ExpectRect({0, 0, 100, 100}, ClipBox());
}

TEST_F(ClipTest, ClipFollowsTheWindowOrigin) {
  context_.SetWindowOrg(20, 30);
  {
    AutoClip clip(&context_, RECT{20, 30, 40, 50});  // logical: device (0, 0, 20, 20)
    ExpectRect({20, 30, 40, 50}, ClipBox());
    context_.SetWindowOrg(0, 0);
    ExpectRect({0, 0, 20, 20}, ClipBox());
  }
}

TEST_F(ClipTest, ClippedFillStaysInside) {
  context_.Clear();
  {
    AutoClip clip(&context_, RECT{10, 10, 20, 20});
    context_.DrawColor(RECT{0, 0, 100, 100}, Gdiplus::ARGB{0xFFFF0000});
  }
  auto* pixels = static_cast<const DWORD*>(context_.GetBits());
  EXPECT_EQ(0xFFFF0000u, pixels[15 * 100 + 15]);
  EXPECT_EQ(0u, pixels[5 * 100 + 5]);
  EXPECT_EQ(0u, pixels[25 * 100 + 15]);
}

TEST_F(ClipTest, RoundClipCutsTheCornersButKeepsTheEdges) {
  context_.Clear();
  {
    AutoClip clip(&context_, RECT{10, 10, 60, 60}, 20, 20);
    context_.DrawColor(RECT{0, 0, 100, 100}, Gdiplus::ARGB{0xFF0000FF});
  }
  auto* pixels = static_cast<const DWORD*>(context_.GetBits());
  EXPECT_EQ(0u, pixels[10 * 100 + 10]);           // the corner is cut off
  EXPECT_EQ(0xFF0000FFu, pixels[10 * 100 + 35]);  // the top edge is inside
  EXPECT_EQ(0xFF0000FFu, pixels[59 * 100 + 35]);  // so is the last row
  EXPECT_EQ(0u, pixels[60 * 100 + 35]);
}

TEST_F(ClipTest, NullDcIsIgnored) {
  GdiClip clip;
  clip.CreateClip(nullptr, RECT{0, 0, 1, 1});
  clip.CreateRoundClip(nullptr, RECT{0, 0, 1, 1}, 2, 2);
  clip.ClearClip(nullptr);
  AutoClip scope(nullptr, RECT{0, 0, 1, 1});
}

}  // namespace
}  // namespace ui
