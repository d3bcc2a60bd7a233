// The picker's rules: where entries go in rows of three, which windows are offered, how a
// foreign window's title becomes a snapshot's file name, and how a snapshot fits its box.

#include "app/windows/share/share_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ZuvraKestrum::Share;

TEST(SharePlacementTest, RowsOfThreeStartAtEntriesOneFourSeven) {
    struct Case {
        int placed;
        int row;
        int slot;
        bool startsRow;
    };
    for (const Case& c :
         {Case{0, 0, 0, true}, Case{1, 0, 1, false}, Case{2, 0, 2, false}, Case{3, 1, 0, true},
          Case{5, 1, 2, false}, Case{6, 2, 0, true}, Case{301, 100, 1, false}}) {
        const SharePlacement place = PlaceShareEntry(c.placed);
        EXPECT_EQ(place.row, c.row) << c.placed;
        EXPECT_EQ(place.slot, c.slot) << c.placed;
        EXPECT_EQ(place.startsRow, c.startsRow) << c.placed;
    }
}

TEST(ShareCandidateTest, OnlyVisibleSizableUnownedWindowsOfOtherPrograms) {
    WindowFacts plain;
    plain.sizable = true;
    plain.visible = true;
    plain.className = L"Notepad";
    EXPECT_TRUE(IsShareCandidate(plain));

    const auto with = [&](auto change) {
        WindowFacts facts = plain;
        change(facts);
        return IsShareCandidate(facts);
    };
    EXPECT_FALSE(with([](WindowFacts& f) { f.ownProcess = true; }));
    EXPECT_FALSE(with([](WindowFacts& f) { f.owned = true; }));
    EXPECT_FALSE(with([](WindowFacts& f) { f.sizable = false; }));
    EXPECT_FALSE(with([](WindowFacts& f) { f.minimised = true; }));
    EXPECT_FALSE(with([](WindowFacts& f) { f.visible = false; }));
    EXPECT_FALSE(with([](WindowFacts& f) { f.className = L"progman"; }));
    EXPECT_FALSE(with([](WindowFacts& f) { f.className = L"Button"; }));
    // The shell's names are compared exactly.
    EXPECT_TRUE(with([](WindowFacts& f) { f.className = L"Progman"; }));
}

TEST(ShotFileNameTest, ForeignTitlesBecomeNamesInsideTheFolder) {
    EXPECT_EQ(ShotFileName(L"notepad[Untitled - Notepad]", 3),
              L"notepad[Untitled - Notepad]_3.png");
    EXPECT_EQ(ShotFileName(L"a\\b/c:d*e?f\"g<h>i|j'k", 0), L"a_b_c_d_e_f_g_h_i_j_k_0.png");
    EXPECT_EQ(ShotFileName(std::wstring(L"x\ty\nz\x7F") + L'\0' + L"!", 1), L"x_y_z__!_1.png");
    EXPECT_EQ(ShotFileName(L"", 2), L"window_2.png");

    // Dots never climb: without separators ".." is part of a name.
    for (const std::wstring title :
         {L"..", L".", L"..\\..\\Windows\\win", L"../../etc", L"C:\\x"}) {
        const std::wstring name = ShotFileName(title, 5);
        EXPECT_EQ(name.find_first_of(L"\\/:"), std::wstring::npos) << name;
        EXPECT_NE(name, L"..");
    }
    EXPECT_EQ(ShotFileName(L"..\\..\\evil", 5), L".._.._evil_5.png");
}

TEST(ShotFileNameTest, DeviceNamesAreDefused) {
    // The system opens a device for its name before the first dot, whatever follows.
    EXPECT_EQ(ShotFileName(L"con.txt", 1), L"_con.txt_1.png");
    EXPECT_EQ(ShotFileName(L"NUL.x", 1), L"_NUL.x_1.png");
    EXPECT_EQ(ShotFileName(L"Com7 .a", 1), L"_Com7 .a_1.png");
    // The number makes a bare device name an ordinary one.
    EXPECT_EQ(ShotFileName(L"aux", 1), L"aux_1.png");
    EXPECT_EQ(ShotFileName(L"com10.x", 1), L"com10.x_1.png");
}

TEST(ShotFileNameTest, LongTitlesAreCutWithoutSplittingACharacter) {
    const std::wstring name = ShotFileName(std::wstring(500, L'w'), 12);
    EXPECT_EQ(name, std::wstring(kMaxTitleLength, L'w') + L"_12.png");
    // An emoji (a surrogate pair) across the cut goes as a whole.
    const std::wstring title = std::wstring(kMaxTitleLength - 1, L'a') + L"\xD83D\xDE00" + L"b";
    EXPECT_EQ(ShotFileName(title, 0), std::wstring(kMaxTitleLength - 1, L'a') + L"_0.png");
}

TEST(FitThumbnailTest, SnapshotsKeepTheirProportionsCentred) {
    struct Case {
        int width, height;
        RECT shown;
    };
    for (const Case& c : {Case{1600, 900, {0, 0, 188, 105}}, Case{800, 800, {41, 0, 147, 106}},
                          Case{188, 106, {0, 0, 188, 106}}, Case{4000, 10, {0, 52, 188, 53}},
                          Case{0, 500, {0, 0, 188, 106}}}) {
        const RECT shown = FitThumbnail(c.width, c.height, 188, 106);
        EXPECT_EQ(shown.left, c.shown.left) << c.width << "x" << c.height;
        EXPECT_EQ(shown.top, c.shown.top) << c.width << "x" << c.height;
        EXPECT_EQ(shown.right, c.shown.right) << c.width << "x" << c.height;
        EXPECT_EQ(shown.bottom, c.shown.bottom) << c.width << "x" << c.height;
    }
}

}  // namespace
