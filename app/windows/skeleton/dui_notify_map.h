#pragma once

#include <cstddef>
#include <cwchar>
#include <vector>

#include "duilib/notify_ui.h"

// The notify table of one window class: rows {event type text, control name text, handler}
// searched in order; the first row whose type and control name both equal the notification's
// (exact, case-sensitive) is taken. The table ends in a terminating row (empty type and name,
// no handler) that rowCount() includes and find() never returns, so a notification of an empty
// type from an unnamed control finds nothing.
//
// The texts are not copied: rows keep the pointers, so they must be string literals or
// otherwise outlive the table. Built once per window class on the UI thread (see CDuiWindow).
template <class Window>
class CDuiNotifyMap {
public:
    using Handler = void (Window::*)(DuiLib::TNotifyUI& notification);

    struct Row {
        const wchar_t* type;
        const wchar_t* control;
        Handler handler;
    };

    CDuiNotifyMap() : rows_{Row{L"", L"", nullptr}} {}

    // Appends a row in front of the terminating row.
    CDuiNotifyMap& add(const wchar_t* type, const wchar_t* control, Handler handler) {
        rows_.insert(rows_.end() - 1, Row{type, control, handler});
        return *this;
    }

    // The first row for this type and control name, null when there is none. Null texts
    // match nothing.
    const Row* find(const wchar_t* type, const wchar_t* control) const {
        if (!type || !control) return nullptr;
        for (size_t i = 0; i + 1 < rows_.size(); ++i) {
            const Row& row = rows_[i];
            if (std::wcscmp(row.type, type) == 0 && std::wcscmp(row.control, control) == 0) {
                return &row;
            }
        }
        return nullptr;
    }

    // Rows including the terminating row.
    size_t rowCount() const { return rows_.size(); }

private:
    std::vector<Row> rows_;
};
