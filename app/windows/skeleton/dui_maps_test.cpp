#include <gtest/gtest.h>

#include "app/windows/skeleton/dui_message_map.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/windows/skeleton/dui_notify_map.h"
#include "app/windows/skeleton/timer_table.h"
#include "app/windows/skeleton/window_registration.h"
#include "skel_messages.h"

namespace {

// First-match dispatch is checked through real windows (dui_window_test); these cases cover
// what windows do not show: the terminating row and the editing of a table.

struct Owner {
    LRESULT Two() { return 2; }
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
    std::optional<LRESULT> OnSize(SizeChange size) {
        seen.push_back("size " + std::to_string(size.kind) + " " + std::to_string(size.client.cx) +
                       "x" + std::to_string(size.client.cy));
        if (size.kind == SIZE_MINIMIZED) return std::nullopt;
        return 5;
    }
    bool OnCommand(SystemCommand command) {
        seen.push_back("command " + std::to_string(command.kind()) + " at " +
                       std::to_string(command.lParam));
        return true;
    }
    void OnAnswer(SkelNote* note, bool yes) {
        seen.push_back(std::string(yes ? "yes " : "no ") +
                       (note ? std::to_string(note->value) : "none"));
    }

    void OnTick() { seen.push_back("tick"); }
    void OnTickOf(UINT_PTR timer) { seen.push_back("tick " + std::to_string(timer)); }

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
    table.on<WM_SKEL_VALUE>(&Owner::OnValue);
    EXPECT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(table.find(WM_NULL), nullptr);
}

TEST(MessageMap, LaterRowKeepsThePlaceAndRemoveDropsTheRow) {
    CDuiMessageMap<Owner> table;
    table.on<WM_SKEL_EMPTY>(&Owner::OnEmpty).on<WM_SKEL_NOTE>(&Owner::OnNote);
    table.on<WM_SKEL_EMPTY>(&Owner::Two);
    EXPECT_EQ(table.rowCount(), 3u);
    Owner owner;
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_EMPTY), "2");

    table.remove(WM_SKEL_EMPTY);
    EXPECT_EQ(table.find(WM_SKEL_EMPTY), nullptr);
    EXPECT_EQ(table.rowCount(), 2u);
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
        .on<WM_APP + 0x211>(&Owner::OnAnswer)
        .on<WM_SIZE>(&Owner::OnSize)
        .on<WM_SYSCOMMAND>(&Owner::OnCommand);
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
    EXPECT_EQ(Dispatch(table, owner, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480)), "5");
    EXPECT_EQ(Dispatch(table, owner, WM_SIZE, SIZE_MINIMIZED, 0), "passed");
    EXPECT_EQ(Dispatch(table, owner, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 77), "0");

    EXPECT_EQ(owner.seen,
              (std::vector<std::string>{"note 5", "value 42", "empty", "point -3,9", "yes 8",
                                        "no none", "size 2 640x480", "size 1 0x0",
                                        "command " + std::to_string(SC_MOVE) + " at 77"}));
    EXPECT_EQ(SkelNote::living, before + 1);  // only the borrowed one
}

TEST(MessageMap, FamilyRowsFreeWhatNoTypedRowTakesAndGiveWayToOne) {
    CDuiMessageMap<Owner> table;
    table.on<WM_SKEL_VALUE>(&Owner::OnValue)
        .receives(kSkelMessages)
        .on<WM_SKEL_NOTE>(&Owner::OnNote);
    // The earlier row stays; the others got a row each, and the later one took its row's place.
    EXPECT_EQ(table.rowCount(), 5u);
    const int before = SkelNote::living;
    Owner owner;
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_VALUE, 4), "7");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_OTHER, NewNote(1)), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_EMPTY), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_NOTE, NewNote(2)), "0");
    EXPECT_EQ(owner.seen, (std::vector<std::string>{"value 4", "note 2"}));
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

TEST(MessageMap, RowsOfAReceivedFamilyAreEventRowsUnlessTheyGiveTheirMode) {
    CDuiMessageMap<Owner> table;
    table.on<WM_SKEL_NOTE>(&Owner::OnNote)
        .receives(kSkelMessages)
        .on<WM_SKEL_VALUE>(&Owner::OnValue)
        .on<WM_SKEL_EMPTY>(&Owner::OnEmpty, RowMode::kHandled)
        .on<WM_SIZE>(&Owner::OnSize);
    const int before = SkelNote::living;
    Owner owner;
    owner.accepting = false;
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_NOTE, NewNote(1)), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_VALUE, 3), "0");
    EXPECT_EQ(Dispatch(table, owner, WM_SKEL_EMPTY), "passed");
    EXPECT_EQ(Dispatch(table, owner, WM_SIZE, SIZE_RESTORED, MAKELPARAM(4, 3)), "5");
    EXPECT_EQ(owner.seen, (std::vector<std::string>{"empty", "size 0 4x3"}));
    EXPECT_EQ(SkelNote::living, before);
}

CTimerTable<Owner> TimerRows() {
    CTimerTable<Owner> table;
    table.on(10, &Owner::OnTick)
        .on(11, &Owner::OnTickOf, RowMode::kHandled)
        .range(12, 20, &Owner::OnTickOf);
    return table;
}

TEST(TimerTable, TheRowHoldingTheTimerRunsAndOnlyAHandledRowKeepsTheMessage) {
    const CTimerTable<Owner> table = TimerRows();
    Owner owner;
    EXPECT_FALSE(table.dispatch(owner, 10));
    EXPECT_TRUE(table.dispatch(owner, 11));
    EXPECT_FALSE(table.dispatch(owner, 20));
    EXPECT_FALSE(table.dispatch(owner, 21));
    EXPECT_EQ(owner.seen, (std::vector<std::string>{"tick", "tick 11", "tick 20"}));
}

#if KESTRUM_CHECK_IS_ON()
// A colliding timer would otherwise run the handler of the row that came first.
TEST(TimerTableDeathTest, ARowHoldingAnIdOfAnEarlierRowIsRefused) {
    TimerRows().on(9, &Owner::OnTick).range(21, 30, &Owner::OnTickOf);
    const char* refused = "check failed: .*a timer row overlaps an earlier row";
    EXPECT_DEATH(TimerRows().on(10, &Owner::OnTickOf), refused);
    EXPECT_DEATH(TimerRows().range(5, 10, &Owner::OnTickOf), refused);
    EXPECT_DEATH(TimerRows().range(20, 25, &Owner::OnTickOf), refused);
}
#endif

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
