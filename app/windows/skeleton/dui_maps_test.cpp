#include <gtest/gtest.h>

#include "app/windows/skeleton/dui_message_map.h"

#include <memory>
#include <string>
#include <vector>

#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/dui_notify_map.h"
#include "skel_messages.h"

namespace {

// First-match dispatch is checked through real windows (dui_window_test); these cases cover
// what windows do not show: the terminating row and the editing of a table.

struct Owner {
    LRESULT One(UINT, WPARAM, LPARAM, bool&) { return 1; }
    LRESULT Two(UINT, WPARAM, LPARAM, bool&) { return 2; }
    void Note(DuiLib::TNotifyUI&) {}

    // Typed handlers note what reached them.
    void OnNote(std::unique_ptr<SkelNote> note) {
        seen.push_back("note " + std::to_string(note->value));
    }
    LRESULT OnValue(int value) {
        seen.push_back("value " + std::to_string(value));
        return 7;
    }
    bool OnEmpty() {
        seen.push_back("empty");
        return false;
    }
    void OnPoint(POINT point) {
        seen.push_back("point " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    void OnAnswer(SkelNote* note, bool yes) {
        seen.push_back(std::string(yes ? "yes " : "no ") +
                       (note ? std::to_string(note->value) : "none"));
    }

    bool acceptingEvents() const { return accepting; }

    bool accepting = true;
    std::vector<std::string> seen;
};

// Dispatches like the window does; "passed" when no row took the message.
std::string Dispatch(const CDuiMessageMap<Owner>& table, Owner& owner, UINT message,
                     WPARAM wParam = 0, LPARAM lParam = 0) {
    LRESULT result = 0;
    if (!table.dispatch(owner, message, wParam, lParam, result)) return "passed";
    return std::to_string(result);
}

WPARAM NewNote(int value) { return reinterpret_cast<WPARAM>(new SkelNote(value)); }

}  // namespace

template <>
struct RowArguments<WM_APP + 0x210> : Carries<ClientPoint> {};
template <>
struct RowArguments<WM_APP + 0x211> : Carries<BorrowedAnswer<SkelNote>> {};

namespace {

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

TEST(MessageMap, TypedRowsHandTheirHandlersWhatTheMessageCarries) {
    CDuiMessageMap<Owner> table;
    table.on<WM_SKEL_NOTE>(&Owner::OnNote)
        .on<WM_SKEL_VALUE>(&Owner::OnValue)
        .on<WM_SKEL_EMPTY>(&Owner::OnEmpty)
        .on<WM_APP + 0x210>(&Owner::OnPoint, RowMode::kPassOn)
        .on<WM_APP + 0x211>(&Owner::OnAnswer);
    const int before = SkelNote::living;
    Owner owner;
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_NOTE, NewNote(5)), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_NOTE, 0), "0");  // a null record reaches nobody
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_VALUE, 42), "7");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_EMPTY), "passed");
    EXPECT_EQ(Dispatch(table, owner, WM_APP + 0x210, 0, MAKELPARAM(-3, 9)), "passed");
    SkelNote kept(8);
    EXPECT_EQ(Dispatch(table, owner, WM_APP + 0x211, reinterpret_cast<WPARAM>(&kept), 0), "0");
    Dispatch(table, owner, WM_APP + 0x211, 0, 1);

    EXPECT_EQ(owner.seen, (std::vector<std::string>{"note 5", "value 42", "empty", "point -3,9",
                                                    "yes 8", "no none"}));
    EXPECT_EQ(SkelNote::living, before + 1);  // only the borrowed one
}

TEST(MessageMap, FamilyRowsFreeWhatNoTypedRowTakesAndGiveWayToOne) {
    CDuiMessageMap<Owner> table;
    table.add(WM_SKEL_VALUE, &Owner::One).receives(kSkelMessages).on<WM_SKEL_NOTE>(&Owner::OnNote);
    // The raw row stays; the others got a row each, and the typed one took its row's place.
    EXPECT_EQ(table.rowCount(), 5u);
    EXPECT_EQ(table.find(WM_SKEL_VALUE)->handler, &Owner::One);
    const int before = SkelNote::living;
    Owner owner;
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_OTHER, NewNote(1)), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_EMPTY), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_NOTE, NewNote(2)), "0");
    EXPECT_EQ(owner.seen, std::vector<std::string>{"note 2"});
    EXPECT_EQ(SkelNote::living, before);
}

TEST(MessageMap, EventRowsRunOnlyWhileTheOwnerAcceptsEventsAndFreeTheRecordOtherwise) {
    CDuiMessageMap<Owner> table;
    table.on<WM_SKEL_NOTE>(&Owner::OnNote, RowMode::kEvent)
        .on<WM_SKEL_VALUE>(&Owner::OnValue, RowMode::kEvent);
    const int before = SkelNote::living;
    Owner owner;
    owner.accepting = false;
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_NOTE, NewNote(1)), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_VALUE, 3), "0");
    EXPECT_TRUE(owner.seen.empty());
    EXPECT_EQ(SkelNote::living, before);

    owner.accepting = true;
    Dispatch(table, owner, WM_SKEL_NOTE, NewNote(2));
    EXPECT_EQ(owner.seen, std::vector<std::string>{"note 2"});
}

TEST(WindowRegistration, IsUndoneOnceWhenResetReplacedOrDestroyed) {
    int undone = 0;
    const auto count = [&undone] { ++undone; };
    {
        CWindowRegistration registration(count);
        CWindowRegistration moved(std::move(registration));
        EXPECT_FALSE(registration);
        registration.reset();
        EXPECT_EQ(undone, 0);
    }
    EXPECT_EQ(undone, 1);

    CWindowRegistration registration(count);
    registration = CWindowRegistration(count);
    EXPECT_EQ(undone, 2);
    registration.reset();
    registration.reset();
    EXPECT_EQ(undone, 3);
}

}  // namespace
