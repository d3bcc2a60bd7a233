#include "ui/windowing/window_impl/window_hit_test.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

// A 328 x 228 window: a 300 x 200 body inside the default 14-pixel shadow, 4-pixel resize
// borders and a 30-pixel caption band.
WindowFrame ShadowedFrame() {
  WindowFrame frame;
  frame.client = RECT{0, 0, 328, 228};
  frame.shadow = RECT{14, 14, 14, 14};
  frame.size_box = RECT{4, 4, 4, 4};
  frame.caption = RECT{0, 0, 0, 30};
  return frame;
}

LRESULT At(const WindowFrame& frame, LONG x, LONG y) {
  return HitTestWindowFrame(frame, POINT{x, y});
}

TEST(WindowHitTest, TheShadowMarginNeitherResizesNorDrags) {
  const WindowFrame frame = ShadowedFrame();
  EXPECT_EQ(At(frame, 0, 0), HTCLIENT);
  EXPECT_EQ(At(frame, 5, 100), HTCLIENT);
  EXPECT_EQ(At(frame, 13, 15), HTCLIENT);   // beside the top border row, still margin
  EXPECT_EQ(At(frame, 100, 13), HTCLIENT);  // above the caption band
  EXPECT_EQ(At(frame, 314, 100), HTCLIENT);
  EXPECT_EQ(At(frame, 100, 227), HTCLIENT);
}

TEST(WindowHitTest, TheResizeBordersLieJustInsideTheMargin) {
  const WindowFrame frame = ShadowedFrame();
  EXPECT_EQ(At(frame, 14, 14), HTTOPLEFT);
  EXPECT_EQ(At(frame, 17, 17), HTTOPLEFT);
  EXPECT_EQ(At(frame, 100, 17), HTTOP);
  EXPECT_EQ(At(frame, 310, 14), HTTOPRIGHT);
  EXPECT_EQ(At(frame, 313, 14), HTTOPRIGHT);
  EXPECT_EQ(At(frame, 14, 100), HTLEFT);
  EXPECT_EQ(At(frame, 313, 100), HTRIGHT);
  EXPECT_EQ(At(frame, 14, 213), HTBOTTOMLEFT);
  EXPECT_EQ(At(frame, 100, 210), HTBOTTOM);
  EXPECT_EQ(At(frame, 313, 213), HTBOTTOMRIGHT);
  EXPECT_EQ(At(frame, 18, 100), HTCLIENT);
  EXPECT_EQ(At(frame, 309, 100), HTCLIENT);
}

TEST(WindowHitTest, TheCaptionBandIsMeasuredFromTheBody) {
  WindowFrame frame = ShadowedFrame();
  EXPECT_EQ(At(frame, 100, 18), HTCAPTION);
  EXPECT_EQ(At(frame, 100, 43), HTCAPTION);
  EXPECT_EQ(At(frame, 100, 44), HTCLIENT);
  frame.caption = RECT{20, 0, 30, 30};
  EXPECT_EQ(At(frame, 33, 20), HTCLIENT);
  EXPECT_EQ(At(frame, 34, 20), HTCAPTION);
  EXPECT_EQ(At(frame, 283, 20), HTCAPTION);
  EXPECT_EQ(At(frame, 284, 20), HTCLIENT);
  frame.caption = RECT{0, 0, 0, 0};
  EXPECT_EQ(At(frame, 100, 20), HTCLIENT);
}

TEST(WindowHitTest, AMaximisedWindowHasNoResizeBorders) {
  WindowFrame frame = ShadowedFrame();
  frame.maximized = true;
  frame.shadow = RECT{0, 0, 0, 0};  // the shadow drops its margin when maximised
  EXPECT_EQ(At(frame, 0, 0), HTCAPTION);
  EXPECT_EQ(At(frame, 0, 100), HTCLIENT);
  EXPECT_EQ(At(frame, 327, 227), HTCLIENT);
}

TEST(WindowHitTest, WithoutShadowTheBordersStartAtTheWindowEdge) {
  WindowFrame frame;
  frame.client = RECT{0, 0, 200, 100};
  frame.size_box = RECT{4, 4, 4, 4};
  EXPECT_EQ(At(frame, 0, 0), HTTOPLEFT);
  EXPECT_EQ(At(frame, 199, 50), HTRIGHT);
  EXPECT_EQ(At(frame, 100, 96), HTBOTTOM);
  EXPECT_EQ(At(frame, 100, 50), HTCLIENT);
  EXPECT_EQ(At(frame, 200, 50), HTCLIENT);  // outside the window altogether
}

}  // namespace
}  // namespace ui
