#include "ui/controls/render/gdiplus/nine_part_layout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace ui {
namespace {

constexpr RECT kEverywhere{-10000, -10000, 10000, 10000};
constexpr RECT kNoCorners{0, 0, 0, 0};

std::tuple<LONG, LONG, LONG, LONG> Tie(const RECT& r) {
  return std::make_tuple(r.left, r.top, r.right, r.bottom);
}

#define EXPECT_RECT(l, t, r, b, actual) \
  EXPECT_EQ(std::make_tuple(LONG{l}, LONG{t}, LONG{r}, LONG{b}), Tie(actual))

TEST(NinePartLayoutTest, WithoutCornersTheWholeSourceStretchesOverTheDestination) {
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 40, 30}, RECT{5, 5, 15, 10}, kNoCorners,
                                   kNoCorners, false, false);
  ASSERT_EQ(1u, parts.size());
  EXPECT_RECT(0, 0, 40, 30, parts[0].dest);
  EXPECT_RECT(5, 5, 15, 10, parts[0].source);
}

TEST(NinePartLayoutTest, CornersGiveNinePartsMiddleFirstThenReadingOrder) {
  const RECT corners{2, 3, 4, 5};
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 100, 50}, RECT{0, 0, 20, 20}, corners,
                                   corners, false, false);
  ASSERT_EQ(9u, parts.size());
  EXPECT_RECT(2, 3, 96, 45, parts[0].dest);  // middle
  EXPECT_RECT(2, 3, 16, 15, parts[0].source);
  EXPECT_RECT(0, 0, 2, 3, parts[1].dest);     // top-left
  EXPECT_RECT(2, 0, 96, 3, parts[2].dest);    // top edge
  EXPECT_RECT(96, 0, 100, 3, parts[3].dest);  // top-right
  EXPECT_RECT(16, 0, 20, 3, parts[3].source);
  EXPECT_RECT(0, 3, 2, 45, parts[4].dest);      // left edge
  EXPECT_RECT(96, 3, 100, 45, parts[5].dest);   // right edge
  EXPECT_RECT(0, 45, 2, 50, parts[6].dest);     // bottom-left
  EXPECT_RECT(2, 45, 96, 50, parts[7].dest);    // bottom edge
  EXPECT_RECT(96, 45, 100, 50, parts[8].dest);  // bottom-right
  EXPECT_RECT(16, 15, 20, 20, parts[8].source);
}

TEST(NinePartLayoutTest, ScaledCornersWidenTheDestinationBordersOnly) {
  const RECT corners{2, 2, 2, 2};
  const RECT scaled{4, 4, 4, 4};
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 20, 20}, RECT{0, 0, 10, 10}, corners,
                                   scaled, false, false);
  ASSERT_EQ(9u, parts.size());
  EXPECT_RECT(0, 0, 4, 4, parts[1].dest);
  EXPECT_RECT(0, 0, 2, 2, parts[1].source);
  EXPECT_RECT(4, 4, 16, 16, parts[0].dest);
}

TEST(NinePartLayoutTest, AMissingCornerDropsItsBorderParts) {
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 20, 20}, RECT{0, 0, 10, 10},
                                   RECT{0, 2, 0, 0}, RECT{0, 2, 0, 0}, false, false);
  ASSERT_EQ(2u, parts.size());  // middle and top edge
  EXPECT_RECT(0, 0, 20, 2, parts[1].dest);
}

TEST(NinePartLayoutTest, XTilingCutsTheLastTileFromTheSourceStart) {
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 25, 8}, RECT{0, 0, 10, 4}, kNoCorners,
                                   kNoCorners, true, false);
  ASSERT_EQ(3u, parts.size());
  EXPECT_RECT(0, 0, 10, 8, parts[0].dest);
  EXPECT_RECT(10, 0, 20, 8, parts[1].dest);
  EXPECT_RECT(20, 0, 25, 8, parts[2].dest);
  EXPECT_RECT(0, 0, 5, 4, parts[2].source);  // stretched vertically: whole source height
}

TEST(NinePartLayoutTest, TilingBothAxesGoesRowByRow) {
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 15, 15}, RECT{0, 0, 10, 10}, kNoCorners,
                                   kNoCorners, true, true);
  ASSERT_EQ(4u, parts.size());
  EXPECT_RECT(0, 0, 10, 10, parts[0].dest);
  EXPECT_RECT(10, 0, 15, 10, parts[1].dest);
  EXPECT_RECT(0, 10, 10, 15, parts[2].dest);
  EXPECT_RECT(10, 10, 15, 15, parts[3].dest);
  EXPECT_RECT(0, 0, 5, 5, parts[3].source);
}

TEST(NinePartLayoutTest, AMiddleWithoutSourcePixelsIsNotTiled) {
  // Corners as wide as the source leave no middle to tile: nothing, instead of endless tiles.
  auto parts = LayOutNinePartImage(kEverywhere, RECT{0, 0, 30, 10}, RECT{0, 0, 4, 4},
                                   RECT{2, 0, 2, 0}, RECT{2, 0, 2, 0}, true, false);
  ASSERT_EQ(2u, parts.size());  // the left and right edges only
  EXPECT_RECT(0, 0, 2, 10, parts[0].dest);
  EXPECT_RECT(28, 0, 30, 10, parts[1].dest);
}

TEST(NinePartLayoutTest, PartsOutsideThePaintAreaAreLeftOut) {
  const RECT corners{2, 2, 2, 2};
  auto parts = LayOutNinePartImage(RECT{0, 0, 5, 5}, RECT{0, 0, 100, 100}, RECT{0, 0, 10, 10},
                                   corners, corners, false, false);
  ASSERT_EQ(4u, parts.size());  // middle, top-left, top edge, left edge
  EXPECT_RECT(0, 0, 2, 2, parts[1].dest);
  EXPECT_TRUE(LayOutNinePartImage(RECT{200, 200, 300, 300}, RECT{0, 0, 100, 100},
                                  RECT{0, 0, 10, 10}, corners, corners, false, false)
                  .empty());
}

}  // namespace
}  // namespace ui
