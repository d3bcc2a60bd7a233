#pragma once

#include <windows.h>

#include <vector>

#include "app/windows/skeleton/message_rows.h"
#include "kestrum/common/check.h"

// The timer table of one window class: rows {first id, last id, handler}, the row whose ids hold
// the timer runs. No two rows hold one id: a new timer with an id the table already holds would
// run the other's handler, so the builds with checks stop at the row that overlaps (where the
// program or a window test first builds the table); without them the first row would win. The
// window's WM_TIMER row dispatches through it:
//
//     bool CDuiLive::OnTimer(UINT_PTR timer) {
//         static const CTimerTable<CDuiLive> table = TimerTable();
//         return table.dispatch(*this, timer);
//     }
//
// A timer's message goes on to the paint manager and the default processing after its handler
// (RowMode::kPassOn, so that the framework's own timers still run), unless its row says
// RowMode::kHandled: a handler after which the window may be gone. A timer without a row only
// goes on.
//
// Handlers are members of Window or of one of its bases, `void ()` or, for a row of several ids,
// `void (UINT_PTR timer)`. Built once per window class on the UI thread and only read afterwards.
template <class Window>
class CTimerTable {
public:
    using Plain = void (Window::*)();
    using WithId = void (Window::*)(UINT_PTR timer);

    CTimerTable& on(UINT_PTR timer, Plain handler, RowMode mode = RowMode::kPassOn) {
        return add(Row{timer, timer, handler, nullptr, mode});
    }
    CTimerTable& on(UINT_PTR timer, WithId handler, RowMode mode = RowMode::kPassOn) {
        return range(timer, timer, handler, mode);
    }
    // The row of the ids first to last, both included.
    CTimerTable& range(UINT_PTR first, UINT_PTR last, WithId handler,
                       RowMode mode = RowMode::kPassOn) {
        return add(Row{first, last, nullptr, handler, mode});
    }

    // Runs the row holding timer on window: true when the row took the message (kHandled),
    // false when the message goes on (a kPassOn row, or no row).
    bool dispatch(Window& window, UINT_PTR timer) const {
        for (const Row& row : rows_) {
            if (timer < row.first || timer > row.last) continue;
            if (row.plain) {
                (window.*row.plain)();
            } else {
                (window.*row.withId)(timer);
            }
            return row.mode == RowMode::kHandled;
        }
        return false;
    }

private:
    struct Row {
        UINT_PTR first;
        UINT_PTR last;
        Plain plain;
        WithId withId;
        RowMode mode;
    };

    CTimerTable& add(const Row& row) {
        KESTRUM_CHECK_MSG(!holdsAnyOf(row.first, row.last), "a timer row overlaps an earlier row");
        rows_.push_back(row);
        return *this;
    }
    bool holdsAnyOf(UINT_PTR first, UINT_PTR last) const {
        for (const Row& row : rows_) {
            if (first <= row.last && row.first <= last) return true;
        }
        return false;
    }

    std::vector<Row> rows_;
};
