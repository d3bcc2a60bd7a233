#include <gtest/gtest.h>

#include "app/windows/skeleton/dui_message_map.h"
#include "app/windows/skeleton/dui_notify_map.h"

namespace {

// First-match dispatch is checked through real windows (dui_window_test); these cases cover
// what windows do not show: the terminating row and the editing of a table.

struct Owner {
    LRESULT One(UINT, WPARAM, LPARAM, bool&) { return 1; }
    LRESULT Two(UINT, WPARAM, LPARAM, bool&) { return 2; }
    void Note(DuiLib::TNotifyUI&) {}
};

TEST(MessageMap, TerminatingRowIsCountedButNeverAnswersMessageZero) {
    CDuiMessageMap<Owner> table;
    EXPECT_EQ(table.rowCount(), 1u);
    table.add(WM_APP, &Owner::One);
    EXPECT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(table.find(WM_NULL), nullptr);
}

TEST(MessageMap, ReplaceKeepsThePlaceAndRemoveDropsEveryRow) {
    CDuiMessageMap<Owner> table;
    table.add(WM_APP, &Owner::One).add(WM_APP + 1, &Owner::One).add(WM_APP, &Owner::One);
    table.replace(WM_APP, &Owner::Two);
    EXPECT_EQ(table.find(WM_APP)->handler, &Owner::Two);
    EXPECT_EQ(table.rowCount(), 4u);

    table.replace(WM_APP + 2, &Owner::Two);
    ASSERT_NE(table.find(WM_APP + 2), nullptr);
    EXPECT_EQ(table.rowCount(), 5u);

    table.remove(WM_APP);
    EXPECT_EQ(table.find(WM_APP), nullptr);
    EXPECT_EQ(table.rowCount(), 3u);
}

TEST(NotifyMap, EmptyOrMissingTextsDoNotReachTheTerminator) {
    CDuiNotifyMap<Owner> table;
    table.add(L"click", L"closebtn", &Owner::Note);
    EXPECT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(table.find(L"", L""), nullptr);
    EXPECT_EQ(table.find(nullptr, L"closebtn"), nullptr);
    EXPECT_EQ(table.find(L"click", nullptr), nullptr);
}

}  // namespace
