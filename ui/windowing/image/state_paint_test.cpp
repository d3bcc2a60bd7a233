// State images and colours painted into a real memory render context.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/base/image/image_info.h"
#include "ui/base/image/state_color_map.h"
#include "ui/base/image/state_image.h"
#include "ui/base/image/state_image_owner.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/testing/gdiplus_environment.h"

namespace ui {
namespace {

constexpr RECT kArea = {0, 0, 6, 4};

// Draws whole images over kArea the way a control does: decoded through the resource manager,
// from the fixture folder.
class PaintingOwner : public StateImageOwner {
 public:
  bool HasHotAnimation() override { return hot_animation; }
  int HotAlpha() override { return hot_alpha; }
  bool DrawStateImage(IRenderContext* render, ImageRef& image, const std::wstring&,
                      int fade) override {
    if (!image.image)
      image.image =
          ResourceHub::ObtainImage(testing_support::FixtureFolder() + image.spec.file_name);
    if (!image.image) return false;
    const RECT source = {0, 0, image.image->width(), image.image->height()};
    render->DrawImage(kArea, image.image->Frame(0), image.image->has_alpha(), kArea, source,
                      image.spec.corner, static_cast<BYTE>(fade < 0 ? image.spec.fade : fade));
    return true;
  }

  bool hot_animation = false;
  int hot_alpha = 0;
};

class StatePaintTest : public testing::Test {
 protected:
  void SetUp() override {
    ResourceHub::Start(L"", nullptr, false, L"", L"");
    context_ = ResourceHub::MakeRenderContext();
    ASSERT_TRUE(context_ && context_->Resize(6, 4));
    context_->Clear();
    ResourceHub::AddTextColor(L"paint_red", L"#FFFF0000");
    ResourceHub::AddTextColor(L"paint_blue", L"#FF0000FF");
  }
  void TearDown() override {
    context_.reset();
    ResourceHub::Stop();
  }
  DWORD Pixel(int x, int y) { return static_cast<DWORD*>(context_->GetBits())[y * 6 + x]; }

  std::unique_ptr<IRenderContext> context_;
  PaintingOwner owner_;
};

TEST_F(StatePaintTest, ColorsFallBackToTheNormalColor) {
  StateColorMap colors;
  colors.SetOwner(&owner_);
  colors.SetColor(kControlStateNormal, L"paint_red");
  colors.Paint(context_.get(), kArea, kControlStatePushed);
  EXPECT_EQ(Pixel(2, 2), 0xFFFF0000u);

  colors.SetColor(kControlStateHot, L"paint_blue");
  colors.Paint(context_.get(), kArea, kControlStatePushed);  // pushed falls back to hot
  EXPECT_EQ(Pixel(2, 2), 0xFF0000FFu);
  colors.Paint(context_.get(), kArea, kControlStateDisabled);
  EXPECT_EQ(Pixel(2, 2), 0xFFFF0000u);
}

TEST_F(StatePaintTest, HotColorFadesInOverTheNormalOne) {
  StateColorMap colors;
  colors.SetOwner(&owner_);
  colors.SetColor(kControlStateNormal, L"paint_red");
  colors.SetColor(kControlStateHot, L"paint_blue");
  owner_.hot_animation = true;
  owner_.hot_alpha = 0;
  colors.Paint(context_.get(), kArea, kControlStateHot);
  EXPECT_EQ(Pixel(0, 0), 0xFFFF0000u);  // not yet hot: the normal colour only
  owner_.hot_alpha = 255;
  colors.Paint(context_.get(), kArea, kControlStateNormal);
  EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
}

TEST_F(StatePaintTest, StateImagesPaintTheirPixels) {
  StateImage images;
  images.SetOwner(&owner_);
  images.ImageFor(kControlStateNormal).SetSpecText(L"file='opaque32.png'");
  EXPECT_TRUE(images.PaintState(context_.get(), kControlStateDisabled, L""));
  // An opaque image is copied with GDI, which leaves the alpha byte to the window's repair.
  EXPECT_EQ(Pixel(3, 1) & 0xFFFFFF, 0x0000FFu);

  // No hot image: the hot state shows the normal one.
  context_->Clear();
  EXPECT_TRUE(images.PaintState(context_.get(), kControlStateHot, L""));
  EXPECT_EQ(Pixel(3, 1) & 0xFFFFFF, 0x0000FFu);

  // A fade of 0 leaves the context as it was.
  context_->Clear();
  images.ImageFor(kControlStateNormal).SetSpecText(L"file='opaque32.png' fade='0'");
  images.PaintState(context_.get(), kControlStateNormal, L"");
  EXPECT_EQ(Pixel(3, 1), 0u);
}

}  // namespace
}  // namespace ui
