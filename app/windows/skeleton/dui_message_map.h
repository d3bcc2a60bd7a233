#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

// The message table of one window class: rows {message, reserved word, handler} searched in
// order, the first row of a message wins (a later row for the same message is never reached).
// The table always ends in a terminating row (message 0, no handler) that rowCount() includes
// and find() never returns, so WM_NULL (0) has no row unless a window adds one.
//
// A handler gets the message, WPARAM, LPARAM and `handled` (true on entry); it clears `handled`
// to let the paint manager and then the default window procedure see the message as well.
// Handlers are members of Window or of one of its bases (the member pointer carries the
// adjustment of the object pointer).
//
// Built once per window class on the UI thread (see CDuiWindow) and only read afterwards.
template <class Window>
class CDuiMessageMap {
public:
    using Handler = LRESULT (Window::*)(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    struct Row {
        UINT message;
        UINT reserved;
        Handler handler;
    };

    CDuiMessageMap() : rows_{terminator()} {}

    // Appends a row in front of the terminating row.
    CDuiMessageMap& add(UINT message, Handler handler) {
        rows_.insert(rows_.end() - 1, Row{message, 0, handler});
        return *this;
    }

    // Gives the first row of `message` a new handler in its place; appends the row when the
    // table has none for it.
    CDuiMessageMap& replace(UINT message, Handler handler) {
        const size_t index = indexOf(message);
        if (index == kNone) return add(message, handler);
        rows_[index].handler = handler;
        return *this;
    }

    // Drops every row of `message`.
    CDuiMessageMap& remove(UINT message) {
        for (size_t i = rows_.size() - 1; i-- > 0;) {
            if (rows_[i].message == message) rows_.erase(rows_.begin() + i);
        }
        return *this;
    }

    // The first row of `message`, null when there is none.
    const Row* find(UINT message) const {
        const size_t index = indexOf(message);
        return index == kNone ? nullptr : &rows_[index];
    }

    // Rows including the terminating row.
    size_t rowCount() const { return rows_.size(); }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    static Row terminator() { return Row{0, 0, nullptr}; }

    // The first row of `message` before the terminating row, kNone when there is none.
    size_t indexOf(UINT message) const {
        for (size_t i = 0; i + 1 < rows_.size(); ++i) {
            if (rows_[i].message == message) return i;
        }
        return kNone;
    }

    std::vector<Row> rows_;
};
