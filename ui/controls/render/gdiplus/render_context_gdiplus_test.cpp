#include "ui/controls/render/gdiplus/render_context_gdiplus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/render/auto_clip.h"
#include "ui/controls/render/gdiplus/gdiplus_text.h"

namespace ui {
namespace {

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kBlue = 0xFF0000FF;

BYTE AlphaOf(DWORD pixel) { return static_cast<BYTE>(pixel >> 24); }

// Pixel access for contexts with top-down rows.
class Pixels {
 public:
  explicit Pixels(IRenderContext& context)
      : bits_(static_cast<DWORD*>(context.GetBits())), width_(context.GetWidth()) {}
  DWORD& at(int x, int y) const { return bits_[y * width_ + x]; }

 private:
  DWORD* bits_;
  int width_;
};

class RenderContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context_.Resize(64, 48));
    context_.Clear();
  }

  // An image of the given size filled by columns: fill(x) gives each column's pixel.
  template <typename Fill>
  HBITMAP MakeImage(int width, int height, Fill fill) {
    RenderContext_GdiPlus image;
    if (!image.Resize(width, height)) return nullptr;
    Pixels pixels(image);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.at(x, y) = fill(x, y);
    }
    return image.DetachBitmap();
  }

  HBITMAP MakeSolidImage(int width, int height, DWORD color) {
    return MakeImage(width, height, [color](int, int) { return color; });
  }

  void FillAll(DWORD color) {
    Pixels pixels(context_);
    for (int y = 0; y < context_.GetHeight(); ++y) {
      for (int x = 0; x < context_.GetWidth(); ++x) pixels.at(x, y) = color;
    }
  }

  RenderContext_GdiPlus context_;
  const RECT everywhere_{0, 0, 64, 48};
};

// ---- Bitmap lifecycle ----

TEST_F(RenderContextTest, ResizeToTheSameSizeKeepsThePixels) {
  Pixels(context_).at(3, 4) = kRed;
  EXPECT_FALSE(context_.Resize(64, 48));
  EXPECT_EQ(kRed, Pixels(context_).at(3, 4));

  EXPECT_TRUE(context_.Resize(10, 20));
  EXPECT_EQ(10, context_.GetWidth());
  EXPECT_EQ(20, context_.GetHeight());
  ASSERT_NE(nullptr, context_.GetBits());
  Pixels(context_).at(9, 19) = kBlue;  // the last of 10 x 20 x 4 bytes is writable
}

TEST_F(RenderContextTest, ResizeToNothingFailsAndLeavesNoPixels) {
  EXPECT_FALSE(context_.Resize(0, 10));
  EXPECT_EQ(nullptr, context_.GetBits());
  EXPECT_EQ(0, context_.GetWidth());
  context_.Clear();
  context_.ClearAlpha(everywhere_, 1);
  context_.DrawColor(everywhere_, Gdiplus::ARGB{kRed});
  EXPECT_TRUE(context_.Resize(5, 5));
}

TEST_F(RenderContextTest, CloneCopiesSizeAndPixelsTopDown) {
  ASSERT_TRUE(context_.Resize(10, 20));
  Pixels original(context_);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 10; ++x) original.at(x, y) = 0xFF000000u | (y << 8) | x;
  }
  context_.SetWindowOrg(3, 3);  // a control painting in its own coordinates
  std::unique_ptr<IRenderContext> clone = context_.Clone();
  ASSERT_EQ(10, clone->GetWidth());
  ASSERT_EQ(20, clone->GetHeight());
  Pixels copy(*clone);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(original.at(x, y), copy.at(x, y));
  }
}

TEST_F(RenderContextTest, DetachHandsOverTheBitmapAndEmptiesTheContext) {
  HBITMAP bitmap = context_.DetachBitmap();
  ASSERT_NE(nullptr, bitmap);
  BITMAP info{};
  ASSERT_EQ(static_cast<int>(sizeof(info)), ::GetObjectW(bitmap, sizeof(info), &info));
  EXPECT_EQ(64, info.bmWidth);
  EXPECT_EQ(nullptr, context_.GetBits());
  EXPECT_EQ(nullptr, context_.DetachBitmap());
  EXPECT_TRUE(context_.Resize(64, 48));
  ::DeleteObject(bitmap);
}

TEST_F(RenderContextTest, WindowOriginOperationsReturnThePreviousOrigin) {
  POINT previous = context_.SetWindowOrg(5, 6);
  EXPECT_EQ(0, previous.x);
  previous = context_.OffsetWindowOrg(10, 20);
  EXPECT_EQ(5, previous.x);
  EXPECT_EQ(6, previous.y);
  EXPECT_EQ(15, context_.GetWindowOrg().x);
  EXPECT_EQ(26, context_.GetWindowOrg().y);
  EXPECT_FALSE(context_.SetTransparent(true));
  EXPECT_TRUE(context_.SetTransparent(false));
}

// ---- Alpha marker and repair ----

TEST_F(RenderContextTest, ClearAlphaSetsEveryByteInsideTheClippedRectangle) {
  context_.ClearAlpha(RECT{60, 40, 100, 100}, 0x1AB);
  Pixels pixels(context_);
  EXPECT_EQ(0xABABABABu, pixels.at(63, 47));
  EXPECT_EQ(0u, pixels.at(59, 47));
}

TEST_F(RenderContextTest, RestoreAlphaMakesMarkedPixelsTransparentAndSparesTheCorners) {
  context_.ClearAlpha(everywhere_, 7);
  Pixels pixels(context_);
  pixels.at(30, 20) = 0x00123456;  // drawn by GDI: alpha 0
  context_.RestoreAlpha(everywhere_, RECT{5, 5, 5, 5}, 7);
  EXPECT_EQ(0xFF123456u, pixels.at(30, 20));
  EXPECT_EQ(0x00070707u, pixels.at(30, 0));  // marker left: transparent, colour kept
  EXPECT_EQ(0x07070707u, pixels.at(4, 4));   // the corners are not touched
  EXPECT_EQ(0x07070707u, pixels.at(59, 43));
  EXPECT_EQ(0x00070707u, pixels.at(5, 4));

  context_.RestoreAlpha(everywhere_, RECT{0, 0, 0, 0}, 0);  // no marker: all opaque
  EXPECT_EQ(0xFF070707u, pixels.at(30, 0));
}

TEST_F(RenderContextTest, GdiTextZeroesAlphaSoTheRepairMakesItOpaque) {
  const BYTE marker = 9;
  context_.ClearAlpha(everywhere_, marker);
  HDC dc = context_.GetDC();
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  RECT area = everywhere_;
  ::DrawTextW(dc, L"WWWW", -1, &area, DT_SINGLELINE | DT_LEFT | DT_TOP);
  context_.RestoreAlpha(everywhere_, RECT{0, 0, 0, 0}, marker);

  Pixels pixels(context_);
  int opaque = 0;
  int transparent = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      const DWORD pixel = pixels.at(x, y);
      if (AlphaOf(pixel) == 255) {
        ++opaque;
        EXPECT_NE(0x090909u, pixel & 0xFFFFFF) << x << "," << y;  // only the ink
      } else {
        ++transparent;
        EXPECT_EQ(0u, AlphaOf(pixel));
      }
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_GT(transparent, opaque);
}

// ---- Colours and shapes ----

TEST_F(RenderContextTest, DrawColorScalesTheColoursAlpha) {
  context_.DrawColor(RECT{0, 0, 10, 10}, Gdiplus::ARGB{0x80FF0000}, 128);
  const DWORD pixel = Pixels(context_).at(5, 5);
  EXPECT_NEAR(64, AlphaOf(pixel), 1);  // trunc(128 x 128 / 255)

  context_.DrawColor(RECT{20, 0, 30, 10}, Gdiplus::ARGB{kRed}, 255);
  EXPECT_EQ(kRed, Pixels(context_).at(25, 5));
  EXPECT_EQ(0u, Pixels(context_).at(30, 5));  // right edge exclusive
}

TEST_F(RenderContextTest, DrawingFollowsTheWindowOrigin) {
  context_.SetWindowOrg(10, 10);  // a child painting in its own coordinates
  context_.DrawColor(RECT{10, 10, 20, 20}, Gdiplus::ARGB{kRed});
  HBITMAP image = MakeSolidImage(4, 4, kGreen);
  context_.DrawImage(RECT{0, 0, 100, 100}, image, true, RECT{30, 10, 34, 14}, RECT{0, 0, 4, 4},
                     RECT{0, 0, 0, 0});
  ::DeleteObject(image);
  Pixels pixels(context_);
  EXPECT_EQ(kRed, pixels.at(0, 0));
  EXPECT_EQ(kRed, pixels.at(9, 9));
  EXPECT_EQ(0u, pixels.at(10, 10));
  EXPECT_EQ(kGreen, pixels.at(20, 0));
}

TEST_F(RenderContextTest, DrawColorByNameUsesTheColourTable) {
  ResourceHub::AddTextColor(L"render_test_blue", L"#FF0000FF");
  context_.DrawColor(RECT{0, 0, 4, 4}, std::wstring(L"render_test_blue"));
  EXPECT_EQ(kBlue, Pixels(context_).at(1, 1));
  context_.DrawColor(RECT{0, 0, 4, 4}, std::wstring());  // no name: nothing
  EXPECT_EQ(kBlue, Pixels(context_).at(1, 1));
}

TEST_F(RenderContextTest, ShapesInkInsideTheirRectangle) {
  context_.DrawRect(RECT{10, 10, 30, 30}, 1, kGreen);
  context_.FillEllipse(RECT{40, 10, 60, 30}, kBlue);
  context_.DrawLine(RECT{0, 40, 63, 40}, 1, kRed);
  Pixels pixels(context_);
  EXPECT_EQ(kGreen, pixels.at(10, 20));
  EXPECT_EQ(0u, pixels.at(20, 20));     // outline only
  EXPECT_EQ(kBlue, pixels.at(50, 20));  // ellipse centre
  EXPECT_EQ(0u, pixels.at(40, 10));     // outside the ellipse's curve
  EXPECT_EQ(kRed, pixels.at(32, 40));
}

// Opaque colours are written into the pixels instead of going through GDI+: every pixel must
// come out as a GDI+ fill, or a GDI+ stroke of a border or a line, in the same DC state would
// leave it.
TEST_F(RenderContextTest, OpaqueFillsMatchGdiplusUnderEveryClipAndOrigin) {
  enum Shape { kFillShape, kOutline, kLine };
  struct Case {
    const char* name;
    POINT origin;
    RECT clip;        // empty: no clip
    RECT round_clip;  // empty: none
    RECT fill;        // a line's end points for kLine
    Shape shape = kFillShape;
    int pen = 0;  // stroke width
  } cases[] = {
      {"plain", {0, 0}, {}, {}, {5, 6, 40, 30}},
      {"past every edge", {0, 0}, {}, {}, {-10, -5, 100, 90}},
      {"shifted origin", {7, -3}, {}, {}, {10, 0, 50, 20}},
      {"clipped", {0, 0}, {10, 10, 30, 25}, {}, {0, 0, 64, 48}},
      {"round clip", {0, 0}, {}, {4, 4, 44, 40}, {0, 0, 64, 48}},
      {"clip and round clip", {0, 0}, {20, 0, 64, 30}, {4, 4, 44, 40}, {0, 0, 64, 48}},
      {"clip with shifted origin", {-5, 5}, {0, 0, 20, 20}, {10, 10, 40, 40}, {-5, 0, 60, 60}},
      {"outside the clip", {0, 0}, {0, 0, 10, 10}, {}, {20, 20, 30, 30}},
      {"empty", {0, 0}, {}, {}, {30, 30, 30, 40}},
      {"inverted", {0, 0}, {}, {}, {30, 30, 20, 20}},
      // A window's border: the outline of its whole client area, one pixel wide.
      {"border", {0, 0}, {}, {}, {0, 0, 63, 47}, kOutline, 1},
      {"thick border, shifted origin", {3, -2}, {}, {}, {5, 6, 40, 30}, kOutline, 3},
      {"border under a round clip", {0, 0}, {}, {2, 2, 40, 30}, {2, 2, 39, 29}, kOutline, 1},
      {"border partly clipped", {0, 0}, {0, 0, 30, 20}, {}, {4, 4, 50, 40}, kOutline, 5},
      {"border thinner than its pen", {0, 0}, {}, {}, {10, 10, 12, 30}, kOutline, 3},
      {"border of an even pen", {0, 0}, {}, {}, {5, 6, 40, 30}, kOutline, 2},
      {"top side", {0, 0}, {}, {}, {0, 0, 64, 0}, kLine, 1},
      {"left side, thick", {0, 0}, {5, 0, 64, 40}, {}, {6, 2, 6, 30}, kLine, 3},
      {"side with shifted origin", {-4, 4}, {}, {}, {0, 10, 50, 10}, kLine, 1},
      {"line drawn backwards", {0, 0}, {}, {}, {50, 10, 3, 10}, kLine, 1},
      {"slanted line", {0, 0}, {}, {}, {3, 3, 40, 30}, kLine, 1},
  };
  constexpr Gdiplus::ARGB kFill = 0xFF336699;
  constexpr DWORD kUnder = 0x80102030;
  for (const Case& c : cases) {
    RenderContext_GdiPlus expected;
    ASSERT_TRUE(expected.Resize(64, 48));
    for (IRenderContext* target :
         {static_cast<IRenderContext*>(&context_), static_cast<IRenderContext*>(&expected)}) {
      Pixels pixels(*target);
      for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) pixels.at(x, y) = kUnder;
      }
      target->SetWindowOrg(c.origin.x, c.origin.y);
      const bool clip = !::IsRectEmpty(&c.clip);
      const bool round = !::IsRectEmpty(&c.round_clip);
      AutoClip rect_clip(target, c.clip, clip);
      AutoClip round_clip(target, c.round_clip, 6, 6, round);
      const RECT& r = c.fill;
      if (target == &context_) {
        if (c.shape == kFillShape) context_.DrawColor(r, kFill);
        if (c.shape == kOutline) context_.DrawRect(r, c.pen, kFill);
        if (c.shape == kLine) context_.DrawLine(r, c.pen, kFill);
      } else {
        Gdiplus::Graphics graphics(expected.GetDC());
        Gdiplus::SolidBrush brush{Gdiplus::Color(kFill)};
        Gdiplus::Pen pen(Gdiplus::Color(kFill), static_cast<Gdiplus::REAL>(c.pen));
        const Gdiplus::Rect box(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (c.shape == kFillShape) graphics.FillRectangle(&brush, box);
        if (c.shape == kOutline) graphics.DrawRectangle(&pen, box);
        // A line leaves its end point out, as GDI+ does on Windows and, for wider pens, under
        // Wine too; Wine inks the end point of a one-pixel line, so that line stops one short.
        const bool thin = c.pen == 1;
        const INT end_x = r.right - (thin && r.top == r.bottom && r.left < r.right ? 1 : 0);
        const INT end_y = r.bottom - (thin && r.left == r.right && r.top < r.bottom ? 1 : 0);
        if (c.shape == kLine) graphics.DrawLine(&pen, INT(r.left), INT(r.top), end_x, end_y);
      }
      target->SetWindowOrg(0, 0);
    }
    Pixels got(context_);
    Pixels want(expected);
    int differing = 0;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 64; ++x) differing += got.at(x, y) != want.at(x, y);
    }
    EXPECT_EQ(0, differing) << c.name;
  }
}

// ---- Images ----

TEST_F(RenderContextTest, ImageOutsideThePaintAreaIsNotDrawn) {
  HBITMAP image = MakeSolidImage(4, 4, kRed);
  context_.DrawImage(RECT{0, 0, 10, 10}, image, true, RECT{20, 20, 30, 30}, RECT{0, 0, 4, 4},
                     RECT{0, 0, 0, 0});
  EXPECT_EQ(0u, Pixels(context_).at(25, 25));
  ::DeleteObject(image);
}

TEST_F(RenderContextTest, ImageWithoutCornersStretchesOverTheDestination) {
  HBITMAP image = MakeSolidImage(4, 4, kRed);
  context_.DrawImage(everywhere_, image, true, RECT{10, 10, 30, 20}, RECT{0, 0, 4, 4},
                     RECT{0, 0, 0, 0});
  Pixels pixels(context_);
  EXPECT_EQ(kRed, pixels.at(10, 10));
  EXPECT_EQ(kRed, pixels.at(29, 19));
  EXPECT_EQ(0u, pixels.at(30, 19));
  EXPECT_EQ(0u, pixels.at(9, 10));
  ::DeleteObject(image);
}

// Stretching borrows the stretch mode of the context's DC; later GDI drawing gets its own back.
TEST_F(RenderContextTest, ImageDrawingLeavesTheStretchModeAsItWas) {
  HBITMAP image = MakeSolidImage(4, 4, kRed);
  ::SetStretchBltMode(context_.GetDC(), COLORONCOLOR);
  context_.DrawImage(everywhere_, image, true, RECT{10, 10, 30, 20}, RECT{0, 0, 4, 4},
                     RECT{0, 0, 0, 0});
  EXPECT_EQ(COLORONCOLOR, ::GetStretchBltMode(context_.GetDC()));
  ::DeleteObject(image);
}

// A red image whose alpha bytes are 0 (an image without alpha channel) over a blue surface:
// a plain copy leaves red with alpha 0, a blend adds the red to the blue.
class BlitPathTest : public RenderContextTest {
 protected:
  void SetUp() override {
    RenderContextTest::SetUp();
    FillAll(kBlue);
    image_ = MakeSolidImage(4, 4, 0x00FF0000);
  }
  void TearDown() override { ::DeleteObject(image_); }

  DWORD DrawAndRead(int dest_size, BYTE fade) {
    context_.DrawImage(everywhere_, image_, false, RECT{0, 0, dest_size, dest_size},
                       RECT{0, 0, 4, 4}, RECT{0, 0, 0, 0}, fade);
    return Pixels(context_).at(1, 1);
  }

  HBITMAP image_ = nullptr;
};

TEST_F(BlitPathTest, StretchedOpaqueImageIsCopied) { EXPECT_EQ(0x00FF0000u, DrawAndRead(8, 255)); }

TEST_F(BlitPathTest, ImageAtItsOwnSizeIsBlended) { EXPECT_EQ(0xFFFF00FFu, DrawAndRead(4, 255)); }

TEST_F(BlitPathTest, FadeOrTransparentSurfaceBlendsEvenWhenStretched) {
  EXPECT_EQ(0xFFFF00FFu, DrawAndRead(8, 254) | 0x00FF0000u);
  FillAll(kBlue);
  context_.SetTransparent(true);
  EXPECT_EQ(0xFFFF00FFu, DrawAndRead(8, 255));
}

// The context draws each image from a DC of its own; the image must not stay selected there,
// or no other DC (another window's context, the owner's own code) could use it any more.
TEST_F(RenderContextTest, ImagesAreFreeForOtherDcsAfterDrawing) {
  HBITMAP image = MakeSolidImage(4, 4, kRed);
  RenderContext_GdiPlus other;
  ASSERT_TRUE(other.Resize(8, 8));
  for (int round = 0; round < 2; ++round) {
    context_.DrawImage(everywhere_, image, true, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4},
                       RECT{0, 0, 0, 0});
    other.DrawImage(RECT{0, 0, 8, 8}, image, true, RECT{0, 0, 8, 8}, RECT{0, 0, 4, 4},
                    RECT{0, 0, 0, 0});
  }
  EXPECT_EQ(kRed, Pixels(context_).at(3, 3));
  EXPECT_EQ(kRed, Pixels(other).at(7, 7));
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, image);
  EXPECT_NE(nullptr, previous);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(image);
}

TEST_F(RenderContextTest, XTilingRepeatsTheSourceAndCutsTheLastTile) {
  // Columns 0-4 red, 5-9 green: a cut last tile is red only, a stretched one would be mixed.
  HBITMAP image = MakeImage(10, 4, [](int x, int) { return x < 5 ? kRed : kGreen; });
  context_.DrawImage(everywhere_, image, true, RECT{0, 0, 25, 4}, RECT{0, 0, 10, 4},
                     RECT{0, 0, 0, 0}, 255, true, false);
  Pixels pixels(context_);
  const DWORD expected[] = {kRed, kGreen, kRed, kGreen, kRed};
  for (int x = 0; x < 25; ++x) EXPECT_EQ(expected[x / 5], pixels.at(x, 2)) << "column " << x;
  EXPECT_EQ(0u, pixels.at(25, 2));
  ::DeleteObject(image);
}

TEST_F(RenderContextTest, CornersAreScaledForTheDisplay) {
  DisplayScale::Instance().OverrideForTesting(200, true);
  // 6 x 6: a 2-pixel red border around a green middle.
  HBITMAP image = MakeImage(
      6, 6, [](int x, int y) { return (x < 2 || y < 2 || x >= 4 || y >= 4) ? kRed : kGreen; });
  context_.DrawImage(everywhere_, image, true, RECT{0, 0, 20, 20}, RECT{0, 0, 6, 6},
                     RECT{2, 2, 2, 2});
  DisplayScale::Instance().OverrideForTesting(100, false);
  Pixels pixels(context_);
  EXPECT_EQ(kRed, pixels.at(3, 3));
  EXPECT_EQ(kRed, pixels.at(3, 10));
  EXPECT_EQ(kRed, pixels.at(16, 10));
  EXPECT_EQ(kGreen, pixels.at(4, 4));
  EXPECT_EQ(kGreen, pixels.at(15, 15));
  ::DeleteObject(image);
}

TEST_F(RenderContextTest, CornersWiderThanTheImageDrawNoMirroredParts) {
  FillAll(kBlue);
  HBITMAP image = MakeSolidImage(4, 4, kRed);
  context_.DrawImage(everywhere_, image, true, RECT{0, 0, 6, 6}, RECT{0, 0, 4, 4}, RECT{3, 3, 3, 3},
                     255, true, true);
  Pixels pixels(context_);
  EXPECT_EQ(kRed, pixels.at(0, 0));  // the corners still fit the destination
  EXPECT_EQ(kRed, pixels.at(5, 5));
  ::DeleteObject(image);
}

// ---- Text ----

class RenderTextTest : public RenderContextTest {
 protected:
  static constexpr int kNoFont = 100000;  // outside the font list: the DC's own font

  // Inked pixels inside and outside rect.
  void CountInk(const RECT& rect, int& inside, int& outside, int& max_alpha) {
    Pixels pixels(context_);
    inside = outside = max_alpha = 0;
    for (int y = 0; y < context_.GetHeight(); ++y) {
      for (int x = 0; x < context_.GetWidth(); ++x) {
        const int alpha = AlphaOf(pixels.at(x, y));
        if (alpha == 0) continue;
        const bool in = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
        ++(in ? inside : outside);
        if (alpha > max_alpha) max_alpha = alpha;
      }
    }
  }
};

TEST_F(RenderTextTest, TextInksOnlyInsideItsRectangle) {
  const RECT rect{4, 4, 60, 30};
  context_.DrawText(rect, L"Hello, world! Hello again.", kRed, kNoFont, DT_END_ELLIPSIS);
  int inside, outside, max_alpha;
  CountInk(rect, inside, outside, max_alpha);
  EXPECT_GT(inside, 0);
  EXPECT_EQ(0, outside);
  EXPECT_LE(max_alpha, 254);  // opaque text is drawn with alpha 254
}

TEST_F(RenderTextTest, EmptyTextDrawsNothing) {
  context_.DrawText(everywhere_, L"", kRed, kNoFont, 0);
  int inside, outside, max_alpha;
  CountInk(everywhere_, inside, outside, max_alpha);
  EXPECT_EQ(0, inside);
}

TEST_F(RenderTextTest, TextAlphaScalesAndStopsBelowOpaque) {
  EXPECT_EQ(254, gdiplus_text::TextAlpha(0xFF000000, 255));
  EXPECT_EQ(127, gdiplus_text::TextAlpha(0xFF000000, 127));
  EXPECT_EQ(63, gdiplus_text::TextAlpha(0x80000000, 127));  // trunc(128 / 255 x 127)
  EXPECT_EQ(0, gdiplus_text::TextAlpha(0x00000000, 255));
}

TEST_F(RenderTextTest, MeasuredSizeGrowsWithTheText) {
  const RECT short_text = context_.MeasureText(L"ab", kNoFont, DT_SINGLELINE);
  const RECT long_text = context_.MeasureText(L"abcdefghij", kNoFont, DT_SINGLELINE);
  EXPECT_GT(short_text.right - short_text.left, 1);
  EXPECT_GT(long_text.right - long_text.left, short_text.right - short_text.left);
  EXPECT_EQ(short_text.bottom - short_text.top, long_text.bottom - long_text.top);
}

TEST_F(RenderTextTest, WrappingAtAWidthMakesTheTextTallerNotWider) {
  const std::wstring text = L"one two three four five six seven eight";
  const RECT single = context_.MeasureText(text, kNoFont, DT_SINGLELINE, 60);
  const RECT wrapped = context_.MeasureText(text, kNoFont, 0, 60);
  EXPECT_LE(wrapped.right - wrapped.left, 60 + 1);
  EXPECT_GT(wrapped.bottom - wrapped.top, single.bottom - single.top);
}

TEST_F(RenderTextTest, ListedFontsAreUsedByIndex) {
  const int before = ResourceHub::FontCount();
  ASSERT_NE(nullptr, ResourceHub::AddFont(L"Microsoft YaHei", 12, false, false, false));
  ASSERT_NE(nullptr, ResourceHub::AddFont(L"Microsoft YaHei", 36, false, false, false));
  const RECT small = context_.MeasureText(L"\u6D4B\u8BD5abc", before, DT_SINGLELINE);
  const RECT large = context_.MeasureText(L"\u6D4B\u8BD5abc", before + 1, DT_SINGLELINE);
  EXPECT_GT(large.bottom - large.top, small.bottom - small.top);
  EXPECT_GT(large.right - large.left, small.right - small.left);

  const RECT rect{0, 0, 64, 48};
  context_.DrawText(rect, L"\u6D4B\u8BD5", kBlue, before + 1, DT_CENTER | DT_VCENTER);
  int inside, outside, max_alpha;
  CountInk(rect, inside, outside, max_alpha);
  EXPECT_GT(inside, 0);
}

// A context keeps the GDI+ fonts it made; a font found again must be the one its description
// asks for, even when the list was rebuilt with other fonts or the system reused a handle.
TEST(FontCacheTest, FontsFollowTheirDescriptionNotTheirHandle) {
  RenderContext_GdiPlus context;
  ASSERT_TRUE(context.Resize(4, 4));
  HDC dc = context.GetDC();
  auto make = [](int height) {
    return ::CreateFontW(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                         L"Microsoft YaHei");
  };
  auto size_of = [](Gdiplus::GpFont* font) {
    Gdiplus::REAL size = 0;
    Gdiplus::DllExports::GdipGetFontSize(font, &size);
    return size;
  };
  // The size of a font made afresh from the handle's description.
  auto wanted = [&](HFONT font) {
    LOGFONTW logfont{};
    ::GetObjectW(font, sizeof(logfont), &logfont);
    Gdiplus::GpFont* fresh = nullptr;
    Gdiplus::DllExports::GdipCreateFontFromLogfontW(dc, &logfont, &fresh);
    const Gdiplus::REAL size = size_of(fresh);
    Gdiplus::DllExports::GdipDeleteFont(fresh);
    return size;
  };
  gdiplus_text::FontCache cache;
  HFONT small = make(12);
  Gdiplus::GpFont* small_font = cache.Get(dc, small);
  ASSERT_NE(nullptr, small_font);
  EXPECT_FLOAT_EQ(wanted(small), size_of(small_font));

  HFONT same = make(12);  // another handle, the same description
  EXPECT_EQ(small_font, cache.Get(dc, same));
  // Every size below is a new description; past the cache's bound it starts over, and a font
  // looked up again is made anew with the right size.
  for (int height = 14; height < 60; ++height) {
    HFONT other = make(height);
    Gdiplus::GpFont* font = cache.Get(dc, other);
    ASSERT_NE(nullptr, font);
    EXPECT_FLOAT_EQ(wanted(other), size_of(font)) << height;
    ::DeleteObject(other);
  }
  EXPECT_LT(cache.size(), 46u);
  EXPECT_FLOAT_EQ(wanted(small), size_of(cache.Get(dc, small)));
  ::DeleteObject(small);
  ::DeleteObject(same);
  EXPECT_EQ(nullptr, cache.Get(dc, small));  // a deleted handle cannot be read
}

}  // namespace
}  // namespace ui
