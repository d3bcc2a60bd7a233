#include "app/windows/tiles/strip_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ZuvraKestrum::Tiles::TileKey;
using Layout = ZuvraKestrum::Tiles::StripLayout<std::string>;

constexpr int kClientBottom = 692;  // the strip's height in the in-meeting window

TileKey Camera(int32_t streamId, const std::string& uid, int32_t shareId = -1) {
    return TileKey{streamId, uid, shareId, 0};
}
TileKey Share(int32_t streamId, const std::string& uid) { return TileKey{streamId, uid, -1, 1}; }

Layout WithTiles(int count) {
    Layout layout;
    for (int i = 0; i < count; ++i)
        layout.add(Camera(100 + i, "u" + std::to_string(i)), "t" + std::to_string(i));
    return layout;
}

std::vector<std::string> Order(const Layout& layout) {
    std::vector<std::string> items;
    for (const Layout::Tile& tile : layout.tiles()) items.push_back(tile.item);
    return items;
}

std::vector<LONG> Tops(const Layout& layout) {
    std::vector<LONG> tops;
    for (int i = 0; i < layout.count(); ++i) tops.push_back(layout.slot(i).top);
    return tops;
}

TEST(StripLayoutTest, TilesStackInOneColumnWithTheGapAboveEach) {
    const Layout layout = WithTiles(3);
    EXPECT_EQ(Tops(layout), (std::vector<LONG>{24, 222, 420}));
    const RECT last = layout.slot(2);
    EXPECT_EQ(last.left, 13);
    EXPECT_EQ(last.right, 183);
    EXPECT_EQ(last.bottom, 594);
    EXPECT_EQ(layout.lastBottom(), 594);
}

TEST(StripLayoutTest, FiveTilesScrollDownTwoStepsInTheStripAndBackUpOneStepPerClick) {
    Layout layout = WithTiles(5);
    EXPECT_EQ(layout.lastBottom(), 990);
    EXPECT_FALSE(layout.scrollUp());  // at the top already

    EXPECT_TRUE(layout.scrollDown(kClientBottom));
    EXPECT_TRUE(layout.scrollDown(kClientBottom));
    EXPECT_EQ(layout.offset(), -396);
    EXPECT_EQ(layout.lastBottom(), 594);
    EXPECT_FALSE(layout.scrollDown(kClientBottom));  // the last tile is in sight
    EXPECT_EQ(layout.offset(), -396);
    EXPECT_EQ(Tops(layout), (std::vector<LONG>{-372, -174, 24, 222, 420}));

    EXPECT_TRUE(layout.scrollUp());
    EXPECT_EQ(layout.offset(), -198);
    EXPECT_TRUE(layout.scrollUp());
    EXPECT_FALSE(layout.scrollUp());
    EXPECT_EQ(Tops(layout), Tops(WithTiles(5)));
}

TEST(StripLayoutTest, ColumnsThatFitDoNotScroll) {
    Layout layout = WithTiles(3);
    EXPECT_FALSE(layout.scrollDown(kClientBottom));
    Layout empty;
    EXPECT_FALSE(empty.scrollDown(kClientBottom));
    EXPECT_EQ(empty.lastBottom(), 0);
}

TEST(StripLayoutTest, RemovalClosesTheGapAndAScrolledStripComesBackOneStep) {
    Layout layout = WithTiles(5);
    ASSERT_TRUE(layout.scrollDown(kClientBottom));

    std::string removed;
    ASSERT_TRUE(layout.remove(102, removed));
    EXPECT_EQ(removed, "t2");
    EXPECT_EQ(Order(layout), (std::vector<std::string>{"t0", "t1", "t3", "t4"}));
    EXPECT_EQ(layout.offset(), 0);
    EXPECT_EQ(Tops(layout), (std::vector<LONG>{24, 222, 420, 618}));
    EXPECT_EQ(layout.lastBottom(), 792);

    // Unscrolled, the tiles below simply move up.
    ASSERT_TRUE(layout.remove(100, removed));
    EXPECT_EQ(removed, "t0");
    EXPECT_EQ(layout.offset(), 0);
    EXPECT_EQ(Tops(layout), (std::vector<LONG>{24, 222, 420}));

    removed = "untouched";
    EXPECT_FALSE(layout.remove(999, removed));
    EXPECT_EQ(removed, "untouched");
    EXPECT_EQ(layout.count(), 3);
}

TEST(StripLayoutTest, AShareTileFollowsItsOwnersCameraTileWhereverItWas) {
    struct Case {
        const char* name;
        std::vector<std::pair<TileKey, std::string>> tiles;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"share before its owner",
         {{Share(9, "ann"), "ann-share"}, {Camera(8, "bob"), "bob"}, {Camera(7, "ann", 9), "ann"}},
         {"bob", "ann", "ann-share"}},
        {"share at the end",
         {{Camera(7, "ann", 9), "ann"}, {Camera(8, "bob"), "bob"}, {Share(9, "ann"), "ann-share"}},
         {"ann", "ann-share", "bob"}},
        {"two owners",
         {{Share(19, "bob"), "bob-share"},
          {Camera(7, "ann", 9), "ann"},
          {Share(9, "ann"), "ann-share"},
          {Camera(8, "bob", 19), "bob"}},
         {"ann", "ann-share", "bob", "bob-share"}},
        // The share stream must carry the owner's uid and the share flag.
        {"share of another participant stays",
         {{Camera(7, "ann", 9), "ann"}, {Camera(8, "bob"), "bob"}, {Share(9, "bob"), "bob-share"}},
         {"ann", "bob", "bob-share"}},
        {"no share id",
         {{Camera(7, "ann", 0), "ann"}, {Camera(8, "bob"), "bob"}, {Share(0, "ann"), "ann-share"}},
         {"ann", "bob", "ann-share"}},
    };
    for (const Case& c : cases) {
        Layout layout;
        for (const auto& [key, item] : c.tiles) layout.add(key, item);
        ASSERT_TRUE(layout.scrollDown(100));  // any offset: the column starts again at the top
        layout.placeSharesAfterOwners();
        EXPECT_EQ(Order(layout), c.expected) << c.name;
        EXPECT_EQ(layout.offset(), 0) << c.name;
        EXPECT_EQ(layout.slot(0).top, 24) << c.name;
    }
}

TEST(StripLayoutTest, ClearHandsEveryItemBackInOrder) {
    Layout layout;
    layout.add(Camera(7, "ann", 9), "a");
    layout.add(Share(9, "ann"), "b");
    ASSERT_TRUE(layout.scrollDown(100));
    EXPECT_EQ(layout.clear(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(layout.count(), 0);
    EXPECT_EQ(layout.offset(), 0);
}

}  // namespace
